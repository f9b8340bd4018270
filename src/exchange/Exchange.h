#pragma once
// Request parcels, the transaction under every exchange, the operations on the identification
// answer, and how read and write answers are judged.
#include "exchange/KvLibrary.h"
#include "exchange/LineTap.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <optional>

// Result codes of exchange operations; any other nonzero value is a library code passed on.
enum : int {
    ExOk = 0,
    ExFailed = -1,
    ExWrongAddress = -20,
    ExBadReplyCode = -21,
    ExDeviceError = -22,
};

// One library link: the library's functions and the handle they work on. The table is not owned.
// Tap (not owned) receives every parcel of the link; Port names the link in those events; Purpose
// names the parameter a read or write is for (see TLinePurpose).
struct ExchangeHandle {
    const TKvApi* Api = nullptr;
    int32_t Handle = 0;
    ILineTap* Tap = nullptr;
    QString Port{};
    QString Purpose{};
};

// The handle's tap when someone reads its events, else null.
inline ILineTap* ActiveTap(const ExchangeHandle& handle) {
    return handle.Tap && handle.Tap->Enabled() ? handle.Tap : nullptr;
}

// Names what the reads and writes on a handle are for while it lives (e.g. the parameter's name).
class TLinePurpose {
public:
    TLinePurpose(ExchangeHandle& handle, const QString& purpose) : Handle(handle), Before(handle.Purpose) {
        if (ActiveTap(handle))
            handle.Purpose = purpose;
    }
    ~TLinePurpose() { Handle.Purpose = Before; }
    TLinePurpose(const TLinePurpose&) = delete;
    TLinePurpose& operator=(const TLinePurpose&) = delete;

private:
    ExchangeHandle& Handle;
    QString Before;
};

// The answer of one transaction, reported to the handle's tap together with the verdict of the
// caller that judges it: by Report, or on destruction with the library's result.
class TAnswerCapture {
public:
    // purpose: what the parcel is for (request and answer).
    TAnswerCapture(const ExchangeHandle& handle, const QString& purpose);
    ~TAnswerCapture();
    TAnswerCapture(const TAnswerCapture&) = delete;
    TAnswerCapture& operator=(const TAnswerCapture&) = delete;

    bool Active() const { return Tap != nullptr; }
    const QString& Purpose() const { return PurposeText; }
    // Reports the answer (once) with its outcome; value, if not empty, follows the purpose after
    // " = ". Returns the outcome, so that a caller can return it at once.
    int Report(int outcome, const QString& value = QString());

private:
    friend int ExchangeParcel(const ExchangeHandle&, const QString&, uint8_t&, QString&, bool*,
                              TAnswerCapture*);
    ILineTap* Tap;
    const ExchangeHandle& Handle;
    QString PurposeText;
    bool Pending = false;
    TLineEvent Event;
};

// Parameter address as requests write it: upper-case hexadecimal, at least two digits.
QString HexAddress(uint16_t address);

// Request texts without check word and carriage return.
QString IdentifyRequest(uint8_t address);
QString VersionRequest(uint8_t address);
// Read request for an encoding code; nullopt when the code has none.
std::optional<QString> ReadRequest(uint8_t address, uint16_t paramAddress, uint8_t code);
QString WriteRequest(uint8_t address, const QString& location, const QString& value);

// One transaction: check word, transmit, receive, analyse. Library codes are returned unchanged.
// noAnswer (if given) tells whether the failure was the receive, which callers judge differently.
// Without a capture the answer goes to the handle's tap at once with the library's result.
int ExchangeParcel(const ExchangeHandle& handle, const QString& request, uint8_t& address, QString& data,
                   bool* noAnswer = nullptr, TAnswerCapture* capture = nullptr);

// Identification of one instrument: linked when it answered from that address with the type
// number in decimal. A silent line or a foreign answer is result 0, not linked.
int DevCheck(const ExchangeHandle& handle, uint8_t address, uint8_t typeNum, bool& linked);

// Identification, then the version text (cut to maxLength) when the instrument was found. The
// version text is left as it was when the second request gets no answer from that address.
int DevGetVersion(const ExchangeHandle& handle, uint8_t address, uint8_t typeNum, int maxLength, bool& linked,
                  QString& version);

// Bounds that end a search on a line that keeps answering (the search cannot be stopped by the
// user). 256 answers: one per address and one more. 30 s: answers of about 13 bytes from all 255
// addresses fit at 1200 baud and above, and a full RS-485 segment of 32 instruments fits even at
// 300 baud. A receive already started still runs to its time-out.
struct TSearchBounds {
    int MaxAnswers = 256;
    std::chrono::milliseconds MaxTime{30000};
};

// Broadcast identification; appends the address of every answer carrying the type number, in the
// order of arrival. Ends when a receive fails or a bound is reached; result 0 once the request went out.
int DevSearch(const ExchangeHandle& handle, uint8_t typeNum, QStringList& found,
              const TSearchBounds& bounds = TSearchBounds());

// Read answer: nullopt when the data text carries no "$" code (it is a payload), else the result.
std::optional<int> JudgeReadCode(const QString& data);
// Write answer: "$0" gives ExOk, "$1" ExDeviceError, anything else ExFailed.
int JudgeWriteAnswer(const QString& data);
