#include "kvcom/KvDemo.h"

#include "sim/Line.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace Kv {

std::shared_ptr<TDemoBus> DemoBus(const TLibConfig& config) {
    static std::mutex mutex;
    static std::shared_ptr<TDemoBus> bus;
    std::lock_guard<std::mutex> lock(mutex);
    if (!bus)
        bus = std::make_shared<TDemoBus>(config.DemoBus);
    return bus;
}

int32_t TDemoPort::SetSpeed(uint32_t baud) {
    if (Line::SpeedConstant(baud) == 0)
        return KV_ERR_SPEED;
    Baud = baud;
    return KV_OK;
}

int32_t TDemoPort::Transmit(const char* data, size_t size) {
    Line.clear();
    Reader.Reset();
    std::vector<Sim::TOutput> outputs;
    bool timing = false;
    {
        std::lock_guard<std::mutex> lock(Bus->Mutex);
        outputs = Bus->Bus.Receive(data, size, Baud);
        timing = Bus->Bus.Config().LineTiming;
    }
    const TClock::time_point sent = TClock::now();
    // With line timing the request takes its time on the wire as on a real line.
    LineFree = sent + (timing ? ::Line::WireTime(size, Baud) : std::chrono::microseconds(0));
    for (Sim::TOutput& o : outputs)
        if (!o.Bytes.isEmpty())
            Line.push_back({sent + o.Delay, std::move(o.Bytes), o.ByteTime, 0});
    return KV_OK;
}

int32_t TDemoPort::Receive(char* answer, uint16_t timeoutMs) {
    // The same rules as on a real line, in simulated time: each byte counts at its arrival.
    TAnswerDeadline deadline(LineFree, timeoutMs, Baud);
    for (;;) {
        const TClock::time_point now = TClock::now();
        while (!Line.empty() && Line.front().ArrivalOfNext() <= now) {
            TChunk& chunk = Line.front();
            const TClock::time_point at = chunk.ArrivalOfNext();
            if (at > deadline.At())
                break; // came after the time-out ended
            size_t used = 0;
            const std::optional<int32_t> done =
                FeedAnswer(Reader, deadline, chunk.Bytes.constData() + chunk.Taken, 1, used, answer);
            if (++chunk.Taken >= chunk.Bytes.size())
                Line.pop_front();
            if (done)
                return *done;
        }
        if (now >= deadline.At())
            return Reader.SeenTooLong() ? KV_ERR_TOO_LONG : KV_ERR_NO_ANSWER;
        // The simulated line is silent until the next byte is due, or the time-out ends.
        std::this_thread::sleep_until(Line.empty() ? deadline.At()
                                                   : std::min(deadline.At(), Line.front().ArrivalOfNext()));
    }
}

} // namespace Kv
