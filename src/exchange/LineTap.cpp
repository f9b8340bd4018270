#include "exchange/LineTap.h"

#include "exchange/CodeMeaning.h"

#include <QDateTime>
#include <QTime>

namespace {
// Bytes that show as themselves: printable ASCII and the Windows-1251 letters (А-я, Ё, ё).
bool Printable(unsigned char c) {
    return (c >= 0x20 && c <= 0x7E) || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}
} // namespace

QString EscapeParcelBytes(const QByteArray& bytes) {
    static const char Hex[] = "0123456789ABCDEF";
    QString text;
    text.reserve(bytes.size() + 8);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            text += QStringLiteral("\\\\");
        } else if (!Printable(c)) {
            text += QLatin1String("\\x");
            text += QLatin1Char(Hex[c >> 4]);
            text += QLatin1Char(Hex[c & 0xF]);
        } else if (c < 0x80) {
            text += QLatin1Char(static_cast<char>(c));
        } else if (c == 0xA8) {
            text += QChar(0x0401);
        } else if (c == 0xB8) {
            text += QChar(0x0451);
        } else {
            text += QChar(0x0410 + (c - 0xC0)); // А ... я are contiguous in both code pages
        }
    }
    return text;
}

QString OutcomeText(int outcome) {
    if (outcome == 0)
        return QStringLiteral("OK");
    const QString meaning = ResultCodeMeaning(outcome);
    return meaning.isEmpty() ? QString::number(outcome)
                             : QString::number(outcome) + QLatin1Char(' ') + meaning;
}

QString EventTimeText(int64_t timeMs) {
    return QDateTime::fromMSecsSinceEpoch(timeMs).time().toString(QStringLiteral("hh:mm:ss.zzz"));
}

QString FormatLineEvent(const TLineEvent& event) {
    const QChar tab = QLatin1Char('\t');
    return EventTimeText(event.TimeMs) + tab +
           (event.Direction == TLineDirection::Request ? QStringLiteral("→") : QStringLiteral("←")) + tab +
           event.Port + tab + QString::number(event.Address) + tab + EscapeParcelBytes(event.Bytes) + tab +
           OutcomeText(event.Outcome) + tab + event.Purpose;
}
