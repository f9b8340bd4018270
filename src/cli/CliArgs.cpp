#include "cli/CliArgs.h"

#include "common/Numbers.h"

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
        return {"--port=", "--speed=", "--address=", "--type=",
                "--in=",   "--verify", "--dry-run",  "--file-address"};
    if (c == QLatin1String("diff"))
        return {"--port=", "--speed=", "--address=", "--type=", "--in="};
    if (c == QLatin1String("measure"))
        return {"--port=", "--speed=", "--address=", "--type=", "--channels=", "--seconds=", "--csv="};
    return {"--port=", "--speed=", "--address=", "--type=", "--what="};
}
} // namespace

std::optional<QList<int>> ParseAddressList(const QString& text, QString* error) {
    QList<int> out;
    QSet<int> seen;
    const auto fail = [&](const QString& why) -> std::optional<QList<int>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (text.trimmed().isEmpty())
        return fail(QStringLiteral("пустой список адресов"));
    for (const QString& rawPart : text.split(QLatin1Char(','))) {
        const QString part = rawPart.trimmed();
        const qsizetype dash = part.indexOf(QLatin1Char('-'), 1);
        const auto lo = Whole(dash < 0 ? part : part.left(dash).trimmed());
        const auto hi = dash < 0 ? lo : Whole(part.mid(dash + 1).trimmed());
        if (!lo || !hi)
            return fail(QStringLiteral("неверный адрес \"%1\"").arg(part));
        for (const int a : {*lo, *hi})
            if (a < 1 || a > 255)
                return fail(QStringLiteral("адрес %1 вне диапазона 1..255").arg(a));
        if (*hi < *lo)
            return fail(QStringLiteral("неверный диапазон адресов \"%1\"").arg(part));
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
        } else if (a == QLatin1String("--trace")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return QStringLiteral("--trace: нужен файл");
            o.Trace = *v;
        } else if (a == QLatin1String("--timeout")) {
            const auto v = value();
            const auto ms = v ? Whole(*v) : std::nullopt;
            if (!ms || *ms < 1 || *ms > 65535)
                return QStringLiteral("--timeout: нужно время ожидания в мс, 1..65535");
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
            return QStringLiteral("неизвестный параметр %1").arg(a);
        if (!Commands.contains(a))
            return QStringLiteral("неизвестная команда %1").arg(a);
        o.Command = a;
    }
    if (o.Command.isEmpty())
        return o.Help || o.Version ? QString() : QStringLiteral("не указана команда");

    const QStringList allowed = CommandOptions(o.Command);
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (const auto r = takeCommon(a)) {
            if (!r->isEmpty())
                return *r;
            continue;
        }
        const bool takesValue = allowed.contains(a + QLatin1Char('='));
        if (!takesValue && !allowed.contains(a))
            return QStringLiteral("команда %1 не знает параметра %2").arg(o.Command, a);
        QString v;
        if (takesValue) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1: нужно значение").arg(a);
            v = args[++i];
        }
        if (a == QLatin1String("--port")) {
            o.Port = v;
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
                return QStringLiteral("--what: line или compensator");
            o.What = v;
        } else if (a == QLatin1String("--channels")) {
            for (const QString& part : v.split(QLatin1Char(','))) {
                const auto k = Whole(part.trimmed());
                if (!k || *k < 1 || *k > 255)
                    return QStringLiteral("--channels: неверный номер канала \"%1\"").arg(part);
                if (!o.Channels.contains(*k))
                    o.Channels.append(*k);
            }
        } else if (a == QLatin1String("--seconds")) {
            const auto s = Numbers::ParseFloat(v);
            if (!s || !(*s > 0) || *s > 1e7)
                return QStringLiteral("--seconds: нужно положительное число секунд");
            o.Seconds = *s;
        } else if (a == QLatin1String("--verify")) {
            o.Verify = true;
        } else if (a == QLatin1String("--dry-run")) {
            o.DryRun = true;
        } else if (a == QLatin1String("--file-address")) {
            o.FileAddress = true;
        }
    }
    if (o.Help || o.Version)
        return QString();

    // What each command cannot do without.
    const auto need = [&](bool present, const char* option) -> QString {
        return present ? QString()
                       : QStringLiteral("команде %1 нужен параметр %2").arg(o.Command, QLatin1String(option));
    };
    QString missing;
    if (o.Command != QLatin1String("ports")) {
        missing = need(!o.Port.isEmpty(), "--port");
        if (missing.isEmpty() && o.Command != QLatin1String("scan"))
            missing = need(!o.Speed.isEmpty(), "--speed");
        if (missing.isEmpty() && o.Command != QLatin1String("scan"))
            missing = need(!o.Addresses.isEmpty(), "--address");
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
    if (o.FileAddress && o.Addresses.size() > 1)
        return QStringLiteral(
            "--file-address: только с одним адресом (иначе у всех приборов будет один адрес)");
    if (o.Json && o.Csv == QLatin1String("-"))
        return QStringLiteral("--csv - и --json: оба пишут на стандартный вывод, выберите одно");
    if (!o.Speed.isEmpty() && !Speeds.contains(o.Speed) &&
        !(o.Command == QLatin1String("scan") && o.Speed == QLatin1String("all")))
        return QStringLiteral("скорость %1 не из списка 300, 600, 1200, 2400, 4800, 9600, 19200%2")
            .arg(o.Speed, o.Command == QLatin1String("scan") ? QStringLiteral(" или all") : QString());
    return QString();
}

