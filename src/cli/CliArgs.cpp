#include "cli/CliArgs.h"
#include "common/Language.h"

#include "common/Numbers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {
const QStringList Commands = {QStringLiteral("ports"),    QStringLiteral("scan"), QStringLiteral("read"),
                              QStringLiteral("write"),    QStringLiteral("diff"), QStringLiteral("measure"),
                              QStringLiteral("calibrate")};
const QStringList Speeds = {QStringLiteral("300"),  QStringLiteral("600"),  QStringLiteral("1200"),
                            QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                            QStringLiteral("19200")};

std::optional<int> Whole(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return v;
}

// Options each command takes besides the common ones; a trailing "=" marks a value.
QStringList CommandOptions(const QString& c) {
    if (c == QLatin1String("ports"))
        return {};
    if (c == QLatin1String("scan"))
        return {"--port=", "--speed="};
    if (c == QLatin1String("read"))
        return {"--port=", "--speed=", "--address=", "--type=", "--out="};
    if (c == QLatin1String("write"))
        return {"--port=",  "--speed=",  "--address=",     "--type=",      "--in=",
                "--verify", "--dry-run", "--file-address", "--read-first", "--report="};
    if (c == QLatin1String("diff"))
        return {"--port=", "--speed=", "--address=", "--type=", "--in="};
    if (c == QLatin1String("measure"))
        return {"--port=", "--speed=", "--address=", "--type=", "--channels=", "--seconds=", "--csv="};
    return {"--port=", "--speed=", "--address=", "--type=", "--what="};
}
// One item of an address list: "5" or "5-9".
bool IsAddressItem(const QString& text) {
    static const QRegularExpression item(QStringLiteral("^\\s*\\d+\\s*(-\\s*\\d+\\s*)?$"));
    return item.match(text).hasMatch();
}

// Where a port entry's own address list starts (the ':' before it), or -1 when it has none.
qsizetype ListColon(const QString& entry) {
    const qsizetype last = entry.lastIndexOf(QLatin1Char(':'));
    if (last < 0 || !IsAddressItem(entry.mid(last + 1)))
        return -1;
    const qsizetype scheme = entry.indexOf(QStringLiteral("://"));
    if (scheme >= 0) {
        // "host:port" is the address itself: a list follows only a second ':' (an IPv6 host's
        // own colons are inside brackets).
        int colons = 0;
        int depth = 0;
        for (const QChar c : entry.mid(scheme + 3)) {
            if (c == QLatin1Char('['))
                ++depth;
            else if (c == QLatin1Char(']'))
                --depth;
            else if (c == QLatin1Char(':') && depth <= 0)
                ++colons;
        }
        return colons >= 2 ? last : -1;
    }
    // A path that exists is the port as written (/dev/serial/by-path names hold ':').
    if (entry.startsWith(QLatin1Char('/')) && QFileInfo::exists(entry))
        return -1;
    return last;
}

// The device a port name stands for, so that one line is never given twice under two names.
QString PortKey(const QString& port) {
    if (port.contains(QStringLiteral("://")))
        return port.toLower();
    const QString path = port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}
} // namespace

