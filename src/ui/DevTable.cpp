#include "ui/DevTable.h"

#include "common/Numbers.h"
#include "model/ValueCheck.h"
#include "ui/DevCell.h"
#include "ui/DevDelegate.h"
#include "ui/DevGrid.h"
#include "ui/DevTableImpl.h"
#include "ui/UpdatesPause.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <optional>

namespace {
QString ErrorCaption() {
    return TfrmDev::tr("Ошибка ввода");
}
QString ErrorBadData() {
    return TfrmDev::tr("Неверно введены данные!");
}
QString ErrorBelowMin() {
    return TfrmDev::tr("Введенное значение меньше минимально возможного для данного "
                       "параметра! Будет установлено минимальное значение.");
}
QString ErrorAboveMax() {
    return TfrmDev::tr("Введенное значение превышает максимально возможное для данного "
                       "параметра! Будет установлено максимальное значение.");
}
// An option text of the device description, compared as data.
const QString SwitchOnText = QStringLiteral("включена");

constexpr uint32_t ClNone = 0x1FFFFFFF;
constexpr uint32_t ClWindowText = 0x80000008; // system colour 8, COLOR_WINDOWTEXT
constexpr uint32_t ClGrayText = 0x80000011;   // system colour 17, COLOR_GRAYTEXT
// Font colour of the coupled cell: index 0 locked, index 1 editable.
constexpr uint32_t SwitchColors[2] = {ClGrayText, ClWindowText};

// Option number of a value text, when it addresses an entry of the menu.
std::optional<int> MenuIndex(const TParam& p, const QString& value) {
    if (!p.Menu)
        return std::nullopt;
    const std::optional<int32_t> k = Numbers::ParseInt(value);
    if (!k || *k < 0 || *k >= MenuSize || *k >= p.Menu->size())
        return std::nullopt;
    return *k;
}

QString MenuText(const TParam& p, const QString& value) {
    const std::optional<int> k = MenuIndex(p, value);
    return k ? p.Menu->at(*k) : QString();
}

bool HasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}
} // namespace

