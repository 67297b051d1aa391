#pragma once
// The recipients of a send run and the report pages each one gets.
//
// While the report prints, every slip header registers its recipient: the
// recipient key, the fax number and e-mail address, and a group holding the
// page the header is on, the slip's table, print-count column and key
// condition. A later header with the same key adds its group to the same
// recipient; recipients keep the order in which they first appeared.
//
// Text() gives the classic one-line-per-recipient form,
//   key=fax|e-mail|page,table;count field;condition;page,table;...;
// for display and logs. The entries themselves are kept structured, so a
// "|", ";" or "=" inside a condition or an address cannot shift a field.
//
// Pages() answers each page once, in the order registered (a slip header
// prints on every page of its slip, and a page may carry two slips), and
// PrintCounts() each slip's count update once, however many pages the slip
// spans: a slip sent once is counted once.

#include <QList>
#include <QString>
#include <QStringList>

struct TSendGroup {
    int Page = 0;
    QString Table;
    QString CountField;
    QString Condition;

    // Table, count field and condition all given: the slip's print count can be updated.
    bool CountsPrints() const { return !Table.isEmpty() && !CountField.isEmpty() && !Condition.isEmpty(); }
};

// The slips among groups, each once (table, count column and condition
// name a slip), in the order of their first group; groups that cannot be
// counted (CountsPrints false) are left out.
QList<TSendGroup> DistinctSlips(const QList<TSendGroup>& groups);

struct TSendRecipient {
    QString Key;
    QString FaxNumber;
    QString EMail;
    QList<TSendGroup> Groups;

    QList<int> Pages() const;
    QList<TSendGroup> PrintCounts() const;
    QString Line() const;
};

class TSendList {
public:
    // Adds group to the recipient with this key, making the recipient (with
    // this fax number and address) when the key is new. A later registration
    // does not change a known recipient's number or address.
    void Register(
        const QString& key, const QString& faxNumber, const QString& eMail, const TSendGroup& group);
    void Clear() { recipients_.clear(); }

    bool IsEmpty() const { return recipients_.isEmpty(); }
    int Count() const { return int(recipients_.size()); }
    const QList<TSendRecipient>& Recipients() const { return recipients_; }
    QStringList Text() const;

private:
    QList<TSendRecipient> recipients_;
};
