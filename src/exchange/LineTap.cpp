#include "exchange/LineTap.h"

#include "exchange/CodeMeaning.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>
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

QString PurposeText(const QString& purpose) {
    const auto shown = [](const char* text) { return QCoreApplication::translate("Exchange", text); };
    const qsizetype eq = purpose.indexOf(QLatin1String(" = "));
    const QString head = eq < 0 ? purpose : purpose.left(eq);
    QString value = eq < 0 ? QString() : purpose.mid(eq);
    static const QRegularExpression foreign(QStringLiteral("^ = тип (\\S+), ожидался (\\S+)$"));
    if (const auto m = foreign.match(value); m.hasMatch())
        value =
            QStringLiteral(" = ") +
            QCoreApplication::translate("Exchange", "тип %1, ожидался %2").arg(m.captured(1), m.captured(2));
    // The requests' own names, alone or with a location or channel; anything else is a parameter's.
    static const char* const named[] = {
        QT_TRANSLATE_NOOP("Exchange", "идентификация"), QT_TRANSLATE_NOOP("Exchange", "версия"),
        QT_TRANSLATE_NOOP("Exchange", "поиск"),         QT_TRANSLATE_NOOP("Exchange", "поиск: найден"),
        QT_TRANSLATE_NOOP("Exchange", "калибровка"),    QT_TRANSLATE_NOOP("Exchange", "адрес занят?")};
    for (const char* name : named)
        if (head == QString::fromUtf8(name))
            return shown(name) + value;
    static const char* const numbered[] = {QT_TRANSLATE_NOOP("Exchange", "канал %1"),
                                           QT_TRANSLATE_NOOP("Exchange", "чтение %1"),
                                           QT_TRANSLATE_NOOP("Exchange", "запись %1")};
    for (const char* form : numbered) {
        const QString prefix = QString::fromUtf8(form).chopped(2); // "канал "
        if (head.startsWith(prefix) && head.size() > prefix.size() &&
            !head.mid(prefix.size()).contains(QLatin1Char(' ')))
            return shown(form).arg(head.mid(prefix.size())) + value;
    }
    return head + value;
}

QString EventTimeText(int64_t timeMs) {
    return QDateTime::fromMSecsSinceEpoch(timeMs).time().toString(QStringLiteral("hh:mm:ss.zzz"));
}

QString FormatLineEvent(const TLineEvent& event) {
    const QChar tab = QLatin1Char('\t');
    return EventTimeText(event.TimeMs) + tab +
           (event.Direction == TLineDirection::Request ? QStringLiteral("→") : QStringLiteral("←")) + tab +
           event.Port + tab + QString::number(event.Address) + tab + EscapeParcelBytes(event.Bytes) + tab +
           OutcomeText(event.Outcome) + tab + PurposeText(event.Purpose);
}
