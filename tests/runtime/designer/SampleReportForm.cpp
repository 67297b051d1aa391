#include "SampleReportForm.h"

#include "runtime/designer/DreamDesigner.h"

namespace {

template<typename T> T* make(TComponent* owner, TWinControl* parent, const QString& name, QRect box)
{
    auto* c = new T(owner);
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(box.x(), box.y(), box.width(), box.height());
    return c;
}

} // namespace

TfrmDesignSample::TfrmDesignSample(TComponent* owner)
    : TForm(owner)
{
    SetName(QStringLiteral("frmDesignSample"));
    QuickRep1 = make<TQuickRep>(this, this, QStringLiteral("QuickRep1"), QRect(0, 0, 816, 1056));
    QuickRep1->SetDataSet(QStringLiteral("ClientDataSet1"));
    TitleBand1 = make<TQRBand>(this, QuickRep1, QStringLiteral("TitleBand1"), QRect(0, 0, 720, 48));
    TitleBand1->SetBandType(rbTitle);
    ColumnHeaderBand1
        = make<TQRBand>(this, QuickRep1, QStringLiteral("ColumnHeaderBand1"), QRect(0, 48, 720, 24));
    ColumnHeaderBand1->SetBandType(rbColumnHeader);
    DetailBand1 = make<TQRBand>(this, QuickRep1, QStringLiteral("DetailBand1"), QRect(0, 72, 720, 24));
    DetailBand1->SetBandType(rbDetail);
    qrlTitle = make<TQRLabel>(this, TitleBand1, QStringLiteral("qrlTitle"), QRect(240, 8, 240, 24));
    qrlTitle->SetCaption(QStringLiteral("工单变更单"));
    qrlNo = make<TQRLabel>(this, ColumnHeaderBand1, QStringLiteral("qrlNo"), QRect(8, 4, 80, 16));
    qrlNo->SetCaption(QStringLiteral("单号"));
    qrdNo = make<ReportDBText>(this, DetailBand1, QStringLiteral("qrdNo"), QRect(8, 4, 80, 16));
    qrdNo->SetDataField(QStringLiteral("TO002"));
    qrdName = make<ReportDBText>(this, DetailBand1, QStringLiteral("qrdName"), QRect(96, 4, 160, 16));
    qrdName->SetDataField(QStringLiteral("MA002"));
    qrdHidden = make<TQRDBText>(this, DetailBand1, QStringLiteral("qrdHidden"), QRect(264, 4, 80, 16));
    qrdHidden->SetDataField(QStringLiteral("TO010"));
    qrdHidden->SetEnabled(false);
    qreTotal = make<TQRExpr>(this, DetailBand1, QStringLiteral("qreTotal"), QRect(352, 4, 100, 16));
    qreTotal->SetExpression(QStringLiteral("SUM(TP004)"));
    qrsLine = make<TQRShape>(this, ColumnHeaderBand1, QStringLiteral("qrsLine"), QRect(0, 22, 720, 2));
    qrsLine->SetShape(qrsHorLine);
    SQLReBuilder = new ReportQueryBuilder(this);
    SQLReBuilder->SetName(QStringLiteral("SQLReBuilder"));
}

void TfrmDesignSample::Register()
{
    RegisterDesignerClasses();
    if (!FindClass(QStringLiteral("TfrmDesignSample")))
        RegisterClass<TfrmDesignSample>();
}
