#pragma once
// Telnet framing as serial device servers speak it with the COM-PORT-CONTROL option (RFC 2217):
// the data byte 0xFF goes doubled, commands start with 0xFF (IAC), options are agreed with
// WILL/WONT/DO/DONT, and the serial settings travel in subnegotiations. Shared by the exchange
// library (client side) and the simulator (server side).
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Telnet {

constexpr uint8_t Iac = 255, Dont = 254, Do = 253, Wont = 252, Will = 251, Sb = 250, Se = 240;
constexpr uint8_t OptBinary = 0, OptSga = 3, OptComPort = 44;

// COM-PORT-CONTROL commands from the client; the server answers each with the command + 100.
constexpr uint8_t SetBaudrate = 1, SetDatasize = 2, SetParity = 3, SetStopsize = 4, SetControl = 5;
constexpr uint8_t ServerReply = 100;
constexpr uint8_t ParityNone = 1, StopOne = 1, NoFlowControl = 1;

// Data with every 0xFF doubled.
QByteArray Escape(const char* data, size_t size);
QByteArray Command(uint8_t verb, uint8_t option);
// IAC SB option payload IAC SE, the payload escaped.
QByteArray Subnegotiation(uint8_t option, const QByteArray& payload);
// A COM-PORT-CONTROL command with a 32-bit value in network order (the speed) or one byte.
QByteArray ComPort32(uint8_t command, uint32_t value);
QByteArray ComPort8(uint8_t command, uint8_t value);

struct TEvent {
    uint8_t Verb = 0; // Will, Wont, Do, Dont, or Sb
    uint8_t Option = 0;
    QByteArray Payload; // Sb only: the bytes after the option, unescaped
};

// Splits the received stream into data and commands; keeps its place across reads, so a command
// split between two reads is still recognised. Other commands (NOP, GA, ...) are dropped.
class TDecoder {
public:
    void Feed(const char* in, size_t size, QByteArray& data, std::vector<TEvent>& events);

private:
    enum class TState { Data, Command, Option, SbOption, SbData, SbIac };
    static constexpr qsizetype MaxPayload = 64; // longer subnegotiations are not ours: cut
    TState State = TState::Data;
    uint8_t Verb = 0;
    TEvent Sub;
};

// Agreement on options without loops: every request is answered once, an answer is never answered.
// Local options are the ones this side performs (WILL), remote ones the peer performs (DO).
class TNegotiator {
public:
    TNegotiator(std::vector<uint8_t> localOk, std::vector<uint8_t> remoteOk)
        : LocalOk(std::move(localOk)), RemoteOk(std::move(remoteOk)) {}
    // Our own request (WILL or DO): the bytes to send.
    QByteArray Ask(uint8_t verb, uint8_t option);
    // The peer's WILL/WONT/DO/DONT: the bytes to answer with (maybe none).
    QByteArray Handle(const TEvent& e);
    bool Local(uint8_t option) const { return LocalOn[option]; }
    bool Remote(uint8_t option) const { return RemoteOn[option]; }
    // The peer said DONT to an option we offered.
    bool LocalRefused(uint8_t option) const { return Refused[option]; }

private:
    static bool In(const std::vector<uint8_t>& set, uint8_t option);
    std::vector<uint8_t> LocalOk, RemoteOk;
    bool LocalOn[256] = {}, RemoteOn[256] = {}, LocalAsked[256] = {}, RemoteAsked[256] = {},
         Refused[256] = {};
};

} // namespace Telnet
