#include "chart/WmfCanvas.h"

#include "common/Cp1251.h"

#include <cmath>

namespace {
uint16_t PenStyle(TCanvasPenStyle style) {
    switch (style) {
    case TCanvasPenStyle::Solid:
        return Wmf::PenSolid;
    case TCanvasPenStyle::Dash:
        return Wmf::PenDash;
    case TCanvasPenStyle::Dot:
        return Wmf::PenDot;
    case TCanvasPenStyle::DashDot:
        return Wmf::PenDashDot;
    case TCanvasPenStyle::None:
        break;
    }
    return Wmf::PenNull;
}

int Round(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -32768.0, 32767.0)));
}

QPoint Rounded(QPointF p) {
    return QPoint(Round(p.x()), Round(p.y()));
}

// Rectangle with the outline on its edges, as QPainter draws it: GDI leaves out the right and
// bottom edge.
QRect OutlineRect(const QRectF& r) {
    const QPoint tl = Rounded(r.topLeft());
    const QPoint br = Rounded(r.bottomRight());
    return QRect(tl.x(), tl.y(), br.x() - tl.x() + 1, br.y() - tl.y() + 1);
}
} // namespace

TWmfCanvas::TWmfCanvas(QSize size) : Writer(QRect(QPoint(0, 0), size), static_cast<int>(CanvasUnitsPerInch)) {
    Writer.SetMapMode(Wmf::MapAnisotropic);
    Writer.SetWindowOrg(0, 0);
    Writer.SetWindowExt(size.width(), size.height());
    Writer.SetBkMode(Wmf::BkTransparent);
    Writer.SetTextAlign(0); // top left, current position not updated
    Writer.SetPolyFillMode(Wmf::FillWinding);
    Writer.SetTextColor(State.TextColor);
}

TWmfCanvas::~TWmfCanvas() = default;

void TWmfCanvas::Replace(int& slot, int newSlot, int pinnedSlot) {
    Writer.SelectObject(newSlot);
    // The object saved with the clip comes back when the clip ends and must live until then.
    if (slot >= 0 && !(Clipped && slot == pinnedSlot))
        Writer.DeleteObject(slot);
    slot = newSlot;
}

void TWmfCanvas::RealizePen() {
    if (State.Pen.Slot >= 0 && State.Pen.Value == CurPen)
        return;
    const int slot = Writer.CreatePen(PenStyle(CurPen.Style), std::max(1, CurPen.Width), CurPen.Color);
    Replace(State.Pen.Slot, slot, Saved.Pen.Slot);
    State.Pen.Value = CurPen;
}

void TWmfCanvas::RealizeBrush() {
    if (State.Brush.Slot >= 0 && State.Brush.Value == CurBrush)
        return;
    const int slot = Writer.CreateBrush(
        CurBrush.Style == TCanvasBrushStyle::None ? Wmf::BrushNull : Wmf::BrushSolid, CurBrush.Color);
    Replace(State.Brush.Slot, slot, Saved.Brush.Slot);
    State.Brush.Value = CurBrush;
}

void TWmfCanvas::RealizeFont() {
    // The colour is not part of a metafile font.
    TCanvasFont shape = CurFont;
    shape.Color = QColor();
    if (State.Font.Slot < 0 || !(State.Font.Value == shape)) {
        TWmfFontSpec fontDef;
        fontDef.Height = CanvasFontPixels(CurFont);
        fontDef.Bold = CurFont.Bold;
        fontDef.Italic = CurFont.Italic;
        fontDef.Underline = CurFont.Underline;
        fontDef.Face = Cp1251::Encode(CurFont.Face);
        const int slot = Writer.CreateFont(fontDef);
        Replace(State.Font.Slot, slot, Saved.Font.Slot);
        State.Font.Value = shape;
    }
    if (State.TextColor != CurFont.Color) {
        Writer.SetTextColor(CurFont.Color);
        State.TextColor = CurFont.Color;
    }
}

std::vector<QPoint> TWmfCanvas::Rounded(std::span<const QPointF> points) const {
    std::vector<QPoint> out;
    out.reserve(points.size());
    for (const QPointF& p : points) {
        const QPoint q = ::Rounded(p);
        // Points that fall on the same logical unit add nothing but bytes.
        if (out.empty() || out.back() != q)
            out.push_back(q);
    }
    return out;
}

void TWmfCanvas::Line(QPointF from, QPointF to) {
    if (CurPen.Style == TCanvasPenStyle::None)
        return;
    RealizePen();
    Writer.MoveTo(::Rounded(from));
    Writer.LineTo(::Rounded(to));
}

void TWmfCanvas::Polyline(std::span<const QPointF> points) {
    if (points.size() < 2 || CurPen.Style == TCanvasPenStyle::None)
        return;
    std::vector<QPoint> pts = Rounded(points);
    if (pts.size() == 1)
        pts.push_back(pts.front()); // still a dot on playback
    RealizePen();
    Writer.Polyline(pts);
}

void TWmfCanvas::Polygon(std::span<const QPointF> points) {
    if (points.size() < 3)
        return;
    const std::vector<QPoint> pts = Rounded(points);
    if (pts.size() < 3)
        return;
    RealizePen();
    RealizeBrush();
    Writer.Polygon(pts);
}

void TWmfCanvas::Rectangle(const QRectF& rect) {
    RealizePen();
    RealizeBrush();
    Writer.Rectangle(OutlineRect(rect));
}

void TWmfCanvas::FillRect(const QRectF& rect, const QColor& color) {
    const TCanvasPen pen = CurPen;
    const TCanvasBrush brush = CurBrush;
    CurPen = TCanvasPen{color, 1, TCanvasPenStyle::None};
    CurBrush = TCanvasBrush{color, TCanvasBrushStyle::Solid};
    RealizePen();
    RealizeBrush();
    // Without a pen GDI fills one unit less in each direction.
    const QPoint tl = ::Rounded(rect.topLeft());
    const QPoint br = ::Rounded(rect.bottomRight());
    Writer.Rectangle(QRect(tl.x(), tl.y(), br.x() - tl.x() + 1, br.y() - tl.y() + 1));
    CurPen = pen;
    CurBrush = brush;
}

void TWmfCanvas::Text(QPointF topLeft, const QString& text) {
    if (text.isEmpty())
        return;
    RealizeFont();
    Writer.ExtTextOut(::Rounded(topLeft), Cp1251::Encode(text));
}

void TWmfCanvas::SetClipRect(const QRectF& rect) {
    ResetClip();
    Writer.SaveDc();
    Saved = State;
    Clipped = true;
    const QPoint tl = ::Rounded(rect.topLeft());
    const QPoint br = ::Rounded(rect.bottomRight());
    Writer.IntersectClipRect(QRect(tl, br));
}

void TWmfCanvas::ResetClip() {
    if (!Clipped)
        return;
    Writer.RestoreDc(-1);
    Clipped = false;
    // Objects made inside the clip are no longer selected: free them and take back the saved ones.
    if (State.Pen.Slot != Saved.Pen.Slot && State.Pen.Slot >= 0)
        Writer.DeleteObject(State.Pen.Slot);
    if (State.Brush.Slot != Saved.Brush.Slot && State.Brush.Slot >= 0)
        Writer.DeleteObject(State.Brush.Slot);
    if (State.Font.Slot != Saved.Font.Slot && State.Font.Slot >= 0)
        Writer.DeleteObject(State.Font.Slot);
    State = Saved;
    Saved = TDcState{};
}

QByteArray TWmfCanvas::Finish() {
    if (Finished)
        return {};
    ResetClip();
    Finished = true;
    return Writer.Finish();
}
