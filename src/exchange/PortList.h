#pragma once
// The usable serial ports, as the exchange library finds them, and the fixed list of line speeds.
#include "exchange/KvLibrary.h"

#include <QString>
#include <QStringList>

// The seven speeds the instruments support, "300" to "19200"; the index is the form in which the
// instruments' speed parameter holds a speed.
QStringList SpeedList();

// Appends the names of a ";"-separated port text: every ";" ends a name, a last name without ";"
// counts too, two ";" in a row give an empty name.
void ParsePortText(const QString& text, QStringList& list);

// Asks the library for the usable ports as they are now (an empty list on failure). window is handed
// to the library as the main window's handle.
QStringList ReadPortList(const TKvApi& api, void* window = nullptr);

// Asks the library once for the usable ports and appends them to portList (nothing on failure),
// then appends the seven speeds to speedList whatever the search gave. window is handed to the
// library as the main window's handle.
void LoadPortList(const TKvApi& api, QStringList& portList, QStringList& speedList, void* window = nullptr);
