<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ChartExport</name>
    <message>
        <source>Не удалось построить рисунок PNG</source>
        <translation>Could not render the PNG image</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>--port: пустое имя порта</source>
        <translation>--port: empty port name</translation>
    </message>
    <message>
        <source>--port: &quot;%1&quot; — адрес без порта (нужно ПОРТ:СПИСОК)</source>
        <translation>--port: &quot;%1&quot; is an address list without a port (PORT:LIST is needed)</translation>
    </message>
    <message>
        <source>--port: пустое имя порта в &quot;%1&quot;</source>
        <translation>--port: empty port name in &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--port: порт %1 указан дважды (одна линия — один порт)</source>
        <translation>--port: port %1 given twice (one line, one port)</translation>
    </message>
    <message>
        <source>пустой список адресов</source>
        <translation>empty address list</translation>
    </message>
    <message>
        <source>неверный адрес &quot;%1&quot;</source>
        <translation>invalid address &quot;%1&quot;</translation>
    </message>
    <message>
        <source>адрес %1 вне диапазона 1..255</source>
        <translation>address %1 outside the range 1..255</translation>
    </message>
    <message>
        <source>неверный диапазон адресов &quot;%1&quot;</source>
        <translation>invalid address range &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--lang: нужно en или ru</source>
        <translation>--lang: en or ru is needed</translation>
    </message>
    <message>
        <source>--trace: нужен файл</source>
        <translation>--trace: a file is needed</translation>
    </message>
    <message>
        <source>--timeout: нужно время ожидания в мс, 1..65535</source>
        <translation>--timeout: a timeout in ms is needed, 1..65535</translation>
    </message>
    <message>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>неизвестная команда %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <source>не указана команда</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>команда %1 не знает параметра %2</source>
        <translation>command %1 has no option %2</translation>
    </message>
    <message>
        <source>%1: нужно значение</source>
        <translation>%1: a value is needed</translation>
    </message>
    <message>
        <source>--what: line или compensator</source>
        <translation>--what: line or compensator</translation>
    </message>
    <message>
        <source>--channels: неверный номер канала &quot;%1&quot;</source>
        <translation>--channels: invalid channel number &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--seconds: нужно положительное число секунд</source>
        <translation>--seconds: a positive number of seconds is needed</translation>
    </message>
    <message>
        <source>команде scan не нужен список адресов (%1)</source>
        <translation>the scan command takes no address list (%1)</translation>
    </message>
    <message>
        <source>команде %1 нужен параметр %2</source>
        <translation>command %1 needs option %2</translation>
    </message>
    <message>
        <source>команде %1 нужен список адресов для порта %2 (--address или %2:СПИСОК)</source>
        <translation>command %1 needs an address list for port %2 (--address or %2:LIST)</translation>
    </message>
    <message>
        <source>%1 -: при нескольких портах нужен файл (у каждого порта свой) или --json</source>
        <translation>%1 -: with several ports a file (one per port) or --json is needed</translation>
    </message>
    <message>
        <source>--file-address: только с одним адресом (иначе у всех приборов будет один адрес)</source>
        <translation>--file-address: only with a single address (otherwise every instrument would get the same address)</translation>
    </message>
    <message>
        <source>--csv - и --json: оба пишут на стандартный вывод, выберите одно</source>
        <translation>--csv - and --json: both write to standard output, choose one</translation>
    </message>
    <message>
        <source>скорость %1 не из списка 300, 600, 1200, 2400, 4800, 9600, 19200%2</source>
        <translation>speed %1 is not one of 300, 600, 1200, 2400, 4800, 9600, 19200%2</translation>
    </message>
    <message>
        <source> или all</source>
        <translation> or all</translation>
    </message>
    <message>
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
        <source>kestrin-cli calibrate --port ПОРТ --speed СКОРОСТЬ --address АДРЕС --what line|compensator
  Калибровка сопротивления линии (rL) или компенсатора (rC) и ожидание её конца.

</source>
        <translation>kestrin-cli calibrate --port PORT --speed SPEED --address ADDRESS --what line|compensator
  Calibrates the line resistance (rL) or the compensator (rC) and waits for it to end.

