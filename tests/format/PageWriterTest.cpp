// Report pages written as files: picture placement and cut (checked against
// pictures of the whole sheet cut by hand), numbering, recipient runs that
// leave nothing behind, edge-to-edge picture PDFs and the vector PDF.

#include "../runtime/report/ReportFixture.h"

#include "format/PageWriter.h"
#include "runtime/report/QRPrinter.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace reporttest;

namespace {

class ScriptedProgress : public IPageWriteProgress {
public:
    int cancelAt = 0; // cancel when told about this page
    int started = -1;
    QList<int> told;
    void Start(int count) override { started = count; }
    void Progress(int done, int) override { told << done; }
    bool Cancelled() const override { return cancelAt > 0 && !told.isEmpty() && told.last() >= cancelAt; }
};

// The smallest rectangle holding every dark pixel.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                box |= QRect(x, y, 1, 1);
    return box;
}

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput())
        + QString::fromUtf8(process.readAllStandardError());
}

class PageWriterTest : public ::testing::Test {
protected:
    // pages report pages, one row per page: the detail band fills the body.
    void build(int pages, bool halfPage = false)
    {
        for (int i = 1; i <= pages; ++i)
            source_.AddRow({QStringLiteral("第%1页 page %1").arg(i)});
        report_ = MakeReport();
        report_->SetDataSource(&source_);
        if (halfPage)
            report_->SetPageStyle(psHalfPage);
        auto* detail = AddBand(report_.get(), "Detail", halfPage ? 400 : 900);
        detail->SetForceNewPage(true);
        auto* text = AddField(detail, "NAME", 40, 10);
        text->SetWidth(300);
        text->Font()->SetSize(14);
        auto* frame = AddControl<TQRShape>(detail, "box", 0, 0, 700, 300);
        frame->SetShape(qrsRectangle);
        ASSERT_TRUE(report_->QRPrinter()->GenerateAhead());
        report_->QRPrinter()->Complete();
        writer_ = std::make_unique<TPageWriter>(*report_);
        writer_->Settings.ClientHome = dir_.path() + "/";
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    QStringList filesInDir() const
    {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    TQRMemorySource source_ {{"NAME"}};
    std::unique_ptr<TQuickRep, FreeComponent> report_;
    std::unique_ptr<TPageWriter> writer_;
    QTemporaryDir dir_;
};

TEST_F(PageWriterTest, PicturePagesAreTheSheetItselfOrItsShiftedAndCutCopy)
{
    build(3);
    ASSERT_EQ(writer_->PageCount(), 3);

    QString written;
    ASSERT_TRUE(writer_->WritePage(path("p"), TOutputKind::Bmp, 2, &written))
        << writer_->LastError().toStdString();
    EXPECT_EQ(written, path("p.bmp"));
    const QImage bmp(written);
    const QImage sheet = report_->QRPrinter()->SheetImage(2, 96).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bmp.size(), QSize(816, 1056)); // Letter at 96 dpi
    EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), sheet);

    // Without the margins the page moves left and up by 10 mm (38 pixels)
    // and the picture keeps the paper's size.
    writer_->Settings.KeepLeftMargin = false;
    writer_->Settings.KeepTopMargin = false;
    ASSERT_TRUE(writer_->WritePage(path("shifted"), TOutputKind::Bmp, 2, &written));
    const QImage shifted = QImage(written).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shifted.size(), QSize(816, 1056));
    EXPECT_EQ(shifted.copy(0, 0, 816 - 38, 1056 - 38), sheet.copy(38, 38, 816 - 38, 1056 - 38));

    // Higher resolutions scale the picture.
    writer_->Settings = {};
    writer_->Settings.Resolution = 200;
    ASSERT_TRUE(writer_->WritePage(path("fine"), TOutputKind::Bmp, 1, &written));
    EXPECT_EQ(QImage(written).size(), QSize(1700, 2200));
}

