// Running the program's server library: the run parameters, finding and
// updating the library in the work-library folders, and the controller.

#include "UpdateFixture.h"

#include "common/LibStrs.h"
#include "runtime/system/AutoObject.h"
#include "runtime/system/Libraries.h"
#include "runtime/system/NativePath.h"
#include "update/ServerProgram.h"
#include "update/ServerRunParams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using testsupport::TestZip;

namespace {

const QString Lib = QStringLiteral("libZORV52S.so");

Variant Slots(std::initializer_list<Variant> values)
{
    Variant array = Variant::CreateArray(1, static_cast<int>(values.size()));
    int i = 1;
    for (const Variant& value : values)
        array[i++] = value;
    return array;
}

// The run of a criteria form with three options.
TServerRunParams RunOf(const QString& kind)
{
    TServerRunParams run;
    run.ProgramCode = "zorv52";
    run.CompanyCode = "DEMO";
    run.UserCode = "DS";
    run.DatabaseName = "Leader";
    run.ReportKind = kind;
    run.OptionValues = Slots({"20261208", Variant::ArrayOf({QChar(4), "A01", "A09"}), "Y"});
    run.OptionTexts = Slots({"print date", "slip type", "prices"});
    run.ServerClassName = "ZORV52S.Class1";
    run.CallerHandle = 4711;
    run.Moment = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0));
    run.Environment
        = Slots({"ZORV52", 9, 3, "DEMO", "DS", "Leader", "20261208093000", "ZORV52S.Class1", kind.toUpper()});
    return run;
}

// A manager that answers GetFileList from a table and remembers what it was asked.
class FakeManager : public TAutoObject {
public:
    explicit FakeManager(QString answer)
        : TAutoObject("HubDesk.Manager")
    {
        AddMethod("GetFileList", [this, answer](VariantList& args) {
            asked.append(Arg(args, 0));
            return Variant(answer);
        });
    }
    QList<Variant> asked;
};

} // namespace

TEST(ServerRunParams, LayoutByReportKind)
{
    const Variant batch = BuildServerRunParams(RunOf("b"));
    ASSERT_EQ(batch.LowBound(), 0);
    ASSERT_EQ(batch.HighBound(), 5);
    EXPECT_EQ(batch[sriProgramCode], Variant("ZORV52"));
    EXPECT_EQ(batch[sriReportKind], Variant("B"));
    EXPECT_EQ(batch[sriOptionValues], RunOf("B").OptionValues);

    const Variant full = BuildServerRunParams(RunOf("R"));
    ASSERT_EQ(full.HighBound(), 10);
    EXPECT_EQ(full[sriOptionTexts], RunOf("R").OptionTexts);
    EXPECT_EQ(full[sriEnvironment], RunOf("R").Environment);
    EXPECT_EQ(full[sriServerClass], Variant("ZORV52S.Class1"));
    EXPECT_EQ(full[sriCallerHandle].ToInt(), 4711);
    EXPECT_EQ(full[sriMoment], Variant("20261208093000"));

    QString why;
    EXPECT_TRUE(CheckServerRunParams(batch, "ZORV52", why)) << why.toStdString();
    EXPECT_TRUE(CheckServerRunParams(full, "zorv52", why)) << why.toStdString();
}

TEST(ServerRunParams, FaultsAreNamed)
{
    struct Case {
        const char* Kind;
        std::function<void(Variant&)> Spoil;
        const char* Why;
    };
    const Case cases[] = {
        {"B", [](Variant& p) { p.Redim(10); }, "takes 6 run parameters, not 11"},
        {"R", [](Variant& p) { p.Redim(5); }, "takes 11 run parameters, not 6"},
        {"B", [](Variant& p) { p[sriProgramCode] = "ZORV53"; }, "for program ZORV53, not ZORV52"},
        {"B", [](Variant& p) { p[sriUserCode] = " "; }, "the user code is empty"},
        {"B", [](Variant& p) { p[sriDatabase] = Variant::Null(); }, "the database name is empty"},
        {"B", [](Variant& p) { p[sriOptionValues][2] = Variant(); },
            "option values are no array of set slots"},
        {"B", [](Variant& p) { p[sriOptionValues] = Variant::ArrayOf({"a"}); }, "option values are no array"},
        {"R",
            [](Variant& p) {
                p[sriOptionTexts] = Slots({"a", "b"});
            },
            "option texts are no array of 3"},
        {"R", [](Variant& p) { p[sriServerClass] = "X.Class1"; }, "the server class is \"X.Class1\""},
        {"R", [](Variant& p) { p[sriCallerHandle] = "w"; }, "handle is no number"},
        {"R", [](Variant& p) { p[sriMoment] = "20261332093000"; }, "the moment \"20261332093000\""},
        {"R", [](Variant& p) { p[sriEnvironment][4] = "OTHER"; },
            "environment slot 4 is \"OTHER\", not \"DEMO\""},
        {"R", [](Variant& p) { p[sriEnvironment][3] = 2; }, "environment slot 3 is \"2\", not \"3\""},
        {"R", [](Variant& p) { p[sriEnvironment].Redim(8); }, "environment is no array of 9"},
    };
    for (const Case& c : cases) {
        Variant params = BuildServerRunParams(RunOf(c.Kind));
        c.Spoil(params);
        QString why;
        EXPECT_FALSE(CheckServerRunParams(params, "ZORV52", why)) << c.Why;
        EXPECT_TRUE(why.contains(c.Why))
            << "expected \"" << c.Why << "\", got \"" << why.toStdString() << '"';
    }
    QString why;
    EXPECT_FALSE(CheckServerRunParams(Variant("B"), "ZORV52", why));
    EXPECT_FALSE(CheckServerRunParams(Variant::CreateArray(1, 6), "ZORV52", why));
}

