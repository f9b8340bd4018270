#include "exchange/DevLink.h"

#include "common/Cp1251.h"
#include "exchange/Encodings.h"

int OpenLink(const TKvApi& api, const QString& portName, uint16_t baudRate, int32_t timeOut,
             ExchangeHandle& handle) {
    handle.Api = &api;
    handle.Handle = api.CreateCOM();
    // The whole name goes to the library: device paths are longer than the old 7-character limit.
    const QByteArray port = Cp1251::Encode(portName);
    int rc = api.OpenCOM(handle.Handle, port.constData());
    if (rc != 0)
        return rc;
    rc = api.SetBaudRate(handle.Handle, baudRate);
    if (rc != 0)
        return rc;
    return api.SetTimeout(handle.Handle, static_cast<uint16_t>(timeOut));
}

int OpenDevLink(const TKvApi& api, const TDev& dev, const TDevProp& devType, ExchangeHandle& handle) {
    return OpenLink(api, dev.COMPort, dev.BaudRate, devType.TimeOut, handle);
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
    const int rc = ExchangeParcel(handle, *request, from, data);
    if (rc != 0)
        return rc;
    if (from != address)
        return ExWrongAddress;
    if (const std::optional<int> codeAnswer = JudgeReadCode(data))
        return *codeAnswer;
    return DecodeValue(code, data, valueText);
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
    const int rc = ExchangeParcel(handle, WriteRequest(address, location, value), from, data);
    if (rc != 0)
        return rc;
    if (from != address)
        return ExWrongAddress;
    return JudgeWriteAnswer(data);
}
