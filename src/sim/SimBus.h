#pragma once
// The instrument simulator engine: a bus of simulated instruments that answer request parcels the way
// the real ones do. It knows no transport: a host feeds it the bytes that arrive on the line and puts
// what it gives back on the line after the given delay. The engine is not thread-safe; hosts
// serialise access to it.
#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <vector>

namespace Sim {

using TClock = std::chrono::steady_clock;

// The line speeds, at the index the instruments' speed parameter holds.
constexpr uint32_t LineSpeeds[] = {300, 600, 1200, 2400, 4800, 9600, 19200};
constexpr int LineSpeedCount = 7;
constexpr uint32_t DefaultSpeed = 9600;
// Index of a speed in LineSpeeds, or -1.
int SpeedIndexOf(uint32_t speed);

// Well-known locations.
inline const QByteArray VersionLocation = QByteArrayLiteral("0001FF");
inline const QByteArray CalibLocation = QByteArrayLiteral("001000");

struct TDeviceSpec {
    uint8_t Address = 1;
    uint8_t TypeNum = 21;
    QString Version;    // empty: the base descriptions
    uint32_t Speed = 0; // 0: the bus default
};
// "ADDR:TYPENUM[:VERSION[:SPEED]]", e.g. "1:21", "2:21:K1_205", "3:21::19200". Address 1..255.
std::optional<TDeviceSpec> ParseDeviceSpec(const QString& text, QString* error = nullptr);

// Fault injection. Counters run over the whole bus from its creation; N = 0 disables a fault.
struct TFaults {
    uint32_t DropEvery = 0;    // every Nth answer is not sent
    uint32_t BadCrcEvery = 0;  // every Nth answer carries a wrong check word
    uint32_t ForeignEvery = 0; // every Nth answer names another address (the instrument's + 1)
    uint32_t Dollar1Every =
        0;                // every Nth read or write is refused with "$1" (a refused write stores nothing)
    uint32_t DelayMs = 0; // pause before every answer
    uint32_t SilenceAfter = 0; // after this many answers nothing more is answered
    bool Noise = false;        // a few garbage bytes (never "!" or CR) before every answer
    bool Echo = false;         // every request comes back first, as on half-duplex adapters
    // Writes to this location (upper-case hexadecimal) are acknowledged with "$0" but not kept.
    QByteArray UnkeptLocation;
};

struct TConfig {
    QString ProgDir; // where devices.ini and the description files are found
    std::vector<TDeviceSpec> Devices;
    uint32_t DefaultSpeed = Sim::DefaultSpeed;
    bool LineTiming = false; // 10 bits per byte at the line speed, for the request and each answer
    double CalibSeconds = 2.0;
    TFaults Faults;
    // Request frames kept for TBus::Log, the newest; 0 keeps none. A host that never reads the log
    // (the exchange library's demo line, the simulator program) keeps none: a week of polling
    // would otherwise hold the last 10,000 requests, about a megabyte, for nobody.
    size_t RequestLogLimit = 10000;
};

// Bytes to put on the line Delay after the request's CR arrived. Outputs come in line order.
struct TOutput {
    std::chrono::microseconds Delay{0}; // when the last byte has arrived
    QByteArray Bytes;
    uint32_t SpeedAfter = 0; // nonzero: the answering instrument listens at this speed from now on
    // Nonzero (line timing): the bytes arrive one by one at this pace, the last one at Delay.
    std::chrono::microseconds ByteTime{0};

    // When byte k (counted from 0) has arrived.
    std::chrono::microseconds ArrivalOf(qsizetype k) const {
        return Delay - ByteTime * static_cast<long long>(Bytes.size() - 1 - k);
    }
};

struct TInstrument {
    uint8_t Address = 1;
    uint8_t TypeNum = 0;
    QByteArray Version; // Windows-1251, as the wire carries it
    uint32_t Speed = DefaultSpeed;
    int Channels = 1;
    bool DescriptionsLoaded = false;
    // Location (upper-case hexadecimal text) -> content. The network-address and speed parameters
    // hold the instrument's actual address and speed, all others start with their factory values.
    std::map<QByteArray, QByteArray> Memory;
    QByteArray NetAddressLocation; // empty when the descriptions have no such parameter
    QByteArray SpeedLocation;
    bool Calibrating = false;
    TClock::time_point CalibEnd{};
};

// A factory value text encoded for its location as a write would encode it: codes 0, 2 and 3 give
// one hex byte, 4 digits low byte first, an IEEE single least significant byte first; other codes
// have no payload. An invalid text encodes as zero.
QByteArray EncodeFactoryValue(uint8_t vtype, const QString& value);
// IEEE single nearest to the value, halfway cases away from zero.
uint32_t SingleBits(double value);

class TBus {
public:
    explicit TBus(TConfig config);

    // Bytes as they arrive on the line; lineSpeed is the speed they came at, 0 when the transport
    // cannot tell. Anything before ":" is line noise; each CR ends a request.
    std::vector<TOutput> Receive(const char* data, size_t size, uint32_t lineSpeed);
    std::vector<TOutput> Receive(const QByteArray& bytes, uint32_t lineSpeed) {
        return Receive(bytes.constData(), static_cast<size_t>(bytes.size()), lineSpeed);
    }

    // Inspection, for tests and hosts.
    const TConfig& Config() const { return Cfg; }
    size_t Count() const { return Instruments.size(); }
    const TInstrument& Instrument(size_t i) const { return Instruments[i]; }
    // Index of the first instrument (configuration order) with that address, or -1.
    int IndexOfAddress(uint8_t address) const;
    // Content of a location after the calibration state has been brought up to date; empty
    // optional for an unknown location.
    std::optional<QByteArray> Content(size_t i, const QByteArray& location);
    // Every request frame that arrived (":" through the check word, without CR), oldest first;
    // only the newest TConfig::RequestLogLimit are kept.
    const std::deque<QByteArray>& Log() const { return RequestLog; }
    void ClearLog() { RequestLog.clear(); }

    // Called with each request frame as it arrives.
    void SetTrace(std::function<void(const QByteArray&)> trace) { Trace = std::move(trace); }
    // Time source for the calibration and the channel values (tests replace it).
    void SetClock(std::function<TClock::time_point()> clock) { Clock = std::move(clock); }

private:
    struct TAnswer {
        size_t Index;
        QByteArray Data;
        int NewAddress = -1;
        uint32_t NewSpeed = 0;
    };

    TClock::time_point Now() const { return Clock ? Clock() : TClock::now(); }
    void InitInstrument(TInstrument& inst, const TDeviceSpec& deviceDef);
    std::vector<TOutput> HandleFrame(const QByteArray& frame, uint32_t lineSpeed);
    void Execute(TInstrument& inst, int command, const QList<QByteArray>& fields, TAnswer& answer);
    void Settle(TInstrument& inst);
    QByteArray ChannelValue(size_t index, int channel);
    QByteArray NoiseBytes();

    TConfig Cfg;
    std::vector<TInstrument> Instruments;
    std::deque<QByteArray> RequestLog;
    std::function<void(const QByteArray&)> Trace;
    std::function<TClock::time_point()> Clock;
    TClock::time_point Start;
    std::mt19937 Random{20240611u};

    QByteArray Frame; // request being received
    bool InFrame = false;

    uint64_t Answers = 0;     // answers produced, for the fault counters
    uint64_t ReadsWrites = 0; // reads and writes handled, for "$1" faults
};

} // namespace Sim