TEST_F(PageWriterTest, HalfPagePicturesTakeTheirHalfOfTheSheet)
{
    build(5, true);
    ASSERT_EQ(writer_->PageCount(), 5);
    const QImage sheet2 = report_->QRPrinter()->SheetImage(2, 96).convertToFormat(QImage::Format_RGB32);
    QString written;
    ASSERT_TRUE(writer_->WritePage(path("h3"), TOutputKind::Bmp, 3, &written));
    EXPECT_EQ(QImage(written).convertToFormat(QImage::Format_RGB32), sheet2.copy(0, 0, 816, 528));
    ASSERT_TRUE(writer_->WritePage(path("h4"), TOutputKind::Bmp, 4, &written));
    EXPECT_EQ(QImage(written).convertToFormat(QImage::Format_RGB32), sheet2.copy(0, 528, 816, 528));
    // Page 5 is the upper half of sheet 3; there is no page 6.
    EXPECT_TRUE(writer_->WritePage(path("h5"), TOutputKind::Bmp, 5));
    EXPECT_FALSE(writer_->WritePage(path("h6"), TOutputKind::Bmp, 6));
    EXPECT_FALSE(QFile::exists(path("h6.bmp")));
    EXPECT_FALSE(writer_->LastError().isEmpty());
}

TEST_F(PageWriterTest, AllPagesAreNumberedToTheWidthOfTheCountAndCancelKeepsWholeFiles)
{
    build(12);
    QStringList files;
    ScriptedProgress progress;
    ASSERT_TRUE(writer_->WriteAllPages(path("P"), TOutputKind::Bmp, 0, &progress, &files));
    EXPECT_EQ(progress.started, 12);
    ASSERT_EQ(files.size(), 12);
    EXPECT_EQ(files.first(), path("P01.bmp"));
    EXPECT_EQ(files.last(), path("P12.bmp"));

    ScriptedProgress stopping;
    stopping.cancelAt = 4;
    QStringList partial;
    EXPECT_FALSE(writer_->WriteAllPages(path("Q"), TOutputKind::Bmp, 9, &stopping, &partial));
    EXPECT_EQ(partial, (QStringList {path("Q1.bmp"), path("Q2.bmp"), path("Q3.bmp")}));
    for (const QString& file : partial)
        EXPECT_FALSE(QImage(file).isNull()) << file.toStdString();
}

TEST_F(PageWriterTest, RecipientRunsCountEachSlipOnceAndLeaveNothingWhenTheyFail)
{
    build(4);
    TSendRecipient recipient;
    recipient.Key = "C001";
    // Slip A on pages 1-2, slip B on page 4; page 1 also names a group that does not count.
    recipient.Groups = {{1, "$$MOCTO", "TO042", "K='A'"}, {2, "$$MOCTO", "TO042", "K='A'"},
        {4, "$$MOCTO", "TO042", "K='B'"}, {1, "", "", ""}};
    QStringList counted;
    QStringList files;
    ASSERT_TRUE(writer_->WriteRecipientPages(
        recipient, path("R_"), TOutputKind::Bmp, nullptr,
        [&](const TSendGroup& g) { counted << g.Condition; }, files));
    EXPECT_EQ(files, (QStringList {path("R_1.bmp"), path("R_2.bmp"), path("R_4.bmp")}));
    EXPECT_EQ(counted, (QStringList {"K='A'", "K='B'"}));

    // A page past the end fails the run: the pages written before it go too.
    for (const QString& f : files)
        QFile::remove(f);
    recipient.Groups.append({9, "$$MOCTO", "TO042", "K='C'"});
    QStringList failed;
    EXPECT_FALSE(writer_->WriteRecipientPages(recipient, path("S_"), TOutputKind::Bmp, nullptr, {}, failed));
    EXPECT_TRUE(failed.isEmpty());
    ScriptedProgress cancel;
    cancel.cancelAt = 2;
    recipient.Groups.removeLast();
    EXPECT_FALSE(writer_->WriteRecipientPages(recipient, path("T_"), TOutputKind::Bmp, &cancel, {}, failed));
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_TRUE(filesInDir().filter(QRegularExpression("^[ST]_")).isEmpty())
        << filesInDir().join(' ').toStdString();
}

