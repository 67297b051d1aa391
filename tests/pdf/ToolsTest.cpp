// The written files as other readers see them: qpdf --check, pdfinfo and
// pdftoppm (skipped where a tool is not installed).
#include "PdfWriterFixture.h"

#include <QRegularExpression>

using namespace pdftest;

namespace {

struct Mode {
    bool compression;
    const char* name;
};

// Test names show the mode's name (not the struct's bytes, padding included).
void PrintTo(const Mode& mode, std::ostream* out)
{
    *out << mode.name;
}

class PdfToolsTest : public PdfWriterTest, public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override { writer.SetCompression(GetParam().compression); }

    // qpdf --check: exit code 0 (3 means warnings) and no warning in the output.
    void ExpectQpdfClean(const QString& path)
    {
        QByteArray out;
        QByteArray err;
        const int rc = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}, &out, &err);
        EXPECT_EQ(rc, 0) << out.toStdString() << err.toStdString();
        EXPECT_FALSE(out.contains("WARNING") || err.contains("WARNING"))
            << out.toStdString() << err.toStdString();
        EXPECT_TRUE(out.contains("No syntax or stream encoding errors found")) << out.toStdString();
    }
};

INSTANTIATE_TEST_SUITE_P(Modes, PdfToolsTest,
    ::testing::Values(Mode {false, "Plain"}, Mode {true, "Compressed"}),
    [](const ::testing::TestParamInfo<Mode>& p) { return std::string(p.param.name); });

} // namespace

TEST_P(PdfToolsTest, QpdfCheckIsClean)
{
    if (!HaveTool(QStringLiteral("qpdf")))
        GTEST_SKIP() << "qpdf not installed";
    Write();
    ExpectQpdfClean(writer.FileName());
    Write({SixPixels()});
    ExpectQpdfClean(writer.FileName());
    writer.SetTITLE(QStringLiteral("Slip (1)"));
    Write({Quadrants(816, 1056), SixPixels(), Quadrants(17, 3)}, 5, 5);
    ExpectQpdfClean(writer.FileName());
}

TEST_P(PdfToolsTest, PdfinfoReadsTheDefaultLetterPage)
{
    if (!HaveTool(QStringLiteral("pdfinfo")))
        GTEST_SKIP() << "pdfinfo not installed";
    writer.SetTITLE(QStringLiteral("Change slip (draft)"));
    Write({Quadrants(64, 64)});
    QByteArray out;
    QByteArray err;
    ASSERT_EQ(RunTool(QStringLiteral("pdfinfo"), {writer.FileName()}, &out, &err), 0) << err.toStdString();
    const QString info = QString::fromUtf8(out);
    auto has = [&](const char* pattern) {
        return QRegularExpression(QLatin1String(pattern)).match(info).hasMatch();
    };
    EXPECT_TRUE(has("\\nPage size: +612 x 792 pts")) << out.toStdString();
    EXPECT_TRUE(has("\\nPages: +1\\n")) << out.toStdString();
    EXPECT_TRUE(has("(^|\\n)Title: +Change slip \\(draft\\)\\n")) << out.toStdString();
    EXPECT_TRUE(has("\\nProducer: +Q. Talvik\\n")) << out.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

TEST_P(PdfToolsTest, PdftoppmRendersTheColoursInTheirPlaces)
{
    if (!HaveTool(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "pdftoppm not installed";
    // 768 x 1020 pixels at 96 dpi fill the 612 x 792 page; rendered at 72 dpi
    // one page unit is one pixel.
    Write({Quadrants(768, 1020)});
    const QImage page = Render(writer.FileName(), 72, folder.path());
    ASSERT_EQ(page.size(), QSize(612, 792));
    EXPECT_TRUE(Near(page.pixelColor(153, 198), QColor(255, 0, 0))) << "top left red";
    EXPECT_TRUE(Near(page.pixelColor(459, 198), QColor(0, 255, 0))) << "top right green";
    EXPECT_TRUE(Near(page.pixelColor(153, 594), QColor(0, 0, 255))) << "bottom left blue";
    EXPECT_TRUE(Near(page.pixelColor(459, 594), QColor(255, 255, 0))) << "bottom right yellow";
    EXPECT_TRUE(Near(page.pixelColor(3, 3), QColor(255, 0, 0))) << "corner";
    EXPECT_TRUE(Near(page.pixelColor(608, 788), QColor(255, 255, 0))) << "corner";
}

TEST_P(PdfToolsTest, PdftoppmPlacesTheBitmapFromTheTopLeft)
{
    if (!HaveTool(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "pdftoppm not installed";
    // 384 x 510 pixels become 306 x 396 units with their top left at (100, 50).
    Write({Quadrants(384, 510)}, 100, 50);
    const QImage page = Render(writer.FileName(), 72, folder.path());
    ASSERT_EQ(page.size(), QSize(612, 792));
    EXPECT_TRUE(Near(page.pixelColor(100 + 76, 50 + 99), QColor(255, 0, 0))) << "top left red";
    EXPECT_TRUE(Near(page.pixelColor(100 + 229, 50 + 99), QColor(0, 255, 0))) << "top right green";
    EXPECT_TRUE(Near(page.pixelColor(100 + 76, 50 + 297), QColor(0, 0, 255))) << "bottom left blue";
    EXPECT_TRUE(Near(page.pixelColor(100 + 229, 50 + 297), QColor(255, 255, 0))) << "bottom right yellow";
    EXPECT_TRUE(Near(page.pixelColor(102, 52), QColor(255, 0, 0))) << "just inside the top left corner";
    EXPECT_TRUE(Near(page.pixelColor(97, 47), QColor(255, 255, 255))) << "just outside";
    EXPECT_TRUE(Near(page.pixelColor(50, 400), QColor(255, 255, 255))) << "left of the image";
    EXPECT_TRUE(Near(page.pixelColor(450, 700), QColor(255, 255, 255))) << "below right of the image";
    EXPECT_TRUE(Near(page.pixelColor(100 + 303, 50 + 393), QColor(255, 255, 0))) << "bottom right corner";
}
