#include "chart/Chart.h"

#include "chart/CanvasPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr double TickLength = 4;
constexpr double LabelGap = 2;
constexpr double LegendPad = 4;
constexpr double LegendSwatch = 16;
constexpr double LegendGap = 8;
constexpr int MinDragPixels = 4;
const QColor WallFrameColor(128, 128, 128);
const QColor GridColor(160, 160, 160);
const QColor FloorColor(216, 216, 216);
const QColor SideWallColor(236, 236, 236);

// A window that can be drawn: bounds in order and apart.
TAxisRange Drawable(TAxisRange r) {
    if (!std::isfinite(r.Min) || !std::isfinite(r.Max))
        return {0, 1};
    if (r.Max < r.Min)
        std::swap(r.Min, r.Max);
    if (r.Max > r.Min)
        return r;
    const double half = r.Min == 0 ? 1 : std::fabs(r.Min) * 0.1;
    return {r.Min - half, r.Max + half};
}

// Enough decimals that neighbouring X labels differ, never fewer than the mask's.
QString XMaskForStep(const QString& mask, double step) {
    if (!(step > 0))
        return mask;
    const int needed = static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    const qsizetype dot = mask.indexOf(QLatin1Char('.'));
    const int have = dot < 0 ? 0 : static_cast<int>(mask.size() - dot - 1);
    if (needed <= have)
        return mask;
    return (dot < 0 ? mask + QLatin1Char('.') : mask) + QString(needed - have, QLatin1Char('#'));
}
} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 80);
}

TChart::~TChart() = default;

const std::vector<QColor>& TChart::Palette() {
    // Distinct colours that all read well on the white back wall.
    static const std::vector<QColor> colors = {
        QColor(255, 0, 0),   QColor(0, 128, 0),   QColor(0, 0, 255), QColor(255, 128, 0),
        QColor(128, 0, 128), QColor(0, 128, 128), QColor(128, 0, 0), QColor(128, 128, 0),
        QColor(0, 0, 128),   QColor(255, 0, 255), QColor(0, 192, 0), QColor(128, 128, 128),
        QColor(0, 160, 255), QColor(160, 80, 32), QColor(0, 0, 0),   QColor(176, 176, 0),
    };
    return colors;
}

int TChart::AddSeries(const QString& title) {
    const int index = SeriesCount();
    const QString t = title.isEmpty() ? tr("Канал %1").arg(index + 1) : title;
    SeriesList.push_back(
        std::make_unique<TChartSeries>(t, Palette()[static_cast<size_t>(index) % Palette().size()]));
    Changed();
    return index;
}

void TChart::RemoveAllSeries() {
    SeriesList.clear();
    Changed();
}

void TChart::ClearSeries() {
    for (auto& s : SeriesList)
        s->Clear();
    Changed();
}

void TChart::ClearPoints(int series) {
    if (series < 0 || series >= SeriesCount())
        return;
    SeriesList[static_cast<size_t>(series)]->Clear();
    Changed();
}

bool TChart::AddPoint(int series, double x, double y) {
    if (series < 0 || series >= SeriesCount())
        return false;
    if (!SeriesList[static_cast<size_t>(series)]->Add(x, y))
        return false;
    Changed();
    return true;
}

bool TChart::AddPointQuietly(int series, double x, double y) {
    return series >= 0 && series < SeriesCount() && SeriesList[static_cast<size_t>(series)]->Add(x, y);
}

void TChart::BreakSeries() {
    for (auto& s : SeriesList)
        s->Break();
}

void TChart::SetSeriesTitle(int series, const QString& title) {
    if (series < 0 || series >= SeriesCount())
        return;
    SeriesList[static_cast<size_t>(series)]->Title = title;
    Changed();
}

qlonglong TChart::PointCount() const {
    qlonglong n = 0;
    for (const auto& s : SeriesList)
        n += static_cast<qlonglong>(s->Count());
    return n;
}

size_t TChart::CapacityBytes() const {
    size_t bytes = 0;
    for (const auto& s : SeriesList)
        bytes += s->CapacityBytes();
    return bytes;
}

size_t TChart::UsedBytes() const {
    size_t bytes = 0;
    for (const auto& s : SeriesList)
        bytes += s->UsedBytes();
    return bytes;
}

void TChart::Changed() {
    update();
}

