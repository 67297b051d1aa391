// The designer's "Word doc转emf图档": the converter of the client home's
// C_HVBIN runs, and the picture it says it made becomes the report's page
// background; a cancelled or missing converter changes nothing. A stand-in
// converter (a shell script) plays doc2emf's part.

#include "SlipFormFixture.h"

#include "format/DocToEmf.h"
#include "format/FormatStore.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/report/QuickRpt.h"
#include "runtime/system/InstallLayout.h"
#include "support/QStringPrinter.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class DocToEmfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(home_.file(QStringLiteral("C_HVBIN")));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(home_.file(QStringLiteral("made.png"))));
        slip_.Form()->ClientHome = home_.path() + u'/';
    }

    // A converter that answers as doc2emf does: status, then the picture's path.
    void Converter(const QString& name, const QByteArray& script)
    {
        const QString path = home_.file(QStringLiteral("C_HVBIN/") + name);
        home_.write(QStringLiteral("C_HVBIN/") + name, "#!/bin/sh\n" + script);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void ClickMenu()
    {
        auto* item = slip_.Form()->FindComponent<TMenuItem>(QStringLiteral("mnuDOCtoEMF"));
        ASSERT_NE(item, nullptr);
        item->Click();
    }

    void TearDown() override
    {
        EXPECT_TRUE(dialogs_.Failures().isEmpty()) << dialogs_.Failures().join(u'\n').toStdString();
    }

    // Lets the converter end; its end is handled as its state turns.
    void WaitForConverter()
    {
        const auto running = [this] {
            for (const QProcess* process : slip_.Form()->findChildren<QProcess*>())
                if (process->state() != QProcess::NotRunning)
                    return true;
            return false;
        };
        const QDeadlineTimer deadline(10000);
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        while (running() && !deadline.hasExpired());
        QCoreApplication::processEvents();
    }

    QByteArray Background() const { return slip_.Form()->QuickRep1->Background()->Data(); }

    testsupport::TempFolder home_;
    SlipForm slip_;
    ScriptedDialogService dialogs_;
};

} // namespace

TEST_F(DocToEmfTest, ThePictureTheConverterMadeIsThePageBackground)
{
    // Upper case, as copied from a Windows installation; it asks the user
    // itself, so it gets no arguments, and runs in C_HVBIN.
    Converter(QStringLiteral("DOC2EMF.EXE"),
        "echo \"$#\" > \"$PWD/args\"\necho converting\necho \""
            + home_.file(QStringLiteral("made.png")).toUtf8() + "\"\n");
    ASSERT_TRUE(Background().isEmpty());
    ClickMenu();
    WaitForConverter();
    QFile made(home_.file(QStringLiteral("made.png")));
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_EQ(Background(), made.readAll());
    EXPECT_EQ(home_.read(QStringLiteral("C_HVBIN/args")).trimmed(), QByteArray("0"));
    EXPECT_FALSE(QImage::fromData(Background()).isNull());
    EXPECT_TRUE(dialogs_.Asked().isEmpty());
    // A save keeps it with the format (stored as the difference from a fresh form).
    if (!FindClass(QStringLiteral("TfrmVRFormat")))
        RegisterClass<TfrmVRFormat>();
    EXPECT_TRUE(slip_.Form()->Store()->StoredLines().join(u'\n').contains(QStringLiteral("Background.Data")));
}

