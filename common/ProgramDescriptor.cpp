#include "common/ProgramDescriptor.h"

#include "runtime/system/InstallLayout.h"
#include "runtime/system/Libraries.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

bool isIdentifier(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

bool isClassId(const QString& name)
{
    static const QRegularExpression re(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)*$"));
    return re.match(name).hasMatch();
}

// The program code is the first six characters of the module's name
// (lib<CODE>C.so): a longer one would not name its own module.
bool isProgramCode(const QString& code)
{
    static const QRegularExpression re(QStringLiteral("^[A-Z0-9]{1,6}$"));
    return re.match(code).hasMatch();
}

// "MOCTO|TO042|TO053" -> the slip table; empty error on success.
QString parseSlip(const QString& value, TSlipTable& slip)
{
    const QStringList parts = value.split(u'|');
    if (parts.size() < 2 || parts.size() > 3)
        return QStringLiteral("Slip takes table|print count column[|send count column]");
    for (const QString& part : parts)
        if (!isIdentifier(part.trimmed()))
            return QStringLiteral("\"%1\" is no table or column name").arg(part.trimmed());
    slip.Table = parts[0].trimmed().toUpper();
    slip.PrintCountColumn = parts[1].trimmed().toUpper();
    slip.SendCountColumn = parts.size() > 2 ? parts[2].trimmed().toUpper() : QString();
    return {};
}

// "ADMMG|MG001=CHEN|MG002=ZORV52" -> the demo row. Values keep their blanks:
// a CHAR column's padding may be what a test needs.
QString parseDemo(const QString& value, TDemoRow& row)
{
    const QStringList parts = value.split(u'|');
    if (parts.size() < 2)
        return QStringLiteral("Demo takes table|column=value...");
    row.Table = parts[0].trimmed().toUpper();
    if (!isIdentifier(row.Table))
        return QStringLiteral("\"%1\" is no table name").arg(parts[0].trimmed());
    for (int i = 1; i < parts.size(); ++i) {
        const int equals = parts[i].indexOf(u'=');
        const QString column = parts[i].left(equals).trimmed().toUpper();
        if (equals < 0 || !isIdentifier(column))
            return QStringLiteral("\"%1\" is no column=value").arg(parts[i]);
        for (const auto& given : row.Values)
            if (given.first == column)
                return QStringLiteral("column %1 is given twice").arg(column);
        row.Values.append({column, parts[i].mid(equals + 1)});
    }
    return {};
}

struct Registry {
    QList<TProgramDescriptor> programs;
};

// Function-local: a module's main block registers before the library's
// namespace-scope objects exist.
Registry& registry()
{
    static Registry r;
    return r;
}

void sortByCode(QList<TProgramDescriptor>& programs)
{
    std::sort(programs.begin(), programs.end(),
        [](const TProgramDescriptor& a, const TProgramDescriptor& b) { return a.Code < b.Code; });
}

} // namespace

std::optional<TProgramDescriptor> TProgramDescriptor::Parse(const QString& text, QString& error)
{
    TProgramDescriptor d;
    QStringList seen;
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString& why) {
            error = QStringLiteral("line %1: %2").arg(n + 1).arg(why);
            return std::nullopt;
        };
        const int equals = line.indexOf(u'=');
        if (equals < 0)
            return fail(QStringLiteral("no \"=\" in \"%1\"").arg(trimmed));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"Slip") {
            TSlipTable slip;
            if (const QString why = parseSlip(value, slip); !why.isEmpty())
                return fail(why);
            if (!d.CountColumns(slip.Table).isEmpty())
                return fail(QStringLiteral("table %1 is given twice").arg(slip.Table));
            d.SlipTables.append(slip);
            continue;
        }
        if (key == u"Demo") {
            TDemoRow row;
            if (const QString why = parseDemo(line.mid(equals + 1), row); !why.isEmpty())
                return fail(why);
            d.DemoRows.append(row);
            continue;
        }
        QString* field = key == u"Code" ? &d.Code
            : key == u"Title"           ? &d.Title
            : key == u"OptionsForm"     ? &d.OptionsFormClass
            : key == u"FormatForm"      ? &d.FormatFormClass
            : key == u"ServerClass"     ? &d.ServerClass
                                        : nullptr;
        if (!field)
            return fail(QStringLiteral("unknown key \"%1\"").arg(key));
        if (seen.contains(key))
            return fail(QStringLiteral("%1 is given twice").arg(key));
        seen << key;
        *field = value;
        if (key == u"Code" && !isProgramCode(value))
            return fail(QStringLiteral("Code \"%1\" is not 1 to 6 upper-case letters or digits").arg(value));
        if (key == u"Title" && value.isEmpty())
            return fail(QStringLiteral("Title is empty"));
        if ((key == u"OptionsForm" || key == u"FormatForm") && !isIdentifier(value))
            return fail(QStringLiteral("%1 \"%2\" is no class name").arg(key, value));
        if (key == u"ServerClass" && !isClassId(value))
            return fail(QStringLiteral("ServerClass \"%1\" is no class id").arg(value));
    }
    for (const char* required : {"Code", "Title", "OptionsForm", "FormatForm", "ServerClass"}) {
        if (!seen.contains(QLatin1String(required))) {
            error = QStringLiteral("%1 is missing").arg(QLatin1String(required));
            return std::nullopt;
        }
    }
    error.clear();
    return d;
}