bool TChart::HasPoints() const {
    return std::any_of(SeriesList.begin(), SeriesList.end(), [](const auto& s) { return s->Count() > 0; });
}

TAxisRange TChart::DataXRange() const {
    if (!HasPoints())
        return {0, 1};
    double lo = INFINITY;
    double hi = -INFINITY;
    for (const auto& s : SeriesList) {
        if (s->Count() == 0)
            continue;
        lo = std::min(lo, s->MinX());
        hi = std::max(hi, s->MaxX());
    }
    // A single moment: show the minute after it, time only grows.
    if (!(hi > lo))
        return {lo, lo + 1};
    return {lo, hi};
}

TAxisRange TChart::DataYRange() const {
    if (!HasPoints())
        return {0, 1};
    double lo = INFINITY;
    double hi = -INFINITY;
    for (const auto& s : SeriesList) {
        if (s->Count() == 0)
            continue;
        lo = std::min(lo, s->MinY());
        hi = std::max(hi, s->MaxY());
    }
    return Drawable({lo, hi});
}

TAxisRange TChart::XRange() const {
    if (AutoXOn)
        return DataXRange();
    if (FollowWidth > 0) {
        double newest = -INFINITY;
        for (const auto& s : SeriesList)
            if (s->Count() > 0)
                newest = std::max(newest, s->MaxX());
        const double from = std::max(FollowFrom, newest - FollowWidth);
        return {from, from + FollowWidth};
    }
    return ManualX;
}

void TChart::SetFollow(double width) {
    if (width > 0 && std::isfinite(width)) {
        FollowFrom = XRange().Min;
        AutoXOn = false;
        SetFollowWidth(width);
    } else if (FollowWidth > 0) {
        ManualX = XRange();
        SetFollowWidth(0);
    }
    Changed();
}

void TChart::SetFollowWidth(double width) {
    const bool was = Following();
    FollowWidth = width;
    if (Following() != was)
        emit FollowingChanged(Following());
}

TAxisRange TChart::YRange() const {
    return AutoYOn ? DataYRange() : ManualY;
}

void TChart::SetXRange(const TAxisRange& range) {
    ManualX = range;
    AutoXOn = false;
    SetFollowWidth(0);
    Changed();
}

void TChart::SetYRange(const TAxisRange& range) {
    ManualY = range;
    AutoYOn = false;
    Changed();
}

void TChart::SetXMin(double value) {
    SetXRange({value, XRange().Max});
}
void TChart::SetXMax(double value) {
    SetXRange({XRange().Min, value});
}
void TChart::SetYMin(double value) {
    SetYRange({value, YRange().Max});
}
void TChart::SetYMax(double value) {
    SetYRange({YRange().Min, value});
}

void TChart::SetAutoX(bool on) {
    if (!on && AutoXOn)
        ManualX = DataXRange();
    if (on)
        EndFollow();
    AutoXOn = on;
    Changed();
}

void TChart::SetAutoY(bool on) {
    if (!on && AutoYOn)
        ManualY = DataYRange();
    AutoYOn = on;
    Changed();
}

bool TChart::CommandX(TAxisRange (*command)(const TAxisRange&)) {
    // Zoom and move commands do nothing while the chart has no series.
    if (SeriesList.empty())
        return false;
    const TAxisRange next = command(XRange());
    EndFollow();
    SetXRange(next);
    return true;
}

bool TChart::CommandY(TAxisRange (*command)(const TAxisRange&)) {
    if (SeriesList.empty())
        return false;
    SetYRange(command(YRange()));
    return true;
}

bool TChart::ZoomOutX() {
    return CommandX(&ChartCommands::ZoomOutX);
}

bool TChart::ZoomInX() {
    return CommandX(&ChartCommands::ZoomInX);
}

bool TChart::ZoomOutY() {
    return CommandY(&ChartCommands::ZoomOutY);
}

bool TChart::ZoomInY() {
    return CommandY(&ChartCommands::ZoomInY);
}

bool TChart::MoveLeft() {
    return CommandX(&ChartCommands::MoveLeft);
}

bool TChart::MoveRight() {
    return CommandX(&ChartCommands::MoveRight);
}

bool TChart::MoveDown() {
    return CommandY(&ChartCommands::MoveDown);
}

