#include "chart/ChartExport.h"

#include "chart/CanvasPainter.h"
#include "chart/CanvasSvg.h"
#include "chart/Chart.h"
#include "chart/WmfCanvas.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <charconv>
#include <queue>

namespace {
QSize SizeOr(const TChart& chart, QSize size) {
    return size.isEmpty() ? ChartPictureSize(chart) : size;
}

void AppendNumber(QByteArray& out, double v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v); // shortest text that reads back exactly
    out.append(buf, res.ptr - buf);
}
} // namespace

TChartFileKind ChartFileKindOf(const QString& fileName) {
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return TChartFileKind::Png;
    if (fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return TChartFileKind::Svg;
    return TChartFileKind::Wmf;
}

QSize ChartPictureSize(const TChart& chart) {
    if (chart.testAttribute(Qt::WA_WState_Created) && chart.width() >= 100 && chart.height() >= 80)
        return chart.size();
    return QSize(1200, 700);
}

TFileResult SaveChartWmf(const TChart& chart, const QString& fileName, QSize size) {
    size = SizeOr(chart, size);
    TWmfCanvas canvas(size);
    chart.Draw(canvas, QRectF(QPointF(0, 0), size));
    return SaveFileBytes(fileName, canvas.Finish());
}

TFileResult SaveChartPng(const TChart& chart, const QString& fileName, QSize size) {
    size = SizeOr(chart, size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TPainterCanvas canvas(painter);
        chart.Draw(canvas, QRectF(QPointF(0, 0), size));
    }
    // Encoded in memory first: the encoder's writes to a file would leave their errors unseen.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {false, QCoreApplication::translate("ChartExport", "Не удалось построить рисунок PNG")};
    return SaveFileBytes(fileName, png);
}

TFileResult SaveChartSvg(const TChart& chart, const QString& fileName, QSize size) {
    size = SizeOr(chart, size);
    TSvgCanvas canvas(size);
    chart.Draw(canvas, QRectF(QPointF(0, 0), size));
    return SaveFileBytes(fileName, canvas.Finish());
}

TFileResult SaveChart(const TChart& chart, const QString& fileName, QSize size) {
    switch (ChartFileKindOf(fileName)) {
    case TChartFileKind::Png:
        return SaveChartPng(chart, fileName, size);
    case TChartFileKind::Svg:
        return SaveChartSvg(chart, fileName, size);
    case TChartFileKind::Wmf:
        break;
    }
    return SaveChartWmf(chart, fileName, size);
}

TFileResult SaveChartCsv(const TChart& chart, const QString& fileName) {
    TFileSave f(fileName);
    if (!f.Open())
        return f.Result();
    QByteArray out("time_min,channel,value\r\n");
    // Merge the series by time; equal times keep series order.
    struct THead {
        double X;
        int Series;
        size_t Index;
        bool operator>(const THead& o) const { return X != o.X ? X > o.X : Series > o.Series; }
    };
    std::priority_queue<THead, std::vector<THead>, std::greater<THead>> heads;
    for (int s = 0; s < chart.SeriesCount(); ++s)
        if (chart.Series(s).Count() > 0)
            heads.push({chart.Series(s).X(0), s, 0});
    while (!heads.empty()) {
        const THead h = heads.top();
        heads.pop();
        const TChartSeries& series = chart.Series(h.Series);
        AppendNumber(out, h.X);
        out.append(',');
        out.append(QByteArray::number(h.Series + 1));
        out.append(',');
        AppendNumber(out, series.Y(h.Index));
        out.append("\r\n");
        if (h.Index + 1 < series.Count())
            heads.push({series.X(h.Index + 1), h.Series, h.Index + 1});
        if (out.size() > (1 << 20)) {
            if (!f.Write(out))
                return f.Result();
            out.clear();
        }
    }
    if (f.Write(out))
        f.Commit();
    return f.Result();
}

bool PrintChart(const TChart& chart, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Draw in the canvas's 1/96-inch units, scaled to the device's resolution.
    const double scale = device.logicalDpiX() / CanvasUnitsPerInch;
    const QSizeF area(device.width() / scale, device.height() / scale);
    const QSize picture = ChartPictureSize(chart);
    const double aspect = static_cast<double>(picture.height()) / picture.width();
    QSizeF size(area.width(), area.width() * aspect);
    if (size.height() > area.height())
        size = QSizeF(area.height() / aspect, area.height());
    painter.scale(scale, scale);
    TPainterCanvas canvas(painter);
    chart.Draw(canvas, QRectF(QPointF((area.width() - size.width()) / 2, 0), size));
    return painter.end();
}
