#pragma once
// A small writer of Excel 97 workbooks: one worksheet of text cells as BIFF8 records, in a compound
// file (OLE2, version 3) container.
#include "formats/GridData.h"

#include <QByteArray>
#include <QString>

namespace Biff8 {

inline constexpr int KMaxRows = 65536;
inline constexpr int KMaxCols = 256;
inline constexpr int KMaxRecordData = 8224; // longest record body BIFF8 allows
inline constexpr int KMaxCellChars = 32767;

// Record types the writer uses.
enum : uint16_t {
    RecBof = 0x0809,
    RecEof = 0x000A,
    RecInterfaceHdr = 0x00E1,
    RecInterfaceEnd = 0x00E2,
    RecCodePage = 0x0042,
    RecWindow1 = 0x003D,
    RecDateMode = 0x0022,
    RecFont = 0x0031,
    RecXf = 0x00E0,
    RecStyle = 0x0293,
    RecBoundSheet = 0x0085,
    RecSst = 0x00FC,
    RecContinue = 0x003C,
    RecExtSst = 0x00FF,
    RecColInfo = 0x007D,
    RecDimensions = 0x0200,
    RecLabelSst = 0x00FD,
    RecWindow2 = 0x023E,
};

// The "Workbook" stream: the grid's texts from A1, row for row and column for column, with the cells'
// alignment and bold type. Empty when the grid exceeds the sheet limits (error set).
QByteArray WorkbookStream(const TGridData& grid, QString* error);

// A compound file holding the one stream under the given name (at most 31 characters). The stream is
// padded to 4096 bytes so that it lives in regular sectors. Empty when the stream is too large for a
// file without extra allocation-table index sectors (about 6.8 MB; error set).
QByteArray CompoundFile(const QString& streamName, const QByteArray& stream, QString* error);

} // namespace Biff8
