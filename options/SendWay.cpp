#include "options/SendWay.h"

#include "common/LibStrs.h"

TSendWay ChooseSendWay(const QString& sendWayTable, int sendWayItem, int sendType, int currentSendMode)
{
    TSendWay way;
    way.SendMode = currentSendMode;
    const QString entry = GetToken(sendWayTable, QStringLiteral(";"), sendWayItem + 1);
    const QString kind = GetToken(entry, QStringLiteral(","), 1).trimmed();
    way.KeyColumn = GetToken(entry, QStringLiteral(","), 2);
    way.AddressField = GetToken(entry, QStringLiteral(","), 3);
    if (kind.compare(QLatin1String("FAX"), Qt::CaseInsensitive) == 0) {
        way.SendMode = SendModeFax;
        way.AddressCaption = QStringLiteral("Fax No");
    } else if (kind.compare(QLatin1String("EMAIL"), Qt::CaseInsensitive) == 0) {
        way.SendMode = SendModeEmail;
        way.AddressCaption = QStringLiteral("E-Mail");
    }
    const bool sending = sendType != 0;
    if (!sending)
        way.SendMode = SendModePrint;
    way.AddressTyped = way.AddressField.isEmpty() && way.SendMode != SendModePrint;

    // Enter on the last control that matters for the choice moves on to the
    // next page: the radio group when printing, the send-way list when the
    // address comes from the data, the address edit when it is typed. The
    // controls that no longer end the page leave the list, so Enter does not
    // jump past a control that now needs an answer.
    if (!sending) {
        way.PageEndLeave = {QStringLiteral("cboSendWay"), QStringLiteral("edtFaxEmailData")};
        way.PageEndJoin = {QStringLiteral("rgSendType")};
    } else if (!way.AddressField.isEmpty()) {
        way.PageEndLeave = {QStringLiteral("rgSendType"), QStringLiteral("edtFaxEmailData")};
        way.PageEndJoin = {QStringLiteral("cboSendWay")};
    } else {
        way.PageEndLeave = {QStringLiteral("rgSendType"), QStringLiteral("cboSendWay")};
        way.PageEndJoin = {QStringLiteral("edtFaxEmailData")};
    }
    return way;
}

bool SendAddressMissing(const TSendWay& way, const QString& typedAddress)
{
    return way.SendMode != SendModePrint && way.AddressField.isEmpty() && typedAddress.isEmpty();
}
