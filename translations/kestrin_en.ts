<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ChartExport</name>
    <message>
        <location filename="../src/chart/ChartExport.cpp" line="63"/>
        <source>Не удалось построить рисунок PNG</source>
        <translation>Could not render the PNG image</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="103"/>
        <source>--port: пустое имя порта</source>
        <translation>--port: empty port name</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="105"/>
        <source>--port: &quot;%1&quot; — адрес без порта (нужно ПОРТ:СПИСОК)</source>
        <translation>--port: &quot;%1&quot; is an address list without a port (PORT:LIST is needed)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="115"/>
        <source>--port: пустое имя порта в &quot;%1&quot;</source>
        <translation>--port: empty port name in &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="122"/>
        <source>--port: порт %1 указан дважды (одна линия — один порт)</source>
        <translation>--port: port %1 given twice (one line, one port)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="150"/>
        <source>пустой список адресов</source>
        <translation>empty address list</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="157"/>
        <source>неверный адрес &quot;%1&quot;</source>
        <translation>invalid address &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="160"/>
        <source>адрес %1 вне диапазона 1..255</source>
        <translation>address %1 outside the range 1..255</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="162"/>
        <source>неверный диапазон адресов &quot;%1&quot;</source>
        <translation>invalid address range &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="190"/>
        <source>--lang: нужно en или ru</source>
        <translation>--lang: en or ru is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="195"/>
        <source>--trace: нужен файл</source>
        <translation>--trace: a file is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="201"/>
        <source>--timeout: нужно время ожидания в мс, 1..65535</source>
        <translation>--timeout: a timeout in ms is needed, 1..65535</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="216"/>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="218"/>
        <source>неизвестная команда %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="222"/>
        <source>не указана команда</source>
        <translation>no command given</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="235"/>
        <source>команда %1 не знает параметра %2</source>
        <translation>command %1 has no option %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="239"/>
        <source>%1: нужно значение</source>
        <translation>%1: a value is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="262"/>
        <source>--what: line или compensator</source>
        <translation>--what: line or compensator</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="268"/>
        <source>--channels: неверный номер канала &quot;%1&quot;</source>
        <translation>--channels: invalid channel number &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="276"/>
        <source>--seconds: нужно положительное число секунд</source>
        <translation>--seconds: a positive number of seconds is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="295"/>
        <source>команде scan не нужен список адресов (%1)</source>
        <translation>the scan command takes no address list (%1)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="309"/>
        <source>команде %1 нужен параметр %2</source>
        <translation>command %1 needs option %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="321"/>
        <source>команде %1 нужен список адресов для порта %2 (--address или %2:СПИСОК)</source>
        <translation>command %1 needs an address list for port %2 (--address or %2:LIST)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="341"/>
        <source>%1 -: при нескольких портах нужен файл (у каждого порта свой) или --json</source>
        <translation>%1 -: with several ports a file (one per port) or --json is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="345"/>
        <source>--file-address: только с одним адресом (иначе у всех приборов будет один адрес)</source>
        <translation>--file-address: only with a single address (otherwise every instrument would get the same address)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="348"/>
        <source>--csv - и --json: оба пишут на стандартный вывод, выберите одно</source>
        <translation>--csv - and --json: both write to standard output, choose one</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="352"/>
        <source>скорость %1 не из списка 300, 600, 1200, 2400, 4800, 9600, 19200%2</source>
        <translation>speed %1 is not one of 300, 600, 1200, 2400, 4800, 9600, 19200%2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="354"/>
        <source> или all</source>
        <translation> or all</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="360"/>
        <source>Общие параметры:
  --json          вывод в формате JSON (для программ)
  --trace ФАЙЛ    записать каждую посылку и ответ с датой и временем (мс)
  --timeout МС    время ожидания ответа вместо заданного в каталоге
  --lang en|ru    язык сообщений (иначе по LANGUAGE, LC_ALL, LC_MESSAGES, LANG: английский
                  для английской локали, русский для любой другой); вывод JSON всегда на русском
  --help          эта справка;  --version  версия программы
СПИСОК адресов: 1,2,5-9 (адреса 1..255); команды работают с адресами по очереди.
Код завершения: 0 всё выполнено, 1 ошибка в командной строке, 2 ошибка связи или обмена
(и прибор не найден), 3 расхождение при проверке, отклонённые или непередаваемые значения,
различия, 4 ошибка файла. Ошибки выводятся в стандартный поток ошибок.
Ctrl+C останавливает обмен на границе параметра и закрывает порт; повторное Ctrl+C
завершает программу сразу (код 2). Так же, как Ctrl+C, работу завершают закрытие
терминала (SIGHUP) и закрытие канала вывода (SIGPIPE).
</source>
        <translation>Common options:
  --json          output as JSON (for programs)
  --trace FILE    record every parcel and answer with date and time (ms)
  --timeout MS    answer timeout instead of the catalogue&apos;s
  --lang en|ru    language of the messages (otherwise by LANGUAGE, LC_ALL, LC_MESSAGES, LANG: English
                  for an English locale, Russian for any other); JSON output is always in Russian
  --help          this help;  --version  the program&apos;s version
Address LIST: 1,2,5-9 (addresses 1..255); commands work on the addresses one by one.
Exit status: 0 all done, 1 command-line error, 2 connection or exchange error
(and instrument not found), 3 verification mismatch, refused or untransferable values,
differences, 4 file error. Errors go to standard error.
Ctrl+C stops the exchange at a parameter boundary and closes the port; a second Ctrl+C
quits at once (status 2). Closing the terminal (SIGHUP) and closing the output pipe
(SIGPIPE) end the work as Ctrl+C does.
</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="376"/>
        <source>Несколько линий: ПОРТ — список портов через запятую, линии работают параллельно,
на каждой один обмен за раз (команда ports к линиям не относится):
  --port ttyUSB0,ttyUSB1 --address 1-8   один СПИСОК адресов для каждого порта
  --port ttyUSB0:1-8,ttyUSB1:1,3,5       у порта свой СПИСОК после последнего &apos;:&apos;
  (у сетевого адреса УЗЕЛ:ПОРТ список идёт после второго &apos;:&apos;: tcp://10.0.0.5:4001:1-3;
  существующий путь /dev/... берётся целиком). Порт без своего списка берёт --address.
  Отчёт по портам: каждая строка начинается с имени порта, строки одной линии идут
  подряд; JSON: &quot;ports&quot; — по документу на порт; код завершения — наибольший из линий.
  Файлы --out и --csv у каждого порта свои: к имени добавляется _ПОРТ, потом _АДРЕС
  (set_ttyUSB0_3.kpr; в имени порта всё, кроме букв, цифр, &apos;.&apos;, &apos;-&apos;, заменяется на &apos;_&apos;,
  /dev/ отбрасывается). --out - и --csv - — только для одного порта. Ctrl+C
  останавливает все линии. --trace пишет посылки всех линий в один файл, с именем порта.
</source>
        <translation>Several lines: PORT is a comma-separated list of ports; the lines work in parallel,
one exchange at a time on each (the ports command does not concern lines):
  --port ttyUSB0,ttyUSB1 --address 1-8   one address LIST for every port
  --port ttyUSB0:1-8,ttyUSB1:1,3,5       a port&apos;s own LIST after its last &apos;:&apos;
  (for a network address HOST:PORT the list follows the second &apos;:&apos;: tcp://10.0.0.5:4001:1-3;
  an existing path /dev/... is taken whole). A port without its own list takes --address.
  Report per port: every line begins with the port&apos;s name, the lines of one line come
  together; JSON: &quot;ports&quot; holds one document per port; the exit status is the highest of the lines.
  Each port has its own --out and --csv files: _PORT and then _ADDRESS are added to the name
  (set_ttyUSB0_3.kpr; in the port name everything but letters, digits, &apos;.&apos;, &apos;-&apos; becomes &apos;_&apos;,
  /dev/ is dropped). --out - and --csv - only for a single port. Ctrl+C
  stops all lines. --trace writes the parcels of all lines into one file, with the port name.
</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="390"/>
        <source>kestrin-cli ports
  Список портов, которые находит библиотека обмена сейчас.
  Постоянные имена адаптеров (/dev/serial/by-id/...) идут за их ttyUSBn,
  после ссылки &quot;-&gt;&quot; указано устройство, на которое она указывает.

