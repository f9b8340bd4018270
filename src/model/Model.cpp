#include "model/Model.h"

#include "common/IniFile.h"
#include "common/Numbers.h"

#include <QFileInfo>
#include <bitset>

const std::vector<TColorIdent>& ColorIdents() {
    static const std::vector<TColorIdent> idents = [] {
        std::vector<TColorIdent> v = {
            {"clBlack", 0x000000},   {"clMaroon", 0x000080}, {"clGreen", 0x008000},  {"clOlive", 0x008080},
            {"clNavy", 0x800000},    {"clPurple", 0x800080}, {"clTeal", 0x808000},   {"clGray", 0x808080},
            {"clSilver", 0xC0C0C0},  {"clRed", 0x0000FF},    {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
            {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
        };
        // System colours, numbered by the Windows system-colour index in the low byte.
        const char* system[] = {"clScrollBar",      "clBackground",     "clActiveCaption", "clInactiveCaption",
                                "clMenu",           "clWindow",         "clWindowFrame",   "clMenuText",
                                "clWindowText",     "clCaptionText",    "clActiveBorder",  "clInactiveBorder",
                                "clAppWorkSpace",   "clHighlight",      "clHighlightText", "clBtnFace",
                                "clBtnShadow",      "clGrayText",       "clBtnText",       "clInactiveCaptionText",
                                "clBtnHighlight",   "cl3DDkShadow",     "cl3DLight",       "clInfoText",
                                "clInfoBk"};
        uint32_t value = 0x80000000u;
        for (const char* name : system)
            v.push_back({name, value++});
        v.push_back({"clNone", 0x1FFFFFFF});
        return v;
    }();
    return idents;
}

bool ColorFromText(const QString& text, uint32_t& color) {
    const QString t = text.trimmed();
    for (const TColorIdent& c : ColorIdents()) {
        if (t.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            color = c.Value;
            return true;
        }
    }
    if (auto v = Numbers::ParseInt(t)) {
        color = static_cast<uint32_t>(*v);
        return true;
    }
    return false;
}

QString ColorIdentOf(uint32_t color) {
    for (const TColorIdent& c : ColorIdents())
        if (c.Value == color)
            return QLatin1String(c.Name);
    return QString();
}

std::vector<std::unique_ptr<TDevProp>> ReadCatalogue(const QString& path) {
    std::vector<std::unique_ptr<TDevProp>> list;
    const TIniFile ini(path);
    for (const QString& s : ini.ReadSections()) {
        auto t = std::make_unique<TDevProp>();
        t->Name = ini.ReadString(s, QStringLiteral("Name"), QString());
        t->TypeNum = static_cast<uint8_t>(ini.ReadInteger(s, QStringLiteral("TypeNum"), 0));
        t->BaudRate = ini.ReadInteger(s, QStringLiteral("BaudRate"), 9600);
        t->TimeOut = ini.ReadInteger(s, QStringLiteral("TimeOut"), 500);
        t->Tmin = ini.ReadFloat(s, QStringLiteral("Tmin"), 0.7);
        t->Channels = static_cast<uint8_t>(ini.ReadInteger(s, QStringLiteral("Channels"), 1));
        // Catalogues written on Windows give the directory with backslashes.
        t->Dir = ini.ReadString(s, QStringLiteral("Dir"), QString()).replace(QLatin1Char('\\'), QLatin1Char('/'));
        t->DevExt = ini.ReadString(s, QStringLiteral("DevExt"), QString());
        t->ChExt = ini.ReadString(s, QStringLiteral("ChExt"), QString());
        list.push_back(std::move(t));
    }
    return list;
}

namespace {
QString TypeDir(const QString& progDir, const TDevProp& t) {
    QString d = progDir + t.Dir;
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}
} // namespace

QString DescriptionPath(const QString& progDir, const TDevProp& t, const QString& version) {
    return version.isEmpty() ? TypeDir(progDir, t) + QStringLiteral("data/device.ini")
                             : TypeDir(progDir, t) + QStringLiteral("data_ver/") + version + QStringLiteral(".dv");
}

QString MenuPath(const QString& progDir, const TDevProp& t, const QString& version) {
    return version.isEmpty() ? TypeDir(progDir, t) + QStringLiteral("data/dev_menu.ini")
                             : TypeDir(progDir, t) + QStringLiteral("data_ver/") + version + QStringLiteral(".dm");
}

QString MissingDescriptionFile(const QString& progDir, const TDevProp& t, const QString& version) {
    for (const QString& path : {DescriptionPath(progDir, t, version), MenuPath(progDir, t, version)}) {
        const QFileInfo fi(path);
        if (!fi.isFile() || !fi.isReadable())
            return path;
    }
    return QString();
}

bool LoadDescriptions(const QString& progDir, TDevProp& t, const QString& version) {
    // A version text naming another directory ("../x", "a/b") is not a version of this type.
    if (version.contains(QLatin1Char('/')) || version.contains(QLatin1Char('\\')) || version.contains(QChar(0)))
        return false;
    const QString descPath = DescriptionPath(progDir, t, version);
    const QString menuPath = MenuPath(progDir, t, version);
    if (!QFileInfo(descPath).isFile() || !QFileInfo(menuPath).isFile())
        return false;
    const TIniFile desc(descPath);
    const TIniFile menu(menuPath);
    if (!desc.Loaded() || !menu.Loaded())
        return false;

    std::vector<std::unique_ptr<TParam>> params;
    int32_t sqrtIndex = -1;
    int32_t sqrtLinIndex = -1;
    const QStringList sections = desc.ReadSections();
    params.reserve(static_cast<size_t>(sections.size()));
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const QString& s = sections[i];
        auto p = std::make_unique<TParam>();
        p->Name = s;
        if (s == SqrtParamName)
            sqrtIndex = static_cast<int32_t>(i);
        if (s == SqrtLinParamName)
            sqrtLinIndex = static_cast<int32_t>(i);
        p->VType = static_cast<uint8_t>(desc.ReadInteger(s, QStringLiteral("VType"), 1));
        p->Address = static_cast<uint16_t>(desc.ReadInteger(s, QStringLiteral("Address"), 0));
        p->Value = desc.ReadString(s, QStringLiteral("Value"), QString());
        p->Vmin = desc.ReadString(s, QStringLiteral("Vmin"), QString());
        p->Vmax = desc.ReadString(s, QStringLiteral("Vmax"), QString());
        p->Hint = desc.ReadString(s, QStringLiteral("Hint"), QString());
        p->SType = static_cast<uint8_t>(desc.ReadInteger(s, QStringLiteral("SType"), 0));
        if (p->SType == 1) {
            p->Vmin = QStringLiteral("0");
            p->Vmax = QStringLiteral("255");
            p->Menu = std::make_unique<QStringList>(MenuSize, MenuNoneText);
            // One pass over the section instead of 256 look-ups. Only "M" and the number in decimal
            // without leading zeros names an option, as a look-up of "M" + k would find it; the
            // first of repeated keys counts.
            std::bitset<MenuSize> found;
            menu.ForEachKey(s, [&](QStringView key, QStringView text) {
                if (key.size() < 2 || key.size() > 4 || (key[0] != QLatin1Char('M') && key[0] != QLatin1Char('m')))
                    return;
                int k = 0;
                for (qsizetype j = 1; j < key.size(); ++j) {
                    if (!key[j].isDigit() || key[j].unicode() > '9' || (j == 1 && key[j] == QLatin1Char('0') && key.size() > 2))
                        return;
                    k = k * 10 + (key[j].unicode() - '0');
                }
                if (k < MenuSize && !found[static_cast<size_t>(k)]) {
                    found.set(static_cast<size_t>(k));
                    (*p->Menu)[k] = text.toString();
                }
            });
        }
        // A colour that is neither an identifier nor a number falls back to the default white
        // rather than leaving the list half loaded.
        uint32_t color = 0xFFFFFF;
        if (!ColorFromText(desc.ReadString(s, QStringLiteral("Color"), QStringLiteral("$FFFFFF")), color))
            color = 0xFFFFFF;
        p->Color = color;
        params.push_back(std::move(p));
    }
    t.Params = std::move(params);
    t.SqrtIndex = sqrtIndex;
    t.SqrtLinIndex = sqrtLinIndex;
    t.Version = version;
    return true;
}

bool Reload(const QString& progDir, TDevProp& t, TDev& dev, const QString& version) {
    QStringList oldNames;
    for (const auto& p : t.Params)
        oldNames.append(p->Name.toCaseFolded());
    if (!LoadDescriptions(progDir, t, version))
        return false;
    const QStringList oldValues = dev.Values;
    dev.Values.clear();
    for (const auto& p : t.Params) {
        const qsizetype k = oldNames.indexOf(p->Name.toCaseFolded());
        dev.Values.append(k >= 0 && k < oldValues.size() ? oldValues[k] : QString());
    }
    return true;
}

QString PackValues(const TDev& dev) {
    QString out = QStringLiteral("|");
    for (const QString& v : dev.Values) {
        out += v;
        out += QLatin1Char('|');
    }
    return out;
}

void UnpackValues(TDev& dev, const QString& text) {
    qsizetype pos = text.indexOf(QLatin1Char('|'));
    if (pos < 0)
        return;
    ++pos;
    for (qsizetype i = 0; i < dev.Values.size(); ++i) {
        const qsizetype bar = text.indexOf(QLatin1Char('|'), pos);
        if (bar < 0)
            return;
        dev.Values[i] = text.mid(pos, bar - pos);
        pos = bar + 1;
    }
}
