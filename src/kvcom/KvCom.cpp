// The exchange library's C interface: a thread-safe table of handles, each with at most one open line.
#include "kvcom/kvcom.h"

#include "common/Cp1251.h"
#include "common/NetAddress.h"
#include "kvcom/KvConfig.h"
#include "kvcom/KvDemo.h"
#include "kvcom/KvNet.h"
#include "kvcom/KvPortNames.h"
#include "kvcom/KvSerial.h"
#include "sim/Line.h"
#include "sim/Wire.h"

#include <QFile>
#include <QSerialPortInfo>
#include <QSet>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace {

constexpr uint16_t DefaultTimeoutMs = 1000;
constexpr uint32_t DefaultBaud = 9600;
const QString DemoPortName = QStringLiteral("SIM1");

struct THandle {
    std::mutex Mutex; // one operation at a time per handle; other handles run in parallel
    std::unique_ptr<Kv::TPort> Port;
    uint32_t Baud = DefaultBaud;
    uint16_t TimeoutMs = DefaultTimeoutMs;
};

class THandleTable {
public:
    int32_t Create() {
        std::lock_guard<std::mutex> lock(Mutex);
        while (Next <= 0 || Handles.count(Next) != 0)
            Next = Next <= 0 ? 1 : Next + 1;
        const int32_t id = Next++;
        Handles.emplace(id, std::make_shared<THandle>());
        return id;
    }
    std::shared_ptr<THandle> Find(int32_t id) {
        std::lock_guard<std::mutex> lock(Mutex);
        const auto it = Handles.find(id);
        return it == Handles.end() ? nullptr : it->second;
    }
    std::shared_ptr<THandle> Remove(int32_t id) {
        std::lock_guard<std::mutex> lock(Mutex);
        const auto it = Handles.find(id);
        if (it == Handles.end())
            return nullptr;
        std::shared_ptr<THandle> h = std::move(it->second);
        Handles.erase(it);
        return h;
    }

private:
    std::mutex Mutex;
    std::map<int32_t, std::shared_ptr<THandle>> Handles;
    int32_t Next = 1;
};

THandleTable& Table() {
    static THandleTable table;
    return table;
}

// Length of a zero-terminated text, or KV_BUFFER_SIZE when it does not fit a caller's buffer;
// never reads past that.
size_t BoundedLength(const char* text) {
    return strnlen(text, KV_BUFFER_SIZE);
}

const char* LastOf(const char* text, size_t size, char c) {
    for (size_t i = size; i > 0; --i)
        if (text[i - 1] == c)
            return text + i - 1;
    return nullptr;
}

// The address a port name stands for: an address given as the name, or a [Net] entry's. Nothing
// for a serial port; a code when the name is meant as a network port that cannot be used.
std::optional<NetAddress::TAddress> NetPortOf(const QString& name, int32_t& rc) {
    rc = KV_OK;
    if (NetAddress::LooksLikeAddress(name)) {
        QString why;
        auto address = NetAddress::Parse(name, &why);
        if (!address) {
            Kv::ReportOnce(QStringLiteral("%1: %2").arg(name, why));
            rc = KV_ERR_NO_PORT;
        }
        return address;
    }
    // A system device of that name wins; paths are never network names.
    if (name.startsWith(QLatin1Char('/')) || Kv::SystemHasName(name))
        return std::nullopt;
    const Kv::TLibConfig cfg = Kv::ReadConfig();
    for (const auto& [key, address] : cfg.Net) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QString problem = Kv::NetPortProblem(key, address);
        if (!problem.isEmpty()) {
            Kv::ReportOnce(QStringLiteral("kvcom.ini [Net] %1: %2").arg(key, problem));
            rc = KV_ERR_NO_PORT;
            return std::nullopt;
        }
        return NetAddress::Parse(address);
    }
    return std::nullopt;
}

} // namespace

