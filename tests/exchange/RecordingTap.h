#pragma once
// A line tap for tests: keeps every event it is given, safe to read from another thread.
#include "exchange/LineTap.h"

#include <mutex>
#include <vector>

class TRecordingTap : public ILineTap {
public:
    void Parcel(const TLineEvent& event) override {
        const std::lock_guard<std::mutex> lock(Mutex);
        Events.push_back(event);
    }
    std::vector<TLineEvent> Take() {
        const std::lock_guard<std::mutex> lock(Mutex);
        return Events;
    }

private:
    std::mutex Mutex;
    std::vector<TLineEvent> Events;
};
