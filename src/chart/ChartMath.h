#pragma once
// Arithmetic of the chart that needs no widget: number texts of the axes, tick positions, the
// scaling and moving commands, and cutting lines at the plot's edges.
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringView>
#include <span>
#include <vector>

struct TAxisRange {
    double Min = 0;
    double Max = 1;
    double Span() const { return Max - Min; }
    bool operator==(const TAxisRange&) const = default;
};

// Formats like a Delphi number mask: "#,##0.0000" gives "1,234,567.5000"; "#,##0.###" gives at
// most three decimals without trailing zeros. "," anywhere before "." groups the integer digits by
// thousands; "0" is a digit always shown, "#" one shown only when needed. "." is always the
// decimal separator. A value that rounds to zero has no minus sign.
QString FormatFloatMask(double value, QStringView mask);

// Tick values at a "nice" step (1, 2 or 5 times a power of ten) inside [min, max], at most
// maxCount + 1 of them; none when the range is empty or not finite.
std::vector<double> NiceTicks(double min, double max, int maxCount);
// The step NiceTicks uses.
double NiceStep(double min, double max, int maxCount);

// The scaling and moving commands of the measurement chart. The step is the range / 30, taken
// before the change; each returns the new range of its axis.
namespace ChartCommands {
double Step(const TAxisRange& r);
TAxisRange ZoomOutX(const TAxisRange& x); // maximum + step
TAxisRange ZoomInX(const TAxisRange& x);  // maximum - step
TAxisRange ZoomOutY(const TAxisRange& y); // maximum + step, minimum - step
TAxisRange ZoomInY(const TAxisRange& y);  // minimum + step, maximum - step
// Both bounds - step; when that would make the minimum negative, the window keeps its width and
// starts at 0.
TAxisRange MoveLeft(const TAxisRange& x);
TAxisRange MoveRight(const TAxisRange& x); // both bounds + step
TAxisRange MoveDown(const TAxisRange& y);  // both bounds + step: the lines go down
TAxisRange MoveUp(const TAxisRange& y);    // both bounds - step: the lines go up
} // namespace ChartCommands

// A polyline cut at the edges of rect: the pieces that lie inside, in order. Needed because a
// zoomed-in axis maps far-away points to coordinates that some surfaces (16-bit metafiles) cannot
// hold without bending the lines.
struct TPolylinePieces {
    std::vector<QPointF> Points;
    std::vector<size_t> Starts; // first point of each piece in Points
    size_t PieceCount() const { return Starts.size(); }
    std::span<const QPointF> Piece(size_t i) const;
};
void ClipPolyline(std::span<const QPointF> points, const QRectF& rect, TPolylinePieces& out);
