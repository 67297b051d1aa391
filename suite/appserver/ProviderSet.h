#pragma once
// The providers of the application server and the packets they deliver
// (AS_GetRecords of runtime/data/DataPacket.h):
//
// - "Provider1", "Provider2", "pvdTemp": the data request is a SELECT text in
//   the module's dialect; it runs translated and read-only.
// - "pvdConSave": the schemes that the last LoadTable chose.
//
// Field types come from the declared column types; a computed column takes
// the type of its value in the first row (text when that is null). Result
// columns that repeat a name ("MOCTO.*, MOCTP.*" both bring COMPANY) are
// renamed NAME_1, NAME_2, ... in order, as client data sets need unique names.

#include "runtime/data/DataPacket.h"
#include "suite/appserver/DbBackend.h"

#include <QHash>
#include <functional>
#include <memory>

class TProviderSet {
public:
    // Opens the rows of a provider: (provider, data request) -> cursor. Raises.
    using Opener = std::function<std::unique_ptr<TDbCursor>(const QString& provider, const QString& request)>;

    explicit TProviderSet(Opener opener)
        : opener_(std::move(opener))
    {
    }

    static QStringList Names();
    // One packet of at most count rows (-1: all remaining). rowsSent receives
    // the number of rows in it. Raises EDatabaseError.
    QByteArray GetRecords(
        const QString& provider, int count, int& rowsSent, const QString& request, int options);
    // Closes every open query (before the database changes).
    void CloseAll();

private:
    struct Open {
        std::unique_ptr<TDbCursor> cursor;
        DataPacketWriter writer;
        bool pending = false; // the cursor stands on a row not yet sent
        bool atEnd = false;
        bool opened = false; // later calls continue (after the end: empty packets)
    };
    void open(Open& state, const QString& provider, const QString& request);
    void writeRow(Open& state);

    Opener opener_;
    QHash<QString, std::shared_ptr<Open>> open_; // keyed by lower-case provider name
};
