#pragma once
// Files of kestrin-cli: the JSON document of devices, parameter-set bytes and per-address and
// per-port file names. Reading values from files is shared with the window (formats/ValueSetFile).
#include "formats/GridData.h"
#include "formats/ValueSetFile.h"
#include "model/Model.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

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
