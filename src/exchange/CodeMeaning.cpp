#include "exchange/CodeMeaning.h"

#include "exchange/Exchange.h"

QString ResultCodeMeaning(int code) {
    switch (code) {
    case ExFailed:
        return QStringLiteral("неверное значение, или ответ не того вида, которого ждет запрос");
    case ExWrongAddress:
        return QStringLiteral("ответил прибор с другим сетевым адресом");
    case ExBadReplyCode:
        return QStringLiteral("код ответа после «$» не является числом");
    case ExDeviceError:
        return QStringLiteral("прибор ответил кодом ошибки «$1»");
    case KV_ERR_HANDLE:
        return QStringLiteral("неверный описатель связи");
    case KV_ERR_NO_PORT:
        return QStringLiteral("порт не существует");
    case KV_ERR_PERMISSION:
        return QStringLiteral("нет прав доступа к порту (группа dialout)");
    case KV_ERR_OPEN:
        return QStringLiteral("порт не удалось открыть (занят другой программой или недоступен; сетевой "
                              "порт: сервер не отвечает или отказал в соединении)");
    case KV_ERR_SPEED:
        return QStringLiteral("скорость не поддерживается портом");
    case KV_ERR_TIMEOUT_ARG:
        return QStringLiteral("недопустимое время ожидания");
    case KV_ERR_NOT_OPEN:
        return QStringLiteral("порт не открыт");
    case KV_ERR_WRITE:
        return QStringLiteral("не удалось передать запрос в порт");
    case KV_ERR_NO_ANSWER:
        return QStringLiteral("нет ответа в течение времени ожидания");
    case KV_ERR_TOO_LONG:
        return QStringLiteral("ответ длиннее 254 символов");
    case KV_ERR_MALFORMED:
        return QStringLiteral("искаженный ответ (неверный формат посылки)");
    case KV_ERR_CHECKWORD:
        return QStringLiteral("контрольная сумма ответа не совпадает");
    case KV_ERR_BUFFER:
        return QStringLiteral("текст не помещается в буфер");
    case KV_ERR_LINE_LOST:
        return QStringLiteral(
            "связь с портом потеряна (устройство отключено, ошибка ввода-вывода, сервер закрыл соединение)");
    case KV_ERR_NO_RFC2217:
        return QStringLiteral("сервер не поддерживает RFC 2217 (управление последовательным портом); такой "
                              "сервер подключают как tcp://");
    default:
        return QString();
    }
}

QString ResultCodeDetails(int code) {
    const QString meaning = ResultCodeMeaning(code);
    if (meaning.isEmpty())
        return QString();
    return QStringLiteral("Код ") + QString::number(code) + QStringLiteral(": ") + meaning;
}

int TrailingResultCode(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QStringLiteral(": -"));
    if (colon < 0 || text.size() - colon > 12)
        return 0;
    bool ok = false;
    const int code = QStringView(text).mid(colon + 2).toInt(&ok);
    return ok && code < 0 ? code : 0;
}
