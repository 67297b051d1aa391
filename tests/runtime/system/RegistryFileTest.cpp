#include "runtime/system/RegistryFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

QByteArray Utf16WithBom(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

const char* const kSuiteKey = R"(Windows Registry Editor Version 5.00

; the suite's own key
[HKEY_LOCAL_MACHINE\Software\HVN\Steward]
"ClientPath"="D:\\App\\"
"ServerPath"="\\\\srv\\share\\Steward\\"
"ProfileType"=dword:0000001f
"Quoted"="say \"hi\""
@="default text"
"Expand"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,\
  78,00,00,00
"Blob"=hex:01,02,03
"Number"="  42 "
"Words"="forty-two"

[HKEY_LOCAL_MACHINE\Software\HVN\Steward\Sub]
"Inner"="yes"
)";

} // namespace

TEST(RegistryFile, ReadsTheSuiteKeyAndValueForms)
{
    TempFolder folder;
    TRegistry registry(folder.write("registry.reg", kSuiteKey));
    ASSERT_TRUE(registry.OpenKeyReadOnly("software\\hvn\\STEWARD"));
    EXPECT_EQ(registry.CurrentPath(), "software\\hvn\\STEWARD"); // as opened
    EXPECT_EQ(registry.ReadString("clientpath"), "D:\\App\\");
    EXPECT_EQ(registry.ReadString("ServerPath"), "\\\\srv\\share\\Steward\\");
    EXPECT_EQ(registry.ReadString("Quoted"), "say \"hi\"");
    EXPECT_EQ(registry.ReadString(""), "default text");
    // A dword reads both as a number and as its decimal text.
    EXPECT_EQ(registry.ReadInteger("ProfileType"), 31);
    EXPECT_EQ(registry.ReadString("ProfileType"), "31");
    // Expandable strings stay unexpanded; continuation lines join.
    EXPECT_EQ(registry.ReadString("Expand"), "%TEMP%\\x");
    EXPECT_TRUE(registry.ValueExists("Blob"));
    EXPECT_EQ(registry.ReadString("Blob"), "");
    EXPECT_EQ(registry.ReadInteger("Number"), 42);
    EXPECT_THROW(registry.ReadInteger("Words"), ERegistryException);
    EXPECT_THROW(registry.ReadInteger("Absent"), ERegistryException);
    EXPECT_EQ(registry.ReadString("Absent"), "");
    EXPECT_FALSE(registry.ValueExists("Absent"));
    EXPECT_EQ(registry.GetValueNames(),
        QStringList(
            {"ClientPath", "ServerPath", "ProfileType", "Quoted", "", "Expand", "Blob", "Number", "Words"}));
    EXPECT_EQ(registry.GetKeyNames(), QStringList {"Sub"});
    EXPECT_TRUE(registry.LastError().isEmpty()) << registry.LastError().toStdString();
}

