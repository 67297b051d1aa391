#pragma once
// Fields of a data set: one object per column, reading and writing the value
// of that column in the data set's current record.
//
// A field is created by its data set when it opens (default fields, one per
// column of the data), or declared before Open with TDataSet::AddField
// (persistent fields, bound to the column of the same name at Open). The data
// set owns its fields either way.
//
// Text events: OnGetText gives the text a control shows (DisplayText, with
// displayText true) or edits (Text, false); the handler receives the field's
// own text and may replace it. OnSetText takes a text typed by the user in
// place of the plain assignment to AsString. Handlers are plain values: they
// can be read, kept and put back (the criteria form saves and chains them).

#include "runtime/data/DataPacket.h"

#include <QString>
#include <functional>
#include <memory>

class TDataSet;
class TField;

using TFieldGetTextEvent = std::function<void(TField* sender, QString& text, bool displayText)>;
using TFieldSetTextEvent = std::function<void(TField* sender, const QString& text)>;
using TFieldNotifyEvent = std::function<void(TField* sender)>;

class TField {
public:
    virtual ~TField();
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // "TStringField", "TIntegerField", ...
    virtual QString ClassName() const = 0;

    const QString& FieldName() const { return fieldName_; }
    // Only while the data set is closed.
    void SetFieldName(const QString& name);
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }
    void SetSize(int size);
    // The caption of the field; its name until one is given.
    QString DisplayLabel() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
    // Width in characters a grid or report gives the field.
    int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : defaultDisplayWidth(); }
    void SetDisplayWidth(int width) { displayWidth_ = width; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Position in the data set's field list, 0-based.
    int Index() const;
    // Column of the data the field is bound to, 1-based; 0 while unbound.
    int FieldNo() const { return column_ + 1; }
    TDataSet* DataSet() const { return dataSet_; }

    // Values of the current record. Reading a null gives 0, false or an empty
    // text; a text that is no number raises EConvertError. Writing needs the
    // data set in edit or insert mode and raises EDatabaseError otherwise.
    bool IsNull() const;
    Variant Value() const; // Null for a null value
    void SetValue(const Variant& value);
    Variant AsVariant() const { return Value(); }
    void SetAsVariant(const Variant& value) { SetValue(value); }
    QString AsString() const;
    void SetAsString(const QString& value);
    // Raises EConvertError when the value lies outside the 32-bit range.
    int AsInteger() const;
    void SetAsInteger(int value) { SetValue(Variant(value)); }
    qint64 AsLargeInt() const;
    void SetAsLargeInt(qint64 value) { SetValue(Variant(value)); }
    double AsFloat() const;
    void SetAsFloat(double value) { SetValue(Variant(value)); }
    // Day number from 1899-12-30.
    double AsDateTime() const;
    void SetAsDateTime(double value) { SetValue(Variant::FromDate(value)); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value) { SetValue(Variant(value)); }
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray& value) { SetValue(Variant(value)); }
    void Clear() { SetValue(Variant::Null()); }

    // The text shown (through OnGetText when set).
    QString DisplayText() const { return textOf(true); }
    // The text edited (through OnGetText when set).
    QString Text() const { return textOf(false); }
    // Through OnSetText when set, else AsString.
    void SetText(const QString& text);

    const TFieldGetTextEvent& OnGetText() const { return onGetText_; }
    void SetOnGetText(TFieldGetTextEvent handler) { onGetText_ = std::move(handler); }
    const TFieldSetTextEvent& OnSetText() const { return onSetText_; }
    void SetOnSetText(TFieldSetTextEvent handler) { onSetText_ = std::move(handler); }
    // After a value was written.
    const TFieldNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TFieldNotifyEvent handler) { onChange_ = std::move(handler); }

protected:
    TField(TFieldType type, int size);
    // The field's own text of a non-null value, before OnGetText.
    virtual QString formatValue(const Variant& value, bool displayText) const;
    virtual int defaultDisplayWidth() const { return 10; }

private:
    friend class TDataSet;
    QString textOf(bool displayText) const;

    TDataSet* dataSet_ = nullptr;
    int column_ = -1;
    QString fieldName_;
    TFieldType dataType_;
    int size_;
    QString displayLabel_;
    int displayWidth_ = 0;
    bool visible_ = true;
    bool required_ = false;
    bool readOnly_ = false;
    TFieldGetTextEvent onGetText_;
    TFieldSetTextEvent onSetText_;
    TFieldNotifyEvent onChange_;
};

class TStringField : public TField {
public:
    explicit TStringField(int size = 20)
        : TField(ftString, size)
    {
    }
    QString ClassName() const override { return QStringLiteral("TStringField"); }

protected:
    int defaultDisplayWidth() const override { return Size() > 0 ? Size() : 20; }
};

class TIntegerField : public TField {
public:
    TIntegerField()
        : TField(ftInteger, 0)
    {
    }
    QString ClassName() const override { return QStringLiteral("TIntegerField"); }

protected:
    int defaultDisplayWidth() const override { return 11; }
};

class TFloatField : public TField {
public:
    TFloatField()
        : TField(ftFloat, 0)
    {
    }
    QString ClassName() const override { return QStringLiteral("TFloatField"); }
};

// Date and date-time fields; a TDateTimeField of type ftDate holds whole days.
class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TFieldType type = ftDateTime)
        : TField(type == ftDate ? ftDate : ftDateTime, 0)
    {
    }
    QString ClassName() const override { return QStringLiteral("TDateTimeField"); }

protected:
    int defaultDisplayWidth() const override { return DataType() == ftDate ? 10 : 18; }
};

class TDateField : public TDateTimeField {
public:
    TDateField()
        : TDateTimeField(ftDate)
    {
    }
    QString ClassName() const override { return QStringLiteral("TDateField"); }
};

class TBooleanField : public TField {
public:
    TBooleanField()
        : TField(ftBoolean, 0)
    {
    }
    QString ClassName() const override { return QStringLiteral("TBooleanField"); }

protected:
    int defaultDisplayWidth() const override { return 5; }
};

class TBlobField : public TField {
public:
    TBlobField()
        : TField(ftBlob, 0)
    {
    }
    QString ClassName() const override { return QStringLiteral("TBlobField"); }

protected:
    explicit TBlobField(TFieldType type)
        : TField(type, 0)
    {
    }
    QString formatValue(const Variant& value, bool displayText) const override;
};

// Memo fields show their text (a report prints the remark itself, not a marker).
class TMemoField : public TBlobField {
public:
    TMemoField()
        : TBlobField(ftMemo)
    {
    }
    QString ClassName() const override { return QStringLiteral("TMemoField"); }

protected:
    QString formatValue(const Variant& value, bool displayText) const override;
};

// The field class of a field type (for default fields).
std::unique_ptr<TField> CreateFieldOfType(TFieldType type, int size);
