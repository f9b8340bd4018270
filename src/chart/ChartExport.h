#pragma once
// Saving and printing the chart: Windows metafile, PNG and SVG pictures, a CSV file of the points,
// and one printed page.
#include "common/FileSave.h"

#include <QSize>
#include <QString>

class QPagedPaintDevice;
class TChart;

enum class TChartFileKind { Wmf, Png, Svg };

// By the file name's ending (case ignored): ".png", ".svg", anything else a Windows metafile.
TChartFileKind ChartFileKindOf(const QString& fileName);

// The size pictures are drawn at: the widget's size, or 1200 x 700 while it has not been laid out.
QSize ChartPictureSize(const TChart& chart);

// Each writes the file under exactly the given name (nothing is appended), whole or not at all (an
// existing file stays as it was), and says why when it cannot be written. size: logical units (1/96 inch,
// image pixels); empty means ChartPictureSize.
TFileResult SaveChartWmf(const TChart& chart, const QString& fileName, QSize size = QSize());
TFileResult SaveChartPng(const TChart& chart, const QString& fileName, QSize size = QSize());
TFileResult SaveChartSvg(const TChart& chart, const QString& fileName, QSize size = QSize());
// The format chosen by ChartFileKindOf.
TFileResult SaveChart(const TChart& chart, const QString& fileName, QSize size = QSize());

// Every point of every series, in time order across the series: header "time_min,channel,value",
// the channel numbered from 1 in series order, "." as the decimal separator, CR LF line ends.
TFileResult SaveChartCsv(const TChart& chart, const QString& fileName);

// Draws the chart as one page on the device (a printer, a PDF file), keeping the widget's
// proportions inside the printable area. False when painting on the device cannot begin.
bool PrintChart(const TChart& chart, QPagedPaintDevice& device);
