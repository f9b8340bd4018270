#pragma once
// Chart of line series over time for the measurement view: X in minutes, Y the measured values.
// Drawing goes through TCanvas, so the screen, the printer and the files show the same picture.
#include "chart/Canvas.h"
#include "chart/ChartMath.h"
#include "chart/ChartSeries.h"

#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class TChart : public QWidget {
    Q_OBJECT
    // Points of all series, for tools that watch the chart from outside.
    Q_PROPERTY(qlonglong pointCount READ PointCount)
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // Series, indexed from 0. A new series gets the next colour of a fixed palette and, without a
    // title, "Канал " and its 1-based number.
    int AddSeries(const QString& title = QString());
    int SeriesCount() const { return static_cast<int>(SeriesList.size()); }
    const TChartSeries& Series(int index) const { return *SeriesList.at(static_cast<size_t>(index)); }
    void RemoveAllSeries();
    // Removes every point of every series; the series stay.
    void ClearSeries();
    void ClearPoints(int series);
    // Appends a point; X must not decrease within a series for the fast drawing path (a series
    // whose X goes back is still drawn, only more slowly). False for an unknown series or a value
    // that is not finite.
    bool AddPoint(int series, double x, double y);
    // The same without asking for a repaint, for loading many points at once; Refresh() after.
    bool AddPointQuietly(int series, double x, double y);
    void Refresh() { Changed(); }
    // A gap in every series: their next points start new lines.
    void BreakSeries();
    void SetSeriesTitle(int series, const QString& title);
    qlonglong PointCount() const;

    // Axis windows. While an axis scales itself its bounds are the data's lowest and highest
    // values (all points of all series), widened when they coincide. Setting a bound switches the
    // axis's automatic scaling off, keeping the other bound as it was.
    double XMin() const { return XRange().Min; }
    double XMax() const { return XRange().Max; }
    double YMin() const { return YRange().Min; }
    double YMax() const { return YRange().Max; }
    TAxisRange XRange() const;
    TAxisRange YRange() const;
    void SetXMin(double value);
    void SetXMax(double value);
    void SetYMin(double value);
    void SetYMax(double value);
    void SetXRange(const TAxisRange& range);
    void SetYRange(const TAxisRange& range);
    // Switching automatic scaling off keeps the window shown at that moment.
    void SetAutoX(bool on);
    void SetAutoY(bool on);
    bool AutoX() const { return AutoXOn; }
    bool AutoY() const { return AutoYOn; }
    // Follow (width above 0): the X window is `width` wide, starts where the window started when
    // following began, and slides once the newest point passes its right end, so that it shows
    // the last `width` of the data as points arrive. Width 0 stops following and keeps the window
    // shown. Setting the X window, the zoom and move commands, the mouse zoom and switching X's
    // automatic scaling on stop it, as the user took X over. FollowingChanged tells each change.
    void SetFollow(double width);
    bool Following() const { return FollowWidth > 0; }

    // The scaling and moving commands. Each works on the window shown, switches its axis's
    // automatic scaling off (the caller puts its button up) and returns false, doing nothing,
    // while the chart has no series.
    bool ZoomOutX();
    bool ZoomInX();
    bool ZoomOutY();
    bool ZoomInY();
    bool MoveLeft();
    bool MoveRight();
    bool MoveDown();
    bool MoveUp();

    void SetLegendVisible(bool on);
    bool LegendVisible() const { return LegendOn; }
    // On: the legend lists the values of the first series' most recent points that fit (meant for
    // one series); off: it lists the series by title.
    void SetLegendShowsValues(bool on);
    bool LegendShowsValues() const { return LegendValues; }
    void Set3D(bool on);
    bool Is3D() const { return ThreeD; }
    // Number masks of the axis labels (see FormatFloatMask).
    void SetYLabelFormat(const QString& mask);
    QString YLabelFormat() const { return YMask; }
    void SetXLabelFormat(const QString& mask);
    QString XLabelFormat() const { return XMask; }

    // Draws the whole chart into rect (logical units); used by the screen, printing and saving.
    void Draw(TCanvas& canvas, const QRectF& rect) const;

    // The plot area and the value at a point of the last screen drawing (for the mouse zoom).
    QRectF PlotRect() const { return Last.Plot; }
    QPointF ValueAt(QPointF pos) const;

    // Memory held for all points, by capacity.
    size_t CapacityBytes() const;
    // Memory that holds the points and their summaries, by use (see TChartSeries::UsedBytes).
    size_t UsedBytes() const;

    // The fixed palette of the automatic series colours.
    static const std::vector<QColor>& Palette();

signals:
    // A rectangle dragged left-to-right and top-to-bottom became the X and Y windows; both axes
    // no longer scale themselves.
    void Zoomed();
    // A rectangle dragged right-to-left undid the zoom: both axes scale themselves again.
    void UnZoomed();
    // Following() changed, whatever changed it: a button showing it stays true.
    void FollowingChanged(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where the last drawing put the plot, for mapping mouse positions back to values.
    struct TLayout {
        QRectF Plot;        // front plane of the plot
        double YTop = 0;    // pixel row of the Y maximum (5 percent into the plot)
        double YBottom = 0; // pixel row of the Y minimum (95 percent)
        TAxisRange X, Y;    // windows drawn
    };

    TAxisRange DataXRange() const;
    TAxisRange DataYRange() const;
    bool HasPoints() const;
    bool CommandX(TAxisRange (*command)(const TAxisRange&));
    void EndFollow() { SetFollowWidth(0); }
    void SetFollowWidth(double width);
    bool CommandY(TAxisRange (*command)(const TAxisRange&));
    void Changed();
    TLayout DrawChart(TCanvas& canvas, const QRectF& rect) const;
    void DrawSeries(TCanvas& canvas, const TLayout& layout, double depth) const;
    void DrawLegend(TCanvas& canvas, const QRectF& box, int rows) const;

    std::vector<std::unique_ptr<TChartSeries>> SeriesList;
    bool AutoXOn = true;
    bool AutoYOn = true;
    TAxisRange ManualX;
    TAxisRange ManualY;
    double FollowWidth = 0;
    double FollowFrom = 0;
    bool LegendOn = false;
    bool LegendValues = false;
    bool ThreeD = false;
    QString YMask = QStringLiteral("#,##0.0000");
    QString XMask = QStringLiteral("#,##0.###");

    TLayout Last;
    std::optional<QPoint> DragStart;
    QPoint DragNow;
};
