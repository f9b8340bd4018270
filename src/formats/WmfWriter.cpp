#include "formats/WmfWriter.h"

#include <algorithm>
#include <cstdlib>

namespace {
int16_t Clamp16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}
} // namespace

TWmfWriter::TWmfWriter(const QRect& bounds, int unitsPerInch) : Bounds(bounds), UnitsPerInch(unitsPerInch) {}

void TWmfWriter::Begin(uint16_t function, size_t paramWords) {
    const uint32_t words = static_cast<uint32_t>(3 + paramWords);
    MaxRecordWords = std::max(MaxRecordWords, words);
    Dword(words);
    Word(function);
}

void TWmfWriter::Word(int value) {
    const uint16_t v = static_cast<uint16_t>(value);
    Body.append(static_cast<char>(v & 0xFF));
    Body.append(static_cast<char>(v >> 8));
}

void TWmfWriter::Dword(uint32_t value) {
    Word(static_cast<int>(value & 0xFFFF));
    Word(static_cast<int>(value >> 16));
}

void TWmfWriter::Color(const QColor& color) {
    // COLORREF: red, green, blue, 0.
    Body.append(static_cast<char>(color.red()));
    Body.append(static_cast<char>(color.green()));
    Body.append(static_cast<char>(color.blue()));
    Body.append('\0');
}

void TWmfWriter::PointXY(QPoint p) {
    Word(Clamp16(p.x()));
    Word(Clamp16(p.y()));
}

int TWmfWriter::AllocSlot() {
    auto it = std::find(Slots.begin(), Slots.end(), false);
    const int slot = static_cast<int>(it - Slots.begin());
    if (it == Slots.end())
        Slots.push_back(true);
    else
        *it = true;
    MaxObjects = std::max(MaxObjects, static_cast<int>(Slots.size()));
    return slot;
}

int TWmfWriter::CreatePen(uint16_t style, int width, const QColor& color) {
    Begin(Wmf::RecCreatePenIndirect, 5);
    Word(style);
    Word(Clamp16(width)); // width as a point: x is the width, y unused
    Word(0);
    Color(color);
    return AllocSlot();
}

int TWmfWriter::CreateBrush(uint16_t style, const QColor& color) {
    Begin(Wmf::RecCreateBrushIndirect, 4);
    Word(style);
    Color(color);
    Word(0); // hatch
    return AllocSlot();
}

int TWmfWriter::CreateFont(const TWmfFontSpec& font) {
    Begin(Wmf::RecCreateFontIndirect, 9 + 16);
    Word(Clamp16(-std::abs(font.Height))); // negative: character height rather than cell height
    Word(0);                               // width: from the aspect ratio
    Word(0);                               // escapement
    Word(0);                               // orientation
    Word(font.Bold ? 700 : 400);
    Body.append(static_cast<char>(font.Italic ? 1 : 0));
    Body.append(static_cast<char>(font.Underline ? 1 : 0));
    Body.append('\0'); // strike-out
    Body.append(static_cast<char>(Wmf::CyrillicCharset));
    Body.append('\0'); // out precision
    Body.append('\0'); // clip precision
    Body.append('\0'); // quality
    Body.append('\0'); // pitch and family
    QByteArray face = font.Face.left(31);
    face.append(QByteArray(32 - face.size(), '\0'));
    Body.append(face);
    return AllocSlot();
}

void TWmfWriter::SelectObject(int slot) {
    Begin(Wmf::RecSelectObject, 1);
    Word(slot);
}

void TWmfWriter::DeleteObject(int slot) {
    Begin(Wmf::RecDeleteObject, 1);
    Word(slot);
    if (slot >= 0 && slot < static_cast<int>(Slots.size()))
        Slots[slot] = false;
}

void TWmfWriter::SetWindowOrg(int x, int y) {
    Begin(Wmf::RecSetWindowOrg, 2);
    Word(Clamp16(y));
    Word(Clamp16(x));
}

void TWmfWriter::SetWindowExt(int width, int height) {
    Begin(Wmf::RecSetWindowExt, 2);
    Word(Clamp16(height));
    Word(Clamp16(width));
}

void TWmfWriter::SetMapMode(uint16_t mode) {
    Begin(Wmf::RecSetMapMode, 1);
    Word(mode);
}

void TWmfWriter::SetBkMode(uint16_t mode) {
    Begin(Wmf::RecSetBkMode, 1);
    Word(mode);
}

void TWmfWriter::SetTextAlign(uint16_t align) {
    Begin(Wmf::RecSetTextAlign, 1);
    Word(align);
}

