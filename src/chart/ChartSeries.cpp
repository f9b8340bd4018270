#include "chart/ChartSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

TChartSeries::TChartSeries(QString title, QColor color) : Title(std::move(title)), Color(std::move(color)) {}

void TChartSeries::Grow() {
    // A quarter more each time instead of doubling keeps the slack, and so the memory per point, low.
    const size_t cap = X.capacity();
    const size_t next = std::max<size_t>(1024, cap + cap / 4);
    X.reserve(next);
    Y.reserve(next);
    const size_t blocks = next / BlockSize + 1;
    BlockFirstX.reserve(blocks);
    BlockLoY.reserve(blocks);
    BlockHiY.reserve(blocks);
    BlockLoAt.reserve(blocks);
    BlockHiAt.reserve(blocks);
}

bool TChartSeries::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    if (X.size() == X.capacity())
        Grow();
    if (X.empty()) {
        LoX = HiX = x;
        LoY = HiY = y;
    } else {
        if (x < X.back())
            Ascending = false;
        LoX = std::min(LoX, x);
        HiX = std::max(HiX, x);
        LoY = std::min(LoY, y);
        HiY = std::max(HiY, y);
    }
    const size_t i = X.size();
    X.push_back(x);
    Y.push_back(y);
    const size_t block = i / BlockSize;
    const auto offset = static_cast<uint8_t>(i % BlockSize);
    if (offset == 0) {
        BlockFirstX.push_back(x);
        BlockLoY.push_back(y);
        BlockHiY.push_back(y);
        BlockLoAt.push_back(0);
        BlockHiAt.push_back(0);
    } else {
        // Strict comparisons keep the first of equal values, as a scan from the left would.
        if (y < BlockLoY[block]) {
            BlockLoY[block] = y;
            BlockLoAt[block] = offset;
        }
        if (y > BlockHiY[block]) {
            BlockHiY[block] = y;
            BlockHiAt[block] = offset;
        }
    }
    return true;
}

void TChartSeries::Clear() {
    // A cleared chart gives its memory back; a month of points is a lot to hold for nothing.
    std::vector<double>().swap(X);
    std::vector<double>().swap(Y);
    std::vector<double>().swap(BlockFirstX);
    std::vector<double>().swap(BlockLoY);
    std::vector<double>().swap(BlockHiY);
    std::vector<uint8_t>().swap(BlockLoAt);
    std::vector<uint8_t>().swap(BlockHiAt);
    LoX = HiX = LoY = HiY = 0;
    Ascending = true;
}

size_t TChartSeries::CapacityBytes() const {
    return (X.capacity() + Y.capacity() + BlockFirstX.capacity() + BlockLoY.capacity() +
            BlockHiY.capacity()) *
               sizeof(double) +
           BlockLoAt.capacity() + BlockHiAt.capacity();
}

void TChartSeries::RangeExtremes(size_t begin, size_t end, size_t& lo, size_t& hi) const {
    lo = hi = begin;
    double loY = Y[begin];
    double hiY = loY;
    size_t i = begin + 1;
    auto scan = [&](size_t to) {
        for (; i < to; ++i) {
            const double y = Y[i];
            if (y < loY) {
                loY = y;
                lo = i;
            }
            if (y > hiY) {
                hiY = y;
                hi = i;
            }
        }
    };
    const size_t aligned = (begin + BlockSize - 1) / BlockSize * BlockSize;
    if (aligned == begin)
        i = begin; // the block summary covers begin itself
    else
        scan(std::min(end, aligned));
    for (; i + BlockSize <= end; i += BlockSize) {
        const size_t block = i / BlockSize;
        if (BlockLoY[block] < loY) {
            loY = BlockLoY[block];
            lo = i + BlockLoAt[block];
        }
        if (BlockHiY[block] > hiY) {
            hiY = BlockHiY[block];
            hi = i + BlockHiAt[block];
        }
    }
    scan(end);
}

template <typename Pred> size_t TChartSeries::PartitionPoint(size_t begin, size_t end, Pred pred) const {
    if (begin >= end)
        return end;
    // Galloping over the blocks' first X from the block of begin: a column usually holds few
    // blocks compared with the series.
    const size_t blockEnd = (end + BlockSize - 1) / BlockSize; // blocks that start before end
    size_t lo = begin / BlockSize + 1;
    size_t hi = lo;
    size_t step = 1;
    while (hi < blockEnd && pred(BlockFirstX[hi])) {
        lo = hi + 1;
        hi = lo + step;
        step *= 2;
    }
    hi = std::min(hi, blockEnd);
    const auto bx = BlockFirstX.begin();
    const size_t failBlock = static_cast<size_t>(
        std::partition_point(bx + static_cast<ptrdiff_t>(lo), bx + static_cast<ptrdiff_t>(hi), pred) - bx);
    // The answer lies in the block before the first block whose first X fails.
    const size_t from = std::max(begin, (failBlock - 1) * BlockSize);
    const size_t to = std::min(end, failBlock * BlockSize);
    const auto xb = X.begin();
    return static_cast<size_t>(
        std::partition_point(xb + static_cast<ptrdiff_t>(from), xb + static_cast<ptrdiff_t>(to), pred) - xb);
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

void TChartSeries::Decimate(double x0, double x1, int columns, std::vector<size_t>& out) const {
    out.clear();
    if (X.empty() || columns < 1 || !(x1 > x0))
        return;
    if (!Ascending) {
        DecimateUnordered(x0, x1, columns, out);
        return;
    }
    const double scale = columns / (x1 - x0);
    const int lastColumn = columns - 1;
    // The pixel column of a point; the same expression decides every column boundary.
    auto columnOf = [&](double x) {
        const double c = std::floor((x - x0) * scale);
        return c >= lastColumn ? lastColumn : static_cast<int>(c);
    };

    const size_t first = PartitionPoint(0, X.size(), [&](double x) { return x < x0; });
    const size_t end = PartitionPoint(first, X.size(), [&](double x) { return x <= x1; });
    if (first > 0)
        out.push_back(first - 1);
    size_t begin = first;
    while (begin < end) {
        const int column = columnOf(X[begin]);
        const size_t colEnd =
            column < lastColumn
                ? PartitionPoint(begin + 1, end, [&](double x) { return columnOf(x) <= column; })
                : end;
        size_t lo = 0;
        size_t hi = 0;
        RangeExtremes(begin, colEnd, lo, hi);
        PushPair(lo, hi, out);
        begin = colEnd;
    }
    if (end < X.size())
        out.push_back(end);
}

void TChartSeries::DecimateUnordered(double x0, double x1, int columns, std::vector<size_t>& out) const {
    const double scale = columns / (x1 - x0);
    auto columnOf = [&](double x) {
        const double c = std::floor((x - x0) * scale);
        return static_cast<long long>(std::clamp(c, -1e15, 1e15));
    };
    size_t runStart = 0;
    long long runColumn = columnOf(X[0]);
    for (size_t i = 1; i <= X.size(); ++i) {
        const long long c = i < X.size() ? columnOf(X[i]) : runColumn + 1;
        if (c == runColumn)
            continue;
        size_t lo = runStart;
        size_t hi = runStart;
        for (size_t k = runStart + 1; k < i; ++k) {
            if (Y[k] < Y[lo])
                lo = k;
            if (Y[k] > Y[hi])
                hi = k;
        }
        PushPair(lo, hi, out);
        runStart = i;
        runColumn = c;
    }
}
