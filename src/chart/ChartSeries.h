#pragma once
// One line series of the chart: its points in fixed-size chunks, and a pyramid
// of lowest/highest summaries over them, so that drawing a day or a month of points reads a number
// of entries that depends on the pixel columns, not on the points.
#include <QColor>
#include <QString>
#include <array>
#include <cmath>
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
    // The next point starts a new line: the chart leaves a gap (a pause in the readings) instead of
    // joining the points across it.
    void Break();
    // First points of the lines after the first, ascending.
    const std::vector<size_t>& Breaks() const { return BreakAt; }
    void Clear();
    size_t Count() const { return N; }
    double X(size_t i) const { return *XAt(i); }
    double Y(size_t i) const { return *YAt(i); }
    double MinX() const { return LoX; }
    double MaxX() const { return HiX; }
    double MinY() const { return LoY; }
    double MaxY() const { return HiY; }
    // True while every point's X is at least the X before it (time only grows).
    bool XAscending() const { return Ascending; }
    // Memory held for the points, their summary and the runs kept from the last decimation, by
    // capacity.
    size_t CapacityBytes() const;
    // Memory that holds the points added so far and their summary, by use: what the series needs,
    // however its blocks were reserved.
    size_t UsedBytes() const;

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
    static constexpr size_t BlockSize = 32;
    static constexpr size_t Fanout = 4;

private:
    // Points per chunk; a chunk holds their X and Y, 2 MB.
    static constexpr unsigned ChunkBits = 17;
    static constexpr size_t ChunkSize = size_t(1) << ChunkBits;
    static constexpr size_t ChunkMask = ChunkSize - 1;
    static constexpr size_t ChunkBytes = 2 * ChunkSize * sizeof(double);
    static constexpr unsigned BlockBits = 5;  // log2(BlockSize)
    static constexpr unsigned FanoutBits = 2; // log2(Fanout)
    // Levels up to buckets of 2^31 points, so that offsets inside a bucket fit 32 bits.
    static constexpr size_t LevelCount = 14;
    static constexpr unsigned LevelBits(size_t level) { return BlockBits + FanoutBits * unsigned(level); }

    // What a bucket of consecutive points holds: their Y bounds and where, counted from the
    // bucket's first point, its first lowest and first highest Y lie, and its X bounds widened to
    // the nearest single-precision values outside them. The X bounds only decide whether a bucket
    // lies wholly in a pixel column; widened, they sometimes send the decision down to the points,
    // never to a wrong answer. The last bucket of a level covers the points so far and grows.
    struct TBucket {
        double LoY, HiY;
        float LoX, HiX;
        uint32_t LoAt, HiAt;
    };
    // Levels are kept in pairs, and for each bucket of the level above a pair, its buckets of the
    // pair's upper level and theirs of the lower one lie together, each parent's in one aligned
    // group: a drawing reads a group of each level around every column boundary, and with
    // millions of points what it waits for is memory, each new memory page most of all.
    struct alignas(Fanout * sizeof(TBucket)) TCluster {
        std::array<TBucket, Fanout + Fanout * Fanout> B;
    };
    static constexpr size_t ClusterOf(size_t level, size_t k) { return k >> (FanoutBits * (2 - level % 2)); }
    static constexpr size_t SlotOf(size_t level, size_t k) {
        return level % 2 ? k & (Fanout - 1) : Fanout + (k & (Fanout * Fanout - 1));
    }
    const TBucket& Bucket(size_t level, size_t k) const {
        return Pairs[level / 2][ClusterOf(level, k)].B[SlotOf(level, k)];
    }
    TBucket& Bucket(size_t level, size_t k) {
        return Pairs[level / 2][ClusterOf(level, k)].B[SlotOf(level, k)];
    }

    // Extends a run at a bottom bucket's first point `i` by the largest bucket starting there that
    // lies `inside` the run's column, judged by its bounds, and takes its lowest and highest into
    // the run's; false when not even the bottom bucket does.
    template <class TInside>
    bool TakeBucket(size_t& i, const TInside& inside, size_t& lo, size_t& hi, double& loY, double& hiY) const;
    // A run of consecutive points in one column (or all left or all right of the window) with its
    // first lowest and first highest point, as a decimation of a series whose X never goes back
    // found it, and the X of its ends.
    struct TRun {
        size_t First, Last, Lo, Hi;
        double FirstX, LastX;
    };
    // Decimate for a series whose X never goes back. The runs of the last call are kept: points
    // never change once added, so a run whose ends still fall in one column, apart from its
    // neighbours' ends, is the same run again, and only the rest is walked. A live chart redrawn
    // for every new point, whose X axis grows a little each time, reads only the few columns whose
    // edges crossed a point.
    void DecimateAscending(double x0, double x1, int columns, std::vector<size_t>& out) const;
    // The column of a point for the window [x0, x1] cut into `columns`: -1 left of the window and
    // `columns` right of it. One expression decides every boundary.
    struct TColumnRule {
        double X0, X1, Scale;
        int Columns;
        TColumnRule(double x0, double x1, int columns)
            : X0(x0), X1(x1), Scale(columns / (x1 - x0)), Columns(columns) {}
        int operator()(double x) const {
            if (x < X0)
                return -1;
            if (x > X1)
                return Columns;
            const double c = std::floor((x - X0) * Scale);
            return c < Columns - 1 ? static_cast<int>(c) : Columns - 1;
        }
    };
    // Appends the runs of the points from `from` to `to`, both the first points of new columns
    // (or `to` the count), walking the summary: runs end where halving finds them.
    void WalkRuns(size_t from, size_t to, const TColumnRule& columnOf, std::vector<TRun>& runs) const;
    // Asks the memory for the points and buckets near a point that a drawing will soon read: the
    // lower levels, whose groups near one place are seldom in the caches.
    void Prefetch(size_t around) const;
    static constexpr size_t PrefetchLevels = 5;
    // Appends a run's lowest and highest point (one when they are the same) in their order.
    void KeepPair(size_t lo, size_t hi, std::vector<size_t>& out) const;

    struct TChunkFree {
        void operator()(double* p) const;
    };
    using TChunk = std::unique_ptr<double[], TChunkFree>;
    static TChunk NewChunk();
    // A chunk lays out its points by bottom bucket: the bucket's X values, then its Y values. A
    // drawing reads the points of a bucket or two per pixel column, and this way they lie together.
    std::vector<TChunk> Chunks;
    double* XAt(size_t i) const {
        const size_t j = i & ChunkMask;
        return Chunks[i >> ChunkBits].get() + ((j >> BlockBits) << (BlockBits + 1)) + (j & (BlockSize - 1));
    }
    // Y of a point lies BlockSize after its X.
    double* YAt(size_t i) const { return XAt(i) + BlockSize; }
    std::array<std::vector<TCluster>, LevelCount / 2> Pairs;
    size_t N = 0;
    double LoX = 0, HiX = 0, LoY = 0, HiY = 0;
    bool Ascending = true;
    // The runs of the last decimation while X ascends, over the first RunsCount points.
    mutable std::vector<TRun> Runs;
    mutable std::vector<TRun> NewRuns;
    mutable size_t RunsCount = 0;
    std::vector<size_t> BreakAt;
};
