#pragma once
// Writer of 16-bit Windows metafiles (WMF) with the placeable header, record by record.
// Coordinates are 16-bit logical units; values beyond that range are clamped.
#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <span>
#include <vector>

namespace Wmf {
// Record functions written here.
enum : uint16_t {
    RecEof = 0x0000,
    RecSaveDc = 0x001E,
    RecSetBkMode = 0x0102,
    RecSetMapMode = 0x0103,
    RecSetPolyFillMode = 0x0106,
    RecRestoreDc = 0x0127,
    RecSelectObject = 0x012D,
    RecSetTextAlign = 0x012E,
    RecDeleteObject = 0x01F0,
    RecSetTextColor = 0x0209,
    RecSetWindowOrg = 0x020B,
    RecSetWindowExt = 0x020C,
    RecLineTo = 0x0213,
    RecMoveTo = 0x0214,
    RecCreatePenIndirect = 0x02FA,
    RecCreateFontIndirect = 0x02FB,
    RecCreateBrushIndirect = 0x02FC,
    RecPolygon = 0x0324,
    RecPolyline = 0x0325,
    RecIntersectClipRect = 0x0416,
    RecRectangle = 0x041B,
    RecExtTextOut = 0x0A32,
};
inline constexpr uint32_t PlaceableKey = 0x9AC6CDD7u;
inline constexpr int PlaceableHeaderBytes = 22;
inline constexpr int HeaderWords = 9;
// Point counts of polylines and polygons are signed 16-bit.
inline constexpr int MaxPolyPoints = 32767;
inline constexpr uint8_t CyrillicCharset = 204;

enum : uint16_t { PenSolid = 0, PenDash = 1, PenDot = 2, PenDashDot = 3, PenNull = 5 };
enum : uint16_t { BrushSolid = 0, BrushNull = 1 };
enum : uint16_t { BkTransparent = 1, MapAnisotropic = 8, FillAlternate = 1, FillWinding = 2 };
} // namespace Wmf

struct TWmfFontSpec {
    int Height = 11; // character height in logical units
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    QByteArray Face = "Arial"; // Windows-1251, at most 31 bytes are kept
};

class TWmfWriter {
public:
    // bounds: the picture in logical units; unitsPerInch: their size.
    TWmfWriter(const QRect& bounds, int unitsPerInch);

    // Objects take the lowest free slot of the object table, as on playback; DeleteObject frees it.
    int CreatePen(uint16_t style, int width, const QColor& color);
    int CreateBrush(uint16_t style, const QColor& color);
    int CreateFont(const TWmfFontSpec& font);
    void SelectObject(int slot);
    void DeleteObject(int slot);

    void SetWindowOrg(int x, int y);
    void SetWindowExt(int width, int height);
    void SetMapMode(uint16_t mode);
    void SetBkMode(uint16_t mode);
    void SetTextAlign(uint16_t align);
    void SetPolyFillMode(uint16_t mode);
    void SetTextColor(const QColor& color);
    void SaveDc();
    void RestoreDc(int which = -1);
    void IntersectClipRect(const QRect& rect);

    void MoveTo(QPoint p);
    void LineTo(QPoint p);
    // Longer polylines are split into records of at most MaxPolyPoints points that share their ends.
    void Polyline(std::span<const QPoint> points);
    // A polygon beyond MaxPolyPoints cannot be split without changing its fill; its outline is
    // written instead.
    void Polygon(std::span<const QPoint> points);
    // GDI rectangle from (left, top) to (left + width, top + height).
    void Rectangle(const QRect& rect);
    void ExtTextOut(QPoint p, const QByteArray& text);

    // Slots in use at the same time at most: the object count of the header.
    int ObjectCount() const { return MaxObjects; }
    // Adds the end record and the headers; the writer is finished afterwards.
    QByteArray Finish();

private:
    void Begin(uint16_t function, size_t paramWords);
    void Word(int value);
    void Dword(uint32_t value);
    void Color(const QColor& color);
    void PointXY(QPoint p);
    int AllocSlot();
    void WritePoly(uint16_t function, std::span<const QPoint> points);

    QRect Bounds;
    int UnitsPerInch;
    QByteArray Body;
    uint32_t MaxRecordWords = 0;
    std::vector<bool> Slots;
    int MaxObjects = 0;
    bool Finished = false;
};