QString ParsePortList(const QString& text, const QList<int>& addresses, bool addressesGiven,
                      QList<TCliLine>& lines) {
    struct TEntry {
        QString Port;
        QString List;
        bool Own = false;
    };
    QList<TEntry> entries;
    for (const QString& raw : text.split(QLatin1Char(','))) {
        const QString part = raw.trimmed();
        // "ttyUSB0:1,3": the items after a port's own list continue it.
        if (IsAddressItem(part) && !entries.isEmpty() && entries.last().Own) {
            entries.last().List += QLatin1Char(',') + part;
            continue;
        }
        if (part.isEmpty())
            return QCoreApplication::translate("Cli", "--port: пустое имя порта");
        if (IsAddressItem(part))
            return QCoreApplication::translate("Cli", "--port: \"%1\" — адрес без порта (нужно ПОРТ:СПИСОК)")
                .arg(part);
        TEntry e;
        const qsizetype colon = ListColon(part);
        e.Port = colon >= 0 ? part.left(colon).trimmed() : part;
        if (colon >= 0) {
            e.List = part.mid(colon + 1);
            e.Own = true;
        }
        if (e.Port.isEmpty())
            return QCoreApplication::translate("Cli", "--port: пустое имя порта в \"%1\"").arg(part);
        entries.append(e);
    }
    lines.clear();
    QSet<QString> seen;
    for (const TEntry& e : entries) {
        if (seen.contains(PortKey(e.Port)))
            return QCoreApplication::translate("Cli",
                                               "--port: порт %1 указан дважды (одна линия — один порт)")
                .arg(e.Port);
        seen.insert(PortKey(e.Port));
        TCliLine line{e.Port, {}};
        if (e.Own) {
            QString why;
            const auto list = ParseAddressList(e.List, &why);
            if (!list)
                return QStringLiteral("--port %1: ").arg(e.Port) + why;
            line.Addresses = *list;
        } else if (addressesGiven) {
            line.Addresses = addresses;
        }
        lines.append(line);
    }
    return QString();
}

std::optional<QList<int>> ParseAddressList(const QString& text, QString* error) {
    QList<int> out;
    QSet<int> seen;
    const auto fail = [&](const QString& why) -> std::optional<QList<int>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (text.trimmed().isEmpty())
        return fail(QCoreApplication::translate("Cli", "пустой список адресов"));
    for (const QString& rawPart : text.split(QLatin1Char(','))) {
        const QString part = rawPart.trimmed();
        const qsizetype dash = part.indexOf(QLatin1Char('-'), 1);
        const auto lo = Whole(dash < 0 ? part : part.left(dash).trimmed());
        const auto hi = dash < 0 ? lo : Whole(part.mid(dash + 1).trimmed());
        if (!lo || !hi)
            return fail(QCoreApplication::translate("Cli", "неверный адрес \"%1\"").arg(part));
        for (const int a : {*lo, *hi})
            if (a < 1 || a > 255)
                return fail(QCoreApplication::translate("Cli", "адрес %1 вне диапазона 1..255").arg(a));
        if (*hi < *lo)
            return fail(QCoreApplication::translate("Cli", "неверный диапазон адресов \"%1\"").arg(part));
        for (int a = *lo; a <= *hi; ++a)
            if (!seen.contains(a)) {
                seen.insert(a);
                out.append(a);
            }
    }
    return out;
}

