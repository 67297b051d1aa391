#include "format/VRFormatF.h"

#include "common/LibConditions.h"
#include "common/LibStrs.h"
#include "format/PrintTexts.h"
#include "format/TfrmVRConvPic.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/FormReader.h"
#include "runtime/report/QRCtrls.h"

#include <QDateTime>

TfrmVRFormat::TfrmVRFormat(TComponent* owner)
    : TfrmVRBaseFmt(owner)
{
    ReadFormResource(this, QStringLiteral(":/format/TfrmVRFormat.dfm"));
    QRGroup = FindComponent<TQRGroup>(QStringLiteral("QRGroup"));
    QRDetailBand = FindComponent<TQRBand>(QStringLiteral("QRDetailBand"));
    QRGroupFooter = FindComponent<TQRBand>(QStringLiteral("QRGroupFooter"));
    GroupFooterChildBand = FindComponent<TQRChildBand>(QStringLiteral("GroupFooterChildBand"));
    const auto label = [this](const char* name) {
        auto* found = FindComponent<TQRLabel>(QString::fromLatin1(name));
        if (!found)
            throw EComponentError(
                QStringLiteral("TfrmVRFormat: the form description lacks ") + QString::fromLatin1(name));
        return found;
    };
    if (!QRGroup || !QRDetailBand || !QRGroupFooter || !GroupFooterChildBand)
        throw EComponentError(QStringLiteral("TfrmVRFormat: the form description lacks its bands"));
    lblCompany = label("lblCompany");
    lblVoucherName = label("lblVoucherName");
    lblCreateDate1 = label("lblCreateDate1");
    lblPageNo = label("lblPageNo");
    lblTotalPage = label("lblTotalPage");
    lblPrintDate1 = label("lblPrintDate1");
    lblPrintTime1 = label("lblPrintTime1");
    lblSeq = label("lblSeq");
    lblNoData = label("lblNoData");
    lblNote1 = label("lblNote1");
    lblNote2 = label("lblNote2");
    lblNote3 = label("lblNote3");
    lblSignIn1 = label("lblSignIn1");
    lblSignIn2 = label("lblSignIn2");
    lblSignIn3 = label("lblSignIn3");
    lblCreateDate2 = label("lblCreateDate2");
    lblNextPage = label("lblNextPage");
    lblPrintDate2 = label("lblPrintDate2");
    lblPrintTime2 = label("lblPrintTime2");
    CaptureDesignStates();
}

void TfrmVRFormat::captureSignOffLines()
{
    signOffLines_.clear();
    for (TQRLabel* label : signInLabels())
        signOffLines_ << label->Caption();
}

void TfrmVRFormat::showSignOffLines(const QStringList& lines)
{
    for (int i = 0; i < 3; ++i)
        signInLabels().at(i)->SetCaption(lines.value(i));
}

void TfrmVRFormat::CaptureDesignStates()
{
    for (int i = 0; i < 3; ++i) {
        design_.SignIn[i] = signInLabels().at(i)->Enabled();
        design_.Note[i] = noteLabels().at(i)->Enabled();
    }
    design_.NoData = lblNoData->Enabled();
    design_.NextPage = lblNextPage->Enabled();
    // A stored format may bring sign-off captions of its own.
    captureSignOffLines();
}

void TfrmVRFormat::PrepareData()
{
    TfrmVRBaseFmt::PrepareData();
    // The company's name is the second line of its row.
    lblCompany->SetCaption(Context().CompanyInfo.value(1));
    CaptureDesignStates();
}

void TfrmVRFormat::DreamDesigner1LoadChanges(TObject* Sender, bool& Done)
{
    TfrmVRBaseFmt::DreamDesigner1LoadChanges(Sender, Done);
    CaptureDesignStates();
}

QString TfrmVRFormat::ToDisplay(const QString& text) const
{
    return HvConverter() ? HvConverter()->ToDisplay(Variant(text)).ToString() : text;
}

