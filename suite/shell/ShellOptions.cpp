#include "suite/shell/ShellOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

// What the command line asks for besides the stored options; the run mode
// is chosen from these once every option has been read.
struct TCommands {
    bool Help = false, Print = false, Preview = false, Send = false;
    bool ExportPictures = false, ExportPdf = false;
    std::optional<TExportTarget> Pictures, Pdf;
    // --export-pictures KIND PREFIX [RESOLUTION], as taken from the arguments.
    QString KindText, Prefix, ResolutionText;
};

using TApply = bool (*)(const QString& value, TShellOptions& o, TCommands& c, QString& error);

// One option of the command line: its names, whether it takes a value, and
// what it does: stores its text or sets a switch of the options, sets a
// command, or runs Apply, which may refuse the value with the reason.
struct TOptionRule {
    const char* Name;
    const char* ShortName = nullptr;
    bool TakesValue = false;
    QString TShellOptions::*Text = nullptr;
    bool TShellOptions::*Switch = nullptr;
    bool TCommands::*Command = nullptr;
    TApply Apply = nullptr;
};

bool pictureArguments(const QString&, TShellOptions& o, TCommands& c, QString& error);

bool schemeName(const QString& value, TShellOptions& o, TCommands&, QString& error)
{
    o.Scheme = value;
    if (!value.trimmed().isEmpty())
        return true;
    error = QStringLiteral("--scheme wants the name of a saved condition scheme");
    return false;
}

bool slipKeys(const QString& value, TShellOptions& o, TCommands&, QString& error)
{
    o.Keys = value.split(QLatin1Char(','));
    for (QString& key : o.Keys)
        key = key.trimmed();
    if (o.Keys.size() >= 3 && o.Keys.size() <= 4 && !o.Keys[0].isEmpty() && !o.Keys[1].isEmpty())
        return true;
    error = QStringLiteral("--keys wants TYPE,NUMBER,VERSION[,TYPEKEY], got \"%1\"").arg(value);
    return false;
}

bool screenshots(const QString& value, TShellOptions& o, TCommands&, QString&)
{
    o.ScreenshotPrefix = value;
    o.ExitAfterShow = true;
    return true;
}

bool reportPdf(const QString& value, TShellOptions&, TCommands& c, QString&)
{
    c.Pdf = TExportTarget::File(TOutputKind::ReportPdf, value);
    c.ExportPdf = true;
    return true;
}

bool codePage(const QString& value, TShellOptions& o, TCommands&, QString& error)
{
    o.DemoCodePage = value;
    if (value == QLatin1String("936") || value == QLatin1String("950") || value == QLatin1String("437"))
        return true;
    error = QStringLiteral(
        "--code-page wants 936 (simplified), 950 (traditional Chinese) or 437 (English), got \"%1\"")
                .arg(value);
    return false;
}

bool slipCount(const QString& value, TShellOptions& o, TCommands&, QString& error)
{
    bool ok = false;
    o.DemoSlips = value.toInt(&ok);
    if (ok && o.DemoSlips >= 1)
        return true;
    error = QStringLiteral("--slips wants a positive number, got \"%1\"").arg(value);
    return false;
}

// Every option there is. They are applied in this order, so the first one
// that refuses its value names the error.
const TOptionRule optionRules[] = {
    {.Name = "help", .ShortName = "h", .Command = &TCommands::Help},
    {.Name = "home", .TakesValue = true, .Text = &TShellOptions::Home},
    {.Name = "user", .TakesValue = true, .Text = &TShellOptions::User},
    {.Name = "password-file", .TakesValue = true, .Text = &TShellOptions::PasswordFile},
    {.Name = "password-stdin", .Switch = &TShellOptions::PasswordStdin},
    {.Name = "company", .TakesValue = true, .Text = &TShellOptions::Company},
    {.Name = "database", .TakesValue = true, .Text = &TShellOptions::Database},
    {.Name = "features", .TakesValue = true, .Text = &TShellOptions::Features},
    {.Name = "exit-after-show", .Switch = &TShellOptions::ExitAfterShow},
    {.Name = "screenshots", .TakesValue = true, .Apply = screenshots},
    {.Name = "verbose", .ShortName = "v", .Switch = &TShellOptions::Verbose},
    {.Name = "preview", .Command = &TCommands::Preview},
    {.Name = "print", .Command = &TCommands::Print},
    {.Name = "scheme", .TakesValue = true, .Apply = schemeName},
    {.Name = "send", .Command = &TCommands::Send},
    {.Name = "no-rows-ok", .Switch = &TShellOptions::NoRowsOk},
    {.Name = "keys", .TakesValue = true, .Apply = slipKeys},
    // A switch to the parser: its values are taken out before it runs
    // (takePictureValues).
    {.Name = "export-pictures", .Apply = pictureArguments},
    {.Name = "export-pdf", .TakesValue = true, .Apply = reportPdf},
    {.Name = "create-demo", .TakesValue = true, .Text = &TShellOptions::DemoDir},
    {.Name = "code-page", .TakesValue = true, .Apply = codePage},
    {.Name = "force", .Switch = &TShellOptions::DemoForce},
    {.Name = "slips", .TakesValue = true, .Apply = slipCount},
};

