// The renderer and the outputs built on it: pictures, PDF, printing.

#include "ReportFixture.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QRRenderer.h"

#include "support/TestSupport.h"

#include <QEventLoop>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

using namespace reporttest;

namespace {

int darkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

QRect toPixels(const QRect& units, double dpi)
{
    const double f = dpi / 2540.0;
    return QRect(static_cast<int>(units.x() * f), static_cast<int>(units.y() * f),
        static_cast<int>(std::ceil(units.width() * f)), static_cast<int>(std::ceil(units.height() * f)));
}

class RenderTest : public ::testing::Test {
protected:
    RenderTest()
        : source_({"NAME"})
    {
        for (int i = 1; i <= 120; ++i)
            source_.AddRow({QStringLiteral("行%1 row").arg(i)});
        report_ = MakeReport();
        report_->SetDataSource(&source_);
        auto* detail = AddBand(report_.get(), "Detail", 20);
        name_ = AddField(detail, "NAME", 100, 0);
        name_->Font()->SetName("SimSun");
        name_->Font()->SetSize(12);
        auto* line = AddControl<TQRShape>(detail, "line", 0, 18, 600, 2);
        line->SetShape(qrsHorLine);
    }

    TQRMemorySource source_;
    std::unique_ptr<TQuickRep, FreeComponent> report_;
    TQRDBText* name_;
};

} // namespace

TEST_F(RenderTest, PicturesShowTheTextWhereTheModelPutsIt)
{
    ASSERT_TRUE(report_->Prepare());
    TQRPrinter* printer = report_->QRPrinter();
    EXPECT_EQ(printer->PageCount(), 3);
    const QImage image = printer->SheetImage(1, 96);
    EXPECT_EQ(image.size(), QSize(816, 1056));
    const QRect box = toPixels(report_->Pages()->FindText(1, QStringLiteral("行1 row")).Box, 96);
    EXPECT_GT(darkPixels(image, box), 40);
    // Between two rows, left of the text and above the line: blank.
    EXPECT_EQ(darkPixels(image, QRect(10, box.top() + 2, 60, 8)), 0);
    // Twice the resolution: the same page, twice the size.
    const QImage fine = printer->SheetImage(1, 192);
    EXPECT_EQ(fine.size(), QSize(1632, 2112));
    EXPECT_GT(
        darkPixels(fine, toPixels(report_->Pages()->FindText(1, QStringLiteral("行1 row")).Box, 192)), 160);
}

TEST_F(RenderTest, HalfPageSheetsHoldTwoPages)
{
    report_->SetPageStyle(psHalfPage);
    ASSERT_TRUE(report_->Prepare());
    TQRPrinter* printer = report_->QRPrinter();
    const auto pages = report_->Pages();
    ASSERT_EQ(pages->PageCount(), 6);
    EXPECT_EQ(printer->PageCount(), 3);
    const QImage sheet = printer->SheetImage(2, 96);
    EXPECT_EQ(sheet.size(), QSize(816, 1056));
    // Page 4 is the lower half of sheet 2.
    const QString first4 = pages->Texts(4).first().Text;
    QRect box = toPixels(pages->FindText(4, first4).Box, 96);
    box.translate(0, 1056 / 2);
    EXPECT_GT(darkPixels(sheet, box), 40) << first4.toStdString();
    EXPECT_EQ(printer->ReportPageImage(4, 96).size(), QSize(816, 528));
}

TEST_F(RenderTest, PdfIsVectorTextWithTheFontsEmbedded)
{
    testsupport::TempFolder folder;
    ASSERT_TRUE(report_->Prepare());
    report_->SetCreator(QStringLiteral("ZORV53"));
    const QString path = folder.file("slip.pdf");
    ASSERT_TRUE(report_->QRPrinter()->ExportPdf(path, 2, 3));
    QProcess text;
    text.start("pdftotext", {"-layout", path, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString extracted = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(extracted.contains(QStringLiteral("行60 row"))) << extracted.left(300).toStdString();
    EXPECT_FALSE(extracted.contains(QStringLiteral("行1 row"))) << "page 1 was not asked for";
    QProcess info;
    info.start("pdfinfo", {path});
    ASSERT_TRUE(info.waitForFinished(20000));
    const QString details = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(details.contains(QRegularExpression("Pages:\\s+2"))) << details.toStdString();
    EXPECT_TRUE(details.contains("612 x 792")) << "Letter in points: " << details.toStdString();
    // The report names the program that made it, whichever that is.
    EXPECT_TRUE(details.contains(QRegularExpression("Creator:\\s+ZORV53\n"))) << details.toStdString();
    QProcess fonts;
    fonts.start("pdffonts", {path});
    ASSERT_TRUE(fonts.waitForFinished(20000));
    const QStringList lines
        = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 2);
    for (const QString& line : lines.mid(2))
        EXPECT_TRUE(line.contains(QRegularExpression("\\byes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$")))
            << "embedded: " << line.toStdString();
}

TEST_F(RenderTest, PrintingToAPdfPrinterHonoursRangeAndCopies)
{
    testsupport::TempFolder folder;
    ASSERT_TRUE(report_->Prepare());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.file("printed.pdf"));
    ASSERT_TRUE(report_->QRPrinter()->Print(printer, 1, 2, 2));
    QProcess info;
    info.start("pdfinfo", {folder.file("printed.pdf")});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+4")));
    EXPECT_FALSE(report_->QRPrinter()->Print(printer, 5, 9));
}

TEST_F(RenderTest, GenerateAheadShowsPageOneThenFinishesFromTheEventLoop)
{
    for (int i = 0; i < 3000; ++i)
        source_.AddRow({QStringLiteral("more %1").arg(i)});
    TQRPrinter* printer = report_->QRPrinter();
    int finished = 0;
    QEventLoop loop;
    QObject::connect(printer, &TQRPrinter::Finished, &loop, [&] {
        ++finished;
        loop.quit();
    });
    ASSERT_TRUE(printer->GenerateAhead());
    EXPECT_GE(printer->PageCount(), 1);
    EXPECT_TRUE(printer->Generating());
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(printer->Generating());
    EXPECT_EQ(printer->PageCount(), (3120 + 48) / 49);
}

TEST_F(RenderTest, ReportPagesSaveAsPictureFilesOfTheirSuffix)
{
    testsupport::TempFolder folder;
    report_->SetPageStyle(psHalfPage);
    ASSERT_TRUE(report_->Prepare());
    TQRPrinter* printer = report_->QRPrinter();
    ASSERT_TRUE(printer->SaveReportPage(5, folder.file("ZORV52_001.bmp")));
    ASSERT_TRUE(printer->SaveReportPage(6, folder.file("ZORV52_002.jpg")));
    EXPECT_FALSE(printer->SaveReportPage(7, folder.file("ZORV52_003.bmp"))) << "there are six report pages";
    const QImage bmp(folder.file("ZORV52_001.bmp"), "BMP");
    EXPECT_EQ(bmp.size(), QSize(816, 528)) << "a half page";
    EXPECT_EQ(QImage(folder.file("ZORV52_002.jpg"), "JPG").size(), QSize(816, 528));
    EXPECT_TRUE(folder.read("ZORV52_001.bmp").startsWith("BM"));
}
