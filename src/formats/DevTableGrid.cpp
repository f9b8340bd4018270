#include "formats/DevTableGrid.h"

#include "common/Numbers.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>

namespace {
const QString SwitchOnText = QStringLiteral("включена");
constexpr uint32_t ClWindowText = 0x80000008;
constexpr uint32_t ClGrayText = 0x80000011;

QString MenuText(const TParam& p, const QString& value) {
    if (!p.Menu)
        return QString();
    const std::optional<int32_t> k = Numbers::ParseInt(value);
    if (!k || *k < 0 || *k >= MenuSize || *k >= p.Menu->size())
        return QString();
    return p.Menu->at(*k);
}

bool CoupledPair(const TDevProp& t) {
    return t.SqrtIndex >= 0 && t.SqrtLinIndex >= 0 && t.SqrtIndex < t.ParamCount() &&
           t.SqrtLinIndex < t.ParamCount();
}
} // namespace

QString DevTableCaption(int col) {
    return col == 0 ? QStringLiteral(" Параметр") : QStringLiteral(" Значение");
}

TGridData DevTableGridFromValues(const TDevProp& type, const QStringList& values,
                                 const std::vector<int>& colWidths) {
    const int n = type.ParamCount();
    TGridData grid;
    grid.Reset(2, std::max(n, 1) + 1, 64, KDevTableRowHeight);
    for (int c = 0; c < grid.ColCount && static_cast<size_t>(c) < colWidths.size(); ++c)
        grid.ColWidths[static_cast<size_t>(c)] = colWidths[static_cast<size_t>(c)];
    grid.RowHeights[0] = KDevTableHeaderHeight;
    grid.Cell(0, 0).Text = DevTableCaption(0);
    grid.Cell(1, 0).Text = DevTableCaption(1);
    for (int i = 0; i < n; ++i) {
        const TParam& p = type.Param(i);
        const int row = i + 1;
        grid.Cell(0, row).Text = QStringLiteral(" ") + p.Name;
        TGridCell& cell = grid.Cell(1, row);
        const QString value = i < values.size() ? values[i] : QString();
        switch (p.SType) {
        case 1:
            cell.Text = value.isEmpty() ? QString() : MenuText(p, value);
            break;
        case 2: {
            // As read-all's row refresh shows it: any non-zero integer ticks the box.
            const std::optional<int32_t> v = Numbers::ParseInt(value);
            cell.HasCheckBox = true;
            cell.HasProp = true;
            cell.Checked = v && *v != 0;
            break;
        }
        default:
            cell.Text = value;
            break;
        }
    }
    if (CoupledPair(type)) {
        TGridCell& lin = grid.Cell(1, type.SqrtLinIndex + 1);
        lin.FontColor = grid.Cell(1, type.SqrtIndex + 1).Text == SwitchOnText ? ClWindowText : ClGrayText;
        lin.HasProp = true;
    }
    return grid;
}

QStringList DevTableValuesFromGrid(const TDevProp& type, const TGridData& grid) {
    QStringList values;
    for (int i = 0; i < type.ParamCount(); ++i) {
        const TParam& p = type.Param(i);
        const bool inGrid = grid.Contains(1, i + 1);
        const TGridCell empty;
        const TGridCell& cell = inGrid ? grid.Cell(1, i + 1) : empty;
        switch (p.SType) {
        case 1: {
            QString value;
            if (p.Menu && !cell.Text.isEmpty() && cell.Text != MenuNoneText)
                for (int k = 0; k < p.Menu->size() && k < MenuSize; ++k)
                    if (p.Menu->at(k).compare(cell.Text, Qt::CaseInsensitive) == 0) {
                        value = QString::number(k);
                        break;
                    }
            values.append(value);
            break;
        }
        case 2:
            values.append(cell.HasCheckBox && cell.Checked ? QStringLiteral("1") : QStringLiteral("0"));
            break;
        default:
            values.append(cell.HasCheckBox ? QString() : cell.Text);
            break;
        }
    }
    return values;
}

QStringList DevTableNameMismatches(const TDevProp& type, const TGridData& grid) {
    QStringList out;
    const int rows = std::max(grid.RowCount - 1, type.ParamCount());
    for (int r = 1; r <= rows; ++r) {
        const QString want =
            r <= type.ParamCount() ? QStringLiteral(" ") + type.Param(r - 1).Name : QString();
        const QString have = grid.Contains(0, r) ? grid.Cell(0, r).Text : QString();
        if (want != have)
            out << QCoreApplication::translate("Formats", "строка %1: \"%2\" вместо \"%3\"")
                       .arg(r)
                       .arg(have.trimmed(), want.trimmed());
    }
    return out;
}
