#pragma once
// One small drawing interface shared by the screen, the printer, PNG images, Windows metafiles and
// SVG files, so that the chart is drawn by one piece of code on every surface.
//
// Coordinates are logical units of 1/96 inch ("pixels" on an ordinary screen); font sizes are
// points. Text is measured in the same way on every surface so that layouts agree.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>
#include <span>

enum class TCanvasPenStyle { Solid, Dash, Dot, DashDot, None };
enum class TCanvasBrushStyle { Solid, None };

struct TCanvasPen {
    QColor Color = Qt::black;
    int Width = 1; // logical units; 0 is drawn as 1
    TCanvasPenStyle Style = TCanvasPenStyle::Solid;
    bool operator==(const TCanvasPen&) const = default;
};

struct TCanvasBrush {
    QColor Color = Qt::white;
    TCanvasBrushStyle Style = TCanvasBrushStyle::Solid;
    bool operator==(const TCanvasBrush&) const = default;
};

struct TCanvasFont {
    QString Face = QStringLiteral("Arial");
    double Size = 8; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    QColor Color = Qt::black;
    bool operator==(const TCanvasFont&) const = default;
};

// Logical units per inch of every canvas.
inline constexpr double CanvasUnitsPerInch = 96.0;

// Character height of a font in logical units.
int CanvasFontPixels(const TCanvasFont& font);

// QFont equivalent of a canvas font (pixel-sized, so it scales with the painter's transform).
QFont ToQFont(const TCanvasFont& font);

class TCanvas {
public:
    virtual ~TCanvas();

    // Drawing state; each surface realises it when it next draws.
    void SetPen(const TCanvasPen& pen) { CurPen = pen; }
    void SetBrush(const TCanvasBrush& brush) { CurBrush = brush; }
    void SetFont(const TCanvasFont& font);
    const TCanvasPen& Pen() const { return CurPen; }
    const TCanvasBrush& Brush() const { return CurBrush; }
    const TCanvasFont& Font() const { return CurFont; }

    // Size of a text in the current font (width, ascent + descent) and its ascent.
    QSizeF TextExtent(const QString& text) const;
    double TextAscent() const;

    virtual void Line(QPointF from, QPointF to) = 0;
    virtual void Polyline(std::span<const QPointF> points) = 0;
    // Outlined with the pen, filled with the brush by the nonzero winding rule.
    virtual void Polygon(std::span<const QPointF> points) = 0;
    virtual void Rectangle(const QRectF& rect) = 0;
    // Filled without outline, whatever the pen and brush are.
    virtual void FillRect(const QRectF& rect, const QColor& color) = 0;
    // Text in the current font and font colour, its top-left corner at topLeft.
    virtual void Text(QPointF topLeft, const QString& text) = 0;
    // Drawing is limited to rect until ResetClip; clips do not nest.
    virtual void SetClipRect(const QRectF& rect) = 0;
    virtual void ResetClip() = 0;

protected:
    TCanvasPen CurPen;
    TCanvasBrush CurBrush;
    TCanvasFont CurFont;

private:
    const QFontMetricsF& Metrics() const;
    mutable std::unique_ptr<QFontMetricsF> CachedMetrics;
};
