// The page pictures of the format form (written through the page writer).

#include "format/VRBaseFmtF.h"

bool TfrmVRBaseFmt::WritePage(const QString&, int, int, QString*)
{
    SetLastError(QStringLiteral("page writer not linked yet"));
    return false;
}

bool TfrmVRBaseFmt::WriteAllPages(const QString&, int)
{
    SetLastError(QStringLiteral("page writer not linked yet"));
    return false;
}

bool TfrmVRBaseFmt::WriteRecipientPages(const TSendRecipient&, const QString&, int, QStringList&)
{
    SetLastError(QStringLiteral("page writer not linked yet"));
    return false;
}

bool TfrmVRBaseFmt::WritePictures(const QString& prefix, int kind)
{
    return WriteAllPages(prefix, kind);
}

bool TfrmVRBaseFmt::WriteVectorPdf(const QString&)
{
    SetLastError(QStringLiteral("page writer not linked yet"));
    return false;
}