bool TChart::MoveUp() {
    return CommandY(&ChartCommands::MoveUp);
}

void TChart::SetLegendVisible(bool on) {
    LegendOn = on;
    Changed();
}

void TChart::SetLegendShowsValues(bool on) {
    LegendValues = on;
    Changed();
}

void TChart::Set3D(bool on) {
    ThreeD = on;
    Changed();
}

void TChart::SetYLabelFormat(const QString& mask) {
    YMask = mask;
    Changed();
}

void TChart::SetXLabelFormat(const QString& mask) {
    XMask = mask;
    Changed();
}

void TChart::Draw(TCanvas& canvas, const QRectF& rect) const {
    DrawChart(canvas, rect);
}

QPointF TChart::ValueAt(QPointF pos) const {
    const TLayout& l = Last;
    if (l.Plot.width() <= 0 || l.YBottom <= l.YTop)
        return {};
    const double x = l.X.Min + (pos.x() - l.Plot.left()) / l.Plot.width() * l.X.Span();
    const double y = l.Y.Min + (l.YBottom - pos.y()) / (l.YBottom - l.YTop) * l.Y.Span();
    return {x, y};
}

TChart::TLayout TChart::DrawChart(TCanvas& canvas, const QRectF& rect) const {
    TLayout layout;
    canvas.FillRect(rect, Qt::white);
    const QRectF inner =
        rect.adjusted(rect.width() * 0.01, rect.height() * 0.01, -rect.width() * 0.01, -rect.height() * 0.01);
    if (inner.width() < 40 || inner.height() < 40)
        return layout;
    layout.X = Drawable(XRange());
    layout.Y = Drawable(YRange());

    canvas.SetFont(TCanvasFont{});
    const double lineH = canvas.TextExtent(QStringLiteral("0")).height();
    double right = inner.right();

    // Legend at the right, its rows decided before the plot takes the rest.
    QRectF legendBox;
    int legendRows = 0;
    if (LegendOn && !SeriesList.empty()) {
        const double rowH = lineH + 2;
        const int fit = std::max(0, static_cast<int>((inner.height() - 2 * LegendPad) / rowH));
        double textW = 0;
        if (LegendValues) {
            const TChartSeries& s = *SeriesList.front();
            legendRows = static_cast<int>(std::min<size_t>(static_cast<size_t>(fit), s.Count()));
            for (size_t i = s.Count() - static_cast<size_t>(legendRows); i < s.Count(); ++i)
                textW = std::max(textW, canvas.TextExtent(FormatFloatMask(s.Y(i), YMask)).width());
        } else {
            legendRows = std::min(fit, SeriesCount());
            for (int i = 0; i < legendRows; ++i)
                textW = std::max(textW, canvas.TextExtent(SeriesList[static_cast<size_t>(i)]->Title).width());
        }
        if (legendRows > 0) {
            const double w = std::ceil(LegendPad * 3 + LegendSwatch + textW);
            legendBox = QRectF(std::round(inner.right() - w), std::round(inner.top()), w,
                               std::ceil(legendRows * rowH + 2 * LegendPad));
            right = legendBox.left() - LegendGap;
        }
    }

    const double depth = ThreeD ? std::round(std::min(inner.width(), inner.height()) * 0.12) : 0;
    const double plotTop = std::round(inner.top() + depth);
    const double plotBottom = std::round(inner.bottom() - (lineH + TickLength + LabelGap));
    const double plotH = plotBottom - plotTop;
    // The left axis spans 5 to 95 percent of the plot's height.
    layout.YTop = plotTop + 0.05 * plotH;
    layout.YBottom = plotTop + 0.95 * plotH;

    const int maxYTicks = std::max(1, static_cast<int>((layout.YBottom - layout.YTop) / (2 * lineH)));
    const std::vector<double> yTicks = NiceTicks(layout.Y.Min, layout.Y.Max, maxYTicks);
    std::vector<QString> yLabels;
    double yLabelW = 0;
    for (double t : yTicks) {
        yLabels.push_back(FormatFloatMask(t, YMask));
        yLabelW = std::max(yLabelW, canvas.TextExtent(yLabels.back()).width());
    }
    const double plotLeft = std::round(inner.left() + yLabelW + TickLength + LabelGap);
    const double plotRight = std::round(right - depth);
    layout.Plot = QRectF(plotLeft, plotTop, std::max(0.0, plotRight - plotLeft), std::max(0.0, plotH));
    const QRectF& plot = layout.Plot;
    if (plot.width() < 10 || plot.height() < 10) {
        layout.Plot = QRectF();
        return layout;
    }

    // X ticks: as many as their labels leave room for.
    const double charW = canvas.TextExtent(QStringLiteral("0")).width();
    int maxXTicks = std::max(1, static_cast<int>(plot.width() / (charW * 8)));
    std::vector<double> xTicks;
    std::vector<QString> xLabels;
    for (int attempt = 0; attempt < 4; ++attempt) {
        xTicks = NiceTicks(layout.X.Min, layout.X.Max, maxXTicks);
        const QString mask = XMaskForStep(XMask, NiceStep(layout.X.Min, layout.X.Max, maxXTicks));
        xLabels.clear();
        double widest = 0;
        for (double t : xTicks) {
            xLabels.push_back(FormatFloatMask(t, mask));
            widest = std::max(widest, canvas.TextExtent(xLabels.back()).width());
        }
        const int fit = std::max(1, static_cast<int>(plot.width() / (widest + 3 * charW)));
        if (static_cast<int>(xTicks.size()) <= fit + 1 || maxXTicks == 1)
            break;
        maxXTicks = std::max(1, fit);
    }

    auto xPix = [&](double v) { return plot.left() + (v - layout.X.Min) * (plot.width() / layout.X.Span()); };
    auto yPix = [&](double v) {
        return layout.YBottom - (v - layout.Y.Min) * ((layout.YBottom - layout.YTop) / layout.Y.Span());
    };

    // Walls: white back wall; in 3D it stands behind, with a side wall and a floor.
    const QRectF back = plot.translated(depth, -depth);
    if (ThreeD) {
        canvas.SetPen(TCanvasPen{WallFrameColor});
        canvas.SetBrush(TCanvasBrush{FloorColor});
        const QPointF floor[] = {plot.bottomLeft(), plot.bottomRight(), back.bottomRight(),
                                 back.bottomLeft()};
        canvas.Polygon(floor);
        canvas.SetBrush(TCanvasBrush{SideWallColor});
        const QPointF side[] = {plot.topLeft(), back.topLeft(), back.bottomLeft(), plot.bottomLeft()};
        canvas.Polygon(side);
    }
    canvas.SetPen(TCanvasPen{WallFrameColor});
    canvas.SetBrush(TCanvasBrush{Qt::white});
    canvas.Rectangle(back);

    canvas.SetPen(TCanvasPen{GridColor, 1, TCanvasPenStyle::Dot});
    for (double t : yTicks) {
        const double y = std::round(yPix(t)) - depth;
        canvas.Line(QPointF(back.left(), y), QPointF(back.right(), y));
    }
    for (double t : xTicks) {
        const double x = std::round(xPix(t)) + depth;
        canvas.Line(QPointF(x, back.top()), QPointF(x, back.bottom()));
    }

    canvas.SetClipRect(
        QRectF(plot.left(), back.top(), back.right() - plot.left(), plot.bottom() - back.top()));
    DrawSeries(canvas, layout, depth);
    canvas.ResetClip();

    // Axes on the front plane with ticks and labels.
    canvas.SetPen(TCanvasPen{Qt::black});
    canvas.Line(QPointF(plot.left(), std::round(layout.YTop)),
                QPointF(plot.left(), std::round(layout.YBottom)));
    canvas.Line(plot.bottomLeft(), plot.bottomRight());
    canvas.SetFont(TCanvasFont{});
    for (size_t i = 0; i < yTicks.size(); ++i) {
        const double y = std::round(yPix(yTicks[i]));
        canvas.Line(QPointF(plot.left() - TickLength, y), QPointF(plot.left(), y));
        const QSizeF size = canvas.TextExtent(yLabels[i]);
        canvas.Text(QPointF(plot.left() - TickLength - LabelGap - size.width(), y - size.height() / 2),
                    yLabels[i]);
    }
    for (size_t i = 0; i < xTicks.size(); ++i) {
        const double x = std::round(xPix(xTicks[i]));
        canvas.Line(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + TickLength));
        const QSizeF size = canvas.TextExtent(xLabels[i]);
        canvas.Text(QPointF(x - size.width() / 2, plot.bottom() + TickLength + LabelGap), xLabels[i]);
    }

    if (legendRows > 0)
        DrawLegend(canvas, legendBox, legendRows);
    return layout;
}