</translation>
    </message>
    <message>
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
        <source>ошибка %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>ошибка %1: %2</source>
        <translation>error %1: %2</translation>
    </message>
    <message>
        <source>не найден файл %1 в каталоге программы %2</source>
        <translation>file %1 not found in the program directory %2</translation>
    </message>
    <message>
        <source>библиотека обмена: %1</source>
        <translation>exchange library: %1</translation>
    </message>
    <message>
        <source>Не удалось создать файл &quot;%1&quot;: %2</source>
        <translation>Could not create file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>неверный сетевой адрес &quot;%1&quot;: %2</source>
        <translation>invalid network address &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>каталог devices.ini пуст</source>
        <translation>the catalogue devices.ini is empty</translation>
    </message>
    <message>
        <source>тип &quot;%1&quot; не найден в каталоге</source>
        <translation>type &quot;%1&quot; not found in the catalogue</translation>
    </message>
    <message>
        <source>неизвестный порт &quot;%1&quot;; доступные порты: %2</source>
        <translation>unknown port &quot;%1&quot;; available ports: %2</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <source>нет файла описаний параметров типа &quot;%1&quot;: %2</source>
        <translation>no parameter description file for type &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>--out: нужен файл .%1, .json или -</source>
        <translation>--out: a .%1 or .json file or - is needed</translation>
    </message>
    <message>
        <source>адрес %1</source>
        <translation>address %1</translation>
    </message>
    <message>
        <source>  не выполнено: &quot;%1&quot;, %2</source>
        <translation>  not done: &quot;%1&quot;, %2</translation>
    </message>
    <message>
        <source>у прибора версия &quot;%1&quot;, для неё нет описаний параметров: %2</source>
        <translation>the instrument has version &quot;%1&quot;, there are no parameter descriptions for it: %2</translation>
    </message>
    <message>
        <source>файлы не читаются</source>
        <translation>the files cannot be read</translation>
    </message>
    <message>
        <source>нет файла %1</source>
        <translation>no file %1</translation>
    </message>
    <message>
        <source>Нет связи с прибором! По адресу %1 ответил прибор другого типа: номер типа %2%3, а выбран &quot;%4&quot; (номер типа %5)</source>
        <translation>No connection with the instrument! An instrument of another type answered at address %1: type number %2%3, but &quot;%4&quot; (type number %5) is selected</translation>
    </message>
    <message>
        <source>ошибка записи файла &quot;%1&quot;: %2; трассировка неполная, в файле записаны посылки до последней целой строки</source>
        <translation>error writing file &quot;%1&quot;: %2; the trace is incomplete, the file holds the parcels up to the last whole line</translation>
    </message>
    <message>
        <source>Остановлено.</source>
        <translation>Stopped.</translation>
    </message>
    <message>
        <source>Итого: выполнено %1 из %2.</source>
        <translation>Total: done %1 of %2.</translation>
    </message>
    <message>
        <source>Адрес %1: не выполнено (остановлено)</source>
        <translation>Address %1: not done (stopped)</translation>
    </message>
    <message>
        <source>адрес %1, скорость %2, номер типа %3, &quot;%4&quot;, версия &quot;%5&quot;</source>
        <translation>address %1, speed %2, type number %3, &quot;%4&quot;, version &quot;%5&quot;</translation>
    </message>
    <message>
        <source>скорость %1: Поиск прерван, %2</source>
        <translation>speed %1: search interrupted, %2</translation>
    </message>
    <message>
        <source>Поиск приборов завершен! Найдено: %1.</source>
        <translation>Instrument search complete! Found: %1.</translation>
    </message>
    <message>
        <source>Поиск приборов выполнен не полностью (скоростей: %1 из %2). Найдено: %3.</source>
        <translation>The instrument search did not complete (speeds: %1 of %2). Found: %3.</translation>
    </message>
    <message>
        <source>Приборы не найдены.</source>
        <translation>No instruments found.</translation>
    </message>
    <message>
        <source>Прочитано не всё: не прочитано параметров %1 из %2</source>
        <translation>Not everything was read: %1 of %2 parameters not read</translation>
    </message>
    <message>
        <source>Адрес %1: %2</source>
        <translation>Address %1: %2</translation>
    </message>
    <message>
        <source>%1 (&quot;%2&quot;, версия &quot;%3&quot;)</source>
        <translation>%1 (&quot;%2&quot;, version &quot;%3&quot;)</translation>
    </message>
    <message>
        <source>  файл %1 не записан: чтение не завершено</source>
        <translation>  file %1 not written: the read did not complete</translation>
    </message>
    <message>
        <source>  записан файл %1</source>
        <translation>  file %1 written</translation>
    </message>
    <message>
        <source>Записан файл %1</source>
        <translation>File %1 written</translation>
    </message>
    <message>
        <source>файл %1 не принят</source>
        <translation>file %1 refused</translation>
    </message>
    <message>
        <source> (прибор с адресом %1)</source>
        <translation> (instrument with address %1)</translation>
    </message>
    <message>
        <source>  &quot;%1&quot; = %2: не %3 — значения битовых строк этот протокол не передаёт</source>
        <translation>  &quot;%1&quot; = %2: not %3 — this protocol does not carry the values of bit strings</translation>
    </message>
    <message>
        <source>  битовые строки (протокол не передаёт значений, не %1): %2</source>
        <translation>  bit strings (the protocol carries no values, not %1): %2</translation>
    </message>
    <message>
        <source>Адрес %1: было бы отправлено (ничего не отправлено):</source>
        <translation>Address %1: would be sent (nothing was sent):</translation>
    </message>
    <message>
        <source>(не кодируется)</source>
        <translation>(cannot be encoded)</translation>
    </message>
    <message>
        <source>будет записано</source>
        <translation>to be written</translation>
    </message>
    <message>
        <source>адрес %1 из файла занят другим прибором, ничего не записано</source>
        <translation>address %1 from the file is taken by another instrument, nothing written</translation>
    </message>
    <message>
        <source>проверка адреса %1: %2, ничего не записано</source>
        <translation>checking address %1: %2, nothing written</translation>
    </message>
    <message>
        <source>версия прибора &quot;%1&quot; не подходит к файлу (версия &quot;%2&quot;), ничего не записано</source>
        <translation>instrument version &quot;%1&quot; does not match the file (version &quot;%2&quot;), nothing written</translation>
    </message>
    <message>
        <source>  ничего не записано</source>
        <translation>  nothing written</translation>
    </message>
    <message>
        <source>  записано параметров %1 из %2: %3</source>
        <translation>  parameters written: %1 of %2: %3</translation>
    </message>
    <message>
        <source>  сетевой адрес прибора изменён: %1 → %2</source>
        <translation>  instrument&apos;s network address changed: %1 → %2</translation>
    </message>
    <message>
        <source>  скорость обмена прибора изменена: %1 → %2</source>
        <translation>  instrument&apos;s baud rate changed: %1 → %2</translation>
    </message>
    <message>
        <source>записано</source>
        <translation>written</translation>
    </message>
    <message>
        <source>адрес %1 проверка</source>
        <translation>address %1 verification</translation>
    </message>
    <message>
        <source>  расхождение: &quot;%1&quot;: записано %2, прочитано %3</source>
        <translation>  mismatch: &quot;%1&quot;: written %2, read %3</translation>
    </message>
    <message>
        <source>  проверка: %1, сверено параметров: %2, расхождений: %3, не проверено битовых строк: %4</source>
        <translation>  verification: %1, parameters compared: %2, mismatches: %3, bit strings not verified: %4</translation>
    </message>
    <message>
        <source>Адрес %1: версия прибора &quot;%2&quot; не подходит к файлу, ничего не сравнено</source>
        <translation>Address %1: instrument version &quot;%2&quot; does not match the file, nothing compared</translation>
    </message>
    <message>
        <source>  &quot;%1&quot;: файл %2, прибор %3</source>
        <translation>  &quot;%1&quot;: file %2, instrument %3</translation>
    </message>
    <message>
        <source>сравнено</source>
        <translation>compared</translation>
    </message>
    <message>
        <source>  ничего не сравнено</source>
        <translation>  nothing compared</translation>
    </message>
    <message>
        <source>  сравнено параметров: %1, различий: %2</source>
        <translation>  parameters compared: %1, differences: %2</translation>
    </message>
    <message>
        <source>  сравнено только параметров: %1, различий среди них: %2</source>
        <translation>  only %1 parameters compared, differences among them: %2</translation>
    </message>
    <message>
        <source>--channels: у типа &quot;%1&quot; каналов %2</source>
        <translation>--channels: type &quot;%1&quot; has %2 channels</translation>
    </message>
    <message>
        <source>%1, отсчётов: %2</source>
        <translation>%1, samples: %2</translation>
    </message>
    <message>
        <source>ошибка записи файла &quot;%1&quot;: %2; измерение прекращено, в файле записаны отсчёты до последней целой строки</source>
        <translation>error writing file &quot;%1&quot;: %2; measurement ended, the file holds the samples up to the last whole line</translation>
    </message>
    <message>
        <source>порты %1 и %2 дают одно имя файла %3; задайте их в разных запусках</source>
        <translation>ports %1 and %2 give the same file name %3; give them in separate runs</translation>
    </message>
    <message>
        <source>найдено %1</source>
        <translation>found %1</translation>
    </message>
    <message>
        <source>%1 из %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Всего по портам (%1): найдено приборов %2; %3.</source>
        <translation>All ports (%1): instruments found: %2; %3.</translation>
    </message>
    <message>
        <source>Всего по портам (%1): выполнено %2 из %3; %4.</source>
        <translation>All ports (%1): done %2 of %3; %4.</translation>
    </message>
    <message>
        <source>kestrin-cli: %1
kestrin-cli --help: справка
</source>
        <translation>kestrin-cli: %1
kestrin-cli --help: help
</translation>
    </message>
    <message>
        <source>kestrin-cli: прервано без ожидания конца обмена
</source>
        <translation>kestrin-cli: interrupted without waiting for the exchange to end
</translation>
    </message>
    <message>
        <source>kestrin-cli: остановка… (повторное Ctrl+C завершает сразу)
</source>
        <translation>kestrin-cli: stopping… (a second Ctrl+C quits at once)
</translation>
    </message>
    <message>
        <source>kestrin-cli: терминал закрыт (SIGHUP), остановка…
</source>
        <translation>kestrin-cli: the terminal was closed (SIGHUP), stopping…
</translation>
    </message>
    <message>
        <source>kestrin-cli: получатель вывода закрыл канал (SIGPIPE), остановка…
</source>
        <translation>kestrin-cli: the output&apos;s reader closed the pipe (SIGPIPE), stopping…
</translation>
    </message>
    <message>
        <source>--report: нужен файл .html</source>
        <translation>--report: an .html file is needed</translation>
    </message>
    <message>
        <source>--report и --dry-run: при --dry-run ничего не записывается в прибор</source>
        <translation>--report and --dry-run: with --dry-run nothing is written to the instrument</translation>
    </message>
    <message>
        <source>kestrin-cli write --port ПОРТ --speed СКОРОСТЬ --address СПИСОК --in ФАЙЛ [--verify] [--dry-run] [--file-address] [--read-first] [--report ФАЙЛ.html]
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
        <translation>kestrin-cli write --port PORT --speed SPEED --address LIST --in FILE [--verify] [--dry-run] [--file-address] [--read-first] [--report FILE.html]
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
</context>
<context>
    <name>CliArgs</name>
    <message>
        <source>  --read-first    прочитать прибор перед записью: в журнал наладки попадают только
                  изменённые параметры, со значениями до и после
  --report ФАЙЛ.html  отчёт о наладке по записям этого запуска (для печати, A4)
  Журнал наладки: после каждой записи в прибор (кроме отказа до отправки) строка JSON
  в $XDG_DATA_HOME/kestrin/commissioning.jsonl (~/.local/share/kestrin/...): дата и
  время, пользователь, порт, скорость, адрес, тип, версия, изменённые и незаписанные
  параметры, итог проверки, версия программы. Запись, которую не удалось дописать,
  сообщается (код 4); запись в прибор при этом выполнена.
