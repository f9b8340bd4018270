#pragma once
// Network ports: a serial line behind a device server, named "tcp://HOST:PORT" (raw bytes) or
// "rfc2217://HOST:PORT" (Telnet with the COM-PORT-CONTROL option). Shared by the exchange library,
// which opens them, and the tools, which explain a malformed address before any exchange.
#include <QString>
#include <cstdint>
#include <optional>

namespace NetAddress {

enum class TKind { Raw, Rfc2217 };

struct TAddress {
    TKind Kind = TKind::Raw;
    QString Host; // without the brackets of an IPv6 literal
    uint16_t Port = 0;
};

// The text has the form of a network address ("scheme://..."), well formed or not.
bool LooksLikeAddress(const QString& text);

// The address, or nothing with the reason in Russian (for example "не указан порт").
std::optional<TAddress> Parse(const QString& text, QString* why = nullptr);

} // namespace NetAddress
