#include "chart/ChartMath.h"

#include <charconv>
#include <cmath>
#include <string>

QString FormatFloatMask(double value, QStringView mask) {
    if (!std::isfinite(value))
        return QString::number(value);
    const qsizetype dot = mask.indexOf(QLatin1Char('.'));
    const QStringView intMask = dot < 0 ? mask : mask.left(dot);
    const QStringView fracMask = dot < 0 ? QStringView() : mask.mid(dot + 1);
    const bool group = intMask.contains(QLatin1Char(','));
    const int minInt = static_cast<int>(intMask.count(QLatin1Char('0')));
    const int minDec = static_cast<int>(fracMask.count(QLatin1Char('0')));
    const int maxDec = minDec + static_cast<int>(fracMask.count(QLatin1Char('#')));

    // Shortest correct decimal rounding of the binary value.
    std::string buf(400, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value), std::chars_format::fixed,
                             maxDec);
    std::string digits(buf.data(), res.ptr);
    std::string intPart = digits;
    std::string fracPart;
    if (const size_t p = digits.find('.'); p != std::string::npos) {
        intPart = digits.substr(0, p);
        fracPart = digits.substr(p + 1);
    }
    while (static_cast<int>(fracPart.size()) > minDec && fracPart.back() == '0')
        fracPart.pop_back();
    // Leading zeros beyond the mask's minimum integer digits are not shown.
    size_t firstNonZero = intPart.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        firstNonZero = intPart.size();
    intPart = intPart.substr(firstNonZero);
    if (static_cast<int>(intPart.size()) < minInt)
        intPart.insert(0, minInt - intPart.size(), '0');

    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    std::string out;
    if (value < 0 && !zero)
        out += '-';
    if (group) {
        const size_t n = intPart.size();
        for (size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                out += ',';
            out += intPart[i];
        }
    } else {
        out += intPart;
    }
    if (!fracPart.empty()) {
        out += '.';
        out += fracPart;
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

double NiceStep(double min, double max, int maxCount) {
    const double range = max - min;
    if (!(range > 0) || !std::isfinite(range) || maxCount < 1)
        return 0;
    const double raw = range / maxCount;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / mag;
    double nice = 10;
    if (norm <= 1)
        nice = 1;
    else if (norm <= 2)
        nice = 2;
    else if (norm <= 5)
        nice = 5;
    return nice * mag;
}

std::vector<double> NiceTicks(double min, double max, int maxCount) {
    std::vector<double> ticks;
    const double step = NiceStep(min, max, maxCount);
    if (!(step > 0) || !std::isfinite(step))
        return ticks;
    // Integer multiples of the step, so a tick at zero is exactly zero.
    const double first = std::ceil(min / step - 1e-9);
    const double last = std::floor(max / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > 10.0 * maxCount + 10)
        return ticks;
    for (double k = first; k <= last; k += 1)
        ticks.push_back(k * step);
    return ticks;
}

namespace ChartCommands {
double Step(const TAxisRange& r) {
    return (r.Max - r.Min) / 30;
}

TAxisRange ZoomOutX(const TAxisRange& x) {
    const double step = Step(x);
    return {x.Min, x.Max + step};
}

TAxisRange ZoomInX(const TAxisRange& x) {
    const double step = Step(x);
    return {x.Min, x.Max - step};
}

TAxisRange ZoomOutY(const TAxisRange& y) {
    const double step = Step(y);
    return {y.Min - step, y.Max + step};
}

TAxisRange ZoomInY(const TAxisRange& y) {
    const double step = Step(y);
    return {y.Min + step, y.Max - step};
}

TAxisRange MoveLeft(const TAxisRange& x) {
    const double step = Step(x);
    if (x.Min - step >= 0)
        return {x.Min - step, x.Max - step};
    return {0, x.Max - x.Min};
}

TAxisRange MoveRight(const TAxisRange& x) {
    const double step = Step(x);
    return {x.Min + step, x.Max + step};
}

TAxisRange MoveDown(const TAxisRange& y) {
    const double step = Step(y);
    return {y.Min + step, y.Max + step};
}

TAxisRange MoveUp(const TAxisRange& y) {
    const double step = Step(y);
    return {y.Min - step, y.Max - step};
}
} // namespace ChartCommands

std::span<const QPointF> TPolylinePieces::Piece(size_t i) const {
    const size_t begin = Starts[i];
    const size_t end = i + 1 < Starts.size() ? Starts[i + 1] : Points.size();
    return std::span<const QPointF>(Points).subspan(begin, end - begin);
}

namespace {
// Liang-Barsky: the parameters t0 <= t1 of the part of a->b inside the rectangle.
bool ClipSegment(QPointF a, QPointF b, const QRectF& r, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1)
                return false;
            if (t > t0)
                t0 = t;
        } else {
            if (t < t0)
                return false;
            if (t < t1)
                t1 = t;
        }
    }
    return true;
}
} // namespace

void ClipPolyline(std::span<const QPointF> points, const QRectF& rect, TPolylinePieces& out) {
    out.Points.clear();
    out.Starts.clear();
    bool open = false;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const QPointF a = points[i];
        const QPointF b = points[i + 1];
        double t0 = 0;
        double t1 = 1;
        if (!ClipSegment(a, b, rect, t0, t1)) {
            open = false;
            continue;
        }
        const QPointF d = b - a;
        if (!open || t0 > 0) {
            out.Starts.push_back(out.Points.size());
            out.Points.push_back(t0 > 0 ? a + d * t0 : a);
        }
        out.Points.push_back(t1 < 1 ? a + d * t1 : b);
        open = t1 >= 1;
    }
}
