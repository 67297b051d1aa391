// Program descriptors: what a Program.txt may say, and which programs a
// process knows (registered first, then installed, the first file of a code).

#include "common/ProgramDescriptor.h"

#include "support/QStringPrinter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const char* const goodText = "# a comment\n"
                             "Code=QA0001\r\n"
                             "Title=质检单打印\n"
                             "OptionsForm=TfrmQa0001\n"
                             "FormatForm=TfrmQa0001Fmt\n"
                             "ServerClass=QA0001S.Class1\n"
                             "\n"
                             "Slip=qmsta|TA040|ta041\n"
                             "Slip=QMSTB|TB040\n"
                             "Demo=ADMMG|MG001=CHEN|MG002=QA0001|MG003= YY N \n"
                             "Demo=ADMMR|MR001=WANG|MR004=TA021 = 'F01' AND X='a=b'\n";

std::optional<TProgramDescriptor> parse(const QString& text, QString* error = nullptr)
{
    QString why;
    auto program = TProgramDescriptor::Parse(text, why);
    if (error)
        *error = why;
    return program;
}

QString descriptorWith(const QString& code)
{
    return QStringLiteral("Code=%1\nTitle=t\nOptionsForm=A\nFormatForm=B\nServerClass=%1S.Class1\n")
        .arg(code);
}

} // namespace

TEST(ProgramDescriptorTest, AGoodTextGivesEveryFieldTablesUpperCaseAndDemoValuesAsWritten)
{
    QString error;
    const auto program = parse(QString::fromUtf8(goodText), &error);
    ASSERT_TRUE(program) << qPrintable(error);
    EXPECT_EQ(program->Code, QStringLiteral("QA0001"));
    EXPECT_EQ(program->Title, QStringLiteral("质检单打印"));
    EXPECT_EQ(program->OptionsFormClass, QStringLiteral("TfrmQa0001"));
    EXPECT_EQ(program->FormatFormClass, QStringLiteral("TfrmQa0001Fmt"));
    EXPECT_EQ(program->ServerClass, QStringLiteral("QA0001S.Class1"));
    ASSERT_EQ(program->SlipTables.size(), 2);
    EXPECT_EQ(program->CountColumns(QStringLiteral("QMSTA")), QStringList({"TA040", "TA041"}));
    EXPECT_EQ(program->CountColumns(QStringLiteral("qmsta")), QStringList({"TA040", "TA041"}));
    EXPECT_EQ(program->CountColumns(QStringLiteral("QMSTB")), QStringList({"TB040"})) << "never sent";
    EXPECT_TRUE(program->CountColumns(QStringLiteral("MOCTO")).isEmpty());
    ASSERT_EQ(program->DemoRows.size(), 2);
    EXPECT_EQ(program->DemoRows[0].Table, QStringLiteral("ADMMG"));
    const QList<QPair<QString, QString>> rights {{"MG001", "CHEN"}, {"MG002", "QA0001"}, {"MG003", " YY N "}};
    EXPECT_EQ(program->DemoRows[0].Values, rights);
    // Only the first "=" of a pair divides it.
    EXPECT_EQ(program->DemoRows[1].Values.at(1),
        qMakePair(QStringLiteral("MR004"), QStringLiteral("TA021 = 'F01' AND X='a=b'")));
}

