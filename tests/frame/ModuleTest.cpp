// The built modules as a shell sees them: their dynamic symbols, and a run by
// a shell compiled against the controller header alone.
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct ProcessRun {
    int Status = -1;
    QString Out;
};

ProcessRun run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    ProcessRun result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = QString::fromUtf8(process.readAllStandardOutput());
    return result;
}

// The global symbols a module defines (nm's upper-case kinds).
QStringList exportedSymbols(const QString& module)
{
    const ProcessRun nm
        = run(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), module});
    EXPECT_EQ(nm.Status, 0) << qPrintable(module);
    QStringList names;
    static const QRegularExpression line(QStringLiteral("^\\S*\\s+([A-Z])\\s+(\\S+)$"));
    for (const QString& text : nm.Out.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(text);
        if (m.hasMatch())
            names << m.captured(2);
    }
    return names;
}

TEST(ModuleTest, ModulesExportGetControllerAndNothingElse)
{
    for (const char* module : {ZORV_MODULE_ZORV52, ZORV_MODULE_ZTEST})
        EXPECT_EQ(exportedSymbols(QString::fromUtf8(module)), QStringList {QStringLiteral("GetController")})
            << module;
}

TEST(ModuleTest, AHeaderOnlyShellDrivesTheTestModule)
{
    const ProcessRun shell = run(QStringLiteral(ZORV_ABI_SHELL), {QStringLiteral(ZORV_MODULE_ZTEST)});
    EXPECT_EQ(shell.Status, 0) << qPrintable(shell.Out);
    EXPECT_TRUE(shell.Out.contains(QStringLiteral("version ZTEST 1.0.7"))) << qPrintable(shell.Out);
    EXPECT_TRUE(shell.Out.contains(QStringLiteral("events 0x100 0x110 0x130\nclosed 1")))
        << qPrintable(shell.Out);
}

TEST(ModuleTest, TheChangeSlipModuleCreatesTheChangeSlipOptionsForm)
{
    // No client home here: the form is made (its version answers) but cannot connect.
    const ProcessRun shell = run(QStringLiteral(ZORV_ABI_SHELL), {QStringLiteral(ZORV_MODULE_ZORV52)});
    EXPECT_TRUE(shell.Out.contains(QStringLiteral("version 890911-1.4.1.1"))) << qPrintable(shell.Out);
    EXPECT_FALSE(shell.Out.contains(QStringLiteral("frmVRBaseOptClass"))) << qPrintable(shell.Out);
    EXPECT_TRUE(shell.Out.contains(QStringLiteral("closed 1"))) << qPrintable(shell.Out);
}

} // namespace

namespace {

TEST(ModuleTest, TheChangeSlipModuleMakesItsMailFaxAndServerObjectsOnceLoaded)
{
    // The objects the module registers while it is being loaded, created from
    // its own registry in a process that loaded it as the shell does: the
    // preview's fax menu, the mail and fax runs and the in-process server ask
    // that registry, never the shell's.
    const ProcessRun probe = run(QStringLiteral(ZORV_MODULE_OBJECTS),
        {QStringLiteral(ZORV_MODULE_ZORV52), QStringLiteral("Outlook.Application"),
            QStringLiteral("HVNFAX.APP"), QStringLiteral("zorv52s.class1"),
            QStringLiteral("No.Such.Object")});
    ASSERT_EQ(probe.Status, 0) << qPrintable(probe.Out);
    const QStringList lines = probe.Out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << qPrintable(probe.Out);
    EXPECT_EQ(lines[0], QStringLiteral("Outlook.Application -> Outlook.Application"));
    EXPECT_EQ(lines[1], QStringLiteral("HVNFAX.APP -> HVNFAX.APP"));
    EXPECT_EQ(lines[2], QStringLiteral("zorv52s.class1 -> ZORV52S.Class1"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("No.Such.Object error: Invalid class string")))
        << qPrintable(lines[3]);
}

} // namespace