class ServerProgramTest : public UpdateFixture {
protected:
    void SetUp() override
    {
        UpdateFixture::SetUp();
        temp_.write("home/StewardS.ini", "[WorkDLLPath]\r\nPath1=Extra\r\nPath2=S_PKG\r\n");
    }

    // The real server library copied into a folder below the temporary one.
    QString PlaceLibrary(const QString& relativeFolder, const QDateTime& modified)
    {
        const QString path = temp_.file(relativeFolder + "/" + Lib);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(BuiltLibrary(Lib), path));
        QFile file(path);
        EXPECT_TRUE(
            file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime));
        return path;
    }

    // The server's copy as the archive the download library fetches.
    void PlaceServerArchive()
    {
        TestZip zip;
        zip.Stored().File(Lib, testsupport::readAll(BuiltLibrary(Lib)), 0755);
        WriteServerZip(Lib, zip);
    }

    QString ServerLog() const
    {
        return QString::fromUtf8(
            testsupport::readAll(NativePath(AlertLogFileName("ZORV52S", "D", QDateTime::currentDateTime()))));
    }
};

TEST_F(ServerProgramTest, BatchRunIsCheckedRecordedAndTheLibraryReleased)
{
    const QString library = PlaceLibrary("home/S_PKG", new_);
    QString answer;
    ASSERT_TRUE(RunServerLibrary(library, BuildServerRunParams(RunOf("B")), answer)) << answer.toStdString();
    EXPECT_EQ(answer.toStdString(),
        "recorded: ZORV52 batch run: company DEMO, user DS, database Leader, 3 options [20261208; "
        "[\"\\x04\", "
        "\"A01\", \"A09\"]; Y]");
    EXPECT_TRUE(ServerLog().contains("] ZORV52 batch run: company DEMO, user DS"))
        << ServerLog().toStdString();
    EXPECT_FALSE(IsLoaded(library));
    {
        const auto loaded = TLibrary::LoadFile(library); // the probe does see a loaded library
        EXPECT_TRUE(IsLoaded(library));
    }

    ASSERT_TRUE(RunServerLibrary(library, BuildServerRunParams(RunOf("R")), answer)) << answer.toStdString();
    EXPECT_EQ(answer, "ZORV52S: report kind R has nothing to do on the server");

    Variant spoiled = BuildServerRunParams(RunOf("B"));
    spoiled[sriUserCode] = "";
    EXPECT_FALSE(RunServerLibrary(library, spoiled, answer));
    EXPECT_EQ(answer, "ZORV52S refused the run: the user code is empty");
    EXPECT_TRUE(ServerLog().contains("] ZORV52S refused the run: the user code is empty"));
    EXPECT_FALSE(IsLoaded(library));
}

TEST_F(ServerProgramTest, LibraryWithoutTheExportOrNoLibrary)
{
    const QString impostor = temp_.file("home/S_PKG/" + Lib);
    QDir().mkpath(temp_.file("home/S_PKG"));
    ASSERT_TRUE(QFile::copy(BuiltLibrary("libHvlanguage.so"), impostor));
    QString answer;
    EXPECT_FALSE(RunServerLibrary(impostor, BuildServerRunParams(RunOf("B")), answer));
    EXPECT_EQ(answer, "function libZORV52S.so.GetSvrController not found!");
    EXPECT_FALSE(RunServerLibrary(temp_.file("home/none.so"), BuildServerRunParams(RunOf("B")), answer));
    EXPECT_TRUE(answer.contains("none.so")) << answer.toStdString();
}

