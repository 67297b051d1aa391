// Bringing a local file up to date from the server folder: the switch, the
// comparison, fetching and unpacking, the failures and the retry dialog.

#include "UpdateFixture.h"

#include "runtime/system/NativePath.h"
#include "update/HVDownLoad.h"
#include "update/HVDownLoadNewFileU.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using testsupport::ScopedEnv;
using testsupport::TestZip;

namespace {

const QString Lib = QStringLiteral("libZORV52S.so");

} // namespace

class DownloadNewFileTest : public UpdateFixture {
protected:
    void SetUp() override
    {
        UpdateFixture::SetUp();
        local_ = WriteFile("work/C_PKG/" + Lib, "old library", old_);
        TestZip zip;
        zip.File(Lib, "new library");
        WriteServerZip(Lib, zip);
    }

    bool Update(const QString& info, QString& error, bool interactive = true)
    {
        return UpdateFileFromInfo(info, local_, error, interactive);
    }

    QString local_;
};

TEST_F(DownloadNewFileTest, NewerServerCopyIsFetchedAndUnpackedOverTheOldOne)
{
    QString error;
    ASSERT_TRUE(Update(FileInfo(Lib, new_), error)) << error.toStdString();
    EXPECT_EQ(error, QString());
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "new library");
    // The archive is gone from the temporary folder once unpacked.
    EXPECT_EQ(QDir(temp_.file("tmp")).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(LogAdded(), QString());
    EXPECT_FALSE(IsLoaded(BuiltLibrary("libHVDownLoad.so")));
    {
        THVDownLoad loader; // the probe does see a loaded library
        EXPECT_TRUE(IsLoaded(BuiltLibrary("libHVDownLoad.so")));
    }

    // Now the local copy is newer than the stamp: nothing more happens.
    TestZip other;
    other.File(Lib, "another library");
    WriteServerZip(Lib, other);
    ASSERT_TRUE(Update(FileInfo(Lib, new_), error));
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "new library");
}

TEST_F(DownloadNewFileTest, OlderOrUnknownServerCopyLeavesTheFile)
{
    QString error;
    EXPECT_TRUE(Update(FileInfo(Lib, old_.addDays(-1)), error));
    EXPECT_TRUE(Update(FileInfo(Lib, old_), error)) << "same second";
    EXPECT_TRUE(Update("", error)) << "the manager has no copy";
    // "<Modify>" without its closing mark gives no stamp.
    EXPECT_TRUE(
        Update("<Modify>" + Stamp(new_) + "<Path>" + temp_.file("server/S_PKG/" + Lib) + "</Path>", error));
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "old library");
    EXPECT_FALSE(IsLoaded(BuiltLibrary("libHVDownLoad.so")));
}

TEST_F(DownloadNewFileTest, SwitchTurnsUpdatesOnOnlyForOne)
{
    QString error;
    for (const QString off : {"Y", "0", "", "11", "yes"}) {
        SetSwitch(off);
        EXPECT_FALSE(UpdateAllowed()) << off.toStdString();
        EXPECT_TRUE(Update(FileInfo(Lib, new_), error)) << "switched off counts as done";
        EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "old library") << off.toStdString();
    }
    EXPECT_EQ(LogAdded(), QString()) << "a switch that is off is no error";

    SetSwitch(std::nullopt);
    EXPECT_FALSE(UpdateAllowed());
    EXPECT_TRUE(LogAdded().contains("] Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH\n"))
        << LogAdded().toStdString();

    SetSwitch(" 1 ");
    EXPECT_TRUE(UpdateAllowed());
    ASSERT_TRUE(Update(FileInfo(Lib, new_), error)) << error.toStdString();
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "new library");
}

TEST_F(DownloadNewFileTest, NetworkFilesAreNeverUpdated)
{
    for (const QString& unc :
        {QStringLiteral("\\\\server\\share\\C_PKG\\") + Lib, QStringLiteral("//server/share/") + Lib}) {
        QString error;
        EXPECT_FALSE(UpdateFileFromInfo(FileInfo(Lib, new_), unc, error, true));
        EXPECT_EQ(error, "Net File can't update![" + unc + "]");
        EXPECT_TRUE(LogAdded().contains(error)) << LogAdded().toStdString();
        EXPECT_FALSE(IsLoaded(BuiltLibrary("libHVDownLoad.so")));
    }
}

TEST_F(DownloadNewFileTest, FailedDownloadWithoutDialogWhenNotInteractive)
{
    QFile::remove(temp_.file("server/S_PKG/" + Lib + ".zip"));
    QString error;
    EXPECT_FALSE(Update(FileInfo(Lib, new_), error, false));
    EXPECT_TRUE(error.startsWith("DownLoad new file[" + local_ + "] failed. ")) << error.toStdString();
    EXPECT_TRUE(error.contains(Lib.toLower() + ".zip") || error.contains(Lib + ".zip"))
        << error.toStdString();
    EXPECT_TRUE(LogAdded().contains(error));
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "old library");
    EXPECT_TRUE(dialogs_.Asked().isEmpty());
}

