#pragma once
// The link of one exchange run and the single-parameter read and write built on it.
#include "exchange/Exchange.h"

#include "model/Model.h"

#include <QString>
#include <cstdint>
#include <functional>

// Opens a link: create a handle, open the port, set speed and time-out (its low 16 bits). The
// first nonzero library code is the result; the handle must be closed with CloseDevLink either way.
int OpenLink(const TKvApi& api, const QString& portName, uint16_t baudRate, int32_t timeOut,
             ExchangeHandle& handle);
// Same with the port and speed of a device record and the time-out of its device type.
int OpenDevLink(const TKvApi& api, const TDev& dev, const TDevProp& devType, ExchangeHandle& handle);
// Closes the port (result ignored) and frees the handle; the handle is empty afterwards, so a
// second call does nothing.
void CloseDevLink(ExchangeHandle& handle);

// Library codes after which the port itself is gone or unusable (an unplugged USB adapter, a
// closed pseudo-terminal, a port a failed reopen left closed): trying again on the same descriptor
// can never succeed.
bool PortLost(int code);

// Opens the port of a link again on the same handle, with the device record's port and speed and
// its type's time-out: a USB adapter plugged back in is a new device. The first nonzero library
// code is the result.
int ReopenDevLink(const TDev& dev, const TDevProp& devType, ExchangeHandle& handle);

// The attempts of a run on its link: once the port was lost, it is opened again before the next
// attempt, so that answering "Повторить?" after plugging the adapter back goes on with the run. A
// reopen that fails is that attempt's result, and the next attempt tries again.
class TLinkRecovery {
public:
    TLinkRecovery(const TDev& dev, const TDevProp& devType, ExchangeHandle& handle)
        : Dev(dev), DevType(devType), Handle(handle) {}
    int Attempt(const std::function<int()>& exchange);

private:
    const TDev& Dev;
    const TDevProp& DevType;
    ExchangeHandle& Handle;
    bool Lost = false;
};

// Closes a link when the run that opened it leaves, on every path.
class TDevLinkCloser {
public:
    explicit TDevLinkCloser(ExchangeHandle& handle) : Handle(handle) {}
    ~TDevLinkCloser() { CloseDevLink(Handle); }
    TDevLinkCloser(const TDevLinkCloser&) = delete;
    TDevLinkCloser& operator=(const TDevLinkCloser&) = delete;

private:
    ExchangeHandle& Handle;
};

// Reads one parameter into valueText, which keeps its text on every failure and on a "$0" answer.
// The request goes to dev.Address as it is at the call.
int ReadParam(const TDev& dev, const ExchangeHandle& handle, uint16_t paramAddress, QString& valueText,
              uint8_t code);

// Writes one parameter; nothing is sent when the value text cannot be encoded.
int WriteParam(const TDev& dev, const ExchangeHandle& handle, uint16_t paramAddress, uint8_t special,
               const QString& valueText, uint8_t code);
