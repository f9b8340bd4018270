#include "common/NetAddress.h"
#include <QCoreApplication>

namespace NetAddress {

namespace {
const QString Separator = QStringLiteral("://");

std::optional<TAddress> Fail(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}
} // namespace

bool LooksLikeAddress(const QString& text) {
    return text.contains(Separator);
}

std::optional<TAddress> Parse(const QString& text, QString* why) {
    const qsizetype sep = text.indexOf(Separator);
    if (sep < 0)
        return Fail(why, QCoreApplication::translate(
                             "Common", "нужен адрес вида tcp://узел:порт или rfc2217://узел:порт"));
    TAddress a;
    const QString scheme = text.left(sep).toLower();
    if (scheme == QLatin1String("tcp"))
        a.Kind = TKind::Raw;
    else if (scheme == QLatin1String("rfc2217"))
        a.Kind = TKind::Rfc2217;
    else
        return Fail(
            why, QCoreApplication::translate("Common", "неизвестная схема «%1» (нужна tcp:// или rfc2217://)")
                     .arg(text.left(sep)));

    QString rest = text.mid(sep + Separator.size());
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1); // "tcp://host:4001/" as browsers write it
    if (rest.isEmpty())
        return Fail(why, QCoreApplication::translate("Common", "не указаны узел и порт"));
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        // An IPv6 literal: [::1]:4001.
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return Fail(why, QCoreApplication::translate("Common", "не закрыта скобка адреса IPv6"));
        a.Host = rest.mid(1, close - 1);
        if (rest.mid(close + 1, 1) != QLatin1String(":"))
            return Fail(why, QCoreApplication::translate("Common", "не указан порт"));
        portText = rest.mid(close + 2);
    } else {
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon < 0)
            return Fail(why, QCoreApplication::translate("Common", "не указан порт"));
        if (rest.indexOf(QLatin1Char(':')) != colon)
            return Fail(why, QCoreApplication::translate(
                                 "Common", "адрес IPv6 пишется в квадратных скобках: [адрес]:порт"));
        a.Host = rest.left(colon);
        portText = rest.mid(colon + 1);
    }
    if (a.Host.isEmpty())
        return Fail(why, QCoreApplication::translate("Common", "не указан узел"));
    for (QChar c : std::as_const(a.Host))
        if (c.isSpace() || c == QLatin1Char('/') || c == QLatin1Char(';') || c == QLatin1Char('@') ||
            c.unicode() > 0x7E)
            return Fail(
                why,
                QCoreApplication::translate("Common", "недопустимый символ в имени узла «%1»").arg(a.Host));
    if (portText.isEmpty())
        return Fail(why, QCoreApplication::translate("Common", "не указан порт"));
    bool digits = true;
    for (QChar c : std::as_const(portText))
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const qlonglong port = digits && portText.size() <= 6 ? portText.toLongLong() : -1;
    if (port < 1 || port > 65535)
        return Fail(
            why, QCoreApplication::translate("Common", "порт «%1»: нужно число от 1 до 65535").arg(portText));
    a.Port = static_cast<uint16_t>(port);
    return a;
}

} // namespace NetAddress
