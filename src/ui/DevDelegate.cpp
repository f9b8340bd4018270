#include "ui/DevDelegate.h"

#include "model/ValueCheck.h"
#include "ui/DevCell.h"
#include "ui/DevCombo.h"
#include "ui/DevTableImpl.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <algorithm>

// ASGGetEditorType
QWidget* TDevDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* self = const_cast<TDevDelegate*>(this);
    const TParam* p = Impl.ParamAt(index.row() + 1);
    if (p && p->SType == 1) {
        auto* combo = new TDevCombo(parent);
        combo->setEditable(false);
        if (p->Menu)
            for (int k = 0; k < p->Menu->size() && k < MenuSize; ++k)
                if (p->Menu->at(k) != MenuNoneText)
                    combo->addItem(p->Menu->at(k), k);
        QObject::connect(combo, &QComboBox::activated, self, [self, combo] {
            combo->Chosen = true;
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        // The popup hides before the choice is reported: decide after the choice had its turn.
        combo->PopupHidden = [self, combo] {
            QTimer::singleShot(0, combo, [self, combo] {
                if (!combo->Chosen)
                    emit self->closeEditor(combo);
            });
        };
        QTimer::singleShot(0, combo, [combo] {
            if (combo->isVisible())
                combo->showPopup();
        });
        Impl.OpenEditor = combo;
        return combo;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    QString pattern;
    if (p && p->SType != 2) {
        const std::optional<long long> lo = ParamLimit(p->Vmin);
        switch (p->VType) {
        case 0:
            pattern = QStringLiteral("[0-9]*");
            break;
        case 1:
        case 2:
            pattern = lo && *lo < 0 ? QStringLiteral("[-0-9]*") : QStringLiteral("[0-9]*");
            break;
        case 3: // the characters of a real; the check judges the whole text
            pattern = QStringLiteral("[-+0-9.,eE]*");
            break;
        default:
            break;
        }
    }
    if (!pattern.isEmpty())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    Impl.OpenEditor = edit;
    return edit;
}

void TDevDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->setText(text);
}

void TDevDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    if (auto* combo = dynamic_cast<TDevCombo*>(editor)) {
        if (combo->Chosen)
            Impl.CommitEdit(index.column(), index.row() + 1, combo->currentText(), true);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        Impl.CommitEdit(index.column(), index.row() + 1, edit->text(), false);
    }
}

void TDevDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (Impl.OpenEditor == editor)
        Impl.OpenEditor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

// Check boxes without text sit in the middle of their cell. A row that differs from a compared file
// shows the file's value at the right end of its name cell, next to the table's value.
void TDevDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (!(opt.features & QStyleOptionViewItem::HasCheckIndicator) || !opt.text.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() == 0)
            if (const QVariant other = index.data(DifferenceRole); other.isValid())
                PaintDifference(painter, opt, other.toString());
        return;
    }
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    const QRect check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, w);
    QStyleOptionViewItem plain = opt;
    plain.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, w);
    QStyleOptionViewItem box = opt;
    box.rect = QStyle::alignedRect(opt.direction, Qt::AlignCenter, check.size(), opt.rect);
    box.state &= ~QStyle::State_HasFocus;
    box.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, w);
}

void TDevDelegate::PaintDifference(QPainter* painter, const QStyleOptionViewItem& opt, const QString& other) {
    const QFontMetrics nameMetrics(opt.font);
    const QRect area = opt.rect.adjusted(4, 0, -6, 0);
    // Only the room the name leaves: the name stays whole, the file's value gives way.
    const int nameWidth = nameMetrics.horizontalAdvance(opt.text) + 16;
    QFont font = opt.font;
    font.setBold(false);
    font.setItalic(true);
    const QFontMetrics metrics(font);
    const QString text = metrics.elidedText(other, Qt::ElideRight, std::max(0, area.width() - nameWidth));
    if (text.isEmpty())
        return;
    painter->save();
    painter->setFont(font);
    painter->setPen(QColor(0xA0, 0x00, 0x00));
    painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, text);
    painter->restore();
}
