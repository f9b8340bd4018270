#include "chart/ChartSeries.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

TChartSeries::TChartSeries(QString title, QColor color) : Title(std::move(title)), Color(std::move(color)) {}

void TChartSeries::TChunkFree::operator()(double* p) const {
    std::free(p);
}

TChartSeries::TChunk TChartSeries::NewChunk() {
    // A chunk is one 2 MB huge page where the system allows it: a drawing touches a few places
    // in each of thousands of chunks, and with small pages each place also costs an address
    // translation miss.
    void* p = std::aligned_alloc(ChunkBytes, ChunkBytes);
    if (!p)
        throw std::bad_alloc();
    madvise(p, ChunkBytes, MADV_HUGEPAGE);
    return TChunk(static_cast<double*>(p));
}

namespace {
// The nearest single-precision values at or below and at or above a value; beyond the range of
// single precision, the infinities.
float FloatDown(double x) {
    if (x < -FLT_MAX)
        return -INFINITY;
    if (x > FLT_MAX)
        return FLT_MAX;
    const auto f = static_cast<float>(x);
    return f > x ? std::nextafter(f, -INFINITY) : f;
}

float FloatUp(double x) {
    if (x > FLT_MAX)
        return INFINITY;
    if (x < -FLT_MAX)
        return -FLT_MAX;
    const auto f = static_cast<float>(x);
    return f < x ? std::nextafter(f, INFINITY) : f;
}

} // namespace

bool TChartSeries::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    const size_t i = N;
    // Fixed chunks instead of one growing array: no copy of millions of points while the
    // measurement runs, and at most one chunk of slack.
    if ((i & ChunkMask) == 0)
        Chunks.push_back(NewChunk());
    *XAt(i) = x;
    *YAt(i) = y;
    if (i == 0) {
        LoX = HiX = x;
        LoY = HiY = y;
    } else {
        if (x < HiX)
            Ascending = false;
        LoX = std::min(LoX, x);
        HiX = std::max(HiX, x);
        LoY = std::min(LoY, y);
        HiY = std::max(HiY, y);
    }
    const float down = FloatDown(x);
    const float up = FloatUp(x);
    for (size_t level = 0; level < LevelCount; ++level) {
        if (level % 2 == 0 && (i & ((size_t(1) << LevelBits(level + 2)) - 1)) == 0) {
            std::vector<TCluster>& clusters = Pairs[level / 2];
            // A quarter more each time instead of doubling keeps the slack, and so the memory per
            // point, low.
            if (clusters.size() == clusters.capacity())
                clusters.reserve(std::max<size_t>(1, clusters.capacity() + clusters.capacity() / 4));
            clusters.emplace_back();
        }
        const auto at = static_cast<uint32_t>(i & ((size_t(1) << LevelBits(level)) - 1));
        TBucket& b = Bucket(level, i >> LevelBits(level));
        if (at == 0) {
            b = {y, y, down, up, 0, 0};
            continue;
        }
        b.LoX = std::min(b.LoX, down);
        b.HiX = std::max(b.HiX, up);
        // Strict comparisons keep the first of equal values, as a scan from the left would.
        if (y < b.LoY) {
            b.LoY = y;
            b.LoAt = at;
        }
        if (y > b.HiY) {
            b.HiY = y;
            b.HiAt = at;
        }
    }
    ++N;
    return true;
}

void TChartSeries::Clear() {
    // A cleared chart gives its memory back; a month of points is a lot to hold for nothing.
    std::vector<TChunk>().swap(Chunks);
    for (auto& clusters : Pairs)
        std::vector<TCluster>().swap(clusters);
    N = 0;
    LoX = HiX = LoY = HiY = 0;
    Ascending = true;
    std::vector<size_t>().swap(BreakAt);
    std::vector<TRun>().swap(Runs);
    std::vector<TRun>().swap(NewRuns);
    RunsCount = 0;
}

size_t TChartSeries::CapacityBytes() const {
    size_t bytes = Chunks.size() * ChunkBytes + Chunks.capacity() * sizeof(Chunks[0]);
    for (const auto& clusters : Pairs)
        bytes += clusters.capacity() * sizeof(TCluster);
    bytes += (Runs.capacity() + NewRuns.capacity()) * sizeof(TRun);
    bytes += BreakAt.capacity() * sizeof(size_t);
    return bytes;
}

void TChartSeries::Break() {
    // A gap before the first point, or twice in a row, separates nothing.
    if (N > 0 && (BreakAt.empty() || BreakAt.back() != N))
        BreakAt.push_back(N);
}

