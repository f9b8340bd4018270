#include "ui/ConnectionDialog.h"

#include "exchange/CodeMeaning.h"
#include "model/Model.h"
#include "ui/ConnectionWorkers.h"
#include "ui/DevTable.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/ObjectNames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString ProgramTitle() {
    return TfrmDevSet::tr("Настройка приборов серии Kestrin K1");
}
QString ReturnQuestion() {
    return TfrmDevSet::tr("Вернуться к настройке параметров связи?");
}

// Whole text of a decimal number, as the speed boxes hold it; false for anything else.
bool ParseSpeed(const QString& text, uint16_t& speed) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (ok)
        speed = static_cast<uint16_t>(value);
    return ok;
}
} // namespace

QValidator::State TAddressSpinBox::validate(QString& input, int& pos) const {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid)
        return state;
    // A whole number beyond the range is kept while typing; fixup brings it into range.
    bool ok = false;
    input.trimmed().toLongLong(&ok);
    return ok ? QValidator::Intermediate : QValidator::Invalid;
}

void TAddressSpinBox::fixup(QString& input) const {
    bool ok = false;
    const qlonglong value = input.trimmed().toLongLong(&ok);
    if (ok)
        input = QString::number(std::clamp<qlonglong>(value, minimum(), maximum()));
    else
        QSpinBox::fixup(input);
}

