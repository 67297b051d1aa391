#include "runtime/forms/Persistent.h"

#include "runtime/system/Exceptions.h"

#include <QMetaProperty>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

void TPersistent::Assign(const TPersistent* source)
{
    if (!source || source == this)
        return;
    const QMetaObject* meta = metaObject();
    if (!source->metaObject()->inherits(meta) && !meta->inherits(source->metaObject()))
        throw EConvertError(
            QStringLiteral("Cannot assign a %1 to a %2").arg(source->ClassName(), ClassName()));
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!IsPropertyStored(property.name()))
            continue;
        const QVariant value = source->property(property.name());
        if (property.metaType().flags() & QMetaType::PointerToQObject) {
            auto* target = qobject_cast<TPersistent*>(property.read(this).value<QObject*>());
            auto* from = qobject_cast<TPersistent*>(value.value<QObject*>());
            if (target && from && !property.isWritable())
                target->Assign(from);
            else if (property.isWritable())
                property.write(this, value);
            continue;
        }
        if (property.isWritable())
            property.write(this, value);
    }
}

bool TPersistent::IsPropertyStored(const char*) const
{
    return true;
}

// TStrings ------------------------------------------------------------------

void TStrings::checkIndex(int index, bool forInsert) const
{
    if (index < 0 || index > Count() || (!forInsert && index == Count()))
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

QString TStrings::Strings(int index) const
{
    checkIndex(index);
    return lines_.at(index);
}

void TStrings::SetStrings(int index, const QString& value)
{
    checkIndex(index);
    if (lines_.at(index) == value)
        return;
    lines_[index] = value;
    changed();
}

void TStrings::SetLines(const QStringList& lines)
{
    if (lines_ == lines)
        return;
    lines_ = lines;
    changed();
}

QString TStrings::Text() const
{
    QString text;
    for (const QString& line : lines_) {
        text += line;
        text += u'\n';
    }
    return text;
}

void TStrings::SetText(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(breaks);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the break after the last line ends it, it opens no new one
    SetLines(lines);
}

QString TStrings::CommaText() const
{
    QStringList quoted;
    for (const QString& line : lines_) {
        const bool plain = !line.isEmpty() && std::none_of(line.begin(), line.end(), [](QChar c) {
            return c.unicode() <= u' ' || c == u',' || c == u'"';
        });
        quoted << (plain ? line : u'"' + QString(line).replace(u'"', QStringLiteral("\"\"")) + u'"');
    }
    return quoted.join(u',');
}

int TStrings::Add(const QString& line)
{
    lines_.append(line);
    changed();
    return Count() - 1;
}

void TStrings::Insert(int index, const QString& line)
{
    checkIndex(index, true);
    lines_.insert(index, line);
    changed();
}

void TStrings::Delete(int index)
{
    checkIndex(index);
    lines_.removeAt(index);
    changed();
}

void TStrings::Clear()
{
    if (lines_.isEmpty())
        return;
    lines_.clear();
    changed();
}

int TStrings::IndexOf(const QString& line) const
{
    for (int i = 0; i < Count(); ++i) {
        if (lines_.at(i).compare(line, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TStrings::Move(int from, int to)
{
    checkIndex(from);
    checkIndex(to);
    if (from == to)
        return;
    lines_.move(from, to);
    changed();
}

void TStrings::Sort()
{
    QStringList sorted = lines_;
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    SetLines(sorted);
}

void TStrings::EndUpdate()
{
    if (updating_ > 0 && --updating_ == 0 && pending_) {
        pending_ = false;
        emit Changed();
    }
}

void TStrings::changed()
{
    if (updating_ > 0)
        pending_ = true;
    else
        emit Changed();
}

void TStrings::Assign(const TPersistent* source)
{
    auto* strings = qobject_cast<const TStrings*>(source);
    if (!strings)
        throw EConvertError(
            QStringLiteral("Cannot assign a %1 to a TStrings").arg(source ? source->ClassName() : "nil"));
    SetLines(strings->Lines());
}

bool TStrings::IsPropertyStored(const char*) const
{
    return false; // the lines themselves are written, as Strings
}

// Collections ---------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection)
    : TPersistent(collection)
{
}

TCollection* TCollectionItem::Collection() const
{
    return qobject_cast<TCollection*>(parent());
}

int TCollectionItem::Index() const
{
    const TCollection* collection = Collection();
    return collection ? collection->IndexOf(this) : -1;
}

void TCollectionItem::changed()
{
    emit Changed();
    if (TCollection* collection = Collection())
        collection->ItemChanged();
}

TCollection::TCollection(const QMetaObject* itemClass, ItemFactory factory, QObject* parent)
    : TPersistent(parent)
    , itemClass_(itemClass)
    , factory_(std::move(factory))
{
}

TCollection::~TCollection()
{
    qDeleteAll(items_);
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return items_.at(index);
}

TCollectionItem* TCollection::Add()
{
    return Insert(Count());
}

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    TCollectionItem* item = factory_(this);
    items_.insert(index, item);
    notify();
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    items_.removeAt(index);
    delete item;
    notify();
}

void TCollection::Clear()
{
    if (items_.isEmpty())
        return;
    QList<TCollectionItem*> old;
    old.swap(items_);
    qDeleteAll(old);
    notify();
}

void TCollection::Move(int from, int to)
{
    Items(from);
    Items(to);
    if (from == to)
        return;
    items_.move(from, to);
    notify();
}

void TCollection::EndUpdate()
{
    if (updating_ > 0 && --updating_ == 0 && pending_) {
        pending_ = false;
        emit Changed();
    }
}

void TCollection::notify()
{
    if (updating_ > 0)
        pending_ = true;
    else
        emit Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    auto* other = qobject_cast<const TCollection*>(source);
    if (!other || other->ItemClass() != itemClass_)
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                                .arg(source ? source->ClassName() : "nil", ClassName()));
    BeginUpdate();
    Clear();
    for (const TCollectionItem* item : other->ItemList())
        Add()->Assign(item);
    notify();
    EndUpdate();
}

// TFont ---------------------------------------------------------------------

void TFont::SetCharset(TFontCharset value)
{
    SetField(charset_, value);
}
void TFont::SetColor(TColor value)
{
    SetField(color_, value);
}
void TFont::SetHeight(int value)
{
    SetField(height_, std::clamp(value, -MaxHeight, MaxHeight));
}
void TFont::SetName(const QString& value)
{
    SetField(name_, value);
}
void TFont::SetPitch(TFontPitch value)
{
    SetField(pitch_, value);
}
void TFont::SetStyle(TFontStyles value)
{
    SetField(style_, value);
}

int TFont::Size() const
{
    return static_cast<int>(std::lround(-height_ * 72.0 / 96.0));
}

void TFont::SetSize(int points)
{
    points = std::clamp(points, -MaxHeight, MaxHeight);
    SetHeight(-static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

QFont TFont::ToQFont() const
{
    QFont font(name_);
    if (height_ != 0)
        font.setPixelSize(std::abs(height_));
    font.setBold(style_.testFlag(fsBold));
    font.setItalic(style_.testFlag(fsItalic));
    font.setUnderline(style_.testFlag(fsUnderline));
    font.setStrikeOut(style_.testFlag(fsStrikeOut));
    if (pitch_ == fpFixed)
        font.setFixedPitch(true);
    return font;
}

bool TFont::IsPropertyStored(const char* name) const
{
    return qstrcmp(name, "Size") != 0; // Height carries it
}

void TPicture::SetData(const QByteArray& data)
{
    if (data_ == data)
        return;
    data_ = data;
    emit Changed();
}
