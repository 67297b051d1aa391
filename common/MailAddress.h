#pragma once
// Recipient texts as a mail client takes them: "a@x.com; 王五 <b@y.cn>, c@z".
//
// Entries are separated by ";" or "," outside double quotes; blanks around
// them and empty entries are dropped. An entry is a plain address or a
// display name followed by an address in angle brackets. Addresses are
// ASCII only: a local part of RFC 5322 atoms joined by dots and a domain of
// letters, digits and hyphens (an internationalised domain is turned into
// its ASCII form). Nothing else is accepted, so no CR, LF, blank, quote or
// bracket of an entry can reach an SMTP command or a header through the
// address. Control characters in a display name become blanks.
//
// CheckRecipients tells why a text is refused, for a person who typed it;
// it accepts exactly what ParseRecipients accepts.

#include <QList>
#include <QString>

struct TMailAddress {
    QString Name; // display name, may be empty
    QString Address; // the checked address, domain in ASCII form
};

// True for a bare address of the form above.
bool IsPlainMailAddress(const QString& address);

// The entries of text; false with the offending entry named in error when
// one is not an address (out is then left empty).
bool ParseRecipients(const QString& text, QList<TMailAddress>& out, QString& error);

// Why an address is refused, the first rule it breaks in this order.
enum class TMailAddressProblem {
    None,
    NoAt, // no "@"
    SeveralAt, // more than one "@" ("chen@@x")
    NoLocalPart, // nothing before the "@"
    BadCharacter, // a character no address may hold (blank, quote, "张", ...); see Character
    IncompleteDomain, // the part after "@" is not a domain of two labels or more ("x", "x.", "")
    TooLong, // more than 254 characters
    Malformed, // anything else the grammar refuses ("a..b@x.com", "a@-x.com")
};

struct TMailAddressCheck {
    TMailAddressProblem Problem = TMailAddressProblem::None;
    QString Entry; // the refused entry, simplified (no line breaks)
    QString Character; // with BadCharacter: the first offending character
    QString Domain; // with IncompleteDomain: the part after "@"
};

// None for a text ParseRecipients accepts (an empty text included), else the
// first refused entry and why.
TMailAddressCheck CheckRecipients(const QString& text);