const TOptionRule* ruleNamed(QStringView name)
{
    for (const TOptionRule& rule : optionRules) {
        if (name == QLatin1String(rule.Name) || (rule.ShortName && name == QLatin1String(rule.ShortName)))
            return &rule;
    }
    return nullptr;
}

// The name of the option an argument spells ("--user", "-v", "--verbose=1"
// are user, v, verbose), or nothing for an argument that is no option.
std::optional<QStringView> optionName(QStringView argument)
{
    if (argument.size() < 2 || !argument.startsWith(u'-'))
        return std::nullopt;
    QStringView name = argument.mid(argument.startsWith(u"--") ? 2 : 1);
    const qsizetype equals = name.indexOf(u'=');
    return equals < 0 ? name : name.left(equals);
}

// The arguments up to "--", after which everything is a plain argument.
QStringList optionPart(const QStringList& args)
{
    const qsizetype end = args.indexOf(QStringLiteral("--"));
    return end < 0 ? args : args.mid(0, end);
}

// The parser gives an option one value, but --export-pictures takes two or
// three (KIND PREFIX [RESOLUTION]): they are taken out of the arguments here
// and the option itself goes on as a switch. A value is any argument that
// does not start with "--"; the resolution is the third one when there is
// one. Given twice, the last one counts.
bool takePictureValues(QStringList& args, TCommands& c, QString& error)
{
    const auto isValue
        = [&args](qsizetype i) { return i < args.size() && !args[i].startsWith(QLatin1String("--")); };
    for (qsizetype i = 0; i < args.size() && args[i] != QLatin1String("--"); ++i) {
        const std::optional<QStringView> name = optionName(args[i]);
        if (!name || *name != QLatin1String("export-pictures") || args[i].contains(u'='))
            continue;
        if (!isValue(i + 1) || !isValue(i + 2)) {
            error = QStringLiteral("--export-pictures needs a value");
            return false;
        }
        c.KindText = args[i + 1];
        c.Prefix = args[i + 2];
        const bool resolution = isValue(i + 3);
        c.ResolutionText = resolution ? args[i + 3] : QString();
        args.remove(i + 1, resolution ? 3 : 2);
    }
    return true;
}

bool pictureArguments(const QString&, TShellOptions& o, TCommands& c, QString& error)
{
    c.ExportPictures = true;
    const std::optional<TOutputKind> kind = PageKindFromText(c.KindText);
    if (!kind) {
        error = QStringLiteral("picture kind \"%1\" is none of %2 (%3)")
                    .arg(c.KindText, PageKindNames().join(QStringLiteral(", ")), PageKindNumbers());
        return false;
    }
    c.Pictures = TExportTarget::Pages(*kind, c.Prefix);
    if (c.ResolutionText.isNull())
        return true;
    bool ok = false;
    o.Resolution = c.ResolutionText.toInt(&ok);
    if (!ok || o.Resolution <= 0) {
        error = QStringLiteral("resolution \"%1\" is no positive number").arg(c.ResolutionText);
        return false;
    }
    // An A4 page at 600 dots per inch is some 140 MB of picture; at 5000 it
    // would be gigabytes before anything is written.
    constexpr int maxResolution = 600;
    if (o.Resolution > maxResolution) {
        error = QStringLiteral("resolution %1 is above %2 dots per inch, the largest a page is drawn at")
                    .arg(o.Resolution)
                    .arg(maxResolution);
        return false;
    }
    return true;
}