extern "C" {

int32_t KV_CreateCOM(void) {
    return Table().Create();
}

int32_t KV_FreeCOM(int32_t* handle) {
    if (handle == nullptr)
        return KV_ERR_HANDLE;
    const std::shared_ptr<THandle> h = Table().Remove(*handle);
    if (!h)
        return KV_ERR_HANDLE;
    {
        std::lock_guard<std::mutex> lock(h->Mutex);
        h->Port.reset();
    }
    *handle = 0;
    return KV_OK;
}

int32_t KV_OpenCOM(int32_t handle, const char* portName) {
    const std::shared_ptr<THandle> h = Table().Find(handle);
    if (!h)
        return KV_ERR_HANDLE;
    if (portName == nullptr)
        return KV_ERR_BUFFER;
    std::lock_guard<std::mutex> lock(h->Mutex);
    h->Port.reset();
    if (portName[0] == '\0')
        return KV_ERR_NO_PORT;
    const QString name = Cp1251::Decode(portName, static_cast<qsizetype>(std::strlen(portName)));
    if (name.compare(DemoPortName, Qt::CaseInsensitive) == 0) {
        const Kv::TLibConfig cfg = Kv::ReadConfig();
        if (!cfg.Demo)
            return KV_ERR_NO_PORT;
        h->Port = std::make_unique<Kv::TDemoPort>(Kv::DemoBus(cfg), h->Baud);
        return KV_OK;
    }
    int32_t netRc = KV_OK;
    if (auto address = NetPortOf(name, netRc)) {
        auto port = std::make_unique<Kv::TNetPort>(std::move(*address));
        const int32_t rc = port->Open(h->Baud);
        if (rc != KV_OK)
            return rc;
        h->Port = std::move(port);
        return KV_OK;
    }
    if (netRc != KV_OK)
        return netRc;
    // Short names are the system's devices; absolute paths (pseudo-terminals, links) stand as given.
    const QString path = name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    auto port = std::make_unique<Kv::TSerialPort>();
    const int32_t rc = port->Open(QFile::encodeName(path), h->Baud);
    if (rc != KV_OK)
        return rc;
    h->Port = std::move(port);
    return KV_OK;
}

int32_t KV_CloseCOM(int32_t handle) {
    const std::shared_ptr<THandle> h = Table().Find(handle);
    if (!h)
        return KV_ERR_HANDLE;
    std::lock_guard<std::mutex> lock(h->Mutex);
    if (!h->Port)
        return KV_ERR_NOT_OPEN;
    h->Port.reset();
    return KV_OK;
}

int32_t KV_SetBaudRate(int32_t handle, uint16_t baudRate) {
    const std::shared_ptr<THandle> h = Table().Find(handle);
    if (!h)
        return KV_ERR_HANDLE;
    if (Line::SpeedConstant(baudRate) == 0)
        return KV_ERR_SPEED;
    std::lock_guard<std::mutex> lock(h->Mutex);
    if (h->Port) {
        const int32_t rc = h->Port->SetSpeed(baudRate);
        if (rc != KV_OK)
            return rc;
    }
    h->Baud = baudRate; // also the speed a later open starts with
    return KV_OK;
}

int32_t KV_SetTimeout(int32_t handle, uint16_t timeoutMs) {
    const std::shared_ptr<THandle> h = Table().Find(handle);
    if (!h)
        return KV_ERR_HANDLE;
    if (timeoutMs == 0)
        return KV_ERR_TIMEOUT_ARG;
    std::lock_guard<std::mutex> lock(h->Mutex);
    h->TimeoutMs = timeoutMs;
    return KV_OK;
}

int32_t KV_ASCIICRCWord(const char* request, char* checkWord) {
    if (request == nullptr || checkWord == nullptr)
        return KV_ERR_BUFFER;
    const size_t n = BoundedLength(request);
    if (n >= KV_BUFFER_SIZE)
        return KV_ERR_BUFFER;
    const auto* colon = static_cast<const char*>(std::memchr(request, ':', n));
    const char* last = LastOf(request, n, ';');
    if (colon == nullptr || last == nullptr || last < colon)
        return KV_ERR_MALFORMED;
    Wire::FormatCheckWord(Wire::Crc16Modbus(colon, static_cast<size_t>(last - colon + 1)), checkWord);
    checkWord[Wire::CheckWordLength] = '\0';
    return KV_OK;
}

int32_t KV_TransmitParcel(int32_t handle, const char* parcel) {
    const std::shared_ptr<THandle> h = Table().Find(handle);
    if (!h)
        return KV_ERR_HANDLE;
    if (parcel == nullptr)
        return KV_ERR_BUFFER;
    const size_t n = BoundedLength(parcel);
    if (n >= KV_BUFFER_SIZE)
        return KV_ERR_BUFFER;
    std::lock_guard<std::mutex> lock(h->Mutex);
    if (!h->Port)
        return KV_ERR_NOT_OPEN;
    return h->Port->Transmit(parcel, n);
}

int32_t KV_ReceiveParcel(int32_t handle, char* answer) {
    const std::shared_ptr<THandle> h = Table().Find(handle);
    if (!h)
        return KV_ERR_HANDLE;
    if (answer == nullptr)
        return KV_ERR_BUFFER;
    answer[0] = '\0';
    std::lock_guard<std::mutex> lock(h->Mutex);
    if (!h->Port)
        return KV_ERR_NOT_OPEN;
    const int32_t rc = h->Port->Receive(answer, h->TimeoutMs);
    if (rc != KV_OK)
        answer[0] = '\0';
    return rc;
}

int32_t KV_AnalysisAnswerParcel(const char* answer, uint8_t* address, char* data) {
    if (answer == nullptr || address == nullptr || data == nullptr)
        return KV_ERR_BUFFER;
    data[0] = '\0';
    size_t n = BoundedLength(answer);
    if (n >= KV_BUFFER_SIZE)
        return KV_ERR_BUFFER;
    if (n > 0 && answer[n - 1] == Wire::Cr)
        --n; // the terminator is not part of the parcel
    if (n == 0 || answer[0] != '!')
        return KV_ERR_MALFORMED;
    const auto* first = static_cast<const char*>(std::memchr(answer, ';', n));
    const char* last = LastOf(answer, n, ';');
    if (first == nullptr || last == first)
        return KV_ERR_MALFORMED;
    if (answer + n - (last + 1) != Wire::CheckWordLength)
        return KV_ERR_MALFORMED;
    uint16_t sent = 0;
    if (!Wire::ParseCheckWord(last + 1, sent))
        return KV_ERR_MALFORMED;
    const size_t digits = static_cast<size_t>(first - answer - 1);
    if (digits < 1 || digits > 3)
        return KV_ERR_MALFORMED;
    unsigned value = 0;
    for (size_t i = 1; i <= digits; ++i) {
        if (answer[i] < '0' || answer[i] > '9')
            return KV_ERR_MALFORMED;
        value = value * 10 + static_cast<unsigned>(answer[i] - '0');
    }
    if (value > 255)
        return KV_ERR_MALFORMED;
    if (Wire::Crc16Modbus(answer, static_cast<size_t>(last - answer + 1)) != sent)
        return KV_ERR_CHECKWORD;
    const size_t length = static_cast<size_t>(last - first - 1);
    std::memcpy(data, first + 1, length);
    data[length] = '\0';
    *address = static_cast<uint8_t>(value);
    return KV_OK;
}

int32_t KV_SearchAvailableCOMPorts(int32_t handle, int32_t reserved, void* window, char* ports) {
    (void)reserved; // always 0; the window is not needed to find ports
    (void)window;
    if (ports == nullptr)
        return KV_ERR_BUFFER;
    ports[0] = '\0';
    if (!Table().Find(handle))
        return KV_ERR_HANDLE;

    const Kv::TLibConfig cfg = Kv::ReadConfig();
    // Asked of the system at every call: adapters come and go while the program runs.
    QStringList system;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        system.append(info.portName());
    QStringList names = Kv::WithStableNames(system, cfg.Links);
    names += cfg.Extra;
    // Device servers by the names kvcom.ini gives them; an entry that cannot be used is left out
    // and the reason said once on stderr (kestrin-cli ports shows it).
    for (const auto& [name, address] : cfg.Net) {
        const QString problem = Kv::NetPortProblem(name, address);
        if (problem.isEmpty())
            names.append(name);
        else
            Kv::ReportOnce(QStringLiteral("kvcom.ini [Net] %1: %2").arg(name, problem));
    }
    if (cfg.Demo)
        names.append(DemoPortName);

    size_t used = 0;
    QSet<QString> seen;
    for (const QString& name : std::as_const(names)) {
        // A name the list cannot carry whole is left out rather than cut.
        if (name.isEmpty() || name.contains(QLatin1Char(';')) || seen.contains(name))
            continue;
        bool encodable = true;
        for (QChar c : name)
            encodable = encodable && Cp1251::CodeOf(c.unicode()) > 0;
        if (!encodable)
            continue;
        const QByteArray bytes = Cp1251::Encode(name);
        const size_t size = static_cast<size_t>(bytes.size());
        if (used + size + 1 > KV_PORTS_BUFFER_SIZE - 1)
            continue;
        std::memcpy(ports + used, bytes.constData(), size);
        used += size;
        ports[used++] = ';';
        seen.insert(name);
    }
    ports[used] = '\0';
    return KV_OK;
}

} // extern "C"