</source>
        <translation>  --read-first    read the instrument before writing: the commissioning log then holds only
                  the changed parameters, with their values before and after
  --report FILE.html  commissioning report of this run&apos;s entries (for printing, A4)
  Commissioning log: after every write to an instrument (except one refused before sending)
  one JSON line in $XDG_DATA_HOME/kestrin/commissioning.jsonl (~/.local/share/kestrin/...):
  date and time, user, port, speed, address, type, version, changed and unwritten
  parameters, verification outcome, program version. An entry that could not be appended
  is reported (exit status 4); the write to the instrument itself was done.
</translation>
    </message>
</context>
<context>
    <name>CliCommands</name>
    <message>
        <source>Отчёт о наладке (приборов: %1): записан файл %2</source>
        <translation>Commissioning report (instruments: %1): file %2 written</translation>
    </message>
    <message>
        <source> чтение перед записью</source>
        <translation> read before writing</translation>
    </message>
    <message>
        <source>  чтение перед записью: %1; у непрочитанных параметров в журнале наладки только новые значения</source>
        <translation>  read before writing: %1; parameters not read have only their new values in the commissioning log</translation>
    </message>
    <message>
        <source>  чтение перед записью: не прочитано параметров %1 из %2; у них в журнале наладки только новые значения</source>
        <translation>  read before writing: %1 of %2 parameters not read; they have only their new values in the commissioning log</translation>
    </message>
    <message>
        <source>%1; этой записи в прибор нет в журнале наладки</source>
        <translation>%1; this write to the instrument is not in the commissioning log</translation>
    </message>
</context>
<context>
    <name>CommissionReport</name>
    <message>
        <source>Отчет о наладке</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>Не удалось прочитать журнал наладки &quot;%1&quot;: %2</source>
        <translation>Could not read the commissioning log &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>пропущено неверных строк журнала: %1</source>
        <translation>invalid log lines skipped: %1</translation>
    </message>
    <message>
        <source>В журнале наладки нет записей.<byte value="xd"/>%1</source>
        <translation>The commissioning log has no entries.<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>Включить в отчет только записи текущего прибора (порт %1, адрес %2): %3?<byte value="xd"/>Нет: все записи журнала (%4).</source>
        <translation>Include only the entries of the current instrument (port %1, address %2): %3?<byte value="xd"/>No: all entries of the log (%4).</translation>
    </message>
    <message>
        <source>Страница HTML (*.html)</source>
        <translation>HTML page (*.html)</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Отчет о наладке записан: %1 (записей: %2)</source>
        <translation>Commissioning report written: %1 (entries: %2)</translation>
    </message>
</context>
<context>
    <name>Commissioning</name>
    <message>
        <source>Не удалось дописать запись в журнал наладки &quot;%1&quot;: %2</source>
        <translation>Could not append the entry to the commissioning log &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>не удалось создать папку %1</source>
        <translation>could not create folder %1</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>Отчет о наладке</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>В журнале наладки нет записей.</source>
        <translation>The commissioning log has no entries.</translation>
    </message>
    <message>
        <source>Отчет о наладке: %1, адрес %2</source>
        <translation>Commissioning report: %1, address %2</translation>
    </message>
    <message>
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>Пользователь</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Порт, скорость</source>
        <translation>Port, speed</translation>
    </message>
    <message>
        <source>%1, %2 бод</source>
        <translation>%1, %2 baud</translation>
    </message>
    <message>
        <source> → %1 (новый сетевой адрес)</source>
        <translation> → %1 (new network address)</translation>
    </message>
    <message>
        <source>Сетевой адрес</source>
        <translation>Network address</translation>
    </message>
    <message>
        <source>Новая скорость обмена</source>
        <translation>New baud rate</translation>
    </message>
    <message>
        <source>%1 бод</source>
        <translation>%1 baud</translation>
    </message>
    <message>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <source>%1 (номер типа %2)</source>
        <translation>%1 (type number %2)</translation>
    </message>
    <message>
        <source>Версия</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>базовая</source>
        <translation>base</translation>
    </message>
    <message>
        <source>Запись прервана</source>
        <translation>Write interrupted</translation>
    </message>
    <message>
        <source>Запись</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>; записано параметров: %1 из %2</source>
        <translation>; parameters written: %1 of %2</translation>
    </message>
    <message>
        <source>проверено чтением, расхождений нет (сверено параметров: %1)</source>
        <translation>verified by reading, no differences (parameters compared: %1)</translation>
    </message>
    <message>
        <source>расхождения при проверке: %1 (сверено параметров: %2)</source>
        <translation>differences found by verification: %1 (parameters compared: %2)</translation>
    </message>
    <message>
        <source>не проверено</source>
        <translation>not verified</translation>
    </message>
    <message>
        <source>Проверка</source>
        <translation>Verification</translation>
    </message>
    <message>
        <source>Программа</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Измененные параметры (%1)</source>
        <translation>Changed parameters (%1)</translation>
    </message>
    <message>
        <source>Записанные параметры (%1); прибор перед записью не читался</source>
        <translation>Written parameters (%1); the instrument was not read before the write</translation>
    </message>
    <message>
        <source>Значения не изменились.</source>
        <translation>No values changed.</translation>
    </message>
    <message>
        <source>Параметр</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Было</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>Стало</source>
        <translation>After</translation>
    </message>
    <message>
        <source>Не записано</source>
        <translation>Not written</translation>
    </message>
    <message>
        <source>Причина</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>ошибка %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>ошибка %1: %2</source>
        <translation>error %1: %2</translation>
    </message>
    <message>
        <source>Расхождения при проверке</source>
        <translation>Differences found by verification</translation>
    </message>
    <message>
        <source>Записано</source>
        <translation>Written</translation>
    </message>
    <message>
        <source>Прочитано</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Наладку выполнил: ____________________  Подпись: ____________</source>
        <translation>Commissioned by: ____________________  Signature: ____________</translation>
    </message>
