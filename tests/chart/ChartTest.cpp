// The chart: number texts, ticks, the scaling and moving commands, automatic scaling, series
// storage, decimation, legend, 3D look and the mouse zoom.
#include "ui/Controls.h"
#include "ui/ScriptedDialogs.h"

#include "chart/Chart.h"
#include "chart/ChartMath.h"
#include "ui/MeasureView.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <random>

namespace {
// Canvas that keeps what was drawn.
class TRecordingCanvas : public TCanvas {
public:
    struct TText {
        QPointF At;
        QString Text;
    };
    struct TPoly {
        QColor Color;
        std::vector<QPointF> Points;
    };
    std::vector<TText> Texts;
    std::vector<TPoly> Polylines;
    std::vector<TPoly> Polygons;
    std::vector<QRectF> Rects;

    void Line(QPointF, QPointF) override {}
    void Polyline(std::span<const QPointF> p) override {
        Polylines.push_back({CurPen.Color, {p.begin(), p.end()}});
    }
    void Polygon(std::span<const QPointF> p) override {
        Polygons.push_back({CurBrush.Color, {p.begin(), p.end()}});
    }
    void Rectangle(const QRectF& r) override { Rects.push_back(r); }
    void FillRect(const QRectF&, const QColor&) override {}
    void Text(QPointF at, const QString& t) override { Texts.push_back({at, t}); }
    void SetClipRect(const QRectF&) override {}
    void ResetClip() override {}

    std::vector<QPointF> PointsOf(const QColor& c) const {
        std::vector<QPointF> out;
        for (const auto& p : Polylines)
            if (p.Color == c)
                out.insert(out.end(), p.Points.begin(), p.Points.end());
        return out;
    }
    // Texts right of the plot: the legend's.
    QStringList TextsRightOf(double x) const {
        QStringList out;
        for (const auto& t : Texts)
            if (t.At.x() > x)
                out << t.Text;
        return out;
    }
};

// Draws the chart the way the screen does and returns what was drawn; the widget's own drawing
// fixes the layout that PlotRect reports.
std::unique_ptr<TRecordingCanvas> Record(TChart& chart) {
    chart.resize(1200, 700);
    (void)chart.grab();
    auto canvas = std::make_unique<TRecordingCanvas>();
    chart.Draw(*canvas, QRectF(chart.rect()));
    return canvas;
}

// Per column of the window, the first lowest and first highest point, by a plain scan.
std::vector<size_t> BruteDecimate(const TChartSeries& s, double x0, double x1, int columns) {
    std::vector<size_t> out;
    std::vector<double> xs(s.Count()), ys(s.Count());
    for (size_t i = 0; i < s.Count(); ++i) {
        xs[i] = s.X(i);
        ys[i] = s.Y(i);
    }
    const double scale = columns / (x1 - x0);
    int column = -1;
    size_t lo = 0, hi = 0;
    auto flush = [&] {
        if (column < 0)
            return;
        out.push_back(std::min(lo, hi));
        if (lo != hi)
            out.push_back(std::max(lo, hi));
    };
    bool before = false;
    size_t lastBefore = 0;
    size_t firstAfter = xs.size();
    for (size_t i = 0; i < xs.size(); ++i) {
        if (xs[i] < x0) {
            before = true;
            lastBefore = i;
            continue;
        }
        if (xs[i] > x1) {
            firstAfter = std::min(firstAfter, i);
            continue;
        }
        const int c = std::min(columns - 1, static_cast<int>(std::floor((xs[i] - x0) * scale)));
        if (c != column) {
            flush();
            column = c;
            lo = hi = i;
        } else {
            if (ys[i] < ys[lo])
                lo = i;
            if (ys[i] > ys[hi])
                hi = i;
        }
    }
    flush();
    if (before)
        out.insert(out.begin(), lastBefore);
    if (firstAfter < xs.size())
        out.push_back(firstAfter);
    return out;
}

// The same for X in any order, by a plain scan of the runs of consecutive points in one column
// (or all left, or all right of the window): a run inside gives its first lowest and first highest
// point, a run outside the points that carry the line into the window.
std::vector<size_t> BruteRuns(const TChartSeries& s, double x0, double x1, int columns) {
    std::vector<size_t> out;
    const size_t n = s.Count();
    const double scale = columns / (x1 - x0);
    auto columnOf = [&](double x) {
        if (x < x0)
            return -1;
        if (x > x1)
            return columns;
        return std::min(columns - 1, static_cast<int>(std::floor((x - x0) * scale)));
    };
    for (size_t start = 0, end = 0; start < n; start = end) {
        const int c = columnOf(s.X(start));
        for (end = start + 1; end < n && columnOf(s.X(end)) == c;)
            ++end;
        std::vector<size_t> keep;
        if (c >= 0 && c < columns) {
            size_t lo = start, hi = start;
            for (size_t i = start + 1; i < end; ++i) {
                if (s.Y(i) < s.Y(lo))
                    lo = i;
                if (s.Y(i) > s.Y(hi))
                    hi = i;
            }
            keep = {std::min(lo, hi), std::max(lo, hi)};
        } else {
            if (c >= columns || start > 0)
                keep.push_back(start);
            if (c < 0 || end < n)
                keep.push_back(end - 1);
        }
        keep.erase(std::unique(keep.begin(), keep.end()), keep.end());
        out.insert(out.end(), keep.begin(), keep.end());
    }
    return out;
}
} // namespace

