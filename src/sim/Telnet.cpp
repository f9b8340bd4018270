#include "sim/Telnet.h"

#include <algorithm>

namespace Telnet {

QByteArray Escape(const char* data, size_t size) {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(size));
    for (size_t i = 0; i < size; ++i) {
        out.append(data[i]);
        if (static_cast<uint8_t>(data[i]) == Iac)
            out.append(data[i]);
    }
    return out;
}

QByteArray Command(uint8_t verb, uint8_t option) {
    QByteArray out(3, '\0');
    out[0] = static_cast<char>(Iac);
    out[1] = static_cast<char>(verb);
    out[2] = static_cast<char>(option);
    return out;
}

QByteArray Subnegotiation(uint8_t option, const QByteArray& payload) {
    QByteArray out;
    out.append(static_cast<char>(Iac)).append(static_cast<char>(Sb)).append(static_cast<char>(option));
    out.append(Escape(payload.constData(), static_cast<size_t>(payload.size())));
    out.append(static_cast<char>(Iac)).append(static_cast<char>(Se));
    return out;
}

QByteArray ComPort32(uint8_t command, uint32_t value) {
    QByteArray p;
    p.append(static_cast<char>(command));
    for (int shift = 24; shift >= 0; shift -= 8)
        p.append(static_cast<char>((value >> shift) & 0xFF));
    return Subnegotiation(OptComPort, p);
}

QByteArray ComPort8(uint8_t command, uint8_t value) {
    QByteArray p;
    p.append(static_cast<char>(command)).append(static_cast<char>(value));
    return Subnegotiation(OptComPort, p);
}

void TDecoder::Feed(const char* in, size_t size, QByteArray& data, std::vector<TEvent>& events) {
    for (size_t i = 0; i < size; ++i) {
        const auto b = static_cast<uint8_t>(in[i]);
        switch (State) {
        case TState::Data:
            if (b == Iac)
                State = TState::Command;
            else
                data.append(static_cast<char>(b));
            break;
        case TState::Command:
            if (b == Iac) {
                data.append(static_cast<char>(b));
                State = TState::Data;
            } else if (b == Will || b == Wont || b == Do || b == Dont) {
                Verb = b;
                State = TState::Option;
            } else if (b == Sb) {
                State = TState::SbOption;
            } else {
                State = TState::Data; // NOP, GA, break and the like mean nothing on this line
            }
            break;
        case TState::Option:
            events.push_back({Verb, b, QByteArray()});
            State = TState::Data;
            break;
        case TState::SbOption:
            Sub = TEvent{Sb, b, QByteArray()};
            State = TState::SbData;
            break;
        case TState::SbData:
            if (b == Iac)
                State = TState::SbIac;
            else if (Sub.Payload.size() < MaxPayload)
                Sub.Payload.append(static_cast<char>(b));
            break;
        case TState::SbIac:
            if (b == Se) {
                events.push_back(std::move(Sub));
                Sub = TEvent();
                State = TState::Data;
            } else {
                // IAC IAC is a 0xFF of the payload; anything else ends a broken subnegotiation.
                if (b == Iac && Sub.Payload.size() < MaxPayload)
                    Sub.Payload.append(static_cast<char>(b));
                State = b == Iac ? TState::SbData : TState::Data;
            }
            break;
        }
    }
}

bool TNegotiator::In(const std::vector<uint8_t>& set, uint8_t option) {
    return std::find(set.begin(), set.end(), option) != set.end();
}

QByteArray TNegotiator::Ask(uint8_t verb, uint8_t option) {
    if (verb == Will)
        LocalAsked[option] = true;
    else if (verb == Do)
        RemoteAsked[option] = true;
    return Command(verb, option);
}

QByteArray TNegotiator::Handle(const TEvent& e) {
    const uint8_t o = e.Option;
    switch (e.Verb) {
    case Do:
        if (LocalOn[o])
            return {};
        if (!In(LocalOk, o))
            return Command(Wont, o);
        LocalOn[o] = true;
        if (LocalAsked[o]) {
            LocalAsked[o] = false; // the answer to our WILL
            return {};
        }
        return Command(Will, o);
    case Dont: {
        const bool wasOn = LocalOn[o];
        if (LocalAsked[o])
            Refused[o] = true;
        LocalOn[o] = LocalAsked[o] = false;
        return wasOn ? Command(Wont, o) : QByteArray();
    }
    case Will:
        if (RemoteOn[o])
            return {};
        if (!In(RemoteOk, o))
            return Command(Dont, o);
        RemoteOn[o] = true;
        if (RemoteAsked[o]) {
            RemoteAsked[o] = false;
            return {};
        }
        return Command(Do, o);
    case Wont: {
        const bool wasOn = RemoteOn[o];
        RemoteOn[o] = RemoteAsked[o] = false;
        return wasOn ? Command(Dont, o) : QByteArray();
    }
    default:
        return {};
    }
}

} // namespace Telnet