TEST(ProgramDescriptorTest, EachFaultIsRefusedWithItsLine)
{
    const QString head = descriptorWith(QStringLiteral("QA0001"));
    const struct {
        QString text;
        QString error;
    } cases[] = {
        {head + "Slip=MOCTO\n", "line 6: Slip takes table|print count column[|send count column]"},
        {head + "Slip=MOCTO|TO042|TO053|TO054\n", "line 6: Slip takes"},
        {head + "Slip=MOCTO|TO042;DROP TABLE X\n",
            "line 6: \"TO042;DROP TABLE X\" is no table or column name"},
        {head + "Slip=MOCTO|TO042\nSlip=mocto|TO043\n", "line 7: table MOCTO is given twice"},
        {head + "Demo=ADMMG\n", "line 6: Demo takes table|column=value..."},
        {head + "Demo=ADM MG|MG001=A\n", "line 6: \"ADM MG\" is no table name"},
        {head + "Demo=ADMMG|MG001\n", "line 6: \"MG001\" is no column=value"},
        {head + "Demo=ADMMG|1MG=A\n", "line 6: \"1MG=A\" is no column=value"},
        {head + "Demo=ADMMG|MG001=A|mg001=B\n", "line 6: column MG001 is given twice"},
        {head + "Title=again\n", "line 6: Title is given twice"},
        {head + "Colour=red\n", "line 6: unknown key \"Colour\""},
        {head + "just words\n", "line 6: no \"=\" in \"just words\""},
        {descriptorWith("ZORV520"), "line 1: Code \"ZORV520\" is not 1 to 6 upper-case letters or digits"},
        {descriptorWith("zorv52"), "line 1: Code \"zorv52\" is not"},
        {"Code=A\nTitle=\nOptionsForm=A\nFormatForm=B\nServerClass=AS.Class1\n", "line 2: Title is empty"},
        {"Code=A\nTitle=t\nOptionsForm=Tfrm A\nFormatForm=B\nServerClass=AS.Class1\n",
            "line 3: OptionsForm \"Tfrm A\" is no class name"},
        {"Code=A\nTitle=t\nOptionsForm=A\nFormatForm=B\nServerClass=AS..Class1\n",
            "line 5: ServerClass \"AS..Class1\" is no class id"},
        {"Code=A\nTitle=t\nOptionsForm=A\nServerClass=AS.Class1\n", "FormatForm is missing"},
        {"", "Code is missing"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(parse(c.text, &error)) << qPrintable(c.text);
        EXPECT_TRUE(error.startsWith(c.error)) << qPrintable(error) << " for " << qPrintable(c.text);
    }
}

TEST(ProgramDescriptorTest, EveryProgramOfTheBuildHasADescriptorThatParsesAndNamesItsFolder)
{
    // The build's folder list names the programs; each one's Program.txt
    // lies beside the modules as <CODE>.txt, and a module registers nothing
    // from a text that does not parse.
    const QString build = qEnvironmentVariable("ZORV_BINARY_DIR");
    const QString list
        = QString::fromUtf8(testsupport::readAll(build + QStringLiteral("/ZorvFolders.cmake")));
    const QRegularExpression programs(QStringLiteral("set\\(ZORV_PROGRAM_FOLDERS ([^)]*)\\)"));
    const QRegularExpressionMatch m = programs.match(list);
    ASSERT_TRUE(m.hasMatch()) << qPrintable(list);
    const QStringList folders = m.captured(1).split(u';', Qt::SkipEmptyParts);
    EXPECT_TRUE(folders.contains(QStringLiteral("zorv52"))) << qPrintable(list);
    for (const QString& folder : folders) {
        const QString code = QDir(folder).dirName().toUpper();
        QString error;
        const auto program
            = TProgramDescriptor::Load(build + QStringLiteral("/lib/programs/%1.txt").arg(code), error);
        ASSERT_TRUE(program) << qPrintable(error);
        EXPECT_EQ(program->Code, code);
        EXPECT_EQ(program->ServerClass, code + QStringLiteral("S.Class1"))
            << "the options window asks for <CODE>S.Class1";
    }
    QString error;
    EXPECT_FALSE(TProgramDescriptor::Load(build + QStringLiteral("/no/such/Program.txt"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("no/such/Program.txt"))) << qPrintable(error);
}

TEST(ProgramDescriptorTest, RegisteredProgramsComeFirstThenInstalledOnesTheFirstFileOfACodeWinning)
{
    testsupport::TempFolder first, second;
    QDir().mkpath(first.file(QStringLiteral("programs")));
    QDir().mkpath(second.file(QStringLiteral("programs")));
    first.write(QStringLiteral("programs/QB.txt"), descriptorWith(QStringLiteral("QB0001")).toUtf8());
    first.write(QStringLiteral("programs/broken.txt"), "Code=QB0009\n");
    first.write(QStringLiteral("programs/notes.md"), descriptorWith(QStringLiteral("QB0008")).toUtf8());
    second.write(QStringLiteral("programs/QB.txt"),
        descriptorWith(QStringLiteral("QB0001")).replace("Title=t", "Title=second").toUtf8());
    second.write(QStringLiteral("programs/QC.txt"), descriptorWith(QStringLiteral("QB0002")).toUtf8());
    const testsupport::ScopedEnv path("STEWARD_LIBRARY_PATH", (first.path() + u':' + second.path()).toUtf8());
    EXPECT_TRUE(
        ProgramDescriptorFolders().contains(QDir::cleanPath(second.file(QStringLiteral("programs")))));

    QString error;
    TProgramDescriptor registered = *parse(descriptorWith(QStringLiteral("QB0002")));
    registered.Title = QStringLiteral("registered");
    RegisterProgram(registered);
    ASSERT_TRUE(RegisterProgramText("Code=QB0003\nTitle=t\nOptionsForm=A\nFormatForm=B\nServerClass=Q.C\n"));
    EXPECT_FALSE(RegisterProgramText("Code=QB0004\n"));

    QStringList codes;
    for (const TProgramDescriptor& p : KnownPrograms())
        codes << p.Code;
    const auto at = [&](const char* code) { return codes.indexOf(QLatin1String(code)); };
    EXPECT_EQ(codes.count(QStringLiteral("QB0001")), 1);
    EXPECT_EQ(codes.count(QStringLiteral("QB0002")), 1);
    EXPECT_LT(at("QB0002"), at("QB0001")) << "registered before installed";
    EXPECT_LT(at("QB0003"), at("QB0001"));
    EXPECT_EQ(at("QB0004"), -1);
    EXPECT_EQ(at("QB0008"), -1) << "only *.txt";
    EXPECT_EQ(at("QB0009"), -1) << "a broken file is skipped";
    EXPECT_EQ(FindProgram(QStringLiteral("qb0001"))->Title, QStringLiteral("t")) << "the first folder's";
    EXPECT_EQ(FindProgram(QStringLiteral("QB0002"))->Title, QStringLiteral("registered"));
    EXPECT_FALSE(FindProgram(QStringLiteral("QB0004")));

    // A second registration of a code replaces the first.
    registered.Title = QStringLiteral("again");
    RegisterProgram(registered);
    EXPECT_EQ(FindProgram(QStringLiteral("QB0002"))->Title, QStringLiteral("again"));
}

TEST(ProgramDescriptorTest, ADaemonWithoutTheClientsModulesKnowsTheProgramsOfTheSharedDataFolder)
{
    // The server package's copy: share/zorv52/programs, no module folder at all.
    testsupport::TempFolder shared;
    QDir().mkpath(shared.file(QStringLiteral("programs")));
    shared.write(QStringLiteral("programs/QD.txt"),
        descriptorWith(QStringLiteral("QD0001")).append(QStringLiteral("Slip=QDSTA|TA040\n")).toUtf8());
    const testsupport::ScopedEnv data("STEWARD_DATA_PATH", shared.path().toUtf8());
    const QStringList folders = ProgramDescriptorFolders();
    ASSERT_FALSE(folders.isEmpty());
    EXPECT_EQ(folders.last(), QDir::cleanPath(shared.file(QStringLiteral("programs"))))
        << "after the module folders, whose copy wins";
    const auto program = FindProgram(QStringLiteral("QD0001"));
    ASSERT_TRUE(program);
    EXPECT_EQ(program->ServerClass, QStringLiteral("QD0001S.Class1"));
    ASSERT_EQ(program->SlipTables.size(), 1);
    EXPECT_EQ(program->SlipTables[0].Table, QStringLiteral("QDSTA"));
}
