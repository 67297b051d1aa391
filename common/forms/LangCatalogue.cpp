#include "common/forms/LangCatalogue.h"

#include "runtime/forms/FormText.h"

#include <QSet>

namespace {

bool isHan(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x2FA1F);
}

// Properties whose text names a thing (a font, a field) rather than saying
// something to the user: a Chinese font name is not translated.
bool namesSomething(const QString& path)
{
    const QString last = path.section(u'.', -1);
    static const QSet<QString> names {QStringLiteral("name"), QStringLiteral("datafield"),
        QStringLiteral("dataset"), QStringLiteral("fieldname"), QStringLiteral("focuscontrol")};
    return names.contains(last.toLower());
}

// The collections a package can address entry by entry ("Columns_1.Caption").
bool addressableCollection(const QString& path)
{
    return path.compare(u"Items", Qt::CaseInsensitive) == 0
        || path.compare(u"Columns", Qt::CaseInsensitive) == 0;
}

class FormWalker {
public:
    FormWalker(TLangCatalogue& catalogue, const QString& package, const QString& file)
        : catalogue_(catalogue)
        , package_(package)
        , file_(file)
    {
    }

    void Walk(const formtext::Object& object, bool root)
    {
        const QString element = root ? package_ : object.name;
        for (const formtext::Property& property : object.properties)
            addProperty(element, property);
        addControlTexts(element, object);
        for (const formtext::Object& child : object.children)
            Walk(child, false);
    }

private:
    QString origin(int line) const { return file_ + u':' + QString::number(line); }

    void add(const QString& element, const QString& attribute, const QString& text, int line)
    {
        catalogue_.Add({package_, element, attribute, text, origin(line)});
    }

    // The texts the control's class gives itself, where the description
    // leaves them alone (a list set in the description replaces all its lines).
    void addControlTexts(const QString& element, const formtext::Object& object)
    {
        for (const TControlTexts& control : catalogue_.ControlTexts()) {
            if (control.ClassName.compare(object.className, Qt::CaseInsensitive) != 0)
                continue;
            for (const auto& [attribute, text] : control.Attributes) {
                const bool child = attribute.contains(u'/');
                const QString list = attribute.section(u'_', 0, 0);
                const bool set = std::any_of(
                    object.properties.cbegin(), object.properties.cend(), [&](const formtext::Property& p) {
                        return p.name.compare(attribute, Qt::CaseInsensitive) == 0
                            || p.name.compare(list + QStringLiteral(".Strings"), Qt::CaseInsensitive) == 0;
                    });
                if (set)
                    continue;
                catalogue_.Add({package_, child ? attribute.section(u'/', 0, 0) : element,
                    child ? attribute.section(u'/', 1) : attribute, text, control.File});
            }
        }
    }

    void addProperty(const QString& element, const formtext::Property& property)
    {
        const formtext::Value& value = property.value;
        if (value.kind == formtext::Value::String) {
            if (HasHanText(value.text) && !namesSomething(property.name))
                add(element, property.name, value.text, property.line);
            return;
        }
        if (value.kind == formtext::Value::List) {
            // Items.Strings = (...) is addressed line by line as Items_i; a
            // list further down a path ("Title.Lines.Strings") is not.
            const bool lines = property.name.endsWith(QStringLiteral(".Strings"), Qt::CaseInsensitive);
            const QString list = property.name.left(property.name.size() - 8);
            for (size_t i = 0; i < value.items.size(); ++i) {
                const formtext::Value& item = value.items[i];
                if (item.kind != formtext::Value::String || !HasHanText(item.text))
                    continue;
                if (lines && !list.contains(u'.'))
                    add(element, list + u'_' + QString::number(i), item.text,
                        item.line ? item.line : property.line);
                else
                    catalogue_.AddStray({origin(property.line), item.text});
            }
            return;
        }
        if (value.kind == formtext::Value::Collection) {
            const bool addressable = addressableCollection(property.name);
            for (size_t i = 0; i < value.collection.size(); ++i) {
                for (const formtext::Property& field : value.collection[i]) {
                    if (field.value.kind != formtext::Value::String || !HasHanText(field.value.text)
                        || namesSomething(field.name))
                        continue;
                    if (addressable)
                        add(element, property.name + u'_' + QString::number(i) + u'.' + field.name,
                            field.value.text, field.line);
                    else
                        catalogue_.AddStray({origin(field.line), field.value.text});
                }
            }
        }
    }

    TLangCatalogue& catalogue_;
    QString package_;
    QString file_;
};

} // namespace

bool HasHanText(const QString& text)
{
    for (const char32_t c : text.toUcs4())
        if (isHan(c))
            return true;
    return false;
}

bool HasCjkText(const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        // CJK radicals to Yi (punctuation, kana, Han, ...), compatibility
        // ideographs and forms, half- and full-width forms, the Han planes.
        if ((c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
            || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3134F))
            return true;
    }
    return false;
}

void TLangCatalogue::Add(const TLangEntry& entry)
{
    const auto known = index_.constFind(entry.Address());
    if (known == index_.cend()) {
        index_.insert(entry.Address(), entries_.size());
        entries_ << entry;
        return;
    }
    const TLangEntry& first = entries_.at(*known);
    if (first.Source != entry.Source)
        conflicts_ << QStringLiteral("%1: \"%2\" (%3) and \"%4\" (%5)")
                          .arg(entry.Address(), first.Source, first.Origin, entry.Source, entry.Origin);
}

void TLangCatalogue::AddFormDescription(const QString& text, const QString& origin)
{
    const formtext::Object top = formtext::Parse(text);
    FormWalker(*this, top.className, origin).Walk(top, true);
}

QStringList TLangCatalogue::Packages() const
{
    QStringList packages;
    for (const TLangEntry& entry : entries_)
        if (!packages.contains(entry.Package))
            packages << entry.Package;
    return packages;
}

QList<TLangEntry> TLangCatalogue::EntriesOf(const QString& package) const
{
    QList<TLangEntry> found;
    for (const TLangEntry& entry : entries_)
        if (entry.Package == package)
            found << entry;
    return found;
}
