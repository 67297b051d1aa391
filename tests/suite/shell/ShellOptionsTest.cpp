// The shell's command line: which run each combination asks for, and the
// combinations it refuses.
#include "suite/shell/ShellOptions.h"

#include <gtest/gtest.h>

namespace {

using Mode = TShellOptions::Mode;

TShellOptions parse(const QString& line)
{
    TShellOptions options;
    QString error;
    EXPECT_TRUE(ParseShellOptions(line.split(u' ', Qt::SkipEmptyParts), options, error))
        << qPrintable(line) << ": " << qPrintable(error);
    return options;
}

QString refusal(const QString& line)
{
    TShellOptions options;
    QString error;
    EXPECT_FALSE(ParseShellOptions(line.split(u' ', Qt::SkipEmptyParts), options, error)) << qPrintable(line);
    return error;
}

TEST(ShellOptionsTest, ProgramAndWhoAndWhere)
{
    const TShellOptions o = parse(QStringLiteral(
        "zorv52 --home /tmp/h --user CHEN --company HV02 --database TEST --features FEP --verbose"));
    EXPECT_EQ(o.RunMode, Mode::Window);
    EXPECT_EQ(o.Program, QStringLiteral("ZORV52"));
    EXPECT_EQ(o.Home, QStringLiteral("/tmp/h"));
    EXPECT_EQ(o.User, QStringLiteral("CHEN"));
    EXPECT_EQ(o.Company, QStringLiteral("HV02"));
    EXPECT_EQ(o.Database, QStringLiteral("TEST"));
    EXPECT_EQ(o.Features, QStringLiteral("FEP"));
    EXPECT_TRUE(o.Verbose);
    EXPECT_EQ(parse(QStringLiteral("ZORV52 --help")).RunMode, Mode::Help);
    EXPECT_EQ(parse(QStringLiteral("-h")).RunMode, Mode::Help);
}

TEST(ShellOptionsTest, Commands)
{
    TShellOptions o = parse(QStringLiteral("ZORV52 --preview"));
    EXPECT_EQ(o.RunMode, Mode::PrintOrPreview);
    EXPECT_TRUE(o.Preview);
    o = parse(QStringLiteral("ZORV52 --print --keys 5101,20110001,0001"));
    EXPECT_EQ(o.RunMode, Mode::PrintKeys);
    EXPECT_FALSE(o.Preview);
    EXPECT_EQ(
        o.Keys, (QStringList {QStringLiteral("5101"), QStringLiteral("20110001"), QStringLiteral("0001")}));
    o = parse(QStringLiteral("ZORV52 --keys 5101,20110001,0001,T --export-pictures jpg /tmp/slip 150"));
    EXPECT_EQ(o.RunMode, Mode::ExportPictures);
    EXPECT_EQ(o.Keys.size(), 4);
    EXPECT_EQ(o.Export, TExportTarget::Pages(TOutputKind::Jpg, QStringLiteral("/tmp/slip")));
    EXPECT_EQ(o.Resolution, 150);
    o = parse(QStringLiteral("ZORV52 --export-pictures 3 out --keys A,B,C"));
    EXPECT_EQ(o.Export, TExportTarget::Pages(TOutputKind::PicturePdf, QStringLiteral("out")));
    EXPECT_EQ(o.Resolution, 0);
    o = parse(QStringLiteral("ZORV52 --export-pdf /tmp/slips.pdf"));
    EXPECT_EQ(o.RunMode, Mode::ExportPdf);
    EXPECT_TRUE(o.Keys.isEmpty());
    // The file itself, not a prefix of page files.
    EXPECT_EQ(o.Export, TExportTarget::File(TOutputKind::ReportPdf, QStringLiteral("/tmp/slips.pdf")));
    o = parse(QStringLiteral("ZORV52 --keys A,B,C --export-pdf out.pdf"));
    EXPECT_EQ(o.RunMode, Mode::ExportPdf);
    EXPECT_EQ(o.Keys.size(), 3);
    o = parse(QStringLiteral("--create-demo /tmp/demo --slips 5"));
    EXPECT_EQ(o.RunMode, Mode::CreateDemo);
    EXPECT_EQ(o.DemoSlips, 5);
}

TEST(ShellOptionsTest, RefusedCombinations)
{
    EXPECT_TRUE(refusal(QString()).contains(QStringLiteral("which program")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --print --preview")).contains(QStringLiteral("exclude")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C")).contains(QStringLiteral("--keys goes with")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --export-pictures BMP p")).contains(QStringLiteral("--keys")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B --print")).contains(QStringLiteral("TYPE,NUMBER")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures TIFF p"))
                    .contains(QStringLiteral("TIFF")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures BMP p -3"))
                    .contains(QStringLiteral("-3")));
    // A page at 5000 dots per inch is gigabytes of picture: refused before any is made.
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures BMP p 5000"))
                    .contains(QStringLiteral("resolution 5000 is above 600 dots per inch")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures PDF p 601"))
                    .contains(QStringLiteral("601")));
    EXPECT_EQ(parse(QStringLiteral("ZORV52 --keys A,B,C --export-pictures BMP p 600")).Resolution, 600);
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --user")).contains(QStringLiteral("--user needs a value")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --export-pdf"))
                    .contains(QStringLiteral("--export-pdf needs a value")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --export-pdf a.pdf --preview"))
                    .contains(QStringLiteral("--export-pdf goes")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pdf a.pdf --export-pictures BMP p"))
                    .contains(QStringLiteral("--export-pdf goes")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --colour red")).contains(QStringLiteral("unknown option")));
    EXPECT_TRUE(refusal(QStringLiteral("../evil")).contains(QStringLiteral("no program code")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 ZORV53")).contains(QStringLiteral("unexpected")));
    EXPECT_TRUE(
        refusal(QStringLiteral("ZORV52 --create-demo /tmp/d")).contains(QStringLiteral("runs no program")));
}

TEST(ShellOptionsTest, ForceGoesWithADemoHomeOnly)
{
    EXPECT_FALSE(parse(QStringLiteral("--create-demo /tmp/demo")).DemoForce);
    const TShellOptions o = parse(QStringLiteral("--force --create-demo /tmp/demo"));
    EXPECT_EQ(o.RunMode, TShellOptions::Mode::CreateDemo);
    EXPECT_TRUE(o.DemoForce);
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --force"))
                    .contains(QStringLiteral("--force goes with --create-demo")));
}

TEST(ShellOptionsTest, ADemoHomesCodePageIsSimplifiedOrTraditionalChineseOrEnglish)
{
    EXPECT_TRUE(parse(QStringLiteral("--create-demo /tmp/demo")).DemoCodePage.isEmpty());
    EXPECT_EQ(
        parse(QStringLiteral("--create-demo /tmp/demo --code-page 950")).DemoCodePage, QStringLiteral("950"));
    EXPECT_EQ(
        parse(QStringLiteral("--create-demo /tmp/demo --code-page 437")).DemoCodePage, QStringLiteral("437"));
    const QString wrong = refusal(QStringLiteral("--create-demo /tmp/demo --code-page 1252"));
    EXPECT_TRUE(wrong.contains(QStringLiteral("936")) && wrong.contains(QStringLiteral("437")))
        << qPrintable(wrong);
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --code-page 950"))
                    .contains(QStringLiteral("--code-page goes with --create-demo")));
}

TEST(ShellOptionsTest, ASchemeRunsOneCommandOnItsCriteria)
{
    TShellOptions o = parse(QStringLiteral("ZORV52 --scheme DAILY --send --no-rows-ok"));
    EXPECT_EQ(o.RunMode, Mode::Send);
    EXPECT_EQ(o.Scheme, QStringLiteral("DAILY"));
    EXPECT_TRUE(o.NoRowsOk);
    o = parse(QStringLiteral("ZORV52 --scheme DAILY --preview"));
    EXPECT_EQ(o.RunMode, Mode::PrintOrPreview);
    EXPECT_TRUE(o.Preview);
    EXPECT_FALSE(o.NoRowsOk);
    EXPECT_EQ(parse(QStringLiteral("ZORV52 --print --scheme DAILY")).RunMode, Mode::PrintOrPreview);
    o = parse(QStringLiteral("ZORV52 --scheme DAILY --export-pdf /tmp/d.pdf"));
    EXPECT_EQ(o.RunMode, Mode::ExportPdf);
    EXPECT_EQ(o.Export, TExportTarget::File(TOutputKind::ReportPdf, QStringLiteral("/tmp/d.pdf")));
    // Pictures need no keys when a scheme names the slips.
    o = parse(QStringLiteral("ZORV52 --scheme DAILY --export-pictures GIF /tmp/p 200"));
    EXPECT_EQ(o.RunMode, Mode::ExportPictures);
    EXPECT_TRUE(o.Keys.isEmpty());
    EXPECT_EQ(o.Export, TExportTarget::Pages(TOutputKind::Gif, QStringLiteral("/tmp/p")));
    EXPECT_EQ(o.Resolution, 200);
    // A name of Chinese characters and blanks arrives whole (one argument).
    TShellOptions chinese;
    QString error;
    ASSERT_TRUE(ParseShellOptions({QStringLiteral("ZORV52"), QStringLiteral("--scheme"),
                                      QString::fromUtf8("今日 寄送"), QStringLiteral("--send")},
        chinese, error))
        << qPrintable(error);
    EXPECT_EQ(chinese.Scheme, QString::fromUtf8("今日 寄送"));
}

TEST(ShellOptionsTest, SchemeCombinationsThatMakeNoSingleRunAreRefused)
{
    EXPECT_TRUE(
        refusal(QStringLiteral("ZORV52 --scheme DAILY")).contains(QStringLiteral("--scheme goes with")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --scheme DAILY --print --send"))
                    .contains(QStringLiteral("runs one of")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --scheme DAILY --export-pdf a.pdf --export-pictures BMP p"))
                    .contains(QStringLiteral("runs one of")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --scheme DAILY --keys A,B,C --print"))
                    .contains(QStringLiteral("exclude")));
    EXPECT_TRUE(
        refusal(QStringLiteral("ZORV52 --send")).contains(QStringLiteral("--send goes with --scheme")));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --send --keys A,B,C"))
                    .contains(QStringLiteral("--send goes with --scheme")));
    EXPECT_TRUE(
        refusal(QStringLiteral("ZORV52 --scheme")).contains(QStringLiteral("--scheme needs a value")));
    EXPECT_TRUE(
        refusal(QStringLiteral("ZORV52 --scheme --send")).contains(QStringLiteral("--scheme needs a value")));
    EXPECT_TRUE(
        refusal(QStringLiteral("ZORV52 --no-rows-ok")).contains(QStringLiteral("goes with a command")));
    EXPECT_TRUE(refusal(QStringLiteral("--create-demo /tmp/d --scheme X"))
                    .contains(QStringLiteral("runs no program")));
    // Without a scheme, pictures still want keys.
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --export-pictures BMP p"))
                    .contains(QStringLiteral("--keys or --scheme")));
    TShellOptions blank;
    QString error;
    EXPECT_FALSE(ParseShellOptions({QStringLiteral("ZORV52"), QStringLiteral("--scheme"),
                                       QStringLiteral("  "), QStringLiteral("--send")},
        blank, error));
    EXPECT_TRUE(error.contains(QStringLiteral("name of a saved condition scheme"))) << qPrintable(error);
}

TEST(ShellOptionsTest, TheParsersSpellingsAreReadAndItsRefusalsSaidInTheShellsWords)
{
    // A value may be joined to its option with "="; a switch takes none.
    EXPECT_EQ(parse(QStringLiteral("ZORV52 --user=CHEN --print")).User, QStringLiteral("CHEN"));
    EXPECT_EQ(
        refusal(QStringLiteral("ZORV52 --verbose=1 --print")), QStringLiteral("--verbose takes no value"));
    EXPECT_TRUE(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures=BMP p"))
                    .contains(QStringLiteral("KIND PREFIX [RESOLUTION] as arguments of their own")));
    // After "--" nothing is an option.
    EXPECT_EQ(
        refusal(QStringLiteral("ZORV52 -- --print")), QStringLiteral("unexpected argument \"--print\""));
    // One dash names one whole option: -v is --verbose, -hv no pair of switches.
    EXPECT_TRUE(parse(QStringLiteral("ZORV52 -v --print")).Verbose);
    EXPECT_EQ(refusal(QStringLiteral("ZORV52 -hv")), QStringLiteral("unknown option -hv"));
    EXPECT_EQ(refusal(QStringLiteral("ZORV52 --print -3")), QStringLiteral("unknown option -3"));
    // A missing value is said for the option, wherever the next argument is one.
    EXPECT_EQ(refusal(QStringLiteral("ZORV52 --home --user CHEN")), QStringLiteral("--home needs a value"));
    EXPECT_EQ(refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures BMP --print")),
        QStringLiteral("--export-pictures needs a value"));
    // Given twice, the last option counts, --export-pictures with all its values.
    const TShellOptions twice = parse(QStringLiteral(
        "ZORV52 --user A --user B --keys A,B,C --export-pictures BMP p 150 --export-pictures gif q"));
    EXPECT_EQ(twice.User, QStringLiteral("B"));
    EXPECT_EQ(twice.Export, TExportTarget::Pages(TOutputKind::Gif, QStringLiteral("q")));
    EXPECT_EQ(twice.Resolution, 0);
    // The whole report is no picture kind, by name or by number.
    for (const char* kind : {"4", "REPORTPDF"})
        EXPECT_TRUE(
            refusal(QStringLiteral("ZORV52 --keys A,B,C --export-pictures %1 p").arg(QLatin1String(kind)))
                .contains(QStringLiteral("is none of BMP, JPG, GIF, PDF (0 to 3)")))
            << kind;
    EXPECT_TRUE(
        ShellUsage().contains(QStringLiteral("KIND is BMP, JPG, GIF or PDF (or 0 to 3); RESOLUTION in\n")));
}

} // namespace
