#include "sim/SimBus.h"

#include "common/Cp1251.h"
#include "common/Numbers.h"
#include "model/Model.h"
#include "sim/Line.h"
#include "sim/Wire.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace Sim {

namespace {

constexpr size_t MaxFrame = 1024; // longer "requests" are line garbage
constexpr char HexDigits[] = "0123456789ABCDEF";

void AppendHexByte(QByteArray& out, unsigned v) {
    out += HexDigits[(v >> 4) & 0xF];
    out += HexDigits[v & 0xF];
}

QByteArray HexByte(unsigned v) {
    QByteArray out;
    AppendHexByte(out, v);
    return out;
}

// Location of a parameter read and written as "0001" + HH.
QByteArray ParamLocation(uint16_t address) {
    QByteArray hh = QByteArray::number(address, 16).toUpper();
    if (hh.size() < 2)
        hh.prepend('0');
    return QByteArrayLiteral("0001") + hh;
}

std::optional<int> ParseDecimal(const QByteArray& text, int max) {
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v > max)
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<uint32_t> ParseHex(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    bool ok = false;
    const uint32_t v = text.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return v;
}

std::chrono::microseconds LineTime(qsizetype bytes, uint32_t speed) {
    return Line::WireTime(static_cast<size_t>(bytes), speed);
}

} // namespace

int SpeedIndexOf(uint32_t speed) {
    for (int i = 0; i < LineSpeedCount; ++i)
        if (LineSpeeds[i] == speed)
            return i;
    return -1;
}

std::optional<TDeviceSpec> ParseDeviceSpec(const QString& text, QString* error) {
    auto fail = [&](const QString& why) -> std::optional<TDeviceSpec> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 4)
        return fail(QStringLiteral("expected ADDR:TYPENUM[:VERSION[:SPEED]]: ") + text);
    bool ok = false;
    const uint address = parts[0].trimmed().toUInt(&ok);
    if (!ok || address < 1 || address > 255)
        return fail(QStringLiteral("address must be 1..255: ") + text);
    const uint type = parts[1].trimmed().toUInt(&ok);
    if (!ok || type > 255)
        return fail(QStringLiteral("type number must be 0..255: ") + text);
    TDeviceSpec deviceDef;
    deviceDef.Address = static_cast<uint8_t>(address);
    deviceDef.TypeNum = static_cast<uint8_t>(type);
    if (parts.size() > 2)
        deviceDef.Version = parts[2].trimmed();
    if (parts.size() > 3 && !parts[3].trimmed().isEmpty()) {
        const uint speed = parts[3].trimmed().toUInt(&ok);
        if (!ok || SpeedIndexOf(speed) < 0)
            return fail(QStringLiteral("speed must be one of 300..19200: ") + text);
        deviceDef.Speed = speed;
    }
    return deviceDef;
}