TfrmDevSet::TfrmDevSet(TfrmMain& main, TAppState& state, IUserDialogs& dialogs, const TKvApi& api,
                       QWidget* parent)
    : QDialog(parent), Main(main), State(state), Dialogs(dialogs), Api(api) {
    setWindowTitle(tr("Настройки связи"));
    setModal(true);

    GroupBox2 = new QGroupBox(tr(" Общие настройки "), this);
    Label4 = new QLabel(tr("Тип прибора"), GroupBox2);
    Combo3 = new QComboBox(GroupBox2);
    Combo3->addItems(ModelNames());
    Label1 = new QLabel(tr("Каналов"), GroupBox2);
    Edit1 = new QLineEdit(GroupBox2);
    Edit1->setReadOnly(true);
    auto* g2 = new QGridLayout(GroupBox2);
    g2->addWidget(Label4, 0, 0);
    g2->addWidget(Combo3, 0, 1);
    g2->addWidget(Label1, 0, 2);
    g2->addWidget(Edit1, 0, 3);

    GroupBox1 = new QGroupBox(tr(" Настройки связи "), this);
    Label2 = new QLabel(tr("СОМ-порт"), GroupBox1);
    auto* ports1 = new TPortComboBox(GroupBox1);
    ports1->BeforePopup = [this] { RefreshPorts(); };
    Combo1 = ports1;
    Label3 = new QLabel(tr("Скорость"), GroupBox1);
    Combo2 = new QComboBox(GroupBox1);
    Label17 = new QLabel(tr("Адрес"), GroupBox1);
    SE2 = new TAddressSpinBox(GroupBox1);
    SE2->setRange(0, 255);
    SE2->setValue(1);
    SE2->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    btnCheck = new QPushButton(tr("Проверить связь"), GroupBox1);
    auto* g1 = new QGridLayout(GroupBox1);
    g1->addWidget(Label2, 0, 0);
    g1->addWidget(Combo1, 0, 1);
    g1->addWidget(Label3, 1, 0);
    g1->addWidget(Combo2, 1, 1);
    g1->addWidget(Label17, 2, 0);
    g1->addWidget(SE2, 2, 1);
    g1->addWidget(btnCheck, 3, 0, 1, 2);

    GroupBox3 = new QGroupBox(tr(" Поиск приборов "), this);
    Label5 = new QLabel(tr("СОМ-порт"), GroupBox3);
    auto* ports4 = new TPortComboBox(GroupBox3);
    ports4->BeforePopup = [this] { RefreshPorts(); };
    Combo4 = ports4;
    Label6 = new QLabel(tr("Скорость"), GroupBox3);
    Combo5 = new QComboBox(GroupBox3);
    Label7 = new QLabel(tr("Адреса"), GroupBox3);
    Combo6 = new QComboBox(GroupBox3);
    btnSearch = new QPushButton(tr("Поиск приборов"), GroupBox3);
    // A raw network port cannot carry the speed: the device server has its own.
    for (QComboBox* speed : {Combo2, Combo5})
        speed->setToolTip(tr("Скорость линии. У сетевого порта tcp:// скорость — собственная "
                             "настройка сервера последовательных портов; порту rfc2217:// "
                             "программа задает ее сама."));
    auto* g3 = new QGridLayout(GroupBox3);
    g3->addWidget(Label5, 0, 0);
    g3->addWidget(Combo4, 0, 1);
    g3->addWidget(Label6, 1, 0);
    g3->addWidget(Combo5, 1, 1);
    g3->addWidget(Label7, 2, 0);
    g3->addWidget(Combo6, 2, 1);
    g3->addWidget(btnSearch, 3, 0, 1, 2);

    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnCancel = new QPushButton(tr("Отмена"), this);
    btnHelp = new QPushButton(tr("Справка"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnHelp);

    StatusPane = new QLabel(this);
    StatusPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusPane->setMinimumWidth(360);

    NameControls(
        {{GroupBox2, "GroupBox2"},  {Label4, "Label4"},       {Combo3, "Combo3"},       {Label1, "Label1"},
         {Edit1, "Edit1"},          {GroupBox1, "GroupBox1"}, {Label2, "Label2"},       {Combo1, "Combo1"},
         {Label3, "Label3"},        {Combo2, "Combo2"},       {Label17, "Label17"},     {SE2, "SE2"},
         {btnCheck, "btnCheck"},    {GroupBox3, "GroupBox3"}, {Label5, "Label5"},       {Combo4, "Combo4"},
         {Label6, "Label6"},        {Combo5, "Combo5"},       {Label7, "Label7"},       {Combo6, "Combo6"},
         {btnSearch, "btnSearch"},  {btnOk, "btnOk"},         {btnCancel, "btnCancel"}, {btnHelp, "btnHelp"},
         {StatusPane, "StatusPane"}});

    auto* groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox2);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->addWidget(StatusPane);
    // A fixed border: the dialog keeps the size its contents need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Return is "Ok" wherever the focus is (typed settings are never lost to another button),
    // Escape is "Отмена" (keyPressEvent).
    MakeReturnButton(btnOk);

    // The speeds are filled once; the ports as start-up found them, read anew at every show and
    // whenever a port list drops down (adapters come and go while the program runs).
    Combo1->addItems(State.PortList);
    Combo4->addItems(State.PortList);
    Combo2->addItems(State.SpeedList);
    Combo5->addItems(State.SpeedList);
    if (Combo1->count() > 0)
        Combo1->setCurrentIndex(0);
    Combo3->setCurrentIndex(0);

    // Only the user's choices count as changes: "activated" is not emitted for selections made
    // by the program, and the address box is filled under a signal blocker.
    for (QComboBox* c : {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6})
        connect(c, &QComboBox::activated, this, [this] { Changed = true; });
    connect(SE2, &QSpinBox::valueChanged, this, [this] { Changed = true; });

    connect(btnCheck, &QPushButton::clicked, this, [this] { btnCheckClick(); });
    connect(btnSearch, &QPushButton::clicked, this, [this] { btnSearchClick(); });
    connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    connect(btnHelp, &QPushButton::clicked, this, [this] { btnHelpClick(); });
}

TfrmDevSet::~TfrmDevSet() {
    // The worker may still be handing effects to this thread: serve them until it is through.
    TExchangeWorker::Await([this] { return std::vector<TExchangeWorker*>{Worker.get()}; });
}

bool TfrmDevSet::Execute() {
    exec();
    return Accepted;
}

void TfrmDevSet::showEvent(QShowEvent* e) {
    FormShow();
    if (parentWidget()) {
        adjustSize();
        move(parentWidget()->frameGeometry().center() - rect().center());
    }
    QDialog::showEvent(e);
}