void TfrmVRFormat::OnAsteriskPrint(TObject*, QString& Value)
{
    Value = SlipAmountText(ToDisplay(Value), lblPageNo->Caption(), lblTotalPage->Caption(), totalsEveryPage_);
}

void TfrmVRFormat::SetText(int slot, const QString& text)
{
    TQRLabel* const labels[] = {lblVoucherName, lblCreateDate1, lblNoData, lblNextPage};
    if (slot >= 0 && slot < 4)
        labels[slot]->SetCaption(text);
}

void TfrmVRFormat::SetEveryPage(bool signOff, bool footer, bool totals)
{
    signOffEveryPage_ = signOff;
    notesEveryPage_ = footer;
    totalsEveryPage_ = totals;
}

void TfrmVRFormat::SetFooterLines(const QStringList& lines)
{
    for (int i = 0; i < 3; ++i)
        noteLabels().at(i)->SetCaption(lines.value(i));
}

void TfrmVRFormat::SetSignOffLines(const QStringList& lines)
{
    signOffLines_ = lines.mid(0, 3);
    while (signOffLines_.size() < 3)
        signOffLines_ << QString();
    showSignOffLines(signOffLines_);
}

// --- paging ---------------------------------------------------------------------------------

void TfrmVRFormat::QuickRep1BeforePrint(TObject* Sender, bool& PrintReport)
{
    TfrmVRBaseFmt::QuickRep1BeforePrint(Sender, PrintReport);
    groupSizes_.clear();
    groupExpression_ = TQRExpression();
    if (!QRGroup->Expression().trimmed().isEmpty()) {
        TQRExprEnvironment environment;
        environment.FindSource = [this](const QString& name) { return QuickRep1->FindDataSource(name); };
        environment.DefaultSource = QuickRep1->MainSource();
        // A group expression that does not parse stops the run with its reason.
        groupExpression_.Prepare(QRGroup->Expression(), environment);
    }
    const int detail = QRDetailBand->Height();
    const int footer = QRGroupFooter->Height();
    linesPerPage_ = detail > 0 && footer > 0 ? footer / detail + 1 : 1;
    currentGroup_.clear();
    pageOfSlip_ = 0;
    lblCreateDate2->SetCaption(lblCreateDate1->Caption());
    const QDateTime now = QDateTime::currentDateTime();
    lblPrintDate1->SetCaption(
        DatePrintText(now.toString(QStringLiteral("yyyyMMdd")), DateType, DateSeparator));
    lblPrintTime1->SetCaption(now.toString(QStringLiteral("hh:mm")));
    lblPrintDate2->SetCaption(lblPrintDate1->Caption());
    lblPrintTime2->SetCaption(lblPrintTime1->Caption());
}

void TfrmVRFormat::QuickRep1StartPage(TObject*)
{
}

int TfrmVRFormat::countSlipRecords()
{
    TQRDataSource* source = QuickRep1->MainSource();
    if (!source || !groupExpression_.Prepared())
        return source ? source->RecordCount() : 0;
    // Walk on while the group value stays, then walk back the same number of
    // rows: the report goes on from the row it stood on.
    int count = 1;
    int moved = 0;
    for (;;) {
        source->Next();
        if (source->Eof())
            break;
        ++moved;
        if (groupExpression_.ValueText() != currentGroup_)
            break;
        ++count;
    }
    for (int i = 0; i < moved; ++i)
        source->Prior();
    return count;
}

