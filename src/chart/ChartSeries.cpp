#include "chart/ChartSeries.h"

#include <algorithm>
#include <bit>
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
    constexpr size_t bytes = ChunkSize * sizeof(double);
    void* p = std::aligned_alloc(bytes, bytes);
    if (!p)
        throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);
    return TChunk(static_cast<double*>(p));
}

bool TChartSeries::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    const size_t i = N;
    // Fixed chunks instead of one growing array: no copy of millions of points while the
    // measurement runs, and at most one chunk of slack.
    if ((i & ChunkMask) == 0) {
        XChunks.push_back(NewChunk());
        YChunks.push_back(NewChunk());
    }
    XChunks.back()[i & ChunkMask] = x;
    YChunks.back()[i & ChunkMask] = y;
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
    for (size_t level = 0; level < LevelCount; ++level) {
        const auto at = static_cast<uint32_t>(i & ((size_t(1) << LevelBits(level)) - 1));
        std::vector<TBucket>& buckets = Levels[level];
        if (at == 0) {
            // A quarter more each time instead of doubling keeps the slack, and so the memory per
            // point, low.
            if (buckets.size() == buckets.capacity())
                buckets.reserve(std::max<size_t>(16, buckets.capacity() + buckets.capacity() / 4));
            buckets.push_back({x, x, y, y, 0, 0});
            continue;
        }
        TBucket& b = buckets.back();
        b.LoX = std::min(b.LoX, x);
        b.HiX = std::max(b.HiX, x);
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
    std::vector<TChunk>().swap(XChunks);
    std::vector<TChunk>().swap(YChunks);
    for (auto& buckets : Levels)
        std::vector<TBucket>().swap(buckets);
    N = 0;
    LoX = HiX = LoY = HiY = 0;
    Ascending = true;
}

size_t TChartSeries::CapacityBytes() const {
    size_t bytes = (XChunks.size() + YChunks.size()) * ChunkSize * sizeof(double) +
                   (XChunks.capacity() + YChunks.capacity()) * sizeof(XChunks[0]);
    for (const auto& buckets : Levels)
        bytes += buckets.capacity() * sizeof(TBucket);
    return bytes;
}

namespace {
void PushPair(size_t lo, size_t hi, std::vector<size_t>& out) {
    if (lo == hi) {
        out.push_back(lo);
    } else {
        out.push_back(std::min(lo, hi));
        out.push_back(std::max(lo, hi));
    }
}
} // namespace

void TChartSeries::Prefetch(size_t around) const {
    const size_t first = around & ~(BlockSize - 1);
    const size_t last = std::min(N, first + BlockSize);
    constexpr size_t PerLine = 64 / sizeof(double);
    for (size_t k = first; k < last; k += PerLine) {
        __builtin_prefetch(&XChunks[k >> ChunkBits][k & ChunkMask]);
        __builtin_prefetch(&YChunks[k >> ChunkBits][k & ChunkMask]);
    }
    // A run ends by stepping through up to Fanout buckets of each level before the place.
    for (size_t level = 0; level < 4; ++level) {
        const std::vector<TBucket>& buckets = Levels[level];
        const size_t b = std::min(buckets.size(), (around >> LevelBits(level)) + 1);
        for (size_t k = b > Fanout ? b - Fanout : 0; k < b; k += 64 / sizeof(TBucket))
            __builtin_prefetch(&buckets[k]);
        if (b > 0)
            __builtin_prefetch(&buckets[b - 1]);
    }
}

void TChartSeries::Decimate(double x0, double x1, int columns, std::vector<size_t>& out) const {
    out.clear();
    if (N == 0 || columns < 1 || !(x1 > x0))
        return;
    const double scale = columns / (x1 - x0);
    const int lastColumn = columns - 1;
    // The column of a point, -1 left of the window and `columns` right of it. One expression
    // decides every boundary and it never decreases as X grows, so a bucket whose lowest and
    // highest X share a column lies wholly in that column.
    auto columnOf = [&](double x) {
        if (x < x0)
            return -1;
        if (x > x1)
            return columns;
        const double c = std::floor((x - x0) * scale);
        return c < lastColumn ? static_cast<int>(c) : lastColumn;
    };

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
            if ((i & (BlockSize - 1)) == 0) {
                size_t level =
                    i == 0 ? LevelCount - 1
                           : std::min(LevelCount - 1, (size_t(std::countr_zero(i)) - BlockBits) / FanoutBits);
                bool took = false;
                for (;;) {
                    const TBucket& b = Levels[level][i >> LevelBits(level)];
                    if (columnOf(b.LoX) == column && columnOf(b.HiX) == column) {
                        if (b.LoY < loY) {
                            loY = b.LoY;
                            lo = i + b.LoAt;
                        }
                        if (b.HiY > hiY) {
                            hiY = b.HiY;
                            hi = i + b.HiAt;
                        }
                        i = std::min(N, i + (size_t(1) << LevelBits(level)));
                        took = true;
                        break;
                    }
                    if (level == 0)
                        break;
                    --level;
                }
                if (took)
                    continue;
            }
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
            PushPair(lo, hi, out);
            // The caller reads the points kept next.
            for (const size_t k : {lo, hi}) {
                __builtin_prefetch(&XChunks[k >> ChunkBits][k & ChunkMask]);
                __builtin_prefetch(&YChunks[k >> ChunkBits][k & ChunkMask]);
            }
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
