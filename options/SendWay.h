#pragma once
// The delivery choice of the options window: print, or send by fax or
// e-mail, and for sending the way picked in the send-way list.
//
// A program describes its send ways in a table text (SendWayTable): entries
// separated by ";", each of three fields separated by ",": kind ("FAX" or
// "EMAIL", any case), the key column the rows are grouped by, and the data
// set field that holds each group's address. Item n of the send-way list
// (from 0) picks entry n + 1. An entry without an address field sends to one
// address the user types.
//
// ChooseSendWay works out what the window shows and keeps; it reads no
// control and changes nothing itself.

#include <QString>
#include <QStringList>

enum TSendMode {
    SendModePrint = 0,
    SendModeEmail = 1,
    SendModeFax = 2,
};

struct TSendWay {
    int SendMode = SendModePrint;
    QString KeyColumn; // SendKeyColumn
    QString AddressField; // SendAddressField
    // "Fax No" or "E-Mail"; empty when the entry names neither kind (the
    // label keeps its caption).
    QString AddressCaption;
    // The address edit is enabled (and required, in the light yellow of
    // required fields) only when sending to one typed address.
    bool AddressTyped = false;
    // Controls on which Enter moves to the next page, by name: the window
    // removes Leave from its list and appends Join.
    QStringList PageEndLeave;
    QStringList PageEndJoin;
};

// sendType: item of the print/send radio group (0 print, 1 send).
// currentSendMode: kept when the chosen item has no entry or an unknown kind.
TSendWay ChooseSendWay(const QString& sendWayTable, int sendWayItem, int sendType, int currentSendMode);

// True when the choice needs a typed address and none is given: printing
// must stop with E;000003 naming the address label.
bool SendAddressMissing(const TSendWay& way, const QString& typedAddress);