</source>
        <translation>kestrin-cli ports
  The ports the exchange library finds now.
  Persistent adapter names (/dev/serial/by-id/...) follow their ttyUSBn;
  after the arrow &quot;-&gt;&quot; stands the device the link points to.

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="396"/>
        <source>kestrin-cli scan --port ПОРТ [--speed СКОРОСТЬ|all]
  Поиск приборов на линии (широковещательный запрос идентификации) на одной или на всех
  семи скоростях (по умолчанию all). Для каждого найденного прибора: адрес, скорость,
  номер типа, запись каталога, версия.

</source>
        <translation>kestrin-cli scan --port PORT [--speed SPEED|all]
  Searches the line for instruments (broadcast identification request) at one or at all
  seven speeds (all by default). For each instrument found: address, speed,
  type number, catalogue entry, version.

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="404"/>
        <source>kestrin-cli read --port ПОРТ --speed СКОРОСТЬ --address СПИСОК [--type ИМЯ] [--out ФАЙЛ]
  Чтение всех параметров по правилам программы: проверка версии и описания параметров
  версии прибора, повторы по ReRead из kestrin.ini, без вопросов: параметр, который не
  читается, сообщается, чтение продолжается.
  --out ФАЙЛ.kpr  файл параметров прибора, как его сохраняет окно программы
  --out ФАЙЛ.json документ JSON;  --out -  JSON на стандартный вывод
  При нескольких адресах к имени файла добавляется _АДРЕС (set_3.kpr).
  --type ИМЯ      запись каталога (по умолчанию первая)

</source>
        <translation>kestrin-cli read --port PORT --speed SPEED --address LIST [--type NAME] [--out FILE]
  Reads all parameters by the program&apos;s rules: checks the version and the parameter
  descriptions of the instrument&apos;s version, retries by ReRead from kestrin.ini, asks nothing:
  a parameter that cannot be read is reported and the read goes on.
  --out FILE.kpr  the instrument&apos;s parameter file, as the program&apos;s window saves it
  --out FILE.json a JSON document;  --out -  JSON on standard output
  With several addresses _ADDRESS is added to the file name (set_3.kpr).
  --type NAME     catalogue entry (the first by default)

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="417"/>
        <source>kestrin-cli write --port ПОРТ --speed СКОРОСТЬ --address СПИСОК --in ФАЙЛ [--verify] [--dry-run] [--file-address]
  Запись всех параметров из файла .kpr или .json с проверкой значений, как в окне
  программы (пределы, пустые значения). Прибор сохраняет свой сетевой адрес; смена
  скорости или адреса сообщается, проверка идёт по новому адресу и скорости.
  Документ JSON с несколькими приборами: каждому адресу — прибор с этим адресом.
  Значения битовых строк этот протокол не передаёт: они не записываются и не
  проверяются, значение, отличное от заводского, даёт код 3.
  --verify        прочитать записанное и сообщить о каждом расхождении
  --dry-run       только проверить и показать, что было бы записано, ничего не отправляя
  --file-address  записать и сетевой адрес из файла (только для одного адреса;
                  занятый другим прибором адрес не присваивается)

</source>
        <translation>kestrin-cli write --port PORT --speed SPEED --address LIST --in FILE [--verify] [--dry-run] [--file-address]
  Writes all parameters from a .kpr or .json file, checking the values as the program&apos;s
  window does (limits, empty values). The instrument keeps its network address; a change
  of speed or address is reported, the verification uses the new address and speed.
  A JSON document with several instruments: each address gets the instrument with that address.
  This protocol does not carry the values of bit strings: they are neither written nor
  verified; a value other than the factory one gives exit status 3.
  --verify        read back what was written and report every mismatch
  --dry-run       only check and show what would be written, sending nothing
  --file-address  write the file&apos;s network address too (one address only;
                  an address taken by another instrument is not assigned)

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="434"/>
        <source>kestrin-cli diff --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --in ФАЙЛ
  Сравнение значений прибора с файлом, параметр за параметром. Битовые строки не
  сравниваются (протокол не читает их значения).

</source>
        <translation>kestrin-cli diff --port PORT --speed SPEED --address ADDRESS --in FILE
  Compares the instrument&apos;s values with the file, parameter by parameter. Bit strings are
  not compared (the protocol does not read their values).

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="440"/>
        <source>kestrin-cli measure --port ПОРТ --speed СКОРОСТЬ --address АДРЕС [--channels 1,3]
                    --seconds N --csv ФАЙЛ|-
  Опрос измеряемых значений с периодом Tmin каталога. Одна строка CSV на отсчёт,
  пять столбцов time,minutes,address,channel,value: местное время ISO, минуты от
  начала, адрес, канал, значение; строка записывается сразу.

</source>
        <translation>kestrin-cli measure --port PORT --speed SPEED --address ADDRESS [--channels 1,3]
                    --seconds N --csv FILE|-
  Polls the measured values with the catalogue&apos;s period Tmin. One CSV line per sample,
  five columns time,minutes,address,channel,value: local ISO time, minutes since the
  start, address, channel, value; each line is written at once.

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="449"/>
        <source>kestrin-cli calibrate --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --what line|compensator
  Калибровка сопротивления линии (rL) или компенсатора (rC) и ожидание её конца.

</source>
        <translation>kestrin-cli calibrate --port PORT --speed SPEED --address ADDRESS --what line|compensator
  Calibrates the line resistance (rL) or the compensator (rC) and waits for it to end.

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliArgs.cpp" line="455"/>
        <source>kestrin-cli — настройка приборов серии Kestrin K1 без окна.
Использование: kestrin-cli КОМАНДА [параметры]

Команды:
  ports      список портов
  scan       поиск приборов на линии
  read       чтение всех параметров (в файл .kpr или .json)
  write      запись всех параметров из файла, с проверкой чтением
  diff       сравнение прибора с файлом
  measure    опрос измеряемых значений в CSV
  calibrate  калибровка rL или rC
kestrin-cli КОМАНДА --help описывает команду.

</source>
        <translation>kestrin-cli — setting up Kestrin K1 series instruments without a window.
Usage: kestrin-cli COMMAND [options]

Commands:
  ports      list the ports
  scan       search the line for instruments
  read       read all parameters (into a .kpr or .json file)
  write      write all parameters from a file, verified by reading
  diff       compare an instrument with a file
  measure    poll the measured values into CSV
  calibrate  calibrate rL or rC
kestrin-cli COMMAND --help describes the command.

