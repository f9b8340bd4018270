#pragma once
// A real serial port (or a pseudo-terminal slave) driven with termios and poll().
#include "kvcom/KvPort.h"

#include <QByteArray>
#include <chrono>

namespace Kv {

class TSerialPort final : public TPort {
public:
    ~TSerialPort() override;
    // Opens the device path exclusively in raw 8N1 at the given speed; a library code on failure.
    int32_t Open(const QByteArray& path, uint32_t baud);

    int32_t SetSpeed(uint32_t baud) override;
    int32_t Transmit(const char* data, size_t size) override;
    int32_t Receive(char* answer, uint16_t timeoutMs) override;

private:
    int Fd = -1;
    uint32_t Baud = 0;
    // When the last request's last byte has left the line: the answer's time-out counts from then.
    std::chrono::steady_clock::time_point LineFree{};
    TAnswerReader Reader;
    QByteArray Pending; // bytes read past the end of the last parcel
};

} // namespace Kv
