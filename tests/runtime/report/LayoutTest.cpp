// The report components as components: page setup, geometry, and the form
// description round trip.

#include "ReportFixture.h"

#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/report/QRBarcode.h"

#include <gtest/gtest.h>

using namespace reporttest;

TEST(ReportLayoutTest, PaperSizesFollowTheirOrderAndSetThePage)
{
    EXPECT_EQ(QRPaperSizeName(Default), "Default");
    EXPECT_EQ(QRPaperSizeName(Letter), "Letter");
    EXPECT_EQ(QRPaperSizeName(static_cast<TQRPaperSize>(9)), "A4");
    EXPECT_EQ(QRPaperSizeName(qr10X14), "10X14");
    EXPECT_EQ(QRPaperSizeName(static_cast<TQRPaperSize>(27)), "Custom");
    EXPECT_EQ(QRUnitName(MM), "MM");
    EXPECT_EQ(QRUnitName(Native), "Native");

    TQRPage page;
    EXPECT_EQ(page.PaperSize(), Letter);
    EXPECT_EQ(page.Values(), QList<double>({100, 2794, 100, 2159, 100, 100, 0}));
    page.SetPaperSize(A4);
    EXPECT_EQ(page.Value(TQRPage::Width), 2100);
    EXPECT_EQ(page.Value(TQRPage::Length), 2970);
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.Value(TQRPage::Width), 2970);
    EXPECT_EQ(page.Value(TQRPage::Length), 2100);
    page.SetPaperSize(A5); // keeps the orientation
    EXPECT_EQ(page.Value(TQRPage::Width), 2100);
    EXPECT_EQ(page.Value(TQRPage::Length), 1480);
    page.SetPaperSize(Custom); // keeps the size it had
    EXPECT_EQ(page.Value(TQRPage::Length), 1480);
    page.SetValues({0, 2794});
    EXPECT_EQ(page.Value(TQRPage::BottomMargin), 0);
    EXPECT_EQ(page.Value(TQRPage::Width), 2100) << "values past the list keep theirs";
}

TEST(ReportLayoutTest, BandHeightMayGoNegativeWhileTheControlKeepsZero)
{
    auto report = MakeReport();
    auto* band = AddBand(report.get(), QStringLiteral("QRGroupFooter"), 40, rbGroupFooter);
    band->SetHeight(-20);
    EXPECT_EQ(band->Height(), -20);
    EXPECT_EQ(band->BoundsRect().height(), 0);
    band->SetHeight(band->Height() + 60);
    EXPECT_EQ(band->Height(), 40);
}

TEST(ReportLayoutTest, ZoomRescalesDesignPixelsButNotWhatPrints)
{
    auto report = MakeReport();
    auto* band = AddBand(report.get(), QStringLiteral("Detail"), 40);
    auto* label = AddControl(band, QStringLiteral("lbl"), 100, 10, 200, 20);
    const double before = report->PixelsToUnits(label->Left());
    report->SetZoom(80);
    EXPECT_EQ(band->Height(), 32);
    EXPECT_EQ(label->BoundsRect(), QRect(80, 8, 160, 16));
    EXPECT_DOUBLE_EQ(report->PixelsToUnits(label->Left()), before);
}

TEST(ReportLayoutTest, BandsComeInPrintOrderOfTheirKind)
{
    auto report = MakeReport();
    AddBand(report.get(), QStringLiteral("Summary"), 20, rbSummary);
    AddBand(report.get(), QStringLiteral("Detail"), 20, rbDetail);
    AddBand(report.get(), QStringLiteral("Title"), 20, rbTitle);
    QStringList names;
    for (TQRCustomBand* band : report->Bands())
        names << band->Name();
    EXPECT_EQ(names, QStringList({"Title", "Detail", "Summary"}));
}

