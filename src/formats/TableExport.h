#pragma once
// Exports of the device table: plain text, a word-processor document (RTF), an Excel 97 workbook and
// an HTML table. Each writes a temporary file and renames it, so a failure leaves nothing behind.
#include "formats/GridData.h"

#include <QByteArray>
#include <QString>

// File images.
QByteArray TextExportBytes(const TGridData& grid);
QByteArray RtfExportBytes(const TGridData& grid);
QByteArray HtmlExportBytes(const TGridData& grid);
// Empty, with error set, when the table does not fit a workbook.
QByteArray XlsExportBytes(const TGridData& grid, QString* error);

TFileResult ExportText(const TGridData& grid, const QString& fileName);
TFileResult ExportDoc(const TGridData& grid, const QString& fileName);
TFileResult ExportXls(const TGridData& grid, const QString& fileName);
TFileResult ExportHtml(const TGridData& grid, const QString& fileName);

// Picks the export by the file name's extension (.txt, .doc, .xls, .html; letter case ignored).
TFileResult ExportTable(const TGridData& grid, const QString& fileName);

// "#RRGGBB" of a colour value (0x00BBGGRR or a system colour), empty for none or unknown.
QString HtmlColor(uint32_t color);
