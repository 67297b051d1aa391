#pragma once
// The catalogue that the work-centre manager asks the server for by key:
// predefined queries (table and number -> one SELECT with "?" places) and
// coded messages in simplified and traditional Chinese. Both live in text
// files under data/catalogue, embedded here, so the SQL stays on the server
// and clients only ever send keys and parameter values.
//
// Messages are kept in the table MSGCAT of the company database
// (InstallMessageCatalogue writes them there; the demo home does so); a code
// that MSGCAT lacks is looked up in the suite's own MSGCHT table.

#include "runtime/system/Variant.h"

#include <QList>
#include <QString>
#include <QStringList>

class TDbBackend;

namespace appserver {

struct TCatalogueEntry {
    QString Kind; // "Query", "Lookup" or "Counter"
    QString Table; // upper case; the counter's name for a counter
    QString Number; // "01" ...; empty for a counter
    QString Title;
    QStringList Columns;
    QString Sql;
    int ParamCount = 0; // "?" places in Sql
};

class TQueryCatalogue {
public:
    // Reads the catalogue text; raises EReadError naming the line of a fault.
    static TQueryCatalogue Parse(const QString& text);
    // The catalogue embedded in the server.
    static const TQueryCatalogue& Standard();

    // The entry of that kind and key (compared without regard to case), or
    // null. A look-up without an entry of its own gets the query of its key.
    const TCatalogueEntry* Find(const QString& kind, const QString& table, const QString& number = {}) const;
    const QList<TCatalogueEntry>& Entries() const { return entries_; }

private:
    QList<TCatalogueEntry> entries_;
};

struct TCatalogueMessage {
    QString Kind;
    QString Number;
    QString Simplified;
    QString Traditional;
};

// Reads "kind;number|simplified|traditional" lines; raises EReadError.
QList<TCatalogueMessage> ParseMessageCatalogue(const QString& text);
QList<TCatalogueMessage> StandardMessages();

// Creates MSGCAT when missing and writes every catalogue message into it.
void InstallMessageCatalogue(TDbBackend& db);
// The text of a message in the language ("CHT" traditional, anything else
// simplified); empty when the database holds no such message.
QString ReadCatalogueMessage(
    TDbBackend& db, const QString& kind, const QString& number, const QString& language);

// Runs an entry's statement (already in the back end's dialect) with the
// parameters bound in order, missing ones as empty texts. Rows come back as a
// zero-based array of zero-based arrays. More parameters than places raise
// EDatabaseError, as does a statement that would write.
Variant RunCatalogueStatement(TDbBackend& db, const QString& sql, int paramCount, const VariantList& params);

} // namespace appserver