TEST(ChartFormat, FourDecimalMaskGroupsThousands) {
    const QString mask = QStringLiteral("#,##0.0000");
    EXPECT_EQ(FormatFloatMask(1234567.5, mask), "1,234,567.5000");
    EXPECT_EQ(FormatFloatMask(-0.5, mask), "-0.5000");
    EXPECT_EQ(FormatFloatMask(0, mask), "0.0000");
    EXPECT_EQ(FormatFloatMask(100, mask), "100.0000");
    EXPECT_EQ(FormatFloatMask(1000, mask), "1,000.0000");
    EXPECT_EQ(FormatFloatMask(-1234.56789, mask), "-1,234.5679");
    EXPECT_EQ(FormatFloatMask(999.99996, mask), "1,000.0000"); // rounding carries into a new group
    EXPECT_EQ(FormatFloatMask(-0.00001, mask), "0.0000");      // no minus on a zero text
    EXPECT_EQ(FormatFloatMask(-123456789012.0, mask), "-123,456,789,012.0000");
}

TEST(ChartFormat, OptionalDecimalsAndNoGrouping) {
    const QString optional = QStringLiteral("#,##0.###");
    EXPECT_EQ(FormatFloatMask(2.5, optional), "2.5");
    EXPECT_EQ(FormatFloatMask(3, optional), "3");
    EXPECT_EQ(FormatFloatMask(1234.00051, optional), "1,234.001");
    EXPECT_EQ(FormatFloatMask(0.0004, optional), "0");
    EXPECT_EQ(FormatFloatMask(1234.5, QStringLiteral("0.00")), "1234.50");
}

TEST(ChartTicks, NiceStepsInsideTheRange) {
    const std::vector<double> ticks = NiceTicks(0, 10, 5);
    EXPECT_EQ(ticks, (std::vector<double>{0, 2, 4, 6, 8, 10}));

    const std::vector<double> small = NiceTicks(-0.3, 0.7, 5);
    ASSERT_EQ(small.size(), 5u);
    EXPECT_DOUBLE_EQ(small.front(), -0.2);
    EXPECT_EQ(small[1], 0.0); // exactly zero, so its label has no minus
    EXPECT_DOUBLE_EQ(small.back(), 0.6);

    for (const auto& [lo, hi, count] :
         {std::tuple{-17.3, 1234.9, 7}, {1e-6, 3.7e-6, 4}, {43190.0, 43200.0, 12}}) {
        const std::vector<double> t = NiceTicks(lo, hi, count);
        ASSERT_FALSE(t.empty());
        EXPECT_LE(static_cast<int>(t.size()), count + 1);
        for (double v : t) {
            EXPECT_GE(v, lo - 1e-12 * std::fabs(lo));
            EXPECT_LE(v, hi + 1e-12 * std::fabs(hi));
        }
        const double step = NiceStep(lo, hi, count);
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                    std::fabs(mantissa - 5) < 1e-9)
            << mantissa;
    }
    EXPECT_TRUE(NiceTicks(5, 5, 4).empty());
    EXPECT_TRUE(NiceTicks(0, INFINITY, 4).empty());
}

TEST(ChartCommandArithmetic, ZoomChangesTheBoundsByAThirtiethOfTheRange) {
    using namespace ChartCommands;
    EXPECT_EQ(ZoomOutX({0, 30}), (TAxisRange{0, 31}));
    EXPECT_EQ(ZoomInX({0, 30}), (TAxisRange{0, 29}));
    EXPECT_EQ(ZoomOutY({-15, 15}), (TAxisRange{-16, 16}));
    EXPECT_EQ(ZoomInY({-15, 15}), (TAxisRange{-14, 14}));
    const TAxisRange x = ZoomOutX({2, 5});
    EXPECT_EQ(x.Min, 2);
    EXPECT_DOUBLE_EQ(x.Max, 5.1);
    const TAxisRange y = ZoomInY({-3, 3});
    EXPECT_DOUBLE_EQ(y.Min, -2.8);
    EXPECT_DOUBLE_EQ(y.Max, 2.8);
}

TEST(ChartCommandArithmetic, MovesShiftBothBoundsByTheStep) {
    using namespace ChartCommands;
    EXPECT_EQ(MoveLeft({3, 33}), (TAxisRange{2, 32}));
    EXPECT_EQ(MoveRight({0, 30}), (TAxisRange{1, 31}));
    EXPECT_EQ(MoveDown({0, 30}), (TAxisRange{1, 31}));
    EXPECT_EQ(MoveUp({0, 30}), (TAxisRange{-1, 29}));
    EXPECT_EQ(MoveUp({-60, -30}), (TAxisRange{-61, -31}));
}

TEST(ChartCommandArithmetic, MoveLeftNearZeroKeepsTheWidthAndStartsAtZero) {
    using namespace ChartCommands;
    EXPECT_EQ(MoveLeft({0.5, 30.5}), (TAxisRange{0, 30}));
    EXPECT_EQ(MoveLeft({1, 31}), (TAxisRange{0, 30})); // exactly reaching 0 is an ordinary move
    EXPECT_EQ(MoveLeft({0, 30}), (TAxisRange{0, 30}));
    TAxisRange r{7.25, 19.5};
    for (int i = 0; i < 200; ++i) {
        r = MoveLeft(r);
        ASSERT_GE(r.Min, 0);
        EXPECT_NEAR(r.Span(), 12.25, 1e-9);
    }
    EXPECT_EQ(r.Min, 0);
}

