#include "chart/CanvasPainter.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

namespace {
Qt::PenStyle ToQt(TCanvasPenStyle style) {
    switch (style) {
    case TCanvasPenStyle::Solid:
        return Qt::SolidLine;
    case TCanvasPenStyle::Dash:
        return Qt::DashLine;
    case TCanvasPenStyle::Dot:
        return Qt::DotLine;
    case TCanvasPenStyle::DashDot:
        return Qt::DashDotLine;
    case TCanvasPenStyle::None:
        break;
    }
    return Qt::NoPen;
}
} // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter) : Painter(painter) {}

TPainterCanvas::~TPainterCanvas() = default;

void TPainterCanvas::ApplyPen() {
    if (AppliedPen && *AppliedPen == CurPen)
        return;
    QPen pen(CurPen.Color, std::max(1, CurPen.Width), ToQt(CurPen.Style));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Thin lines at one device pixel per unit take the raster engine's fast path; scaled painters
    // (printers) keep real widths so lines do not shrink to a device pixel.
    const QTransform& t = Painter.worldTransform();
    pen.setCosmetic(CurPen.Width <= 1 && t.m11() == 1 && t.m22() == 1);
    Painter.setPen(pen);
    AppliedPen = CurPen;
}

void TPainterCanvas::ApplyBrush() {
    if (AppliedBrush && *AppliedBrush == CurBrush)
        return;
    if (CurBrush.Style == TCanvasBrushStyle::None)
        Painter.setBrush(Qt::NoBrush);
    else
        Painter.setBrush(CurBrush.Color);
    AppliedBrush = CurBrush;
}

void TPainterCanvas::Line(QPointF from, QPointF to) {
    ApplyPen();
    Painter.drawLine(from, to);
}

void TPainterCanvas::Polyline(std::span<const QPointF> points) {
    if (points.size() < 2)
        return;
    ApplyPen();
    Painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void TPainterCanvas::Polygon(std::span<const QPointF> points) {
    if (points.size() < 3)
        return;
    ApplyPen();
    ApplyBrush();
    Painter.drawPolygon(points.data(), static_cast<int>(points.size()), Qt::WindingFill);
}

void TPainterCanvas::Rectangle(const QRectF& rect) {
    ApplyPen();
    ApplyBrush();
    Painter.drawRect(rect);
}

void TPainterCanvas::FillRect(const QRectF& rect, const QColor& color) {
    Painter.fillRect(rect, color);
}

void TPainterCanvas::Text(QPointF topLeft, const QString& text) {
    if (!AppliedFont || !(*AppliedFont == CurFont)) {
        Painter.setFont(ToQFont(CurFont));
        AppliedFont = CurFont;
    }
    // The pen carries the text colour in QPainter; the line pen is realised again on the next line.
    Painter.setPen(CurFont.Color);
    AppliedPen.reset();
    Painter.drawText(QPointF(topLeft.x(), topLeft.y() + TextAscent()), text);
}

void TPainterCanvas::SetClipRect(const QRectF& rect) {
    Painter.setClipRect(rect);
}

void TPainterCanvas::ResetClip() {
    Painter.setClipping(false);
}
