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
    <name>DevTableFiles</name>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="125"/>
        <source>Сохранение параметров прибора в файл</source>
        <translation>Save instrument parameters to file</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="128"/>
        <source>Файл параметров прибора (*.%1)</source>
        <translation>Instrument parameter file (*.%1)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="129"/>
        <source>Текстовый файл (*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="130"/>
        <source>Документ Word (*.doc)</source>
        <translation>Word document (*.doc)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="131"/>
        <source>Книга MS Excel (*.xls)</source>
        <translation>MS Excel workbook (*.xls)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="132"/>
        <source>Web Page (*.html)</source>
        <translation>Web page (*.html)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="147"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="168"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="176"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="185"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="156"/>
        <source>Загрузка параметров прибора из файла</source>
        <translation>Load instrument parameters from file</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="159"/>
        <source>Файлы параметров прибора (*.%1)</source>
        <translation>Instrument parameter files (*.%1)</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="167"/>
        <source>Ошибка! Файл не найден!</source>
        <translation>Error! File not found!</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="182"/>
        <source>Файл параметров не загружен: значение в строке %1 содержит перевод строки.</source>
        <translation>Parameter file not loaded: the value in line %1 contains a line break.</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="202"/>
        <source>Принтер не установлен. Настройте принтер по умолчанию и повторите печать.</source>
        <translation>No printer installed. Set up a default printer and print again.</translation>
    </message>
    <message>
        <location filename="../src/ui/DevTableFiles.cpp" line="204"/>
        <location filename="../src/ui/DevTableFiles.cpp" line="210"/>
        <source>Печать</source>
        <translation>Print</translation>
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
        <location filename="../src/ui/HelpWindow.cpp" line="16"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="21"/>
        <source>Назад</source>
        <translation>Back</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="22"/>
        <source>Содержание</source>
        <translation>Contents</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="23"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpWindow.cpp" line="44"/>
        <source>&lt;p&gt;Файл справки не найден: %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Help file not found: %1&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>TLineLogModel</name>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="232"/>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="232"/>
        <source>Напр.</source>
        <translation>Dir.</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="232"/>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="232"/>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
        <source>Посылка</source>
        <translation>Frame</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
        <source>Результат</source>
        <translation>Result</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="233"/>
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
        <location filename="../src/ui/AboutWindow.cpp" line="95"/>
        <source>О Программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <location filename="../src/ui/AboutWindow.cpp" line="104"/>
        <source>Программа настройки 
приборов серии</source>
        <translation>Setup program for
the instrument series</translation>
    </message>
    <message>
        <location filename="../src/ui/AboutWindow.cpp" line="113"/>
        <source>Группа сервисного ПО</source>
        <translation>Service Software Group</translation>
    </message>
</context>
<context>
    <name>TfrmCalib</name>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="56"/>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="59"/>
        <source>Калибровать сопротивление линии (rL)</source>
        <translation>Calibrate line resistance (rL)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="60"/>
        <source>Остановить калибровку сопротивления линии (rL)</source>
        <translation>Stop line resistance calibration (rL)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="61"/>
        <source>Калибровать сопротивление компенсатора (rC)</source>
        <translation>Calibrate compensator resistance (rC)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="62"/>
        <source>Остановить калибровку сопротивления компенс. (rC)</source>
        <translation>Stop compensator resistance calibration (rC)</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="63"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../src/ui/CalibDialog.cpp" line="64"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>TfrmChan</name>
    <message>
        <location filename="../src/ui/ChanTable.cpp" line="58"/>
        <source> Параметр</source>
        <translation> Parameter</translation>
    </message>
    <message>
        <location filename="../src/ui/ChanTable.cpp" line="70"/>
        <source>Скопировать настройки канала в буфер</source>
        <translation>Copy channel settings to clipboard</translation>
    </message>
    <message>
        <location filename="../src/ui/ChanTable.cpp" line="71"/>
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
        <location filename="../src/ui/ConnectionDialog.cpp" line="24"/>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="27"/>
        <source>Вернуться к настройке параметров связи?</source>
        <translation>Return to the link settings?</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="62"/>
        <source>Настройки связи</source>
        <translation>Link Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="65"/>
        <source> Общие настройки </source>
        <translation> General </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="66"/>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="69"/>
        <source>Каналов</source>
        <translation>Channels</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="78"/>
        <source> Настройки связи </source>
        <translation> Link settings </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="79"/>
        <location filename="../src/ui/ConnectionDialog.cpp" line="101"/>
        <source>СОМ-порт</source>
        <translation>COM port</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="83"/>
        <location filename="../src/ui/ConnectionDialog.cpp" line="105"/>
        <source>Скорость</source>
        <translation>Speed</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="85"/>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="90"/>
        <source>Проверить связь</source>
        <translation>Check link</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="100"/>
        <source> Поиск приборов </source>
        <translation> Instrument search </translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="107"/>
        <source>Адреса</source>
        <translation>Addresses</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="109"/>
        <source>Поиск приборов</source>
        <translation>Search</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="112"/>
        <source>Скорость линии. У сетевого порта tcp:// скорость — собственная настройка сервера последовательных портов; порту rfc2217:// программа задает ее сама.</source>
        <translation>Line speed. For a tcp:// network port the speed is a setting of the serial port server itself; for an rfc2217:// port the program sets it.</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="125"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="126"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="297"/>
        <location filename="../src/ui/ConnectionWorkers.cpp" line="18"/>
        <source>Не удалось установить связь с прибором!</source>
        <translation>Could not establish a link with the instrument!</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="317"/>
        <source>Данная модификация прибора не поддерживается программой!<byte value="xd"/>Для работы с прибором необходимо обновить программу.</source>
        <translation>This instrument model is not supported by the program!<byte value="xd"/>Update the program to work with this instrument.</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="374"/>
        <source>Выход невозможен - дождитесь окончания обмена с приборами!</source>
        <translation>Cannot exit - wait until the exchange with the instruments ends!</translation>
    </message>
    <message>
        <location filename="../src/ui/ConnectionDialog.cpp" line="374"/>
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
        <location filename="../src/ui/LineMonitor.cpp" line="29"/>
        <source>Монитор обмена</source>
        <translation>Line Monitor</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="284"/>
        <source>Адрес:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="287"/>
        <source>все</source>
        <translation>all</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="289"/>
        <source>Показывать посылки только этого адреса</source>
        <translation>Show only the frames of this address</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="291"/>
        <source>Только ошибки</source>
        <translation>Errors only</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="293"/>
        <location filename="../src/ui/LineMonitor.cpp" line="351"/>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="295"/>
        <source>Остановить или продолжить вывод посылок (запись продолжается)</source>
        <translation>Stop or resume showing frames (logging goes on)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="296"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="297"/>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="298"/>
        <source>Копировать выделенные строки (Ctrl+C)</source>
        <translation>Copy the selected rows (Ctrl+C)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="299"/>
        <source>Сохранить...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="300"/>
        <source>Сохранить показанные строки в файл .txt или .csv</source>
        <translation>Save the shown rows to a .txt or .csv file</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="351"/>
        <source>Продолжить</source>
        <translation>Resume</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="420"/>
        <source>Показано: %1 из %2</source>
        <translation>Shown: %1 of %2</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="426"/>
        <source>; пауза, запись продолжается: новых %1</source>
        <translation>; paused, logging goes on: %1 new</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="429"/>
        <source>, пропущено: %1</source>
        <translation>, dropped: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="443"/>
        <source>Сохранить журнал обмена</source>
        <translation>Save exchange log</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="444"/>
        <source>Текст (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="444"/>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <location filename="../src/ui/LineMonitor.cpp" line="455"/>
        <source>Не удалось сохранить журнал обмена!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the exchange log!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="40"/>
        <source>Текущий проект изменен</source>
        <translation>Project changed</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="43"/>
        <source>Текущий проект сохранен</source>
        <translation>Project saved</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="46"/>
        <source>Нет открытого проекта</source>
        <translation>No open project</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="49"/>
        <source>Настройка приборов серии Kestrin K1</source>
        <translation>Kestrin K1 Series Setup</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="100"/>
        <source>Ошибка! Не найдены файлы необходимые для работы программы!</source>
        <translation>Error! Files the program needs were not found!</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="100"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="157"/>
        <source>Новый</source>
        <translation>New</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="159"/>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="161"/>
        <location filename="../src/ui/MainWindow.cpp" line="186"/>
        <location filename="../src/ui/MainWindow.cpp" line="324"/>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="163"/>
        <source>Сохранить как...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="164"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="166"/>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="168"/>
        <source>Настройки программы</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="170"/>
        <source>Монитор обмена</source>
        <translation>Line Monitor</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="171"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="173"/>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="177"/>
        <source>Считать все параметры из прибора</source>
        <translation>Read all parameters from the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="178"/>
        <source>Записать все параметры в прибор</source>
        <translation>Write all parameters to the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="179"/>
        <source>Остановить обмен данными с прибором</source>
        <translation>Stop the exchange with the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="181"/>
        <location filename="../src/ui/MainWindow.cpp" line="319"/>
        <source>Чтение</source>
        <translation>Read</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="182"/>
        <location filename="../src/ui/MainWindow.cpp" line="192"/>
        <location filename="../src/ui/MainWindow.cpp" line="320"/>
        <location filename="../src/ui/MainWindow.cpp" line="328"/>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="183"/>
        <location filename="../src/ui/MainWindow.cpp" line="321"/>
        <source>Зав. уст-ки</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="184"/>
        <location filename="../src/ui/MainWindow.cpp" line="322"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="185"/>
        <location filename="../src/ui/MainWindow.cpp" line="323"/>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="187"/>
        <location filename="../src/ui/MainWindow.cpp" line="325"/>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="188"/>
        <source>Настройки
связи</source>
        <translation>Link
settings</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="189"/>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="190"/>
        <location filename="../src/ui/MainWindow.cpp" line="207"/>
        <location filename="../src/ui/MainWindow.cpp" line="326"/>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="191"/>
        <location filename="../src/ui/MainWindow.cpp" line="327"/>
        <source>Запись</source>
        <translation>Write</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="199"/>
        <source>Проект</source>
        <translation>Project</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="204"/>
        <location filename="../src/ui/MainWindow.cpp" line="352"/>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="232"/>
        <source>Новый проект (Ctrl+N)</source>
        <translation>New project (Ctrl+N)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="233"/>
        <source>Открыть проект (Ctrl+O)</source>
        <translation>Open project (Ctrl+O)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="234"/>
        <source>Сохранить проект (Ctrl+S)</source>
        <translation>Save project (Ctrl+S)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="235"/>
        <source>Закрыть проект (Ctrl+X)</source>
        <translation>Close project (Ctrl+X)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="247"/>
        <source>Помощь (F10)</source>
        <translation>Help (F10)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="353"/>
        <source>Каналы</source>
        <translation>Channels</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="354"/>
        <source>Измерение</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="383"/>
        <source>нет обмена</source>
        <translation>no exchange</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="592"/>
        <source>Вы действительно хотите записать все параметры в прибор?</source>
        <translation>Do you really want to write all parameters to the instrument?</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="593"/>
        <source>Запись параметров</source>
        <translation>Write parameters</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="649"/>
        <source>Вы действительно хотите произвести запись данных в прибор?</source>
        <translation>Do you really want to write the data to the instrument?</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="649"/>
        <source>Запись данных</source>
        <translation>Write data</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="706"/>
        <source>Не удалось сохранить настройки программы!<byte value="xd"/>%1<byte value="xd"/>%2</source>
        <translation>Could not save the program settings!<byte value="xd"/>%1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="718"/>
        <source>Системное время</source>
        <translation>System time</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="719"/>
        <source>Тип прибора</source>
        <translation>Instrument type</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="720"/>
        <source>Состояние проекта</source>
        <translation>Project state</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="721"/>
        <source>Состояние обмена</source>
        <translation>Exchange state</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="722"/>
        <source>Выполнение операции</source>
        <translation>Operation progress</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="757"/>
        <source>Идет обмен данными с прибором. Продолжить?</source>
        <translation>An exchange with the instrument is running. Continue?</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="757"/>
        <source>Обмен с прибором</source>
        <translation>Instrument exchange</translation>
    </message>
</context>
<context>
    <name>TfrmMeasure</name>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="168"/>
        <source> Текущие измерения </source>
        <translation> Current measurements </translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="179"/>
        <source> Измер. значение</source>
        <translation> Measured value</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="182"/>
        <source>Измерение</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="183"/>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="185"/>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="192"/>
        <location filename="../src/ui/MeasureView.cpp" line="566"/>
        <source>Запись в файл</source>
        <translation>Record to file</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="193"/>
        <source>Записывать каждое измерение в файл по мере опроса</source>
        <translation>Write every measurement to a file as it is polled</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="194"/>
        <source>Файл записи...</source>
        <translation>Record file...</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="195"/>
        <source>Выбрать файл записи измерения для проекта</source>
        <translation>Choose the measurement record file for the project</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="200"/>
        <source>Открыть запись...</source>
        <translation>Open record...</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="201"/>
        <source>Показать на графике записанное измерение</source>
        <translation>Show a recorded measurement on the chart</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="212"/>
        <source> График зависимости измеряемой величины от времени (в мин.) </source>
        <translation> Measured value versus time (min) </translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="228"/>
        <source>Сжать график по оси X</source>
        <translation>Zoom out on the X axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="229"/>
        <source>Сжать график по оси Y</source>
        <translation>Zoom out on the Y axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="230"/>
        <source>Растянуть график по оси Y</source>
        <translation>Zoom in on the Y axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="231"/>
        <source>Растянуть график по оси X</source>
        <translation>Zoom in on the X axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="232"/>
        <source>Сдвинуть график влево</source>
        <translation>Scroll the chart left</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="233"/>
        <source>Сдвинуть график вниз</source>
        <translation>Scroll the chart down</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="234"/>
        <source>Сдвинуть график вверх</source>
        <translation>Scroll the chart up</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="235"/>
        <source>Сдвинуть график вправо</source>
        <translation>Scroll the chart right</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="236"/>
        <source>Автоматическое масштабирование по оси X</source>
        <translation>Auto scale the X axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="237"/>
        <source>Автоматическое масштабирование по оси Y</source>
        <translation>Auto scale the Y axis</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="238"/>
        <source>Очистить график</source>
        <translation>Clear the chart</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="239"/>
        <source>Легенда</source>
        <translation>Legend</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="240"/>
        <source>Объемное изображение</source>
        <translation>3D view</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="241"/>
        <location filename="../src/ui/MeasureView.cpp" line="756"/>
        <location filename="../src/ui/MeasureView.cpp" line="762"/>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="242"/>
        <source>Сохранить в WMF</source>
        <translation>Save as WMF</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="244"/>
        <source>Диапазон времени</source>
        <translation>Time range</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="245"/>
        <source>за 1    минуту</source>
        <translation>last 1    minute</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="245"/>
        <source>за 5    минут</source>
        <translation>last 5    minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="245"/>
        <source>за 10  минут</source>
        <translation>last 10  minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 15  минут</source>
        <translation>last 15  minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 30  минут</source>
        <translation>last 30  minutes</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 1    час</source>
        <translation>last 1    hour</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="246"/>
        <source>за 2    часа</source>
        <translation>last 2    hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 6    часов</source>
        <translation>last 6    hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 12  часов</source>
        <translation>last 12  hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 24  часа</source>
        <translation>last 24  hours</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="247"/>
        <source>за 2     дня</source>
        <translation>last 2     days</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 3     дня</source>
        <translation>last 3     days</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 1     неделю</source>
        <translation>last 1     week</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 1/2 месяца</source>
        <translation>last 1/2 month</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="248"/>
        <source>за 1     месяц</source>
        <translation>last 1     month</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="256"/>
        <source>Следовать за новыми точками: ось X показывает последние минуты выбранного диапазона (без диапазона - показанной сейчас ширины)</source>
        <translation>Follow new points: the X axis shows the latest minutes of the chosen range (with no range, of the width shown now)</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="372"/>
        <location filename="../src/ui/MeasureView.cpp" line="598"/>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="518"/>
        <source>Файл записи измерения</source>
        <translation>Measurement record file</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="519"/>
        <location filename="../src/ui/MeasureView.cpp" line="646"/>
        <source>Запись измерения (*.csv)</source>
        <translation>Measurement record (*.csv)</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="559"/>
        <source>Запись прекращена: %1</source>
        <translation>Recording stopped: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="563"/>
        <source>Запись измерения в файл прекращена: %1.<byte value="xd"/>Измерение продолжается, график сохраняет все точки.</source>
        <translation>Recording the measurement to file stopped: %1.<byte value="xd"/>The measurement goes on; the chart keeps every point.</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="576"/>
        <source>Запись: %1</source>
        <translation>Recording: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="580"/>
        <source>Запись начнется с измерением: %1</source>
        <translation>Recording starts with the measurement: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="582"/>
        <source>Файл записи: %1</source>
        <translation>Record file: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="622"/>
        <source>Адрес %1, канал %2</source>
        <translation>Address %1, channel %2</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="628"/>
        <source>Запись &quot;%1&quot; не открыта</source>
        <translation>Record &quot;%1&quot; not opened</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="630"/>
        <source>Не удалось открыть запись &quot;%1&quot;: %2</source>
        <translation>Could not open record &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="630"/>
        <location filename="../src/ui/MeasureView.cpp" line="748"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="634"/>
        <source>Открыта запись &quot;%1&quot;: отсчётов %2</source>
        <translation>Opened record &quot;%1&quot;: %2 readings</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="636"/>
        <source>, перерывов %1</source>
        <translation>, %1 gaps</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="638"/>
        <source>, непонятных строк %1</source>
        <translation>, %1 unreadable lines</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="645"/>
        <source>Открытие записи измерения</source>
        <translation>Open measurement record</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="646"/>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="736"/>
        <source>Сохранение графика</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="742"/>
        <source>Файл уже существует. Перезаписать?</source>
        <translation>The file already exists. Overwrite?</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="742"/>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="748"/>
        <source>Не удалось сохранить график в файл %1<byte value="xd"/>%2</source>
        <translation>Could not save the chart to file %1<byte value="xd"/>%2</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="755"/>
        <source>Принтер не установлен. Настройте принтер по умолчанию и повторите печать.</source>
        <translation>No printer installed. Set up a default printer and print again.</translation>
    </message>
    <message>
        <location filename="../src/ui/MeasureView.cpp" line="762"/>
        <source>Не удалось напечатать график.</source>
        <translation>Could not print the chart.</translation>
    </message>
</context>
<context>
    <name>TfrmProgSet</name>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="18"/>
        <source>Настройки программы</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="21"/>
        <source> Общие настройки программы </source>
        <translation> General </translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="22"/>
        <source>Сохранение настроек программы при выходе</source>
        <translation>Save program settings on exit</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="23"/>
        <source>Загрузка последнего открытого проекта при запуске</source>
        <translation>Open the last project at start</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="24"/>
        <source>Показывать подсказки</source>
        <translation>Show hints</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="25"/>
        <source>Язык:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="29"/>
        <source>Как в системе</source>
        <translation>As in the system</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="33"/>
        <source>Язык сменится при следующем запуске программы.</source>
        <translation>The language changes at the next start of the program.</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="46"/>
        <source> Настройки чтения/записи данных </source>
        <translation> Reading and writing </translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="47"/>
        <source>Подтверждение при записи информации в прибор</source>
        <translation>Confirm before writing to the instrument</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="48"/>
        <source>Попытки чтения при ошибке:</source>
        <translation>Read retries on error:</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="50"/>
        <source>Попытки записи при ошибке:</source>
        <translation>Write retries on error:</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="64"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/ui/SettingsDialog.cpp" line="65"/>
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
        <location filename="../src/gui/main.cpp" line="42"/>
        <source>Ошибка! Не удалось загрузить библиотеку обмена:<byte value="xd"/>%1</source>
        <translation>Error! Could not load the exchange library:<byte value="xd"/>%1</translation>
    </message>
    <message>
        <location filename="../src/gui/main.cpp" line="44"/>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
</TS>