uint32_t SingleBits(double value) {
    float f = static_cast<float>(value); // nearest, ties to even
    if (std::isfinite(f) && static_cast<double>(f) != value) {
        const float toward = value > static_cast<double>(f) ? std::numeric_limits<float>::infinity()
                                                            : -std::numeric_limits<float>::infinity();
        const float other = std::nextafter(f, toward);
        const double mid = static_cast<double>(f) + (static_cast<double>(other) - static_cast<double>(f)) / 2;
        if (mid == value && std::fabs(other) > std::fabs(f))
            f = other;
    }
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

QByteArray EncodeFactoryValue(uint8_t vtype, const QString& value) {
    QByteArray out;
    switch (vtype) {
    case 0: {
        const int32_t v = Numbers::ParseInt(value).value_or(0);
        AppendHexByte(out, static_cast<uint32_t>(v) & 0xFFu);
        break;
    }
    case 2: {
        const auto v = static_cast<uint16_t>(Numbers::ParseInt(value).value_or(0));
        AppendHexByte(out, v & 0xFFu);
        AppendHexByte(out, v >> 8);
        break;
    }
    case 3: {
        const uint32_t bits = SingleBits(Numbers::ParseFloat(value).value_or(0.0));
        for (int i = 0; i < 4; ++i)
            AppendHexByte(out, (bits >> (8 * i)) & 0xFFu);
        break;
    }
    default:
        break;
    }
    return out;
}

TBus::TBus(TConfig config) : Cfg(std::move(config)), Start(TClock::now()) {
    if (!Cfg.ProgDir.isEmpty() && !Cfg.ProgDir.endsWith(QLatin1Char('/')))
        Cfg.ProgDir += QLatin1Char('/');
    if (SpeedIndexOf(Cfg.DefaultSpeed) < 0)
        Cfg.DefaultSpeed = Sim::DefaultSpeed;
    Instruments.resize(Cfg.Devices.size());
    for (size_t i = 0; i < Cfg.Devices.size(); ++i)
        InitInstrument(Instruments[i], Cfg.Devices[i]);
}

void TBus::InitInstrument(TInstrument& inst, const TDeviceSpec& deviceDef) {
    inst.Address = deviceDef.Address;
    inst.TypeNum = deviceDef.TypeNum;
    inst.Version = Cp1251::Encode(deviceDef.Version);
    inst.Speed = deviceDef.Speed ? deviceDef.Speed : Cfg.DefaultSpeed;

    if (!Cfg.ProgDir.isEmpty()) {
        const auto catalogue = ReadCatalogue(Cfg.ProgDir + QStringLiteral("devices.ini"));
        for (const auto& entry : catalogue) {
            if (entry->TypeNum != deviceDef.TypeNum)
                continue;
            inst.Channels = std::max<int>(1, entry->Channels);
            TDevProp prop;
            prop.Dir = entry->Dir;
            if (LoadDescriptions(Cfg.ProgDir, prop, deviceDef.Version)) {
                inst.DescriptionsLoaded = true;
                for (const auto& p : prop.Params) {
                    if (p->VType > 4)
                        continue; // channel, calibration and write-only codes have no "0001" location
                    const QByteArray loc = ParamLocation(p->Address);
                    inst.Memory[loc] = EncodeFactoryValue(p->VType, p->Value);
                    if (p->Name == NetAddressParamName && inst.NetAddressLocation.isEmpty())
                        inst.NetAddressLocation = loc;
                    if (p->Name == SpeedParamName && inst.SpeedLocation.isEmpty())
                        inst.SpeedLocation = loc;
                }
            }
            break;
        }
    }
    // The instrument's own address and speed are what those parameters read back.
    if (!inst.NetAddressLocation.isEmpty())
        inst.Memory[inst.NetAddressLocation] = HexByte(inst.Address);
    if (!inst.SpeedLocation.isEmpty())
        inst.Memory[inst.SpeedLocation] = HexByte(static_cast<unsigned>(SpeedIndexOf(inst.Speed)));
    inst.Memory[VersionLocation] = inst.Version;
    inst.Memory[CalibLocation] = QByteArrayLiteral("00");
}

int TBus::IndexOfAddress(uint8_t address) const {
    for (size_t i = 0; i < Instruments.size(); ++i)
        if (Instruments[i].Address == address)
            return static_cast<int>(i);
    return -1;
}

std::optional<QByteArray> TBus::Content(size_t i, const QByteArray& location) {
    TInstrument& inst = Instruments[i];
    Settle(inst);
    const auto it = inst.Memory.find(location.toUpper());
    if (it == inst.Memory.end())
        return std::nullopt;
    return it->second;
}

void TBus::Settle(TInstrument& inst) {
    if (inst.Calibrating && Now() >= inst.CalibEnd) {
        inst.Calibrating = false;
        inst.Memory[CalibLocation] = QByteArrayLiteral("00");
    }
}

std::vector<TOutput> TBus::Receive(const char* data, size_t size, uint32_t lineSpeed) {
    std::vector<TOutput> outputs;
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == ':') {
            Frame.clear(); // a new request starts; whatever came before was not one
            Frame += c;
            InFrame = true;
        } else if (!InFrame) {
            continue;
        } else if (c == Wire::Cr) {
            InFrame = false;
            std::vector<TOutput> more = HandleFrame(Frame, lineSpeed);
            outputs.insert(outputs.end(), std::make_move_iterator(more.begin()),
                           std::make_move_iterator(more.end()));
            Frame.clear();
        } else if (static_cast<size_t>(Frame.size()) >= MaxFrame) {
            InFrame = false;
            Frame.clear();
        } else {
            Frame += c;
        }
    }
    return outputs;
}

