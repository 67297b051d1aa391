// The work-centre manager's GetFileList answer drives the update: its stamp
// format and path are what the download library and the update read.

#include "UpdateFixture.h"

#include "suite/hubdesk/HubDeskManager.h"
#include "update/ServerProgram.h"
#include "update/ServerRunParams.h"

#include <QFile>
#include <QFileInfo>

using testsupport::TestZip;

TEST_F(UpdateFixture, ServerLibraryBroughtUpToDateFromTheManagersNewestCopy)
{
    const QString lib = "libZORV52S.so";
    const QByteArray built = testsupport::readAll(BuiltLibrary(lib));
    // Two work-library folders: the first holds an old copy, the second the
    // newest copy and its archive.
    temp_.write("home/StewardS.ini", "[WorkDLLPath]\r\nPath1=C_PKG\r\nPath2=S_PKG\r\n");
    const QString old = WriteFile("home/C_PKG/" + lib, "old copy", old_);
    WriteFile("home/S_PKG/" + lib, built, new_);
    TestZip zip;
    zip.Stored().File(lib, built);
    ASSERT_TRUE(zip.Write(temp_.file("home/S_PKG/" + lib + ".zip")));

    auto manager = std::make_shared<THubDeskManager>();
    const QString info = manager->GetFileList(Variant::ArrayOf({lib.toLower()}));
    EXPECT_TRUE(info.startsWith("<Modify>" + Stamp(new_) + "</Modify><Path>" + temp_.file("home")))
        << info.toStdString();
    EXPECT_TRUE(info.endsWith("S_PKG\\" + lib + "</Path>")) << info.toStdString();

    TServerRunParams run;
    run.ProgramCode = "ZORV52";
    run.CompanyCode = "DEMO";
    run.UserCode = "DS";
    run.DatabaseName = "Leader";
    run.ReportKind = "B";
    run.OptionValues = Variant::CreateArray(1, 1);
    run.OptionValues[1] = "20261208";
    QString error;
    ASSERT_TRUE(RunProgramServerLibrary(Variant(manager), "ZORV52", BuildServerRunParams(run), error))
        << error.toStdString();
    EXPECT_EQ(testsupport::readAll(old), built) << "the old copy in the first folder was replaced";
    EXPECT_FALSE(IsLoaded(old));
}
