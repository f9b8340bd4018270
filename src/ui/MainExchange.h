#pragma once
// The main window's exchange workers: starting them, their lock callbacks, the hand-over of the
// operations' user-interface effects, and the wait for them at program close.
#include "exchange/ExchangeUi.h"
#include "exchange/KvLibrary.h"
#include "exchange/Workers.h"
#include "ui/CommissionReport.h"
#include "ui/MainWindow.h"

#include <QObject>
#include <array>
#include <memory>
#include <optional>

class TMainExchange : public QObject, public IExchangeUi {
    Q_OBJECT
public:
    TMainExchange(TfrmMain& main, const TKvApi& api);
    ~TMainExchange() override;

    void Start(TExchangeCommand command);
    // Returns when every worker started last of each kind has ended; the user-interface thread
    // keeps carrying out the workers' hand-overs meanwhile.
    void WaitForWorkers();
    bool AnyRunning() const;

    // Lock callback (user-interface thread): takes or frees the line for the command's worker.
    void Lock(TExchangeCommand command, bool on);

    // IExchangeUi, called from the worker.
    void ShowMessage(const QString& text) override;
    void ShowExchangeStatus(const QString& text) override;
    void ShowProgress(bool on) override;
    void SetProgress(int percent) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    void ShowError(const QString& text, const QString& caption) override;
    void StoreValue(int index, const QString& value) override;
    void NotDelivered(int index) override;
    void TableToValues() override;
    int FirstEmptyValue() override;
    bool ReloadDescriptions(const QString& version) override;
    void SetDevAddress(uint8_t address) override;
    void SetDevBaudRate(uint16_t baudRate) override;
    void ClearSeries() override;
    void SwitchAutoScaleOn() override;
    bool ChannelSelected(int k) override;
    void ShowValue(int k, const QString& text) override;
    void AddPoint(int k, double minutes, double value) override;
    void ReadingFailed(int k) override;

signals:
    // The exchange that holds the line now; none when it ended.
    void Running(std::optional<TExchangeCommand> command);

private:
    void Ui(const std::function<void()>& fn);
    // The commissioning record of a write-all that sent something (worker thread).
    void RecordWrite(const TWriteReport& report, const QString& port, int address, int speed,
                     const QDateTime& when);
    TfrmMain& Main;
    TCommissionBaseline Baseline; // user-interface thread only
    QString LastStatus;           // the status text the running exchange ended with (its worker)
    const TKvApi& Api;
    // The worker of each kind started last: device read, device write, read-all, write-all, measure.
    std::array<std::unique_ptr<TExchangeWorker>, 5> Workers;
};
