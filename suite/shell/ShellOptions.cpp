#include "suite/shell/ShellOptions.h"

#include <QRegularExpression>

namespace {

bool pictureKind(const QString& text, int& kind)
{
    static const QStringList names {
        QStringLiteral("BMP"), QStringLiteral("JPG"), QStringLiteral("GIF"), QStringLiteral("PDF")};
    kind = static_cast<int>(names.indexOf(text.toUpper()));
    if (kind >= 0)
        return true;
    bool ok = false;
    kind = text.toInt(&ok);
    return ok && kind >= 0 && kind < names.size();
}

} // namespace

bool ParseShellOptions(const QStringList& args, TShellOptions& o, QString& error)
{
    using Mode = TShellOptions::Mode;
    bool print = false, preview = false, exportPictures = false, exportPdf = false, send = false, help = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& out) {
            if (i + 1 >= args.size() || args[i + 1].startsWith(QLatin1String("--"))) {
                error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            out = args[++i];
            return true;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help = true;
        } else if (a == QLatin1String("--home")) {
            if (!value(o.Home))
                return false;
        } else if (a == QLatin1String("--user")) {
            if (!value(o.User))
                return false;
        } else if (a == QLatin1String("--password-file")) {
            if (!value(o.PasswordFile))
                return false;
        } else if (a == QLatin1String("--password-stdin")) {
            o.PasswordStdin = true;
        } else if (a == QLatin1String("--company")) {
            if (!value(o.Company))
                return false;
        } else if (a == QLatin1String("--database")) {
            if (!value(o.Database))
                return false;
        } else if (a == QLatin1String("--features")) {
            if (!value(o.Features))
                return false;
        } else if (a == QLatin1String("--exit-after-show")) {
            o.ExitAfterShow = true;
        } else if (a == QLatin1String("--screenshots")) {
            if (!value(o.ScreenshotPrefix))
                return false;
            o.ExitAfterShow = true;
        } else if (a == QLatin1String("--verbose") || a == QLatin1String("-v")) {
            o.Verbose = true;
        } else if (a == QLatin1String("--preview")) {
            preview = true;
        } else if (a == QLatin1String("--print")) {
            print = true;
        } else if (a == QLatin1String("--scheme")) {
            if (!value(o.Scheme))
                return false;
            if (o.Scheme.trimmed().isEmpty()) {
                error = QStringLiteral("--scheme wants the name of a saved condition scheme");
                return false;
            }
        } else if (a == QLatin1String("--send")) {
            send = true;
        } else if (a == QLatin1String("--no-rows-ok")) {
            o.NoRowsOk = true;
        } else if (a == QLatin1String("--keys")) {
            QString keys;
            if (!value(keys))
                return false;
            o.Keys = keys.split(QLatin1Char(','));
            for (QString& key : o.Keys)
                key = key.trimmed();
            if (o.Keys.size() < 3 || o.Keys.size() > 4 || o.Keys[0].isEmpty() || o.Keys[1].isEmpty()) {
                error = QStringLiteral("--keys wants TYPE,NUMBER,VERSION[,TYPEKEY], got \"%1\"").arg(keys);
                return false;
            }
        } else if (a == QLatin1String("--export-pictures")) {
            QString kind;
            if (!value(kind) || !value(o.PicturePrefix))
                return false;
            if (!pictureKind(kind, o.PictureKind)) {
                error
                    = QStringLiteral("picture kind \"%1\" is none of BMP, JPG, GIF, PDF (0 to 3)").arg(kind);
                return false;
            }
            if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--"))) {
                bool ok = false;
                o.Resolution = args[i + 1].toInt(&ok);
                if (!ok || o.Resolution <= 0) {
                    error = QStringLiteral("resolution \"%1\" is no positive number").arg(args[i + 1]);
                    return false;
                }
                // An A4 page at 600 dots per inch is some 140 MB of picture;
                // at 5000 it would be gigabytes before anything is written.
                constexpr int maxResolution = 600;
                if (o.Resolution > maxResolution) {
                    error = QStringLiteral("resolution %1 is above %2 dots per inch, the largest a page is drawn at")
                                .arg(o.Resolution)
                                .arg(maxResolution);
                    return false;
                }
                ++i;
            }
            exportPictures = true;
        } else if (a == QLatin1String("--export-pdf")) {
            if (!value(o.PicturePrefix))
                return false;
            exportPdf = true;
        } else if (a == QLatin1String("--create-demo")) {
            if (!value(o.DemoDir))
                return false;
        } else if (a == QLatin1String("--code-page")) {
            if (!value(o.DemoCodePage))
                return false;
            if (o.DemoCodePage != QLatin1String("936") && o.DemoCodePage != QLatin1String("950")
                && o.DemoCodePage != QLatin1String("437")) {
                error = QStringLiteral(
                    "--code-page wants 936 (simplified), 950 (traditional Chinese) or 437 (English), got \"%1\"")
                            .arg(o.DemoCodePage);
                return false;
            }
        } else if (a == QLatin1String("--force")) {
            o.DemoForce = true;
        } else if (a == QLatin1String("--slips")) {
            QString slips;
            if (!value(slips))
                return false;
            bool ok = false;
            o.DemoSlips = slips.toInt(&ok);
            if (!ok || o.DemoSlips < 1) {
                error = QStringLiteral("--slips wants a positive number, got \"%1\"").arg(slips);
                return false;
            }
        } else if (a.startsWith(QLatin1Char('-'))) {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else if (o.Program.isEmpty()) {
            static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_]{1,32}$"));
            if (!name.match(a).hasMatch()) {
                error = QStringLiteral("\"%1\" is no program code (letters, digits, _)").arg(a);
                return false;
            }
            o.Program = a.toUpper();
        } else {
            error = QStringLiteral("unexpected argument \"%1\"").arg(a);
            return false;
        }
    }

    if (help) {
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
    if (!o.DemoDir.isEmpty()) {
        if (!o.Program.isEmpty() || print || preview || exportPictures || exportPdf || send || !o.Keys.isEmpty()
            || !o.Scheme.isEmpty()) {
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
    if (print && preview) {
        error = QStringLiteral("--print and --preview exclude each other");
        return false;
    }
    if (!o.Scheme.isEmpty()) {
        // A scheme stands for the criteria: it goes with one command on them.
        if (!o.Keys.isEmpty()) {
            error = QStringLiteral("--scheme and --keys exclude each other (the scheme holds the criteria)");
            return false;
        }
        const int commands = int(print || preview) + int(exportPictures) + int(exportPdf) + int(send);
        if (commands != 1) {
            error = commands == 0
                ? QStringLiteral("--scheme goes with --print, --preview, --export-pdf, --export-pictures or --send")
                : QStringLiteral("--scheme runs one of --print, --preview, --export-pdf, --export-pictures, --send");
            return false;
        }
    } else if (send) {
        error = QStringLiteral("--send goes with --scheme (the scheme's send way and criteria)");
        return false;
    }
    if (o.NoRowsOk && !print && !preview && !exportPictures && !exportPdf && !send) {
        error = QStringLiteral("--no-rows-ok goes with a command (--print, --preview, --export-..., --send)");
        return false;
    }
    if (send) {
        o.RunMode = Mode::Send;
    } else if (exportPdf) {
        if (print || preview || exportPictures) {
            error = QStringLiteral("--export-pdf goes without --print, --preview or --export-pictures");
            return false;
        }
        o.PictureKind = TShellOptions::VectorPdfKind;
        o.RunMode = Mode::ExportPdf;
    } else if (exportPictures) {
        if (print || preview || (o.Keys.isEmpty() && o.Scheme.isEmpty())) {
            error = QStringLiteral("--export-pictures goes with --keys or --scheme, without --print or --preview");
            return false;
        }
        o.RunMode = Mode::ExportPictures;
    } else if (!o.Keys.isEmpty()) {
        if (!print && !preview) {
            error = QStringLiteral("--keys goes with --print, --preview, --export-pictures or --export-pdf");
            return false;
        }
        o.RunMode = Mode::PrintKeys;
    } else if (print || preview) {
        o.RunMode = Mode::PrintOrPreview;
    }
    o.Preview = preview;
    return true;
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
        "                    KIND is BMP, JPG, GIF or PDF (or 0 to 3); RESOLUTION in\n"
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
        "  steward ZORV52 --home ~/demo --user CHEN --scheme DAILYMAIL --send --no-rows-ok\n");
}
