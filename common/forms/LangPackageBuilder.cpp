#include "common/forms/LangPackageBuilder.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/TabSeparated.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace {

QString unescape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\\' || i + 1 >= text.size()) {
            out += text.at(i);
            continue;
        }
        switch (text.at(++i).unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        default:
            out += text.at(i);
            break;
        }
    }
    return out;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace

// --- dictionary ---------------------------------------------------------------------

TLangDictionary TLangDictionary::Parse(const QString& text)
{
    TLangDictionary dictionary;
    for (const auto& [number, fields] : TabSeparatedDataLines(text)) {
        const auto fail = [number = number](const QString& reason) {
            throw EConvertError(QStringLiteral("line %1: %2").arg(number).arg(reason));
        };
        if (fields.size() != 2)
            fail(QStringLiteral("wants source<TAB>translation"));
        const QString translation = unescape(fields[1]);
        if (translation.trimmed().isEmpty())
            fail(QStringLiteral("empty translation"));
        QHash<QString, QString>& table
            = fields[0].startsWith(u'@') ? dictionary.byAddress_ : dictionary.bySource_;
        const QString key = fields[0].startsWith(u'@') ? fields[0].mid(1) : unescape(fields[0]);
        if (table.contains(key))
            fail(QStringLiteral("\"%1\" is given twice").arg(fields[0]));
        table.insert(key, translation);
    }
    return dictionary;
}

QString TLangDictionary::Translate(const TLangEntry& entry) const
{
    const auto address = byAddress_.constFind(entry.Address());
    if (address != byAddress_.cend())
        return *address;
    return bySource_.value(entry.Source);
}

