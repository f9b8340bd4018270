#pragma once
// The demo line "SIM1": the simulator engine inside the library. Every handle that opens it talks to
// one bus that lives as long as the process, so values written stay for later handles.
#include "kvcom/KvConfig.h"
#include "kvcom/KvPort.h"

#include <QByteArray>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>

namespace Kv {

struct TDemoBus {
    explicit TDemoBus(const Sim::TConfig& config) : Bus(config) {}
    std::mutex Mutex;
    Sim::TBus Bus;
};

// The process-wide demo bus, made from the configuration on first use.
std::shared_ptr<TDemoBus> DemoBus(const TLibConfig& config);

class TDemoPort final : public TPort {
public:
    TDemoPort(std::shared_ptr<TDemoBus> bus, uint32_t baud) : Bus(std::move(bus)), Baud(baud) {}

    int32_t SetSpeed(uint32_t baud) override;
    int32_t Transmit(const char* data, size_t size) override;
    int32_t Receive(char* answer, uint16_t timeoutMs) override;

private:
    using TClock = std::chrono::steady_clock;
    struct TChunk {
        TClock::time_point Due; // the last byte
        QByteArray Bytes;
        std::chrono::microseconds ByteTime{0}; // nonzero: byte by byte at this pace
        qsizetype Taken = 0;
        TClock::time_point ArrivalOfNext() const {
            return Due - ByteTime * static_cast<long long>(Bytes.size() - 1 - Taken);
        }
    };
    std::shared_ptr<TDemoBus> Bus;
    uint32_t Baud;
    std::deque<TChunk> Line;       // answers on their way
    TClock::time_point LineFree{}; // when the last request has left the simulated line
    TAnswerReader Reader;
};

} // namespace Kv
