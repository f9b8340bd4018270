#pragma once
// Canvas that records a Windows metafile: pens, brushes and fonts become metafile objects when
// they are first needed and are deleted when replaced, so the object table stays small.
#include "chart/Canvas.h"
#include "formats/WmfWriter.h"

#include <QSize>

class TWmfCanvas : public TCanvas {
public:
    // The picture's size in logical units, 96 to the inch.
    explicit TWmfCanvas(QSize size);
    ~TWmfCanvas() override;

    void Line(QPointF from, QPointF to) override;
    void Polyline(std::span<const QPointF> points) override;
    void Polygon(std::span<const QPointF> points) override;
    void Rectangle(const QRectF& rect) override;
    void FillRect(const QRectF& rect, const QColor& color) override;
    void Text(QPointF topLeft, const QString& text) override;
    void SetClipRect(const QRectF& rect) override;
    void ResetClip() override;

    // The complete file; the canvas can no longer be drawn on afterwards.
    QByteArray Finish();

private:
    // One kind of object and the slot now selected (-1: the device context's default).
    template <typename T> struct TRealized {
        int Slot = -1;
        T Value{};
    };
    struct TDcState {
        TRealized<TCanvasPen> Pen;
        TRealized<TCanvasBrush> Brush;
        TRealized<TCanvasFont> Font;
        QColor TextColor = Qt::black;
    };

    void RealizePen();
    void RealizeBrush();
    void RealizeFont();
    void Replace(int& slot, int newSlot, int pinnedSlot);
    std::vector<QPoint> Rounded(std::span<const QPointF> points) const;

    TWmfWriter Writer;
    TDcState State;
    // The state saved with the clip, which the device context returns to when the clip ends.
    TDcState Saved;
    bool Clipped = false;
    bool Finished = false;
};
