#pragma once
// Serves a simulated bus on a pseudo-terminal (the client opens the slave side) or on a real serial
// port. One thread runs Run(); Stop() and WithBus() may be called from any thread, Stop() also from a
// signal handler.
#include "sim/SimBus.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

namespace Sim {

class TServer {
public:
    explicit TServer(TConfig config);
    ~TServer();
    TServer(const TServer&) = delete;
    TServer& operator=(const TServer&) = delete;

    // A new pseudo-terminal; SlavePath() names the side clients open.
    bool OpenPty(QString* error);
    // A real serial port at the speed of the first instrument.
    bool OpenPort(const QString& path, QString* error);
    const QString& SlavePath() const { return Slave; }

    // Serves until Stop(); false when the line failed.
    bool Run(QString* error = nullptr);
    // Async-signal-safe.
    void Stop();

    // Prints each request frame on stderr as it arrives.
    void SetTrace(bool on);

    template <class F> auto WithBus(F&& f) {
        std::lock_guard<std::mutex> lock(BusMutex);
        return f(Bus);
    }

private:
    struct TPending {
        TClock::time_point Due; // the last byte
        QByteArray Bytes;
        qsizetype Written = 0;
        uint32_t SpeedAfter = 0;
        std::chrono::microseconds ByteTime{0}; // nonzero: byte by byte at this pace
        // When the next unwritten byte is due.
        TClock::time_point NextDue() const {
            if (ByteTime.count() == 0 || Written >= Bytes.size())
                return Due;
            return Due - ByteTime * static_cast<long long>(Bytes.size() - 1 - Written);
        }
    };

    uint32_t LineSpeed() const;
    bool SetPortSpeed(uint32_t speed);
    bool WritePending(QString* error);

    std::mutex BusMutex;
    TBus Bus;
    int LineFd = -1;  // pty master or the real port
    int SlaveFd = -1; // our own hold on the pty slave, so the master never sees a hang-up
    bool IsPty = false;
    uint32_t PortSpeed = DefaultSpeed;
    QString Slave;
    int WakeRead = -1;
    int WakeWrite = -1;
    std::atomic<bool> Stopping{false};
    std::deque<TPending> Queue;
};

} // namespace Sim
