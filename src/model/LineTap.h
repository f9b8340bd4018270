#pragma once
// Capture of every parcel on the line, on the program's side of the exchange library.
//
// Usage. Implement ILineTap and put a pointer to it into the exchange handle before the link is
// opened; every operation on that handle (ExchangeParcel, DevCheck, DevGetVersion, DevSearch,
// ReadParam, WriteParam) then reports one TLineEvent per request and one per answer (also for a
// receive that failed, with empty Bytes and the failure's code), on the thread that runs the
// exchange:
//
//     class TTraceFile : public ILineTap {              // e.g. a command-line --trace FILE
//         void Parcel(const TLineEvent& e) override { Out << FormatLineEvent(e) << '\n'; }
//     };
//     TTraceFile trace;
//     ExchangeHandle h;
//     h.Tap = &trace;                                   // before OpenLink/OpenDevLink
//     OpenDevLink(api, dev, type, h); ... CloseDevLink(h);
//
// The runs carry the pointer for their handles: TExchangeRun::Tap (read-all, write-all),
// TMeasureRun::Tap; calibration and the connection dialog take TAppState::LineTap. To name what a
// parameter read or write is for, hold a TLinePurpose on the handle around the call; the answer's
// purpose then gets " = " and the decoded (or written) value.
//
// Parcel() is called while the line waits for nobody, but it delays the next parcel: it must not
// block on another thread (hand events on in batches, as the line monitor does). Nothing is built
// when the handle has no tap. No widgets here; the library's interface is unchanged.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

enum class TLineDirection : uint8_t { Request, Answer };

struct TLineEvent {
    int64_t TimeMs = 0; // wall clock, milliseconds since the epoch (UTC)
    TLineDirection Direction = TLineDirection::Request;
    QString Port;
    // Request: the address sent to (0 broadcast). Answer: the answering address when the library
    // could read one, else the address the request went to.
    uint8_t Address = 0;
    // Exactly what went to or came from the library: the request with its check word and CR; the
    // answer parcel from "!" through its CR (empty when none arrived or it did not fit).
    QByteArray Bytes;
    // 0, or the result code this parcel ended in (library code, or the program's -1, -20, -21, -22).
    int Outcome = 0;
    // What the parcel was for: parameter name (with its value on the answer), "идентификация",
    // "версия", "поиск", "калибровка"...
    QString Purpose;
};

class ILineTap {
public:
    virtual ~ILineTap() = default;
    // On the exchange's thread; must return quickly and never wait for another thread.
    virtual void Parcel(const TLineEvent& event) = 0;
    // False while nobody would read the events, so that the exchange need not build them.
    virtual bool Enabled() const { return true; }
};

// Fan-out to the taps attached at the moment; attach and detach from any thread. A detached tap
// gets no further call once Detach has returned.
class TLineTapHub : public ILineTap {
public:
    void Attach(ILineTap* tap) {
        const std::lock_guard<std::mutex> lock(Mutex);
        Taps.push_back(tap);
        Count = static_cast<int>(Taps.size());
    }
    void Detach(ILineTap* tap) {
        const std::lock_guard<std::mutex> lock(Mutex);
        std::erase(Taps, tap);
        Count = static_cast<int>(Taps.size());
    }
    bool Enabled() const override { return Count.load(std::memory_order_relaxed) > 0; }
    void Parcel(const TLineEvent& event) override {
        const std::lock_guard<std::mutex> lock(Mutex);
        for (ILineTap* tap : Taps)
            tap->Parcel(event);
    }

private:
    std::mutex Mutex;
    std::vector<ILineTap*> Taps;
    std::atomic<int> Count{0};
};
