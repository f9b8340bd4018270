#pragma once
// The device model: catalogue entries (TDevProp) with their parameter descriptions (TParam), and the
// device records (TDev) that hold how an instrument is reached and its current value texts.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

// Names of the coupled parameters and of the two parameters write-all follows.
inline const QString SqrtParamName = QStringLiteral("Функция извл. квадр. корня для униф. сигнала");
inline const QString SqrtLinParamName = QStringLiteral("Функция линеар. квадр. корня вблизи нуля");
inline const QString NetAddressParamName = QStringLiteral("Сетевой адрес");
inline const QString SpeedParamName = QStringLiteral("Скорость обмена");
inline const QString MenuNoneText = QStringLiteral("<none>");
constexpr int MenuSize = 256;

// One parameter description.
class TParam {
public:
    QString Name;
    uint8_t VType = 0;
    uint16_t Address = 0;
    QString Value; // factory default, in the value-text convention
    QString Vmin;
    QString Vmax;
    uint8_t SType = 0;                 // 0 text, 1 option list, 2 check box
    std::unique_ptr<QStringList> Menu; // 256 option texts, only for SType 1
    QString Hint;
    uint32_t Color = 0xFFFFFF; // 0x00BBGGRR, or a system colour from 0x80000000 on
};

// One catalogue entry.
class TDevProp {
public:
    QString Name;
    uint8_t TypeNum = 0;
    int32_t BaudRate = 9600;
    int32_t TimeOut = 500;
    double Tmin = 0.7;
    QString Dir;
    QString DevExt;
    QString ChExt;
    uint8_t Channels = 1;
    std::vector<std::unique_ptr<TParam>> Params;
    QString Version; // empty while the base descriptions are loaded
    int32_t SqrtIndex = -1;
    int32_t SqrtLinIndex = -1;

    int ParamCount() const { return static_cast<int>(Params.size()); }
    TParam& Param(int i) { return *Params[static_cast<size_t>(i)]; }
    const TParam& Param(int i) const { return *Params[static_cast<size_t>(i)]; }
};

// One device record: how the instrument is reached and one value text per parameter.
class TDev {
public:
    TDev() = default;
    explicit TDev(int paramCount) : Values(paramCount, QString()) {}

    uint8_t Address = 1;
    uint16_t BaudRate = 9600;
    QString COMPort;
    QStringList Values;
};

// Colour identifiers and their values.
struct TColorIdent {
    const char* Name;
    uint32_t Value;
};
const std::vector<TColorIdent>& ColorIdents();
// Identifier (letter case ignored) or integer text; nullopt when it is neither.
bool ColorFromText(const QString& text, uint32_t& color);
// Identifier of a colour value, or empty when it has none.
QString ColorIdentOf(uint32_t color);

// The catalogue "devices.ini": one entry per section, in file order.
std::vector<std::unique_ptr<TDevProp>> ReadCatalogue(const QString& path);

// Paths of the description pair of an entry for a version text (empty: the base pair).
QString DescriptionPath(const QString& progDir, const TDevProp& t, const QString& version);
QString MenuPath(const QString& progDir, const TDevProp& t, const QString& version);

// The first file of the pair for a version that is missing or cannot be read; empty when both can.
QString MissingDescriptionFile(const QString& progDir, const TDevProp& t, const QString& version);

// Replaces the entry's parameter list with the pair selected by the version text; false (and the
// entry untouched) when either file is missing.
bool LoadDescriptions(const QString& progDir, TDevProp& t, const QString& version);

// LoadDescriptions, then rebuilds the device record's values for the new list by parameter name
// (letter case ignored). False, with nothing changed, when the load fails.
bool Reload(const QString& progDir, TDevProp& t, TDev& dev, const QString& version);

// Packed value text of a project file: "|" and then every value followed by "|" (no escape).
QString PackValues(const TDev& dev);
// Sets the record's values from a packed text; values after the last one found keep what they held.
void UnpackValues(TDev& dev, const QString& text);
