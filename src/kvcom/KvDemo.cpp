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
    Pending.clear();
    Reader.Reset();
    std::vector<Sim::TOutput> outputs;
    {
        std::lock_guard<std::mutex> lock(Bus->Mutex);
        outputs = Bus->Bus.Receive(data, size, Baud);
    }
    const TClock::time_point sent = TClock::now();
    for (Sim::TOutput& o : outputs)
        if (!o.Bytes.isEmpty())
            Line.push_back({sent + o.Delay, std::move(o.Bytes)});
    return KV_OK;
}

int32_t TDemoPort::Receive(char* answer, uint16_t timeoutMs) {
    const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const TClock::time_point now = TClock::now();
        while (!Line.empty() && Line.front().Due <= now) {
            Pending += Line.front().Bytes;
            Line.pop_front();
        }
        if (!Pending.isEmpty()) {
            size_t used = 0;
            const auto result = Reader.Feed(Pending.constData(), static_cast<size_t>(Pending.size()), used);
            Pending.remove(0, static_cast<qsizetype>(used));
            if (result == TAnswerReader::TResult::Complete) {
                std::memcpy(answer, Reader.Text(), Reader.Size() + 1);
                return KV_OK;
            }
            if (result == TAnswerReader::TResult::TooLong)
                return KV_ERR_TOO_LONG;
        }
        if (now >= deadline)
            return Reader.SeenTooLong() ? KV_ERR_TOO_LONG : KV_ERR_NO_ANSWER;
        // The simulated line is silent until the next answer is due, or the time-out ends.
        std::this_thread::sleep_until(Line.empty() ? deadline : std::min(deadline, Line.front().Due));
    }
}

} // namespace Kv
