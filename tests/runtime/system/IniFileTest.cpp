#include "runtime/system/IniFile.h"

#include "runtime/system/CodePages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

const char* const kClientIni = "; client settings\r\n"
                               "ignored=before any section\r\n"
                               "[Server Information]\r\n"
                               "  ComputerName  =  \" host1;host2; \"  \r\n"
                               "ServerPort=0x00D3\r\n"
                               "SupportCallBack = yes\r\n"
                               "Single='quoted'\r\n"
                               "Mismatched=\"half'\r\n"
                               "Inner=a \"b\" c\r\n"
                               "Empty=\r\n"
                               "no equals sign here\r\n"
                               ";Commented=1\r\n"
                               "servercomputer=first\r\n"
                               "SERVERCOMPUTER=second\r\n"
                               "[ WorkDLLPath ]\r\n"
                               "Path=\\bin\r\n"
                               "Path=E:\\x\r\n"
                               "Other = sub \r\n"
                               "[server information]\r\n"
                               "ComputerName=from the second section\r\n"
                               "Late=only in the second section\r\n";

} // namespace

TEST(IniFile, ValuesFollowProfileRules)
{
    TempFolder folder;
    const TIniFile ini(folder.write("StewardC.ini", kClientIni));
    // Blanks trimmed, then one pair of matching quotes removed.
    EXPECT_EQ(ini.ReadString("server information", "COMPUTERNAME", "x"), " host1;host2; ");
    EXPECT_EQ(ini.ReadString("Server Information", "Single", "x"), "quoted");
    EXPECT_EQ(ini.ReadString("Server Information", "Mismatched", "x"), "\"half'");
    EXPECT_EQ(ini.ReadString("Server Information", "Inner", "x"), "a \"b\" c");
    // Present but empty is not absent.
    EXPECT_EQ(ini.ReadString("Server Information", "Empty", "x"), "");
    EXPECT_EQ(ini.ReadString("Server Information", "Commented", "x"), "x");
    EXPECT_EQ(ini.ReadString("Server Information", "no equals sign here", "x"), "x");
    EXPECT_EQ(ini.ReadString("", "ignored", "x"), "x");
    // First of two equal keys; the repeated section is not read.
    EXPECT_EQ(ini.ReadString("Server Information", "ServerComputer", "x"), "first");
    EXPECT_FALSE(ini.ValueExists("Server Information", "Late"));
    EXPECT_TRUE(ini.ValueExists("server INFORMATION", "empty"));
    EXPECT_TRUE(ini.SectionExists("workdllpath"));
    EXPECT_FALSE(ini.SectionExists("CodePage"));
}

