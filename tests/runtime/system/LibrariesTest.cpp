#include "runtime/system/Libraries.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

using TwiceFunction = int (*)(int);

const QString kSampleFolder = QStringLiteral(ZORV_SAMPLE_LIBRARY_DIR);

int CallTwice(const TLibrary& library, int value)
{
    const auto twice = reinterpret_cast<TwiceFunction>(library.GetProcAddress("HvSampleTwice"));
    return twice ? twice(value) : -1;
}

} // namespace

TEST(Libraries, WindowsNamesFindSharedObjects)
{
    const ScopedEnv path("STEWARD_LIBRARY_PATH", std::nullopt);
    for (const char* name :
        {"HvSample.dll", "HVSAMPLE.DLL", "hvsample", "C:\\Steward\\C_HVBIN\\HvSample.Dll"}) {
        const std::unique_ptr<TLibrary> library = TLibrary::Load(name, {kSampleFolder});
        ASSERT_NE(library, nullptr) << name << ": " << TLibrary::LastLoadError().toStdString();
        EXPECT_EQ(QFileInfo(library->Path()).fileName(), "libHvSample.so");
        EXPECT_EQ(CallTwice(*library, 21), 42);
        EXPECT_EQ(library->GetProcAddress("NoSuchEntry"), nullptr);
        EXPECT_EQ(library->GetProcAddress(""), nullptr);
        EXPECT_TRUE(TLibrary::LastLoadError().isEmpty());
    }
}

TEST(Libraries, SearchOrderAndEnvironment)
{
    TempFolder first;
    TempFolder second;
    const QString original = kSampleFolder + "/libHvSample.so";
    ASSERT_TRUE(QFile::copy(original, first.file("libhvsample.so")));
    ASSERT_TRUE(QFile::copy(original, second.file("libHvSample.so")));
    {
        // Folders given to the call come before $STEWARD_LIBRARY_PATH.
        const ScopedEnv path("STEWARD_LIBRARY_PATH", (second.path() + ":/nonexistent").toLocal8Bit());
        const auto library = TLibrary::Load("HvSample.dll", {first.path()});
        ASSERT_NE(library, nullptr) << TLibrary::LastLoadError().toStdString();
        EXPECT_EQ(library->Path(), first.file("libhvsample.so"));
        const auto fromEnvironment = TLibrary::Load("HvSample.dll");
        ASSERT_NE(fromEnvironment, nullptr);
        EXPECT_EQ(fromEnvironment->Path(), second.file("libHvSample.so"));
    }
    const QStringList folders = TLibrary::SearchFolders({"/opt/x"});
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders[0], QFileInfo(ModuleFileName()).absolutePath());
    EXPECT_EQ(folders[1], "/opt/x");
}

TEST(Libraries, FailuresReturnNullWithAReason)
{
    const ScopedEnv path("STEWARD_LIBRARY_PATH", std::nullopt);
    TempFolder folder;
    EXPECT_EQ(TLibrary::Load("Absent.dll", {folder.path()}), nullptr);
    EXPECT_TRUE(TLibrary::LastLoadError().contains("libAbsent.so"))
        << TLibrary::LastLoadError().toStdString();
    // A name cannot climb out of the searched folders.
    EXPECT_EQ(TLibrary::Load("..\\sample\\HvSample.dll", {folder.path()}), nullptr);
    EXPECT_EQ(TLibrary::Load("", {kSampleFolder}), nullptr);
    EXPECT_FALSE(TLibrary::LastLoadError().isEmpty());
    // A file that is no shared object.
    folder.write("libBroken.so", "not an ELF file");
    EXPECT_EQ(TLibrary::Load("Broken.dll", {folder.path()}), nullptr);
    EXPECT_TRUE(TLibrary::LastLoadError().startsWith(folder.file("libBroken.so")))
        << TLibrary::LastLoadError().toStdString();
}

TEST(Libraries, ModuleFileNameIsThisProgram)
{
    // The tests link this code statically, so the module is the test program.
    EXPECT_EQ(ModuleFileName(), QFileInfo("/proc/self/exe").canonicalFilePath());
    EXPECT_TRUE(QFileInfo(ModuleFileName()).isExecutable());
}

TEST(Libraries, LoadFileTakesExactlyThatFile)
{
    TempFolder folder;
    ASSERT_TRUE(QFile::copy(kSampleFolder + "/libHvSample.so", folder.file("copy.so")));
    // The same library beside the module or on $STEWARD_LIBRARY_PATH does not count.
    const ScopedEnv path("STEWARD_LIBRARY_PATH", kSampleFolder.toLocal8Bit());
    const auto library = TLibrary::LoadFile(folder.file("copy.so"));
    ASSERT_NE(library, nullptr) << TLibrary::LastLoadError().toStdString();
    EXPECT_EQ(library->Path(), folder.file("copy.so"));
    EXPECT_EQ(CallTwice(*library, 4), 8);

    EXPECT_EQ(TLibrary::LoadFile(folder.file("absent.so")), nullptr);
    EXPECT_TRUE(TLibrary::LastLoadError().contains("absent.so"));
    // A bare name is no file here, not a search of the system's folders.
    EXPECT_EQ(TLibrary::LoadFile("libc.so.6"), nullptr);
    EXPECT_EQ(TLibrary::LoadFile(QString()), nullptr);

    EXPECT_EQ(SharedObjectName("D:\\App\\S_PKG\\ZORV52S.DLL"), "libZORV52S.so");
    EXPECT_EQ(SharedObjectName("Hvlanguage"), "libHvlanguage.so");
    EXPECT_EQ(SharedObjectName("D:\\App\\"), QString());
}
