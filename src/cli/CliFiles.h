#pragma once
// Parameter values in files for kestrin-cli: the parameter-set file (.kpr, as the window saves
// it) and the JSON document, read back with the checks the window makes before a write.
#include "exchange/ReadWriteAll.h"
#include "formats/GridData.h"
#include "model/Model.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

// Values of one type's parameters taken from a file.
struct TValueSet {
    QStringList Versions; // description versions the file fits ("" the base descriptions), first is loaded
    QStringList Values;   // one value text per parameter of that version, in order
    bool Several = false; // taken from a JSON document of several devices, by address
};

struct TValueSetLoad {
    int Exit = 0; // CliOk, CliRefused (another type or version, unknown or missing names) or CliFileError
    QStringList Problems; // one line each, naming parameters
};

// Reads path (.kpr or .json) for type; on success the type's descriptions are those of
// set.Versions.first(). A JSON document of several devices gives the one at address. With
// checkValues, empty values and values the window would refuse or bring to a limit are refused
// too, before anything is sent.
TValueSetLoad LoadValueSet(const QString& progDir, TDevProp& type, const QString& path, bool checkValues,
                           int address, TValueSet& set);

// The window's value rules for a whole set: empty values, option numbers, check boxes, numbers
// and their limits. Commas in reals become points in values. Empty when every value is taken.
QStringList CheckValueSet(const TDevProp& type, QStringList& values);

// The text a parameter's value is shown with: the option text of a list, otherwise the value.
QString DisplayValue(const TParam& p, const QString& value);

// ExpectedReadBack: what reading a parameter back gives after a write (the exchange's own rule).

// One device as JSON: address, type, version, status, message, parameters (name, value, text,
// read) and failed parameters.
QJsonObject DeviceJson(const TDevProp& type, const TDev& dev, const std::vector<bool>& delivered);

// The parameter-set file bytes of the table that shows values for type.
QByteArray ParamSetBytes(const TDevProp& type, const QStringList& values);

// A file name for one address of several: "set.kpr" becomes "set_3.kpr".
QString PerAddressName(const QString& path, int address, bool several);

// A file name for one port of several: "set.kpr" on /dev/ttyUSB0 becomes "set_ttyUSB0.kpr" (then
// PerAddressName adds the address). The port's name loses "/dev/" and keeps letters, digits, '.'
// and '-'; every other run of characters becomes one '_' ("tcp://10.0.0.5:4001" gives
// "tcp_10.0.0.5_4001").
QString PerPortName(const QString& path, const QString& port);

// Whether a file can be created at path (tried with a temporary file beside it, removed again).
TFileResult ProbeWritable(const QString& path);
