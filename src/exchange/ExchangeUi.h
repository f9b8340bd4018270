#pragma once
// What the exchange operations need of the user interface. The operations run on a worker thread;
// the window's implementation carries every call out on the user-interface thread while the worker
// waits, and tests implement it directly.
#include <QString>

class IExchangeUi {
public:
    virtual ~IExchangeUi() = default;

    // Status bar: the message pane, the exchange pane and the progress bar.
    virtual void ShowMessage(const QString& text) = 0;
    virtual void ShowExchangeStatus(const QString& text) = 0;
    // on: hide the exchange pane and show the progress bar; off: the reverse, bar back to 0.
    virtual void ShowProgress(bool on) = 0;
    virtual void SetProgress(int percent) = 0;

    // Message boxes: a question with Yes and No (true for Yes), and an error with OK.
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
    virtual void ShowError(const QString& text, const QString& caption) = 0;

    // The device table and the device record of the run.
    virtual void StoreValue(int index, const QString& value) = 0; // into Values, then the row refresh
    // Read-all read parameter index without getting a value (a bit string, a "$0" answer).
    virtual void NotDelivered(int index) { (void)index; }
    virtual void TableToValues() = 0;
    virtual int FirstEmptyValue() = 0;
    // Reloads the descriptions for a version; on success the tables show the new list with the values.
    virtual bool ReloadDescriptions(const QString& version) = 0;
    // Network address and speed of the device record, changed by write-all.
    virtual void SetDevAddress(uint8_t address) = 0;
    virtual void SetDevBaudRate(uint16_t baudRate) = 0;

    // Measurement view.
    virtual void ClearSeries() = 0;
    virtual void SwitchAutoScaleOn() = 0;
    virtual bool ChannelSelected(int k) = 0;
    virtual void ShowValue(int k, const QString& text) = 0;
    virtual void AddPoint(int k, double minutes, double value) = 0;
    // Channel k failed as often as allowed and the user is about to be asked: the readings pause.
    virtual void ReadingFailed(int k) { (void)k; }
};
