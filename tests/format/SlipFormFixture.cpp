#include "SlipFormFixture.h"

#include "runtime/data/ClientDataSet.h"
#include "runtime/report/QRCtrls.h"

SlipForm::SlipForm(int linesPerPage)
    : form_(CreateForm<TfrmVRFormat>())
{
    TClientDataSet* data = form_->ClientDataSet1;
    data->FieldDefs().Add(QStringLiteral("TO001"), ftString, 4);
    data->FieldDefs().Add(QStringLiteral("TO002"), ftString, 11);
    data->FieldDefs().Add(QStringLiteral("TP003"), ftString, 20);
    data->FieldDefs().Add(QStringLiteral("AMT"), ftString, 20);
    data->CreateDataSet();
    form_->QuickRep1->SetPageStyle(psNormal);
    form_->QRDetailBand->SetHeight(DetailHeight);
    form_->QRGroupFooter->SetHeight(DetailHeight * (linesPerPage - 1));
    auto* line = new TQRDBText(form_.get());
    line->SetName(QStringLiteral("txtTP003"));
    line->SetParent(form_->QRDetailBand);
    line->SetBounds(60, 2, 120, 14);
    line->SetDataSet(QStringLiteral("ClientDataSet1"));
    line->SetDataField(QStringLiteral("TP003"));
    auto* amount = new ReportDBText(form_.get());
    amount->SetName(QStringLiteral("txtAMT"));
    amount->SetParent(form_->QRDetailBand);
    amount->SetBounds(300, 2, 120, 14);
    amount->SetDataSet(QStringLiteral("ClientDataSet1"));
    amount->SetDataField(QStringLiteral("AMT"));
    amount->SetTextType(4);
    auto* number = new TQRDBText(form_.get());
    number->SetName(QStringLiteral("txtTO002"));
    number->SetParent(form_->QRGroup);
    number->SetBounds(200, 62, 120, 14);
    number->SetDataField(QStringLiteral("TO002"));
    form_->PrepareData();
}

SlipForm::~SlipForm() = default;

void SlipForm::AddSlip(const QString& number, int lines, const QString& amount)
{
    TClientDataSet* data = form_->ClientDataSet1;
    const auto add = [&](const QString& line) {
        data->Append();
        data->FieldByName(QStringLiteral("TO001"))->SetAsString(QStringLiteral("A511"));
        data->FieldByName(QStringLiteral("TO002"))->SetAsString(number);
        data->FieldByName(QStringLiteral("TP003"))->SetAsString(line);
        data->FieldByName(QStringLiteral("AMT"))->SetAsString(amount);
        data->Post();
    };
    if (lines == 0)
        add(QString());
    for (int i = 1; i <= lines; ++i)
        add(QStringLiteral("line %1").arg(i));
}

std::shared_ptr<TQRPageModel> SlipForm::Run()
{
    if (!form_->QuickRep1->Prepare())
        return nullptr;
    return form_->QuickRep1->Pages();
}

QStringList TextsOn(const TQRPageModel& pages, int page)
{
    QStringList texts;
    for (const auto& text : pages.Texts(page))
        texts << text.Text;
    return texts;
}

QStringList TextsStartingWith(const TQRPageModel& pages, int page, const QString& prefix)
{
    QStringList found;
    for (const QString& text : TextsOn(pages, page))
        if (text.startsWith(prefix))
            found << text;
    return found;
}