std::vector<TOutput> TBus::HandleFrame(const QByteArray& frame, uint32_t lineSpeed) {
    if (Cfg.RequestLogLimit > 0) {
        RequestLog.push_back(frame);
        if (RequestLog.size() > Cfg.RequestLogLimit)
            RequestLog.pop_front();
    }
    if (Trace)
        Trace(frame);

    std::vector<TOutput> outputs;
    const uint32_t timingSpeed = lineSpeed ? lineSpeed : Cfg.DefaultSpeed;
    const std::chrono::microseconds requestTime =
        Cfg.LineTiming ? LineTime(frame.size() + 1, timingSpeed) : std::chrono::microseconds(0);
    // With line timing every output comes byte by byte, as a real line delivers it.
    const std::chrono::microseconds byteTime =
        Cfg.LineTiming ? LineTime(1, timingSpeed) : std::chrono::microseconds(0);
    if (Cfg.Faults.Echo)
        outputs.push_back({requestTime, frame + Wire::Cr, 0, byteTime});

    // Check word: exactly four digits after the last ";", covering ":" through that ";".
    const qsizetype last = frame.lastIndexOf(';');
    if (last < 0 || frame.size() - last - 1 != Wire::CheckWordLength)
        return outputs;
    uint16_t sent = 0;
    if (!Wire::ParseCheckWord(frame.constData() + last + 1, sent) ||
        sent != Wire::Crc16Modbus(frame.constData(), static_cast<size_t>(last + 1)))
        return outputs;

    const QList<QByteArray> parts = frame.mid(1, last - 1).split(';');
    if (parts.size() < 2)
        return outputs;
    const auto address = ParseDecimal(parts[0], 255);
    const auto command = ParseDecimal(parts[1], std::numeric_limits<int>::max());
    if (!address || !command)
        return outputs;
    const QList<QByteArray> fields = parts.mid(2);

    // Who answers: one address, or for the broadcast identification everybody in address order.
    std::vector<size_t> responders;
    for (size_t i = 0; i < Instruments.size(); ++i) {
        const TInstrument& inst = Instruments[i];
        if (lineSpeed != 0 && inst.Speed != lineSpeed)
            continue; // a parcel at another speed is only noise to this instrument
        if (*address == 0 ? *command == 0 : inst.Address == *address)
            responders.push_back(i);
    }
    if (*address == 0)
        std::stable_sort(responders.begin(), responders.end(), [this](size_t a, size_t b) {
            return Instruments[a].Address < Instruments[b].Address;
        });

    std::chrono::microseconds t = requestTime + std::chrono::milliseconds(Cfg.Faults.DelayMs);
    for (size_t index : responders) {
        if (Cfg.Faults.SilenceAfter != 0 && Answers >= Cfg.Faults.SilenceAfter)
            break;
        ++Answers;
        TInstrument& inst = Instruments[index];
        TAnswer answer{index, QByteArray()};
        Execute(inst, *command, fields, answer);

        const auto every = [this](uint32_t n) { return n != 0 && Answers % n == 0; };
        uint8_t from = inst.Address;
        if (every(Cfg.Faults.ForeignEvery))
            from = inst.Address == 255 ? 1 : static_cast<uint8_t>(inst.Address + 1);
        QByteArray bytes = Wire::AnswerParcel(from, answer.Data);
        if (every(Cfg.Faults.BadCrcEvery)) {
            const qsizetype at = bytes.size() - 1 - Wire::CheckWordLength;
            uint16_t crc = 0;
            Wire::ParseCheckWord(bytes.constData() + at, crc);
            Wire::FormatCheckWord(static_cast<uint16_t>(crc ^ 0x5A5A), bytes.data() + at);
        }
        if (Cfg.Faults.Noise)
            bytes.prepend(NoiseBytes());

        // Address and speed change once the answer has been composed: it still goes out as before.
        uint32_t speedAfter = 0;
        if (answer.NewAddress > 0)
            inst.Address = static_cast<uint8_t>(answer.NewAddress);
        if (answer.NewSpeed != 0) {
            inst.Speed = answer.NewSpeed;
            speedAfter = answer.NewSpeed;
        }
        if (every(Cfg.Faults.DropEvery)) {
            if (speedAfter != 0)
                outputs.push_back({t, QByteArray(), speedAfter, byteTime});
            continue;
        }
        if (Cfg.LineTiming)
            t += LineTime(bytes.size(), timingSpeed);
        outputs.push_back({t, std::move(bytes), speedAfter, byteTime});
    }
    return outputs;
}

