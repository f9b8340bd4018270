#pragma once
// Read-all and write-all: every parameter of the active device type from or to the instrument.
#include "exchange/ExchangeUi.h"
#include "exchange/KvLibrary.h"
#include "exchange/LineTap.h"
#include "model/Model.h"

#include <QStringList>
#include <atomic>
#include <functional>
#include <utility>
#include <vector>

// What a write-all sent, for the commissioning record.
struct TWriteReport {
    bool Sent = false;        // the instrument was identified and the writes of its parameters began
    QStringList Values;       // the values the run wrote from, one per parameter
    std::vector<int> Written; // acknowledged by the instrument, in order
    // Given up on: the parameter and the code of its last attempt (skipped ones and the one the run
    // ended at).
    std::vector<std::pair<int, int>> Failed;
};

// Everything one run works on. The device record and its type are read here; every change of them
// goes through the user-interface hand-over (Ui), so readers on that thread always see whole values.
struct TExchangeRun {
    const TKvApi& Api;
    TDevProp& DevType;
    TDev& Dev;
    IExchangeUi& Ui;
    const std::atomic<bool>& Stop;
    int Retries = 1; // ReRead or ReWrite
    QStringList SpeedList;
    ILineTap* Tap = nullptr; // every parcel of the run, when set
    // Where nobody answers questions: a parameter given up on is handed here with the code of its
    // last attempt; true skips it and the run goes on, false ends the run as a No does.
    std::function<bool(int index, int code)> SkipFailed = nullptr;
    // Write-all's own copy of the device record's values, taken once before the first write where
    // the values are rebuilt (the window's thread, which may save the project meanwhile); unset: a
    // plain copy of Dev.Values.
    std::function<QStringList()> TakeValues = nullptr;
    // Write-all: told of each parameter the instrument has acknowledged, as it happens.
    std::function<void(int index)> Written = nullptr;
    // Write-all: filled with what was sent, when set.
    TWriteReport* Report = nullptr;
};

// The value text as it is stored after a read: a decimal number in its general form ("1.50000"
// becomes "1.5"); anything else (a text channel value, an empty text) as received.
QString NormalReadValue(const QString& text);

// What reading the parameter back gives after value was written: the value through the wire
// encoding and back, in the stored form ("0.1" stays "0.1", "1.23456789" becomes "1.23457").
QString ExpectedReadBack(const TParam& p, const QString& value);

// Progress bar position after done of count parameters (half to even).
int ProgressPercent(int done, int count);

// One parameter's attempts: the stop request is checked before every attempt; a failure is repeated
// at once up to retries times, then the user is asked whether to go on (Yes starts the count anew).
enum class TAttemptEnd { Succeeded, Stopped, GaveUp };
TAttemptEnd AttemptWithRetries(const std::atomic<bool>& stop, int retries, IExchangeUi& ui, const QString& question,
                               const std::function<int()>& attempt);

void ReadAll(TExchangeRun& run);
void WriteAll(TExchangeRun& run);
