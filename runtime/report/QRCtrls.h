#pragma once
// Report controls: what a band prints. Each is a plain component (no widget
// is needed to print) with its position in design pixels inside its band
// (see QuickRpt.h for the units) and the published properties of the
// classic report controls.
//
// A run drives each enabled control of a band in three steps: BeginRun once
// (resolve data fields, parse expressions, decode pictures), then for every
// time the band prints Measure (take this row's content; answer how many
// units of height beyond the design the control needs, for AutoStretch) and
// Print (add the primitives to the open page), and EndRun at the end.
// A control that cannot print (a field its data set lacks, an expression
// that does not parse, a damaged picture) prints nothing; BeginRun says why
// in a warning the report collects, and the rest of the report prints.
//
// What the designer and the format forms need of a control is asked of the
// control itself (DesignText, SourceText, DataBinding and the rest of
// TQRPrintable's design-time questions), never of its class: a new kind of
// control answers them in its own class and needs no edit elsewhere. A
// control that prints one field of a data source derives from TQRDataBound
// as well, which keeps the field and resolves it for each run.

#include "runtime/forms/Graphics.h"
#include "runtime/report/QRExpr.h"
#include "runtime/report/QRPageModel.h"
#include "runtime/report/QuickRpt.h"

#include <QStringList>

class TQRPageModel;

// What controls need from the run they print in.
struct TQRRunContext {
    // The source named dataSet (the default source when empty) and the
    // index of field in it; false, with a warning naming control, when
    // either is missing.
    bool ResolveField(const QString& control, const QString& dataSet, const QString& field,
        TQRDataSource** source, int* index) const;
    TQuickRep* Report = nullptr;
    TQRPageModel* Pages = nullptr;
    TQRExprEnvironment Environment;
    // Units per design pixel.
    double Scale = 1;
    // Warnings of this run ("QRDBText1: field TO099 not found").
    QStringList* Warnings = nullptr;
    void Warn(const QString& text) const
    {
        if (Warnings)
            Warnings->append(text);
    }
};

// The field a data-bound control prints from: DataSet names a data source of
// the report (empty: the report's main source), DataField a field of it.
// A report control deriving from it publishes the two as its own properties
// (Q_PROPERTY DataSet and DataField), so that its layouts store and read
// them; TQRPrintable::DataBinding then finds it without a cast ladder, and
// TQRPrintable::BeginRun binds the field for each run. FieldText reads it at
// the current row. Setting the names drops the resolved field until the next
// BindField.
class TQRDataBound {
public:
    virtual ~TQRDataBound();
    QString DataSet() const { return dataSet_; }
    void SetDataSet(const QString& name);
    QString DataField() const { return dataField_; }
    void SetDataField(const QString& name);

    // Resolves the field in context for a run; false (and FieldText empty
    // for the run) with a warning naming control when the source or the
    // field is missing.
    bool BindField(const TQRRunContext& context, const QString& control);
    bool FieldBound() const { return source_ != nullptr; }
    // The field's text at the source's current row; empty when not bound.
    QString FieldText() const;

private:
    QString dataSet_;
    QString dataField_;
    TQRDataSource* source_ = nullptr;
    int field_ = -1;
};

class TQRFrame : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(bool DrawTop READ DrawTop WRITE SetDrawTop)
    Q_PROPERTY(bool DrawBottom READ DrawBottom WRITE SetDrawBottom)
    Q_PROPERTY(bool DrawLeft READ DrawLeft WRITE SetDrawLeft)
    Q_PROPERTY(bool DrawRight READ DrawRight WRITE SetDrawRight)
    Q_PROPERTY(Vcl::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(Vcl::TPenStyle Style READ Style WRITE SetStyle)
public:
    using TPersistent::TPersistent;
    bool DrawTop() const { return top_; }
    void SetDrawTop(bool v) { SetField(top_, v); }
    bool DrawBottom() const { return bottom_; }
    void SetDrawBottom(bool v) { SetField(bottom_, v); }
    bool DrawLeft() const { return left_; }
    void SetDrawLeft(bool v) { SetField(left_, v); }
    bool DrawRight() const { return right_; }
    void SetDrawRight(bool v) { SetField(right_, v); }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { SetField(color_, v); }
    int Width() const { return width_; }
    void SetWidth(int v) { SetField(width_, std::clamp(v, 1, 20)); }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle v) { SetField(style_, v); }
    bool Any() const { return top_ || bottom_ || left_ || right_; }
    void Assign(const TPersistent* source) override;

private:
    bool top_ = false, bottom_ = false, left_ = false, right_ = false;
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

