#include "chart/CanvasSvg.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
QByteArray ColorText(const QColor& color) {
    return color.name(QColor::HexRgb).toLatin1();
}

QByteArray Escaped(const QString& text) {
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters are not allowed in XML 1.0 text.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
                out += c;
            break;
        }
    }
    return out;
}
} // namespace

TSvgCanvas::TSvgCanvas(QSizeF size) {
    Append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
    AppendNumber(size.width());
    Append("\" height=\"");
    AppendNumber(size.height());
    Append("\" viewBox=\"0 0 ");
    AppendNumber(size.width());
    Append(" ");
    AppendNumber(size.height());
    Append("\">\n");
}

TSvgCanvas::~TSvgCanvas() = default;

void TSvgCanvas::Append(const char* text) {
    Out.append(text);
}

void TSvgCanvas::AppendNumber(double value) {
    if (!std::isfinite(value))
        value = 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    char* end = res.ptr;
    // Trailing zeros only lengthen the file.
    while (end > buf && end[-1] == '0')
        --end;
    if (end > buf && end[-1] == '.')
        --end;
    if (end == buf || (end - buf == 1 && buf[0] == '-'))
        Out.append('0');
    else if (end - buf == 2 && buf[0] == '-' && buf[1] == '0')
        Out.append('0');
    else
        Out.append(buf, end - buf);
}

void TSvgCanvas::AppendPoints(std::span<const QPointF> points) {
    Append(" points=\"");
    bool first = true;
    for (const QPointF& p : points) {
        if (!first)
            Out.append(' ');
        first = false;
        AppendNumber(p.x());
        Out.append(',');
        AppendNumber(p.y());
    }
    Out.append('"');
}

void TSvgCanvas::AppendStroke() {
    if (CurPen.Style == TCanvasPenStyle::None) {
        Append(" stroke=\"none\"");
        return;
    }
    const int w = std::max(1, CurPen.Width);
    Append(" stroke=\"");
    Out.append(ColorText(CurPen.Color));
    Append("\" stroke-width=\"");
    AppendNumber(w);
    Out.append('"');
    const char* dashes = nullptr;
    switch (CurPen.Style) {
    case TCanvasPenStyle::Dash:
        dashes = "4 2";
        break;
    case TCanvasPenStyle::Dot:
        dashes = "1 2";
        break;
    case TCanvasPenStyle::DashDot:
        dashes = "4 2 1 2";
        break;
    default:
        break;
    }
    if (dashes) {
        // Dash lengths follow the pen width, as on the other surfaces.
        Append(" stroke-dasharray=\"");
        QByteArray d(dashes);
        bool first = true;
        for (const QByteArray& part : d.split(' ')) {
            if (!first)
                Out.append(' ');
            first = false;
            AppendNumber(part.toInt() * w);
        }
        Out.append('"');
    }
}

void TSvgCanvas::AppendFill(const TCanvasBrush& brush) {
    if (brush.Style == TCanvasBrushStyle::None) {
        Append(" fill=\"none\"");
        return;
    }
    Append(" fill=\"");
    Out.append(ColorText(brush.Color));
    Out.append('"');
}

void TSvgCanvas::Line(QPointF from, QPointF to) {
    if (CurPen.Style == TCanvasPenStyle::None)
        return;
    Append("<line x1=\"");
    AppendNumber(from.x());
    Append("\" y1=\"");
    AppendNumber(from.y());
    Append("\" x2=\"");
    AppendNumber(to.x());
    Append("\" y2=\"");
    AppendNumber(to.y());
    Out.append('"');
    AppendStroke();
    Append("/>\n");
}

void TSvgCanvas::Polyline(std::span<const QPointF> points) {
    if (points.size() < 2 || CurPen.Style == TCanvasPenStyle::None)
        return;
    Append("<polyline fill=\"none\"");
    AppendStroke();
    AppendPoints(points);
    Append("/>\n");
}

void TSvgCanvas::Polygon(std::span<const QPointF> points) {
    if (points.size() < 3)
        return;
    Append("<polygon fill-rule=\"nonzero\"");
    AppendFill(CurBrush);
    AppendStroke();
    AppendPoints(points);
    Append("/>\n");
}

void TSvgCanvas::Rectangle(const QRectF& rect) {
    Append("<rect x=\"");
    AppendNumber(rect.x());
    Append("\" y=\"");
    AppendNumber(rect.y());
    Append("\" width=\"");
    AppendNumber(rect.width());
    Append("\" height=\"");
    AppendNumber(rect.height());
    Out.append('"');
    AppendFill(CurBrush);
    AppendStroke();
    Append("/>\n");
}

void TSvgCanvas::FillRect(const QRectF& rect, const QColor& color) {
    Append("<rect x=\"");
    AppendNumber(rect.x());
    Append("\" y=\"");
    AppendNumber(rect.y());
    Append("\" width=\"");
    AppendNumber(rect.width());
    Append("\" height=\"");
    AppendNumber(rect.height());
    Out.append('"');
    AppendFill(TCanvasBrush{color, TCanvasBrushStyle::Solid});
    Append(" stroke=\"none\"/>\n");
}

void TSvgCanvas::Text(QPointF topLeft, const QString& text) {
    Append("<text x=\"");
    AppendNumber(topLeft.x());
    Append("\" y=\"");
    AppendNumber(topLeft.y() + TextAscent());
    Append("\" font-family=\"");
    Out.append(Escaped(CurFont.Face));
    Append(", sans-serif\" font-size=\"");
    AppendNumber(CanvasFontPixels(CurFont));
    Out.append('"');
    if (CurFont.Bold)
        Append(" font-weight=\"bold\"");
    if (CurFont.Italic)
        Append(" font-style=\"italic\"");
    if (CurFont.Underline)
        Append(" text-decoration=\"underline\"");
    Append(" fill=\"");
    Out.append(ColorText(CurFont.Color));
    Append("\" xml:space=\"preserve\">");
    Out.append(Escaped(text));
    Append("</text>\n");
}

void TSvgCanvas::SetClipRect(const QRectF& rect) {
    ResetClip();
    ++ClipCount;
    const QByteArray id = "clip" + QByteArray::number(ClipCount);
    Append("<clipPath id=\"");
    Out.append(id);
    Append("\"><rect x=\"");
    AppendNumber(rect.x());
    Append("\" y=\"");
    AppendNumber(rect.y());
    Append("\" width=\"");
    AppendNumber(rect.width());
    Append("\" height=\"");
    AppendNumber(rect.height());
    Append("\"/></clipPath>\n<g clip-path=\"url(#");
    Out.append(id);
    Append(")\">\n");
    Clipped = true;
}

void TSvgCanvas::ResetClip() {
    if (!Clipped)
        return;
    Append("</g>\n");
    Clipped = false;
}

QByteArray TSvgCanvas::Finish() {
    if (!Finished) {
        ResetClip();
        Append("</svg>\n");
        Finished = true;
    }
    return Out;
}
