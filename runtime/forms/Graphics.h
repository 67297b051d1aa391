#pragma once
// TCanvas: what owner-drawn controls draw with. A control lends its canvas a
// QPainter while an item is drawn (BeginDraw/EndDraw); outside that the canvas
// only measures text. Brush fills, Pen draws lines and frames, Font writes.

#include "runtime/forms/Persistent.h"
#include "runtime/system/Exceptions.h"

#include <QPoint>
#include <QRect>
#include <algorithm>

class QPainter;
class QPixmap;

ZORV_EXCEPTION_CLASS(EInvalidOperation, Exception)

class TBrush : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(Vcl::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(Vcl::TBrushStyle Style READ Style WRITE SetStyle)
public:
    using TPersistent::TPersistent;
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetField(color_, value); }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value) { SetField(style_, value); }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TPen : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(Vcl::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(Vcl::TPenStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
public:
    using TPersistent::TPersistent;
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetField(color_, value); }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value) { SetField(style_, value); }
    int Width() const { return width_; }
    // 1 .. 100 pixels.
    void SetWidth(int value) { SetField(width_, std::clamp(value, 1, 100)); }

private:
    TColor color_ = clBlack;
    TPenStyle style_ = psSolid;
    int width_ = 1;
};

class TCanvas : public TPersistent {
    Q_OBJECT
public:
    explicit TCanvas(QObject* parent = nullptr);

    TFont* Font() const { return font_; }
    TBrush* Brush() const { return brush_; }
    TPen* Pen() const { return pen_; }
    // The painter lent for the current drawing, null outside one.
    QPainter* Handle() const { return painter_; }
    bool HandleAllocated() const { return painter_ != nullptr; }
    void BeginDraw(QPainter* painter);
    void EndDraw();

    // Drawing throws EInvalidOperation when no painter is lent.
    void FillRect(const QRect& rect);
    // A one-pixel frame in the brush colour.
    void FrameRect(const QRect& rect);
    // Filled with the brush, outlined with the pen.
    void Rectangle(const QRect& rect);
    void Ellipse(const QRect& rect);
    void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
    // A line from the pen position to (x, y), which becomes the pen position.
    void LineTo(int x, int y);
    QPoint PenPos() const { return penPos_; }
    // Text with its top-left corner at (x, y), on the brush unless the
    // brush is bsClear; the pen position moves to its end.
    void TextOut(int x, int y, const QString& text);
    // Text at (x, y) clipped to rect, which is filled with the brush first.
    void TextRect(const QRect& rect, int x, int y, const QString& text);
    void Draw(int x, int y, const QPixmap& picture);
    void DrawFocusRect(const QRect& rect);
    // Measured with Font, painter or not.
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

private:
    QPainter& painter() const;
    void applyPen() const;
    void applyBrush() const;

    TFont* font_;
    TBrush* brush_;
    TPen* pen_;
    QPainter* painter_ = nullptr;
    QPoint penPos_;
};

// Lends canvas a painter for one scope.
class TCanvasDraw {
public:
    TCanvasDraw(TCanvas* canvas, QPainter* painter)
        : canvas_(canvas)
    {
        canvas_->BeginDraw(painter);
    }
    ~TCanvasDraw() { canvas_->EndDraw(); }
    TCanvasDraw(const TCanvasDraw&) = delete;
    TCanvasDraw& operator=(const TCanvasDraw&) = delete;

private:
    TCanvas* canvas_;
};
