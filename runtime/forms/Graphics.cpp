#include "runtime/forms/Graphics.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

TCanvas::TCanvas(QObject* parent)
    : TPersistent(parent)
    , font_(new TFont(this))
    , brush_(new TBrush(this))
    , pen_(new TPen(this))
{
}

void TCanvas::BeginDraw(QPainter* painter)
{
    painter_ = painter;
    penPos_ = QPoint();
}

void TCanvas::EndDraw()
{
    painter_ = nullptr;
}

QPainter& TCanvas::painter() const
{
    if (!painter_)
        throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    return *painter_;
}

void TCanvas::applyPen() const
{
    static const Qt::PenStyle styles[]
        = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    QPen pen(ColorToQColor(pen_->Color()));
    pen.setWidth(pen_->Width());
    pen.setStyle(styles[pen_->Style()]);
    painter_->setPen(pen);
}

void TCanvas::applyBrush() const
{
    painter_->setBrush(
        brush_->Style() == bsClear ? QBrush(Qt::NoBrush) : QBrush(ColorToQColor(brush_->Color())));
}

void TCanvas::FillRect(const QRect& rect)
{
    QPainter& p = painter();
    if (brush_->Style() != bsClear)
        p.fillRect(rect, ColorToQColor(brush_->Color()));
}

void TCanvas::FrameRect(const QRect& rect)
{
    QPainter& p = painter();
    p.save();
    p.setPen(ColorToQColor(brush_->Color()));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.restore();
}

void TCanvas::Rectangle(const QRect& rect)
{
    QPainter& p = painter();
    applyPen();
    applyBrush();
    p.drawRect(rect.adjusted(0, 0, -1, -1));
}

void TCanvas::Ellipse(const QRect& rect)
{
    QPainter& p = painter();
    applyPen();
    applyBrush();
    p.drawEllipse(rect.adjusted(0, 0, -1, -1));
}

void TCanvas::LineTo(int x, int y)
{
    QPainter& p = painter();
    applyPen();
    p.drawLine(penPos_, QPoint(x, y));
    penPos_ = QPoint(x, y);
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    QPainter& p = painter();
    const QFont font = font_->ToQFont();
    const QFontMetrics metrics(font);
    const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
    if (brush_->Style() != bsClear)
        p.fillRect(cell, ColorToQColor(brush_->Color()));
    p.setFont(font);
    p.setPen(ColorToQColor(font_->Color()));
    p.drawText(QPoint(x, y + metrics.ascent()), text);
    penPos_ = QPoint(x + cell.width(), y);
}

void TCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    QPainter& p = painter();
    p.save();
    FillRect(rect);
    p.setClipRect(rect, Qt::IntersectClip);
    const QFont font = font_->ToQFont();
    p.setFont(font);
    p.setPen(ColorToQColor(font_->Color()));
    p.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text);
    p.restore();
}

void TCanvas::Draw(int x, int y, const QPixmap& picture)
{
    painter().drawPixmap(x, y, picture);
}

void TCanvas::DrawFocusRect(const QRect& rect)
{
    QPainter& p = painter();
    p.save();
    QPen pen(ColorToQColor(clWindowText));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.restore();
}

int TCanvas::TextWidth(const QString& text) const
{
    return QFontMetrics(font_->ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return QFontMetrics(font_->ToQFont()).height();
}
