#include "sim/Wire.h"

#include <array>

namespace Wire {

namespace {
constexpr std::array<uint16_t, 256> MakeTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001u) : static_cast<uint16_t>(crc >> 1);
        table[i] = crc;
    }
    return table;
}
constexpr std::array<uint16_t, 256> Table = MakeTable();
constexpr char HexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
} // namespace

uint16_t Crc16Modbus(const char* data, size_t size) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i)
        crc = static_cast<uint16_t>((crc >> 8) ^ Table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFFu]);
    return crc;
}

void FormatCheckWord(uint16_t crc, char* out) {
    out[0] = HexDigits[(crc >> 12) & 0xF];
    out[1] = HexDigits[(crc >> 8) & 0xF];
    out[2] = HexDigits[(crc >> 4) & 0xF];
    out[3] = HexDigits[crc & 0xF];
}

QByteArray CheckWordOf(const char* data, size_t size) {
    QByteArray out(CheckWordLength, '0');
    FormatCheckWord(Crc16Modbus(data, size), out.data());
    return out;
}

bool ParseCheckWord(const char* text, uint16_t& crc) {
    uint16_t v = 0;
    for (int i = 0; i < CheckWordLength; ++i) {
        const int d = HexValue(text[i]);
        if (d < 0)
            return false;
        v = static_cast<uint16_t>((v << 4) | d);
    }
    crc = v;
    return true;
}

QByteArray RequestParcel(const QByteArray& requestText) {
    const qsizetype start = requestText.indexOf(':');
    const qsizetype last = requestText.lastIndexOf(';');
    QByteArray out = requestText;
    if (start >= 0 && last > start)
        out += CheckWordOf(requestText.constData() + start, static_cast<size_t>(last - start + 1));
    out += Cr;
    return out;
}

QByteArray AnswerParcel(uint8_t address, const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size() + 12);
    out += '!';
    out += QByteArray::number(address);
    out += ';';
    out += data;
    out += ';';
    out += CheckWordOf(out.constData(), static_cast<size_t>(out.size()));
    out += Cr;
    return out;
}

} // namespace Wire