namespace {
// The drawn points of a series with gaps, as pieces that never join two points a gap separates.
void CutAtBreaks(const std::vector<size_t>& breaks, const std::vector<size_t>& indices,
                 const std::vector<QPointF>& points, const QRectF& cut, TPolylinePieces& pieces) {
    pieces.Points.clear();
    pieces.Starts.clear();
    TPolylinePieces line;
    std::vector<QPointF> lone(2);
    const auto addLine = [&](size_t from, size_t to) {
        std::span<const QPointF> run(points.data() + from, to - from);
        if (run.size() == 1) {
            lone[0] = run[0];
            lone[1] = run[0] + QPointF(1, 0); // a lone point still shows
            run = lone;
        }
        ClipPolyline(run, cut, line);
        for (size_t p = 0; p < line.PieceCount(); ++p) {
            pieces.Starts.push_back(pieces.Points.size());
            const auto piece = line.Piece(p);
            pieces.Points.insert(pieces.Points.end(), piece.begin(), piece.end());
        }
    };
    auto next = std::upper_bound(breaks.begin(), breaks.end(), indices.front());
    size_t from = 0;
    for (size_t j = 1; j < indices.size(); ++j) {
        if (next == breaks.end() || *next > indices[j])
            continue;
        addLine(from, j);
        from = j;
        next = std::upper_bound(next, breaks.end(), indices[j]);
    }
    addLine(from, indices.size());
}
} // namespace

