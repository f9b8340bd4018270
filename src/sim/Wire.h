#pragma once
// Parcel framing shared by the exchange library and the simulator.
// Request on the wire: request text, check word, CR. Answer: "!" address ";" data ";" check word CR.
// The check word is CRC-16/MODBUS over the text from the leading ":" or "!" through the last ";",
// written as 4 upper-case hexadecimal digits, high byte first.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace Wire {

constexpr char Cr = '\r';
constexpr int CheckWordLength = 4;

uint16_t Crc16Modbus(const char* data, size_t size);
// Writes the 4 digits of the check word to out (no terminating zero).
void FormatCheckWord(uint16_t crc, char* out);
QByteArray CheckWordOf(const char* data, size_t size);
// Parses 4 hexadecimal digits of either case; false when they are not hexadecimal.
bool ParseCheckWord(const char* text, uint16_t& crc);

// Request text (":" ... ";") followed by its check word and CR.
QByteArray RequestParcel(const QByteArray& requestText);
// A complete answer parcel from an address with a data text.
QByteArray AnswerParcel(uint8_t address, const QByteArray& data);

} // namespace Wire
