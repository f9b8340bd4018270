#include "exchange/CodeMeaning.h"

#include "exchange/Exchange.h"
#include <QCoreApplication>

QString ResultCodeMeaning(int code) {
    switch (code) {
    case ExFailed:
        return QCoreApplication::translate("Exchange",
                                           "неверное значение, или ответ не того вида, которого ждет запрос");
    case ExWrongAddress:
        return QCoreApplication::translate("Exchange", "ответил прибор с другим сетевым адресом");
    case ExBadReplyCode:
        return QCoreApplication::translate("Exchange", "код ответа после «$» не является числом");
    case ExDeviceError:
        return QCoreApplication::translate("Exchange", "прибор ответил кодом ошибки «$1»");
    case KV_ERR_HANDLE:
        return QCoreApplication::translate("Exchange", "неверный описатель связи");
    case KV_ERR_NO_PORT:
        return QCoreApplication::translate("Exchange", "порт не существует");
    case KV_ERR_PERMISSION:
        return QCoreApplication::translate("Exchange", "нет прав доступа к порту (группа dialout)");
    case KV_ERR_OPEN:
        return QCoreApplication::translate(
            "Exchange", "порт не удалось открыть (занят другой программой или недоступен; сетевой "
                        "порт: сервер не отвечает или отказал в соединении)");
    case KV_ERR_SPEED:
        return QCoreApplication::translate("Exchange", "скорость не поддерживается портом");
    case KV_ERR_TIMEOUT_ARG:
        return QCoreApplication::translate("Exchange", "недопустимое время ожидания");
    case KV_ERR_NOT_OPEN:
        return QCoreApplication::translate("Exchange", "порт не открыт");
    case KV_ERR_WRITE:
        return QCoreApplication::translate("Exchange", "не удалось передать запрос в порт");
    case KV_ERR_NO_ANSWER:
        return QCoreApplication::translate("Exchange", "нет ответа в течение времени ожидания");
    case KV_ERR_TOO_LONG:
        return QCoreApplication::translate("Exchange", "ответ длиннее 254 символов");
    case KV_ERR_MALFORMED:
        return QCoreApplication::translate("Exchange", "искаженный ответ (неверный формат посылки)");
    case KV_ERR_CHECKWORD:
        return QCoreApplication::translate("Exchange", "контрольная сумма ответа не совпадает");
    case KV_ERR_BUFFER:
        return QCoreApplication::translate("Exchange", "текст не помещается в буфер");
    case KV_ERR_LINE_LOST:
        return QCoreApplication::translate(
            "Exchange",
            "связь с портом потеряна (устройство отключено, ошибка ввода-вывода, сервер закрыл соединение)");
    case KV_ERR_NO_RFC2217:
        return QCoreApplication::translate(
            "Exchange", "сервер не поддерживает RFC 2217 (управление последовательным портом); такой "
                        "сервер подключают как tcp://");
    default:
        return QString();
    }
}

QString ResultCodeDetails(int code) {
    const QString meaning = ResultCodeMeaning(code);
    if (meaning.isEmpty())
        return QString();
    return QCoreApplication::translate("Exchange", "Код %1: %2").arg(code).arg(meaning);
}

int TrailingResultCode(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QStringLiteral(": -"));
    if (colon < 0 || text.size() - colon > 12)
        return 0;
    bool ok = false;
    const int code = QStringView(text).mid(colon + 2).toInt(&ok);
    return ok && code < 0 ? code : 0;
}
