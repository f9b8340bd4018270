#include "chart/Canvas.h"

#include <algorithm>
#include <cmath>

int CanvasFontPixels(const TCanvasFont& font) {
    return std::max(1, static_cast<int>(std::lround(font.Size * CanvasUnitsPerInch / 72.0)));
}

QFont ToQFont(const TCanvasFont& font) {
    QFont f(font.Face);
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(CanvasFontPixels(font));
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    return f;
}

TCanvas::~TCanvas() = default;

void TCanvas::SetFont(const TCanvasFont& font) {
    if (font == CurFont)
        return;
    CurFont = font;
    CachedMetrics.reset();
}

const QFontMetricsF& TCanvas::Metrics() const {
    if (!CachedMetrics)
        CachedMetrics = std::make_unique<QFontMetricsF>(ToQFont(CurFont));
    return *CachedMetrics;
}

QSizeF TCanvas::TextExtent(const QString& text) const {
    const QFontMetricsF& m = Metrics();
    return QSizeF(m.horizontalAdvance(text), m.ascent() + m.descent());
}

double TCanvas::TextAscent() const {
    return Metrics().ascent();
}