void TfrmVRFormat::QRGroupBeforePrint(TQRCustomBand*, bool&)
{
    const QString value = groupExpression_.Prepared() ? groupExpression_.ValueText() : QString();
    if (pageOfSlip_ == 0 || value != currentGroup_) {
        lineNo_ = 0;
        pageOfSlip_ = 1;
        currentGroup_ = value;
        recordsOfSlip_ = countSlipRecords();
        groupSizes_.insert(value, recordsOfSlip_);
        pagesOfSlip_ = (recordsOfSlip_ + linesPerPage_ - 1) / linesPerPage_;
    } else {
        ++pageOfSlip_;
    }
    lblTotalPage->SetCaption(QString::number(pagesOfSlip_));
    lblPageNo->SetCaption(QString::number(pageOfSlip_));
    lblNextPage->SetEnabled(design_.NextPage);
    lblNoData->SetEnabled(design_.NoData);
    ++PrintCounter;
    if (pageOfSlip_ == 1 && signOffMode_ && signOffFound_ && Option(QStringLiteral("Sys060")) == u"Y"
        && !QRGroup->Expression().trimmed().isEmpty())
        applySignOff();
}

void TfrmVRFormat::QRDetailBandBeforePrint(TQRCustomBand*, bool& PrintBand)
{
    // The first two lines of a slip always print: a slip header alone on a page says nothing.
    if (QRGroupFooter->Height() >= 0 || lineNo_ < 2) {
        ++lineNo_;
        lblSeq->SetCaption(QStringLiteral("%1").arg(lineNo_, 4, 10, QLatin1Char('0')));
        return;
    }
    PrintBand = false;
    QRGroupFooter->SetHeight(QRGroupFooter->Height() + QRDetailBand->Height());
    if (TQRDataSource* source = QuickRep1->MainSource())
        source->Prior();
}

void TfrmVRFormat::QRDetailBandAfterPrint(TQRCustomBand* Sender, bool BandPrinted)
{
    // A line that grew (word-wrapped text) takes its growth from the footer too.
    if (BandPrinted && Sender && Sender->Stretch() > 0)
        QRGroupFooter->SetHeight(QRGroupFooter->Height() - Sender->Stretch());
}

void TfrmVRFormat::QRGroupFooterBeforePrint(TQRCustomBand*, bool&)
{
    if (QRGroupFooter->Height() < QRDetailBand->Height())
        lblNoData->SetEnabled(false);
    if (pageOfSlip_ == pagesOfSlip_ && lineNo_ != recordsOfSlip_)
        ++pagesOfSlip_;
    const bool last = LastPageOfSlip();
    lblNextPage->SetEnabled(!last && design_.NextPage);
    for (int i = 0; i < 3; ++i) {
        signInLabels().at(i)->SetEnabled(design_.SignIn[i] && (last || signOffEveryPage_));
        noteLabels().at(i)->SetEnabled(design_.Note[i] && (last || notesEveryPage_));
    }
}

void TfrmVRFormat::lblCreateDate1Print(TObject*, QString& Value)
{
    Value = DatePrintText(Value, DateType, DateSeparator);
}

// --- sign-off data ------------------------------------------------------------------------

QStringList TfrmVRFormat::groupFields() const
{
    QStringList fields;
    for (const QString& part : QRGroup->Expression().split(u'+')) {
        const qsizetype dot = part.lastIndexOf(u'.');
        fields << part.mid(dot + 1).trimmed();
    }
    return fields;
}

QStringList TfrmVRFormat::SlipKeys() const
{
    QStringList keys;
    for (const QString& field : groupFields())
        keys << FieldText(field).trimmed();
    return keys;
}

void TfrmVRFormat::SetWorkflowSignOff(bool on, const QString& programCode)
{
    signOffMode_ = on;
    workflowKey_ = programCode;
    if (on)
        FetchSignOffData(programCode);
}

