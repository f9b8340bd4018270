#include "ui/DevCell.h"

#include "ui/DevTableImpl.h"

#include <QBrush>
#include <QCoreApplication>
#include <QFont>

namespace {
constexpr uint32_t ClMaroon = 0x000080;
QString UnconfirmedHint() {
    return QCoreApplication::translate("TDevCell", "Значение не получено из прибора");
}
// Dark orange: apart from the normal, grey and maroon texts of the table.
const QColor UnconfirmedColor(0xB0, 0x50, 0x00);
} // namespace

TDevCell::TDevCell(const TfrmDev::TImpl& impl, int col, int row)
    : QTableWidgetItem(QTableWidgetItem::UserType), Impl(impl), Col(col), Row(row) {
    if (col == 0)
        setFlags(Qt::NoItemFlags); // names are never selected nor edited
    else
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
}

QVariant TDevCell::data(int role) const {
    switch (role) {
    case Qt::TextAlignmentRole:
        return int((Col == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    case Qt::FontRole:
        if (Col == 0 && Impl.ParamAt(Row)) {
            QFont f;
            f.setBold(true);
            return f;
        }
        if (Unconfirmed()) {
            QFont f;
            f.setItalic(true);
            return f;
        }
        break;
    case Qt::ForegroundRole: {
        const QVariant stored = QTableWidgetItem::data(FontColorRole);
        if (stored.isValid()) {
            const QColor c = WinColorToQColor(stored.toUInt(), Impl.Grid->palette());
            if (c.isValid())
                return QBrush(c);
        }
        if (Unconfirmed())
            return QBrush(UnconfirmedColor);
        if (Col == 0) // names are disabled items: keep their text out of the disabled colour
            return QBrush(Impl.ParamAt(Row) ? WinColorToQColor(ClMaroon, Impl.Grid->palette())
                                            : Impl.Grid->palette().color(QPalette::Active, QPalette::Text));
        break;
    }
    case Qt::BackgroundRole:
        if (const TParam* p = Impl.ParamAt(Row)) {
            const QColor c = WinColorToQColor(p->Color, Impl.Grid->palette());
            if (c.isValid())
                return QBrush(c);
        }
        break;
    case Qt::ToolTipRole:
        if (Unconfirmed()) // shown whatever the hint setting: it tells what the instrument did not confirm
            return UnconfirmedHint();
        if (Col == 0 && Impl.ShowHints)
            if (const TParam* p = Impl.ParamAt(Row); p && !p->Hint.isEmpty())
                return p->Hint;
        return QVariant();
    default:
        break;
    }
    return QTableWidgetItem::data(role);
}