</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="90"/>
        <source>ошибка %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="91"/>
        <source>ошибка %1: %2</source>
        <translation>error %1: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="312"/>
        <source>не найден файл %1 в каталоге программы %2</source>
        <translation>file %1 not found in the program directory %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="318"/>
        <source>библиотека обмена: %1</source>
        <translation>exchange library: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="322"/>
        <location filename="../src/cli/CliCommands.cpp" line="1135"/>
        <location filename="../src/cli/CliFiles.cpp" line="321"/>
        <source>Не удалось создать файл &quot;%1&quot;: %2</source>
        <translation>Could not create file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="338"/>
        <source>неверный сетевой адрес &quot;%1&quot;: %2</source>
        <translation>invalid network address &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="352"/>
        <source>каталог devices.ini пуст</source>
        <translation>the catalogue devices.ini is empty</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="362"/>
        <source>тип &quot;%1&quot; не найден в каталоге</source>
        <translation>type &quot;%1&quot; not found in the catalogue</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="370"/>
        <source>неизвестный порт &quot;%1&quot;; доступные порты: %2</source>
        <translation>unknown port &quot;%1&quot;; available ports: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="371"/>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="380"/>
        <source>нет файла описаний параметров типа &quot;%1&quot;: %2</source>
        <translation>no parameter description file for type &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="386"/>
        <source>--out: нужен файл .%1, .json или -</source>
        <translation>--out: a .%1 or .json file or - is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="424"/>
        <source>адрес %1</source>
        <translation>address %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="431"/>
        <source>  не выполнено: &quot;%1&quot;, %2</source>
        <translation>  not done: &quot;%1&quot;, %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="452"/>
        <source>у прибора версия &quot;%1&quot;, для неё нет описаний параметров: %2</source>
        <translation>the instrument has version &quot;%1&quot;, there are no parameter descriptions for it: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="456"/>
        <source>файлы не читаются</source>
        <translation>the files cannot be read</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="457"/>
        <source>нет файла %1</source>
        <translation>no file %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="468"/>
        <source>Нет связи с прибором! По адресу %1 ответил прибор другого типа: номер типа %2%3, а выбран &quot;%4&quot; (номер типа %5)</source>
        <translation>No connection with the instrument! An instrument of another type answered at address %1: type number %2%3, but &quot;%4&quot; (type number %5) is selected</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="507"/>
        <source>ошибка записи файла &quot;%1&quot;: %2; трассировка неполная, в файле записаны посылки до последней целой строки</source>
        <translation>error writing file &quot;%1&quot;: %2; the trace is incomplete, the file holds the parcels up to the last whole line</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="518"/>
        <source>Остановлено.</source>
        <translation>Stopped.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="519"/>
        <source>Итого: выполнено %1 из %2.</source>
        <translation>Total: done %1 of %2.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="535"/>
        <source>Адрес %1: не выполнено (остановлено)</source>
        <translation>Address %1: not done (stopped)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="584"/>
        <source>адрес %1, скорость %2, номер типа %3, &quot;%4&quot;, версия &quot;%5&quot;</source>
        <translation>address %1, speed %2, type number %3, &quot;%4&quot;, version &quot;%5&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="598"/>
        <source>скорость %1: Поиск прерван, %2</source>
        <translation>speed %1: search interrupted, %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="607"/>
        <source>Поиск приборов завершен! Найдено: %1.</source>
        <translation>Instrument search complete! Found: %1.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="609"/>
        <source>Поиск приборов выполнен не полностью (скоростей: %1 из %2). Найдено: %3.</source>
        <translation>The instrument search did not complete (speeds: %1 of %2). Found: %3.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="617"/>
        <source>Приборы не найдены.</source>
        <translation>No instruments found.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="653"/>
        <source>Прочитано не всё: не прочитано параметров %1 из %2</source>
        <translation>Not everything was read: %1 of %2 parameters not read</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="670"/>
        <source>Адрес %1: %2</source>
        <translation>Address %1: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="684"/>
        <source>%1 (&quot;%2&quot;, версия &quot;%3&quot;)</source>
        <translation>%1 (&quot;%2&quot;, version &quot;%3&quot;)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="698"/>
        <source>  файл %1 не записан: чтение не завершено</source>
        <translation>  file %1 not written: the read did not complete</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="706"/>
        <source>  записан файл %1</source>
        <translation>  file %1 written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="728"/>
        <source>Записан файл %1</source>
        <translation>File %1 written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="741"/>
        <source>файл %1 не принят</source>
        <translation>file %1 refused</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="743"/>
        <source> (прибор с адресом %1)</source>
        <translation> (instrument with address %1)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="802"/>
        <source>  &quot;%1&quot; = %2: не %3 — значения битовых строк этот протокол не передаёт</source>
        <translation>  &quot;%1&quot; = %2: not %3 — this protocol does not carry the values of bit strings</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="813"/>
        <source>  битовые строки (протокол не передаёт значений, не %1): %2</source>
        <translation>  bit strings (the protocol carries no values, not %1): %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="828"/>
        <source>Адрес %1: было бы отправлено (ничего не отправлено):</source>
        <translation>Address %1: would be sent (nothing was sent):</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="840"/>
        <source>(не кодируется)</source>
        <translation>(cannot be encoded)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="855"/>
        <source>будет записано</source>
        <translation>to be written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="909"/>
        <source>адрес %1 из файла занят другим прибором, ничего не записано</source>
        <translation>address %1 from the file is taken by another instrument, nothing written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="912"/>
        <source>проверка адреса %1: %2, ничего не записано</source>
        <translation>checking address %1: %2, nothing written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="935"/>
        <source>версия прибора &quot;%1&quot; не подходит к файлу (версия &quot;%2&quot;), ничего не записано</source>
        <translation>instrument version &quot;%1&quot; does not match the file (version &quot;%2&quot;), nothing written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="953"/>
        <source>  ничего не записано</source>
        <translation>  nothing written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="954"/>
        <source>  записано параметров %1 из %2: %3</source>
        <translation>  parameters written: %1 of %2: %3</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="960"/>
        <source>  сетевой адрес прибора изменён: %1 → %2</source>
        <translation>  instrument&apos;s network address changed: %1 → %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="966"/>
        <source>  скорость обмена прибора изменена: %1 → %2</source>
        <translation>  instrument&apos;s baud rate changed: %1 → %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="974"/>
        <source>записано</source>
        <translation>written</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1000"/>
        <source>адрес %1 проверка</source>
        <translation>address %1 verification</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1017"/>
        <source>  расхождение: &quot;%1&quot;: записано %2, прочитано %3</source>
        <translation>  mismatch: &quot;%1&quot;: written %2, read %3</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1026"/>
        <source>  проверка: %1, сверено параметров: %2, расхождений: %3, не проверено битовых строк: %4</source>
        <translation>  verification: %1, parameters compared: %2, mismatches: %3, bit strings not verified: %4</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1058"/>
        <source>Адрес %1: версия прибора &quot;%2&quot; не подходит к файлу, ничего не сравнено</source>
        <translation>Address %1: instrument version &quot;%2&quot; does not match the file, nothing compared</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1081"/>
        <source>  &quot;%1&quot;: файл %2, прибор %3</source>
        <translation>  &quot;%1&quot;: file %2, instrument %3</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1093"/>
        <source>сравнено</source>
        <translation>compared</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1096"/>
        <source>  ничего не сравнено</source>
        <translation>  nothing compared</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1098"/>
        <source>  сравнено параметров: %1, различий: %2</source>
        <translation>  parameters compared: %1, differences: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1102"/>
        <source>  сравнено только параметров: %1, различий среди них: %2</source>
        <translation>  only %1 parameters compared, differences among them: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1123"/>
        <source>--channels: у типа &quot;%1&quot; каналов %2</source>
        <translation>--channels: type &quot;%1&quot; has %2 channels</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1204"/>
        <source>%1, отсчётов: %2</source>
        <translation>%1, samples: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1215"/>
        <source>ошибка записи файла &quot;%1&quot;: %2; измерение прекращено, в файле записаны отсчёты до последней целой строки</source>
        <translation>error writing file &quot;%1&quot;: %2; measurement ended, the file holds the samples up to the last whole line</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1320"/>
        <source>порты %1 и %2 дают одно имя файла %3; задайте их в разных запусках</source>
        <translation>ports %1 and %2 give the same file name %3; give them in separate runs</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1382"/>
        <source>найдено %1</source>
        <translation>found %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1384"/>
        <source>%1 из %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1411"/>
        <source>Всего по портам (%1): найдено приборов %2; %3.</source>
        <translation>All ports (%1): instruments found: %2; %3.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1415"/>
        <source>Всего по портам (%1): выполнено %2 из %3; %4.</source>
        <translation>All ports (%1): done %2 of %3; %4.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1432"/>
        <source>kestrin-cli: %1
kestrin-cli --help: справка
</source>
        <translation>kestrin-cli: %1
kestrin-cli --help: help
</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="63"/>
        <source>файл не подходит к типу &quot;%1&quot; ни в одной версии описаний:</source>
        <translation>the file does not match type &quot;%1&quot; in any version of the descriptions:</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="67"/>
        <source>... и ещё %1</source>
        <translation>... and %1 more</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="79"/>
        <source>не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation>could not open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="85"/>
        <source>файл &quot;%1&quot; не является документом JSON: %2</source>
        <translation>file &quot;%1&quot; is not a JSON document: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="87"/>
        <source>нужен объект</source>
        <translation>an object is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="93"/>
        <source>в файле нет приборов</source>
        <translation>the file has no instruments</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="109"/>
        <source>в файле нет прибора с адресом %1 (есть: %2)</source>
        <translation>the file has no instrument with address %1 (it has: %2)</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="118"/>
        <source>файл для типа &quot;%1&quot;, выбран тип &quot;%2&quot;</source>
        <translation>the file is for type &quot;%1&quot;, type &quot;%2&quot; is selected</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="125"/>
        <source>нет описаний параметров версии &quot;%1&quot;</source>
        <translation>no parameter descriptions for version &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="129"/>
        <source>в файле нет списка &quot;parameters&quot;</source>
        <translation>the file has no &quot;parameters&quot; list</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="155"/>
        <source>неизвестные параметры: %1</source>
        <translation>unknown parameters: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="158"/>
        <source>нет параметров: %1</source>
        <translation>missing parameters: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="161"/>
        <source>параметры заданы дважды: %1</source>
        <translation>parameters given twice: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="175"/>
        <source>файл не найден: %1</source>
        <translation>file not found: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="185"/>
        <source>файл &quot;%1&quot;: нужен .%2 или .json</source>
        <translation>file &quot;%1&quot;: .%2 or .json is needed</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="200"/>
        <source>Неверно введен параметр &quot;%1&quot; .</source>
        <translation>Parameter &quot;%1&quot; is entered incorrectly.</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="208"/>
        <source>параметр &quot;%1&quot;: нет варианта с номером &quot;%2&quot;</source>
        <translation>parameter &quot;%1&quot;: no option with number &quot;%2&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="215"/>
        <source>параметр &quot;%1&quot;: нужно 0 или 1, а не &quot;%2&quot;</source>
        <translation>parameter &quot;%1&quot;: 0 or 1 is needed, not &quot;%2&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="225"/>
        <source>параметр &quot;%1&quot;: неверное значение &quot;%2&quot;</source>
        <translation>parameter &quot;%1&quot;: invalid value &quot;%2&quot;</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="229"/>
        <source>параметр &quot;%1&quot;: значение %2 меньше минимума %3</source>
        <translation>parameter &quot;%1&quot;: value %2 is below the minimum %3</translation>
    </message>
    <message>
        <location filename="../src/cli/CliFiles.cpp" line="233"/>
        <source>параметр &quot;%1&quot;: значение %2 больше максимума %3</source>
        <translation>parameter &quot;%1&quot;: value %2 is above the maximum %3</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="71"/>
        <source>kestrin-cli: прервано без ожидания конца обмена
