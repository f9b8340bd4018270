#include "formats/GridData.h"

#include "common/FileErrors.h"

#include <QFileInfo>
#include <QSaveFile>

void TGridData::Reset(int colCount, int rowCount, int colWidth, int rowHeight) {
    ColCount = colCount < 0 ? 0 : colCount;
    RowCount = rowCount < 0 ? 0 : rowCount;
    ColWidths.assign(static_cast<size_t>(ColCount), colWidth);
    RowHeights.assign(static_cast<size_t>(RowCount), rowHeight);
    Cells.assign(static_cast<size_t>(ColCount) * static_cast<size_t>(RowCount), TGridCell());
}

TFileResult SaveFileBytes(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return {false, QStringLiteral("Не удалось создать файл \"%1\": %2")
                           .arg(QFileInfo(fileName).fileName(), FileErrorReason(file.errorString()))};
    if (file.write(bytes) != bytes.size()) {
        const QString why = FileErrorReason(file.errorString());
        file.cancelWriting();
        return {false,
                QStringLiteral("Ошибка записи файла \"%1\": %2").arg(QFileInfo(fileName).fileName(), why)};
    }
    if (!file.commit())
        return {false, QStringLiteral("Ошибка записи файла \"%1\": %2")
                           .arg(QFileInfo(fileName).fileName(), FileErrorReason(file.errorString()))};
    return {};
}

uint32_t EffectiveFontColor(const TGridCell& cell) {
    if (cell.ShownFontColor != KColorNone)
        return cell.ShownFontColor;
    return cell.HasProp ? cell.FontColor : KColorNone;
}
