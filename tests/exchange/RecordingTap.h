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
    // The events since the last call.
    std::vector<TLineEvent> Take() {
        const std::lock_guard<std::mutex> lock(Mutex);
        std::vector<TLineEvent> taken;
        taken.swap(Events);
        return taken;
    }

private:
    std::mutex Mutex;
    std::vector<TLineEvent> Events;
};