void TPortComboBox::showPopup() {
    if (BeforePopup)
        BeforePopup();
    QComboBox::showPopup();
}

void TfrmDevSet::RefreshPorts() {
    State.RefreshPortList();
    for (QComboBox* c : {Combo1, Combo4}) {
        QStringList shown;
        for (int i = 0; i < c->count(); ++i)
            shown.append(c->itemText(i));
        if (shown == State.PortList)
            continue;
        const QString current = c->currentText();
        c->clear();
        c->addItems(State.PortList);
        const int kept = c->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        c->setCurrentIndex(kept >= 0 ? kept : (c->count() > 0 ? 0 : -1));
        // The chosen port has gone: another one is shown, which OK must check.
        if (kept < 0 && !current.isEmpty())
            Changed = true;
    }
}

void TfrmDevSet::FormShow() {
    Busy = false;
    RefreshPorts();
    // A project may carry a designation index beyond the list; it is shown as the first model.
    Combo3->setCurrentIndex(State.ActDevice < Combo3->count() ? State.ActDevice : 0);
    if (State.HasCurType()) {
        const TDev& dev = State.CurDev();
        int port = -1;
        for (int i = 0; i < Combo1->count(); ++i)
            if (Combo1->itemText(i).compare(dev.COMPort, Qt::CaseInsensitive) == 0) {
                port = i;
                break;
            }
        if (port < 0 && Combo1->count() > 0)
            port = 0;
        Combo1->setCurrentIndex(port);
        Combo4->setCurrentIndex(port);
        const QString speed = QString::number(dev.BaudRate);
        const Qt::MatchFlags whole = Qt::MatchFixedString | Qt::MatchCaseSensitive;
        Combo2->setCurrentIndex(Combo2->findText(speed, whole));
        Combo5->setCurrentIndex(Combo5->findText(speed, whole));
        const QSignalBlocker block(SE2);
        SE2->setValue(dev.Address);
    }
    // The channel count of the catalogue entry the dialog works with.
    Edit1->setText(State.DevTypes.empty() ? QString() : QString::number(State.DevTypes.front()->Channels));
    Combo6->clear();
    if (btnOk->isEnabled())
        btnOk->setFocus();
    StatusPane->clear();
    Changed = false;
    Accepted = false;
}

bool TfrmDevSet::WorkerActive() const {
    return Worker && !Worker->Ended();
}

void TfrmDevSet::StartWorker(std::unique_ptr<TExchangeWorker> worker) {
    if (Worker)
        Worker->wait(); // it has ended; nothing of it is left to hand over
    Worker = std::move(worker);
    // Busy and locked from the click on, before the thread runs.
    Worker->Claim();
    Worker->start();
}

void TfrmDevSet::btnCheckClick() {
    if (WorkerActive())
        return;
    StartWorker(std::make_unique<ThreadDevCheck>(*this, Api));
}

void TfrmDevSet::btnSearchClick() {
    if (WorkerActive())
        return;
    StartWorker(std::make_unique<ThreadDevSearch>(*this, Api));
}

void TfrmDevSet::RunVersionQuery() {
    LinkEstablished = false;
    StartWorker(std::make_unique<ThreadDevGetVersion>(*this, Api));
    TExchangeWorker::Await([this] { return std::vector<TExchangeWorker*>{Worker.get()}; });
}

bool TfrmDevSet::AskReturn(const QString& firstLines) {
    if (Dialogs.Message(firstLines + QStringLiteral("\r") + ReturnQuestion(), ProgramTitle(),
                        TMsgButtons::YesNo) == TMsgAnswer::Yes)
        return true;
    QDialog::done(QDialog::Rejected);
    return false;
}

