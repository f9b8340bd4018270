#pragma once
// One line series of the chart: its points in fixed-size chunks of two plain arrays, and a pyramid
// of lowest/highest summaries over them, so that drawing a day or a month of points reads a number
// of entries that depends on the pixel columns, not on the points.
#include <QColor>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TChartSeries {
public:
    TChartSeries(QString title, QColor color);

    QString Title;
    QColor Color;

    // Appends a point; points with a value that is not finite cannot be drawn and are refused.
    bool Add(double x, double y);
    void Clear();
    size_t Count() const { return N; }
    double X(size_t i) const { return XChunks[i >> ChunkBits][i & ChunkMask]; }
    double Y(size_t i) const { return YChunks[i >> ChunkBits][i & ChunkMask]; }
    double MinX() const { return LoX; }
    double MaxX() const { return HiX; }
    double MinY() const { return LoY; }
    double MaxY() const { return HiY; }
    // True while every point's X is at least the X before it (time only grows).
    bool XAscending() const { return Ascending; }
    // Memory held for the points and their summary, by capacity.
    size_t CapacityBytes() const;

    // Indices of the points to draw for the X window [x0, x1] cut into `columns` equal pixel
    // columns, in their order. The points are cut into runs of consecutive points that fall in the
    // same column, or all left or all right of the window. A run inside the window gives its first
    // lowest and first highest point (one when they are the same point). A run outside gives the
    // points the line needs to reach the window: a run left of it its last point and, unless it
    // starts the series, its first; a run right of it its first point and, unless it ends the
    // series, its last. With X ascending this is one lowest/highest pair per column plus the
    // nearest point outside each end of the window.
    void Decimate(double x0, double x1, int columns, std::vector<size_t>& out) const;

    // Points per bucket of the finest summary level, and buckets of a level per bucket of the next.
    static constexpr size_t BlockSize = 64;
    static constexpr size_t Fanout = 8;

private:
    static constexpr unsigned ChunkBits = 18;
    static constexpr size_t ChunkSize = size_t(1) << ChunkBits;
    static constexpr size_t ChunkMask = ChunkSize - 1;
    static constexpr unsigned BlockBits = 6;  // log2(BlockSize)
    static constexpr unsigned FanoutBits = 3; // log2(Fanout)
    // Levels up to buckets of 2^30 points, so that offsets inside a bucket fit 32 bits.
    static constexpr size_t LevelCount = 9;
    static constexpr unsigned LevelBits(size_t level) { return BlockBits + FanoutBits * unsigned(level); }

    // What a bucket of consecutive points holds: their X and Y bounds and where, counted from the
    // bucket's first point, its first lowest and first highest Y lie. The last bucket of a level
    // covers the points so far and grows with them.
    struct TBucket {
        double LoX, HiX, LoY, HiY;
        uint32_t LoAt, HiAt;
    };

    // Asks the memory for the points and buckets near a point that a drawing will soon read.
    void Prefetch(size_t around) const;

    struct TChunkFree {
        void operator()(double* p) const;
    };
    using TChunk = std::unique_ptr<double[], TChunkFree>;
    static TChunk NewChunk();
    std::vector<TChunk> XChunks;
    std::vector<TChunk> YChunks;
    std::array<std::vector<TBucket>, LevelCount> Levels;
    size_t N = 0;
    double LoX = 0, HiX = 0, LoY = 0, HiY = 0;
    bool Ascending = true;
};