</source>
        <translation>kestrin-cli: interrupted without waiting for the exchange to end
</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="73"/>
        <source>kestrin-cli: остановка… (повторное Ctrl+C завершает сразу)
</source>
        <translation>kestrin-cli: stopping… (a second Ctrl+C quits at once)
</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="76"/>
        <source>kestrin-cli: терминал закрыт (SIGHUP), остановка…
</source>
        <translation>kestrin-cli: the terminal was closed (SIGHUP), stopping…
</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="77"/>
        <source>kestrin-cli: получатель вывода закрыл канал (SIGPIPE), остановка…
</source>
        <translation>kestrin-cli: the output&apos;s reader closed the pipe (SIGPIPE), stopping…
</translation>
    </message>
</context>
<context>
    <name>Common</name>
    <message>
        <location filename="../src/common/FileErrors.cpp" line="16"/>
        <source>папка не найдена</source>
        <translation>folder not found</translation>
    </message>
    <message>
        <location filename="../src/common/FileErrors.cpp" line="17"/>
        <source>файл не найден</source>
        <translation>file not found</translation>
    </message>
    <message>
        <location filename="../src/common/FileErrors.cpp" line="18"/>
        <source>нет прав доступа</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <location filename="../src/common/FileErrors.cpp" line="19"/>
        <source>на диске нет места</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <location filename="../src/common/FileErrors.cpp" line="20"/>
        <source>файловая система доступна только для чтения</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <location filename="../src/common/FileSave.cpp" line="22"/>
        <location filename="../src/common/FileSave.cpp" line="172"/>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <location filename="../src/common/FileSave.cpp" line="64"/>
        <source>файл не открыт</source>
        <translation>the file is not open</translation>
    </message>
    <message>
        <location filename="../src/common/FileSave.cpp" line="97"/>
        <source>Не удалось создать файл &quot;%1&quot;: %2</source>
        <translation>Could not create file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/common/FileSave.cpp" line="98"/>
        <source>Ошибка записи файла &quot;%1&quot;: %2</source>
        <translation>Error writing file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/common/IniFile.cpp" line="315"/>
        <source>файл слишком велик для перезаписи</source>
        <translation>the file is too large to rewrite</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="23"/>
        <source>нужен адрес вида tcp://узел:порт или rfc2217://узел:порт</source>
        <translation>an address like tcp://host:port or rfc2217://host:port is needed</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="33"/>
        <source>неизвестная схема «%1» (нужна tcp:// или rfc2217://)</source>
        <translation>unknown scheme “%1” (tcp:// or rfc2217:// is needed)</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="40"/>
        <source>не указаны узел и порт</source>
        <translation>no host and port given</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="46"/>
        <source>не закрыта скобка адреса IPv6</source>
        <translation>the IPv6 address bracket is not closed</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="49"/>
        <location filename="../src/common/NetAddress.cpp" line="54"/>
        <location filename="../src/common/NetAddress.cpp" line="70"/>
        <source>не указан порт</source>
        <translation>no port given</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="56"/>
        <source>адрес IPv6 пишется в квадратных скобках: [адрес]:порт</source>
        <translation>an IPv6 address is written in square brackets: [address]:port</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="62"/>
        <source>не указан узел</source>
        <translation>no host given</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="68"/>
        <source>недопустимый символ в имени узла «%1»</source>
        <translation>invalid character in host name “%1”</translation>
    </message>
    <message>
        <location filename="../src/common/NetAddress.cpp" line="77"/>
        <source>порт «%1»: нужно число от 1 до 65535</source>
        <translation>port “%1”: a number from 1 to 65535 is needed</translation>
    </message>
</context>
<context>
    <name>DevTableFiles</name>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="133"/>
        <source>Сохранение параметров прибора в файл</source>
        <translation>Save instrument parameters to file</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="136"/>
        <source>Файл параметров прибора (*.%1)</source>
        <translation>Instrument parameter file (*.%1)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="137"/>
        <source>Текстовый файл (*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="138"/>
        <source>Документ Word (*.doc)</source>
        <translation>Word document (*.doc)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="139"/>
        <source>Книга MS Excel (*.xls)</source>
        <translation>MS Excel workbook (*.xls)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="140"/>
        <source>Web Page (*.html)</source>
        <translation>Web page (*.html)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="155"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="176"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="184"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="193"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="164"/>
        <source>Загрузка параметров прибора из файла</source>
        <translation>Load instrument parameters from file</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="167"/>
        <source>Файлы параметров прибора (*.%1)</source>
        <translation>Instrument parameter files (*.%1)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="175"/>
        <source>Ошибка! Файл не найден!</source>
        <translation>Error! File not found!</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="190"/>
        <source>Файл параметров не загружен: значение в строке %1 содержит перевод строки.</source>
        <translation>Parameter file not loaded: the value in line %1 contains a line break.</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="210"/>
        <source>Принтер не установлен. Настройте принтер по умолчанию и повторите печать.</source>
        <translation>No printer installed. Set up a default printer and print again.</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="212"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="218"/>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="47"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="132"/>
        <source>Чтение завершено</source>
        <translation>Read complete</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="50"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="230"/>
        <source>Запись завершена</source>
        <translation>Write complete</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="53"/>
        <location filename="../src/exchange/Calib.cpp" line="20"/>
        <location filename="../src/exchange/Measure.cpp" line="48"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="44"/>
        <source>Нет связи с прибором!</source>
        <translation>No connection with the instrument!</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="481"/>
        <location filename="../src/exchange/Calib.cpp" line="26"/>
        <location filename="../src/exchange/Measure.cpp" line="39"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="135"/>
        <source>Ошибка чтения: %1</source>
        <translation>Read error: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="483"/>
        <location filename="../src/exchange/Calib.cpp" line="23"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="158"/>
        <source>Ошибка записи: %1</source>
        <translation>Write error: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="484"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="52"/>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1199"/>
        <location filename="../src/cli/CliCommands.cpp" line="1202"/>
        <location filename="../src/exchange/Measure.cpp" line="101"/>
        <location filename="../src/exchange/Measure.cpp" line="120"/>
        <source>Измерение остановлено</source>
        <translation>Measurement stopped</translation>
    </message>
    <message>
        <location filename="../src/cli/CliCommands.cpp" line="1237"/>
        <location filename="../src/exchange/Calib.cpp" line="32"/>
        <source>Параметр откалиброван</source>
        <translation>Parameter calibrated</translation>
    </message>
    <message>
        <location filename="../src/cli/CliUi.cpp" line="11"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="97"/>
        <source>Прибор имеет параметры отличные от представленных в списке!<byte value="xd"/>Загрузить новый список параметров и продолжить чтение?</source>
        <translation>The instrument has parameters other than those in the list!<byte value="xd"/>Load the new parameter list and continue reading?</translation>
    </message>
    <message>
        <location filename="../src/cli/CliUi.cpp" line="14"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="167"/>
        <source>Прибор имеет параметры отличные от представленных в списке!<byte value="xd"/>Загрузить новый список параметров и продолжить запись?</source>
        <translation>The instrument has parameters other than those in the list!<byte value="xd"/>Load the new parameter list and continue writing?</translation>
    </message>
    <message>
        <location filename="../src/exchange/Calib.cpp" line="17"/>
        <source>Калибровка...</source>
        <translation>Calibrating...</translation>
    </message>
    <message>
        <location filename="../src/exchange/Calib.cpp" line="29"/>
        <source>Остановлено пользователем</source>
        <translation>Stopped by the user</translation>
    </message>
    <message>
        <location filename="../src/exchange/Calib.cpp" line="35"/>
        <source>Ошибка калибровки</source>
        <translation>Calibration error</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="9"/>
        <source>неверное значение, или ответ не того вида, которого ждет запрос</source>
        <translation>invalid value, or an answer of another kind than the request expects</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="12"/>
        <source>ответил прибор с другим сетевым адресом</source>
        <translation>an instrument with another network address answered</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="14"/>
        <source>код ответа после «$» не является числом</source>
        <translation>the answer code after “$” is not a number</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="16"/>
        <source>прибор ответил кодом ошибки «$1»</source>
        <translation>the instrument answered with error code “$1”</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="18"/>
        <source>неверный описатель связи</source>
        <translation>invalid connection handle</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="20"/>
        <source>порт не существует</source>
        <translation>the port does not exist</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="22"/>
        <source>нет прав доступа к порту (группа dialout)</source>
        <translation>no permission for the port (group dialout)</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="24"/>
        <source>порт не удалось открыть (занят другой программой или недоступен; сетевой порт: сервер не отвечает или отказал в соединении)</source>
        <translation>the port could not be opened (in use by another program or unavailable; network port: the server does not answer or refused the connection)</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="28"/>
        <source>скорость не поддерживается портом</source>
        <translation>the port does not support the speed</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="30"/>
        <source>недопустимое время ожидания</source>
        <translation>invalid timeout</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="32"/>
        <source>порт не открыт</source>
        <translation>the port is not open</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="34"/>
        <source>не удалось передать запрос в порт</source>
        <translation>could not send the request to the port</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="36"/>
        <source>нет ответа в течение времени ожидания</source>
        <translation>no answer within the timeout</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="38"/>
        <source>ответ длиннее 254 символов</source>
        <translation>the answer is longer than 254 characters</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="40"/>
        <source>искаженный ответ (неверный формат посылки)</source>
        <translation>garbled answer (invalid parcel format)</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="42"/>
        <source>контрольная сумма ответа не совпадает</source>
        <translation>the answer&apos;s checksum does not match</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="44"/>
        <source>текст не помещается в буфер</source>
        <translation>the text does not fit into the buffer</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="46"/>
        <source>связь с портом потеряна (устройство отключено, ошибка ввода-вывода, сервер закрыл соединение)</source>
        <translation>connection with the port lost (device unplugged, input/output error, the server closed the connection)</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="50"/>
        <source>сервер не поддерживает RFC 2217 (управление последовательным портом); такой сервер подключают как tcp://</source>
        <translation>the server does not support RFC 2217 (serial port control); connect such a server as tcp://</translation>
    </message>
    <message>
        <location filename="../src/exchange/CodeMeaning.cpp" line="62"/>
        <source>Код %1: %2</source>
        <translation>Code %1: %2</translation>
    </message>
    <message>
        <location filename="../src/exchange/KvLibrary.cpp" line="44"/>
        <source>Не найдена библиотека обмена %1</source>
        <translation>Exchange library %1 not found</translation>
    </message>
    <message>
        <location filename="../src/exchange/KvLibrary.cpp" line="49"/>
        <source>Не удалось загрузить библиотеку обмена %1: %2</source>
        <translation>Could not load the exchange library %1: %2</translation>
    </message>
    <message>
        <location filename="../src/exchange/KvLibrary.cpp" line="67"/>
        <source>В библиотеке обмена %1 нет функции %2</source>
        <translation>The exchange library %1 has no function %2</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="33"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="90"/>
        <source>Чтение из прибора...</source>
        <translation>Reading from the instrument...</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="40"/>
        <source>Измерение остановлено, ошибка: %1</source>
        <translation>Measurement stopped, error: %1</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="41"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="13"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="43"/>
        <source>идет обмен</source>
        <translation>exchanging</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="51"/>
        <source>Нет каналов для измерения</source>
        <translation>No channels to measure</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="86"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="114"/>
        <source>Ошибка чтения данных! Повторить?</source>
        <translation>Error reading data! Retry?</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="103"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="122"/>
        <source>Ошибка чтения</source>
        <translation>Read error</translation>
    </message>
    <message>
        <location filename="../src/exchange/Measure.cpp" line="125"/>
        <source>нет обмена</source>
        <translation>no exchange</translation>
    </message>
    <message>
        <location filename="../src/exchange/PortAccess.cpp" line="33"/>
        <source>Нет прав на порт %1. Доступ к нему настраивает администратор системы (группа устройства или правило udev).</source>
        <translation>No permission for port %1. Access to it is set up by the system administrator (the device&apos;s group or a udev rule).</translation>
    </message>
    <message>
        <location filename="../src/exchange/PortAccess.cpp" line="37"/>
        <source>Порт %1 принадлежит группе %2. Чтобы работать с ним, добавьте себя в эту группу и войдите в систему заново:
sudo usermod -aG %2 $USER</source>
        <translation>Port %1 belongs to group %2. To work with it, add yourself to that group and log in again:
sudo usermod -aG %2 $USER</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="10"/>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="16"/>
        <source>Данная модификация прибора не поддерживается программой!<byte value="xd"/>Для работы с прибором необходимо обновить программу.</source>
        <translation>This instrument model is not supported by the program!<byte value="xd"/>Update the program to work with this instrument.</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="30"/>
        <source>Неверно введен параметр &quot;%1&quot; .</source>
        <translation>Parameter &quot;%1&quot; is entered incorrectly.</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="31"/>
        <source>Ошибка ввода данных</source>
        <translation>Data entry error</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="100"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="120"/>
        <source>Чтение остановлено</source>
        <translation>Read stopped</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="136"/>
        <source>Чтение остановлено, ошибка: %1</source>
        <translation>Read stopped, error: %1</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="147"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="173"/>
        <source>Проверка параметров...</source>
        <translation>Checking parameters...</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="149"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="175"/>
        <source>Неверные данные</source>
        <translation>Invalid data</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="152"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="177"/>
        <source>Запись в прибор...</source>
        <translation>Writing to the instrument...</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="159"/>
        <source>Запись остановлена, ошибка: %1</source>
        <translation>Write stopped, error: %1</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="170"/>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="198"/>
        <source>Запись остановлена</source>
        <translation>Write stopped</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="192"/>
        <source>Ошибка записи данных! Повторить?</source>
        <translation>Error writing data! Retry?</translation>
    </message>
    <message>
        <location filename="../src/exchange/ReadWriteAll.cpp" line="206"/>
        <source>Ошибка записи</source>
        <translation>Write error</translation>
    </message>
</context>
<context>
    <name>Formats</name>
    <message>
        <location filename="../src/formats/Biff8Writer.cpp" line="179"/>
        <location filename="../src/formats/Biff8Writer.cpp" line="308"/>
        <source>Таблица слишком велика для книги Excel.</source>
        <translation>The table is too large for an Excel workbook.</translation>
    </message>
    <message>
        <location filename="../src/formats/DevTableGrid.cpp" line="112"/>
        <source>строка %1: &quot;%2&quot; вместо &quot;%3&quot;</source>
        <translation>row %1: &quot;%2&quot; instead of &quot;%3&quot;</translation>
    </message>
    <message>
        <location filename="../src/formats/MeasureRecord.cpp" line="47"/>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="223"/>
        <source>Файл параметров повреждён (байт %1): %2.</source>
        <translation>The parameter file is damaged (byte %1): %2.</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="228"/>
        <source>файл неожиданно закончился</source>
        <translation>the file ended unexpectedly</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="263"/>
        <source>неверная сигнатура записи</source>
        <translation>invalid record signature</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="288"/>
        <source>вложенные объекты не поддерживаются</source>
        <translation>nested objects are not supported</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="338"/>
        <location filename="../src/formats/ParamSetFile.cpp" line="426"/>
        <source>недопустимое значение свойства &quot;%1&quot;</source>
        <translation>invalid value of property &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="347"/>
        <source>неизвестный тип значения 0x%1 у свойства &quot;%2&quot;</source>
        <translation>unknown value type 0x%1 of property &quot;%2&quot;</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="441"/>
        <source>неверный тип значения свойства &quot;%1&quot;</source>
        <translation>wrong value type of property &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="464"/>
        <source>неизвестное свойство &quot;%1&quot;</source>
        <translation>unknown property &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="670"/>
        <source>графика ячейки этого вида не поддерживается</source>
        <translation>cell graphics of this kind are not supported</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="717"/>
        <source>недопустимый размер таблицы %1 x %2</source>
        <translation>invalid table size %1 x %2</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="744"/>
        <source>ячейка (%1, %2) вне таблицы</source>
        <translation>cell (%1, %2) outside the table</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="777"/>
        <source>Не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation>Could not open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="782"/>
        <location filename="../src/formats/ParamSetFile.cpp" line="801"/>
        <source>Файл &quot;%1&quot; слишком велик для файла параметров.</source>
        <translation>File &quot;%1&quot; is too large for a parameter file.</translation>
    </message>
    <message>
        <location filename="../src/formats/ParamSetFile.cpp" line="806"/>
        <source>Ошибка чтения файла &quot;%1&quot;: %2</source>
        <translation>Error reading file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/formats/TableExport.cpp" line="300"/>
        <source>Неизвестный формат экспорта: &quot;%1&quot;.</source>
        <translation>Unknown export format: &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <location filename="../src/gui/main.cpp" line="42"/>
        <source>kestrin: --lang: нужно en или ru, а не «%1»</source>
        <translation>kestrin: --lang: en or ru is needed, not “%1”</translation>
    </message>
</context>
<context>
    <name>Model</name>
    <message>
        <location filename="../src/model/Project.cpp" line="15"/>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="18"/>
        <source>Текущий проект был изменен. Сохранить?</source>
        <translation>The current project has been changed. Save it?</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="63"/>
        <source>Не удалось сохранить проект!<byte value="xd"/>Значение в строке %1 содержит перевод строки.</source>
        <translation>Could not save the project!<byte value="xd"/>The value in row %1 contains a line break.</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="91"/>
        <source>Не удалось сохранить проект!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the project!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="95"/>
        <source>Проект был сохранен</source>
        <translation>The project was saved</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="100"/>
        <source>Сохранение проекта</source>
        <translation>Save project</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="101"/>
        <source>Проект (*.prj)</source>
        <translation>Project (*.prj)</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="122"/>
        <source>Не удалось загрузить проект!<byte value="xd"/>Неизвестная модификация прибора.</source>
        <translation>Could not open the project!<byte value="xd"/>Unknown instrument model.</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="149"/>
        <source>Проект был открыт</source>
        <translation>The project was opened</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="163"/>
        <source>Загрузка проекта</source>
        <translation>Open project</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="164"/>
        <source>Проекты (*.prj)</source>
        <translation>Projects (*.prj)</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="174"/>
        <source>Внимание</source>
        <translation>Attention</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="191"/>
        <source>Проект был закрыт</source>
        <translation>The project was closed</translation>
    </message>
    <message>
        <location filename="../src/model/Project.cpp" line="211"/>
        <source>Открыт новый проект</source>
        <translation>New project opened</translation>
    </message>
</context>
<context>
    <name>TChart</name>
    <message>
        <location filename="../src/chart/Chart.cpp" line="67"/>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
</context>
<context>
    <name>TDevCell</name>
    <message>
        <location filename="../src/ui/DevCell.cpp" line="12"/>
        <source>Значение не получено из прибора</source>
        <translation>Value not read from the instrument</translation>
    </message>
</context>
<context>
    <name>THelpWindow</name>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="18"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="23"/>
        <source>Назад</source>
        <translation>Back</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="24"/>
        <source>Содержание</source>
        <translation>Contents</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="25"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="48"/>
        <source>&lt;p&gt;Файл справки не найден: %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Help file not found: %1&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>TLineLogModel</name>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
        <source>Напр.</source>
        <translation>Dir.</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="234"/>
        <source>Посылка</source>
        <translation>Frame</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="234"/>
        <source>Результат</source>
        <translation>Result</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="234"/>
        <source>Назначение</source>
        <translation>Purpose</translation>
    </message>
</context>
<context>
    <name>TMainExchange</name>
    <message>
        <location filename="../src/ui/MainExchange.cpp" line="42"/>
        <source>Непредвиденная ошибка при обмене с прибором:<byte value="xd"/>%1</source>
        <translation>Unexpected error in the exchange with the instrument:<byte value="xd"/>%1</translation>
    </message>
    <message>
        <location filename="../src/ui/MainExchange.cpp" line="42"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>TablePrint</name>
    <message>
        <location filename="../src/ui/TablePrint.cpp" line="67"/>
        <source>ПРИБОР %1. ТАБЛИЦА ПАРАМЕТРОВ ПРИБОРА.</source>
        <translation>INSTRUMENT %1. INSTRUMENT PARAMETER TABLE.</translation>
    </message>
    <message>
        <location filename="../src/ui/TablePrint.cpp" line="176"/>
        <source>Не удалось начать печать: принтер недоступен.</source>
        <translation>Could not start printing: the printer is not available.</translation>
    </message>
    <message>
        <location filename="../src/ui/TablePrint.cpp" line="179"/>
        <source>Печать прервана.</source>
        <translation>Printing aborted.</translation>
    </message>
    <message>
        <location filename="../src/ui/TablePrint.cpp" line="181"/>
        <source>Ошибка печати: задание не завершено.</source>
        <translation>Printing error: the job did not finish.</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <location filename="../src/ui/AboutWindow.cpp" line="96"/>
        <source>О Программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <location filename="../src/ui/AboutWindow.cpp" line="105"/>
        <source>Программа настройки 
приборов серии</source>
        <translation>Setup program for
the instrument series</translation>
    </message>
    <message>
        <location filename="../src/ui/AboutWindow.cpp" line="114"/>
        <source>Группа сервисного ПО</source>
        <translation>Service Software Group</translation>
    </message>
</context>
<context>
    <name>TfrmCalib</name>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="57"/>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="60"/>
        <source>Калибровать сопротивление линии (rL)</source>
        <translation>Calibrate line resistance (rL)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="61"/>
        <source>Остановить калибровку сопротивления линии (rL)</source>
        <translation>Stop line resistance calibration (rL)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="62"/>
        <source>Калибровать сопротивление компенсатора (rC)</source>
        <translation>Calibrate compensator resistance (rC)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="63"/>
        <source>Остановить калибровку сопротивления компенс. (rC)</source>
        <translation>Stop compensator resistance calibration (rC)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="64"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="65"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>TfrmChan</name>
    <message>
        <location filename="../src/ui/ChanTable.cpp" line="59"/>
        <source> Параметр</source>
        <translation> Parameter</translation>
    </message>
    <message>
        <location filename="../src/ui/ChanTable.cpp" line="71"/>
        <source>Скопировать настройки канала в буфер</source>
        <translation>Copy channel settings to clipboard</translation>
    </message>
    <message>
        <location filename="../src/ui/ChanTable.cpp" line="72"/>
        <source>Вставить настройки канала из буфера</source>
        <translation>Paste channel settings from clipboard</translation>
    </message>
</context>
<context>
    <name>TfrmDev</name>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="19"/>
        <source>Ошибка ввода</source>
        <translation>Input error</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="22"/>
        <source>Неверно введены данные!</source>
        <translation>Invalid input!</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="25"/>
        <source>Введенное значение меньше минимально возможного для данного параметра! Будет установлено минимальное значение.</source>
        <translation>The value entered is below the minimum for this parameter! The minimum will be set.</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="29"/>
        <source>Введенное значение превышает максимально возможное для данного параметра! Будет установлено максимальное значение.</source>
        <translation>The value entered exceeds the maximum for this parameter! The maximum will be set.</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="264"/>
        <source> Параметр</source>
        <translation> Parameter</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="265"/>
        <source> Значение</source>
        <translation> Value</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="314"/>
        <source>Названия параметров прибора</source>
        <translation>Instrument parameter names</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTable.cpp" line="315"/>
        <source>Значения параметров прибора</source>
        <translation>Instrument parameter values</translation>
    </message>
</context>
<context>
    <name>TfrmDevSet</name>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="25"/>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="28"/>
        <source>Вернуться к настройке параметров связи?</source>
        <translation>Return to the link settings?</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="63"/>
        <source>Настройки связи</source>
        <translation>Link Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="66"/>
        <source> Общие настройки </source>
        <translation> General </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="67"/>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="70"/>
        <source>Каналов</source>
        <translation>Channels</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="79"/>
        <source> Настройки связи </source>
        <translation> Link settings </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="80"/>
        <location filename="../src/ui/ConnectionDialog.cpp" line="102"/>
        <source>СОМ-порт</source>
        <translation>COM port</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="84"/>
        <location filename="../src/ui/ConnectionDialog.cpp" line="106"/>
        <source>Скорость</source>
        <translation>Speed</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="86"/>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="91"/>
        <source>Проверить связь</source>
        <translation>Check link</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="101"/>
        <source> Поиск приборов </source>
        <translation> Instrument search </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="108"/>
        <source>Адреса</source>
        <translation>Addresses</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="110"/>
        <source>Поиск приборов</source>
        <translation>Search</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="113"/>
        <source>Скорость линии. У сетевого порта tcp:// скорость — собственная настройка сервера последовательных портов; порту rfc2217:// программа задает ее сама.</source>
        <translation>Line speed. For a tcp:// network port the speed is a setting of the serial port server itself; for an rfc2217:// port the program sets it.</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="126"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="127"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="307"/>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="18"/>
        <source>Не удалось установить связь с прибором!</source>
        <translation>Could not establish a link with the instrument!</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="327"/>
        <source>Данная модификация прибора не поддерживается программой!<byte value="xd"/>Для работы с прибором необходимо обновить программу.</source>
        <translation>This instrument model is not supported by the program!<byte value="xd"/>Update the program to work with this instrument.</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="384"/>
        <source>Выход невозможен - дождитесь окончания обмена с приборами!</source>
        <translation>Cannot exit - wait until the exchange with the instruments ends!</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="384"/>
        <source>выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="12"/>
        <source>Проверка связи с прибором...</source>
        <translation>Checking the link with the instrument...</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="15"/>
        <source>Связь с прибором установлена!</source>
        <translation>Link with the instrument established!</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="21"/>
        <source>Не удалось проверить связь с прибором, ошибка: </source>
        <translation>Could not check the link with the instrument, error: </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="127"/>
        <source>Поиск приборов...</source>
        <translation>Searching for instruments...</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="128"/>
        <source>Поиск прерван, ошибка: </source>
        <translation>Search aborted, error: </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="135"/>
        <source>Поиск приборов завершен!</source>
        <translation>Instrument search finished!</translation>
    </message>
</context>
<context>
    <name>TfrmLineMonitor</name>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="30"/>
        <source>Монитор обмена</source>
        <translation>Line Monitor</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="285"/>
        <source>Адрес:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="288"/>
        <source>все</source>
        <translation>all</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="290"/>
        <source>Показывать посылки только этого адреса</source>
        <translation>Show only the frames of this address</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="292"/>
        <source>Только ошибки</source>
        <translation>Errors only</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="294"/>
        <location filename="../src/ui/LineMonitor.cpp" line="360"/>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="296"/>
        <source>Остановить или продолжить вывод посылок (запись продолжается)</source>
        <translation>Stop or resume showing frames (logging goes on)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="297"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="298"/>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="299"/>
        <source>Копировать выделенные строки (Ctrl+C)</source>
        <translation>Copy the selected rows (Ctrl+C)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="300"/>
        <source>Сохранить...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="301"/>
        <source>Сохранить показанные строки в файл .txt или .csv</source>
        <translation>Save the shown rows to a .txt or .csv file</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="360"/>
        <source>Продолжить</source>
        <translation>Resume</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="429"/>
        <source>Показано: %1 из %2</source>
        <translation>Shown: %1 of %2</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="435"/>
        <source>; пауза, запись продолжается: новых %1</source>
        <translation>; paused, logging goes on: %1 new</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="438"/>
        <source>, пропущено: %1</source>
        <translation>, dropped: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="452"/>
        <source>Сохранить журнал обмена</source>
        <translation>Save exchange log</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="453"/>
        <source>Текст (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="453"/>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="464"/>
        <source>Не удалось сохранить журнал обмена!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the exchange log!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="41"/>
        <source>Текущий проект изменен</source>
        <translation>Project changed</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="44"/>
        <source>Текущий проект сохранен</source>
        <translation>Project saved</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="47"/>
        <source>Нет открытого проекта</source>
        <translation>No open project</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="50"/>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="101"/>
        <source>Ошибка! Не найдены файлы необходимые для работы программы!</source>
        <translation>Error! Files the program needs were not found!</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="101"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="159"/>
        <source>Новый</source>
        <translation>New</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="161"/>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="163"/>
        <location filename="../src/ui/MainWindow.cpp" line="188"/>
        <location filename="../src/ui/MainWindow.cpp" line="326"/>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="165"/>
        <source>Сохранить как...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="166"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="168"/>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="170"/>
        <source>Настройки программы</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="172"/>
        <source>Монитор обмена</source>
        <translation>Line Monitor</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="173"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="175"/>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="179"/>
        <source>Считать все параметры из прибора</source>
        <translation>Read all parameters from the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="180"/>
        <source>Записать все параметры в прибор</source>
        <translation>Write all parameters to the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="181"/>
        <source>Остановить обмен данными с прибором</source>
        <translation>Stop the exchange with the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="183"/>
        <location filename="../src/ui/MainWindow.cpp" line="321"/>
        <source>Чтение</source>
        <translation>Read</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="184"/>
        <location filename="../src/ui/MainWindow.cpp" line="194"/>
        <location filename="../src/ui/MainWindow.cpp" line="322"/>
        <location filename="../src/ui/MainWindow.cpp" line="330"/>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="185"/>
        <location filename="../src/ui/MainWindow.cpp" line="323"/>
        <source>Зав. уст-ки</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="186"/>
        <location filename="../src/ui/MainWindow.cpp" line="324"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="187"/>
        <location filename="../src/ui/MainWindow.cpp" line="325"/>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="189"/>
        <location filename="../src/ui/MainWindow.cpp" line="327"/>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="190"/>
        <source>Настройки
связи</source>
        <translation>Link
settings</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="191"/>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="192"/>
        <location filename="../src/ui/MainWindow.cpp" line="209"/>
        <location filename="../src/ui/MainWindow.cpp" line="328"/>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="193"/>
        <location filename="../src/ui/MainWindow.cpp" line="329"/>
        <source>Запись</source>
        <translation>Write</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="201"/>
        <source>Проект</source>
        <translation>Project</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="206"/>
        <location filename="../src/ui/MainWindow.cpp" line="369"/>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="234"/>
        <source>Новый проект (Ctrl+N)</source>
        <translation>New project (Ctrl+N)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="235"/>
        <source>Открыть проект (Ctrl+O)</source>
        <translation>Open project (Ctrl+O)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="236"/>
        <source>Сохранить проект (Ctrl+S)</source>
        <translation>Save project (Ctrl+S)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="237"/>
        <source>Закрыть проект (Ctrl+X)</source>
        <translation>Close project (Ctrl+X)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="249"/>
        <source>Помощь (F10)</source>
        <translation>Help (F10)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="370"/>
        <source>Каналы</source>
        <translation>Channels</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="371"/>
        <source>Измерение</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="400"/>
        <source>нет обмена</source>
        <translation>no exchange</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="610"/>
        <source>Вы действительно хотите записать все параметры в прибор?</source>
        <translation>Do you really want to write all parameters to the instrument?</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="611"/>
        <source>Запись параметров</source>
        <translation>Write parameters</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="667"/>
        <source>Вы действительно хотите произвести запись данных в прибор?</source>
        <translation>Do you really want to write the data to the instrument?</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="667"/>
        <source>Запись данных</source>
        <translation>Write data</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="724"/>
        <source>Не удалось сохранить настройки программы!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the program settings!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="736"/>
        <source>Системное время</source>
        <translation>System time</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="737"/>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="738"/>
        <source>Состояние проекта</source>
        <translation>Project state</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="739"/>
        <source>Состояние обмена</source>
        <translation>Exchange state</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="740"/>
        <source>Выполнение операции</source>
        <translation>Operation progress</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="775"/>
        <source>Идет обмен данными с прибором. Продолжить?</source>
        <translation>An exchange with the instrument is running. Continue?</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="775"/>
        <source>Обмен с прибором</source>
        <translation>Instrument exchange</translation>
    </message>
</context>
<context>
    <name>TfrmMeasure</name>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="169"/>
        <source> Текущие измерения </source>
        <translation> Current measurements </translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="180"/>
        <source> Измер. значение</source>
        <translation> Measured value</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="183"/>
        <source>Измерение</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="184"/>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="186"/>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="193"/>
        <location filename="../src/ui/MeasureView.cpp" line="595"/>
        <source>Запись в файл</source>
        <translation>Record to file</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="194"/>
        <source>Записывать каждое измерение в файл по мере опроса</source>
        <translation>Write every measurement to a file as it is polled</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="195"/>
        <source>Файл записи...</source>
        <translation>Record file...</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="196"/>
        <source>Выбрать файл записи измерения для проекта</source>
        <translation>Choose the measurement record file for the project</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="201"/>
        <source>Открыть запись...</source>
        <translation>Open record...</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="202"/>
        <source>Показать на графике записанное измерение</source>
        <translation>Show a recorded measurement on the chart</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="213"/>
        <source> График зависимости измеряемой величины от времени (в мин.) </source>
        <translation> Measured value versus time (min) </translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="229"/>
        <source>Сжать график по оси X</source>
        <translation>Zoom out on the X axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="230"/>
        <source>Сжать график по оси Y</source>
        <translation>Zoom out on the Y axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="231"/>
        <source>Растянуть график по оси Y</source>
        <translation>Zoom in on the Y axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="232"/>
        <source>Растянуть график по оси X</source>
        <translation>Zoom in on the X axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="233"/>
        <source>Сдвинуть график влево</source>
        <translation>Scroll the chart left</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="234"/>
        <source>Сдвинуть график вниз</source>
        <translation>Scroll the chart down</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="235"/>
        <source>Сдвинуть график вверх</source>
        <translation>Scroll the chart up</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="236"/>
        <source>Сдвинуть график вправо</source>
        <translation>Scroll the chart right</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="237"/>
        <source>Автоматическое масштабирование по оси X</source>
        <translation>Auto scale the X axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="238"/>
        <source>Автоматическое масштабирование по оси Y</source>
        <translation>Auto scale the Y axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="239"/>
        <source>Очистить график</source>
        <translation>Clear the chart</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="240"/>
        <source>Легенда</source>
        <translation>Legend</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="241"/>
        <source>Объемное изображение</source>
        <translation>3D view</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="242"/>
        <location filename="../src/ui/MeasureView.cpp" line="785"/>
        <location filename="../src/ui/MeasureView.cpp" line="791"/>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="243"/>
        <source>Сохранить в WMF</source>
        <translation>Save as WMF</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="245"/>
        <source>Диапазон времени</source>
        <translation>Time range</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 1    минуту</source>
        <translation>last 1    minute</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 5    минут</source>
        <translation>last 5    minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 10  минут</source>
        <translation>last 10  minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 15  минут</source>
        <translation>last 15  minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 30  минут</source>
        <translation>last 30  minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 1    час</source>
        <translation>last 1    hour</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 2    часа</source>
        <translation>last 2    hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 6    часов</source>
        <translation>last 6    hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 12  часов</source>
        <translation>last 12  hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 24  часа</source>
        <translation>last 24  hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 2     дня</source>
        <translation>last 2     days</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="249"/>
        <source>за 3     дня</source>
        <translation>last 3     days</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="249"/>
        <source>за 1     неделю</source>
        <translation>last 1     week</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="249"/>
        <source>за 1/2 месяца</source>
        <translation>last 1/2 month</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="249"/>
        <source>за 1     месяц</source>
        <translation>last 1     month</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="257"/>
        <source>Следовать за новыми точками: ось X показывает последние минуты выбранного диапазона (без диапазона - показанной сейчас ширины)</source>
        <translation>Follow new points: the X axis shows the latest minutes of the chosen range (with no range, of the width shown now)</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="400"/>
        <location filename="../src/ui/MeasureView.cpp" line="627"/>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="547"/>
        <source>Файл записи измерения</source>
        <translation>Measurement record file</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="548"/>
        <location filename="../src/ui/MeasureView.cpp" line="675"/>
        <source>Запись измерения (*.csv)</source>
        <translation>Measurement record (*.csv)</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="588"/>
        <source>Запись прекращена: %1</source>
        <translation>Recording stopped: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="592"/>
        <source>Запись измерения в файл прекращена: %1.<byte value="xd"/>Измерение продолжается, график сохраняет все точки.</source>
        <translation>Recording the measurement to file stopped: %1.<byte value="xd"/>The measurement goes on; the chart keeps every point.</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="605"/>
        <source>Запись: %1</source>
        <translation>Recording: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="609"/>
        <source>Запись начнется с измерением: %1</source>
        <translation>Recording starts with the measurement: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="611"/>
        <source>Файл записи: %1</source>
        <translation>Record file: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="651"/>
        <source>Адрес %1, канал %2</source>
        <translation>Address %1, channel %2</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="657"/>
        <source>Запись &quot;%1&quot; не открыта</source>
        <translation>Record &quot;%1&quot; not opened</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="659"/>
        <source>Не удалось открыть запись &quot;%1&quot;: %2</source>
        <translation>Could not open record &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="659"/>
        <location filename="../src/ui/MeasureView.cpp" line="777"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="663"/>
        <source>Открыта запись &quot;%1&quot;: отсчётов %2</source>
        <translation>Opened record &quot;%1&quot;: %2 readings</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="665"/>
        <source>, перерывов %1</source>
        <translation>, %1 gaps</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="667"/>
        <source>, непонятных строк %1</source>
        <translation>, %1 unreadable lines</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="674"/>
        <source>Открытие записи измерения</source>
        <translation>Open measurement record</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="675"/>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="765"/>
        <source>Сохранение графика</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="771"/>
        <source>Файл уже существует. Перезаписать?</source>
        <translation>The file already exists. Overwrite?</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="771"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="777"/>
        <source>Не удалось сохранить график в файл %1<byte value="xd"/>%2</source>
        <translation>Could not save the chart to file %1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="784"/>
        <source>Принтер не установлен. Настройте принтер по умолчанию и повторите печать.</source>
        <translation>No printer installed. Set up a default printer and print again.</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="791"/>
        <source>Не удалось напечатать график.</source>
        <translation>Could not print the chart.</translation>
    </message>
</context>
<context>
    <name>TfrmProgSet</name>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="19"/>
        <source>Настройки программы</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="22"/>
        <source> Общие настройки программы </source>
        <translation> General </translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="23"/>
        <source>Сохранение настроек программы при выходе</source>
        <translation>Save program settings on exit</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="24"/>
        <source>Загрузка последнего открытого проекта при запуске</source>
        <translation>Open the last project at start</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="25"/>
        <source>Показывать подсказки</source>
        <translation>Show hints</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="26"/>
        <source>Язык:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="30"/>
        <source>Как в системе</source>
        <translation>As in the system</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="34"/>
        <source>Язык сменится при следующем запуске программы.</source>
        <translation>The language changes at the next start of the program.</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="47"/>
        <source> Настройки чтения/записи данных </source>
        <translation> Reading and writing </translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="48"/>
        <source>Подтверждение при записи информации в прибор</source>
        <translation>Confirm before writing to the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="49"/>
        <source>Попытки чтения при ошибке:</source>
        <translation>Read retries on error:</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="51"/>
        <source>Попытки записи при ошибке:</source>
        <translation>Write retries on error:</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="65"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="66"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>UserDialogs</name>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="37"/>
        <source>Папка</source>
        <translation>Folder</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="39"/>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="64"/>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="65"/>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="68"/>
        <location filename="../src/ui/UserDialogs.cpp" line="112"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="110"/>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="111"/>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="113"/>
        <source>Имя файла:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="114"/>
        <source>Тип файла:</source>
        <translation>File type:</translation>
    </message>
    <message>
        <location filename="../src/ui/UserDialogs.cpp" line="115"/>
        <source>Папка:</source>
        <translation>Look in:</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/gui/main.cpp" line="58"/>
        <source>Ошибка! Не удалось загрузить библиотеку обмена:<byte value="xd"/>%1</source>
        <translation>Error! Could not load the exchange library:<byte value="xd"/>%1</translation>
    </message>
    <message>
        <location filename="../src/gui/main.cpp" line="60"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
</TS>