QString ParseCliArgs(const QStringList& args, TCliOptions& o) {
    int i = 0;
    // Common options may also stand before the command.
    const auto takeCommon = [&](const QString& a) -> std::optional<QString> {
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.Help = true;
        } else if (a == QLatin1String("--version")) {
            o.Version = true;
        } else if (a == QLatin1String("--json")) {
            o.Json = true;
        } else if (a == QLatin1String("--lang") || a.startsWith(QLatin1String("--lang="))) {
            const auto v = a == QLatin1String("--lang") ? value() : std::optional<QString>(a.mid(7));
            if (!v || !Language::Parse(*v))
                return QCoreApplication::translate("Cli", "--lang: нужно en или ru");
            o.Lang = v->trimmed().toLower();
        } else if (a == QLatin1String("--trace")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return QCoreApplication::translate("Cli", "--trace: нужен файл");
            o.Trace = *v;
        } else if (a == QLatin1String("--timeout")) {
            const auto v = value();
            const auto ms = v ? Whole(*v) : std::nullopt;
            if (!ms || *ms < 1 || *ms > 65535)
                return QCoreApplication::translate("Cli", "--timeout: нужно время ожидания в мс, 1..65535");
            o.TimeoutMs = *ms;
        } else {
            return std::nullopt;
        }
        return QString();
    };
    for (; i < args.size() && o.Command.isEmpty(); ++i) {
        const QString& a = args[i];
        if (const auto r = takeCommon(a)) {
            if (!r->isEmpty())
                return *r;
            continue;
        }
        if (a.startsWith(QLatin1Char('-')))
            return QCoreApplication::translate("Cli", "неизвестный параметр %1").arg(a);
        if (!Commands.contains(a))
            return QCoreApplication::translate("Cli", "неизвестная команда %1").arg(a);
        o.Command = a;
    }
    if (o.Command.isEmpty())
        return o.Help || o.Version ? QString() : QCoreApplication::translate("Cli", "не указана команда");

    const QStringList allowed = CommandOptions(o.Command);
    QString portText;
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (const auto r = takeCommon(a)) {
            if (!r->isEmpty())
                return *r;
            continue;
        }
        const bool takesValue = allowed.contains(a + QLatin1Char('='));
        if (!takesValue && !allowed.contains(a))
            return QCoreApplication::translate("Cli", "команда %1 не знает параметра %2").arg(o.Command, a);
        QString v;
        if (takesValue) {
            if (i + 1 >= args.size())
                return QCoreApplication::translate("Cli", "%1: нужно значение").arg(a);
            v = args[++i];
        }
        if (a == QLatin1String("--port")) {
            portText = v;
        } else if (a == QLatin1String("--speed")) {
            o.Speed = v;
        } else if (a == QLatin1String("--address")) {
            QString why;
            const auto list = ParseAddressList(v, &why);
            if (!list)
                return QStringLiteral("--address: ") + why;
            o.Addresses = *list;
        } else if (a == QLatin1String("--type")) {
            o.Type = v;
        } else if (a == QLatin1String("--out")) {
            o.Out = v;
        } else if (a == QLatin1String("--in")) {
            o.In = v;
        } else if (a == QLatin1String("--csv")) {
            o.Csv = v;
        } else if (a == QLatin1String("--what")) {
            if (v != QLatin1String("line") && v != QLatin1String("compensator"))
                return QCoreApplication::translate("Cli", "--what: line или compensator");
            o.What = v;
        } else if (a == QLatin1String("--channels")) {
            for (const QString& part : v.split(QLatin1Char(','))) {
                const auto k = Whole(part.trimmed());
                if (!k || *k < 1 || *k > 255)
                    return QCoreApplication::translate("Cli", "--channels: неверный номер канала \"%1\"")
                        .arg(part);
                if (!o.Channels.contains(*k))
                    o.Channels.append(*k);
            }
        } else if (a == QLatin1String("--seconds")) {
            const auto s = Numbers::ParseFloat(v);
            if (!s || !(*s > 0) || *s > 1e7)
                return QCoreApplication::translate("Cli", "--seconds: нужно положительное число секунд");
            o.Seconds = *s;
        } else if (a == QLatin1String("--verify")) {
            o.Verify = true;
        } else if (a == QLatin1String("--dry-run")) {
            o.DryRun = true;
        } else if (a == QLatin1String("--file-address")) {
            o.FileAddress = true;
        } else if (a == QLatin1String("--read-first")) {
            o.ReadFirst = true;
        } else if (a == QLatin1String("--report")) {
            o.Report = v;
        }
    }
    if (o.Help || o.Version)
        return QString();
    if (!portText.isEmpty()) {
        QList<TCliLine> lines;
        if (const QString why = ParsePortList(portText, o.Addresses, !o.Addresses.isEmpty(), lines);
            !why.isEmpty())
            return why;
        for (const TCliLine& line : lines)
            if (o.Command == QLatin1String("scan") && !line.Addresses.isEmpty())
                return QCoreApplication::translate("Cli", "команде scan не нужен список адресов (%1)")
                    .arg(portText);
        if (lines.size() == 1) {
            o.Port = lines.first().Port;
            o.Addresses = lines.first().Addresses;
        } else {
            o.Lines = lines;
        }
    }
    const bool severalPorts = o.Lines.size() > 1;

    // What each command cannot do without.
    const auto need = [&](bool present, const char* option) -> QString {
        return present ? QString()
                       : QCoreApplication::translate("Cli", "команде %1 нужен параметр %2")
                             .arg(o.Command, QLatin1String(option));
    };
    QString missing;
    if (o.Command != QLatin1String("ports")) {
        missing = need(!o.Port.isEmpty() || severalPorts, "--port");
        if (missing.isEmpty() && o.Command != QLatin1String("scan"))
            missing = need(!o.Speed.isEmpty(), "--speed");
        if (missing.isEmpty() && o.Command != QLatin1String("scan"))
            missing = need(!o.Addresses.isEmpty() || severalPorts, "--address");
        for (const TCliLine& line : o.Lines)
            if (missing.isEmpty() && o.Command != QLatin1String("scan") && line.Addresses.isEmpty())
                missing = QCoreApplication::translate(
                              "Cli", "команде %1 нужен список адресов для порта %2 (--address или "
                                     "%2:СПИСОК)")
                              .arg(o.Command, line.Port);
    }
    if (missing.isEmpty() && (o.Command == QLatin1String("write") || o.Command == QLatin1String("diff")))
        missing = need(!o.In.isEmpty(), "--in");
    if (missing.isEmpty() && o.Command == QLatin1String("measure")) {
        missing = need(o.Seconds > 0, "--seconds");
        if (missing.isEmpty())
            missing = need(!o.Csv.isEmpty(), "--csv");
    }
    if (missing.isEmpty() && o.Command == QLatin1String("calibrate"))
        missing = need(!o.What.isEmpty(), "--what");
    if (!missing.isEmpty())
        return missing;
    bool manyAddresses = o.Addresses.size() > 1;
    for (const TCliLine& line : o.Lines)
        manyAddresses = manyAddresses || line.Addresses.size() > 1;
    if (severalPorts && (o.Out == QLatin1String("-") || o.Csv == QLatin1String("-")))
        return QCoreApplication::translate(
                   "Cli", "%1 -: при нескольких портах нужен файл (у каждого порта свой) или --json")
            .arg(o.Out == QLatin1String("-") ? QStringLiteral("--out") : QStringLiteral("--csv"));
    if (o.FileAddress && manyAddresses)
        return QCoreApplication::translate(
            "Cli", "--file-address: только с одним адресом (иначе у всех приборов будет один адрес)");
    if (!o.Report.isEmpty() && !o.Report.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) &&
        !o.Report.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
        return QCoreApplication::translate("Cli", "--report: нужен файл .html");
    if (!o.Report.isEmpty() && o.DryRun)
        return QCoreApplication::translate(
            "Cli", "--report и --dry-run: при --dry-run ничего не записывается в прибор");
    if (o.Json && o.Csv == QLatin1String("-"))
        return QCoreApplication::translate("Cli",
                                           "--csv - и --json: оба пишут на стандартный вывод, выберите одно");
    if (!o.Speed.isEmpty() && !Speeds.contains(o.Speed) &&
        !(o.Command == QLatin1String("scan") && o.Speed == QLatin1String("all")))
        return QCoreApplication::translate(
                   "Cli", "скорость %1 не из списка 300, 600, 1200, 2400, 4800, 9600, 19200%2")
            .arg(o.Speed, o.Command == QLatin1String("scan") ? QCoreApplication::translate("Cli", " или all")
                                                             : QString());
    return QString();
}