TEST(ChartScaling, AutomaticAxesFollowTheDataUntilSwitchedOff) {
    TChart chart;
    EXPECT_TRUE(chart.AutoX());
    EXPECT_TRUE(chart.AutoY());
    chart.AddSeries();
    chart.AddSeries();
    chart.AddPoint(0, 0.5, 10);
    chart.AddPoint(1, 0.7, -4);
    chart.AddPoint(0, 2.5, 6);
    EXPECT_EQ(chart.XRange(), (TAxisRange{0.5, 2.5}));
    EXPECT_EQ(chart.YRange(), (TAxisRange{-4, 10}));

    chart.SetAutoX(false);
    chart.AddPoint(1, 9, 100);
    EXPECT_EQ(chart.XRange(), (TAxisRange{0.5, 2.5})); // kept as shown when switched off
    EXPECT_EQ(chart.YRange(), (TAxisRange{-4, 100}));
    chart.SetAutoX(true);
    EXPECT_EQ(chart.XMax(), 9);

    // Setting one bound switches its axis off and keeps the other bound.
    chart.SetYMin(-50);
    EXPECT_FALSE(chart.AutoY());
    EXPECT_EQ(chart.YRange(), (TAxisRange{-50, 100}));
    chart.SetXRange({0, 60});
    EXPECT_FALSE(chart.AutoX());
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 60}));
}

TEST(ChartScaling, CoincidingDataIsWidened) {
    TChart chart;
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 1}));
    chart.AddSeries();
    chart.AddPoint(0, 2, 5);
    EXPECT_EQ(chart.XRange(), (TAxisRange{2, 3}));
    EXPECT_LT(chart.YMin(), 5);
    EXPECT_GT(chart.YMax(), 5);
}

TEST(ChartCommands, WorkOnTheShownWindowAndSwitchTheAxisOff) {
    TChart chart;
    EXPECT_FALSE(chart.ZoomOutX()); // no series: nothing happens
    EXPECT_FALSE(chart.MoveLeft());
    EXPECT_TRUE(chart.AutoX());
    chart.AddSeries();
    chart.AddPoint(0, 0, -15);
    chart.AddPoint(0, 30, 15);

    EXPECT_TRUE(chart.ZoomOutX());
    EXPECT_FALSE(chart.AutoX());
    EXPECT_TRUE(chart.AutoY());
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 31}));
    EXPECT_TRUE(chart.ZoomInY());
    EXPECT_FALSE(chart.AutoY());
    EXPECT_EQ(chart.YRange(), (TAxisRange{-14, 14}));
    chart.SetXRange({0.5, 30.5});
    EXPECT_TRUE(chart.MoveLeft());
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 30}));
    EXPECT_TRUE(chart.MoveRight());
    EXPECT_EQ(chart.XRange(), (TAxisRange{1, 31}));
    chart.SetYRange({0, 30});
    EXPECT_TRUE(chart.MoveDown());
    EXPECT_EQ(chart.YRange(), (TAxisRange{1, 31}));
    EXPECT_TRUE(chart.MoveUp());
    EXPECT_EQ(chart.YRange(), (TAxisRange{0, 30}));
    EXPECT_TRUE(chart.ZoomOutY());
    EXPECT_EQ(chart.YRange(), (TAxisRange{-1, 31}));
    EXPECT_TRUE(chart.ZoomInX());
    EXPECT_EQ(chart.XRange(), (TAxisRange{1, 30}));
}

TEST(ChartSeriesList, TitlesColoursPointsAndRemoval) {
    TChart chart;
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(chart.AddSeries(), i);
    EXPECT_EQ(chart.Series(0).Title, "Канал 1");
    EXPECT_EQ(chart.Series(16).Title, "Канал 17");
    std::vector<QRgb> colours;
    for (int i = 0; i < 16; ++i)
        colours.push_back(chart.Series(i).Color.rgb());
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(std::unique(colours.begin(), colours.end()), colours.end()) << "palette colours repeat";
    EXPECT_NE(chart.Series(0).Color, QColor(Qt::white));

    EXPECT_TRUE(chart.AddPoint(3, 1, 2));
    EXPECT_FALSE(chart.AddPoint(17, 1, 2));
    EXPECT_FALSE(chart.AddPoint(-1, 1, 2));
    EXPECT_FALSE(chart.AddPoint(3, 2, NAN));
    EXPECT_FALSE(chart.AddPoint(3, INFINITY, 1));
    EXPECT_EQ(chart.Series(3).Count(), 1u);
    chart.ClearSeries();
    EXPECT_EQ(chart.SeriesCount(), 17);
    EXPECT_EQ(chart.Series(3).Count(), 0u);
    chart.RemoveAllSeries();
    EXPECT_EQ(chart.SeriesCount(), 0);
    EXPECT_EQ(chart.AddSeries(), 0);
    EXPECT_EQ(chart.Series(0).Title, "Канал 1");
    EXPECT_EQ(chart.AddSeries(QStringLiteral("Другая")), 1);
    EXPECT_EQ(chart.Series(1).Title, "Другая");
}