QColor WinColorToQColor(uint32_t color, const QPalette& palette) {
    const uint32_t kind = color >> 24;
    if (kind == 0x80) {
        struct TSysColor {
            QPalette::ColorGroup Group;
            QPalette::ColorRole Role;
        };
        // Windows system-colour numbering, index = low byte.
        static const TSysColor sys[] = {
            {QPalette::Active, QPalette::Button},            // clScrollBar
            {QPalette::Active, QPalette::Window},            // clBackground
            {QPalette::Active, QPalette::Highlight},         // clActiveCaption
            {QPalette::Inactive, QPalette::Highlight},       // clInactiveCaption
            {QPalette::Active, QPalette::Window},            // clMenu
            {QPalette::Active, QPalette::Base},              // clWindow
            {QPalette::Active, QPalette::Shadow},            // clWindowFrame
            {QPalette::Active, QPalette::WindowText},        // clMenuText
            {QPalette::Active, QPalette::WindowText},        // clWindowText
            {QPalette::Active, QPalette::HighlightedText},   // clCaptionText
            {QPalette::Active, QPalette::Window},            // clActiveBorder
            {QPalette::Inactive, QPalette::Window},          // clInactiveBorder
            {QPalette::Active, QPalette::Mid},               // clAppWorkSpace
            {QPalette::Active, QPalette::Highlight},         // clHighlight
            {QPalette::Active, QPalette::HighlightedText},   // clHighlightText
            {QPalette::Active, QPalette::Button},            // clBtnFace
            {QPalette::Active, QPalette::Dark},              // clBtnShadow
            {QPalette::Disabled, QPalette::Text},            // clGrayText
            {QPalette::Active, QPalette::ButtonText},        // clBtnText
            {QPalette::Inactive, QPalette::HighlightedText}, // clInactiveCaptionText
            {QPalette::Active, QPalette::Light},             // clBtnHighlight
            {QPalette::Active, QPalette::Shadow},            // cl3DDkShadow
            {QPalette::Active, QPalette::Midlight},          // cl3DLight
            {QPalette::Active, QPalette::ToolTipText},       // clInfoText
            {QPalette::Active, QPalette::ToolTipBase},       // clInfoBk
        };
        const uint32_t index = color & 0xFF;
        if (index >= std::size(sys))
            return QColor();
        return palette.color(sys[index].Group, sys[index].Role);
    }
    // 0x02BBGGRR is the palette-relative form of the same RGB value.
    if (kind != 0 && kind != 0x02)
        return QColor();
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

// ---------------------------------------------------------------------------------------------
// Private state

bool TfrmDev::TImpl::SwitchOn(const TDevProp& t) const {
    return Owner.CellText(1, t.SqrtIndex + 1) == SwitchOnText;
}

void TfrmDev::TImpl::ApplySwitchRule(const TDevProp& t) {
    if (CoupledPair(t) && t.SqrtLinIndex + 1 < Rows())
        Owner.SetCellFontColor(1, t.SqrtLinIndex + 1, SwitchColors[SwitchOn(t) ? 1 : 0]);
}

void TfrmDev::TImpl::InputError() {
    Dialogs.Message(ErrorBadData(), ErrorCaption(), TMsgButtons::Ok);
}

QTableWidgetItem* TfrmDev::TImpl::Item(int col, int row) const {
    if (!ValidCell(col, row))
        return nullptr;
    return row == 0 ? Grid->horizontalHeaderItem(col) : Grid->item(row - 1, col);
}

QTableWidgetItem* TfrmDev::TImpl::EnsureItem(int col, int row) {
    if (!ValidCell(col, row))
        return nullptr;
    if (QTableWidgetItem* it = Item(col, row))
        return it;
    if (row == 0) {
        auto* header = new QTableWidgetItem();
        header->setTextAlignment(Qt::AlignCenter);
        Grid->setHorizontalHeaderItem(col, header);
        return header;
    }
    auto* cell = new TDevCell(*this, col, row);
    Grid->setItem(row - 1, col, cell);
    return cell;
}

void TfrmDev::TImpl::MakeRowCells(int row, const TParam* p) {
    // Filled before insertion: one model notification per cell.
    auto* name = new TDevCell(*this, 0, row);
    auto* value = new TDevCell(*this, 1, row);
    if (p) {
        name->setText(QStringLiteral(" ") + p->Name);
        if (p->SType == 2)
            value->setCheckState(Qt::Checked);
    }
    Grid->setItem(row - 1, 0, name);
    Grid->setItem(row - 1, 1, value);
    for (int c = 2; c < Grid->columnCount(); ++c)
        Grid->setItem(row - 1, c, new TDevCell(*this, c, row));
}

void TfrmDev::TImpl::ShowValue(int i, const TParam& p, const QString& value, bool nonZeroTicks) {
    const int row = i + 1;
    if (row >= Rows())
        return;
    switch (p.SType) {
    case 1:
        SetValueText(row, value.isEmpty() ? QString() : MenuText(p, value));
        break;
    case 2: {
        bool on = value == QLatin1String("1");
        if (nonZeroTicks) {
            const std::optional<int32_t> v = Numbers::ParseInt(value);
            on = v && *v != 0;
        }
        Owner.SetCheckBox(1, row, on);
        break;
    }
    default: // text, and presentation kinds the tables define nothing for
        SetValueText(row, value);
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Editing events

void TfrmDev::TImpl::ClickCheckBox(int col, int row) { // ASGCheckBoxClick
    if (!Owner.HasCheckBox(col, row) || !Owner.ASGCanEditCell(col, row))
        return;
    Owner.SetCheckBox(col, row, !Owner.IsChecked(col, row));
    Host.PrjChange();
}

void TfrmDev::TImpl::CommitEdit(int col, int row, const QString& newText, bool fromList) { // ASGCellValidate
    // The view keeps a message box's focus change from committing the same editor again.
    if (!ValidCell(col, row) || row == 0)
        return;
    const QString oldText = Owner.CellText(col, row);
    if (newText == oldText)
        return;
    QString text = newText;
    const bool accepted = Owner.CheckValue(row - 1, text);
    LastCommitRefused = !accepted;
    // A refused value keeps the old text, except the comma-turned form of a refused real.
    if (accepted || text != newText)
        Owner.SetCellText(col, row, text);
    Host.PrjChange(); // ASGCellsChanged
    if (fromList) {   // ASGComboChange
        if (const TDevProp* t = CurProp(); t && CoupledPair(*t) && row == t->SqrtIndex + 1)
            ApplySwitchRule(*t);
        Grid->setFocus();
    }
}

void TfrmDev::TImpl::CloseEditor(bool commit) {
    QWidget* editor = OpenEditor;
    if (!editor)
        return;
    if (commit)
        emit Delegate->commitData(editor);
    emit Delegate->closeEditor(editor, commit ? QAbstractItemDelegate::NoHint
                                              : QAbstractItemDelegate::RevertModelCache);
    OpenEditor = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TfrmDev

TfrmDev::TfrmDev(TAppState& state, IUserDialogs& dialogs, TDevHost& host, QWidget* parent)
    : QWidget(parent), Impl(std::make_unique<TImpl>(*this, state, dialogs, host)) {
    auto* grid = new TDevGrid(*Impl, this);
    ASG = grid;
    Impl->Grid = grid;
    auto* delegate = new TDevDelegate(*Impl, grid);
    Impl->Delegate = delegate;
    grid->setItemDelegate(delegate);

    grid->setColumnCount(2);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid->setWordWrap(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = grid->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(DataRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    // The fixed header row is the real header, so that it stays in view while scrolling.
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setFixedHeight(HeaderRowHeight);
    QFont bold = font();
    bold.setBold(true);
    header->setFont(bold);
    Impl->EnsureItem(0, 0)->setText(tr(" Параметр"));
    Impl->EnsureItem(1, 0)->setText(tr(" Значение"));

    SetRowCount(2);
    grid->setGeometry(rect());
    FormResize();
}

TfrmDev::~TfrmDev() {
    // The cells and the delegate read the private state: the grid must go before it does.
    delete ASG;
    ASG = nullptr;
}

void TfrmDev::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ASG->setGeometry(rect());
    FormResize();
}

void TfrmDev::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange && ASG) { // the header row keeps the view's face, in bold
        QFont bold = font();
        bold.setBold(true);
        ASG->horizontalHeader()->setFont(bold);
    }
}

void TfrmDev::FormResize() {
    QTableWidget* g = ASG;
    const TUpdatesPause pause(g);
    const QRect client = g->contentsRect();
    const int total = Impl->HeaderHeight + g->verticalHeader()->length();
    const bool bar = total > client.height();
    g->setVerticalScrollBarPolicy(bar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int width = std::max(0, client.width() - (bar ? g->verticalScrollBar()->sizeHint().width() : 0));
    const int cols = g->columnCount();
    int others = 0;
    for (int c = 1; c < cols; ++c) {
        const int w = static_cast<int>(width * 0.5 / cols);
        g->setColumnWidth(c, w);
        others += w;
    }
    if (cols > 0)
        g->setColumnWidth(0, std::max(0, width - others));
}

void TfrmDev::SetShowHints(bool on) {
    Impl->ShowHints = on;
    Impl->EnsureItem(0, 0)->setToolTip(on ? tr("Названия параметров прибора") : QString());
    Impl->EnsureItem(1, 0)->setToolTip(on ? tr("Значения параметров прибора") : QString());
}

void TfrmDev::EndEdit() {
    Impl->CloseEditor(true);
}

bool TfrmDev::EndEditForCommand() {
    if (!Impl->OpenEditor)
        return true;
    Impl->LastCommitRefused = false;
    Impl->CloseEditor(true);
    return !Impl->LastCommitRefused;
}

void TfrmDev::NotReadFromDevice(TDev& d, int i) {
    const TDevProp* t = Impl->CurProp();
    const int row = i + 1;
    if (!t || i < 0 || i >= t->ParamCount() || row >= RowCount())
        return;
    const TParam& p = t->Param(i);
    if (TakesFactoryValueWhenNotRead(p, CellText(1, row))) {
        if (i < d.Values.size())
            d.Values[i] = p.Value;
        Impl->SetValueText(row, p.Value);
    }
    if (QTableWidgetItem* it = Impl->Item(1, row))
        it->setData(UnconfirmedRole, true);
}

bool TfrmDev::IsUnconfirmed(int row) const {
    const QTableWidgetItem* it = row > 0 ? Impl->Item(1, row) : nullptr;
    return it && it->data(UnconfirmedRole).toBool();
}

// ASGCanEditCell
bool TfrmDev::ASGCanEditCell(int col, int row) const {
    if (col != 1 || row < 1 || row >= RowCount() || Impl->State.ExchangeState == TExchState::ExchReadWrite)
        return false;
    if (HasCheckBox(col, row)) {
        const QModelIndex current = ASG->currentIndex();
        if (!current.isValid() || current.row() + 1 != row || current.column() != col)
            return false;
    }
    if (const TDevProp* t = Impl->CurProp(); t && Impl->CoupledPair(*t) && row == t->SqrtLinIndex + 1)
        return Impl->SwitchOn(*t);
    return true;
}

bool TfrmDev::CheckValue(int p, QString& text) {
    const TDevProp* t = Impl->CurProp();
    if (!t || p < 0 || p >= t->ParamCount()) { // a row without a description takes any text
        Impl->Host.PrjChange();
        return true;
    }
    // The rule itself is shared with the command-line program's check of a file's values.
    QString message;
    switch (CheckParamValue(t->Param(p), text)) {
    case TValueVerdict::Bad:
        Impl->InputError();
        return false;
    case TValueVerdict::BelowMin:
        message = ErrorBelowMin();
        break;
    case TValueVerdict::AboveMax:
        message = ErrorAboveMax();
        break;
    case TValueVerdict::Ok:
        break;
    }
    if (!message.isEmpty())
        Impl->Dialogs.Message(message, ErrorCaption(), TMsgButtons::Ok);
    Impl->Host.PrjChange();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Table operations

void TfrmDev::ApplyDevType(const TDevProp& t) {
    Impl->CloseEditor(false);
    QTableWidget* g = ASG;
    const TUpdatesPause pause(g);
    const int n = t.ParamCount();
    // Fresh cells: no check box, no text and no stored font colour are left from the last type.
    g->setRowCount(0);
    g->setRowCount(std::max(n, 1));
    for (int row = 1; row < Impl->Rows(); ++row)
        Impl->MakeRowCells(row, row <= n ? &t.Param(row - 1) : nullptr);
    FormResize();
    Impl->Host.BuildMeasureView(t);
    Impl->Host.SetDevStatusText(t.Name);
    if (Impl->State.HasCurType())
        ValuesToTable(Impl->State.CurDev());
}

void TfrmDev::ValuesToTable(const TDev& d) {
    const TDevProp* t = Impl->CurProp();
    if (!t)
        return;
    const int n = std::min<int>(static_cast<int>(d.Values.size()), t->ParamCount());
    for (int i = 0; i < n; ++i)
        Impl->ShowValue(i, t->Param(i), d.Values[i], false);
    Impl->ApplySwitchRule(*t);
}

void TfrmDev::ShowParamRow(const TDev& d, int i) {
    const TDevProp* t = Impl->CurProp();
    if (!t || i < 0 || i >= d.Values.size() || i >= t->ParamCount())
        return;
    Impl->ShowValue(i, t->Param(i), d.Values[i], true);
    if (QTableWidgetItem* it = Impl->Item(1, i + 1)) // the instrument confirmed it
        it->setData(UnconfirmedRole, QVariant());
    if (i <= 255 && (i == t->SqrtIndex || i == t->SqrtLinIndex))
        Impl->ApplySwitchRule(*t);
}

int TfrmDev::TableToValues(TDev& d) {
    d.Values.clear();
    const TDevProp* t = Impl->CurProp();
    if (!t)
        return -1;
    int brokenRow = -1;
    for (int i = 0; i < t->ParamCount(); ++i) {
        const TParam& p = t->Param(i);
        const int row = i + 1;
        switch (p.SType) {
        case 1: {
            // An empty cell or an undefined option ("<none>") is no choice.
            const QString text = CellText(1, row);
            QString value;
            if (p.Menu && !text.isEmpty() && text != MenuNoneText)
                for (int k = 0; k < p.Menu->size() && k < MenuSize; ++k)
                    if (p.Menu->at(k).compare(text, Qt::CaseInsensitive) == 0) {
                        value = QString::number(k);
                        break;
                    }
            d.Values.append(value);
            break;
        }
        case 2:
            d.Values.append(IsChecked(1, row) ? QStringLiteral("1") : QStringLiteral("0"));
            break;
        default: {
            // A line break would split the project file's line: it never reaches the values.
            QString text = CellText(1, row);
            if (HasLineBreak(text)) {
                text.replace(QLatin1Char('\r'), QLatin1Char(' '))
                    .replace(QLatin1Char('\n'), QLatin1Char(' '));
                if (brokenRow < 0)
                    brokenRow = row;
            }
            d.Values.append(text);
            break;
        }
        }
    }
    return brokenRow;
}

void TfrmDev::ResetValues(TDev& d) {
    d.Values.clear();
    const TDevProp* t = Impl->CurProp();
    if (!t)
        return;
    for (int i = 0; i < t->ParamCount(); ++i)
        d.Values.append(t->Param(i).SType == 2 ? QStringLiteral("0") : QString());
}

int TfrmDev::FirstEmptyValue(const TDev& d) const {
    for (int i = 0; i < d.Values.size(); ++i)
        if (d.Values[i].isEmpty())
            return i;
    return -1;
}

void TfrmDev::ClearTable(const TDevProp& t) {
    const TUpdatesPause pause(ASG);
    for (int i = 0; i < t.ParamCount() && i + 1 < RowCount(); ++i) {
        Impl->SetValueText(i + 1, QString());
        if (t.Param(i).SType == 2 && HasCheckBox(1, i + 1))
            SetCheckBox(1, i + 1, false);
    }
}

void TfrmDev::SetFactoryDefaults(const TDevProp& t) {
    const TUpdatesPause pause(ASG);
    for (int i = 0; i < t.ParamCount() && i + 1 < RowCount(); ++i) {
        const TParam& p = t.Param(i);
        switch (p.SType) {
        case 1:
            Impl->SetValueText(i + 1, MenuText(p, p.Value));
            break;
        case 2: {
            const std::optional<int32_t> v = Numbers::ParseInt(p.Value);
            SetCheckBox(1, i + 1, v && *v != 0);
            break;
        }
        default:
            Impl->SetValueText(i + 1, p.Value);
            break;
        }
    }
    Impl->ApplySwitchRule(t);
}

// ---------------------------------------------------------------------------------------------
// Grid access

int TfrmDev::ColCount() const {
    return ASG->columnCount();
}
int TfrmDev::RowCount() const {
    return Impl->Rows();
}

QString TfrmDev::CellText(int col, int row) const {
    const QTableWidgetItem* it = Impl->Item(col, row);
    return it ? it->text() : QString();
}

void TfrmDev::SetCellText(int col, int row, const QString& text) {
    if (QTableWidgetItem* it = Impl->EnsureItem(col, row)) {
        if (row > 0 && it->text() != text && it->data(UnconfirmedRole).isValid())
            it->setData(UnconfirmedRole, QVariant()); // a new value: no longer the unconfirmed one
        it->setText(text);
    }
}

bool TfrmDev::HasCheckBox(int col, int row) const {
    const QTableWidgetItem* it = row > 0 ? Impl->Item(col, row) : nullptr;
    return it && it->data(Qt::CheckStateRole).isValid();
}

bool TfrmDev::IsChecked(int col, int row) const {
    return HasCheckBox(col, row) && Impl->Item(col, row)->checkState() == Qt::Checked;
}

void TfrmDev::SetCheckBox(int col, int row, bool checked) {
    if (row < 1)
        return;
    if (QTableWidgetItem* it = Impl->EnsureItem(col, row)) {
        const Qt::CheckState s = checked ? Qt::Checked : Qt::Unchecked;
        if (!HasCheckBox(col, row) || it->checkState() != s) {
            it->setData(UnconfirmedRole, QVariant());
            it->setCheckState(s);
        }
    }
}

void TfrmDev::RemoveCheckBox(int col, int row) {
    if (HasCheckBox(col, row))
        Impl->Item(col, row)->setData(Qt::CheckStateRole, QVariant());
}

uint32_t TfrmDev::CellFontColor(int col, int row) const {
    const QTableWidgetItem* it = row > 0 ? Impl->Item(col, row) : nullptr;
    const QVariant v = it ? it->data(FontColorRole) : QVariant();
    return v.isValid() ? v.toUInt() : ClNone;
}

void TfrmDev::SetCellFontColor(int col, int row, uint32_t color) {
    if (row < 1)
        return;
    if (QTableWidgetItem* it = Impl->EnsureItem(col, row)) {
        const QVariant v = color == ClNone ? QVariant() : QVariant(color);
        if (it->data(FontColorRole) != v)
            it->setData(FontColorRole, v);
    }
}

TfrmDev::TAlign TfrmDev::CellAlignment(int col, int row) const {
    return row > 0 && col == 0 ? TAlign::Left : TAlign::Center;
}

QColor TfrmDev::CellBackground(int col, int row) const {
    const QTableWidgetItem* it = row > 0 ? Impl->Item(col, row) : nullptr;
    const QVariant v = it ? it->data(Qt::BackgroundRole) : QVariant();
    return v.isValid() ? v.value<QBrush>().color() : QColor();
}

QColor TfrmDev::CellTextColor(int col, int row) const {
    const QTableWidgetItem* it = row > 0 ? Impl->Item(col, row) : nullptr;
    const QVariant v = it ? it->data(Qt::ForegroundRole) : QVariant();
    return v.isValid() ? v.value<QBrush>().color() : ASG->palette().color(QPalette::Active, QPalette::Text);
}

QFont TfrmDev::CellFont(int col, int row) const {
    QFont f = ASG->font();
    if (row == 0 || (col == 0 && Impl->ParamAt(row)))
        f.setBold(true);
    return f;
}

void TfrmDev::SetRowCount(int rows) {
    rows = std::max(rows, 1);
    const int old = RowCount();
    ASG->setRowCount(rows - 1);
    for (int row = old; row < rows; ++row)
        Impl->MakeRowCells(row, nullptr);
}

int TfrmDev::ColWidth(int col) const {
    return ASG->columnWidth(col);
}
void TfrmDev::SetColWidth(int col, int width) {
    ASG->setColumnWidth(col, std::max(0, width));
}

int TfrmDev::RowHeight(int row) const {
    if (row == 0)
        return Impl->HeaderHeight;
    return row < RowCount() ? ASG->rowHeight(row - 1) : 0;
}

void TfrmDev::SetRowHeight(int row, int height) {
    height = std::max(1, height);
    if (row == 0) {
        Impl->HeaderHeight = height;
        ASG->horizontalHeader()->setFixedHeight(height);
    } else if (row < RowCount()) {
        ASG->setRowHeight(row - 1, height);
    }
}

void TfrmDev::ClearGrid() {
    Impl->CloseEditor(false);
    const TUpdatesPause pause(ASG);
    for (int col = 0; col < ColCount(); ++col) {
        SetCellText(col, 0, QString());
        for (int row = 1; row < RowCount(); ++row) {
            SetCellText(col, row, QString());
            RemoveCheckBox(col, row);
            SetCellFontColor(col, row, ClNone);
        }
    }
}