std::optional<TProgramDescriptor> TProgramDescriptor::Load(const QString& fileName, QString& error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return std::nullopt;
    }
    auto program = Parse(QString::fromUtf8(file.readAll()), error);
    if (!program)
        error = fileName + QStringLiteral(": ") + error;
    return program;
}

QStringList TProgramDescriptor::CountColumns(const QString& table) const
{
    for (const TSlipTable& slip : SlipTables) {
        if (slip.Table.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        QStringList columns {slip.PrintCountColumn};
        if (!slip.SendCountColumn.isEmpty())
            columns << slip.SendCountColumn;
        return columns;
    }
    return {};
}

void RegisterProgram(const TProgramDescriptor& program)
{
    QList<TProgramDescriptor>& programs = registry().programs;
    programs.removeIf([&](const TProgramDescriptor& p) { return p.Code == program.Code; });
    programs.append(program);
    sortByCode(programs);
}

bool RegisterProgramText(const char* text)
{
    QString error;
    const auto program = TProgramDescriptor::Parse(QString::fromUtf8(text), error);
    if (program)
        RegisterProgram(*program);
    return program.has_value();
}

QStringList ProgramDescriptorFolders()
{
    QStringList moduleFolders = ProgramModuleFolders() + TLibrary::SearchFolders();
    // A test or benchmark of the build folder runs from a folder of its own
    // below it (build/tests/<folder>), where neither list reaches build/lib:
    // the build folder is the nearest one above that CMake configured.
    QDir up(ExecutableFolder());
    for (int level = 0; level < 4 && !up.path().isEmpty() && up.cdUp(); ++level) {
        if (up.exists(QStringLiteral("CMakeCache.txt"))) {
            moduleFolders << up.filePath(QStringLiteral("lib"));
            break;
        }
    }
    // The server package keeps its own copy under the shared data folder, so
    // that a machine with the daemon alone (no client package, no modules)
    // knows the programs it serves and their count columns.
    const QString shared = SharedDataFolder();
    if (!shared.isEmpty())
        moduleFolders << shared;
    QStringList folders;
    for (const QString& folder : std::as_const(moduleFolders)) {
        const QString programs = QDir::cleanPath(folder + QStringLiteral("/programs"));
        if (!folders.contains(programs))
            folders << programs;
    }
    return folders;
}

QList<TProgramDescriptor> KnownPrograms()
{
    QList<TProgramDescriptor> known = registry().programs;
    QList<TProgramDescriptor> installed;
    const auto isKnown = [&](const QString& code) {
        return std::any_of(known.begin(), known.end(), [&](const auto& p) { return p.Code == code; })
            || std::any_of(installed.begin(), installed.end(), [&](const auto& p) { return p.Code == code; });
    };
    for (const QString& folder : ProgramDescriptorFolders()) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            QString error;
            const auto program = TProgramDescriptor::Load(dir.filePath(name), error);
            if (program && !isKnown(program->Code))
                installed << *program;
        }
    }
    sortByCode(installed);
    return known + installed;
}

std::optional<TProgramDescriptor> FindProgram(const QString& code)
{
    for (const TProgramDescriptor& program : KnownPrograms())
        if (program.Code.compare(code.trimmed(), Qt::CaseInsensitive) == 0)
            return program;
    return std::nullopt;
}
