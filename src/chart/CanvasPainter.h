#pragma once
// Canvas on a QPainter: the screen, printers, PDF files and images.
#include "chart/Canvas.h"

#include <optional>

class QPainter;

class TPainterCanvas : public TCanvas {
public:
    // The painter stays owned by the caller and must outlive the canvas. Its transform maps the
    // canvas's logical units to the device (identity on screens and images at 96 dpi).
    explicit TPainterCanvas(QPainter& painter);
    ~TPainterCanvas() override;

    void Line(QPointF from, QPointF to) override;
    void Polyline(std::span<const QPointF> points) override;
    void Polygon(std::span<const QPointF> points) override;
    void Rectangle(const QRectF& rect) override;
    void FillRect(const QRectF& rect, const QColor& color) override;
    void Text(QPointF topLeft, const QString& text) override;
    void SetClipRect(const QRectF& rect) override;
    void ResetClip() override;

private:
    void ApplyPen();
    void ApplyBrush();

    QPainter& Painter;
    std::optional<TCanvasPen> AppliedPen;
    std::optional<TCanvasBrush> AppliedBrush;
    std::optional<TCanvasFont> AppliedFont;
};