void TChart::DrawSeries(TCanvas& canvas, const TLayout& layout, double depth) const {
    const QRectF& plot = layout.Plot;
    // Ribbons are many pixels deep, so 3D needs only a column per three pixels; the ribbons' faces,
    // filled one by one, are most of the cost of a 3D drawing (a quarter less than with a column
    // per two pixels, measured on 4 dense series).
    const int columns = std::max(1, static_cast<int>(depth > 0 ? plot.width() / 3 : plot.width()));
    // The decimation's own scale, so each column's points share one pixel column.
    const double xScale = columns / layout.X.Span();
    const double pixelsPerColumn = plot.width() / columns;
    const double yScale = (layout.YBottom - layout.YTop) / layout.Y.Span();
    const QRectF cut = plot.adjusted(-1, -1, 1, 1);
    std::vector<size_t> indices;
    std::vector<QPointF> points;
    std::vector<QPointF> outline;
    TPolylinePieces pieces;
    const size_t n = SeriesList.size();
    const double slot = n > 0 ? depth / static_cast<double>(n) : 0;

    // In 3D the first series stands in front; the others are drawn first, further back.
    for (size_t k = n; k-- > 0;) {
        const TChartSeries& s = *SeriesList[k];
        s.Decimate(layout.X.Min, layout.X.Max, columns, indices);
        if (indices.empty())
            continue;
        points.clear();
        points.reserve(indices.size());
        for (size_t i : indices)
            points.emplace_back(plot.left() + (s.X(i) - layout.X.Min) * xScale * pixelsPerColumn,
                                layout.YBottom - (s.Y(i) - layout.Y.Min) * yScale);
        if (s.Breaks().empty()) {
            if (points.size() == 1)
                points.push_back(points.front() + QPointF(1, 0)); // a lone point still shows
            ClipPolyline(points, cut, pieces);
        } else {
            CutAtBreaks(s.Breaks(), indices, points, cut, pieces);
        }

        if (depth <= 0) {
            canvas.SetPen(TCanvasPen{s.Color});
            for (size_t p = 0; p < pieces.PieceCount(); ++p)
                canvas.Polyline(pieces.Piece(p));
            continue;
        }
        // Ribbon between the series' front and back edge at its own depth. Consecutive faces
        // turned the same way (top side or under side seen, by the sign of the segment's cross
        // product with the depth direction) make one polygon: filled by the nonzero rule it covers
        // exactly their union. The two sides get two shades.
        const double z0 = std::round(slot * static_cast<double>(k));
        const double z1 = std::round(slot * static_cast<double>(k + 1));
        const QPointF front(z0, -z0);
        const QPointF rear(z1, -z1);
        const TCanvasBrush topSide{s.Color.lighter(130)};
        const TCanvasBrush underSide{s.Color.darker(130)};
        auto side = [](QPointF a, QPointF b) {
            const double t = (b.x() - a.x()) + (b.y() - a.y());
            return t > 0 ? 1 : (t < 0 ? -1 : 0);
        };
        canvas.SetPen(TCanvasPen{s.Color, 1, TCanvasPenStyle::None});
        for (size_t p = 0; p < pieces.PieceCount(); ++p) {
            const auto piece = pieces.Piece(p);
            size_t i = 0;
            while (i + 1 < piece.size()) {
                int sign = side(piece[i], piece[i + 1]);
                size_t j = i + 1;
                while (j + 1 < piece.size()) {
                    const int next = side(piece[j], piece[j + 1]);
                    if (next != 0 && sign != 0 && next != sign)
                        break;
                    if (sign == 0)
                        sign = next;
                    ++j;
                }
                outline.clear();
                for (size_t m = i; m <= j; ++m)
                    outline.push_back(piece[m] + front);
                for (size_t m = j + 1; m-- > i;)
                    outline.push_back(piece[m] + rear);
                canvas.SetBrush(sign < 0 ? underSide : topSide);
                canvas.Polygon(outline);
                i = j;
            }
        }
        canvas.SetPen(TCanvasPen{s.Color.darker(150)});
        for (size_t p = 0; p < pieces.PieceCount(); ++p) {
            const auto piece = pieces.Piece(p);
            outline.assign(piece.begin(), piece.end());
            for (QPointF& q : outline)
                q += front;
            canvas.Polyline(outline);
        }
    }
}