// Why the parser refused the arguments, in the shell's words.
QString parseFailure(const QCommandLineParser& parser, const QStringList& args)
{
    const QStringList options = optionPart(args);
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        // Named as the user typed it.
        for (const QString& argument : options) {
            const std::optional<QStringView> name = optionName(argument);
            if (name && *name == unknown.first())
                return QStringLiteral("unknown option %1").arg(argument.section(u'=', 0, 0));
        }
        return QStringLiteral("unknown option --%1").arg(unknown.first());
    }
    // The parser takes any next argument as the value, so only the last one
    // can lack it.
    if (!options.isEmpty() && options.size() == args.size()) {
        const std::optional<QStringView> name = optionName(options.last());
        const TOptionRule* rule = name ? ruleNamed(*name) : nullptr;
        if (rule && rule->TakesValue && !options.last().contains(u'='))
            return QStringLiteral("--%1 needs a value").arg(QLatin1String(rule->Name));
    }
    for (const QString& argument : options) {
        const std::optional<QStringView> name = optionName(argument);
        const TOptionRule* rule = name ? ruleNamed(*name) : nullptr;
        if (rule && !rule->TakesValue && argument.contains(u'=')) {
            return QLatin1String(rule->Name) == QLatin1String("export-pictures")
                ? QStringLiteral("--export-pictures takes KIND PREFIX [RESOLUTION] as arguments of their own")
                : QStringLiteral("--%1 takes no value").arg(QLatin1String(rule->Name));
        }
    }
    return parser.errorText();
}

// Every option that was given, in the table's order, applied to o and c.
bool applyOptions(const QCommandLineParser& parser, TShellOptions& o, TCommands& c, QString& error)
{
    for (const TOptionRule& rule : optionRules) {
        const QString name = QLatin1String(rule.Name);
        if (!parser.isSet(name))
            continue;
        QString value;
        if (rule.TakesValue) {
            value = parser.values(name).constLast();
            // The next argument is taken whatever it is; one that is an
            // option means the value was left out.
            if (value.startsWith(QLatin1String("--"))) {
                error = QStringLiteral("--%1 needs a value").arg(name);
                return false;
            }
        }
        if (rule.Text)
            o.*rule.Text = value;
        else if (rule.Switch)
            o.*rule.Switch = true;
        else if (rule.Command)
            c.*rule.Command = true;
        else if (!rule.Apply(value, o, c, error))
            return false;
    }
    return true;
}

bool applyProgram(const QStringList& positional, TShellOptions& o, QString& error)
{
    if (positional.isEmpty())
        return true;
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_]{1,32}$"));
    if (!name.match(positional.first()).hasMatch()) {
        error = QStringLiteral("\"%1\" is no program code (letters, digits, _)").arg(positional.first());
        return false;
    }
    o.Program = positional.first().toUpper();
    if (positional.size() > 1) {
        error = QStringLiteral("unexpected argument \"%1\"").arg(positional[1]);
        return false;
    }
    return true;
}