TEST(RegistryFile, KeyNavigationAndRoots)
{
    TempFolder folder;
    const QString file = folder.write("r.reg",
        "Windows Registry Editor Version 5.00\r\n"
        "[HKLM\\Software\\HVN\\Steward]\r\n\"A\"=\"1\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Mine]\r\n\"B\"=\"2\"\r\n");
    TRegistry registry(file);
    // Parents of a key exist; relative keys go below the open key.
    EXPECT_TRUE(registry.KeyExists("\\Software\\HVN"));
    ASSERT_TRUE(registry.OpenKey("Software", false));
    EXPECT_TRUE(registry.OpenKey("HVN\\Steward", false));
    EXPECT_EQ(registry.CurrentPath(), "Software\\HVN\\Steward");
    EXPECT_EQ(registry.ReadString("A"), "1");
    // Absent keys cannot be created in a read-only store.
    EXPECT_FALSE(registry.OpenKey("\\Software\\New", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\HVN\\Steward");
    registry.CloseKey();
    EXPECT_EQ(registry.CurrentPath(), "");
    EXPECT_FALSE(registry.KeyExists("Software\\Mine"));
    registry.RootKey = TRegistry::Root::CurrentUser;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Mine"));
    EXPECT_EQ(registry.ReadString("B"), "2");
}

TEST(RegistryFile, Utf16FileAndEnvironmentLocation)
{
    TempFolder folder;
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n"
                                        "\"ClientPath\"=\"D:\\\\工单\\\\\"\r\n");
    const ScopedEnv env("STEWARD_REGISTRY", folder.write("utf16.reg", Utf16WithBom(text)).toLocal8Bit());
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\HVN\\Steward"));
    EXPECT_EQ(registry.ReadString("ClientPath"), QStringLiteral("D:\\工单\\"));
}

TEST(RegistryFile, MissingOrForeignFileOpensNothing)
{
    TempFolder folder;
    TRegistry missing(folder.file("none.reg"));
    EXPECT_FALSE(missing.OpenKeyReadOnly("Software"));
    EXPECT_FALSE(missing.LastError().isEmpty());

    TRegistry foreign(folder.write("x.reg", "[HKEY_LOCAL_MACHINE\\Software]\n\"A\"=\"1\"\n"));
    EXPECT_FALSE(foreign.OpenKeyReadOnly("Software"));
    EXPECT_TRUE(foreign.LastError().contains("line 1")) << foreign.LastError().toStdString();
}

TEST(RegistryFile, DamagedLinesAreSkippedAndReported)
{
    TempFolder folder;
    QByteArray bytes = "REGEDIT4\n"
                       "\"Orphan\"=\"before any key\"\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Good]\n"
                       "\"Unterminated\"=\"abc\n"
                       "\"NoEquals\" \"x\"\n"
                       "\"BadDword\"=dword:xyz\n"
                       "\"LongDword\"=dword:123456789\n"
                       "\"BadHex\"=hex:01,zz\n"
                       "garbage line\n"
                       "[HKEY_NOWHERE\\Key]\n"
                       "\"Lost\"=\"1\"\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Good\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Good]\n";
    bytes.append(QByteArray(3000000, 'x')); // one huge line
    bytes.append("\n");
    bytes.append(QByteArray("\x00\x01\xfe\xff junk\n", 10));
    bytes.append("\"After\"=\"still read\"\n");
    TRegistry registry(folder.write("bad.reg", bytes));
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Good"));
    EXPECT_EQ(registry.GetValueNames(), QStringList {"After"});
    EXPECT_EQ(registry.ReadString("After"), "still read");
    EXPECT_FALSE(registry.KeyExists("\\Key"));
    EXPECT_TRUE(registry.LastError().startsWith("line ")) << registry.LastError().toStdString();
}

TEST(RegistryFile, DeletionsAndOverrides)
{
    TempFolder folder;
    TRegistry registry(folder.write("d.reg",
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_LOCAL_MACHINE\\Software\\A\\B]\n\"X\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Keep]\n"
        "\"V\"=\"old\"\n\"Gone\"=\"1\"\n\"v\"=\"new\"\n\"Gone\"=-\n"
        "[-HKEY_LOCAL_MACHINE\\Software\\A]\n"));
    EXPECT_FALSE(registry.KeyExists("\\Software\\A"));
    EXPECT_FALSE(registry.KeyExists("\\Software\\A\\B"));
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Keep"));
    EXPECT_EQ(registry.GetValueNames(), QStringList {"V"});
    EXPECT_EQ(registry.ReadString("V"), "new");
    EXPECT_THROW(registry.ReadInteger("Gone"), ERegistryException);
}

TEST(RegistryFile, EachInstanceSeesTheCurrentFile)
{
    TempFolder folder;
    const QString file = folder.write("c.reg", "REGEDIT4\n[HKLM\\S]\n\"P\"=\"one\"\n");
    TRegistry first(file);
    ASSERT_TRUE(first.OpenKeyReadOnly("S"));
    folder.write("c.reg", "REGEDIT4\n[HKLM\\S]\n\"P\"=\"two\"\n");
    EXPECT_EQ(first.ReadString("P"), "one");
    TRegistry second(file);
    ASSERT_TRUE(second.OpenKeyReadOnly("S"));
    EXPECT_EQ(second.ReadString("P"), "two");
}