TEST_F(PageWriterTest, PicturePdfPagesAreCoveredEdgeToEdgeByTheirPicture)
{
    build(2);
    QString written;
    ASSERT_TRUE(writer_->WritePage(path("one"), TOutputKind::PicturePdf, 1, &written))
        << writer_->LastError().toStdString();
    EXPECT_EQ(written, path("one.pdf"));
    EXPECT_TRUE(run("qpdf", {"--check", written}).contains("No syntax or stream encoding errors"));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/MediaBox [ 0 0 612 792]")) << bytes.left(600).toStdString();
    EXPECT_TRUE(bytes.contains("612 0 0 792 0 0 cm"));

    // Rendered back, the PDF shows the page where the picture has it: the
    // box of everything drawn is the same to a pixel or two (a picture
    // stretched past the page would move it by tens of pixels).
    const QString stem = path("back");
    run("pdftoppm", {"-r", "96", "-png", "-singlefile", written, stem});
    const QImage back(stem + ".png");
    const QImage sheet = report_->QRPrinter()->SheetImage(1, 96);
    ASSERT_EQ(back.size(), sheet.size());
    const QRect drawn = inkBox(sheet);
    const QRect shown = inkBox(back);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_LE(std::abs(shown.left() - drawn.left()), 2);
    EXPECT_LE(std::abs(shown.top() - drawn.top()), 2);
    EXPECT_LE(std::abs(shown.right() - drawn.right()), 2);
    EXPECT_LE(std::abs(shown.bottom() - drawn.bottom()), 2);
}

TEST_F(PageWriterTest, TheVectorPdfHoldsEveryPageAsSearchableText)
{
    build(3);
    const QString pdf = path("all.pdf");
    ASSERT_TRUE(writer_->WriteVectorPdf(pdf, "变更单"));
    EXPECT_TRUE(run("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
    const QString text = run("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains("第1页")) << text.toStdString();
    EXPECT_TRUE(text.contains("第3页"));
    EXPECT_TRUE(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+3")));
    EXPECT_TRUE(filesInDir().filter(".part").isEmpty());

    // A folder that does not exist: a clear failure, nothing written.
    EXPECT_FALSE(writer_->WriteVectorPdf(path("missing/all.pdf")));
    EXPECT_TRUE(writer_->LastError().contains("missing"));
}

TEST_F(PageWriterTest, JpegAndGifGoThroughThePictureLibrary)
{
    build(1);
    QString written;
    ASSERT_TRUE(writer_->WritePage(path("j"), TOutputKind::Jpg, 1, &written))
        << writer_->LastError().toStdString();
    EXPECT_EQ(written, path("j.jpg"));
    EXPECT_EQ(QImage(written).size(), QSize(816, 1056));
    ASSERT_TRUE(writer_->WritePage(path("g"), TOutputKind::Gif, 1, &written))
        << writer_->LastError().toStdString();
    EXPECT_EQ(written, path("g.gif"));
    // The whole report is no picture of a page.
    EXPECT_FALSE(writer_->WritePage(path("x"), TOutputKind::ReportPdf, 1));
    EXPECT_TRUE(writer_->LastError().contains("whole report")) << writer_->LastError().toStdString();
    EXPECT_TRUE(filesInDir().filter(QRegularExpression("^x")).isEmpty());
}

// Files may grow to limit bytes while it lives (the soft RLIMIT_FSIZE; a
// process may lower and raise it again up to its hard limit), and writing
// past it fails with EFBIG instead of killing the test: a full disk without
// a disk of its own.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = std::min(limit, saved_.rlim_max);
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_ {};
    void (*previous_)(int) = nullptr;
};

TEST_F(PageWriterTest, AFullDiskFailsEveryKindAndLeavesNoFileBehind)
{
    build(2);
    for (const TOutputKindRow& row : OutputKinds) {
        if (!WritesPages(row.Kind))
            continue;
        const TOutputKind kind = row.Kind;
        QString written;
        bool ok = true;
        {
            const FileSizeLimit full(512);
            ok = writer_->WritePage(path("page"), kind, 1, &written);
        }
        EXPECT_FALSE(ok) << row.Name;
        EXPECT_FALSE(writer_->LastError().isEmpty()) << row.Name;
        EXPECT_EQ(filesInDir(), QStringList()) << row.Name;
        // With room again the same page is written whole.
        ASSERT_TRUE(writer_->WritePage(path("page"), kind, 1, &written))
            << writer_->LastError().toStdString();
        EXPECT_TRUE(QFile::remove(written));
    }
    bool ok = true;
    {
        const FileSizeLimit full(4096);
        ok = writer_->WriteVectorPdf(path("all.pdf"));
    }
    EXPECT_FALSE(ok) << "a vector PDF cut off by the full disk is no success";
    EXPECT_TRUE(writer_->LastError().contains(path("all.pdf"))) << writer_->LastError().toStdString();
    EXPECT_EQ(filesInDir(), QStringList());
    ASSERT_TRUE(writer_->WriteVectorPdf(path("all.pdf"))) << writer_->LastError().toStdString();
}

} // namespace