TEST_F(DocToEmfTest, ACancelledOrFailedConversionLeavesTheBackgroundAsItWas)
{
    slip_.Form()->QuickRep1->Background()->SetData(QByteArray("before"));
    // Cancelled (status 3), though it printed a path.
    Converter(QStringLiteral("doc2emf"),
        "echo \"" + home_.file(QStringLiteral("made.png")).toUtf8() + "\"\nexit 3\n");
    ClickMenu();
    WaitForConverter();
    EXPECT_EQ(Background(), QByteArray("before"));
    EXPECT_TRUE(dialogs_.Asked().isEmpty()) << "the converter has told the user itself";

    // A picture Qt cannot read (an EMF of Windows) is refused with a message.
    static constexpr char kNotAPicture[] = "\x01\x00\x00\x00 not a picture";
    home_.write(QStringLiteral("made.emf"), QByteArray(kNotAPicture, sizeof kNotAPicture - 1));
    Converter(
        QStringLiteral("doc2emf"), "echo \"" + home_.file(QStringLiteral("made.emf")).toUtf8() + "\"\n");
    dialogs_.ExpectMessage(mrOk, QStringLiteral("made.emf"));
    ClickMenu();
    WaitForConverter();
    EXPECT_EQ(dialogs_.Pending(), 0);
    EXPECT_EQ(Background(), QByteArray("before"));
}

TEST_F(DocToEmfTest, WithoutAConverterInCHvbinTheUserIsToldWhereItShouldBe)
{
    dialogs_.ExpectMessage(mrOk, QStringLiteral("C_HVBIN\\doc2emf"));
    ClickMenu();
    EXPECT_EQ(dialogs_.Pending(), 0);
    EXPECT_EQ(dialogs_.Asked().value(0).Type, mtError);
    EXPECT_TRUE(TDocToEmf::ProgramPath(home_.path()).isEmpty());
    // A file of that name that cannot run is no converter either.
    home_.write(QStringLiteral("C_HVBIN/doc2emf"), "not a program");
    EXPECT_TRUE(TDocToEmf::ProgramPath(home_.path()).isEmpty());
}

TEST_F(DocToEmfTest, AHomeWithoutAConverterUsesTheOneInstalledBesideTheProgram)
{
    // The installed one (bin/ beside steward), a stand-in that makes the picture.
    const QString bin = home_.file(QStringLiteral("usr/bin"));
    home_.write(QStringLiteral("usr/bin/doc2emf"),
        "#!/bin/sh\necho installed > \"$PWD/ran\"\necho \"" + home_.file(QStringLiteral("made.png")).toUtf8()
            + "\"\n");
    QFile::setPermissions(
        bin + QStringLiteral("/doc2emf"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(TDocToEmf::ProgramPath(home_.path(), bin), bin + QStringLiteral("/doc2emf"));
    EXPECT_TRUE(TDocToEmf::ProgramPath(home_.path()).isEmpty()) << "no program folder, no fallback";
    EXPECT_EQ(TDocToEmf().ProgramFolder(), ExecutableFolder()) << "the running program's own bin folder";

    TDocToEmf tool;
    tool.SetProgramFolder(bin);
    QString picture;
    bool finished = false;
    QObject parent;
    ASSERT_TRUE(tool.Start(home_.path() + u'/', &parent, [&](const QString& made) {
        picture = made;
        finished = true;
    })) << qPrintable(tool.LastError());
    const QDeadlineTimer deadline(10000);
    while (!finished && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(picture, home_.file(QStringLiteral("made.png")));
    EXPECT_EQ(home_.read(QStringLiteral("usr/bin/ran")).trimmed(), QByteArray("installed"));

    // The home's own converter replaces the installed one.
    Converter(
        QStringLiteral("doc2emf"), "echo \"" + home_.file(QStringLiteral("made.png")).toUtf8() + "\"\n");
    EXPECT_EQ(TDocToEmf::ProgramPath(home_.path(), bin), home_.file(QStringLiteral("C_HVBIN/doc2emf")));

    // Neither place: the user is told both.
    QFile::remove(home_.file(QStringLiteral("C_HVBIN/doc2emf")));
    QFile::remove(bin + QStringLiteral("/doc2emf"));
    EXPECT_FALSE(tool.Start(home_.path() + u'/', &parent, {}));
    EXPECT_TRUE(tool.LastError().contains(QStringLiteral("C_HVBIN\\doc2emf")))
        << qPrintable(tool.LastError());
    EXPECT_TRUE(tool.LastError().contains(bin + QStringLiteral("/doc2emf"))) << qPrintable(tool.LastError());
}