size_t TChartSeries::UsedBytes() const {
    size_t bytes = N * 2 * sizeof(double);
    for (const auto& clusters : Pairs)
        bytes += clusters.size() * sizeof(TCluster);
    bytes += BreakAt.size() * sizeof(size_t);
    return bytes;
}

void TChartSeries::Prefetch(size_t around) const {
    const size_t first = around & ~(BlockSize - 1);
    constexpr size_t PerLine = 64 / sizeof(double);
    for (size_t k = 0; k < BlockSize; k += PerLine) {
        __builtin_prefetch(XAt(first) + k);
        __builtin_prefetch(YAt(first) + k);
    }
    // A run ends by stepping through the buckets before the place that share its parent, and the
    // next one starts by stepping through those after it: one group at each of the lower levels.
    for (size_t level = 0; level < PrefetchLevels; ++level) {
        const size_t k = (around >> LevelBits(level)) & ~(Fanout - 1);
        if (ClusterOf(level, k) < Pairs[level / 2].size())
            for (size_t b = 0; b < Fanout; b += 64 / sizeof(TBucket))
                __builtin_prefetch(&Bucket(level, k + b));
    }
}

template <class TInside>
bool TChartSeries::TakeBucket(size_t& i, const TInside& inside, size_t& lo, size_t& hi, double& loY,
                              double& hiY) const {
    size_t level = i == 0 ? LevelCount - 1
                          : std::min(LevelCount - 1, (size_t(std::countr_zero(i)) - BlockBits) / FanoutBits);
    for (;;) {
        const TBucket& b = Bucket(level, i >> LevelBits(level));
        if (inside(b)) {
            // Strict comparisons keep the first of equal values, as a scan from the left would.
            if (b.LoY < loY) {
                loY = b.LoY;
                lo = i + b.LoAt;
            }
            if (b.HiY > hiY) {
                hiY = b.HiY;
                hi = i + b.HiAt;
            }
            i = std::min(N, i + (size_t(1) << LevelBits(level)));
            return true;
        }
        if (level == 0)
            return false;
        --level;
    }
}

void TChartSeries::KeepPair(size_t lo, size_t hi, std::vector<size_t>& out) const {
    if (lo == hi) {
        out.push_back(lo);
    } else {
        out.push_back(std::min(lo, hi));
        out.push_back(std::max(lo, hi));
    }
    // The caller reads the points kept next, and they lie anywhere in the column (or, for a run
    // kept from the last call, have not been near the memory caches for a while).
    for (const size_t k : {lo, hi}) {
        __builtin_prefetch(XAt(k));
        __builtin_prefetch(YAt(k));
    }
}

void TChartSeries::Decimate(double x0, double x1, int columns, std::vector<size_t>& out) const {
    out.clear();
    if (N == 0 || columns < 1 || !(x1 > x0))
        return;
    if (Ascending) {
        DecimateAscending(x0, x1, columns, out);
        return;
    }
    // It never decreases as X grows, so a bucket whose lowest and highest X share a column lies
    // wholly in that column.
    const TColumnRule columnOf(x0, x1, columns);
    size_t i = 0;
    while (i < N) {
        const size_t start = i;
        const int column = columnOf(X(i));
        size_t lo = i;
        size_t hi = i;
        double loY = INFINITY;
        double hiY = -INFINITY;
        // Extend the run by the largest bucket that starts here and lies in its column, else by
        // one point; a run crosses a few buckets of each level at its ends and whole large
        // buckets in between.
        while (i < N) {
            if ((i & (BlockSize - 1)) == 0 &&
                TakeBucket(
                    i,
                    [&](const TBucket& b) { return columnOf(b.LoX) == column && columnOf(b.HiX) == column; },
                    lo, hi, loY, hiY))
                continue;
            if (columnOf(X(i)) != column)
                break;
            const double y = Y(i);
            if (y < loY) {
                loY = y;
                lo = i;
            }
            if (y > hiY) {
                hiY = y;
                hi = i;
            }
            ++i;
        }
        if (i < N && i > start + BlockSize) {
            // A drawing reads a few scattered places of large arrays per column, and waiting for
            // memory is most of its cost with millions of points: ask for the places the next
            // run probably ends at (as many points as this run) while this one is finished.
            Prefetch(std::min(N - 1, i + (i - start)));
        }
        if (column >= 0 && column < columns) {
            KeepPair(lo, hi, out);
            continue;
        }
        // Outside the window only the points that carry the line to its edge matter.
        const bool left = column < 0;
        const size_t last = i - 1;
        const bool first = !left || start > 0;
        if (first)
            out.push_back(start);
        if ((left || i < N) && !(first && last == start))
            out.push_back(last);
    }
}