</context>
<context>
    <name>Common</name>
    <message>
        <source>папка не найдена</source>
        <translation>folder not found</translation>
    </message>
    <message>
        <source>файл не найден</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>нет прав доступа</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>на диске нет места</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>файловая система доступна только для чтения</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>файл не открыт</source>
        <translation>the file is not open</translation>
    </message>
    <message>
        <source>Не удалось создать файл &quot;%1&quot;: %2</source>
        <translation>Could not create file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Ошибка записи файла &quot;%1&quot;: %2</source>
        <translation>Error writing file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>файл слишком велик для перезаписи</source>
        <translation>the file is too large to rewrite</translation>
    </message>
    <message>
        <source>нужен адрес вида tcp://узел:порт или rfc2217://узел:порт</source>
        <translation>an address like tcp://host:port or rfc2217://host:port is needed</translation>
    </message>
    <message>
        <source>неизвестная схема «%1» (нужна tcp:// или rfc2217://)</source>
        <translation>unknown scheme “%1” (tcp:// or rfc2217:// is needed)</translation>
    </message>
    <message>
        <source>не указаны узел и порт</source>
        <translation>no host and port given</translation>
    </message>
    <message>
        <source>не закрыта скобка адреса IPv6</source>
        <translation>the IPv6 address bracket is not closed</translation>
    </message>
    <message>
        <source>не указан порт</source>
        <translation>no port given</translation>
    </message>
    <message>
        <source>адрес IPv6 пишется в квадратных скобках: [адрес]:порт</source>
        <translation>an IPv6 address is written in square brackets: [address]:port</translation>
    </message>
    <message>
        <source>не указан узел</source>
        <translation>no host given</translation>
    </message>
    <message>
        <source>недопустимый символ в имени узла «%1»</source>
        <translation>invalid character in host name “%1”</translation>
    </message>
    <message>
        <source>порт «%1»: нужно число от 1 до 65535</source>
        <translation>port “%1”: a number from 1 to 65535 is needed</translation>
    </message>
</context>
<context>
    <name>DevTableCompare</name>
    <message>
        <source>Сравнение с файлом</source>
        <translation>Comparison with a file</translation>
    </message>
    <message>
        <source>базовая</source>
        <translation>base</translation>
    </message>
    <message>
        <source>отмечено</source>
        <translation>checked</translation>
    </message>
    <message>
        <source>не отмечено</source>
        <translation>unchecked</translation>
    </message>
    <message>
        <source>Сравнение с файлом: ничего не сравнено</source>
        <translation>Comparison with a file: nothing compared</translation>
    </message>
    <message>
        <source>&quot;%1&quot; = %2 в файле: не сравнено — значения битовых строк этот протокол не передаёт</source>
        <translation>&quot;%1&quot; = %2 in the file: not compared — this protocol does not carry the values of bit strings</translation>
    </message>
    <message>
        <source>Битовые строки не сравнены (протокол не передаёт их значений): %1</source>
        <translation>Bit strings not compared (the protocol does not carry their values): %1</translation>
    </message>
    <message>
        <source>Значения из файла не взяты в таблицу:<byte value="xd"/>%1</source>
        <translation>Values from the file not taken into the table:<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>было: %1</source>
        <translation>was: %1</translation>
    </message>
    <message>
        <source>Взято из файла: %1
В таблице было: %2</source>
        <translation>Taken from the file: %1
The table had: %2</translation>
    </message>
    <message>
        <source>Взято из файла значений: %1</source>
        <translation>Values taken from the file: %1</translation>
    </message>
    <message>
        <source>Сравнение параметров прибора с файлом</source>
        <translation>Compare instrument parameters with a file</translation>
    </message>
    <message>
        <source>Параметры прибора (*.%1 *.json)</source>
        <translation>Instrument parameters (*.%1 *.json)</translation>
    </message>
    <message>
        <source>Файлы параметров прибора (*.%1)</source>
        <translation>Instrument parameter files (*.%1)</translation>
    </message>
    <message>
        <source>Чтение kestrin-cli (*.json)</source>
        <translation>kestrin-cli read (*.json)</translation>
    </message>
    <message>
        <source>Файл %1 не прочитан, ничего не сравнено:<byte value="xd"/>%2</source>
        <translation>File %1 was not read, nothing compared:<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>Файл %1 не подходит к прибору (тип &quot;%2&quot;, версия описаний %3), ничего не сравнено:<byte value="xd"/>%4</source>
        <translation>File %1 does not fit the instrument (type &quot;%2&quot;, description version %3), nothing compared:<byte value="xd"/>%4</translation>
    </message>
    <message>
        <source>Файл %1 составлен для версии описаний %2, а прибор &quot;%3&quot; имеет версию %4: ничего не сравнено.</source>
        <translation>File %1 was made for description version %2, but instrument &quot;%3&quot; has version %4: nothing compared.</translation>
    </message>
    <message>
        <source>В таблице нет значений, считанных из прибора: ничего не сравнено.</source>
        <translation>The table holds no values read from the instrument: nothing compared.</translation>
    </message>
    <message>
        <source>в файле: %1</source>
        <translation>in file: %1</translation>
    </message>
    <message>
        <source>В файле: %1
В таблице: %2</source>
        <translation>In the file: %1
In the table: %2</translation>
    </message>
    <message>
        <source>Сравнение с %1: различий %2</source>
        <translation>Comparison with %1: %2 differences</translation>
    </message>
    <message>
        <source>Файл %1: сравнено параметров %2, различий: %3.</source>
        <translation>File %1: %2 parameters compared, differences: %3.</translation>
    </message>
    <message>
        <source>Отличающиеся строки отмечены в таблице.</source>
        <translation>The differing rows are marked in the table.</translation>
    </message>
    <message>
        <source>Сетевой адрес из файла не берется: прибор остается по своему адресу.</source>
        <translation>The network address is not taken from the file: the instrument stays at its address.</translation>
    </message>
    <message>
        <source>Взять в отличающиеся строки значения из файла? В прибор их запишет &quot;Записать все параметры в прибор&quot;.</source>
        <translation>Take the file&apos;s values into the differing rows? &quot;Write all parameters to the instrument&quot; will write them to the instrument.</translation>
    </message>
</context>
<context>
    <name>DevTableFiles</name>
    <message>
        <source>Сохранение параметров прибора в файл</source>
        <translation>Save instrument parameters to file</translation>
    </message>
    <message>
        <source>Файл параметров прибора (*.%1)</source>
        <translation>Instrument parameter file (*.%1)</translation>
    </message>
    <message>
        <source>Текстовый файл (*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <source>Документ Word (*.doc)</source>
        <translation>Word document (*.doc)</translation>
    </message>
    <message>
        <source>Книга MS Excel (*.xls)</source>
        <translation>MS Excel workbook (*.xls)</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Загрузка параметров прибора из файла</source>
        <translation>Load instrument parameters from file</translation>
    </message>
    <message>
        <source>Файлы параметров прибора (*.%1)</source>
        <translation>Instrument parameter files (*.%1)</translation>
    </message>
    <message>
        <source>Ошибка! Файл не найден!</source>
        <translation>Error! File not found!</translation>
    </message>
    <message>
        <source>Файл параметров не загружен: значение в строке %1 содержит перевод строки.</source>
        <translation>Parameter file not loaded: the value in line %1 contains a line break.</translation>
    </message>
    <message>
        <source>Принтер не установлен. Настройте принтер по умолчанию и повторите печать.</source>
        <translation>No printer installed. Set up a default printer and print again.</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>Чтение завершено</source>
        <translation>Read complete</translation>
    </message>
    <message>
        <source>Запись завершена</source>
        <translation>Write complete</translation>
    </message>
    <message>
        <source>Нет связи с прибором!</source>
        <translation>No connection with the instrument!</translation>
    </message>
    <message>
        <source>Ошибка чтения: %1</source>
        <translation>Read error: %1</translation>
    </message>
    <message>
        <source>Ошибка записи: %1</source>
        <translation>Write error: %1</translation>
    </message>
    <message>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Измерение остановлено</source>
        <translation>Measurement stopped</translation>
    </message>
    <message>
        <source>Параметр откалиброван</source>
        <translation>Parameter calibrated</translation>
    </message>
    <message>
        <source>Прибор имеет параметры отличные от представленных в списке!<byte value="xd"/>Загрузить новый список параметров и продолжить чтение?</source>
        <translation>The instrument has parameters other than those in the list!<byte value="xd"/>Load the new parameter list and continue reading?</translation>
    </message>
    <message>
        <source>Прибор имеет параметры отличные от представленных в списке!<byte value="xd"/>Загрузить новый список параметров и продолжить запись?</source>
        <translation>The instrument has parameters other than those in the list!<byte value="xd"/>Load the new parameter list and continue writing?</translation>
    </message>
    <message>
        <source>Калибровка...</source>
        <translation>Calibrating...</translation>
    </message>
    <message>
        <source>Остановлено пользователем</source>
        <translation>Stopped by the user</translation>
    </message>
    <message>
        <source>Ошибка калибровки</source>
        <translation>Calibration error</translation>
    </message>
    <message>
        <source>неверное значение, или ответ не того вида, которого ждет запрос</source>
        <translation>invalid value, or an answer of another kind than the request expects</translation>
    </message>
    <message>
        <source>ответил прибор с другим сетевым адресом</source>
        <translation>an instrument with another network address answered</translation>
    </message>
    <message>
        <source>код ответа после «$» не является числом</source>
        <translation>the answer code after “$” is not a number</translation>
    </message>
    <message>
        <source>прибор ответил кодом ошибки «$1»</source>
        <translation>the instrument answered with error code “$1”</translation>
    </message>
    <message>
        <source>неверный описатель связи</source>
        <translation>invalid connection handle</translation>
    </message>
    <message>
        <source>порт не существует</source>
        <translation>the port does not exist</translation>
    </message>
    <message>
        <source>нет прав доступа к порту (группа dialout)</source>
        <translation>no permission for the port (group dialout)</translation>
    </message>
    <message>
        <source>порт не удалось открыть (занят другой программой или недоступен; сетевой порт: сервер не отвечает или отказал в соединении)</source>
        <translation>the port could not be opened (in use by another program or unavailable; network port: the server does not answer or refused the connection)</translation>
    </message>
    <message>
        <source>скорость не поддерживается портом</source>
        <translation>the port does not support the speed</translation>
    </message>
    <message>
        <source>недопустимое время ожидания</source>
        <translation>invalid timeout</translation>
    </message>
    <message>
        <source>порт не открыт</source>
        <translation>the port is not open</translation>
    </message>
    <message>
        <source>не удалось передать запрос в порт</source>
        <translation>could not send the request to the port</translation>
    </message>
    <message>
        <source>нет ответа в течение времени ожидания</source>
        <translation>no answer within the timeout</translation>
    </message>
    <message>
        <source>ответ длиннее 254 символов</source>
        <translation>the answer is longer than 254 characters</translation>
    </message>
    <message>
        <source>искаженный ответ (неверный формат посылки)</source>
        <translation>garbled answer (invalid parcel format)</translation>
    </message>
    <message>
        <source>контрольная сумма ответа не совпадает</source>
        <translation>the answer&apos;s checksum does not match</translation>
    </message>
    <message>
        <source>текст не помещается в буфер</source>
        <translation>the text does not fit into the buffer</translation>
    </message>
    <message>
        <source>связь с портом потеряна (устройство отключено, ошибка ввода-вывода, сервер закрыл соединение)</source>
        <translation>connection with the port lost (device unplugged, input/output error, the server closed the connection)</translation>
    </message>
    <message>
        <source>сервер не поддерживает RFC 2217 (управление последовательным портом); такой сервер подключают как tcp://</source>
        <translation>the server does not support RFC 2217 (serial port control); connect such a server as tcp://</translation>
    </message>
    <message>
        <source>Код %1: %2</source>
        <translation>Code %1: %2</translation>
    </message>
    <message>
        <source>Не найдена библиотека обмена %1</source>
        <translation>Exchange library %1 not found</translation>
    </message>
    <message>
        <source>Не удалось загрузить библиотеку обмена %1: %2</source>
        <translation>Could not load the exchange library %1: %2</translation>
    </message>
    <message>
        <source>В библиотеке обмена %1 нет функции %2</source>
        <translation>The exchange library %1 has no function %2</translation>
    </message>
    <message>
        <source>Чтение из прибора...</source>
        <translation>Reading from the instrument...</translation>
    </message>
    <message>
        <source>Измерение остановлено, ошибка: %1</source>
        <translation>Measurement stopped, error: %1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>идет обмен</source>
        <translation>exchanging</translation>
    </message>
    <message>
        <source>Нет каналов для измерения</source>
        <translation>No channels to measure</translation>
    </message>
    <message>
        <source>Ошибка чтения данных! Повторить?</source>
        <translation>Error reading data! Retry?</translation>
    </message>
    <message>
        <source>Ошибка чтения</source>
        <translation>Read error</translation>
    </message>
    <message>
        <source>нет обмена</source>
        <translation>no exchange</translation>
    </message>
    <message>
        <source>Нет прав на порт %1. Доступ к нему настраивает администратор системы (группа устройства или правило udev).</source>
        <translation>No permission for port %1. Access to it is set up by the system administrator (the device&apos;s group or a udev rule).</translation>
    </message>
    <message>
        <source>Порт %1 принадлежит группе %2. Чтобы работать с ним, добавьте себя в эту группу и войдите в систему заново:
sudo usermod -aG %2 $USER</source>
        <translation>Port %1 belongs to group %2. To work with it, add yourself to that group and log in again:
sudo usermod -aG %2 $USER</translation>
    </message>
    <message>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <source>Данная модификация прибора не поддерживается программой!<byte value="xd"/>Для работы с прибором необходимо обновить программу.</source>
        <translation>This instrument model is not supported by the program!<byte value="xd"/>Update the program to work with this instrument.</translation>
    </message>
    <message>
        <source>Неверно введен параметр &quot;%1&quot; .</source>
        <translation>Parameter &quot;%1&quot; is entered incorrectly.</translation>
    </message>
    <message>
        <source>Ошибка ввода данных</source>
        <translation>Data entry error</translation>
    </message>
    <message>
        <source>Чтение остановлено</source>
        <translation>Read stopped</translation>
    </message>
    <message>
        <source>Чтение остановлено, ошибка: %1</source>
        <translation>Read stopped, error: %1</translation>
    </message>
    <message>
        <source>Проверка параметров...</source>
        <translation>Checking parameters...</translation>
    </message>
    <message>
        <source>Неверные данные</source>
        <translation>Invalid data</translation>
    </message>
    <message>
        <source>Запись в прибор...</source>
        <translation>Writing to the instrument...</translation>
    </message>
    <message>
        <source>Запись остановлена, ошибка: %1</source>
        <translation>Write stopped, error: %1</translation>
    </message>
    <message>
        <source>Запись остановлена</source>
        <translation>Write stopped</translation>
    </message>
    <message>
        <source>Ошибка записи данных! Повторить?</source>
        <translation>Error writing data! Retry?</translation>
    </message>
    <message>
        <source>Ошибка записи</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>тип %1, ожидался %2</source>
        <translation>type %1, expected %2</translation>
    </message>
    <message>
        <source>идентификация</source>
        <translation>identification</translation>
    </message>
    <message>
        <source>версия</source>
        <translation>version</translation>
    </message>
    <message>
        <source>поиск</source>
        <translation>search</translation>
    </message>
    <message>
        <source>поиск: найден</source>
        <translation>search: found</translation>
    </message>
    <message>
        <source>калибровка</source>
        <translation>calibration</translation>
    </message>
    <message>
        <source>адрес занят?</source>
        <translation>address taken?</translation>
    </message>
    <message>
        <source>канал %1</source>
        <translation>channel %1</translation>
    </message>
    <message>
        <source>чтение %1</source>
        <translation>read %1</translation>
    </message>
    <message>
        <source>запись %1</source>
        <translation>write %1</translation>
    </message>
</context>
<context>
    <name>Formats</name>
    <message>
        <source>Таблица слишком велика для книги Excel.</source>
        <translation>The table is too large for an Excel workbook.</translation>
    </message>
    <message>
        <source>строка %1: &quot;%2&quot; вместо &quot;%3&quot;</source>
        <translation>row %1: &quot;%2&quot; instead of &quot;%3&quot;</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>Файл параметров повреждён (байт %1): %2.</source>
        <translation>The parameter file is damaged (byte %1): %2.</translation>
    </message>
    <message>
        <source>файл неожиданно закончился</source>
        <translation>the file ended unexpectedly</translation>
    </message>
    <message>
        <source>неверная сигнатура записи</source>
        <translation>invalid record signature</translation>
    </message>
    <message>
        <source>вложенные объекты не поддерживаются</source>
        <translation>nested objects are not supported</translation>
    </message>
    <message>
        <source>недопустимое значение свойства &quot;%1&quot;</source>
        <translation>invalid value of property &quot;%1&quot;</translation>
    </message>
    <message>
        <source>неизвестный тип значения 0x%1 у свойства &quot;%2&quot;</source>
        <translation>unknown value type 0x%1 of property &quot;%2&quot;</translation>
    </message>
    <message>
        <source>неверный тип значения свойства &quot;%1&quot;</source>
        <translation>wrong value type of property &quot;%1&quot;</translation>
    </message>
    <message>
        <source>неизвестное свойство &quot;%1&quot;</source>
        <translation>unknown property &quot;%1&quot;</translation>
    </message>
    <message>
        <source>графика ячейки этого вида не поддерживается</source>
        <translation>cell graphics of this kind are not supported</translation>
    </message>
    <message>
        <source>недопустимый размер таблицы %1 x %2</source>
        <translation>invalid table size %1 x %2</translation>
    </message>
    <message>
        <source>ячейка (%1, %2) вне таблицы</source>
        <translation>cell (%1, %2) outside the table</translation>
    </message>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation>Could not open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; слишком велик для файла параметров.</source>
        <translation>File &quot;%1&quot; is too large for a parameter file.</translation>
    </message>
    <message>
        <source>Ошибка чтения файла &quot;%1&quot;: %2</source>
        <translation>Error reading file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Неизвестный формат экспорта: &quot;%1&quot;.</source>
        <translation>Unknown export format: &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>kestrin: --lang: нужно en или ru, а не «%1»</source>
        <translation>kestrin: --lang: en or ru is needed, not “%1”</translation>
    </message>
</context>
<context>
    <name>Model</name>
    <message>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <source>Текущий проект был изменен. Сохранить?</source>
        <translation>The current project has been changed. Save it?</translation>
    </message>
    <message>
        <source>Не удалось сохранить проект!<byte value="xd"/>Значение в строке %1 содержит перевод строки.</source>
        <translation>Could not save the project!<byte value="xd"/>The value in row %1 contains a line break.</translation>
    </message>
    <message>
        <source>Не удалось сохранить проект!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the project!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>Проект был сохранен</source>
        <translation>The project was saved</translation>
    </message>
    <message>
        <source>Сохранение проекта</source>
        <translation>Save project</translation>
    </message>
    <message>
        <source>Проект (*.prj)</source>
        <translation>Project (*.prj)</translation>
    </message>
    <message>
        <source>Не удалось загрузить проект!<byte value="xd"/>Неизвестная модификация прибора.</source>
        <translation>Could not open the project!<byte value="xd"/>Unknown instrument model.</translation>
    </message>
    <message>
        <source>Проект был открыт</source>
        <translation>The project was opened</translation>
    </message>
    <message>
        <source>Загрузка проекта</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>Проекты (*.prj)</source>
        <translation>Projects (*.prj)</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Проект был закрыт</source>
        <translation>The project was closed</translation>
    </message>
    <message>
        <source>Открыт новый проект</source>
        <translation>New project opened</translation>
    </message>
</context>
<context>
    <name>TChart</name>
    <message>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
</context>
<context>
    <name>TDevCell</name>
    <message>
        <source>Значение не получено из прибора</source>
        <translation>Value not read from the instrument</translation>
    </message>
</context>
<context>
    <name>THelpWindow</name>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Назад</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Содержание</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>&lt;p&gt;Файл справки не найден: %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Help file not found: %1&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>TLineLogModel</name>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Напр.</source>
        <translation>Dir.</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Посылка</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Результат</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Назначение</source>
        <translation>Purpose</translation>
    </message>
</context>
<context>
    <name>TMainExchange</name>
    <message>
        <source>Непредвиденная ошибка при обмене с прибором:<byte value="xd"/>%1</source>
        <translation>Unexpected error in the exchange with the instrument:<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source><byte value="xd"/>Этой записи в прибор нет в журнале наладки.</source>
        <translation><byte value="xd"/>This write to the instrument is not in the commissioning log.</translation>
    </message>
    <message>
        <source>Журнал наладки</source>
        <translation>Commissioning log</translation>
    </message>
</context>
<context>
    <name>TablePrint</name>
    <message>
        <source>ПРИБОР %1. ТАБЛИЦА ПАРАМЕТРОВ ПРИБОРА.</source>
        <translation>INSTRUMENT %1. INSTRUMENT PARAMETER TABLE.</translation>
    </message>
    <message>
        <source>Не удалось начать печать: принтер недоступен.</source>
        <translation>Could not start printing: the printer is not available.</translation>
    </message>
    <message>
        <source>Печать прервана.</source>
        <translation>Printing aborted.</translation>
    </message>
    <message>
        <source>Ошибка печати: задание не завершено.</source>
        <translation>Printing error: the job did not finish.</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>О Программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Программа настройки 
приборов серии</source>
        <translation>Setup program for
the instrument series</translation>
    </message>
    <message>
        <source>Группа сервисного ПО</source>
        <translation>Service Software Group</translation>
    </message>
</context>
<context>
    <name>TfrmCalib</name>
    <message>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>Калибровать сопротивление линии (rL)</source>
        <translation>Calibrate line resistance (rL)</translation>
    </message>
    <message>
        <source>Остановить калибровку сопротивления линии (rL)</source>
        <translation>Stop line resistance calibration (rL)</translation>
    </message>
    <message>
        <source>Калибровать сопротивление компенсатора (rC)</source>
        <translation>Calibrate compensator resistance (rC)</translation>
    </message>
    <message>
        <source>Остановить калибровку сопротивления компенс. (rC)</source>
        <translation>Stop compensator resistance calibration (rC)</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>TfrmChan</name>
    <message>
        <source> Параметр</source>
        <translation> Parameter</translation>
    </message>
    <message>
        <source>Скопировать настройки канала в буфер</source>
        <translation>Copy channel settings to clipboard</translation>
    </message>
    <message>
        <source>Вставить настройки канала из буфера</source>
        <translation>Paste channel settings from clipboard</translation>
    </message>
</context>
<context>
    <name>TfrmDev</name>
    <message>
        <source>Ошибка ввода</source>
        <translation>Input error</translation>
    </message>
    <message>
        <source>Неверно введены данные!</source>
        <translation>Invalid input!</translation>
    </message>
    <message>
        <source>Введенное значение меньше минимально возможного для данного параметра! Будет установлено минимальное значение.</source>
        <translation>The value entered is below the minimum for this parameter! The minimum will be set.</translation>
    </message>
    <message>
        <source>Введенное значение превышает максимально возможное для данного параметра! Будет установлено максимальное значение.</source>
        <translation>The value entered exceeds the maximum for this parameter! The maximum will be set.</translation>
    </message>
    <message>
        <source> Параметр</source>
        <translation> Parameter</translation>
    </message>
    <message>
        <source> Значение</source>
        <translation> Value</translation>
    </message>
    <message>
        <source>Названия параметров прибора</source>
        <translation>Instrument parameter names</translation>
    </message>
    <message>
        <source>Значения параметров прибора</source>
        <translation>Instrument parameter values</translation>
    </message>
</context>
<context>
    <name>TfrmDevSet</name>
    <message>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <source>Вернуться к настройке параметров связи?</source>
        <translation>Return to the link settings?</translation>
    </message>
    <message>
        <source>Настройки связи</source>
        <translation>Link Settings</translation>
    </message>
    <message>
        <source> Общие настройки </source>
        <translation> General </translation>
    </message>
    <message>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <source>Каналов</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source> Настройки связи </source>
        <translation> Link settings </translation>
    </message>
    <message>
        <source>СОМ-порт</source>
        <translation>COM port</translation>
    </message>
    <message>
        <source>Скорость</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Проверить связь</source>
        <translation>Check link</translation>
    </message>
    <message>
        <source> Поиск приборов </source>
        <translation> Instrument search </translation>
    </message>
    <message>
        <source>Адреса</source>
        <translation>Addresses</translation>
    </message>
    <message>
        <source>Поиск приборов</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Скорость линии. У сетевого порта tcp:// скорость — собственная настройка сервера последовательных портов; порту rfc2217:// программа задает ее сама.</source>
        <translation>Line speed. For a tcp:// network port the speed is a setting of the serial port server itself; for an rfc2217:// port the program sets it.</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Не удалось установить связь с прибором!</source>
        <translation>Could not establish a link with the instrument!</translation>
    </message>
    <message>
        <source>Данная модификация прибора не поддерживается программой!<byte value="xd"/>Для работы с прибором необходимо обновить программу.</source>
        <translation>This instrument model is not supported by the program!<byte value="xd"/>Update the program to work with this instrument.</translation>
    </message>
    <message>
        <source>Выход невозможен - дождитесь окончания обмена с приборами!</source>
        <translation>Cannot exit - wait until the exchange with the instruments ends!</translation>
    </message>
    <message>
        <source>выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Проверка связи с прибором...</source>
        <translation>Checking the link with the instrument...</translation>
    </message>
    <message>
        <source>Связь с прибором установлена!</source>
        <translation>Link with the instrument established!</translation>
    </message>
    <message>
        <source>Не удалось проверить связь с прибором, ошибка: </source>
        <translation>Could not check the link with the instrument, error: </translation>
    </message>
    <message>
        <source>Поиск приборов...</source>
        <translation>Searching for instruments...</translation>
    </message>
    <message>
        <source>Поиск прерван, ошибка: </source>
        <translation>Search aborted, error: </translation>
    </message>
    <message>
        <source>Поиск приборов завершен!</source>
        <translation>Instrument search finished!</translation>
    </message>
</context>
<context>
    <name>TfrmLineMonitor</name>
    <message>
        <source>Монитор обмена</source>
        <translation>Line Monitor</translation>
    </message>
    <message>
        <source>Адрес:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>все</source>
        <translation>all</translation>
    </message>
    <message>
        <source>Показывать посылки только этого адреса</source>
        <translation>Show only the frames of this address</translation>
    </message>
    <message>
        <source>Только ошибки</source>
        <translation>Errors only</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Остановить или продолжить вывод посылок (запись продолжается)</source>
        <translation>Stop or resume showing frames (logging goes on)</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Копировать выделенные строки (Ctrl+C)</source>
        <translation>Copy the selected rows (Ctrl+C)</translation>
    </message>
    <message>
        <source>Сохранить...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>Сохранить показанные строки в файл .txt или .csv</source>
        <translation>Save the shown rows to a .txt or .csv file</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Показано: %1 из %2</source>
        <translation>Shown: %1 of %2</translation>
    </message>
    <message>
        <source>; пауза, запись продолжается: новых %1</source>
        <translation>; paused, logging goes on: %1 new</translation>
    </message>
    <message>
        <source>, пропущено: %1</source>
        <translation>, dropped: %1</translation>
    </message>
    <message>
        <source>Сохранить журнал обмена</source>
        <translation>Save exchange log</translation>
    </message>
    <message>
        <source>Текст (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>Не удалось сохранить журнал обмена!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the exchange log!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Текущий проект изменен</source>
        <translation>Project changed</translation>
    </message>
    <message>
        <source>Текущий проект сохранен</source>
        <translation>Project saved</translation>
    </message>
    <message>
        <source>Нет открытого проекта</source>
        <translation>No open project</translation>
    </message>
    <message>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <source>Ошибка! Не найдены файлы необходимые для работы программы!</source>
        <translation>Error! Files the program needs were not found!</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Новый</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить как...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Настройки программы</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <source>Монитор обмена</source>
        <translation>Line Monitor</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Считать все параметры из прибора</source>
        <translation>Read all parameters from the instrument</translation>
    </message>
    <message>
        <source>Записать все параметры в прибор</source>
        <translation>Write all parameters to the instrument</translation>
    </message>
    <message>
        <source>Остановить обмен данными с прибором</source>
        <translation>Stop the exchange with the instrument</translation>
    </message>
    <message>
        <source>Чтение</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Зав. уст-ки</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Настройки
связи</source>
        <translation>Link
settings</translation>
    </message>
    <message>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Запись</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Проект</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Новый проект (Ctrl+N)</source>
        <translation>New project (Ctrl+N)</translation>
    </message>
    <message>
        <source>Открыть проект (Ctrl+O)</source>
        <translation>Open project (Ctrl+O)</translation>
    </message>
    <message>
        <source>Сохранить проект (Ctrl+S)</source>
        <translation>Save project (Ctrl+S)</translation>
    </message>
    <message>
        <source>Закрыть проект (Ctrl+X)</source>
        <translation>Close project (Ctrl+X)</translation>
    </message>
    <message>
        <source>Помощь (F10)</source>
        <translation>Help (F10)</translation>
    </message>
    <message>
        <source>Каналы</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>Измерение</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>нет обмена</source>
        <translation>no exchange</translation>
    </message>
    <message>
        <source>Вы действительно хотите записать все параметры в прибор?</source>
        <translation>Do you really want to write all parameters to the instrument?</translation>
    </message>
    <message>
        <source>Запись параметров</source>
        <translation>Write parameters</translation>
    </message>
    <message>
        <source>Вы действительно хотите произвести запись данных в прибор?</source>
        <translation>Do you really want to write the data to the instrument?</translation>
    </message>
    <message>
        <source>Запись данных</source>
        <translation>Write data</translation>
    </message>
    <message>
        <source>Не удалось сохранить настройки программы!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the program settings!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>Системное время</source>
        <translation>System time</translation>
    </message>
    <message>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <source>Состояние проекта</source>
        <translation>Project state</translation>
    </message>
    <message>
        <source>Состояние обмена</source>
        <translation>Exchange state</translation>
    </message>
    <message>
        <source>Выполнение операции</source>
        <translation>Operation progress</translation>
    </message>
    <message>
        <source>Идет обмен данными с прибором. Продолжить?</source>
        <translation>An exchange with the instrument is running. Continue?</translation>
    </message>
    <message>
        <source>Обмен с прибором</source>
        <translation>Instrument exchange</translation>
    </message>
    <message>
        <source>Сравнить с файлом...</source>
        <translation>Compare with file...</translation>
    </message>
    <message>
        <source>Отчет о наладке...</source>
        <translation>Commissioning report...</translation>
    </message>
    <message>
        <source>Сравнить...</source>
        <translation>Compare...</translation>
    </message>
    <message>
        <source>Параметры еще не считаны из прибора. Считать все параметры и затем сравнить с файлом?</source>
        <translation>The parameters have not been read from the instrument yet. Read all parameters and then compare with the file?</translation>
    </message>
    <message>
        <source>Сравнение с файлом</source>
        <translation>Comparison with a file</translation>
    </message>
    <message>
        <source>Идет обмен данными с прибором: сравнение не выполнено.</source>
        <translation>Data exchange with the instrument is in progress: nothing was compared.</translation>
    </message>
    <message>
        <source>Чтение из прибора не началось: сравнение не выполнено.</source>
        <translation>Reading from the instrument did not start: nothing was compared.</translation>
    </message>
    <message>
        <source>Чтение из прибора не завершено: ничего не сравнено.</source>
        <translation>Reading from the instrument did not finish: nothing was compared.</translation>
    </message>
</context>
<context>
    <name>TfrmMeasure</name>
    <message>
        <source> Текущие измерения </source>
        <translation> Current measurements </translation>
    </message>
    <message>
        <source> Измер. значение</source>
        <translation> Measured value</translation>
    </message>
    <message>
        <source>Измерение</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Запись в файл</source>
        <translation>Record to file</translation>
    </message>
    <message>
        <source>Записывать каждое измерение в файл по мере опроса</source>
        <translation>Write every measurement to a file as it is polled</translation>
    </message>
    <message>
        <source>Файл записи...</source>
        <translation>Record file...</translation>
    </message>
    <message>
        <source>Выбрать файл записи измерения для проекта</source>
        <translation>Choose the measurement record file for the project</translation>
    </message>
    <message>
        <source>Открыть запись...</source>
        <translation>Open record...</translation>
    </message>
    <message>
        <source>Показать на графике записанное измерение</source>
        <translation>Show a recorded measurement on the chart</translation>
    </message>
    <message>
        <source> График зависимости измеряемой величины от времени (в мин.) </source>
        <translation> Measured value versus time (min) </translation>
    </message>
    <message>
        <source>Сжать график по оси X</source>
        <translation>Zoom out on the X axis</translation>
    </message>
    <message>
        <source>Сжать график по оси Y</source>
        <translation>Zoom out on the Y axis</translation>
    </message>
    <message>
        <source>Растянуть график по оси Y</source>
        <translation>Zoom in on the Y axis</translation>
    </message>
    <message>
        <source>Растянуть график по оси X</source>
        <translation>Zoom in on the X axis</translation>
    </message>
    <message>
        <source>Сдвинуть график влево</source>
        <translation>Scroll the chart left</translation>
    </message>
    <message>
        <source>Сдвинуть график вниз</source>
        <translation>Scroll the chart down</translation>
    </message>
    <message>
        <source>Сдвинуть график вверх</source>
        <translation>Scroll the chart up</translation>
    </message>
    <message>
        <source>Сдвинуть график вправо</source>
        <translation>Scroll the chart right</translation>
    </message>
    <message>
        <source>Автоматическое масштабирование по оси X</source>
        <translation>Auto scale the X axis</translation>
    </message>
    <message>
        <source>Автоматическое масштабирование по оси Y</source>
        <translation>Auto scale the Y axis</translation>
    </message>
    <message>
        <source>Очистить график</source>
        <translation>Clear the chart</translation>
    </message>
    <message>
        <source>Легенда</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>Объемное изображение</source>
        <translation>3D view</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Сохранить в WMF</source>
        <translation>Save as WMF</translation>
    </message>
    <message>
        <source>Диапазон времени</source>
        <translation>Time range</translation>
    </message>
    <message>
        <source>за 1    минуту</source>
        <translation>last 1    minute</translation>
    </message>
    <message>
        <source>за 5    минут</source>
        <translation>last 5    minutes</translation>
    </message>
    <message>
        <source>за 10  минут</source>
        <translation>last 10  minutes</translation>
    </message>
    <message>
        <source>за 15  минут</source>
        <translation>last 15  minutes</translation>
    </message>
    <message>
        <source>за 30  минут</source>
        <translation>last 30  minutes</translation>
    </message>
    <message>
        <source>за 1    час</source>
        <translation>last 1    hour</translation>
    </message>
    <message>
        <source>за 2    часа</source>
        <translation>last 2    hours</translation>
    </message>
    <message>
        <source>за 6    часов</source>
        <translation>last 6    hours</translation>
    </message>
    <message>
        <source>за 12  часов</source>
        <translation>last 12  hours</translation>
    </message>
    <message>
        <source>за 24  часа</source>
        <translation>last 24  hours</translation>
    </message>
    <message>
        <source>за 2     дня</source>
        <translation>last 2     days</translation>
    </message>
    <message>
        <source>за 3     дня</source>
        <translation>last 3     days</translation>
    </message>
    <message>
        <source>за 1     неделю</source>
        <translation>last 1     week</translation>
    </message>
    <message>
        <source>за 1/2 месяца</source>
        <translation>last 1/2 month</translation>
    </message>
    <message>
        <source>за 1     месяц</source>
        <translation>last 1     month</translation>
    </message>
    <message>
        <source>Следовать за новыми точками: ось X показывает последние минуты выбранного диапазона (без диапазона - показанной сейчас ширины)</source>
        <translation>Follow new points: the X axis shows the latest minutes of the chosen range (with no range, of the width shown now)</translation>
    </message>
    <message>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Файл записи измерения</source>
        <translation>Measurement record file</translation>
    </message>
    <message>
        <source>Запись измерения (*.csv)</source>
        <translation>Measurement record (*.csv)</translation>
    </message>
    <message>
        <source>Запись прекращена: %1</source>
        <translation>Recording stopped: %1</translation>
    </message>
    <message>
        <source>Запись измерения в файл прекращена: %1.<byte value="xd"/>Измерение продолжается, график сохраняет все точки.</source>
        <translation>Recording the measurement to file stopped: %1.<byte value="xd"/>The measurement goes on; the chart keeps every point.</translation>
    </message>
    <message>
        <source>Запись: %1</source>
        <translation>Recording: %1</translation>
    </message>
    <message>
        <source>Запись начнется с измерением: %1</source>
        <translation>Recording starts with the measurement: %1</translation>
    </message>
    <message>
        <source>Файл записи: %1</source>
        <translation>Record file: %1</translation>
    </message>
    <message>
        <source>Адрес %1, канал %2</source>
        <translation>Address %1, channel %2</translation>
    </message>
    <message>
        <source>Запись &quot;%1&quot; не открыта</source>
        <translation>Record &quot;%1&quot; not opened</translation>
    </message>
    <message>
        <source>Не удалось открыть запись &quot;%1&quot;: %2</source>
        <translation>Could not open record &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Открыта запись &quot;%1&quot;: отсчётов %2</source>
        <translation>Opened record &quot;%1&quot;: %2 readings</translation>
    </message>
    <message>
        <source>, перерывов %1</source>
        <translation>, %1 gaps</translation>
    </message>
    <message>
        <source>, непонятных строк %1</source>
        <translation>, %1 unreadable lines</translation>
    </message>
    <message>
        <source>Открытие записи измерения</source>
        <translation>Open measurement record</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Сохранение графика</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <source>Файл уже существует. Перезаписать?</source>
        <translation>The file already exists. Overwrite?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Не удалось сохранить график в файл %1<byte value="xd"/>%2</source>
        <translation>Could not save the chart to file %1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>Принтер не установлен. Настройте принтер по умолчанию и повторите печать.</source>
        <translation>No printer installed. Set up a default printer and print again.</translation>
    </message>
    <message>
        <source>Не удалось напечатать график.</source>
        <translation>Could not print the chart.</translation>
    </message>
</context>
<context>
    <name>TfrmProgSet</name>
    <message>
        <source>Настройки программы</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <source> Общие настройки программы </source>
        <translation> General </translation>
    </message>
    <message>
        <source>Сохранение настроек программы при выходе</source>
        <translation>Save program settings on exit</translation>
    </message>
    <message>
        <source>Загрузка последнего открытого проекта при запуске</source>
        <translation>Open the last project at start</translation>
    </message>
    <message>
        <source>Показывать подсказки</source>
        <translation>Show hints</translation>
    </message>
    <message>
        <source>Язык:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Как в системе</source>
        <translation>As in the system</translation>
    </message>
    <message>
        <source>Язык сменится при следующем запуске программы.</source>
        <translation>The language changes at the next start of the program.</translation>
    </message>
    <message>
        <source> Настройки чтения/записи данных </source>
        <translation> Reading and writing </translation>
    </message>
    <message>
        <source>Подтверждение при записи информации в прибор</source>
        <translation>Confirm before writing to the instrument</translation>
    </message>
    <message>
        <source>Попытки чтения при ошибке:</source>
        <translation>Read retries on error:</translation>
    </message>
    <message>
        <source>Попытки записи при ошибке:</source>
        <translation>Write retries on error:</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>UserDialogs</name>
    <message>
        <source>Папка</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Имя файла:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>Тип файла:</source>
        <translation>File type:</translation>
    </message>
    <message>
        <source>Папка:</source>
        <translation>Look in:</translation>
    </message>
</context>
<context>
    <name>ValueSetFile</name>
    <message>
        <source>файл не подходит к типу &quot;%1&quot; ни в одной версии описаний:</source>
        <translation>the file does not match type &quot;%1&quot; in any version of the descriptions:</translation>
    </message>
    <message>
        <source>... и ещё %1</source>
        <translation>... and %1 more</translation>
    </message>
    <message>
        <source>не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation>could not open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>файл &quot;%1&quot; не является документом JSON: %2</source>
        <translation>file &quot;%1&quot; is not a JSON document: %2</translation>
    </message>
    <message>
        <source>нужен объект</source>
        <translation>an object is needed</translation>
    </message>
    <message>
        <source>в файле нет приборов</source>
        <translation>the file holds no instruments</translation>
    </message>
    <message>
        <source>в файле нет прибора с адресом %1 (есть: %2)</source>
        <translation>the file holds no instrument at address %1 (there are: %2)</translation>
    </message>
    <message>
        <source>файл для типа &quot;%1&quot;, выбран тип &quot;%2&quot;</source>
        <translation>the file is for type &quot;%1&quot;, type &quot;%2&quot; is chosen</translation>
    </message>
    <message>
        <source>нет описаний параметров версии &quot;%1&quot;</source>
        <translation>no parameter descriptions of version &quot;%1&quot;</translation>
    </message>
    <message>
        <source>в файле нет списка &quot;parameters&quot;</source>
        <translation>the file has no &quot;parameters&quot; list</translation>
    </message>
    <message>
        <source>неизвестные параметры: %1</source>
        <translation>unknown parameters: %1</translation>
    </message>
    <message>
        <source>нет параметров: %1</source>
        <translation>missing parameters: %1</translation>
    </message>
    <message>
        <source>параметры заданы дважды: %1</source>
        <translation>parameters given twice: %1</translation>
    </message>
    <message>
        <source>файл не найден: %1</source>
        <translation>file not found: %1</translation>
    </message>
    <message>
        <source>файл &quot;%1&quot;: нужен .%2 или .json</source>
        <translation>file &quot;%1&quot;: .%2 or .json is needed</translation>
    </message>
    <message>
        <source>Неверно введен параметр &quot;%1&quot; .</source>
        <translation>Parameter &quot;%1&quot; entered incorrectly.</translation>
    </message>
    <message>
        <source>параметр &quot;%1&quot;: нет варианта с номером &quot;%2&quot;</source>
        <translation>parameter &quot;%1&quot;: no option number &quot;%2&quot;</translation>
    </message>
    <message>
        <source>параметр &quot;%1&quot;: нужно 0 или 1, а не &quot;%2&quot;</source>
        <translation>parameter &quot;%1&quot;: 0 or 1 is needed, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>параметр &quot;%1&quot;: неверное значение &quot;%2&quot;</source>
        <translation>parameter &quot;%1&quot;: invalid value &quot;%2&quot;</translation>
    </message>
    <message>
        <source>параметр &quot;%1&quot;: значение %2 меньше минимума %3</source>
        <translation>parameter &quot;%1&quot;: value %2 is below the minimum %3</translation>
    </message>
    <message>
        <source>параметр &quot;%1&quot;: значение %2 больше максимума %3</source>
        <translation>parameter &quot;%1&quot;: value %2 is above the maximum %3</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Ошибка! Не удалось загрузить библиотеку обмена:<byte value="xd"/>%1</source>
        <translation>Error! Could not load the exchange library:<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
</TS>