namespace {

// "[HKEY_LOCAL_MACHINE\K\K\...]" with depth levels below the root.
QByteArray NestedKeyLine(int depth)
{
    QByteArray line = "[HKEY_LOCAL_MACHINE";
    line.reserve(line.size() + 2 * depth + 2);
    for (int i = 0; i < depth; ++i)
        line += "\\K";
    return line + "]\n";
}

QString NestedKeyPath(int depth)
{
    QStringList parts;
    for (int i = 0; i < depth; ++i)
        parts << QStringLiteral("K");
    return u'\\' + parts.join(u'\\');
}

} // namespace

TEST(RegistryFile, KeysNestDownToTheWindowsLimitAndNoDeeper)
{
    TempFolder folder;
    QByteArray bytes = "Windows Registry Editor Version 5.00\n" + NestedKeyLine(512) + "\"Deep\"=\"512\"\n"
        + "[HKEY_LOCAL_MACHINE\\After]\n\"A\"=\"read\"\n" + NestedKeyLine(513);
    TRegistry registry(folder.write("deep.reg", bytes));
    ASSERT_TRUE(registry.OpenKeyReadOnly(NestedKeyPath(512)));
    EXPECT_EQ(registry.ReadString("Deep"), "512");
    EXPECT_TRUE(registry.GetKeyNames().isEmpty());
    EXPECT_FALSE(registry.KeyExists(NestedKeyPath(513)));
    EXPECT_TRUE(registry.LastError().contains("513 levels")) << registry.LastError().toStdString();
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\After"));
    EXPECT_EQ(registry.ReadString("A"), "read");
}

// A key line nested a hundred thousand levels (200 KB) once took memory and
// time that grew with the square of the depth, and overflowed the stack.
TEST(RegistryFile, AHugelyNestedKeyLineIsSkippedWhole)
{
    TempFolder folder;
    QByteArray bytes = "REGEDIT4\n[HKLM\\Software]\n\"S\"=\"kept\"\n" + NestedKeyLine(100000);
    TRegistry registry(folder.write("huge.reg", bytes));
    EXPECT_TRUE(registry.KeyExists("\\Software"));
    EXPECT_FALSE(registry.KeyExists("\\K\\K"));
    EXPECT_TRUE(registry.LastError().startsWith("line 4:")) << registry.LastError().toStdString();
}

TEST(RegistryFile, SubKeysKeepFileOrderThroughDeletionAndReCreation)
{
    TempFolder folder;
    TRegistry registry(folder.write("order.reg",
        "REGEDIT4\n[HKLM\\R\\b]\n[HKLM\\R\\A\\x]\n[HKLM\\r\\C]\n[HKLM\\R\\B\\y]\n"
        "[-HKLM\\R\\a]\n[HKLM\\R\\D]\n[HKLM\\R\\a]\n\"New\"=\"1\"\n[-HKLM\\R\\Missing]\n[-HKLM]\n"));
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\R"));
    // The first spelling stays; a key deleted and named again comes back empty, at the end.
    EXPECT_EQ(registry.GetKeyNames(), (QStringList {"b", "C", "D", "a"}));
    EXPECT_FALSE(registry.KeyExists("\\R\\A\\x"));
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\R\\A"));
    EXPECT_EQ(registry.GetValueNames(), QStringList {"New"});
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\R\\B"));
    EXPECT_EQ(registry.GetKeyNames(), QStringList {"y"});
}

TEST(RegistryFile, AFileTooLargeToBeARegistryIsRefusedWithAReason)
{
    TempFolder folder;
    QByteArray bytes = "REGEDIT4\n[HKLM\\S]\n";
    bytes.append(QByteArray(17 * 1024 * 1024, ';'));
    TRegistry registry(folder.write("large.reg", bytes));
    EXPECT_FALSE(registry.KeyExists("\\S"));
    EXPECT_TRUE(registry.LastError().contains("too large")) << registry.LastError().toStdString();
}
