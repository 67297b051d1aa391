#pragma once
// Object-valued properties: the sub-objects a component publishes (Font,
// Items, Lines, Columns, Panels, Picture). They are QObjects owned by their
// component, so property paths such as Font.Charset or Columns_1.Caption walk
// through them, and they tell their owner about changes with Changed().

#include "runtime/forms/VclTypes.h"

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class TPersistent : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Copies the published, stored properties of source (which must be of the
    // same class or a descendant) into this object.
    virtual void Assign(const TPersistent* source);
    // Whether the named property is written to a form description.
    virtual bool IsPropertyStored(const char* name) const;
    QString ClassName() const { return QString::fromLatin1(metaObject()->className()); }

signals:
    void Changed();

protected:
    // A setter's work: stores value and raises Changed() when it differs.
    template<typename T> void SetField(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        emit Changed();
    }
};

// A list of text lines. Text joins them, each followed by a line break, and
// setting Text splits at any line break; Strings[i] addresses one line.
class TStrings : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int Count READ Count)
public:
    using TPersistent::TPersistent;

    int Count() const { return static_cast<int>(lines_.size()); }
    QString Strings(int index) const;
    void SetStrings(int index, const QString& value);
    QString operator[](int index) const { return Strings(index); }
    const QStringList& Lines() const { return lines_; }
    void SetLines(const QStringList& lines);
    QString Text() const;
    void SetText(const QString& text);
    QString CommaText() const;

    int Add(const QString& line);
    void Insert(int index, const QString& line);
    void Delete(int index);
    void Clear();
    int IndexOf(const QString& line) const; // without regard to case
    void Move(int from, int to);
    void Sort();

    // Changes between the two calls raise one Changed() at the end.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

    void Assign(const TPersistent* source) override;
    bool IsPropertyStored(const char* name) const override;

private:
    void changed();
    void checkIndex(int index, bool forInsert = false) const;

    QStringList lines_;
    int updating_ = 0;
    bool pending_ = false;
};

class TCollection;

// One entry of a collection (a list-view column, a status panel ...).
class TCollectionItem : public TPersistent {
    Q_OBJECT
public:
    explicit TCollectionItem(TCollection* collection = nullptr);
    TCollection* Collection() const;
    int Index() const;

protected:
    // Setters call this so the collection can refresh what shows it.
    void changed();
};

// An ordered list of items of one class, created through the item factory.
class TCollection : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)
public:
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;

    TCollection(const QMetaObject* itemClass, ItemFactory factory, QObject* parent = nullptr);
    ~TCollection() override;

    const QMetaObject* ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    // A new item of the item class that belongs to no collection (the caller
    // owns it); the writer compares items against one.
    TCollectionItem* CreateDetachedItem() const { return factory_(nullptr); }
    void Delete(int index);
    void Clear();
    int IndexOf(const TCollectionItem* item) const { return static_cast<int>(items_.indexOf(item)); }
    void Move(int from, int to);
    const QList<TCollectionItem*>& ItemList() const { return items_; }

    void BeginUpdate() { ++updating_; }
    void EndUpdate();
    void Assign(const TPersistent* source) override;
    void ItemChanged() { notify(); }

private:
    void notify();

    const QMetaObject* itemClass_;
    ItemFactory factory_;
    QList<TCollectionItem*> items_;
    int updating_ = 0;
    bool pending_ = false;
};

// A collection whose items are of class T (T(TCollection*) constructor).
template<typename T> class TOwnedCollection : public TCollection {
public:
    explicit TOwnedCollection(QObject* parent = nullptr)
        : TCollection(
            &T::staticMetaObject, [](TCollection* c) -> TCollectionItem* { return new T(c); }, parent)
    {
    }
    T* Items(int index) const { return static_cast<T*>(TCollection::Items(index)); }
    T* Add() { return static_cast<T*>(TCollection::Add()); }
    T* Insert(int index) { return static_cast<T*>(TCollection::Insert(index)); }
};

class TFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(Vcl::TFontCharset Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(Vcl::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(Vcl::TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(Vcl::TFontStyles Style READ Style WRITE SetStyle)
public:
    using TPersistent::TPersistent;

    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // Negative heights are character heights in pixels, as the writer stores
    // them; kept within +-MaxHeight.
    static constexpr int MaxHeight = 2048;
    int Height() const { return height_; }
    void SetHeight(int value);
    QString Name() const { return name_; }
    void SetName(const QString& value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);
    // Points at 96 pixels per inch; derived from Height.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);

    QFont ToQFont() const;
    bool IsPropertyStored(const char* name) const override;

private:
    TFontCharset charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    int height_ = -11;
    QString name_ = QStringLiteral("MS Sans Serif");
    TFontPitch pitch_ = fpDefault;
    TFontStyles style_;
};

// Image data as stored in a form description (PNG, BMP or any format Qt reads).
class TPicture : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
public:
    using TPersistent::TPersistent;
    QByteArray Data() const { return data_; }
    void SetData(const QByteArray& data);
    bool Empty() const { return data_.isEmpty(); }

private:
    QByteArray data_;
};
