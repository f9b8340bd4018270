#pragma once
// Inside the exchange library: one open line behind a handle (a serial port or the demo line) and the
// assembly of answer parcels from the bytes that arrive.
#include "kvcom/kvcom.h"

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace Kv {

// Longest parcel a caller's buffer holds, CR included.
constexpr size_t MaxParcel = KV_BUFFER_SIZE - 1;

// Picks answer parcels out of the incoming bytes: everything before "!" is skipped (line noise, the
// echo of our own request), a parcel ends with its CR, and a "!" inside a parcel still being
// collected starts it again there (noise that itself began with "!"). A parcel too long for the
// caller's buffer is swallowed up to its CR so that the next one starts clean.
class TAnswerReader {
public:
    enum class TResult { More, Complete, TooLong };

    // Consumes bytes from the front of data until a parcel ends or the bytes run out.
    TResult Feed(const char* data, size_t size, size_t& consumed);
    // The complete parcel, CR included.
    const char* Text() const { return Buf; }
    size_t Size() const { return Len; }
    // Drops a partly received parcel.
    void Reset() {
        State = TState::Seeking;
        Len = 0;
    }
    bool SeenTooLong() const { return State == TState::Draining; }
    // Bytes taken so far that belonged to a parcel (from its "!" on), counted over the reader's life.
    size_t ParcelBytes() const { return InParcelBytes; }
    // Inside a parcel that has not reached its CR yet.
    bool InParcel() const { return State != TState::Seeking; }

private:
    enum class TState { Seeking, Collecting, Draining };
    TState State = TState::Seeking;
    char Buf[MaxParcel + 1] = {};
    size_t Len = 0;
    size_t InParcelBytes = 0;
};

// The answer time-out counts from the moment the request has left the line, so that the request's
// own transmission at a slow speed does not eat it. Each byte of an answer in progress moves the end
// on by that byte's own time on the wire (with a quarter more for gaps between bytes), so the
// answer's transmission does not eat it either, yet an instrument trickling bytes or noise after a
// "!" cannot hold the line much past the time-out: at most by the wire time of a longest parcel.
// Once an answer has begun, a fixed allowance covers adapters that hand bytes over in bursts (the
// latency timer of USB adapters, 16 ms by default).
class TAnswerDeadline {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds BurstAllowance{50};

    TAnswerDeadline(TClock::time_point lineFree, uint16_t timeoutMs, uint32_t baud)
        : Deadline(std::max(TClock::now(), lineFree) + std::chrono::milliseconds(timeoutMs)),
          // 10 bits a byte (start, 8 data, stop), and a quarter more.
          ByteTime(baud == 0 ? TClock::duration::zero()
                             : std::chrono::duration_cast<TClock::duration>(
                                   std::chrono::microseconds(10 * 1000000 * 5 / 4 / baud))) {}
    // Bytes of an answer in progress arrived.
    void AnswerBytes(size_t count) {
        if (count == 0)
            return;
        if (Counted == 0)
            Deadline += BurstAllowance;
        const size_t take = std::min(count, MaxParcel - std::min(Counted, MaxParcel));
        Counted += count;
        Deadline += ByteTime * static_cast<TClock::rep>(take);
    }
    TClock::time_point At() const { return Deadline; }

private:
    TClock::time_point Deadline;
    TClock::duration ByteTime;
    size_t Counted = 0;
};

// One step of every line's answer loop: feeds bytes to the reader, moves the deadline on by the
// parcel bytes among them, and copies a complete parcel (zero-terminated) to answer. Gives the
// library's code once the answer is settled (complete or too long); nothing while more may come.
std::optional<int32_t> FeedAnswer(TAnswerReader& reader, TAnswerDeadline& deadline, const char* data,
                                  size_t size, size_t& consumed, char* answer);

// FeedAnswer over bytes kept from earlier reads (a broadcast brings several answers at once): what
// it takes is removed from the front of pending.
std::optional<int32_t> FeedPending(TAnswerReader& reader, TAnswerDeadline& deadline, QByteArray& pending,
                                   char* answer);

// One open line.
class TPort {
public:
    virtual ~TPort() = default;
    virtual int32_t SetSpeed(uint32_t baud) = 0;
    // Drops stale input, then sends the parcel.
    virtual int32_t Transmit(const char* data, size_t size) = 0;
    // Waits at most timeoutMs for one whole answer parcel and copies it, zero-terminated, to answer.
    virtual int32_t Receive(char* answer, uint16_t timeoutMs) = 0;
};

} // namespace Kv
