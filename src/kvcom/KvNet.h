#pragma once
// A serial line behind a device server in TCP-server mode: raw bytes ("tcp://"), or Telnet with the
// COM-PORT-CONTROL option ("rfc2217://"), through which the speed and 8N1 are set on the server's
// serial port. Plain POSIX sockets, driven with poll() like the termios port, so every call stays
// synchronous and bounded on the caller's thread.
#include "common/NetAddress.h"
#include "kvcom/KvPort.h"
#include "sim/Telnet.h"

#include <QByteArray>
#include <chrono>
#include <memory>

namespace Kv {

class TNetPort final : public TPort {
public:
    // How long connecting (and, for RFC 2217, agreeing on the option and the speed) may take.
    static constexpr std::chrono::milliseconds ConnectTime{3000};

    explicit TNetPort(NetAddress::TAddress address) : Address(std::move(address)) {}
    ~TNetPort() override;
    // Connects; KV_ERR_OPEN when the server cannot be reached or refuses, KV_ERR_NO_RFC2217 when an
    // RFC 2217 server does not agree to the option.
    int32_t Open(uint32_t baud);

    int32_t SetSpeed(uint32_t baud) override;
    int32_t Transmit(const char* data, size_t size) override;
    int32_t Receive(char* answer, uint16_t timeoutMs) override;

private:
    using TClock = std::chrono::steady_clock;
    int32_t Connect(TClock::time_point deadline);
    int32_t Negotiate(TClock::time_point deadline);
    void Disconnect();
    // Sends all bytes or gives a code; a peer gone is KV_ERR_LINE_LOST.
    int32_t SendAll(const QByteArray& bytes, TClock::time_point deadline);
    // Waits until the deadline for bytes and takes what came in: the data into Pending, Telnet
    // commands answered. 0 bytes is no error; a closed or failed connection is KV_ERR_LINE_LOST.
    int32_t ReadSome(TClock::time_point deadline);
    // Answers the Telnet negotiation that arrived.
    int32_t HandleEvents(TClock::time_point deadline);
    bool Telnet() const { return Address.Kind == NetAddress::TKind::Rfc2217; }

    NetAddress::TAddress Address;
    int Fd = -1;
    uint32_t Baud = 0;
    uint32_t ServerBaud = 0; // the speed the server last confirmed (RFC 2217)
    TClock::time_point LineFree{};
    TAnswerReader Reader;
    QByteArray Pending; // data received, not yet taken
    ::Telnet::TDecoder Decoder;
    std::unique_ptr<::Telnet::TNegotiator> Options;
    std::vector<::Telnet::TEvent> Events;
};

} // namespace Kv
