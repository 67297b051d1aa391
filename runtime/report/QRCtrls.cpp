#include "runtime/report/QRCtrls.h"

#include <QFile>
#include <QFontMetricsF>
#include <QFrame>
#include <QRegularExpression>
#include <cmath>

namespace {

// Text is measured as it prints at 96 dpi, whatever screen the machine has.
const QPaintDevice* measureDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780); // 96 dpi
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &device;
}

TQRTextStyle textStyleOf(const TFont* font)
{
    TQRTextStyle style;
    style.Family = font->Name();
    // Height is pixels at 96 dpi; points keep the fraction a pixel height gives.
    style.PointSize = font->Height() != 0 ? std::abs(font->Height()) * 72.0 / 96.0 : 8.0;
    style.Bold = font->Style().testFlag(fsBold);
    style.Italic = font->Style().testFlag(fsItalic);
    style.Underline = font->Style().testFlag(fsUnderline);
    style.StrikeOut = font->Style().testFlag(fsStrikeOut);
    style.Color = ColorToQColor(font->Color()).rgba();
    return style;
}

QFont qfontOf(const TQRTextStyle& style)
{
    QFont font(style.Family);
    font.setPointSizeF(style.PointSize);
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    font.setStrikeOut(style.StrikeOut);
    return font;
}

std::uint8_t alignFlag(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return TQRItem::AlignRight;
    case taCenter:
        return TQRItem::AlignCenter;
    default:
        return TQRItem::AlignLeft;
    }
}

} // namespace

bool TQRRunContext::ResolveField(const QString& control, const QString& dataSet, const QString& field,
    TQRDataSource** source, int* index) const
{
    *source = dataSet.isEmpty() ? Environment.DefaultSource
                                : (Environment.FindSource ? Environment.FindSource(dataSet) : nullptr);
    *index = *source ? (*source)->FieldIndex(field) : -1;
    if (!*source) {
        Warn(QStringLiteral("%1: data set %2 not found")
                 .arg(control, dataSet.isEmpty() ? QStringLiteral("(none)") : dataSet));
        return false;
    }
    if (*index < 0) {
        Warn(QStringLiteral("%1: field %2 not found").arg(control, field));
        return false;
    }
    return true;
}

TQRDataBound::~TQRDataBound() = default;

void TQRDataBound::SetDataSet(const QString& name)
{
    dataSet_ = name;
    source_ = nullptr;
}

void TQRDataBound::SetDataField(const QString& name)
{
    dataField_ = name;
    source_ = nullptr;
}

bool TQRDataBound::BindField(const TQRRunContext& context, const QString& control)
{
    if (!context.ResolveField(control, dataSet_, dataField_, &source_, &field_))
        source_ = nullptr;
    return source_ != nullptr;
}

QString TQRDataBound::FieldText() const
{
    return source_ ? source_->FieldText(field_) : QString();
}

void TQRFrame::Assign(const TPersistent* source)
{
    if (auto* other = qobject_cast<const TQRFrame*>(source)) {
        top_ = other->top_;
        bottom_ = other->bottom_;
        left_ = other->left_;
        right_ = other->right_;
        color_ = other->color_;
        width_ = other->width_;
        style_ = other->style_;
        emit Changed();
        return;
    }
    TPersistent::Assign(source);
}

TQRPrintable::TQRPrintable(TComponent* owner)
    : TControl(owner)
    , frame_(new TQRFrame(this))
    , size_(new TQRSize(this))
{
    SetColor(clWhite);
}

TQRCustomBand* TQRPrintable::ParentBand() const
{
    return qobject_cast<TQRCustomBand*>(Parent());
}

QString TQRPrintable::DesignText() const
{
    const TQRDataBound* binding = DataBinding();
    return binding ? u'[' + binding->DataField() + u']' : QString();
}

QString TQRPrintable::SourceText() const
{
    const TQRDataBound* binding = DataBinding();
    return binding ? binding->DataField() : QString();
}

QString TQRPrintable::DesignCaption() const
{
    return Hint().isEmpty() ? SourceText() : Hint();
}

void TQRPrintable::DropField(const QString& field)
{
    TQRDataBound* binding = DataBinding();
    const QString name = field.trimmed();
    if (binding && !name.isEmpty() && binding->DataField().trimmed().compare(name, Qt::CaseInsensitive) == 0)
        binding->SetDataField(QString());
}

QWidget* TQRPrintable::CreateWidget(QWidget* parent)
{
    // Only the designer shows report controls; a plain frame marks the place.
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    return frame;
}

void TQRPrintable::BeginRun(TQRRunContext& context)
{
    if (TQRDataBound* binding = DataBinding())
        binding->BindField(context, Name());
    frameStyle_ = -1;
    if (frame_->Any()) {
        TQRShapeStyle style;
        style.PenColor = ColorToQColor(frame_->Color()).rgba();
        style.PenWidth = static_cast<int>(std::lround(frame_->Width() * context.Scale));
        style.PenStyle = static_cast<Qt::PenStyle>(std::min<int>(frame_->Style() + 1, Qt::DashDotDotLine));
        if (frame_->Style() == psClear)
            return;
        frameStyle_ = context.Pages->ShapeStyleIndex(style);
    }
}