TEST(ChartSeriesStore, MillionPointsFitInUnderTwentyBytesEachWithTheirSummary) {
    TChartSeries s(QStringLiteral("Канал 1"), Qt::red);
    for (int i = 0; i < 1'000'000; ++i)
        ASSERT_TRUE(s.Add(i * 0.01, std::sin(i * 0.001)));
    EXPECT_EQ(s.Count(), 1'000'000u);
    EXPECT_LT(static_cast<double>(s.CapacityBytes()) / s.Count(), 20.0);
    EXPECT_EQ(s.MinX(), 0);
    EXPECT_DOUBLE_EQ(s.MaxX(), 999999 * 0.01);
    s.Clear();
    EXPECT_EQ(s.Count(), 0u);
    EXPECT_EQ(s.CapacityBytes(), 0u);
}

TEST(ChartDecimation, MatchesAPlainScanColumnByColumn) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> gap(0.0, 0.02);
    std::normal_distribution<double> noise(0, 1);
    TChartSeries s(QString(), Qt::red);
    double x = 0;
    for (int i = 0; i < 200'000; ++i) {
        // Runs of equal X and equal Y test the boundaries and the choice among equal values.
        if (i % 97 != 0)
            x += gap(rng);
        s.Add(x, i % 13 == 0 ? 0.5 : std::round(noise(rng) * 8) / 8);
    }
    const double end = s.MaxX();
    std::vector<size_t> got;
    for (const auto& [x0, x1, columns] : {std::tuple{0.0, end, 1137},
                                          {end * 0.3, end * 0.31, 500},
                                          {end * 0.5, end * 0.9, 7},
                                          {-50.0, -10.0, 100},
                                          {end + 1, end + 5, 100},
                                          {-1.0, end + 1, 1},
                                          {s.X(5000), s.X(5000), 10}}) {
        s.Decimate(x0, x1, columns, got);
        if (!(x1 > x0)) {
            EXPECT_TRUE(got.empty());
            continue;
        }
        EXPECT_EQ(got, BruteDecimate(s, x0, x1, columns)) << x0 << ".." << x1 << " in " << columns;
    }
}

