#include "ui/CalibDialog.h"

#include "exchange/CodeMeaning.h"
#include "exchange/Workers.h"
#include "ui/HelpWindow.h"
#include "ui/ObjectNames.h"
#include "ui/UserDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Hands every effect of the run to the dialog's thread and waits for it.
class TCalibHandOver : public ICalibUi {
public:
    explicit TCalibHandOver(TfrmCalib& dialog) : Dialog(dialog) {}
    void SetCalibBusy(bool on, uint8_t kind) override {
        RunOnThreadOf(&Dialog, [this, on, kind] { Dialog.SetCalibBusy(on, kind); });
    }
    void ShowStatus(const QString& text) override {
        RunOnThreadOf(&Dialog, [this, &text] { Dialog.ShowStatus(text); });
    }

private:
    TfrmCalib& Dialog;
};

QPushButton* LargeButton(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setMinimumSize(400, 44);
    return b;
}

TExchangeWorker::TJob CalibJob(TfrmCalib& dialog, TAppState& state, const TKvApi& api, uint8_t kind,
                               const std::atomic<bool>& stopRequested) {
    TExchangeWorker::TJob job;
    job.UiContext = &dialog;
    // The run locks and unlocks the dialog itself, around its outcome.
    job.Operation = [&dialog, &state, &api, kind, &stopRequested] {
        TCalibHandOver ui(dialog);
        TCalibRun calib{api, state, kind, ui, stopRequested, {}, {}}; // the real clock and pause
        CalibLoop(calib);
    };
    return job;
}
} // namespace

// The run only refers to StopRequested here; it reads it once the thread runs.
ThreadCalib::ThreadCalib(TfrmCalib& dialog, TAppState& state, const TKvApi& api, uint8_t kind)
    : TExchangeWorker(CalibJob(dialog, state, api, kind, StopRequested)) {}

TfrmCalib::TfrmCalib(TAppState& state, const TKvApi& api, QWidget* parent)
    : QDialog(parent), State(state), Api(api) {
    setWindowTitle(tr("Калибровка"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    btnRL = LargeButton(tr("Калибровать сопротивление линии (rL)"), this);
    btnRLstop = LargeButton(tr("Остановить калибровку сопротивления линии (rL)"), this);
    btnRC = LargeButton(tr("Калибровать сопротивление компенсатора (rC)"), this);
    btnRCstop = LargeButton(tr("Остановить калибровку сопротивления компенс. (rC)"), this);
    btnOk = new QPushButton(tr("Закрыть"), this);
    btnHelp = new QPushButton(tr("Справка"), this);
    StatusPane = new QLabel(this);
    StatusPane->setFrameShape(QFrame::Panel);
    StatusPane->setFrameShadow(QFrame::Sunken);
    StatusPane->setTextFormat(Qt::PlainText);
    NameControls({{btnRL, "btnRL"},
                  {btnRLstop, "btnRLstop"},
                  {btnRC, "btnRC"},
                  {btnRCstop, "btnRCstop"},
                  {btnOk, "btnOk"},
                  {btnHelp, "btnHelp"},
                  {StatusPane, "StatusPane"}});

    // Each stop button shares the cell of its start button and lies on top of it.
    auto* grid = new QGridLayout;
    grid->addWidget(btnRL, 0, 0);
    grid->addWidget(btnRLstop, 0, 0);
    grid->addWidget(btnRC, 1, 0);
    grid->addWidget(btnRCstop, 1, 0);
    btnRLstop->raise();
    btnRCstop->raise();
    btnRLstop->hide();
    btnRCstop->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnHelp);
    buttons->addStretch();
    buttons->addWidget(btnOk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(StatusPane);
    layout->setSizeConstraint(QLayout::SetFixedSize); // fixed border
    // Return closes as "Закрыть" does (refused while a run keeps it disabled); it never starts or
    // stops a calibration because a start button kept the focus after a click.
    MakeReturnButton(btnOk);

    connect(btnRL, &QPushButton::clicked, this, [this] { Start(CalibLine); });
    connect(btnRC, &QPushButton::clicked, this, [this] { Start(CalibCompensator); });
    connect(btnRLstop, &QPushButton::clicked, this, [this] { Stop(); });
    connect(btnRCstop, &QPushButton::clicked, this, [this] { Stop(); });
    connect(btnOk, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(btnHelp, &QPushButton::clicked, this,
            [this] { ShowHelpTopic(State.ProgDir, QStringLiteral("page3")); });
}

TfrmCalib::~TfrmCalib() {
    if (!Worker)
        return;
    if (Running()) {
        Worker->StopRequested = true;
        WaitForWorker();
    }
    Worker->wait();
}

void TfrmCalib::Execute() {
    exec();
}

bool TfrmCalib::Running() const {
    return Worker && !Worker->Ended();
}

void TfrmCalib::showEvent(QShowEvent* e) {
    if (parentWidget()) {
        adjustSize();
        move(parentWidget()->frameGeometry().center() - rect().center());
    }
    QDialog::showEvent(e);
}

void TfrmCalib::Start(uint8_t kind) {
    // Between the start and the worker's first step the start buttons are still enabled.
    if (Running())
        return;
    if (Worker)
        Worker->wait(); // it has ended; nothing of it is left to hand over
    CalibKind = kind;
    Worker = std::make_unique<ThreadCalib>(*this, State, Api, CalibKind);
    Worker->start();
}

void TfrmCalib::Stop() {
    if (Worker)
        Worker->StopRequested = true;
}

void TfrmCalib::WaitForWorker() {
    TExchangeWorker::Await([this] { return std::vector<TExchangeWorker*>{Worker.get()}; });
}

void TfrmCalib::done(int result) {
    // A close while the wait below runs (the close box again, Escape) is the same close.
    if (Closing)
        return;
    if (Running()) {
        Closing = true;
        Worker->StopRequested = true;
        WaitForWorker();
        Closing = false;
    }
    QDialog::done(result);
}

void TfrmCalib::SetCalibBusy(bool on, uint8_t kind) {
    if (on) {
        btnRLstop->setVisible(kind == CalibLine);
        btnRCstop->setVisible(kind == CalibCompensator);
    } else {
        btnRLstop->hide();
        btnRCstop->hide();
    }
    btnOk->setEnabled(!on);
    btnRL->setEnabled(!on);
    btnRC->setEnabled(!on);
}

void TfrmCalib::ShowStatus(const QString& text) {
    StatusPane->setText(text);
    StatusPane->setToolTip(ResultCodeDetails(TrailingResultCode(text))); // what a trailing code means
}
