#pragma once
// Measurement polling: the measured value of every selected channel, one after another, again and
// again until stopped, each channel at most once per Tmin seconds.
#include "exchange/ExchangeUi.h"
#include "exchange/KvLibrary.h"
#include "exchange/LineTap.h"
#include "model/Model.h"

#include <atomic>
#include <chrono>
#include <functional>

struct TMeasureRun {
    const TKvApi& Api;
    TDevProp& DevType;
    TDev& Dev;
    IExchangeUi& Ui;
    const std::atomic<bool>& Stop;
    int Retries = 1; // ReRead
    // Clock and pause, replaceable by tests.
    std::function<std::chrono::steady_clock::time_point()> Now = [] {
        return std::chrono::steady_clock::now();
    };
    std::function<void(std::chrono::milliseconds)> Sleep;
    ILineTap* Tap = nullptr; // every parcel of the run, when set
};

void MeasureLoop(TMeasureRun& run);
