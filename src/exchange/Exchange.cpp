#include "exchange/Exchange.h"

#include "common/Cp1251.h"
#include "common/Numbers.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstring>

namespace {
using TTextBuffer = std::array<char, KV_BUFFER_SIZE>;

QString BufferText(const char* buffer, size_t size) {
    return Cp1251::Decode(buffer, static_cast<qsizetype>(strnlen(buffer, size)));
}

// Check word and transmit: the first half of every transaction, and all of a broadcast's sending.
int SendRequest(const ExchangeHandle& handle, const QString& request) {
    if (!handle.Api)
        return KV_ERR_HANDLE;
    const QByteArray requestBytes = Cp1251::Encode(request);
    if (requestBytes.size() >= KV_BUFFER_SIZE)
        return ExFailed;
    TTextBuffer requestText{};
    std::memcpy(requestText.data(), requestBytes.constData(), static_cast<size_t>(requestBytes.size()));
    TTextBuffer checkWord{};
    const int rc = handle.Api->ASCIICRCWord(requestText.data(), checkWord.data());
    if (rc != 0)
        return rc;
    QByteArray parcel = requestBytes;
    parcel.append(checkWord.data(), static_cast<qsizetype>(strnlen(checkWord.data(), checkWord.size())));
    parcel.append('\r');
    return handle.Api->TransmitParcel(handle.Handle, parcel.constData());
}

// One received answer split into address and data text. receiveCode is the receive's result; the
// analysis result is returned.
int ReceiveAnswer(const ExchangeHandle& handle, int& receiveCode, uint8_t& address, QString& data) {
    TTextBuffer answer{};
    receiveCode = handle.Api->ReceiveParcel(handle.Handle, answer.data());
    if (receiveCode != 0)
        return receiveCode;
    answer.back() = '\0';
    TTextBuffer dataText{};
    uint8_t from = 0;
    const int rc = handle.Api->AnalysisAnswerParcel(answer.data(), &from, dataText.data());
    address = from;
    data = BufferText(dataText.data(), dataText.size());
    return rc;
}

QString AddressText(uint8_t address) {
    return QString::number(address);
}
} // namespace

QString HexAddress(uint16_t address) {
    return QString::number(address, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString IdentifyRequest(uint8_t address) {
    return QLatin1Char(':') + AddressText(address) + QStringLiteral(";0;");
}

QString VersionRequest(uint8_t address) {
    return QLatin1Char(':') + AddressText(address) + QStringLiteral(";37;0001FF;");
}

std::optional<QString> ReadRequest(uint8_t address, uint16_t paramAddress, uint8_t code) {
    const QString head = QLatin1Char(':') + AddressText(address) + QLatin1Char(';');
    if (code <= 4)
        return head + QStringLiteral("37;0001") + HexAddress(paramAddress) + QLatin1Char(';');
    if (code == 5) // channels are counted from 0 on the wire, from 1 in the descriptions
        return head + QStringLiteral("1;") + QString::number(int(paramAddress) - 1) + QLatin1Char(';');
    if (code == 6)
        return head + QStringLiteral("37;001000;");
    return std::nullopt;
}

QString WriteRequest(uint8_t address, const QString& location, const QString& value) {
    return QLatin1Char(':') + AddressText(address) + QStringLiteral(";38;") + location + QLatin1Char(';') +
           value + QLatin1Char(';');
}

int ExchangeParcel(const ExchangeHandle& handle, const QString& request, uint8_t& address, QString& data,
                   bool* noAnswer) {
    if (noAnswer)
        *noAnswer = false;
    int rc = SendRequest(handle, request);
    if (rc != 0)
        return rc;
    int receiveCode = 0;
    rc = ReceiveAnswer(handle, receiveCode, address, data);
    if (receiveCode != 0 && noAnswer)
        *noAnswer = true;
    return rc;
}

int DevCheck(const ExchangeHandle& handle, uint8_t address, uint8_t typeNum, bool& linked) {
    linked = false;
    uint8_t from = 0;
    QString data;
    bool noAnswer = false;
    const int rc = ExchangeParcel(handle, IdentifyRequest(address), from, data, &noAnswer);
    if (rc != 0)
        return noAnswer ? ExOk : rc;
    linked = from == address && data == QString::number(typeNum);
    return ExOk;
}

int DevGetVersion(const ExchangeHandle& handle, uint8_t address, uint8_t typeNum, int maxLength, bool& linked,
                  QString& version) {
    int rc = DevCheck(handle, address, typeNum, linked);
    if (rc != 0 || !linked)
        return rc;
    uint8_t from = 0;
    QString data;
    bool noAnswer = false;
    rc = ExchangeParcel(handle, VersionRequest(address), from, data, &noAnswer);
    if (rc != 0)
        return noAnswer ? ExOk : rc;
    if (from == address)
        version = data.left(std::max(0, maxLength));
    return ExOk;
}

int DevSearch(const ExchangeHandle& handle, uint8_t typeNum, QStringList& found,
              const TSearchBounds& bounds) {
    const int rc = SendRequest(handle, IdentifyRequest(0));
    if (rc != 0)
        return rc;
    const QString typeText = QString::number(typeNum);
    const auto deadline = std::chrono::steady_clock::now() + bounds.MaxTime;
    for (int answers = 0; answers < bounds.MaxAnswers && std::chrono::steady_clock::now() < deadline;
         ++answers) {
        int receiveCode = 0;
        uint8_t from = 0;
        QString data;
        ReceiveAnswer(handle, receiveCode, from, data); // a failed analysis is still judged by its data
        if (receiveCode != 0)
            break;
        if (data == typeText)
            found.append(QString::number(from));
    }
    return ExOk;
}

std::optional<int> JudgeReadCode(const QString& data) {
    const qsizetype dollar = data.indexOf(QLatin1Char('$'));
    if (dollar < 0)
        return std::nullopt;
    const std::optional<int32_t> code = Numbers::ParseInt(QStringView(data).mid(dollar + 1));
    if (!code)
        return ExBadReplyCode;
    switch (static_cast<uint32_t>(*code) & 0xFFFFu) {
    case 0:
        return ExOk;
    case 1:
        return ExDeviceError;
    default:
        return ExFailed;
    }
}

int JudgeWriteAnswer(const QString& data) {
    if (data.size() < 2 || data[0] != QLatin1Char('$'))
        return ExFailed;
    if (data[1] == QLatin1Char('0'))
        return ExOk;
    if (data[1] == QLatin1Char('1'))
        return ExDeviceError;
    return ExFailed;
}
