#pragma once
// Calibration of the instrument's line or compensator resistance: the command byte goes to the
// calibration control location, which is then watched until the instrument sets it back to "00".
#include "model/AppState.h"
#include "exchange/KvLibrary.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

// Calibration kinds, as the start buttons set them.
enum : uint8_t { CalibLine = 1, CalibCompensator = 2 };

// What a calibration run needs of its dialog. The dialog carries each call out on its own thread
// while the run waits; tests implement it directly.
class ICalibUi {
public:
    virtual ~ICalibUi() = default;
    // on: the stop button of the kind stands in place of its start button, the start buttons and
    // the close button are disabled; off: all of that is undone.
    virtual void SetCalibBusy(bool on, uint8_t kind) = 0;
    virtual void ShowStatus(const QString& text) = 0;
};

struct TCalibRun {
    const TKvApi& Api;
    TAppState& State; // the active device and its type
    uint8_t Kind = CalibLine;
    ICalibUi& Ui;
    // Read once per turn of the watch; the owner clears it before the run starts.
    const std::atomic<bool>& StopRequested;
    // Wall clock and pause, replaceable by tests; empty means the real ones.
    std::function<std::chrono::steady_clock::time_point()> Now;
    std::function<void(std::chrono::milliseconds)> Sleep;
};

// One whole run: lock the dialog, command, watch, close the link, unlock. Returns the last status
// text shown.
QString CalibLoop(TCalibRun& run);
