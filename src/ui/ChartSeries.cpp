#include "ChartSeries.h"

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
        BlockLo.push_back(0);
        BlockHi.push_back(0);
    } else {
        const size_t base = block * BlockSize;
        // Strict comparisons keep the first of equal values, as a scan from the left would.
        if (y < Y[base + BlockLo[block]])
            BlockLo[block] = offset;
        if (y > Y[base + BlockHi[block]])
            BlockHi[block] = offset;
    }
    return true;
}

void TChartSeries::Clear() {
    // A cleared chart gives its memory back; a month of points is a lot to hold for nothing.
    std::vector<double>().swap(X);
    std::vector<double>().swap(Y);
    std::vector<uint8_t>().swap(BlockLo);
    std::vector<uint8_t>().swap(BlockHi);
    LoX = HiX = LoY = HiY = 0;
    Ascending = true;
}

size_t TChartSeries::CapacityBytes() const {
    return (X.capacity() + Y.capacity()) * sizeof(double) + BlockLo.capacity() + BlockHi.capacity();
}

void TChartSeries::RangeExtremes(size_t begin, size_t end, size_t& lo, size_t& hi) const {
    lo = hi = begin;
    size_t i = begin + 1;
    auto scan = [&](size_t to) {
        for (; i < to; ++i) {
            if (Y[i] < Y[lo])
                lo = i;
            if (Y[i] > Y[hi])
                hi = i;
        }
    };
    const size_t aligned = (begin + BlockSize - 1) / BlockSize * BlockSize;
    if (aligned == begin)
        i = begin; // the block summary covers begin itself
    else
        scan(std::min(end, aligned));
    while (i + BlockSize <= end) {
        const size_t block = i / BlockSize;
        const size_t l = i + BlockLo[block];
        const size_t h = i + BlockHi[block];
        if (Y[l] < Y[lo])
            lo = l;
        if (Y[h] > Y[hi])
            hi = h;
        i += BlockSize;
    }
    scan(end);
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

    const auto xb = X.begin();
    const size_t first = static_cast<size_t>(std::lower_bound(xb, X.end(), x0) - xb);
    const size_t end = static_cast<size_t>(std::upper_bound(xb + static_cast<ptrdiff_t>(first), X.end(), x1) - xb);
    if (first > 0)
        out.push_back(first - 1);
    size_t begin = first;
    while (begin < end) {
        const int column = columnOf(X[begin]);
        size_t colEnd = end;
        if (column < lastColumn) {
            // Galloping search: a column holds few points compared with the series.
            auto inColumn = [&](size_t k) { return columnOf(X[k]) <= column; };
            size_t lo = begin + 1;
            size_t step = 1;
            size_t hi = lo;
            while (hi < end && inColumn(hi)) {
                lo = hi + 1;
                hi = lo + step;
                step *= 2;
            }
            hi = std::min(hi, end);
            colEnd = static_cast<size_t>(
                std::partition_point(xb + static_cast<ptrdiff_t>(lo), xb + static_cast<ptrdiff_t>(hi),
                                     [&](double x) { return columnOf(x) <= column; }) -
                xb);
        }
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
