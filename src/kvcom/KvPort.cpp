#include "kvcom/KvPort.h"

#include <cstring>

namespace Kv {

TAnswerReader::TResult TAnswerReader::Feed(const char* data, size_t size, size_t& consumed) {
    consumed = 0;
    while (consumed < size) {
        const char c = data[consumed++];
        if (State != TState::Seeking || c == '!')
            ++InParcelBytes;
        switch (State) {
        case TState::Seeking:
            if (c == '!') {
                Buf[0] = c;
                Len = 1;
                State = TState::Collecting;
            }
            break;
        case TState::Collecting:
            if (c == '!') {
                // What came before was noise that happened to start like an answer.
                Buf[0] = c;
                Len = 1;
                break;
            }
            if (Len >= MaxParcel) {
                // No room for this byte, not even for a closing CR: the parcel is too long.
                State = c == '\r' ? TState::Seeking : TState::Draining;
                if (State == TState::Seeking) {
                    Len = 0;
                    return TResult::TooLong;
                }
                break;
            }
            Buf[Len++] = c;
            if (c == '\r') {
                Buf[Len] = '\0';
                State = TState::Seeking;
                return TResult::Complete;
            }
            break;
        case TState::Draining:
            if (c == '\r') {
                State = TState::Seeking;
                Len = 0;
                return TResult::TooLong;
            }
            break;
        }
    }
    return TResult::More;
}

std::optional<int32_t> FeedAnswer(TAnswerReader& reader, TAnswerDeadline& deadline, const char* data,
                                  size_t size, size_t& consumed, char* answer) {
    const size_t before = reader.ParcelBytes();
    const auto result = reader.Feed(data, size, consumed);
    if (result == TAnswerReader::TResult::Complete) {
        std::memcpy(answer, reader.Text(), reader.Size() + 1);
        return KV_OK;
    }
    if (result == TAnswerReader::TResult::TooLong)
        return KV_ERR_TOO_LONG;
    deadline.AnswerBytes(reader.ParcelBytes() - before);
    return std::nullopt;
}

std::optional<int32_t> FeedPending(TAnswerReader& reader, TAnswerDeadline& deadline, QByteArray& pending,
                                   char* answer) {
    size_t used = 0;
    const std::optional<int32_t> done =
        FeedAnswer(reader, deadline, pending.constData(), static_cast<size_t>(pending.size()), used, answer);
    pending.remove(0, static_cast<qsizetype>(used));
    return done;
}

} // namespace Kv