// The run the options make together, or the reason they make none.
bool chooseMode(const TCommands& c, TShellOptions& o, QString& error)
{
    using Mode = TShellOptions::Mode;
    if (c.Help) {
        o.RunMode = Mode::Help;
        return true;
    }
    if (o.DemoForce && o.DemoDir.isEmpty()) {
        error = QStringLiteral("--force goes with --create-demo");
        return false;
    }
    if (!o.DemoCodePage.isEmpty() && o.DemoDir.isEmpty()) {
        error = QStringLiteral("--code-page goes with --create-demo");
        return false;
    }
    const bool anyCommand = c.Print || c.Preview || c.ExportPictures || c.ExportPdf || c.Send;
    if (!o.DemoDir.isEmpty()) {
        if (!o.Program.isEmpty() || anyCommand || !o.Keys.isEmpty() || !o.Scheme.isEmpty()) {
            error = QStringLiteral("--create-demo makes a demo home and runs no program");
            return false;
        }
        o.RunMode = Mode::CreateDemo;
        return true;
    }
    if (o.Program.isEmpty()) {
        error = QStringLiteral("which program? (e.g. steward ZORV52)");
        return false;
    }
    if (!o.PasswordFile.isEmpty() && o.PasswordStdin) {
        error = QStringLiteral("--password-file and --password-stdin exclude each other");
        return false;
    }
    if (c.Print && c.Preview) {
        error = QStringLiteral("--print and --preview exclude each other");
        return false;
    }
    if (!o.Scheme.isEmpty()) {
        // A scheme stands for the criteria: it goes with one command on them.
        if (!o.Keys.isEmpty()) {
            error = QStringLiteral("--scheme and --keys exclude each other (the scheme holds the criteria)");
            return false;
        }
        const int commands
            = int(c.Print || c.Preview) + int(c.ExportPictures) + int(c.ExportPdf) + int(c.Send);
        if (commands != 1) {
            error = commands == 0
                ? QStringLiteral(
                    "--scheme goes with --print, --preview, --export-pdf, --export-pictures or --send")
                : QStringLiteral(
                    "--scheme runs one of --print, --preview, --export-pdf, --export-pictures, --send");
            return false;
        }
    } else if (c.Send) {
        error = QStringLiteral("--send goes with --scheme (the scheme's send way and criteria)");
        return false;
    }
    if (o.NoRowsOk && !anyCommand) {
        error = QStringLiteral("--no-rows-ok goes with a command (--print, --preview, --export-..., --send)");
        return false;
    }
    if (c.Send) {
        o.RunMode = Mode::Send;
    } else if (c.ExportPdf) {
        if (c.Print || c.Preview || c.ExportPictures) {
            error = QStringLiteral("--export-pdf goes without --print, --preview or --export-pictures");
            return false;
        }
        o.Export = c.Pdf;
        o.RunMode = Mode::ExportPdf;
    } else if (c.ExportPictures) {
        if (c.Print || c.Preview || (o.Keys.isEmpty() && o.Scheme.isEmpty())) {
            error = QStringLiteral(
                "--export-pictures goes with --keys or --scheme, without --print or --preview");
            return false;
        }
        o.Export = c.Pictures;
        o.RunMode = Mode::ExportPictures;
    } else if (!o.Keys.isEmpty()) {
        if (!c.Print && !c.Preview) {
            error = QStringLiteral("--keys goes with --print, --preview, --export-pictures or --export-pdf");
            return false;
        }
        o.RunMode = Mode::PrintKeys;
    } else if (c.Print || c.Preview) {
        o.RunMode = Mode::PrintOrPreview;
    }
    o.Preview = c.Preview;
    return true;
}

// "BMP, JPG, GIF or PDF (or 0 to 3)": the page kinds as --help names them.
QString pageKindsInWords()
{
    QStringList names = PageKindNames();
    const QString last = names.isEmpty() ? QString() : names.takeLast();
    const QString listed
        = names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
    return listed + QStringLiteral(" (or ") + PageKindNumbers() + u')';
}

} // namespace

bool ParseShellOptions(const QStringList& arguments, TShellOptions& o, QString& error)
{
    TCommands c;
    QStringList args = arguments;
    if (!takePictureValues(args, c, error))
        return false;

    QCommandLineParser parser;
    // One dash or two name the same option ("-h", "--help"); "-hv" is an
    // option of its own (unknown), not two.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const TOptionRule& rule : optionRules) {
        QStringList names {QLatin1String(rule.Name)};
        if (rule.ShortName)
            names.prepend(QLatin1String(rule.ShortName));
        parser.addOption(rule.TakesValue ? QCommandLineOption(names, {}, QStringLiteral("value"))
                                         : QCommandLineOption(names));
    }
    // The parser skips the first argument, the program's own name.
    if (!parser.parse(QStringList {QStringLiteral("steward")} + args)) {
        error = parseFailure(parser, args);
        return false;
    }
    return applyOptions(parser, o, c, error) && applyProgram(parser.positionalArguments(), o, error)
        && chooseMode(c, o, error);
}