TEST(ReportLayoutTest, FormDescriptionRoundTripKeepsReportAndControls)
{
    RegisterReportClasses();
    const QString text = QStringLiteral("object QuickRep1: TQuickRep\n"
                                        "  Left = 0\n"
                                        "  Top = 0\n"
                                        "  Width = 816\n"
                                        "  Height = 1056\n"
                                        "  Page.Values = (0 2794 100 2159 100 100 0)\n"
                                        "  Page.PaperSize = Letter\n"
                                        "  Units = MM\n"
                                        "  Zoom = 80\n"
                                        "  DataSet = 'ClientDataSet1'\n"
                                        "  PageStartBand = QRGroup\n"
                                        "  PageDetailBand = QRDetailBand\n"
                                        "  PageAttachDetailBand = QRGroupFooter\n"
                                        "  PageEndBand = GroupFooterChildBand\n"
                                        "  PageStyle = psHalfPage\n"
                                        "  object QRGroup: TQRGroup\n"
                                        "    Height = 120\n"
                                        "    Tag = 1\n"
                                        "    Expression = 'ClientDataSet1.TO001+ClientDataSet1.TO002'\n"
                                        "    FooterBand = QRGroupFooter\n"
                                        "    object lblVoucherName: TQRLabel\n"
                                        "      Left = 300\n"
                                        "      Top = 8\n"
                                        "      Width = 180\n"
                                        "      Height = 24\n"
                                        "      Caption = #24037#21333#21464#26356#21333\n"
                                        "      Alignment = taCenter\n"
                                        "      Font.Height = -21\n"
                                        "      Font.Name = 'SimSun'\n"
                                        "      Font.Style = [fsBold]\n"
                                        "    end\n"
                                        "    object txtTO004: ReportDBText\n"
                                        "      Left = 10\n"
                                        "      Top = 40\n"
                                        "      DataSet = 'ClientDataSet1'\n"
                                        "      DataField = 'TO004'\n"
                                        "      TextType = 1\n"
                                        "      Frame.DrawBottom = True\n"
                                        "    end\n"
                                        "  end\n"
                                        "  object QRDetailBand: TQRBand\n"
                                        "    Height = 20\n"
                                        "    BandType = rbDetail\n"
                                        "    object TP004: TQRDBIDText\n"
                                        "      DataField = 'TP004'\n"
                                        "      Items.Strings = ('1=A' '2=B')\n"
                                        "    end\n"
                                        "    object bar: ReportDBBarcode\n"
                                        "      DataField = 'TP004'\n"
                                        "      BarcodeType = bcCode128\n"
                                        "    end\n"
                                        "  end\n"
                                        "  object QRGroupFooter: TQRBand\n"
                                        "    Height = 60\n"
                                        "    BandType = rbGroupFooter\n"
                                        "    object shp: TQRShape\n"
                                        "      Shape = qrsHorLine\n"
                                        "      Pen.Width = 2\n"
                                        "    end\n"
                                        "  end\n"
                                        "  object GroupFooterChildBand: TQRChildBand\n"
                                        "    Height = 40\n"
                                        "    ParentBand = QRGroupFooter\n"
                                        "    object expr: TQRExpr\n"
                                        "      Expression = 'COUNT'\n"
                                        "      ResetAfterPrint = True\n"
                                        "    end\n"
                                        "  end\n"
                                        "end\n");
    std::unique_ptr<TComponent, FreeComponent> root(CreateFromText(text));
    auto* report = qobject_cast<TQuickRep*>(root.get());
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Page()->Values(), QList<double>({0, 2794, 100, 2159, 100, 100, 0}));
    EXPECT_EQ(report->Zoom(), 80);
    EXPECT_EQ(report->PageStyle(), psHalfPage);
    ASSERT_NE(report->PageAttachDetailBand(), nullptr);
    EXPECT_EQ(report->PageAttachDetailBand()->Name(), "QRGroupFooter");
    auto* group = report->FindComponent<TQRGroup>(QStringLiteral("QRGroup"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->FooterBand(), report->PageAttachDetailBand());
    EXPECT_EQ(group->Tag(), 1);
    auto* title = report->FindComponent<TQRLabel>(QStringLiteral("lblVoucherName"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Caption(), QStringLiteral("工单变更单"));
    EXPECT_EQ(title->ParentBand(), group);
    EXPECT_EQ(report->FindComponent<ReportDBText>(QStringLiteral("txtTO004"))->TextType(), 1);
    EXPECT_EQ(report->FindComponent<TQRDBIDText>(QStringLiteral("TP004"))->Items()->Count(), 2);
    EXPECT_EQ(report->FindComponent<ReportDBBarcode>(QStringLiteral("bar"))->BarcodeType(), bcCode128);
    EXPECT_EQ(report->FindComponent<TQRChildBand>(QStringLiteral("GroupFooterChildBand"))->ParentBand(),
        report->PageAttachDetailBand());

    const QString written = WriteComponent(report);
    std::unique_ptr<TComponent, FreeComponent> again(CreateFromText(written));
    EXPECT_EQ(WriteComponent(again.get()), written);
    EXPECT_TRUE(written.contains(QStringLiteral("Page.Values = (0 2794 100 2159 100 100 0)")))
        << written.toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("Expression = 'ClientDataSet1.TO001+ClientDataSet1.TO002'")));
    EXPECT_TRUE(written.contains(QStringLiteral("Font.Name = 'SimSun'")))
        << "a sub-object's Name is a property";
    EXPECT_EQ(written.count(QStringLiteral("Height = 120")), 1);
}

TEST(ReportLayoutTest, ADamagedDescriptionNamesTheLine)
{
    RegisterReportClasses();
    try {
        std::unique_ptr<TComponent, FreeComponent> root(
            CreateFromText(QStringLiteral("object QuickRep1: TQuickRep\n  Page.Values = (0 'x')\nend\n")));
        FAIL() << "a text in the page values was accepted";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Line 2"))) << e.Message().toStdString();
    }
}

TEST(ReportLayoutTest, SizeShowsTheGeometryInReportUnits)
{
    auto report = MakeReport();
    auto* band = AddBand(report.get(), QStringLiteral("Detail"), 96);
    auto* label = AddControl(band, QStringLiteral("lbl"), 96, 48, 192, 17);
    EXPECT_DOUBLE_EQ(label->Size()->Left(), 25.4);
    EXPECT_DOUBLE_EQ(band->Size()->Height(), 25.4);
    report->SetUnits(Inches);
    EXPECT_DOUBLE_EQ(label->Size()->Width(), 2.0);
    report->SetUnits(Characters);
    EXPECT_DOUBLE_EQ(label->Size()->Width(), 20.0);
    EXPECT_DOUBLE_EQ(label->Size()->Top(), 3.0);
    report->SetUnits(MM);
    report->SetZoom(50);
    EXPECT_DOUBLE_EQ(label->Size()->Left(), 25.4) << "zoom does not move the control on paper";
    label->Size()->SetLeft(50.8);
    EXPECT_EQ(label->Left(), 96);
    band->Size()->SetHeight(-12.7);
    EXPECT_EQ(band->Height(), -24);
    EXPECT_FALSE(WriteComponent(report.get()).contains(QStringLiteral("Size.")));
}