QString CliHelpText(const QString& command) {
    const QString common = QCoreApplication::translate(
        "Cli",
        "Общие параметры:\n"
        "  --json          вывод в формате JSON (для программ)\n"
        "  --trace ФАЙЛ    записать каждую посылку и ответ с датой и временем (мс)\n"
        "  --timeout МС    время ожидания ответа вместо заданного в каталоге\n"
        "  --lang en|ru    язык сообщений (иначе по LANGUAGE, LC_ALL, LC_MESSAGES, LANG: английский\n"
        "                  для английской локали, русский для любой другой); вывод JSON всегда на русском\n"
        "  --help          эта справка;  --version  версия программы\n"
        "СПИСОК адресов: 1,2,5-9 (адреса 1..255); команды работают с адресами по очереди.\n"
        "Код завершения: 0 всё выполнено, 1 ошибка в командной строке, 2 ошибка связи или обмена\n"
        "(и прибор не найден), 3 расхождение при проверке, отклонённые или непередаваемые значения,\n"
        "различия, 4 ошибка файла. Ошибки выводятся в стандартный поток ошибок.\n"
        "Ctrl+C останавливает обмен на границе параметра и закрывает порт; повторное Ctrl+C\n"
        "завершает программу сразу (код 2). Так же, как Ctrl+C, работу завершают закрытие\n"
        "терминала (SIGHUP) и закрытие канала вывода (SIGPIPE).\n");
    const QString lines = QCoreApplication::translate(
        "Cli", "Несколько линий: ПОРТ — список портов через запятую, линии работают параллельно,\n"
               "на каждой один обмен за раз (команда ports к линиям не относится):\n"
               "  --port ttyUSB0,ttyUSB1 --address 1-8   один СПИСОК адресов для каждого порта\n"
               "  --port ttyUSB0:1-8,ttyUSB1:1,3,5       у порта свой СПИСОК после последнего ':'\n"
               "  (у сетевого адреса УЗЕЛ:ПОРТ список идёт после второго ':': tcp://10.0.0.5:4001:1-3;\n"
               "  существующий путь /dev/... берётся целиком). Порт без своего списка берёт --address.\n"
               "  Отчёт по портам: каждая строка начинается с имени порта, строки одной линии идут\n"
               "  подряд; JSON: \"ports\" — по документу на порт; код завершения — наибольший из линий.\n"
               "  Файлы --out и --csv у каждого порта свои: к имени добавляется _ПОРТ, потом _АДРЕС\n"
               "  (set_ttyUSB0_3.kpr; в имени порта всё, кроме букв, цифр, '.', '-', заменяется на '_',\n"
               "  /dev/ отбрасывается). --out - и --csv - — только для одного порта. Ctrl+C\n"
               "  останавливает все линии. --trace пишет посылки всех линий в один файл, с именем порта.\n");
    if (command == QLatin1String("ports"))
        return QCoreApplication::translate(
                   "Cli", "kestrin-cli ports\n  Список портов, которые находит библиотека обмена сейчас.\n"
                          "  Постоянные имена адаптеров (/dev/serial/by-id/...) идут за их ttyUSBn,\n"
                          "  после ссылки \"->\" указано устройство, на которое она указывает.\n\n") +
               common;
    if (command == QLatin1String("scan"))
        return QCoreApplication::translate(
                   "Cli",
                   "kestrin-cli scan --port ПОРТ [--speed СКОРОСТЬ|all]\n"
                   "  Поиск приборов на линии (широковещательный запрос идентификации) на одной или на всех\n"
                   "  семи скоростях (по умолчанию all). Для каждого найденного прибора: адрес, скорость,\n"
                   "  номер типа, запись каталога, версия.\n\n") +
               common + lines;
    if (command == QLatin1String("read"))
        return QCoreApplication::translate(
                   "Cli",
                   "kestrin-cli read --port ПОРТ --speed СКОРОСТЬ --address СПИСОК [--type ИМЯ] [--out "
                   "ФАЙЛ]\n"
                   "  Чтение всех параметров по правилам программы: проверка версии и описания параметров\n"
                   "  версии прибора, повторы по ReRead из kestrin.ini, без вопросов: параметр, который не\n"
                   "  читается, сообщается, чтение продолжается.\n"
                   "  --out ФАЙЛ.kpr  файл параметров прибора, как его сохраняет окно программы\n"
                   "  --out ФАЙЛ.json документ JSON;  --out -  JSON на стандартный вывод\n"
                   "  При нескольких адресах к имени файла добавляется _АДРЕС (set_3.kpr).\n"
                   "  --type ИМЯ      запись каталога (по умолчанию первая)\n\n") +
               common + lines;
    if (command == QLatin1String("write"))
        return QCoreApplication::translate(
                   "Cli",
                   "kestrin-cli write --port ПОРТ --speed СКОРОСТЬ --address СПИСОК --in ФАЙЛ [--verify] "
                   "[--dry-run] [--file-address] [--read-first] [--report ФАЙЛ.html]\n"
                   "  Запись всех параметров из файла .kpr или .json с проверкой значений, как в окне\n"
                   "  программы (пределы, пустые значения). Прибор сохраняет свой сетевой адрес; смена\n"
                   "  скорости или адреса сообщается, проверка идёт по новому адресу и скорости.\n"
                   "  Документ JSON с несколькими приборами: каждому адресу — прибор с этим адресом.\n"
                   "  Значения битовых строк этот протокол не передаёт: они не записываются и не\n"
                   "  проверяются, значение, отличное от заводского, даёт код 3.\n"
                   "  --verify        прочитать записанное и сообщить о каждом расхождении\n"
                   "  --dry-run       только проверить и показать, что было бы записано, ничего не "
                   "отправляя\n"
                   "  --file-address  записать и сетевой адрес из файла (только для одного адреса;\n"
                   "                  занятый другим прибором адрес не присваивается)\n") +
               QCoreApplication::translate(
                   "CliArgs",
                   "  --read-first    прочитать прибор перед записью: в журнал наладки попадают только\n"
                   "                  изменённые параметры, со значениями до и после\n"
                   "  --report ФАЙЛ.html  отчёт о наладке по записям этого запуска (для печати, A4)\n"
                   "  Журнал наладки: после каждой записи в прибор (кроме отказа до отправки) строка JSON\n"
                   "  в $XDG_DATA_HOME/kestrin/commissioning.jsonl (~/.local/share/kestrin/...): дата и\n"
                   "  время, пользователь, порт, скорость, адрес, тип, версия, изменённые и незаписанные\n"
                   "  параметры, итог проверки, версия программы. Запись, которую не удалось дописать,\n"
                   "  сообщается (код 4); запись в прибор при этом выполнена.\n") +
               QStringLiteral("\n") + common + lines;
    if (command == QLatin1String("diff"))
        return QCoreApplication::translate(
                   "Cli", "kestrin-cli diff --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --in ФАЙЛ\n"
                          "  Сравнение значений прибора с файлом, параметр за параметром. Битовые строки не\n"
                          "  сравниваются (протокол не читает их значения).\n\n") +
               common + lines;
    if (command == QLatin1String("measure"))
        return QCoreApplication::translate(
                   "Cli",
                   "kestrin-cli measure --port ПОРТ --speed СКОРОСТЬ --address АДРЕС [--channels 1,3]\n"
                   "                    --seconds N --csv ФАЙЛ|-\n"
                   "  Опрос измеряемых значений с периодом Tmin каталога. Одна строка CSV на отсчёт,\n"
                   "  пять столбцов time,minutes,address,channel,value: местное время ISO, минуты от\n"
                   "  начала, адрес, канал, значение; строка записывается сразу.\n\n") +
               common + lines;
    if (command == QLatin1String("calibrate"))
        return QCoreApplication::translate(
                   "Cli",
                   "kestrin-cli calibrate --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --what "
                   "line|compensator\n"
                   "  Калибровка сопротивления линии (rL) или компенсатора (rC) и ожидание её конца.\n\n") +
               common + lines;
    return QCoreApplication::translate("Cli",
                                       "kestrin-cli — настройка приборов серии Kestrin K1 без окна.\n"
                                       "Использование: kestrin-cli КОМАНДА [параметры]\n\n"
                                       "Команды:\n"
                                       "  ports      список портов\n"
                                       "  scan       поиск приборов на линии\n"
                                       "  read       чтение всех параметров (в файл .kpr или .json)\n"
                                       "  write      запись всех параметров из файла, с проверкой чтением\n"
                                       "  diff       сравнение прибора с файлом\n"
                                       "  measure    опрос измеряемых значений в CSV\n"
                                       "  calibrate  калибровка rL или rC\n"
                                       "kestrin-cli КОМАНДА --help описывает команду.\n\n") +
           common + lines;
}