void TBus::Execute(TInstrument& inst, int command, const QList<QByteArray>& fields, TAnswer& answer) {
    static const QByteArray refused = QByteArrayLiteral("$1");
    if (command == 37 || command == 38) {
        ++ReadsWrites;
        if (Cfg.Faults.Dollar1Every != 0 && ReadsWrites % Cfg.Faults.Dollar1Every == 0) {
            answer.Data = refused;
            return;
        }
    }
    switch (command) {
    case 0:
        answer.Data = QByteArray::number(inst.TypeNum);
        return;
    case 1: {
        const auto channel = fields.isEmpty() ? std::nullopt : ParseDecimal(fields[0], 255);
        answer.Data = channel && *channel < inst.Channels ? ChannelValue(answer.Index, *channel) : refused;
        return;
    }
    case 37: {
        if (fields.isEmpty()) {
            answer.Data = refused;
            return;
        }
        Settle(inst);
        const auto it = inst.Memory.find(fields[0].toUpper());
        answer.Data = it == inst.Memory.end() ? refused : it->second;
        return;
    }
    case 38: {
        if (fields.size() < 2 || fields[0].isEmpty()) {
            answer.Data = refused;
            return;
        }
        const QByteArray loc = fields[0].toUpper();
        const QByteArray& value = fields[1];
        if (loc == Cfg.Faults.UnkeptLocation) {
            answer.Data = QByteArrayLiteral("$0");
            return;
        }
        Settle(inst);
        inst.Memory[loc] = value;
        if (loc == CalibLocation) {
            const QByteArray cmd = value.toUpper();
            inst.Calibrating = cmd == "01" || cmd == "10";
            if (inst.Calibrating)
                inst.CalibEnd = Now() + std::chrono::duration_cast<TClock::duration>(
                                            std::chrono::duration<double>(std::max(0.0, Cfg.CalibSeconds)));
        }
        if (!inst.NetAddressLocation.isEmpty() && loc == inst.NetAddressLocation) {
            const auto v = ParseHex(value);
            if (v && (*v & 0xFFu) != 0)
                answer.NewAddress = static_cast<int>(*v & 0xFFu);
        }
        if (!inst.SpeedLocation.isEmpty() && loc == inst.SpeedLocation) {
            const auto v = ParseHex(value);
            if (v && *v < static_cast<uint32_t>(LineSpeedCount))
                answer.NewSpeed = LineSpeeds[*v];
        }
        answer.Data = QByteArrayLiteral("$0");
        return;
    }
    default:
        answer.Data = refused;
        return;
    }
}

QByteArray TBus::ChannelValue(size_t index, int channel) {
    // A slow sine around a per-channel level, with a little noise, like a live process.
    const double t = std::chrono::duration<double>(Now() - Start).count();
    const double phase = static_cast<double>(index) * 0.7 + channel * std::numbers::pi / 2;
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    const double v =
        20.0 + 10.0 * channel + 5.0 * std::sin(2 * std::numbers::pi * t / 60.0 + phase) + noise(Random);
    return QByteArray::number(v, 'f', 3);
}

QByteArray TBus::NoiseBytes() {
    static const char alphabet[] = "\x00\xFF~#@?*xZ\n\x7F\x80 ";
    std::uniform_int_distribution<int> length(3, 12);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof alphabet) - 2);
    QByteArray out;
    const int n = length(Random);
    for (int i = 0; i < n; ++i)
        out += alphabet[pick(Random)];
    return out;
}

} // namespace Sim