// The base of every report control. Text of an AutoSize control is never
// cut: one line that may run past the box (WordWrap off), or lines broken at
// the box's width that may run below it (WordWrap on). Without AutoSize the
// text is cut at the box. AutoStretch with WordWrap makes the band as much
// higher as the wrapped text needs (the band's Stretch).
class TQRPrintable : public TControl {
    Q_OBJECT
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool AutoStretch READ AutoStretch WRITE SetAutoStretch)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(TQRFrame* Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(TQRSize* Size READ Size WRITE SetSize)
public:
    explicit TQRPrintable(TComponent* owner = nullptr);

    // Position and size in report units.
    TQRSize* Size() const { return size_; }
    void SetSize(TQRSize* size) { size_->Assign(size); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { alignment_ = value; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) { autoSize_ = value; }
    bool AutoStretch() const { return autoStretch_; }
    void SetAutoStretch(bool value) { autoStretch_ = value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    TQRFrame* Frame() const { return frame_; }
    void SetFrame(TQRFrame* frame) { frame_->Assign(frame); }

    // The band this control stands on, null when it stands on none.
    TQRCustomBand* ParentBand() const;

    // The field binding when this control is data-bound (derives from
    // TQRDataBound), null otherwise.
    TQRDataBound* DataBinding() { return dynamic_cast<TQRDataBound*>(this); }
    const TQRDataBound* DataBinding() const { return dynamic_cast<const TQRDataBound*>(this); }

    // --- design time ---------------------------------------------------------
    // The text the designer draws in the control's box: by default the data
    // field in brackets for a data-bound control, nothing for any other.
    virtual QString DesignText() const;
    // What the control prints from, as the designer's field list shows it:
    // by default the data field of a data-bound control, else nothing.
    virtual QString SourceText() const;
    // The control's name in the designer's field list: its hint, else its
    // SourceText.
    virtual QString DesignCaption() const;
    // Whether the designer's delete may remove it (false by default: the
    // built-in layout's controls stay; a kind says yes for itself).
    virtual bool DesignerDeletable() const { return false; }
    // Whether the field list may bring it back onto the page once hidden
    // (false by default).
    virtual bool DesignerRestorable() const { return false; }
    // Stops printing field (case-insensitive, blanks around ignored): a
    // data-bound control bound to it loses its data field; a control that
    // reads fields some other way forgets the reading. Anything else is left.
    virtual void DropField(const QString& field);

    // --- a run ------------------------------------------------------------------
    // Binds the field of a data-bound control and prepares the frame; an
    // override calls it first.
    virtual void BeginRun(TQRRunContext& context);
    // A detail row is sure to print: a control that collects rows (an
    // aggregate) takes it. Called for every control of the report, enabled
    // or not, before the detail band measures; nothing by default.
    virtual void TakeDetailRow() { }
    // Units of height beyond the design this row needs (0 by default).
    virtual int Measure(TQRRunContext& context);
    // Adds the primitives; origin is the band's top-left corner in units.
    virtual void Print(TQRRunContext& context, QPoint origin) = 0;
    virtual void EndRun() { }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    TColor DefaultColor() const override { return clWhite; }
    // The control's box on the page for a band at origin, with extra height.
    QRect PageBox(const TQRRunContext& context, QPoint origin, int extraHeight = 0) const;
    void PrintFrame(TQRRunContext& context, const QRect& box);

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool autoStretch_ = false;
    bool wordWrap_ = true;
    bool transparent_ = false;
    TQRFrame* frame_;
    TQRSize* size_;
    int frameStyle_ = -1;
};

// A printable text: the text of this row passes through OnPrint (value in,
// value out) before it prints.
class TQRCustomLabel : public TQRPrintable {
    Q_OBJECT
    Q_PROPERTY(TQRLabelOnPrintEvent OnPrint READ OnPrint WRITE SetOnPrint)
public:
    using TQRPrintable::TQRPrintable;
    TQRLabelOnPrintEvent OnPrint() const { return onPrint_; }
    void SetOnPrint(const TQRLabelOnPrintEvent& handler) { onPrint_ = handler; }

    // A hidden text can be brought back by the designer's field list.
    bool DesignerRestorable() const override { return true; }
    // Whether the text comes from the database as it is stored there, so the
    // client's code-page conversion applies to it: a data-bound text's does.
    virtual bool PrintsDatabaseText() const { return DataBinding() != nullptr; }

    void BeginRun(TQRRunContext& context) override;
    int Measure(TQRRunContext& context) override;
    void Print(TQRRunContext& context, QPoint origin) override;
    // The text this control printed (or is about to print) for the current row.
    const QString& PrintedText() const { return text_; }

protected:
    // The text of the current row before OnPrint.
    virtual QString GetText() const = 0;

private:
    int styleIndex(TQRRunContext& context);
    TQRLabelOnPrintEvent onPrint_;
    QString text_;
    int extra_ = 0;
    const TQRPageModel* styleModel_ = nullptr;
    int style_ = 0;
};

class TQRLabel : public TQRCustomLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TQRLabel(TComponent* owner = nullptr);
    // Its caption; a caption the program sets at print time (the slip's
    // title, its dates) shows the name instead, so the box is never empty.
    QString DesignText() const override;
    // A label is known by its caption.
    QString DesignCaption() const override { return Caption(); }

protected:
    QString GetText() const override { return Caption(); }
};

// The text of a data field (TQRDataBound).
class TQRDBText : public TQRCustomLabel, public TQRDataBound {
    Q_OBJECT
    Q_PROPERTY(QString DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
public:
    explicit TQRDBText(TComponent* owner = nullptr);

protected:
    QString GetText() const override { return FieldText(); }
};

// A code field printed through its item list: lines "code=text" map a
// field value to the text printed; a value without a line prints as it is.
class TQRDBIDText : public TQRDBText {
    Q_OBJECT
    Q_PROPERTY(TStrings* Items READ Items WRITE SetItems)
public:
    explicit TQRDBIDText(TComponent* owner = nullptr);
    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    // With an item list the printed texts are the layout's own.
    bool PrintsDatabaseText() const override { return items_->Count() == 0; }

protected:
    QString GetText() const override;

private:
    TStrings* items_;
};

// The data text of the report layouts: a data field with a text type that
// says which print conversion the format binds to OnPrint (0 none, 1 date,
// 2 percent, 3 Chinese capital amount, 4 hidden amount, 5 dictionary) and
// the dictionary text type 5 reads. The control itself prints the field.
class ReportDBText : public TQRDBText {
    Q_OBJECT
    Q_PROPERTY(int TextType READ TextType WRITE SetTextType)
    Q_PROPERTY(QString Dictionary READ Dictionary WRITE SetDictionary)
public:
    using TQRDBText::TQRDBText;
    int TextType() const { return textType_; }
    void SetTextType(int type) { textType_ = std::clamp(type, 0, 255); }
    QString Dictionary() const { return dictionary_; }
    void SetDictionary(const QString& text) { dictionary_ = text; }
    // The layouts' data texts may be deleted in the designer.
    bool DesignerDeletable() const override { return true; }

private:
    int textType_ = 0;
    QString dictionary_;
};

// The value of an expression (QRExpr.h). Aggregates collect every row the
// report prints a detail band for (a running total on the detail band
// includes its own row; a row whose detail band was refused does not count);
// ResetAfterPrint starts them over after each time the control printed (a
// group total).
class TQRExpr : public TQRCustomLabel {
    Q_OBJECT
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(bool ResetAfterPrint READ ResetAfterPrint WRITE SetResetAfterPrint)
public:
    explicit TQRExpr(TComponent* owner = nullptr);
    QString Expression() const { return expression_; }
    void SetExpression(const QString& text) { expression_ = text; }
    bool ResetAfterPrint() const { return resetAfterPrint_; }
    void SetResetAfterPrint(bool value) { resetAfterPrint_ = value; }

    // The expression in braces.
    QString DesignText() const override { return u'{' + expression_ + u'}'; }
    QString SourceText() const override { return expression_; }
    // An expression that names field (as a whole word, with or without a
    // source before it) is cleared: it prints empty.
    void DropField(const QString& field) override;

    void BeginRun(TQRRunContext& context) override;
    // Aggregates take the row.
    void TakeDetailRow() override;
    void Print(TQRRunContext& context, QPoint origin) override;
    void EndRun() override { compiled_ = TQRExpression(); }

protected:
    QString GetText() const override;

private:
    QString expression_;
    bool resetAfterPrint_ = false;
    TQRExpression compiled_;
};

class TQRShape : public TQRPrintable {
    Q_OBJECT
    Q_PROPERTY(Qrpt::TQRShapeType Shape READ Shape WRITE SetShape)
    Q_PROPERTY(TPen* Pen READ Pen WRITE SetPen)
    Q_PROPERTY(TBrush* Brush READ Brush WRITE SetBrush)
public:
    explicit TQRShape(TComponent* owner = nullptr);
    TQRShapeType Shape() const { return shape_; }
    void SetShape(TQRShapeType shape) { shape_ = shape; }
    TPen* Pen() const { return pen_; }
    void SetPen(TPen* pen);
    TBrush* Brush() const { return brush_; }
    void SetBrush(TBrush* brush);
    void BeginRun(TQRRunContext& context) override;
    void Print(TQRRunContext& context, QPoint origin) override;

private:
    TQRShapeType shape_ = qrsRectangle;
    TPen* pen_;
    TBrush* brush_;
    int style_ = 0;
};

// A picture: Picture data, or a file named by LoadFromFile. Stretch fills
// the box; otherwise the picture keeps its size (at 96 dpi) from the top
// left, or centred with Center.
class TQRImage : public TQRPrintable {
    Q_OBJECT
    Q_PROPERTY(TPicture* Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
public:
    explicit TQRImage(TComponent* owner = nullptr);
    TPicture* Picture() const { return picture_; }
    void SetPicture(TPicture* picture) { picture_->Assign(picture); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value) { stretch_ = value; }
    bool Center() const { return center_; }
    void SetCenter(bool value) { center_ = value; }
    // Reads the file's bytes into Picture; false (Picture unchanged) when the
    // file cannot be read or holds no picture Qt can decode.
    bool LoadFromFile(const QString& path);
    // Its name in parentheses (the picture itself is not drawn).
    QString DesignText() const override { return u'(' + Name() + u')'; }
    bool DesignerRestorable() const override { return true; }

    void BeginRun(TQRRunContext& context) override;
    void Print(TQRRunContext& context, QPoint origin) override;
    void EndRun() override { image_ = QImage(); }

private:
    TPicture* picture_;
    bool stretch_ = false;
    bool center_ = false;
    QImage image_;
    int index_ = -1;
};
