#pragma once
// The exchange library loaded the way the program loads it: by path, functions resolved by name.
// A private copy in a temporary directory gets its own kvcom.ini and its own demo bus.
#include "kvcom/kvcom.h"
#include "sim/TestSupport.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <stdlib.h>

namespace TestSupport {

struct TKvLib {
    void* Module = nullptr;
    decltype(&KV_CreateCOM) CreateCOM = nullptr;
    decltype(&KV_FreeCOM) FreeCOM = nullptr;
    decltype(&KV_OpenCOM) OpenCOM = nullptr;
    decltype(&KV_CloseCOM) CloseCOM = nullptr;
    decltype(&KV_SetBaudRate) SetBaudRate = nullptr;
    decltype(&KV_SetTimeout) SetTimeout = nullptr;
    decltype(&KV_ASCIICRCWord) ASCIICRCWord = nullptr;
    decltype(&KV_TransmitParcel) TransmitParcel = nullptr;
    decltype(&KV_ReceiveParcel) ReceiveParcel = nullptr;
    decltype(&KV_AnalysisAnswerParcel) AnalysisAnswerParcel = nullptr;
    decltype(&KV_SearchAvailableCOMPorts) SearchAvailableCOMPorts = nullptr;

    // Kept loaded for the life of the test process, as the program keeps it.
    bool Load(const QString& path) {
        Module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!Module)
            return false;
        auto get = [this](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(Module, name));
            return fn != nullptr;
        };
        return get(CreateCOM, "KV_CreateCOM") && get(FreeCOM, "KV_FreeCOM") && get(OpenCOM, "KV_OpenCOM") &&
               get(CloseCOM, "KV_CloseCOM") && get(SetBaudRate, "KV_SetBaudRate") &&
               get(SetTimeout, "KV_SetTimeout") && get(ASCIICRCWord, "KV_ASCIICRCWord") &&
               get(TransmitParcel, "KV_TransmitParcel") && get(ReceiveParcel, "KV_ReceiveParcel") &&
               get(AnalysisAnswerParcel, "KV_AnalysisAnswerParcel") &&
               get(SearchAvailableCOMPorts, "KV_SearchAvailableCOMPorts");
    }

    // Request text -> parcel with check word and CR, sent on an open handle.
    int32_t Send(int32_t h, const QByteArray& text) {
        char word[KV_BUFFER_SIZE] = {};
        const int32_t rc = ASCIICRCWord(text.constData(), word);
        if (rc != KV_OK)
            return rc;
        return TransmitParcel(h, (text + word + '\r').constData());
    }
    // One transaction: the answering address and data text, or the first failing code.
    int32_t Ask(int32_t h, const QByteArray& text, QByteArray* data, int* from = nullptr) {
        int32_t rc = Send(h, text);
        if (rc != KV_OK)
            return rc;
        char answer[KV_BUFFER_SIZE] = {};
        if ((rc = ReceiveParcel(h, answer)) != KV_OK)
            return rc;
        char payload[KV_BUFFER_SIZE] = {};
        uint8_t address = 0;
        if ((rc = AnalysisAnswerParcel(answer, &address, payload)) != KV_OK)
            return rc;
        if (data)
            *data = payload;
        if (from)
            *from = address;
        return KV_OK;
    }
    // A handle opened on a port at a speed and time-out; 0 on failure (rc holds the code).
    int32_t Open(const QString& port, uint16_t baud = 9600, uint16_t timeoutMs = 500, int32_t* rc = nullptr) {
        int32_t h = CreateCOM();
        int32_t r = OpenCOM(h, QFile::encodeName(port).constData());
        if (r == KV_OK)
            r = SetBaudRate(h, baud);
        if (r == KV_OK)
            r = SetTimeout(h, timeoutMs);
        if (rc)
            *rc = r;
        if (r != KV_OK) {
            CloseCOM(h);
            FreeCOM(&h);
            return 0;
        }
        return h;
    }
    void Close(int32_t h) {
        CloseCOM(h);
        FreeCOM(&h);
    }
};

// The library as built into the program directory, with the shipped kvcom.ini.
inline TKvLib& ShippedLib() {
    static TKvLib lib = [] {
        TKvLib l;
        l.Load(QStringLiteral(KESTRIN_PROGDIR "libkvcom.so"));
        return l;
    }();
    return lib;
}

// A private copy of the library beside its own kvcom.ini (given as lines, written in Windows-1251).
class TLibCopy {
public:
    explicit TLibCopy(const QStringList& ini) {
        QFile::copy(QStringLiteral(KESTRIN_PROGDIR "libkvcom.so"), Dir.path() + "/libkvcom.so");
        WriteCp1251(Dir.path() + "/kvcom.ini", ini);
        Loaded = Lib.Load(Dir.path() + "/libkvcom.so");
    }
    bool Loaded = false;
    TKvLib Lib;

private:
    QTemporaryDir Dir;
};

// A pseudo-terminal whose master side the test drives: the library opens Slave.
class TPtyPair {
public:
    TPtyPair() {
        Master = posix_openpt(O_RDWR | O_NOCTTY);
        if (Master >= 0 && grantpt(Master) == 0 && unlockpt(Master) == 0)
            Slave = QString::fromLocal8Bit(ptsname(Master));
    }
    ~TPtyPair() { CloseMaster(); }
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    void Write(const QByteArray& bytes) const {
        const ssize_t n = ::write(Master, bytes.constData(), static_cast<size_t>(bytes.size()));
        (void)n;
    }
    // What the client sent, up to `crs` CRs or the time-out.
    QByteArray Read(int crs, int timeoutMs) const {
        QByteArray got;
        const auto start = TClock::now();
        while (got.count('\r') < crs) {
            const int left = timeoutMs - static_cast<int>(MsSince(start));
            if (left <= 0 || !WaitReadable(Master, left))
                break;
            char buf[512];
            const ssize_t n = ::read(Master, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, n);
        }
        return got;
    }
    void CloseMaster() {
        if (Master >= 0)
            ::close(Master);
        Master = -1;
    }
    int Master = -1;
    QString Slave;
};

} // namespace TestSupport
