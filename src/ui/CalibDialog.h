#pragma once
// The calibration dialog: the user makes the instrument calibrate its line (rL) or compensator (rC)
// resistance; its worker commands the instrument and watches for the end.
#include "model/AppState.h"
#include "exchange/Calib.h"
#include "exchange/KvLibrary.h"
#include "exchange/Workers.h"

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class TfrmCalib;

// One calibration run (exchange/Workers.h); its effects go to the dialog on the dialog's thread.
class ThreadCalib : public TExchangeWorker {
public:
    ThreadCalib(TfrmCalib& dialog, TAppState& state, const TKvApi& api, uint8_t kind);

    // Starts false with every new worker, so that a stop set before the run reaches its first step
    // is not lost.
    std::atomic<bool> StopRequested{false};
};

class TfrmCalib : public QDialog, public ICalibUi {
    Q_OBJECT
public:
    TfrmCalib(TAppState& state, const TKvApi& api, QWidget* parent = nullptr);
    ~TfrmCalib() override;

    // Shows the dialog modally.
    void Execute();

    // Set by the start buttons before their worker starts.
    uint8_t CalibKind = CalibLine;

    // True from the start of a worker until it has handed over its last effect.
    bool Running() const;
    // The last worker started, or null.
    ThreadCalib* LastWorker() const { return Worker.get(); }

    // Effects of the worker, on the user-interface thread.
    void SetCalibBusy(bool on, uint8_t kind) override;
    void ShowStatus(const QString& text) override;

public slots:
    // Every way of closing ends here: a running calibration is stopped and waited for first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    // The controls; tests and scripts find them by objectName.
    QPushButton* btnRL = nullptr;
    QPushButton* btnRLstop = nullptr;
    QPushButton* btnRC = nullptr;
    QPushButton* btnRCstop = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnHelp = nullptr;
    QLabel* StatusPane = nullptr;

    void Start(uint8_t kind);
    void Stop();
    // Waits for the worker, carrying out its hand-overs to this thread meanwhile.
    void WaitForWorker();

    TAppState& State;
    const TKvApi& Api;
    std::unique_ptr<ThreadCalib> Worker;
    bool Closing = false;
};
