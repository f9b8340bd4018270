#pragma once
// Canvas that writes an SVG 1.1 document (UTF-8), so the chart can be saved as a vector image
// without another library.
#include "chart/Canvas.h"

#include <QByteArray>

class TSvgCanvas : public TCanvas {
public:
    // The document's size in logical units (1/96 inch, the SVG pixel).
    explicit TSvgCanvas(QSizeF size);
    ~TSvgCanvas() override;

    void Line(QPointF from, QPointF to) override;
    void Polyline(std::span<const QPointF> points) override;
    void Polygon(std::span<const QPointF> points) override;
    void Rectangle(const QRectF& rect) override;
    void FillRect(const QRectF& rect, const QColor& color) override;
    void Text(QPointF topLeft, const QString& text) override;
    void SetClipRect(const QRectF& rect) override;
    void ResetClip() override;

    // The complete document; the canvas can no longer be drawn on afterwards.
    QByteArray Finish();

private:
    void Append(const char* text);
    void AppendNumber(double value);
    void AppendPoints(std::span<const QPointF> points);
    void AppendStroke();
    void AppendFill(const TCanvasBrush& brush);

    QByteArray Out;
    int ClipCount = 0;
    bool Clipped = false;
    bool Finished = false;
};
