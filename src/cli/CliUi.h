#pragma once
// The exchange operations' user interface without a window: questions are answered from the
// command's options, status texts are kept for the report, progress goes to a bar on standard
// error when that is a terminal.
#include "exchange/Calib.h"
#include "exchange/ExchangeUi.h"
#include "model/Model.h"

#include <QStringList>
#include <functional>
#include <vector>

class TCliUi : public IExchangeUi, public ICalibUi {
public:
    TCliUi(QString progDir, bool progressBar) : ProgDir(std::move(progDir)), ProgressBar(progressBar) {}

    // Starts a run on dev with type; label names it on the progress bar.
    void Begin(TDevProp& type, TDev& dev, const QString& label);

    // How a differing instrument version is answered: true loads its descriptions (read); with
    // AcceptedVersions set only those are loaded, any other is refused and kept in RefusedVersion.
    bool ReloadForVersion = true;
    std::optional<QStringList> AcceptedVersions;

    // What the run left.
    QString LastStatus;          // the last status text (message pane or calibration status)
    QStringList ErrorBoxes;      // texts of the error boxes the window would show
    std::vector<bool> Delivered; // per parameter: the run stored a value read from the instrument
    QString RefusedVersion;      // set when a version was refused
    bool VersionRefused = false;
    bool DescriptionsMissing = false; // the instrument's version has no descriptions that load
    QString MissingVersion;
    QString MissingFile; // the first of them that is not there (empty: there, but unreadable)

    // Progress of a run among several lines: the label and percent (-1 when it ends) go here
    // instead of this run's own bar.
    std::function<void(const QString& label, int percent)> Progress;

    // Measurement.
    QList<int> Channels; // empty: every channel
    std::function<void(int k, double minutes, double value, const QString& text)> OnPoint;

    void ShowMessage(const QString& text) override { LastStatus = text; }
    void ShowExchangeStatus(const QString&) override {}
    void ShowProgress(bool on) override;
    void SetProgress(int percent) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    void ShowError(const QString& text, const QString&) override { ErrorBoxes << text; }
    void StoreValue(int index, const QString& value) override;
    void NotDelivered(int index) override;
    void TableToValues() override {}
    int FirstEmptyValue() override;
    bool ReloadDescriptions(const QString& version) override;
    void SetDevAddress(uint8_t address) override { Dev->Address = address; }
    void SetDevBaudRate(uint16_t baudRate) override { Dev->BaudRate = baudRate; }
    void ClearSeries() override {}
    void SwitchAutoScaleOn() override {}
    bool ChannelSelected(int k) override { return Channels.isEmpty() || Channels.contains(k); }
    void ShowValue(int, const QString& text) override { LastText = text; }
    void AddPoint(int k, double minutes, double value) override;

    void SetCalibBusy(bool, uint8_t) override {}
    void ShowStatus(const QString& text) override { LastStatus = text; }

    // Clears the bar's line (before other output goes to standard error).
    void ClearBar();

private:
    QString ProgDir;
    bool ProgressBar = false;
    bool BarShown = false;
    QString Label;
    QString LastText;
    TDevProp* Type = nullptr;
    TDev* Dev = nullptr;
};
