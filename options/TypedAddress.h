#pragma once
// The address typed into the options window for a send to one address: an
// e-mail address (or several, "a@x.cn; b@y.cn") or a fax number, checked
// where it is typed so that a run never starts with one that cannot work.
//
// CheckTypedAddress answers, for send mode 1 (e-mail) or 2 (fax), why the
// text is refused: the message's name in the window's language package, the
// system's own text ("%1" the refused entry, "%2" the detail: a character or
// a domain), and the two values. A detail that is a word rather than what
// was typed (the name of a blank, which brackets would not show) has a
// message name of its own too (DetailKey). Nothing is refused for printing
// (mode 0) or for an empty text (a missing address is E;000003 when the
// run starts).

#include <QString>

struct TAddressRefusal {
    QString Key;
    QString Text;
    QString Entry;
    QString Detail;
    QString DetailKey; // set when Detail is a word of the system's language

    bool Refused() const { return !Key.isEmpty(); }
    // Text with the values filled in; text overrides Text and detail Detail
    // (the translated ones).
    QString Message(const QString& text = {}, const QString& detail = {}) const;
};

TAddressRefusal CheckTypedAddress(int sendMode, const QString& typed);