void TChart::DrawLegend(TCanvas& canvas, const QRectF& box, int rows) const {
    canvas.SetPen(TCanvasPen{Qt::black});
    canvas.SetBrush(TCanvasBrush{Qt::white});
    canvas.Rectangle(box);
    canvas.SetFont(TCanvasFont{});
    const double rowH = canvas.TextExtent(QStringLiteral("0")).height() + 2;
    auto row = [&](int r, const QColor& color, const QString& text) {
        const double top = box.top() + LegendPad + r * rowH;
        const double mid = std::round(top + rowH / 2);
        canvas.SetPen(TCanvasPen{color, 2});
        canvas.Line(QPointF(box.left() + LegendPad, mid),
                    QPointF(box.left() + LegendPad + LegendSwatch, mid));
        canvas.Text(QPointF(box.left() + 2 * LegendPad + LegendSwatch, top + 1), text);
    };
    if (LegendValues) {
        // The most recent values, oldest of them on top, as they arrived.
        const TChartSeries& s = *SeriesList.front();
        const size_t first = s.Count() - static_cast<size_t>(rows);
        for (int r = 0; r < rows; ++r)
            row(r, s.Color, FormatFloatMask(s.Y(first + static_cast<size_t>(r)), YMask));
    } else {
        for (int r = 0; r < rows; ++r)
            row(r, SeriesList[static_cast<size_t>(r)]->Color, SeriesList[static_cast<size_t>(r)]->Title);
    }
}

void TChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TPainterCanvas canvas(painter);
    Last = DrawChart(canvas, QRectF(rect()));
    if (DragStart) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(*DragStart, DragNow).normalized());
    }
}

void TChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    DragStart = event->position().toPoint();
    DragNow = *DragStart;
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    if (!DragStart)
        return;
    DragNow = event->position().toPoint();
    update();
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!DragStart || event->button() != Qt::LeftButton)
        return;
    const QPoint start = *DragStart;
    const QPoint end = event->position().toPoint();
    DragStart.reset();
    update();
    if (Last.Plot.isEmpty())
        return;
    const QPoint d = end - start;
    if (d.x() >= MinDragPixels && d.y() >= MinDragPixels) {
        const QPointF a = ValueAt(start);
        const QPointF b = ValueAt(end);
        ManualX = {a.x(), b.x()};
        ManualY = {b.y(), a.y()};
        AutoXOn = false;
        AutoYOn = false;
        Changed();
        EndFollow();
        emit Zoomed();
    } else if (d.x() <= -MinDragPixels) {
        AutoXOn = true;
        AutoYOn = true;
        Changed();
        EndFollow();
        emit UnZoomed();
    }
}