bool TfrmVRFormat::FetchSignOffData(const QString& programCode)
{
    signOffFound_ = false;
    const Variant server = Context().ApplicationServer;
    if (programCode.isEmpty() || Option(QStringLiteral("Sys060")) != u"Y" || !server.IsObject())
        return false;
    const bool webService = Option(QStringLiteral("Sys174")) == u"Y";
    try {
        const QString sql = webService
            ? QStringLiteral("SELECT * FROM $$TWSMC WHERE MC002=") + QuoteSqlText(programCode)
            : QStringLiteral("SELECT * FROM $$ADMMQ WHERE MQ002=") + QuoteSqlText(programCode);
        if (server.Call(QStringLiteral("RunFreeSQL"), {Variant(sql)}).ToInt() <= 0)
            return false;
        if (groupFields().size() < 2)
            return false;
        // One element per slip: the keys of each slip's last record.
        QList<QStringList> slips;
        for (ClientDataSet1->First(); !ClientDataSet1->Eof(); ClientDataSet1->Next()) {
            const QStringList keys = SlipKeys();
            if (slips.isEmpty() || slips.last() != keys)
                slips << keys;
        }
        ClientDataSet1->First();
        const QString request = SignOffRequest(slips);
        if (request.isEmpty())
            return false;
        WriteAlertLog(
            QStringLiteral("TWWebservice"), QStringLiteral("mPara:") + request, QStringLiteral("D"));
        if (webService) {
            Variant out;
            signOffData_
                = server.Call(QStringLiteral("GetWebserviceTWData"), {Variant(request), Variant::Ref(out)});
            signOffIsText_ = true;
        } else {
            signOffData_ = server.Call(QStringLiteral("GetTWData"), {Variant(request)});
            signOffIsText_ = false;
        }
        signOffFound_ = true;
        const auto text = [this](const QString& name, const QString& chinese) {
            return GetFormMessage(QStringLiteral("TfrmVRFormat"), name, true, chinese);
        };
        // Looked up once a run: every slip of it prints them.
        signOffCaptions_.Titles = text(QStringLiteral("sSignOffTitles"), QStringLiteral("职      称:"));
        signOffCaptions_.Names = text(QStringLiteral("sSignOffNames"), QStringLiteral("签核人姓名:"));
        signOffCaptions_.Times = text(QStringLiteral("sSignOffTimes"), QStringLiteral("签核  时间:"));
        signOffCaptions_.Headings
            = QStringList {text(QStringLiteral("sSignOffStage"), QStringLiteral("关号")),
                text(QStringLiteral("sSignOffBranch"), QStringLiteral("支号")),
                text(QStringLiteral("sSignOffSigner"), QStringLiteral("签核人")),
                text(QStringLiteral("sSignOffTitle"), QStringLiteral("职称")),
                text(QStringLiteral("sSignOffResult"), QStringLiteral("签核结果")),
                text(QStringLiteral("sSignOffDate"), QStringLiteral("签核日期")),
                text(QStringLiteral("sSignOffOpinion"), QStringLiteral("签核意见"))};
        signOffCaptions_.FinalResult = text(QStringLiteral("sSignOffFinal"), QStringLiteral("签核最终结果:"));
        return true;
    } catch (const Exception&) {
        Dialogs().MessageDlg(
            GetFormMessage(QStringLiteral("TfrmVRFormat"), QStringLiteral("sDefine0"), true,
                QStringLiteral(
                    "无法Create GetTWData取得Tidewise 的签核资料,可能後端未更新,请更新SlipHost.exe!!")),
            mtWarning, TMsgDlgButtons(mbYes | mbNo), Caption());
        return false;
    }
}

void TfrmVRFormat::applySignOff()
{
    const QStringList keys = SlipKeys();
    // Every slip starts from the sign-off lines the run was given: a slip
    // the workflow product knows nothing of prints those, never the
    // signers of the slip before it.
    showSignOffLines(signOffLines_);
    if (keys.size() < 2)
        return;
    const TSignOffLines lines = signOffIsText_
        ? SignOffFromXml(signOffData_.ToString(), keys, signOffCaptions_,
            [this](const QString& text) { return ToDisplay(text); })
        : SignOffFromArray(signOffData_, keys, DateType, DateSeparator, signOffCaptions_,
            [](const QString& name, const QString& line) { WriteAlertLog(name, line, QStringLiteral("D")); });
    if (!lines.Found)
        return;
    showSignOffLines(lines.Lines);
}
