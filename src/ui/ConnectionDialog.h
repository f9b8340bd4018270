#pragma once
// The connection settings dialog: model, port, speed and network address of the instrument, with
// the link check, the version query and the bus search run by its workers.
#include "exchange/KvLibrary.h"
#include "model/AppState.h"
#include "ui/UserDialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QSpinBox>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TExchangeWorker;
class TfrmMain;

// Address box: typing is free, and a number outside the range is brought into it instead of being
// refused keystroke by keystroke.
class TAddressSpinBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

// Port box: BeforePopup runs each time the list drops down, so that it can be read anew.
class TPortComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override;
};

// What a worker takes from the dialog's controls when it starts.
struct TDevSetInputs {
    QString Port;
    uint16_t Speed = 0; // 0 when the speed text is not a number; the library refuses it
    uint8_t Address = 0;
    int32_t TimeOut = 0;
    uint8_t TypeNum = 0;
    bool HasType = false; // the catalogue has a first entry
};

class TfrmDevSet : public QDialog {
    Q_OBJECT
public:
    TfrmDevSet(TfrmMain& main, TAppState& state, IUserDialogs& dialogs, const TKvApi& api,
               QWidget* parent = nullptr);
    ~TfrmDevSet() override;

    // Shows the dialog modally; the result is Accepted.
    bool Execute();

    bool Changed = false;
    bool Accepted = false;
    std::atomic<bool> LinkEstablished{false};
    QString DeviceVersion;
    std::atomic<bool> Busy{false};

    // Resets the controls and the state from the active device; runs at every show.
    void FormShow();

    void btnCheckClick();
    void btnSearchClick();
    void btnOkClick();
    void btnCancelClick();
    void btnHelpClick();

    // Used by the workers, on the user-interface thread.
    void SetLocked(bool on);
    void SetStatus(const QString& text);
    TDevSetInputs ReadInputs(bool searchGroup) const;
    void ShowFound(const QStringList& addresses);

    // True while a worker started by the dialog has not yet run its last step.
    bool WorkerActive() const;
    // Where the workers' parcels go (the line monitor).
    ILineTap* LineTap() const { return &State.LineTap; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // The controls; tests and scripts find them by objectName.
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo3 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr; // a TPortComboBox
    QLabel* Label3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label17 = nullptr;
    TAddressSpinBox* SE2 = nullptr;
    QPushButton* btnCheck = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* Combo4 = nullptr; // a TPortComboBox
    QLabel* Label6 = nullptr;
    QComboBox* Combo5 = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* Combo6 = nullptr;
    QPushButton* btnSearch = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;
    QLabel* StatusPane = nullptr;

    // Reads the port list anew into both port boxes; each keeps its choice while it is listed.
    void RefreshPorts();
    void StartWorker(std::unique_ptr<TExchangeWorker> worker);
    // Starts the version query and waits for it in a local event loop.
    void RunVersionQuery();
    // Asks whether to return to the settings; false closes the dialog unaccepted.
    bool AskReturn(const QString& firstLines);
    void StoreSettings();

    TfrmMain& Main;
    TAppState& State;
    IUserDialogs& Dialogs;
    const TKvApi& Api;
    std::unique_ptr<TExchangeWorker> Worker;
};