TEST_F(ServerProgramTest, LocatingTakesTheFirstFolderHoldingACurrentCopy)
{
    const QStringList folders {
        temp_.file("home/Extra/"), temp_.file("home/S_PKG/"), temp_.file("home/Late/")};
    PlaceLibrary("home/S_PKG", new_);
    PlaceLibrary("home/Late", new_);
    QString error;
    EXPECT_EQ(LocateServerLibrary(folders, Lib, FileInfo(Lib, new_), error), folders[1] + Lib);
    // Found whatever the case of the name on disk.
    ASSERT_TRUE(QFile::rename(temp_.file("home/S_PKG/" + Lib), temp_.file("home/S_PKG/libzorv52s.SO")));
    EXPECT_EQ(LocateServerLibrary(folders, Lib, FileInfo(Lib, new_), error), folders[1] + "libzorv52s.SO");
    EXPECT_EQ(LocateServerLibrary({}, Lib, FileInfo(Lib, new_), error), QString());
    EXPECT_TRUE(error.contains(Lib));
}

TEST_F(ServerProgramTest, OutdatedCopyIsUpdatedFirstAndAMissingOneFetchedIntoSPkg)
{
    PlaceServerArchive();
    const QStringList folders {temp_.file("home/Extra/"), temp_.file("home/S_PKG/")};
    // A damaged old copy: only the update makes it usable.
    const QString old = WriteFile("home/Extra/" + Lib, "damaged", old_);
    QString error;
    EXPECT_EQ(LocateServerLibrary(folders, Lib, FileInfo(Lib, new_), error), folders[0] + Lib);
    EXPECT_EQ(testsupport::readAll(old), testsupport::readAll(BuiltLibrary(Lib)));

    // No copy anywhere: fetched into the folder named S_PKG, not the first one.
    QFile::remove(old);
    EXPECT_EQ(LocateServerLibrary(folders, Lib, FileInfo(Lib, new_), error), folders[1] + Lib)
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_EQ(testsupport::readAll(folders[1] + Lib), testsupport::readAll(BuiltLibrary(Lib)));

    // Nothing on the server either: no library.
    QFile::remove(folders[1] + Lib);
    QFile::remove(temp_.file("server/S_PKG/" + Lib + ".zip"));
    dialogs_.ExpectMessage(mrAbort, "DownLoad new file[");
    EXPECT_EQ(LocateServerLibrary(folders, Lib, FileInfo(Lib, new_), error), QString());
    EXPECT_TRUE(error.startsWith("DownLoad new file[")) << error.toStdString();
    EXPECT_EQ(LocateServerLibrary(folders, Lib, QString(), error), QString()) << "no stamp, no file";
    EXPECT_TRUE(error.contains("was not found")) << error.toStdString();
}

TEST_F(ServerProgramTest, WholeRunThroughTheManagerAndTheServerConfiguration)
{
    PlaceServerArchive();
    auto manager = std::make_shared<FakeManager>(FileInfo(Lib, new_));
    QString error;
    // Neither work-library folder (home/Extra, home/S_PKG) holds the library yet.
    ASSERT_TRUE(RunProgramServerLibrary(Variant(manager), "ZORV52", BuildServerRunParams(RunOf("B")), error))
        << error.toStdString();
    ASSERT_EQ(manager->asked.size(), 1);
    EXPECT_EQ(manager->asked[0], Variant::ArrayOf({"libzorv52s.so"}));
    EXPECT_TRUE(QFileInfo::exists(temp_.file("home/S_PKG/" + Lib)));
    EXPECT_FALSE(QFileInfo::exists(temp_.file("home/Extra/" + Lib)));
    EXPECT_TRUE(ServerLog().contains("ZORV52 batch run"));
    EXPECT_FALSE(IsLoaded(temp_.file("home/S_PKG/" + Lib)));

    // Refused parameters come back as the error.
    Variant spoiled = BuildServerRunParams(RunOf("B"));
    spoiled.Redim(3);
    EXPECT_FALSE(RunProgramServerLibrary(Variant(manager), "ZORV52", spoiled, error));
    EXPECT_TRUE(error.contains("takes 11 run parameters, not 4")) << error.toStdString();

    // Without a manager the copy on hand is used.
    EXPECT_TRUE(RunProgramServerLibrary(Variant(), "ZORV52", BuildServerRunParams(RunOf("B")), error));
    EXPECT_FALSE(RunProgramServerLibrary(Variant(), "", BuildServerRunParams(RunOf("B")), error));
}