int TQRPrintable::Measure(TQRRunContext&)
{
    return 0;
}

QRect TQRPrintable::PageBox(const TQRRunContext& context, QPoint origin, int extraHeight) const
{
    const QRect b = BoundsRect();
    const int x = origin.x() + static_cast<int>(std::lround(b.x() * context.Scale));
    const int y = origin.y() + static_cast<int>(std::lround(b.y() * context.Scale));
    const int w = static_cast<int>(std::lround(b.width() * context.Scale));
    const int h = static_cast<int>(std::lround(b.height() * context.Scale)) + extraHeight;
    return QRect(x, y, w, h);
}

void TQRPrintable::PrintFrame(TQRRunContext& context, const QRect& box)
{
    if (frameStyle_ < 0)
        return;
    const int l = box.x();
    const int t = box.y();
    const int r = box.x() + box.width();
    const int b = box.y() + box.height();
    if (frame_->DrawTop())
        context.Pages->AddLine(QPoint(l, t), QPoint(r, t), frameStyle_);
    if (frame_->DrawBottom())
        context.Pages->AddLine(QPoint(l, b), QPoint(r, b), frameStyle_);
    if (frame_->DrawLeft())
        context.Pages->AddLine(QPoint(l, t), QPoint(l, b), frameStyle_);
    if (frame_->DrawRight())
        context.Pages->AddLine(QPoint(r, t), QPoint(r, b), frameStyle_);
}

void TQRCustomLabel::BeginRun(TQRRunContext& context)
{
    TQRPrintable::BeginRun(context);
    styleModel_ = nullptr;
}

int TQRCustomLabel::styleIndex(TQRRunContext& context)
{
    // Each run has its own model; the style index is looked up once per run.
    if (styleModel_ != context.Pages) {
        style_ = context.Pages->TextStyleIndex(textStyleOf(Font()));
        styleModel_ = context.Pages;
    }
    return style_;
}

int TQRCustomLabel::Measure(TQRRunContext& context)
{
    text_ = GetText();
    if (onPrint_.Assigned())
        onPrint_(this, text_);
    extra_ = 0;
    if (autoStretch_ && wordWrap_ && !text_.isEmpty()) {
        const QFontMetricsF metrics(qfontOf(context.Pages->TextStyle(styleIndex(context))), measureDevice());
        // Widths and heights here are 96-dpi pixels at zoom 100.
        const double zoom = context.Report ? context.Report->Zoom() / 100.0 : 1.0;
        const QRectF needed
            = metrics.boundingRect(QRectF(0, 0, Width() / zoom, 1e6), Qt::TextWordWrap, text_);
        const double neededUnits = needed.height() * 2540.0 / 96.0;
        const double designUnits = Height() * context.Scale;
        extra_ = std::max(0, static_cast<int>(std::ceil(neededUnits - designUnits)));
    }
    return extra_;
}

void TQRCustomLabel::Print(TQRRunContext& context, QPoint origin)
{
    const QRect box = PageBox(context, origin, extra_);
    std::uint8_t flags = alignFlag(alignment_);
    if (wordWrap_)
        flags |= TQRItem::WordWrap;
    if (autoSize_)
        flags |= TQRItem::NoClip;
    QRgb background = 0;
    if (!transparent_ && Color() != clWhite && Color() != clNone) {
        flags |= TQRItem::Opaque;
        background = ColorToQColor(Color()).rgba();
    }
    context.Pages->AddText(box, text_, styleIndex(context), flags, background);
    PrintFrame(context, box);
}

TQRLabel::TQRLabel(TComponent* owner)
    : TQRCustomLabel(owner)
{
    SetBounds(0, 0, 65, 17);
}

QString TQRLabel::DesignText() const
{
    return Caption().isEmpty() ? u'(' + Name() + u')' : Caption();
}

TQRDBText::TQRDBText(TComponent* owner)
    : TQRCustomLabel(owner)
{
    SetBounds(0, 0, 65, 17);
}

TQRDBIDText::TQRDBIDText(TComponent* owner)
    : TQRDBText(owner)
    , items_(new TStrings(this))
{
}

QString TQRDBIDText::GetText() const
{
    const QString value = TQRDBText::GetText();
    const QString key = value.trimmed();
    for (const QString& line : items_->Lines()) {
        const int eq = static_cast<int>(line.indexOf(u'='));
        if (eq >= 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1);
    }
    return value;
}

TQRExpr::TQRExpr(TComponent* owner)
    : TQRCustomLabel(owner)
{
    SetBounds(0, 0, 65, 17);
}

void TQRExpr::BeginRun(TQRRunContext& context)
{
    TQRCustomLabel::BeginRun(context);
    compiled_ = TQRExpression();
    if (expression_.trimmed().isEmpty())
        return;
    try {
        compiled_.Prepare(expression_, context.Environment);
    } catch (const EQRExprError& e) {
        context.Warn(QStringLiteral("%1: %2").arg(Name(), e.Message()));
    }
}