void TChartSeries::DecimateAscending(double x0, double x1, int columns, std::vector<size_t>& out) const {
    // With X ascending the column never decreases along the points.
    const TColumnRule columnOf(x0, x1, columns);
    NewRuns.clear();
    size_t next = 0; // the first point not yet in a new run
    if (RunsCount > 0 && RunsCount <= N) {
        for (size_t k = 0; k < Runs.size(); ++k) {
            const TRun& r = Runs[k];
            // The last run goes on with any points added since.
            if (r.Last + 1 == RunsCount && RunsCount != N)
                break;
            const int column = columnOf(r.FirstX);
            if (columnOf(r.LastX) != column || (k > 0 && columnOf(Runs[k - 1].LastX) == column) ||
                (k + 1 < Runs.size() && columnOf(Runs[k + 1].FirstX) == column))
                continue;
            if (next < r.First)
                WalkRuns(next, r.First, columnOf, NewRuns);
            NewRuns.push_back(r);
            next = r.Last + 1;
        }
    }
    if (next < N)
        WalkRuns(next, N, columnOf, NewRuns);
    Runs.swap(NewRuns);
    RunsCount = N;

    for (const TRun& r : Runs) {
        const int column = columnOf(r.FirstX);
        if (column < 0) {
            // Left of the window: the run starts the series, and its last point carries the line.
            out.push_back(r.Last);
        } else if (column >= columnOf.Columns) {
            // Right of it: the run ends the series, and its first point carries the line.
            out.push_back(r.First);
        } else {
            KeepPair(r.Lo, r.Hi, out);
        }
    }
}

void TChartSeries::WalkRuns(size_t from, size_t to, const TColumnRule& columnOf,
                            std::vector<TRun>& runs) const {
    const double x0 = columnOf.X0;
    const double x1 = columnOf.X1;
    const double scale = columnOf.Scale;
    const int columns = columnOf.Columns;
    size_t i = from;
    while (i < to) {
        const size_t start = i;
        const double startX = X(i);
        const int column = columnOf(startX);
        // Whether a point at or after the run's first lies in its column: the column rule
        // without the rounding down, which is most of its cost. Right of the window, all the
        // rest is one run; its lowest and highest are found too, as a later window may hold it.
        const double limit = column + 1.0;
        auto inRun = [&](double x) {
            if (column < 0)
                return x < x0;
            if (column >= columns - 1)
                return column >= columns || x <= x1;
            return x <= x1 && (x - x0) * scale < limit;
        };
        size_t lo = i;
        size_t hi = i;
        double loY = INFINITY;
        double hiY = -INFINITY;
        // A run never crosses `to`, the first point of another column, so it ends by itself there.
        while (i < N) {
            const size_t bottom = i >> BlockBits;
            // A bucket whose last point is still in the column lies in it: its first point, the
            // run's next, is there already.
            if ((i & (BlockSize - 1)) == 0 &&
                TakeBucket(
                    i, [&](const TBucket& b) { return inRun(b.HiX); }, lo, hi, loY, hiY))
                continue;
            // Inside one bottom bucket: find where the run ends in it, then take its lowest and
            // highest points up to there. The bucket's widened last X tells without reading the
            // points when the run goes on past it.
            const size_t end = std::min(N, (bottom + 1) << BlockBits);
            size_t stop = end - i;
            if (!inRun(Bucket(0, bottom).HiX)) {
                const double* xs = XAt(i);
                size_t inside = 0;
                while (inside < stop) {
                    const size_t mid = (inside + stop) / 2;
                    if (inRun(xs[mid]))
                        inside = mid + 1;
                    else
                        stop = mid;
                }
            }
            const double* ys = YAt(i);
            for (size_t k = 0; k < stop; ++k) {
                if (ys[k] < loY) {
                    loY = ys[k];
                    lo = i + k;
                }
                if (ys[k] > hiY) {
                    hiY = ys[k];
                    hi = i + k;
                }
            }
            i += stop;
            if (i < end)
                break;
        }
        // Ask for what the run after next probably ends at while this one and the next are
        // finished: with a regular polling interval runs are about as long as this one.
        if (i < to && i > start + BlockSize)
            Prefetch(std::min(N - 1, i + 2 * (i - start)));
        runs.push_back({start, i - 1, lo, hi, startX, X(i - 1)});
    }
}