QString TLangDictionary::Escape(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

// --- account of strays ----------------------------------------------------------------

TLangStrayAccount TLangStrayAccount::Parse(const QString& text)
{
    TLangStrayAccount account;
    for (const auto& [number, fields] : TabSeparatedDataLines(text)) {
        if (fields.size() != 3 || fields[2].trimmed().isEmpty())
            throw EConvertError(QStringLiteral("line %1: wants file<TAB>text<TAB>reason").arg(number));
        account.lines_.append({fields[0], unescape(fields[1]), number});
    }
    return account;
}

bool TLangStrayAccount::Covers(const TLangStray& stray) const
{
    const QString file = stray.Origin.section(u':', 0, 0);
    for (const Line& line : lines_)
        if (line.File == file && line.Text == stray.Text)
            return true;
    return false;
}

QStringList TLangStrayAccount::Unused(const QList<TLangStray>& strays) const
{
    QStringList unused;
    for (const Line& line : lines_) {
        const bool seen = std::any_of(strays.cbegin(), strays.cend(), [&line](const TLangStray& stray) {
            return stray.Origin.section(u':', 0, 0) == line.File && stray.Text == line.Text;
        });
        if (!seen)
            unused << QStringLiteral("line %1: %2 \"%3\"").arg(line.Number).arg(line.File, line.Text);
    }
    return unused;
}

// --- the module's texts -------------------------------------------------------------

QStringList ModuleTextFolders()
{
    return {QStringLiteral("frame"), QStringLiteral("common"), QStringLiteral("controls"),
        QStringLiteral("criteria"), QStringLiteral("options"), QStringLiteral("format"),
        QStringLiteral("pdf"), QStringLiteral("zorv52"), QStringLiteral("update"),
        QStringLiteral("runtime/designer")};
}

QList<TMessageHelper> ModuleMessageHelpers()
{
    // The code in front of a default: helper("name", "default") and the like.
    const auto call
        = [](const QString& helper) { return QStringLiteral(R"re(\b%1\(\s*"(\w*)"\s*,\s*$)re").arg(helper); };
    QList<TMessageHelper> helpers {
        {QStringLiteral("criteria/BaseGeneParams.cpp"), call(QStringLiteral("name")),
            QStringLiteral("TfrmBaseGene"), {}, {}},
        {QStringLiteral("criteria/BaseGeneSchemes.cpp"), call(QStringLiteral("refuse")),
            QStringLiteral("TfrmBaseGene"), {}, {}},
        {QStringLiteral("criteria/BaseGene.cpp"), QStringLiteral(R"re(\bstd::pair\s*\{\s*"(\w*)"\s*,\s*$)re"),
            QStringLiteral("TfrmBaseGene"), {}, {}},
        {QStringLiteral("criteria/GeneCondition.cpp"), call(QStringLiteral("refuse")),
            QStringLiteral("TfrmGeneCondition"), {}, {}},
        {QStringLiteral("options/VRBaseOptRun.cpp"), call(QStringLiteral("Text")),
            QStringLiteral("TfrmVRBaseOpt"), {}, {}},
        {QStringLiteral("options/VRBaseOptF.cpp"), call(QStringLiteral("Text")),
            QStringLiteral("TfrmVRBaseOpt"), {}, {}},
        {QStringLiteral("options/VRBaseOptSend.cpp"), call(QStringLiteral("Text")),
            QStringLiteral("TfrmVRBaseOpt"), {}, {}},
        {QStringLiteral("options/TypedAddress.cpp"), call(QStringLiteral("(?:refusal|named)")),
            QStringLiteral("TfrmVRBaseOpt"), {}, {}},
        {QStringLiteral("format/VRBaseFmtDesign.cpp"), call(QStringLiteral("text")),
            QStringLiteral("TfrmVRBaseFmt"), {}, {}},
        {QStringLiteral("format/VRFormatF.cpp"),
            QStringLiteral(R"re(\btext\(\s*QStringLiteral\(\s*"(\w*)"\s*\)\s*,\s*QStringLiteral\(\s*$)re"),
            QStringLiteral("TfrmVRFormat"), {}, {}},
        {QStringLiteral("format/VRBaseFmtPrint.cpp"),
            QStringLiteral(R"re(\btext\(\s*\*this\s*,\s*"(\w*)"\s*,\s*$)re"), QStringLiteral("TfrmVRBaseFmt"),
            {}, {}},
        {QStringLiteral("format/VRPreviewF.cpp"),
            QStringLiteral(R"re(\bsendText\(\s*format_\s*,\s*"(\w*)"\s*,\s*$)re"),
            QStringLiteral("TfrmVRPreview"), {}, {}},
        {QStringLiteral("format/FormatStoreMessages.cpp"),
            QStringLiteral(R"re(\{\s*TStoreMessage::\w+\s*,\s*"(\w*)"\s*,\s*$)re"),
            QStringLiteral("TfrmVRBaseFmt"), {}, {}},
        // The send summary's defaults are members; VRBaseFmtSend.cpp names them.
        {QStringLiteral("format/SendSummary.h"),
            QStringLiteral(R"re(\bQString\s+(\w+)\s*=\s*QStringLiteral\(\s*$)re"),
            QStringLiteral("TfrmVRBaseFmt"), QStringLiteral("format/VRBaseFmtSend.cpp"),
            QStringLiteral(R"re(\btext\(\s*"(\w+)"\s*,\s*defaults\.%1\s*\))re")},
    };
    // The designer's own words (runtime/designer/DesignerTexts.h).
    for (const char* file : {"DesignDialogs.cpp", "DesignToolWindow.cpp", "DesignWindow.cpp",
             "DreamDesigner.cpp", "ObjectProperties.cpp"})
        helpers.append({QStringLiteral("runtime/designer/") + QLatin1String(file),
            call(QStringLiteral("DesignerText")), QStringLiteral("TDesigner"), {}, {}});
    return helpers;
}

namespace {

// Where a control sets a text of its own: the literals inside each match of
// Pattern are the lines (Attribute with %1 for the line) or the one text; a
// "%c" in Attribute stands for the match's first capture (a component name).
struct ControlSetter {
    const char* Attribute;
    const char* Pattern;
};

TControlTexts controlTexts(const QString& file, const QString& text, const QString& className,
    const QString& package, std::initializer_list<ControlSetter> setters)
{
    TControlTexts control {file, className, {}, package};
    QString code;
    const QList<TSourceLiteral> literals = SourceLiterals(text, &code);
    for (const ControlSetter& setter : setters) {
        QRegularExpressionMatchIterator matches
            = QRegularExpression(QString::fromLatin1(setter.Pattern)).globalMatch(code);
        // A setter that moved or went away must be noticed, not skipped.
        if (!matches.hasNext())
            throw EConvertError(
                QStringLiteral("%1: no %2 any more").arg(file, QString::fromLatin1(setter.Pattern)));
        while (matches.hasNext()) {
            const QRegularExpressionMatch m = matches.next();
            QString attribute = QString::fromLatin1(setter.Attribute);
            attribute.replace(QStringLiteral("%c"), m.captured(1));
            int line = 0;
            for (const TSourceLiteral& literal : literals) {
                if (literal.Start < m.capturedStart() || literal.Start >= m.capturedEnd()
                    || !HasHanText(literal.Text))
                    continue;
                control.Attributes.append(
                    {attribute.contains(QStringLiteral("%1")) ? attribute.arg(line) : attribute,
                        literal.Text});
                ++line;
            }
        }
    }
    return control;
}

} // namespace

static void addCodedMessages(
    TLangCatalogue& catalogue, const std::function<QString(const QString&)>& readFile)
{
    // The manager's own catalogue ("E;000003|simplified|traditional") and the
    // demo database's table of messages ("E|000003|text"); both in Chinese.
    for (const auto& [file, separator] :
        {std::pair {CodedMessageFiles()[0], u';'}, {CodedMessageFiles()[1], u'|'}}) {
        int number = 0;
        for (QString line : readFile(file).split(u'\n')) {
            ++number;
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u'|');
            const QString code = separator == u';' ? fields[0] : fields[0] + u';' + fields.value(1);
            const QString text = fields.value(separator == u';' ? 1 : 2);
            const QString name = code.section(u';', 0, 0).trimmed() + code.section(u';', 1, 1).trimmed();
            if (HasHanText(text))
                catalogue.Add({QStringLiteral("TCodedMessages"), name, QStringLiteral("Msg"), text,
                    file + u':' + QString::number(number)});
        }
    }
}