QString CliHelpText(const QString& command) {
    const QString common = QStringLiteral(
        "Общие параметры:\n"
        "  --json          вывод в формате JSON (для программ)\n"
        "  --trace ФАЙЛ    записать каждую посылку и ответ с датой и временем (мс)\n"
        "  --timeout МС    время ожидания ответа вместо заданного в каталоге\n"
        "  --help          эта справка;  --version  версия программы\n"
        "СПИСОК адресов: 1,2,5-9 (адреса 1..255); команды работают с адресами по очереди.\n"
        "Код завершения: 0 всё выполнено, 1 ошибка в командной строке, 2 ошибка связи или обмена\n"
        "(и прибор не найден), 3 расхождение при проверке, отклонённые или непередаваемые значения,\n"
        "различия, 4 ошибка файла. Ошибки выводятся в стандартный поток ошибок.\n"
        "Ctrl+C останавливает обмен на границе параметра и закрывает порт; повторное Ctrl+C\n"
        "завершает программу сразу (код 2). Так же, как Ctrl+C, работу завершают закрытие\n"
        "терминала (SIGHUP) и закрытие канала вывода (SIGPIPE).\n");
    if (command == QLatin1String("ports"))
        return QStringLiteral(
                   "kestrin-cli ports\n  Список портов, которые находит библиотека обмена сейчас.\n"
                   "  Постоянные имена адаптеров (/dev/serial/by-id/...) идут за их ttyUSBn,\n"
                   "  после ссылки \"->\" указано устройство, на которое она указывает.\n\n") +
               common;
    if (command == QLatin1String("scan"))
        return QStringLiteral(
                   "kestrin-cli scan --port ПОРТ [--speed СКОРОСТЬ|all]\n"
                   "  Поиск приборов на линии (широковещательный запрос идентификации) на одной или на всех\n"
                   "  семи скоростях (по умолчанию all). Для каждого найденного прибора: адрес, скорость,\n"
                   "  номер типа, запись каталога, версия.\n\n") +
               common;
    if (command == QLatin1String("read"))
        return QStringLiteral(
                   "kestrin-cli read --port ПОРТ --speed СКОРОСТЬ --address СПИСОК [--type ИМЯ] [--out "
                   "ФАЙЛ]\n"
                   "  Чтение всех параметров по правилам программы: проверка версии и описания параметров\n"
                   "  версии прибора, повторы по ReRead из kestrin.ini, без вопросов: параметр, который не\n"
                   "  читается, сообщается, чтение продолжается.\n"
                   "  --out ФАЙЛ.kpr  файл параметров прибора, как его сохраняет окно программы\n"
                   "  --out ФАЙЛ.json документ JSON;  --out -  JSON на стандартный вывод\n"
                   "  При нескольких адресах к имени файла добавляется _АДРЕС (set_3.kpr).\n"
                   "  --type ИМЯ      запись каталога (по умолчанию первая)\n\n") +
               common;
    if (command == QLatin1String("write"))
        return QStringLiteral(
                   "kestrin-cli write --port ПОРТ --speed СКОРОСТЬ --address СПИСОК --in ФАЙЛ [--verify] "
                   "[--dry-run] [--file-address]\n"
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
                   "                  занятый другим прибором адрес не присваивается)\n\n") +
               common;
    if (command == QLatin1String("diff"))
        return QStringLiteral(
                   "kestrin-cli diff --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --in ФАЙЛ\n"
                   "  Сравнение значений прибора с файлом, параметр за параметром. Битовые строки не\n"
                   "  сравниваются (протокол не читает их значения).\n\n") +
               common;
    if (command == QLatin1String("measure"))
        return QStringLiteral(
                   "kestrin-cli measure --port ПОРТ --speed СКОРОСТЬ --address АДРЕС [--channels 1,3]\n"
                   "                    --seconds N --csv ФАЙЛ|-\n"
                   "  Опрос измеряемых значений с периодом Tmin каталога. Одна строка CSV на отсчёт,\n"
                   "  пять столбцов time,minutes,address,channel,value: местное время ISO, минуты от\n"
                   "  начала, адрес, канал, значение; строка записывается сразу.\n\n") +
               common;
    if (command == QLatin1String("calibrate"))
        return QStringLiteral(
                   "kestrin-cli calibrate --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --what "
                   "line|compensator\n"
                   "  Калибровка сопротивления линии (rL) или компенсатора (rC) и ожидание её конца.\n\n") +
               common;
    return QStringLiteral("kestrin-cli — настройка приборов серии Kestrin K1 без окна.\n"
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
           common;
}