QString TQRExpr::GetText() const
{
    return compiled_.Prepared() ? compiled_.ValueText() : QString();
}

void TQRExpr::Print(TQRRunContext& context, QPoint origin)
{
    TQRCustomLabel::Print(context, origin);
    if (resetAfterPrint_)
        compiled_.Reset();
}

void TQRExpr::DropField(const QString& field)
{
    const QString name = field.trimmed();
    if (name.isEmpty())
        return;
    // A textual match rather than the parser's references: an expression
    // that does not parse, or names the field only inside a text, is cleared
    // too - printing a withheld field by mistake is the fault to avoid.
    const QRegularExpression reads(QStringLiteral("(^|[^A-Za-z0-9_])") + QRegularExpression::escape(name)
            + QStringLiteral("($|[^A-Za-z0-9_])"),
        QRegularExpression::CaseInsensitiveOption);
    if (reads.match(expression_).hasMatch()) {
        expression_.clear();
        compiled_ = TQRExpression();
    }
}

void TQRExpr::TakeDetailRow()
{
    if (compiled_.Prepared() && compiled_.IsAggregate())
        compiled_.Update();
}

TQRShape::TQRShape(TComponent* owner)
    : TQRPrintable(owner)
    , pen_(new TPen(this))
    , brush_(new TBrush(this))
{
    SetBounds(0, 0, 65, 65);
}

void TQRShape::SetPen(TPen* pen)
{
    pen_->SetColor(pen->Color());
    pen_->SetStyle(pen->Style());
    pen_->SetWidth(pen->Width());
}

void TQRShape::SetBrush(TBrush* brush)
{
    brush_->SetColor(brush->Color());
    brush_->SetStyle(brush->Style());
}

void TQRShape::BeginRun(TQRRunContext& context)
{
    TQRPrintable::BeginRun(context);
    TQRShapeStyle style;
    style.PenColor = ColorToQColor(pen_->Color()).rgba();
    style.PenWidth = static_cast<int>(std::lround(pen_->Width() * context.Scale));
    style.PenStyle = pen_->Style() == psClear ? Qt::NoPen : static_cast<Qt::PenStyle>(pen_->Style() + 1);
    style.Filled = brush_->Style() == bsSolid;
    style.BrushColor = ColorToQColor(brush_->Color()).rgba();
    style_ = context.Pages->ShapeStyleIndex(style);
}

void TQRShape::Print(TQRRunContext& context, QPoint origin)
{
    const QRect box = PageBox(context, origin);
    const int l = box.x();
    const int t = box.y();
    const int r = box.x() + box.width();
    const int b = box.y() + box.height();
    const int midX = l + box.width() / 2;
    const int midY = t + box.height() / 2;
    switch (shape_) {
    case qrsRectangle:
        context.Pages->AddRect(box, style_);
        break;
    case qrsCircle:
        context.Pages->AddEllipse(box, style_);
        break;
    case qrsHorLine:
        context.Pages->AddLine(QPoint(l, midY), QPoint(r, midY), style_);
        break;
    case qrsVertLine:
        context.Pages->AddLine(QPoint(midX, t), QPoint(midX, b), style_);
        break;
    case qrsTopAndBottom:
        context.Pages->AddLine(QPoint(l, t), QPoint(r, t), style_);
        context.Pages->AddLine(QPoint(l, b), QPoint(r, b), style_);
        break;
    case qrsRightAndLeft:
        context.Pages->AddLine(QPoint(l, t), QPoint(l, b), style_);
        context.Pages->AddLine(QPoint(r, t), QPoint(r, b), style_);
        break;
    }
}

TQRImage::TQRImage(TComponent* owner)
    : TQRPrintable(owner)
    , picture_(new TPicture(this))
{
    SetBounds(0, 0, 105, 105);
}

bool TQRImage::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (QImage::fromData(data).isNull())
        return false;
    picture_->SetData(data);
    return true;
}

void TQRImage::BeginRun(TQRRunContext& context)
{
    TQRPrintable::BeginRun(context);
    image_ = QImage();
    index_ = -1;
    if (picture_->Empty())
        return;
    image_ = QImage::fromData(picture_->Data());
    if (image_.isNull())
        context.Warn(QStringLiteral("%1: the picture cannot be read").arg(Name()));
    else
        index_ = context.Pages->ImageIndex(image_);
}

void TQRImage::Print(TQRRunContext& context, QPoint origin)
{
    const QRect box = PageBox(context, origin);
    if (index_ >= 0) {
        QRect target = box;
        if (!stretch_) {
            // The picture's own size at 96 dpi, never beyond the box.
            const QSize natural(static_cast<int>(image_.width() * 2540.0 / 96.0),
                static_cast<int>(image_.height() * 2540.0 / 96.0));
            target.setSize(natural.boundedTo(box.size()));
            if (center_)
                target.moveCenter(box.center());
        }
        context.Pages->AddImage(target, index_);
    }
    PrintFrame(context, box);
}
