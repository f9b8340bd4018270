#pragma once
// Serial line settings shared by the exchange library and the simulator: raw 8N1 without flow
// control, only the seven instrument speeds.
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace Line {

// Time the bytes take on the wire at a speed: 10 bits each (start, 8 data, stop); 0 for speed 0.
std::chrono::microseconds WireTime(size_t bytes, uint32_t speed);

// Termios speed constant for one of the seven speeds, or 0.
unsigned SpeedConstant(uint32_t speed);
// Line speed of a termios speed constant, or 0 when it is not one of the seven.
uint32_t SpeedOfConstant(unsigned constant);

// Raw mode, 8 data bits, no parity, 1 stop bit, no flow control, receiver on, modem lines ignored;
// a read returns what is there (at least one byte), so a read of 0 bytes means the line hung up.
bool ConfigureRaw(int fd, uint32_t speed);
// Changes only the speed; with drain, output already written leaves at the old speed first.
bool SetSpeed(int fd, uint32_t speed, bool drain);
// The speed the line is set to, or 0 when it is not one of the seven (for a pseudo-terminal master
// this is the speed the client set on the slave side).
uint32_t CurrentSpeed(int fd);

} // namespace Line