TEST(ChartDecimation, MillionPointsGiveAtMostTwoPerColumnAndKeepTheExtremes) {
    TChartSeries s(QString(), Qt::red);
    const int n = 1'000'000;
    for (int i = 0; i < n; ++i) {
        double y = std::sin(i * 0.0001);
        if (i == 123'457)
            y = -1000;
        if (i == 777'777)
            y = 1000;
        s.Add(i / 1000.0, y);
    }
    const int columns = 1100;
    std::vector<size_t> idx;
    s.Decimate(0, s.MaxX(), columns, idx);
    std::vector<int> perColumn(columns, 0);
    for (size_t i : idx)
        ++perColumn[std::min(columns - 1, static_cast<int>(std::floor(s.X(i) * (columns / s.MaxX()))))];
    EXPECT_LE(*std::max_element(perColumn.begin(), perColumn.end()), 2);
    EXPECT_LE(idx.size(), 2u * columns);
    EXPECT_TRUE(std::is_sorted(idx.begin(), idx.end()));
    EXPECT_NE(std::find(idx.begin(), idx.end(), 123'457u), idx.end());
    EXPECT_NE(std::find(idx.begin(), idx.end(), 777'777u), idx.end());

    // A window in the middle: the points just outside it are kept so the line reaches the edges.
    s.Decimate(500.0005, 600.0005, 300, idx);
    ASSERT_FALSE(idx.empty());
    EXPECT_EQ(idx.front(), 500'000u);
    EXPECT_EQ(idx.back(), 600'001u);
}

TEST(ChartDecimation, XGoingBackIsStillDrawnWithItsExtremes) {
    TChartSeries s(QString(), Qt::red);
    for (int i = 0; i < 1000; ++i)
        s.Add((i % 500) * 0.1, i == 555 ? 99 : (i == 222 ? -99 : i % 7));
    EXPECT_FALSE(s.XAscending());
    std::vector<size_t> idx;
    s.Decimate(0, 50, 50, idx);
    EXPECT_LE(idx.size(), 4u * 50); // two passes over the window, each at most a pair per column
    EXPECT_NE(std::find(idx.begin(), idx.end(), 555u), idx.end());
    EXPECT_NE(std::find(idx.begin(), idx.end(), 222u), idx.end());
}

TEST(ChartDecimation, SummaryGivesThePlainScanColumnsForRandomZoomsAsPointsArrive) {
    // Three series: X ascending with repeated X and tied Y, X starting again from 0 now and then,
    // and X mostly ascending with steps back. Each grows in batches, so the summary's last buckets
    // are partial when asked, and is asked for random windows, from the whole series and beyond
    // down to a few points, with window bounds on points and on no point.
    std::mt19937 rng(20261209);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0, 1);
    for (int shape = 0; shape < 3; ++shape) {
        TChartSeries s(QString(), Qt::red);
        double x = 0;
        std::vector<size_t> got;
        size_t queries = 0;
        while (s.Count() < 300'000) {
            const size_t batch = 1 + static_cast<size_t>(unit(rng) * 70'000);
            for (size_t k = 0; k < batch; ++k) {
                const size_t i = s.Count();
                if (shape == 1 && i % 37'813 == 37'812)
                    x = unit(rng) * 3;
                else if (shape == 2 && unit(rng) < 0.002)
                    x -= unit(rng) * 40;
                else if (i % 97 != 0)
                    x += unit(rng) * 0.02;
                ASSERT_TRUE(s.Add(x, i % 13 == 0 ? 0.5 : std::round(noise(rng) * 8) / 8));
            }
            EXPECT_EQ(s.XAscending(), shape == 0);
            const double lo = s.MinX();
            const double span = s.MaxX() - lo;
            for (int q = 0; q < 12; ++q) {
                double x0 = lo - 0.1 * span + unit(rng) * 1.2 * span;
                double x1 = x0 + span * std::pow(10.0, -6 * unit(rng)) * 1.5;
                if (q % 4 == 0) { // bounds exactly on points
                    x0 = s.X(static_cast<size_t>(unit(rng) * s.Count()));
                    x1 = x0 + span * 0.01;
                }
                const int columns = q == 1 ? 1 : 1 + static_cast<int>(unit(rng) * 1500);
                s.Decimate(x0, x1, columns, got);
                ASSERT_EQ(got, BruteRuns(s, x0, x1, columns))
                    << "shape " << shape << ", " << s.Count() << " points, " << x0 << ".." << x1 << " in "
                    << columns;
                if (shape == 0) {
                    EXPECT_EQ(got, BruteDecimate(s, x0, x1, columns));
                    EXPECT_LE(got.size(), 2u * columns + 2);
                }
                ++queries;
            }
        }
        EXPECT_GE(queries, 48u);
    }
}

TEST(ChartDecimation, LiveRedrawsThatKeepTheLastRunsGiveThePlainScanColumns) {
    // A live chart decimates after every reading with X spanning all points, so most runs of the
    // last call are kept and only the columns whose edges crossed a point are walked again. Zooms,
    // a window right of all points, a column count change and a clear come in between.
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    TChartSeries s(QString(), Qt::red);
    double x = 0;
    auto add = [&](int count) {
        for (int k = 0; k < count; ++k) {
            const size_t i = s.Count();
            if (i % 11 != 0)
                x += 0.5 + unit(rng);
            ASSERT_TRUE(s.Add(x, i % 7 == 0 ? 1.0 : std::round(unit(rng) * 6)));
        }
    };
    add(20'000);
    std::vector<size_t> got;
    size_t kept = 0;
    for (int step = 0; step < 2'000; ++step) {
        add(step % 5 == 0 ? 0 : 1 + step % 3);
        double x0 = s.MinX();
        double x1 = s.MaxX();
        int columns = step < 1'000 ? 1100 : 367;
        if (step % 97 == 50) {
            x0 = s.MinX() + unit(rng) * (x1 - x0) * 0.9;
            x1 = x0 + (s.MaxX() - x0) * unit(rng);
        } else if (step % 101 == 60) {
            x0 = s.MaxX() + 1;
            x1 = x0 + 10;
        } else if (step == 1'500) {
            s.Clear();
            x = 0;
            add(5'000);
            x0 = s.MinX();
            x1 = s.MaxX();
        }
        s.Decimate(x0, x1, columns, got);
        ASSERT_EQ(got, BruteDecimate(s, x0, x1, columns))
            << "step " << step << ", " << s.Count() << " points, " << x0 << ".." << x1 << " in " << columns;
        kept += got.size();
    }
    EXPECT_GT(kept, 2'000u * 300);
}

TEST(ChartDecimation, LargeTimesAndTimesBeyondSinglePrecisionGiveThePlainScanColumns) {
    // The summary keeps X bounds in single precision, widened: at large X one such value spans
    // many points and columns, and beyond its range it is infinite. Neither may change a column.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct TShape {
        double First, Step;
        bool GoesBack;
    };
    for (const TShape& shape : {TShape{1e7, 1e-4, false}, TShape{3.0e38, 1e35, false},
                                TShape{-3.5e38, 1e35, true}, TShape{1e7, 1e-4, true}}) {
        TChartSeries s(QString(), Qt::red);
        double x = shape.First;
        for (int i = 0; i < 40'000; ++i) {
            if (shape.GoesBack && i % 5'000 == 4'999)
                x -= shape.Step * 3'000;
            else
                x += shape.Step * (i % 3 ? 1 : 0.5);
            ASSERT_TRUE(s.Add(x, std::round(std::sin(i * 0.01) * 50 + unit(rng) * 4)));
        }
        ASSERT_EQ(s.XAscending(), !shape.GoesBack);
        std::vector<size_t> got;
        const double span = s.MaxX() - s.MinX();
        for (int q = 0; q < 30; ++q) {
            const double x0 = s.MinX() + (unit(rng) * 1.1 - 0.05) * span;
            const double x1 = x0 + span * std::pow(10.0, -4 * unit(rng));
            const int columns = 1 + static_cast<int>(unit(rng) * 1200);
            s.Decimate(x0, x1, columns, got);
            ASSERT_EQ(got, BruteRuns(s, x0, x1, columns))
                << shape.First << ": " << x0 << ".." << x1 << " in " << columns;
        }
    }
}

TEST(ChartDrawing, MillionPointSeriesIsDrawnDecimatedWithItsExtremes) {
    TChart chart;
    chart.AddSeries();
    for (int i = 0; i < 1'000'000; ++i)
        chart.AddPoint(0, i / 1000.0, i == 400'000 ? 50.0 : (i == 900'001 ? -50.0 : std::sin(i * 0.001)));
    const auto canvas = Record(chart);
    const QRectF plot = chart.PlotRect();
    ASSERT_GT(plot.width(), 1000);
    const std::vector<QPointF> pts = canvas->PointsOf(chart.Series(0).Color);
    EXPECT_LE(pts.size(), static_cast<size_t>(2 * plot.width() + 4));
    double top = INFINITY, bottom = -INFINITY;
    for (const QPointF& p : pts) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    // The extremes reach the ends of the left axis: 5 and 95 percent of the plot's height.
    EXPECT_NEAR(top, plot.top() + 0.05 * plot.height(), 1e-6);
    EXPECT_NEAR(bottom, plot.top() + 0.95 * plot.height(), 1e-6);
}

TEST(ChartDrawing, PointsOutsideAZoomedWindowAreCutAtThePlot) {
    TChart chart;
    chart.AddSeries();
    for (int i = 0; i <= 100; ++i)
        chart.AddPoint(0, i, i % 2 ? 1e6 : -1e6);
    chart.SetXRange({40, 60});
    chart.SetYRange({-1, 1});
    const auto canvas = Record(chart);
    const QRectF allowed = chart.PlotRect().adjusted(-1.01, -1.01, 1.01, 1.01);
    const std::vector<QPointF> pts = canvas->PointsOf(chart.Series(0).Color);
    ASSERT_FALSE(pts.empty());
    for (const QPointF& p : pts)
        EXPECT_TRUE(allowed.contains(p)) << p.x() << "," << p.y();
}

// A pause in the readings (a gap in a record) leaves the line open, flat and in 3D, with few points
// or a million; a reading alone between two gaps still shows.
TEST(ChartDrawing, GapsLeaveTheLineOpen) {
    for (const size_t perSide : {size_t(50), size_t(500'000)}) {
        for (const bool threeD : {false, true}) {
            SCOPED_TRACE(std::to_string(perSide) + (threeD ? " 3D" : " 2D"));
            TChart chart;
            chart.AddSeries();
            const double step = 50.0 / static_cast<double>(perSide);
            for (size_t i = 0; i < perSide; ++i)
                chart.AddPoint(0, static_cast<double>(i) * step, static_cast<double>(i % 10));
            chart.BreakSeries();
            chart.AddPoint(0, 55, 3); // alone between two gaps
            chart.BreakSeries();
            for (size_t i = 0; i < perSide; ++i)
                chart.AddPoint(0, 60 + static_cast<double>(i) * step, static_cast<double>(i % 10));
            chart.Set3D(threeD);
            const auto canvas = Record(chart);
            const QRectF plot = chart.PlotRect();
            const auto px = [&](double x) { return plot.left() + (x - chart.XMin()) / (chart.XMax() - chart.XMin()) * plot.width(); };
            bool lone = false;
            int crossings = 0;
            for (const auto& line : canvas->Polylines) {
                if (line.Points.size() < 2 || line.Color == Qt::black)
                    continue;
                for (size_t i = 0; i + 1 < line.Points.size(); ++i) {
                    const double a = line.Points[i].x();
                    const double b = line.Points[i + 1].x();
                    if ((a < px(52) && b > px(53)) || (a < px(57) && b > px(58)))
                        ++crossings;
                }
                if (line.Points.size() == 2 && std::abs(line.Points[0].x() - px(55)) < 8)
                    lone = true;
            }
            EXPECT_EQ(crossings, 0);
            EXPECT_TRUE(lone);
        }
    }
}

TEST(ChartLegend, ListsSeriesTitlesOrTheMostRecentValues) {
    TChart chart;
    for (int i = 0; i < 3; ++i)
        chart.AddSeries();
    chart.AddPoint(0, 0, 1);
    chart.AddPoint(2, 1, 2);
    EXPECT_TRUE(Record(chart)->TextsRightOf(chart.PlotRect().right()).isEmpty()); // legend off at first

    chart.SetLegendVisible(true);
    EXPECT_EQ(Record(chart)->TextsRightOf(chart.PlotRect().right()),
              (QStringList{"Канал 1", "Канал 2", "Канал 3"}));

    TChart single;
    single.AddSeries();
    single.SetLegendVisible(true);
    single.SetLegendShowsValues(true);
    for (int i = 0; i < 1000; ++i)
        single.AddPoint(0, i, 1000 + i * 0.25);
    const QStringList values = Record(single)->TextsRightOf(single.PlotRect().right());
    ASSERT_GT(values.size(), 5);
    EXPECT_LT(values.size(), 1000); // only what fits the height
    EXPECT_EQ(values.back(), "1,249.7500");
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(values[i],
                  FormatFloatMask(1000 + (1000 - values.size() + i) * 0.25, single.YLabelFormat()));

    single.SetLegendVisible(false);
    EXPECT_TRUE(Record(single)->TextsRightOf(single.PlotRect().right()).isEmpty());
}

TEST(ChartLook, LeftAxisLabelsUseTheValueFormat) {
    TChart chart;
    chart.AddSeries();
    chart.AddPoint(0, 0, 0);
    chart.AddPoint(0, 1, 5000);
    const auto canvas = Record(chart);
    QStringList left;
    for (const auto& t : canvas->Texts)
        if (t.At.x() < chart.PlotRect().left())
            left << t.Text;
    ASSERT_GE(left.size(), 3);
    EXPECT_TRUE(left.contains("0.0000"));
    EXPECT_TRUE(left.contains("5,000.0000"));
}

// Winding number of a closed polygon around a point.
int Winding(const std::vector<QPointF>& poly, QPointF q) {
    int w = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const QPointF a = poly[i];
        const QPointF b = poly[(i + 1) % poly.size()];
        const double cross = (b.x() - a.x()) * (q.y() - a.y()) - (q.x() - a.x()) * (b.y() - a.y());
        if (a.y() <= q.y() && b.y() > q.y() && cross > 0)
            ++w;
        else if (a.y() > q.y() && b.y() <= q.y() && cross < 0)
            --w;
    }
    return w;
}

TEST(ChartLook, ThreeDimensionalSeriesAreRibbonsBeforeAnOffsetBackWall) {
    TChart chart;
    chart.AddSeries();
    chart.AddSeries();
    for (int i = 0; i < 50; ++i) {
        chart.AddPoint(0, i, (i * 7) % 5);
        chart.AddPoint(1, i, 10 - i % 3);
    }
    EXPECT_TRUE(Record(chart)->Polygons.empty());

    chart.Set3D(true);
    const auto solid = Record(chart);
    const QRectF plot = chart.PlotRect();
    // The back wall sits up and to the right of the front plane by the depth.
    const auto back = std::find_if(solid->Rects.begin(), solid->Rects.end(), [&](const QRectF& r) {
        return r.size() == plot.size() && r.left() > plot.left() &&
               r.left() - plot.left() == plot.top() - r.top();
    });
    ASSERT_NE(back, solid->Rects.end());
    const double depth = back->left() - plot.left();

    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s);
        const QColor c = chart.Series(s).Color;
        std::vector<const std::vector<QPointF>*> faces;
        bool top = false, under = false;
        for (const auto& p : solid->Polygons) {
            top = top || p.Color == c.lighter(130);
            under = under || p.Color == c.darker(130);
            if (p.Color == c.lighter(130) || p.Color == c.darker(130))
                faces.push_back(&p.Points);
        }
        EXPECT_TRUE(top && under) << "both sides of the ribbon are seen";
        // The front edge of the ribbon is the series' line; every point swept from it into the
        // series' depth slot is covered by a face under the nonzero rule.
        const std::vector<QPointF> edge = solid->PointsOf(c.darker(150));
        ASSERT_GE(edge.size(), 50u);
        const double slotDepth = depth / 2;
        int covered = 0, probes = 0;
        for (size_t i = 0; i + 1 < edge.size(); ++i)
            for (const double along : {0.25, 0.5, 0.75}) {
                const QPointF q =
                    edge[i] + (edge[i + 1] - edge[i]) * along + QPointF(1, -1) * (slotDepth / 2);
                ++probes;
                covered += std::any_of(faces.begin(), faces.end(),
                                       [&](const auto* f) { return Winding(*f, q) != 0; });
            }
        EXPECT_EQ(covered, probes);
        // Faces turned the same way are merged, so there are fewer faces than segments.
        EXPECT_LT(faces.size(), edge.size() - 1);
    }
    // The series further back is shifted right by its depth: its edge starts right of the first.
    EXPECT_LT(solid->PointsOf(chart.Series(0).Color.darker(150)).front().x(),
              solid->PointsOf(chart.Series(1).Color.darker(150)).front().x());
}

TEST(ChartMouse, DraggingDownRightZoomsAndTheOtherWayUndoes) {
    TChart chart;
    chart.AddSeries();
    chart.AddPoint(0, 0, 0);
    chart.AddPoint(0, 100, 100);
    chart.resize(1200, 700);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    chart.repaint();
    const QRectF plot = chart.PlotRect();
    ASSERT_FALSE(plot.isEmpty());
    const double yTop = plot.top() + 0.05 * plot.height();
    const double yBottom = plot.top() + 0.95 * plot.height();
    auto pixel = [&](double x, double y) {
        return QPoint(static_cast<int>(std::lround(plot.left() + x / 100 * plot.width())),
                      static_cast<int>(std::lround(yBottom - y / 100 * (yBottom - yTop))));
    };
    QSignalSpy zoomed(&chart, &TChart::Zoomed);
    QSignalSpy unzoomed(&chart, &TChart::UnZoomed);

    QTest::mousePress(&chart, Qt::LeftButton, {}, pixel(25, 75));
    QTest::mouseMove(&chart, pixel(40, 50));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, pixel(50, 25));
    EXPECT_EQ(zoomed.count(), 1);
    EXPECT_FALSE(chart.AutoX());
    EXPECT_FALSE(chart.AutoY());
    const double tolX = 100 / plot.width();
    const double tolY = 100 / (yBottom - yTop);
    EXPECT_NEAR(chart.XMin(), 25, tolX);
    EXPECT_NEAR(chart.XMax(), 50, tolX);
    EXPECT_NEAR(chart.YMin(), 25, tolY);
    EXPECT_NEAR(chart.YMax(), 75, tolY);

    // A click without a drag changes nothing.
    QTest::mouseClick(&chart, Qt::LeftButton, {}, pixel(30, 30));
    EXPECT_EQ(zoomed.count(), 1);
    EXPECT_EQ(unzoomed.count(), 0);

    chart.repaint();
    QTest::mousePress(&chart, Qt::LeftButton, {}, pixel(50, 50));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, pixel(30, 60));
    EXPECT_EQ(unzoomed.count(), 1);
    EXPECT_TRUE(chart.AutoX());
    EXPECT_TRUE(chart.AutoY());
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 100}));
}

TEST(ChartFollow, ButtonSlidesTheChosenRangeUntilTheUserTakesXOver) {
    TAppState state;
    TScriptedDialogs dialogs;
    TfrmMeasure view(state, dialogs);
    view.resize(900, 600);
    view.show();
    view.Build(2);
    TChart* widget = Control<TChart>(&view, "Chart");
    const TChart& chart = *widget;
    auto* cbTime = Control<QComboBox>(&view, "cbTime");
    auto* follow = Control<QToolButton>(&view, "BtnFollow");
    const auto chooseRange = [&](int index) {
        cbTime->setCurrentIndex(index);
        emit cbTime->activated(index);
    };
    EXPECT_FALSE(follow->isChecked());
    EXPECT_FALSE(follow->toolTip().isEmpty());
    // Without a range it follows the width shown; the button is down exactly while the chart follows.
    follow->click();
    EXPECT_TRUE(follow->isChecked());
    EXPECT_TRUE(chart.Following());
    view.AddPoint(1, 5, 1);
    chooseRange(6); // one hour
    EXPECT_TRUE(chart.Following());
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 60}));
    view.AddPoint(1, 30, 1);
    EXPECT_EQ(chart.XRange(), (TAxisRange{0, 60})); // the range as chosen until it is full
    view.AddPoint(2, 90, 2);
    EXPECT_EQ(chart.XRange(), (TAxisRange{30, 90}));
    view.AddPoint(1, 100.5, 1.5);
    EXPECT_EQ(chart.XRange(), (TAxisRange{40.5, 100.5}));
    // Drawn at the window followed: the newest point sits at the plot's right end.
    (void)widget->grab();
    EXPECT_NEAR(widget->ValueAt(widget->PlotRect().topRight()).x(), 100.5, 1e-9);

    // Moving X takes it over: following ends, the button goes up, the window stays put.
    Control<QToolButton>(&view, "MoveLeft")->click();
    EXPECT_FALSE(follow->isChecked());
    EXPECT_FALSE(chart.Following());
    EXPECT_EQ(chart.XRange(), (TAxisRange{38.5, 98.5}));
    view.AddPoint(1, 200, 1);
    EXPECT_EQ(chart.XRange(), (TAxisRange{38.5, 98.5}));

    // On again it follows the range still chosen; off again the window stays where it is.
    follow->click();
    EXPECT_EQ(chart.XRange(), (TAxisRange{140, 200}));
    follow->click();
    EXPECT_FALSE(chart.Following());
    view.AddPoint(1, 300, 1);
    EXPECT_EQ(chart.XRange(), (TAxisRange{140, 200}));

    // A new run switches automatic scaling on: the range goes blank and following ends.
    follow->click();
    EXPECT_TRUE(chart.Following());
    view.SwitchAutoScaleOn();
    EXPECT_FALSE(follow->isChecked());
    EXPECT_FALSE(chart.Following());
    EXPECT_EQ(cbTime->currentIndex(), 0);
    EXPECT_EQ(chart.XRange(), (TAxisRange{5, 300}));

    // A mouse zoom ends following, and the button goes up with it; so does a window set directly.
    const auto dragZoom = [&] {
        (void)widget->grab();
        const QRectF plot = widget->PlotRect();
        const QPoint from = (plot.topLeft() + QPointF(plot.width() * 0.2, plot.height() * 0.2)).toPoint();
        const QPoint to = (plot.topLeft() + QPointF(plot.width() * 0.6, plot.height() * 0.6)).toPoint();
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, to);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
    };
    for (const int range : {0, 3}) {
        if (range > 0)
            chooseRange(range);
        follow->click();
        ASSERT_TRUE(chart.Following()) << "range " << range;
        dragZoom();
        EXPECT_FALSE(chart.AutoX());
        EXPECT_FALSE(chart.Following()) << "range " << range;
        EXPECT_FALSE(follow->isChecked()) << "range " << range;
    }
    follow->click();
    ASSERT_TRUE(follow->isChecked());
    widget->SetXRange({10, 20});
    EXPECT_FALSE(follow->isChecked());
}

TEST(ChartClipping, PolylinePiecesStayInsideAndKeepInnerPoints) {
    TPolylinePieces pieces;
    const QRectF r(0, 0, 10, 10);
    const std::vector<QPointF> line = {{-5, 5}, {5, 5}, {5, 20}, {7, 20}, {7, 5}, {8, 5}};
    ClipPolyline(line, r, pieces);
    ASSERT_EQ(pieces.PieceCount(), 2u);
    const auto a = pieces.Piece(0);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0], QPointF(0, 5));
    EXPECT_EQ(a[1], QPointF(5, 5));
    EXPECT_EQ(a[2], QPointF(5, 10));
    const auto b = pieces.Piece(1);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0], QPointF(7, 10));
    EXPECT_EQ(b[2], QPointF(8, 5));

    const std::vector<QPointF> outside = {{-5, -5}, {-1, 20}, {20, 20}};
    ClipPolyline(outside, r, pieces);
    EXPECT_EQ(pieces.PieceCount(), 0u);
}