TEST_F(DownloadNewFileTest, DownloadFailingTwiceThenRetriedToSuccess)
{
    const QString zip = temp_.file("server/S_PKG/" + Lib + ".zip");
    const QString hidden = temp_.file("server/hidden.zip");
    ASSERT_TRUE(QFile::rename(zip, hidden));
    dialogs_.ExpectMessage(mrRetry, "DownLoad new file[" + local_ + "] failed. ");
    ScriptedDialogService::Answer bringBack;
    bringBack.Handler = [&](const DialogRequest&) {
        // The archive turns up on the server while the second message shows.
        EXPECT_TRUE(QFile::rename(hidden, zip));
        return int(mrRetry);
    };
    dialogs_.Expect(DialogKind::Message, bringBack, "DownLoad new file[");
    QString error;
    ASSERT_TRUE(Update(FileInfo(Lib, new_), error)) << error.toStdString();
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "new library");
    ASSERT_EQ(dialogs_.Asked().size(), 2);
    for (const DialogRequest& asked : dialogs_.Asked()) {
        EXPECT_EQ(asked.Type, mtError);
        EXPECT_EQ(asked.Buttons, TMsgDlgButtons(mbAbort) | mbRetry);
    }
    EXPECT_EQ(LogAdded(), QString()) << "a retried failure is no failure";
}

TEST_F(DownloadNewFileTest, AbortGivesUpWithTheMessage)
{
    QFile::remove(temp_.file("server/S_PKG/" + Lib + ".zip"));
    dialogs_.ExpectMessage(mrAbort, "DownLoad new file[");
    QString error;
    EXPECT_FALSE(Update(FileInfo(Lib, new_), error));
    EXPECT_TRUE(error.startsWith("DownLoad new file[" + local_ + "] failed. ")) << error.toStdString();
    EXPECT_EQ(error, dialogs_.Asked().value(0).Text);
    EXPECT_TRUE(LogAdded().contains(error));
}

TEST_F(DownloadNewFileTest, HostileArchiveIsNotUnpackedAndStaysInTheTemporaryFolder)
{
    temp_.write("work/keep.txt", "outside the library folder");
    TestZip zip;
    zip.File(Lib, "new library").File("../keep.txt", "overwritten");
    WriteServerZip(Lib, zip);
    dialogs_.ExpectMessage(mrRetry, "Unzip new file[" + local_ + "] failed. ");
    dialogs_.ExpectMessage(mrAbort, "leaves the destination folder");
    QString error;
    EXPECT_FALSE(Update(FileInfo(Lib, new_), error));
    EXPECT_TRUE(error.startsWith("Unzip new file[" + local_ + "] failed. zip entry")) << error.toStdString();
    EXPECT_EQ(temp_.read("work/keep.txt"), "outside the library folder");
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "old library");
    EXPECT_TRUE(QFileInfo::exists(temp_.file("tmp/" + Lib + ".zip")));
    EXPECT_TRUE(LogAdded().contains(error));
    EXPECT_FALSE(IsLoaded(BuiltLibrary("libHVDownLoad.so")));
}

TEST_F(DownloadNewFileTest, MissingLibraryOrEntryPoint)
{
    testsupport::TempFolder libraries;
    {
        ScopedEnv path("STEWARD_LIBRARY_PATH", libraries.path().toLocal8Bit());
        QString error;
        EXPECT_FALSE(Update(FileInfo(Lib, new_), error));
        EXPECT_EQ(error, "function HvDownLoad.CompareFileToDown not found!");
        EXPECT_TRUE(LogAdded().contains(error));
    }
    // A library of that name without the entry points.
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("STEWARD_LIBRARY_PATH") + "/libHvlanguage.so",
        libraries.file("libHVDownLoad.so")));
    ScopedEnv path("STEWARD_LIBRARY_PATH", libraries.path().toLocal8Bit());
    THVDownLoad loader;
    EXPECT_TRUE(loader.Loaded());
    EXPECT_THROW(loader.CompareFileToDown(Stamp(new_), local_), EHVDownLoadError);
    QString error;
    EXPECT_FALSE(loader.DownLoadFile("a", "b", error));
    EXPECT_EQ(error, "function HvDownLoad.HVDownLoadFile not found!");
    EXPECT_FALSE(loader.UnZipFilesOrDir("a", "b", error));
    EXPECT_EQ(error, "function HvDownLoad.UnZipFilesOrDir not found!");
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "old library");
}

TEST_F(DownloadNewFileTest, WindowsPathTextsWork)
{
    // D: maps to a folder of the test; the local file is named the Windows way.
    ScopedEnv drive("STEWARD_DRIVE_D", temp_.file("work").toLocal8Bit());
    const QString info = QStringLiteral("Modify = '%1' Path = '%2'")
                             .arg(Stamp(new_), QDir::toNativeSeparators(temp_.file("server/S_PKG/" + Lib)));
    QString error;
    ASSERT_TRUE(UpdateFileFromInfo(info, "D:\\C_PKG\\" + Lib, error, true)) << error.toStdString();
    EXPECT_EQ(temp_.read("work/C_PKG/" + Lib), "new library");
}
