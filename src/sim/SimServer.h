#pragma once
// Serves a simulated bus on a pseudo-terminal (the client opens the slave side), on a real serial
// port, or as a device server in TCP-server mode: raw bytes, or Telnet with the COM-PORT-CONTROL
// option (RFC 2217) whose speed the client sets. On TCP one client is served at a time; a new one
// takes the line over from the old (as device servers do with "kick old user"). One thread runs Run(); Stop()
// and WithBus() may be called from any thread, Stop() also from a signal handler.
#include "sim/SimBus.h"
#include "sim/Telnet.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
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
    // A TCP port on the host's address (empty: loopback only); port 0 picks a free one, which
    // ListenPort() then gives. Raw, the line speed is fixed at the first instrument's; with telnet,
    // it is the speed the client sets through RFC 2217.
    bool Listen(const QString& host, uint16_t port, bool telnet, QString* error);
    uint16_t ListenPort() const { return BoundPort; }

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
    // Sends what Out holds as far as the line takes it.
    bool Flush(QString* error);
    int WriteFd() const { return ListenFd >= 0 ? ClientFd : LineFd; }
    void Accept();
    void DropClient();
    void HandleTelnet(const char* data, size_t size, QByteArray& lineData);

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
    QByteArray Out; // bytes due on the line that it has not taken yet

    int ListenFd = -1;
    int ClientFd = -1;
    uint16_t BoundPort = 0;
    bool TelnetMode = false;
    uint32_t NetSpeed = DefaultSpeed; // set by the RFC 2217 client
    Telnet::TDecoder Decoder;
    std::unique_ptr<Telnet::TNegotiator> Options;
};

} // namespace Sim
