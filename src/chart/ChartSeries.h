#pragma once
// One line series of the chart: its points in two plain arrays, and what drawing needs to show a
// million of them quickly (one lowest/highest pair per pixel column).
#include <QColor>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

class TChartSeries {
public:
    TChartSeries(QString title, QColor color);

    QString Title;
    QColor Color;

    // Appends a point; points with a value that is not finite cannot be drawn and are refused.
    bool Add(double x, double y);
    void Clear();
    size_t Count() const { return X.size(); }
    const std::vector<double>& Xs() const { return X; }
    const std::vector<double>& Ys() const { return Y; }
    double MinX() const { return LoX; }
    double MaxX() const { return HiX; }
    double MinY() const { return LoY; }
    double MaxY() const { return HiY; }
    // True while every point's X is at least the X before it (time only grows).
    bool XAscending() const { return Ascending; }
    // Memory held for the points, by capacity.
    size_t CapacityBytes() const;

    // Indices of the points to draw for the X window [x0, x1] cut into `columns` equal pixel
    // columns: per column its lowest and its highest point in their order (one when they are the
    // same point), plus the nearest point outside each end of the window so the line runs to the
    // edge. Points of a series whose X does not ascend are reduced run by run instead.
    void Decimate(double x0, double x1, int columns, std::vector<size_t>& out) const;

    // Points per block of the lowest/highest summary.
    static constexpr size_t BlockSize = 32;

private:
    void Grow();
    void DecimateUnordered(double x0, double x1, int columns, std::vector<size_t>& out) const;
    // Lowest and highest point in [begin, end), begin < end.
    void RangeExtremes(size_t begin, size_t end, size_t& lo, size_t& hi) const;
    // First index in [begin, end) whose X fails pred, for a pred that holds for a leading part.
    template <typename Pred> size_t PartitionPoint(size_t begin, size_t end, Pred pred) const;

    std::vector<double> X;
    std::vector<double> Y;
    // Per block of BlockSize points, in small arrays of their own so that finding a column's
    // extremes and bounds reads little of the large point arrays: the block's first X, its lowest
    // and highest Y and their offsets inside the block.
    std::vector<double> BlockFirstX;
    std::vector<double> BlockLoY;
    std::vector<double> BlockHiY;
    std::vector<uint8_t> BlockLoAt;
    std::vector<uint8_t> BlockHiAt;
    double LoX = 0, HiX = 0, LoY = 0, HiY = 0;
    bool Ascending = true;
};
