#pragma once
// Parameter-set files: the device table as a sequence of self-contained "TPF0" records (a header
// record, then per cell a cell record with optional properties and check-box records).
#include "formats/GridData.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// Sizes a file may ask for; anything larger is refused as damaged rather than allocated.
inline constexpr int KParamSetMaxCols = 1000;
inline constexpr int KParamSetMaxRows = 100000;
inline constexpr int KParamSetMaxCells = 200000;
inline constexpr int KParamSetMaxExtent = 32767;                 // column width or row height, pixels
inline constexpr qint64 KParamSetMaxFileSize = 64 * 1024 * 1024; // bytes

struct TParamSetReadResult {
    bool Ok = true;
    QString Error; // Russian text for the user; empty when Ok
    int CellsRead = 0;
};

// The file's bytes for the grid. id is the header's table identifier, which readers ignore.
QByteArray EncodeParamSet(const TGridData& grid, int32_t id = 0);

// Reads a whole file image into the grid. On a damaged image it stops with an error and the grid
// keeps what was read up to there.
TParamSetReadResult DecodeParamSet(const QByteArray& bytes, TGridData& grid);

TFileResult WriteParamSetFile(const TGridData& grid, const QString& fileName, int32_t id = 0);
TParamSetReadResult ReadParamSetFile(TGridData& grid, const QString& fileName);