void TWmfWriter::SetPolyFillMode(uint16_t mode) {
    Begin(Wmf::RecSetPolyFillMode, 1);
    Word(mode);
}

void TWmfWriter::SetTextColor(const QColor& color) {
    Begin(Wmf::RecSetTextColor, 2);
    Color(color);
}

void TWmfWriter::SaveDc() {
    Begin(Wmf::RecSaveDc, 0);
}

void TWmfWriter::RestoreDc(int which) {
    Begin(Wmf::RecRestoreDc, 1);
    Word(which);
}

void TWmfWriter::IntersectClipRect(const QRect& rect) {
    Begin(Wmf::RecIntersectClipRect, 4);
    Word(Clamp16(rect.top() + rect.height()));
    Word(Clamp16(rect.left() + rect.width()));
    Word(Clamp16(rect.top()));
    Word(Clamp16(rect.left()));
}

void TWmfWriter::MoveTo(QPoint p) {
    Begin(Wmf::RecMoveTo, 2);
    Word(Clamp16(p.y()));
    Word(Clamp16(p.x()));
}

void TWmfWriter::LineTo(QPoint p) {
    Begin(Wmf::RecLineTo, 2);
    Word(Clamp16(p.y()));
    Word(Clamp16(p.x()));
}

void TWmfWriter::WritePoly(uint16_t function, std::span<const QPoint> points) {
    Begin(function, 1 + 2 * points.size());
    Word(static_cast<int>(points.size()));
    for (const QPoint& p : points)
        PointXY(p);
}

void TWmfWriter::Polyline(std::span<const QPoint> points) {
    if (points.size() < 2)
        return;
    size_t start = 0;
    for (;;) {
        const size_t n = std::min<size_t>(Wmf::MaxPolyPoints, points.size() - start);
        WritePoly(Wmf::RecPolyline, points.subspan(start, n));
        if (start + n >= points.size())
            break;
        start += n - 1; // the next piece starts where this one ends
    }
}

void TWmfWriter::Polygon(std::span<const QPoint> points) {
    if (points.size() < 3)
        return;
    if (points.size() <= static_cast<size_t>(Wmf::MaxPolyPoints)) {
        WritePoly(Wmf::RecPolygon, points);
        return;
    }
    std::vector<QPoint> closed(points.begin(), points.end());
    closed.push_back(points.front());
    Polyline(closed);
}

void TWmfWriter::Rectangle(const QRect& rect) {
    Begin(Wmf::RecRectangle, 4);
    Word(Clamp16(rect.top() + rect.height()));
    Word(Clamp16(rect.left() + rect.width()));
    Word(Clamp16(rect.top()));
    Word(Clamp16(rect.left()));
}

void TWmfWriter::ExtTextOut(QPoint p, const QByteArray& text) {
    const QByteArray t = text.left(32767);
    const size_t strWords = (static_cast<size_t>(t.size()) + 1) / 2;
    Begin(Wmf::RecExtTextOut, 4 + strWords);
    Word(Clamp16(p.y()));
    Word(Clamp16(p.x()));
    Word(static_cast<int>(t.size()));
    Word(0); // options: no clipping or opaque rectangle, no spacing array
    Body.append(t);
    if (t.size() % 2)
        Body.append('\0');
}

QByteArray TWmfWriter::Finish() {
    if (Finished)
        return {};
    Finished = true;
    Begin(Wmf::RecEof, 0);

    QByteArray out;
    auto word = [&out](int v) {
        const uint16_t u = static_cast<uint16_t>(v);
        out.append(static_cast<char>(u & 0xFF));
        out.append(static_cast<char>(u >> 8));
    };
    auto dword = [&word](uint32_t v) {
        word(static_cast<int>(v & 0xFFFF));
        word(static_cast<int>(v >> 16));
    };

    // Placeable header; its checksum covers the ten words before it.
    dword(Wmf::PlaceableKey);
    word(0);
    word(Clamp16(Bounds.left()));
    word(Clamp16(Bounds.top()));
    word(Clamp16(Bounds.left() + Bounds.width()));
    word(Clamp16(Bounds.top() + Bounds.height()));
    word(UnitsPerInch);
    dword(0);
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(static_cast<uint8_t>(out[i]) | (static_cast<uint8_t>(out[i + 1]) << 8));
    word(sum);

    const uint32_t totalWords = static_cast<uint32_t>(Wmf::HeaderWords + Body.size() / 2);
    word(1); // memory metafile, as files written by Windows say
    word(Wmf::HeaderWords);
    word(0x0300);
    dword(totalWords);
    word(MaxObjects);
    dword(MaxRecordWords);
    word(0); // no members
    out.append(Body);
    Body.clear();
    return out;
}
