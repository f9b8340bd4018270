#pragma once
// Parameter values of one device type taken from a file, for a write or a comparison: the
// parameter-set file (the type's DevExt, as the window saves it) and the JSON document of
// `kestrin-cli read`, and their comparison with an instrument's values. Shared by kestrin-cli and
// the window's device page.
#include "exchange/ReadWriteAll.h" // ExpectedReadBack: what a parameter reads back as after a write
#include "model/Model.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The encoding code of bit strings: the protocol carries none of their values.
inline constexpr uint8_t KBitStringCode = 4;

// Values of one type's parameters taken from a file.
struct TValueSet {
    QStringList Versions; // description versions the file fits ("" the base descriptions), first is loaded
    QStringList Values;   // one value text per parameter of that version, in order
    bool Several = false; // taken from a JSON document of several devices, by address
};

enum class TValueSetStatus {
    Ok,
    Refused,  // another type or version, unknown or missing names, values the window would refuse
    FileError // missing, unreadable or damaged file
};

struct TValueSetLoad {
    TValueSetStatus Status = TValueSetStatus::Ok;
    QStringList Problems; // one line each, naming parameters
};

// Reads path (.DevExt or .json) for type; on success the type's descriptions are those of
// set.Versions.first(), which is preferredVersion when the file fits it. A JSON document of
// several devices gives the one at address. With checkValues, empty values and values the window
// would refuse or bring to a limit are refused too, before anything is sent.
TValueSetLoad LoadValueSet(const QString& progDir, TDevProp& type, const QString& path, bool checkValues,
                           int address, TValueSet& set, const QString* preferredVersion = nullptr);

// The window's value rules for one value of p: empty values, option numbers, check boxes, numbers
// and their limits. A comma in a real becomes a point in value. Empty when the value is taken,
// otherwise the problem, naming the parameter.
QString CheckSetValue(const TParam& p, QString& value);
// CheckSetValue for a whole set; empty when every value is taken.
QStringList CheckValueSet(const TDevProp& type, QStringList& values);

// The text a parameter's value is shown with: the option text of a list, otherwise the value.
QString DisplayValue(const TParam& p, const QString& value);

struct TValueDifference {
    int Index = 0;
    QString File;   // the file's value text
    QString Device; // the instrument's (or the table's) value text
};

struct TValueSetComparison {
    int Compared = 0; // parameters compared
    std::vector<TValueDifference> Differences;
    std::vector<int> BitStrings;        // bit strings of the type: never compared
    std::vector<int> BitStringsChanged; // those among them whose file value is not the factory one
};

// The file's values against the instrument's, parameter by parameter where delivered says the
// instrument's value is known; bit strings are never compared. Values are compared as the
// instrument stores them: the file's through the wire encoding and back, the instrument's too
// unless deviceAsStored (values read from it are stored forms already).
TValueSetComparison CompareValueSets(const TDevProp& type, const QStringList& file, const QStringList& device,
                                     const std::vector<bool>& delivered, bool deviceAsStored);