QString ShellUsage()
{
    return QStringLiteral(
        "usage: steward PROGRAM [options]\n"
        "       steward --create-demo DIR [--slips N] [--code-page 936|950|437] [--force]\n"
        "\n"
        "Loads the program module lib<PROGRAM>C.so (from the shell's lib folder, the\n"
        "client home's C_HVBIN folder or $STEWARD_LIBRARY_PATH), opens the program and\n"
        "shows its options window until the window is closed.\n"
        "\n"
        "Who and where:\n"
        "  --home DIR        client home folder; its registry file DIR/registry.reg\n"
        "                    is used for this run (else $STEWARD_REGISTRY)\n"
        "  --user CODE       user code (default DS); the shell asks for the user's\n"
        "                    password on the terminal, unless one of these gives it:\n"
        "  --password-file FILE\n"
        "                    the first line of FILE, a file only you may read (chmod 600)\n"
        "  --password-stdin  the first line of standard input\n"
        "                    (or the environment variable STEWARD_PASSWORD)\n"
        "  --company CODE    company code (default HV01)\n"
        "  --database NAME   database name (default DEMO)\n"
        "  --features LIST   enabled features, e.g. FEP for fax and e-mail\n"
        "  --verbose         report the shell's steps and the program's events on stderr\n"
        "  --exit-after-show close the window once it has painted; prints the time\n"
        "                    from the shell's start to the first paint\n"
        "  --screenshots PREFIX\n"
        "                    save each page of the window as PREFIX-<n>.png, then close\n"
        "\n"
        "Commands without the options window (the window stays hidden):\n"
        "  --preview | --print\n"
        "                    preview or print from the program's default criteria\n"
        "  --keys TYPE,NUMBER,VERSION[,TYPEKEY] --preview | --print\n"
        "                    preview or print the slip with these keys\n"
        "  --keys TYPE,NUMBER,VERSION[,TYPEKEY] --export-pictures KIND PREFIX [RESOLUTION]\n"
        "                    write the slip's pages as picture files PREFIX...;\n"
        "                    KIND is %1; RESOLUTION in\n"
        "                    dots per inch (at most 600), 96 when left out\n"
        "  [--keys TYPE,NUMBER,VERSION[,TYPEKEY]] --export-pdf FILE\n"
        "                    write the whole report of the keys (without --keys: of\n"
        "                    the program's default criteria) as one PDF FILE whose\n"
        "                    texts stay text\n"
        "  --scheme NAME --print | --preview | --export-pdf FILE |\n"
        "                --export-pictures KIND PREFIX [RESOLUTION] | --send\n"
        "                    run the command on the criteria, send way and format of\n"
        "                    the condition scheme NAME that the user (--user) saved\n"
        "                    in the window; --send mails or faxes the report to every\n"
        "                    recipient by the scheme's send way, as the preview's\n"
        "                    E-Mail and Fax buttons do, with the proposed subject.\n"
        "                    Dates whose rule moves them (预定运行日 in the scheme\n"
        "                    dialog) count from the day of the run. Schemes of\n"
        "                    other users are not found.\n"
        "  --no-rows-ok      criteria that find nothing (W;000006) are no failure:\n"
        "                    exit status 0, for scheduled runs\n"
        "\n"
        "Demo data:\n"
        "  --create-demo DIR make a demo client home in DIR (registry file, settings,\n"
        "                    SQLite database); --slips N sets the number of slips (300);\n"
        "                    a folder that holds a home already is refused unless\n"
        "                    --force is given, which replaces it; --code-page 950\n"
        "                    makes a traditional Chinese home (UICodePage=950 in\n"
        "                    StewardC.ini), 437 an English one, 936 a simplified\n"
        "                    one (the default). The installed language packages\n"
        "                    are copied into the home's MultiLanguage folder\n"
        "\n"
        "Exit status: 0 on success; 1 when the program failed to open or a command\n"
        "failed (the program's message is printed on stderr); 2 for a wrong command\n"
        "line; 3 when the module cannot be loaded or has no GetController.\n"
        "\n"
        "Example:\n"
        "  steward --create-demo ~/demo\n"
        "  steward ZORV52 --home ~/demo --user CHEN\n"
        "  steward ZORV52 --home ~/demo --keys A511,20241102003,0001 --export-pictures PDF /tmp/slip\n"
        "  steward ZORV52 --home ~/demo --export-pdf /tmp/slips.pdf\n"
        "  steward ZORV52 --home ~/demo --user CHEN --scheme DAILYMAIL --send --no-rows-ok\n")
        .arg(pageKindsInWords());
}
