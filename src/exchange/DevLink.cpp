#include "exchange/DevLink.h"

#include "common/Cp1251.h"
#include "exchange/Encodings.h"

namespace {
// What a read or write is for: the parameter the caller names, else a channel, the calibration
// control location, or the location itself. Built only for a tap.
QString ParcelPurpose(const ExchangeHandle& handle, uint8_t code, uint16_t paramAddress, bool write) {
    if (!ActiveTap(handle))
        return QString();
    if (!handle.Purpose.isEmpty())
        return handle.Purpose;
    if (code == 5 && !write)
        return QStringLiteral("канал ") + QString::number(paramAddress);
    if ((code == 6 && !write) || (code == 10 && write))
        return QStringLiteral("калибровка");
    return (write ? QStringLiteral("запись ") : QStringLiteral("чтение ")) + HexAddress(paramAddress);
}
} // namespace

namespace {
// Port, speed and time-out on a created handle.
int OpenPort(const TKvApi& api, int32_t handle, const QString& portName, uint16_t baudRate, int32_t timeOut) {
    // The whole name goes to the library: device paths are longer than the old 7-character limit.
    const QByteArray port = Cp1251::Encode(portName);
    int rc = api.OpenCOM(handle, port.constData());
    if (rc != 0)
        return rc;
    rc = api.SetBaudRate(handle, baudRate);
    if (rc != 0)
        return rc;
    return api.SetTimeout(handle, static_cast<uint16_t>(timeOut));
}
} // namespace

int OpenLink(const TKvApi& api, const QString& portName, uint16_t baudRate, int32_t timeOut,
             ExchangeHandle& handle) {
    handle.Api = &api;
    handle.Handle = api.CreateCOM();
    handle.Port = portName;
    return OpenPort(api, handle.Handle, portName, baudRate, timeOut);
}

int OpenDevLink(const TKvApi& api, const TDev& dev, const TDevProp& devType, ExchangeHandle& handle) {
    return OpenLink(api, dev.COMPort, dev.BaudRate, devType.TimeOut, handle);
}

bool PortLost(int code) {
    return code == KV_ERR_LINE_LOST || code == KV_ERR_NOT_OPEN || code == KV_ERR_WRITE;
}

int ReopenDevLink(const TDev& dev, const TDevProp& devType, ExchangeHandle& handle) {
    if (!handle.Api)
        return KV_ERR_HANDLE;
    handle.Api->CloseCOM(handle.Handle); // the dead descriptor goes first
    return OpenPort(*handle.Api, handle.Handle, dev.COMPort, dev.BaudRate, devType.TimeOut);
}

int TLinkRecovery::Attempt(const std::function<int()>& exchange) {
    if (Lost) {
        const int rc = ReopenDevLink(Dev, DevType, Handle);
        if (rc != 0)
            return rc;
        Lost = false;
    }
    const int rc = exchange();
    Lost = PortLost(rc);
    return rc;
}

void CloseDevLink(ExchangeHandle& handle) {
    if (!handle.Api)
        return;
    handle.Api->CloseCOM(handle.Handle);
    handle.Api->FreeCOM(&handle.Handle);
    handle = ExchangeHandle();
}

int ReadParam(const TDev& dev, const ExchangeHandle& handle, uint16_t paramAddress, QString& valueText,
              uint8_t code) {
    const uint8_t address = dev.Address;
    const std::optional<QString> request = ReadRequest(address, paramAddress, code);
    if (!request)
        return ExFailed;
    uint8_t from = 0;
    QString data;
    TAnswerCapture capture(handle, ParcelPurpose(handle, code, paramAddress, false));
    const int rc = ExchangeParcel(handle, *request, from, data, nullptr, &capture);
    if (rc != 0)
        return rc;
    if (from != address)
        return capture.Report(ExWrongAddress);
    if (const std::optional<int> codeAnswer = JudgeReadCode(data))
        return capture.Report(*codeAnswer);
    const QString before = valueText;
    const int result = DecodeValue(code, data, valueText);
    return capture.Report(result, result == ExOk && valueText != before ? valueText : QString());
}

int WriteParam(const TDev& dev, const ExchangeHandle& handle, uint16_t paramAddress, uint8_t special,
               const QString& valueText, uint8_t code) {
    QString location;
    QString value;
    if (EncodeValue(code, paramAddress, special, valueText, location, value) != ExOk)
        return ExFailed;
    const uint8_t address = dev.Address;
    uint8_t from = 0;
    QString data;
    // The value written names both the request and its answer.
    TAnswerCapture capture(handle, ActiveTap(handle) ? ParcelPurpose(handle, code, paramAddress, true) +
                                                           QStringLiteral(" = ") + valueText
                                                     : QString());
    const int rc =
        ExchangeParcel(handle, WriteRequest(address, location, value), from, data, nullptr, &capture);
    if (rc != 0)
        return rc;
    if (from != address)
        return capture.Report(ExWrongAddress);
    return capture.Report(JudgeWriteAnswer(data));
}