void TfrmDevSet::btnOkClick() {
    if (WorkerActive())
        return;
    if (Changed || State.PrjState == TPrjState::PrjNone) {
        RunVersionQuery();
        if (!LinkEstablished) {
            AskReturn(tr("Не удалось установить связь с прибором!"));
            return;
        }
        if (State.HasCurType() && DeviceVersion != State.CurDevType().Version) {
            TDevProp& type = State.CurDevType();
            TDev& dev = State.CurDev();
            bool loaded = false;
            if (State.PrjState == TPrjState::PrjNone) {
                loaded = Reload(State.ProgDir, type, dev, DeviceVersion);
                if (loaded)
                    Main.ApplyDevType(type);
            } else {
                Main.frmDev->TableToValues(dev);
                loaded = Reload(State.ProgDir, type, dev, DeviceVersion);
                if (loaded) {
                    Main.ApplyDevType(type);
                    Main.frmDev->ValuesToTable(dev);
                }
            }
            if (!loaded) {
                AskReturn(tr("Данная модификация прибора не поддерживается программой!\r"
                             "Для работы с прибором необходимо обновить программу."));
                return;
            }
        }
    }
    StoreSettings();
}

void TfrmDevSet::StoreSettings() {
    // Rebuilding the views below shows the device's values: take the user's unsaved table edits
    // into them first, or they would be lost.
    if (State.PrjState != TPrjState::PrjNone && State.HasCurType())
        Main.frmDev->TableToValues(State.CurDev());
    State.CurType = 0;
    if (!State.HasCurType())
        return;
    State.ActDevice = static_cast<uint8_t>(std::max(0, Combo3->currentIndex()));
    TDev& dev = State.CurDev();
    // The whole port name: device paths are longer than the old 7-character names.
    dev.COMPort = Combo1->currentText();
    // No speed selected (the stored one is not in the list): the stored speed stays.
    ParseSpeed(Combo2->currentText(), dev.BaudRate);
    dev.Address = static_cast<uint8_t>(SE2->value());
    Main.ApplyDevType(State.CurDevType());
    Changed = false;
    Main.PrjChange();
    Accepted = true;
    QDialog::done(QDialog::Accepted);
}

void TfrmDevSet::btnCancelClick() {
    if (WorkerActive())
        return;
    Accepted = State.PrjState != TPrjState::PrjNone;
    QDialog::done(QDialog::Rejected);
}

void TfrmDevSet::btnHelpClick() {
    ShowHelpTopic(State.ProgDir, QStringLiteral("page1"));
}

void TfrmDevSet::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        // As the "Отмена" button, or, while a worker keeps it disabled, the refused close.
        if (btnCancel->isEnabled())
            btnCancelClick();
        else
            reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TfrmDevSet::reject() {
    // The close box and Escape: refused while a worker of the dialog runs.
    if (Busy || WorkerActive()) {
        Dialogs.Message(tr("Выход невозможен - дождитесь окончания обмена с приборами!"), tr("выход"),
                        TMsgButtons::Ok);
        return;
    }
    QDialog::reject();
}

void TfrmDevSet::SetLocked(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{btnOk, btnCheck, btnCancel, btnSearch, GroupBox1,
                                                      GroupBox2, GroupBox3})
        w->setEnabled(!on);
}

void TfrmDevSet::SetStatus(const QString& text) {
    StatusPane->setText(text);
    StatusPane->setToolTip(ResultCodeDetails(TrailingResultCode(text))); // what a trailing code means
}

TDevSetInputs TfrmDevSet::ReadInputs(bool searchGroup) const {
    TDevSetInputs in;
    in.Port = (searchGroup ? Combo4 : Combo1)->currentText();
    // A speed text that is not a number goes to the library as 0, which it refuses with its
    // speed code; the run then ends like any other failed open.
    ParseSpeed((searchGroup ? Combo5 : Combo2)->currentText(), in.Speed);
    in.Address = static_cast<uint8_t>(SE2->value());
    if (!State.DevTypes.empty()) {
        const TDevProp& first = *State.DevTypes.front();
        in.HasType = true;
        in.TypeNum = first.TypeNum;
        in.TimeOut = first.TimeOut;
    }
    return in;
}

void TfrmDevSet::ShowFound(const QStringList& addresses) {
    Combo6->clear();
    Combo6->addItems(addresses);
    if (Combo6->count() > 0)
        Combo6->setCurrentIndex(0);
}
