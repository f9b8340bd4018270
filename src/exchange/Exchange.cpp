#include "exchange/Exchange.h"

#include "common/Cp1251.h"
#include "common/Numbers.h"

#include <QByteArray>
#include <QDateTime>
#include <algorithm>
#include <array>
#include <cstring>

namespace {
using TTextBuffer = std::array<char, KV_BUFFER_SIZE>;

const QString PurposeIdentify = QStringLiteral("идентификация");
const QString PurposeVersion = QStringLiteral("версия");
const QString PurposeSearch = QStringLiteral("поиск");

QString BufferText(const char* buffer, size_t size) {
    return Cp1251::Decode(buffer, static_cast<qsizetype>(strnlen(buffer, size)));
}

int64_t NowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// The address a request text goes to: the digits after its colon.
uint8_t RequestAddress(const QByteArray& request) {
    unsigned value = 0;
    for (qsizetype i = 1; i < request.size() && i < 5 && request[i] >= '0' && request[i] <= '9'; ++i)
        value = value * 10 + static_cast<unsigned>(request[i] - '0');
    return static_cast<uint8_t>(value);
}

// Check word and transmit: the first half of every transaction, and all of a broadcast's sending.
// The request is reported to the tap as it went out (or as far as it got) with its result.
int SendRequest(const ExchangeHandle& handle, const QString& request, const QString& purpose) {
    const QByteArray requestBytes = Cp1251::Encode(request);
    QByteArray parcel = requestBytes;
    ILineTap* const tap = ActiveTap(handle);
    const auto report = [&](int rc) {
        if (tap) {
            TLineEvent e;
            e.TimeMs = NowMs();
            e.Direction = TLineDirection::Request;
            e.Port = handle.Port;
            e.Address = RequestAddress(requestBytes);
            e.Bytes = parcel;
            e.Outcome = rc;
            e.Purpose = purpose;
            tap->Parcel(e);
        }
        return rc;
    };
    if (!handle.Api)
        return report(KV_ERR_HANDLE);
    if (requestBytes.size() >= KV_BUFFER_SIZE)
        return report(ExFailed);
    TTextBuffer requestText{};
    std::memcpy(requestText.data(), requestBytes.constData(), static_cast<size_t>(requestBytes.size()));
    TTextBuffer checkWord{};
    const int rc = handle.Api->ASCIICRCWord(requestText.data(), checkWord.data());
    if (rc != 0)
        return report(rc);
    parcel.append(checkWord.data(), static_cast<qsizetype>(strnlen(checkWord.data(), checkWord.size())));
    parcel.append('\r');
    return report(handle.Api->TransmitParcel(handle.Handle, parcel.constData()));
}

// One received answer split into address and data text. receiveCode is the receive's result; the
// analysis result is returned. With a tap, captured gets the answer as an event whose outcome is
// the library's result (the caller may judge it otherwise before reporting).
int ReceiveAnswer(const ExchangeHandle& handle, int& receiveCode, uint8_t& address, QString& data,
                  uint8_t addressed, TLineEvent* captured) {
    TTextBuffer answer{};
    receiveCode = handle.Api->ReceiveParcel(handle.Handle, answer.data());
    if (captured) {
        captured->TimeMs = NowMs();
        captured->Direction = TLineDirection::Answer;
        captured->Port = handle.Port;
        captured->Address = addressed;
        captured->Outcome = receiveCode;
        captured->Bytes.clear();
    }
    if (receiveCode != 0)
        return receiveCode;
    answer.back() = '\0';
    TTextBuffer dataText{};
    uint8_t from = 0;
    const int rc = handle.Api->AnalysisAnswerParcel(answer.data(), &from, dataText.data());
    address = from;
    data = BufferText(dataText.data(), dataText.size());
    if (captured) {
        captured->Bytes =
            QByteArray(answer.data(), static_cast<qsizetype>(strnlen(answer.data(), answer.size())));
        if (rc == 0)
            captured->Address = from;
        captured->Outcome = rc;
    }
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

TAnswerCapture::TAnswerCapture(const ExchangeHandle& handle, const QString& purpose)
    : Tap(ActiveTap(handle)), Handle(handle) {
    if (Tap)
        PurposeText = purpose;
}

TAnswerCapture::~TAnswerCapture() {
    if (Pending)
        Report(Event.Outcome);
}

int TAnswerCapture::Report(int outcome, const QString& value) {
    if (!Pending || !Tap)
        return outcome;
    Pending = false;
    Event.Outcome = outcome;
    Event.Purpose = value.isEmpty() ? PurposeText : PurposeText + QStringLiteral(" = ") + value;
    Tap->Parcel(Event);
    return outcome;
}

int ExchangeParcel(const ExchangeHandle& handle, const QString& request, uint8_t& address, QString& data,
                   bool* noAnswer, TAnswerCapture* capture) {
    if (noAnswer)
        *noAnswer = false;
    TAnswerCapture own(handle, handle.Purpose);
    TAnswerCapture& answer = capture ? *capture : own;
    int rc = SendRequest(handle, request, answer.PurposeText);
    if (rc != 0)
        return rc;
    int receiveCode = 0;
    answer.Pending = answer.Active();
    const uint8_t addressed = answer.Pending ? RequestAddress(request.toLatin1()) : 0;
    rc = ReceiveAnswer(handle, receiveCode, address, data, addressed,
                       answer.Pending ? &answer.Event : nullptr);
    if (receiveCode != 0 && noAnswer)
        *noAnswer = true;
    return rc;
}

int DevCheck(const ExchangeHandle& handle, uint8_t address, uint8_t typeNum, bool& linked) {
    linked = false;
    uint8_t from = 0;
    QString data;
    bool noAnswer = false;
    TAnswerCapture capture(handle, PurposeIdentify);
    const int rc = ExchangeParcel(handle, IdentifyRequest(address), from, data, &noAnswer, &capture);
    if (rc != 0)
        return noAnswer ? ExOk : rc;
    if (from != address) {
        capture.Report(ExWrongAddress);
        return ExOk;
    }
    linked = data == QString::number(typeNum);
    // The type the line answered with, when it is not the one expected, is the likely fault.
    if (!linked && capture.Active())
        capture.Report(ExOk, QStringLiteral("тип ") + data + QStringLiteral(", ожидался ") +
                                 QString::number(typeNum));
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
    TAnswerCapture capture(handle, PurposeVersion);
    rc = ExchangeParcel(handle, VersionRequest(address), from, data, &noAnswer, &capture);
    if (rc != 0)
        return noAnswer ? ExOk : rc;
    if (from != address) {
        capture.Report(ExWrongAddress);
        return ExOk;
    }
    version = data.left(std::max(0, maxLength));
    capture.Report(ExOk, version);
    return ExOk;
}

int DevSearch(const ExchangeHandle& handle, uint8_t typeNum, QStringList& found,
              const TSearchBounds& bounds) {
    ILineTap* const tap = ActiveTap(handle);
    const int rc = SendRequest(handle, IdentifyRequest(0), PurposeSearch);
    if (rc != 0)
        return rc;
    const QString typeText = QString::number(typeNum);
    const auto deadline = std::chrono::steady_clock::now() + bounds.MaxTime;
    for (int answers = 0; answers < bounds.MaxAnswers && std::chrono::steady_clock::now() < deadline;
         ++answers) {
        int receiveCode = 0;
        uint8_t from = 0;
        QString data;
        TLineEvent answer;
        // A failed analysis is still judged by its data.
        ReceiveAnswer(handle, receiveCode, from, data, 0, tap ? &answer : nullptr);
        if (tap) {
            answer.Purpose = data == typeText ? PurposeSearch + QStringLiteral(": найден") : PurposeSearch;
            tap->Parcel(answer);
        }
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