QStringList CodedMessageFiles()
{
    return {QStringLiteral("data/catalogue/messages"), QStringLiteral("data/demo/messages.txt")};
}

QList<TControlTexts> ModuleControlTexts(const std::function<QString(const QString&)>& readFile)
{
    const QString panel = QStringLiteral("criteria/SelectPnl.cpp");
    const QString design = QStringLiteral("format/FormatDesign.cpp");
    return {controlTexts(panel, readFile(panel), QStringLiteral("TSelectPanel"), {},
                {{"BeginWords_%1", R"re(beginWords_->SetLines\(\{[^}]*\}\))re"},
                    {"FinalWords_%1", R"re(finalWords_->SetLines\(\{[^}]*\}\))re"},
                    {"ChildHints_%1", R"re(childHints_->SetLines\(\{[^}]*\}\))re"},
                    {"cbUserChoice/Caption", R"re(cbUserChoice->SetCaption\([^;]*;)re"}}),
        // The designer's pop-up menu, made in code on every format form.
        controlTexts(design, readFile(design), {}, QStringLiteral("TfrmVRBaseFmt"),
            {{"%c/Caption", R"re(\bitem\(\s*QStringLiteral\("(\w+)"\)\s*,\s*QStringLiteral\("[^"]*"\))re"}})};
}

TLangCatalogue CollectModuleTexts(const QString& sourceRoot)
{
    const QDir root(sourceRoot);
    TLangCatalogue catalogue;
    const auto readRelative = [&root](const QString& relative) {
        QFile file(root.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QList<TControlTexts> controls = ModuleControlTexts(readRelative);
    catalogue.SetControlTexts(controls);
    // Texts made in code for a package rather than for a class of control.
    for (const TControlTexts& control : controls)
        if (!control.Package.isEmpty())
            for (const auto& [attribute, text] : control.Attributes)
                catalogue.Add({control.Package, attribute.section(u'/', 0, 0), attribute.section(u'/', 1),
                    text, control.File});
    const TLangSourceScan scan(ModuleMessageHelpers(), controls);
    QStringList forms;
    QStringList sources;
    for (const QString& folder : ModuleTextFolders()) {
        QDirIterator it(root.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString relative = root.relativeFilePath(it.next());
            if (relative.contains(QStringLiteral("/tool/")))
                continue;
            if (relative.endsWith(QStringLiteral(".dfm")))
                forms << relative;
            else if (relative.endsWith(QStringLiteral(".cpp")) || relative.endsWith(QStringLiteral(".h")))
                sources << relative;
        }
    }
    // A fixed order, whatever the file system's: the same sources give the same packages.
    forms.sort();
    sources.sort();
    for (const QString& form : std::as_const(forms))
        catalogue.AddFormDescription(readText(root.filePath(form)), form);
    for (const QString& source : std::as_const(sources))
        scan.Scan(catalogue, readText(root.filePath(source)), source, readRelative);
    addCodedMessages(catalogue, readRelative);
    return catalogue;
}

// --- documents ------------------------------------------------------------------------

QByteArray PackageDocument(const QString& package, const QList<TLangEntry>& entries,
    const std::function<QString(const TLangEntry&)>& text)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(package);
    // The form's own values are the root's attributes; they come first.
    for (const TLangEntry& entry : entries)
        if (entry.Element == package)
            xml.writeAttribute(entry.Attribute, text(entry));
    QStringList elements;
    for (const TLangEntry& entry : entries)
        if (entry.Element != package && !elements.contains(entry.Element))
            elements << entry.Element;
    for (const QString& element : std::as_const(elements)) {
        xml.writeEmptyElement(element);
        for (const TLangEntry& entry : entries)
            if (entry.Element == element)
                xml.writeAttribute(entry.Attribute, text(entry));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

TLangBuild BuildPackages(const TLangCatalogue& catalogue, const TLangDictionary& english,
    const TLangStrayAccount& strays, const std::function<QString(const QString&)>& toTraditional)
{
    TLangBuild build;
    // One name with two defaults: a package holds one text for both, so a
    // translator must have chosen it for that place.
    for (const QString& conflict : catalogue.Conflicts())
        if (!english.HasAddress(conflict.section(u':', 0, 0)))
            build.Problems << QStringLiteral("%1 (give it an English text of its own)").arg(conflict);
    for (const TLangStray& stray : catalogue.Strays())
        if (!strays.Covers(stray))
            build.Problems << QStringLiteral("%1: \"%2\" is no message look-up and not accounted for")
                                  .arg(stray.Origin, stray.Text);
    // A form text may be left in Chinese on purpose too (the words of amounts
    // in Chinese capitals); it then belongs in no package.
    QList<TLangStray> seen = catalogue.Strays();
    QList<TLangEntry> kept;
    for (const TLangEntry& entry : catalogue.Entries()) {
        const TLangStray asStray {entry.Origin, entry.Source};
        seen << asStray;
        if (!strays.Covers(asStray))
            kept << entry;
    }
    for (const QString& unused : strays.Unused(seen))
        build.Problems
            << QStringLiteral("account of untranslated texts, %1: no such text any more").arg(unused);

    TLangCatalogue translated;
    for (const TLangEntry& entry : std::as_const(kept))
        translated.Add(entry);
    for (const QString& package : translated.Packages()) {
        const QList<TLangEntry> entries = translated.EntriesOf(package);
        const QString file = package + QStringLiteral(".Lng");
        build.Files[QStringLiteral("CHS")][file]
            = PackageDocument(package, entries, [](const TLangEntry& e) { return e.Source; });
        build.Files[QStringLiteral("CHT")][file]
            = PackageDocument(package, entries, [&](const TLangEntry& e) { return toTraditional(e.Source); });
        build.Files[QStringLiteral("ENG")][file]
            = PackageDocument(
                package, entries, [&](const TLangEntry& e) {
                    QString text = english.Translate(e);
                    if (text.isEmpty()) {
                        build.Problems << QStringLiteral("%1 (%2): no English for \"%3\"")
                                              .arg(e.Address(), e.Origin, e.Source);
                        return e.Source; // the package stays whole; the build says what is missing
                    }
                    if (HasCjkText(text))
                        build.Problems
                            << QStringLiteral("%1: the English \"%2\" holds Chinese").arg(e.Address(), text);
                    return text;
                });
    }
    return build;
}
