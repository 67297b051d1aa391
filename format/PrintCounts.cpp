#include "format/PrintCounts.h"

int UpdatePrintCount(const Variant& server, int mode, const TSendGroup& slip) noexcept
{
    if (mode == pcmPreview)
        return 0;
    if (!slip.CountsPrints())
        return -1;
    try {
        if (!server.IsObject())
            return -1;
        Variant args
            = Variant::ArrayOf({Variant(slip.Table), Variant(slip.CountField), Variant(slip.Condition)});
        return server.Call(QStringLiteral("UpdatePrintCount"), {Variant::Ref(args)}).ToInt();
    } catch (...) {
        return -1;
    }
}

QList<TSendGroup> TSlipPages::OnPages(int first, int last) const
{
    QList<TSendGroup> printed;
    for (const TSendGroup& slip : slips_)
        if (slip.Page >= first && slip.Page <= last)
            printed << slip;
    return DistinctSlips(printed);
}