TEST(IniFile, NumbersAndBooleans)
{
    TempFolder folder;
    const TIniFile ini(folder.write("n.ini",
        "[N]\nDec= -17 \nHex=$1F\nHex0x=0x00D3\nAll=$FFFFFFFF\n"
        "Big=4294967296\nText=12abc\nYes=yes\nOne=1\nZero=0\n"
        "NineDigits=$123456789\nBlank=\n"));
    EXPECT_EQ(ini.ReadInteger("N", "Dec", 5), -17);
    EXPECT_EQ(ini.ReadInteger("N", "Hex", 5), 31);
    EXPECT_EQ(ini.ReadInteger("N", "Hex0x", 5), 211);
    EXPECT_EQ(ini.ReadInteger("N", "All", 5), -1);
    EXPECT_EQ(ini.ReadInteger("N", "Big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "Text", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "NineDigits", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "Blank", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "Absent", 5), 5);
    EXPECT_TRUE(ini.ReadBool("N", "One", false));
    EXPECT_FALSE(ini.ReadBool("N", "Zero", true));
    // A word is no number: the default decides.
    EXPECT_TRUE(ini.ReadBool("N", "Yes", true));
    EXPECT_FALSE(ini.ReadBool("N", "Yes", false));
}

TEST(IniFile, SectionListings)
{
    TempFolder folder;
    const TIniFile ini(folder.write("StewardC.ini", kClientIni));
    QStringList sections {"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList({"Server Information", "WorkDLLPath"}));
    QStringList keys {"stale"};
    ini.ReadSection("workdllpath", keys);
    EXPECT_EQ(keys, QStringList({"Path", "Path", "Other"}));
    QStringList lines;
    ini.ReadSectionValues("WorkDLLPath", lines);
    // Each line keeps its own value: two folders under one key name are both kept.
    EXPECT_EQ(lines, QStringList({"Path=\\bin", "Path=E:\\x", "Other=sub"}));
    ini.ReadSection("Absent", keys);
    EXPECT_TRUE(keys.isEmpty());
}

TEST(IniFile, MissingFileGivesDefaults)
{
    TempFolder folder;
    const TIniFile ini(folder.file("absent.ini"));
    EXPECT_EQ(ini.FileName(), folder.file("absent.ini"));
    EXPECT_EQ(ini.ReadString("CodePage", "DBCodePage", "936"), "936");
    EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 211);
    EXPECT_FALSE(ini.SectionExists("CodePage"));
    const TIniFile unnamed(QString {});
    EXPECT_EQ(unnamed.ReadString("A", "B", "d"), "d");
}

TEST(IniFile, EncodingsAreRecognised)
{
    TempFolder folder;
    const QString text = QStringLiteral("[工单]\r\n名称=变更单\r\n");
    // Without a mark, bytes that are not UTF-8 are in the system code page.
    {
        const ScopedEnv acp("STEWARD_ACP", "936");
        const TIniFile gbk(folder.write("gbk.ini", EncodeText(text, 936)));
        EXPECT_EQ(
            gbk.ReadString(QStringLiteral("工单"), QStringLiteral("名称"), "x"), QStringLiteral("变更单"));
    }
    {
        const ScopedEnv acp("STEWARD_ACP", "950");
        const QString traditional = QStringLiteral("[工單]\r\n名稱=變更單\r\n");
        const TIniFile big5(folder.write("big5.ini", EncodeText(traditional, 950)));
        EXPECT_EQ(
            big5.ReadString(QStringLiteral("工單"), QStringLiteral("名稱"), "x"), QStringLiteral("變更單"));
    }
    const ScopedEnv acp("STEWARD_ACP", "936");
    const TIniFile utf8(folder.write("utf8.ini", text.toUtf8()));
    EXPECT_EQ(utf8.ReadString(QStringLiteral("工单"), QStringLiteral("名称"), "x"), QStringLiteral("变更单"));
    const TIniFile utf8Bom(folder.write("bom.ini", "\xEF\xBB\xBF" + text.toUtf8()));
    EXPECT_TRUE(utf8Bom.SectionExists(QStringLiteral("工单")));
    QByteArray utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const TIniFile utf16File(folder.write("utf16.ini", utf16));
    EXPECT_EQ(
        utf16File.ReadString(QStringLiteral("工单"), QStringLiteral("名称"), "x"), QStringLiteral("变更单"));
}

TEST(IniFile, WindowsPathTextsAreAccepted)
{
    TempFolder folder;
    const ScopedEnv drive("STEWARD_DRIVE_D", folder.path().toLocal8Bit());
    folder.write("App/StewardS.ini", "[ProductVersion]\nVersion=5.2\n");
    const TIniFile ini(QStringLiteral("D:\\App\\\\StewardS.ini"));
    EXPECT_EQ(ini.ReadString("ProductVersion", "Version", ""), "5.2");
}

// Sections are found through an index: the first of each name, without regard
// to case, among tens of thousands.
TEST(IniFile, ManySectionsFirstOfEachNameWins)
{
    TempFolder folder;
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += "[Section" + QByteArray::number(i) + "]\nKey=" + QByteArray::number(i) + "\n";
    text += "[section7]\nKey=late\nOther=late\n[ÄRGER]\nKey=first\n[ärger]\nKey=second\n";
    const TIniFile ini(folder.write("many.ini", text));
    EXPECT_EQ(ini.ReadString("SECTION19999", "key", ""), "19999");
    EXPECT_EQ(ini.ReadString("section7", "Key", ""), "7");
    EXPECT_FALSE(ini.ValueExists("Section7", "Other"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("ärger"), "Key", ""), "first");
    EXPECT_FALSE(ini.SectionExists("Section20000"));
    QStringList sections;
    ini.ReadSections(sections);
    ASSERT_EQ(sections.size(), 20001);
    EXPECT_EQ(sections.first(), "Section0");
    EXPECT_EQ(sections.last(), QStringLiteral("ÄRGER"));
}
