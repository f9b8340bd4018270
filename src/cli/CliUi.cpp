#include "cli/CliUi.h"

#include "model/ValueCheck.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
// The exchange's question when the instrument's version differs from the loaded descriptions.
bool IsVersionQuestion(const QString& text) {
    return text == QCoreApplication::translate("Exchange",
                                               "Прибор имеет параметры отличные от представленных в списке!\r"
                                               "Загрузить новый список параметров и продолжить чтение?") ||
           text == QCoreApplication::translate("Exchange",
                                               "Прибор имеет параметры отличные от представленных в списке!\r"
                                               "Загрузить новый список параметров и продолжить запись?");
}
} // namespace

void TCliUi::Begin(TDevProp& type, TDev& dev, const QString& label) {
    Type = &type;
    Dev = &dev;
    Label = label;
    LastStatus.clear();
    ErrorBoxes.clear();
    Delivered.assign(static_cast<size_t>(type.ParamCount()), false);
    RefusedVersion.clear();
    VersionRefused = false;
    DescriptionsMissing = false;
    MissingFile.clear();
    MissingVersion.clear();
}

void TCliUi::ShowProgress(bool on) {
    if (Progress && !on)
        Progress(Label, -1);
    else if (on)
        SetProgress(0);
    else
        ClearBar();
}

void TCliUi::SetProgress(int percent) {
    if (Progress)
        Progress(Label, std::clamp(percent, 0, 100));
    if (!ProgressBar)
        return;
    constexpr int width = 30;
    const int filled = std::clamp(percent, 0, 100) * width / 100;
    const QByteArray bar = QByteArray(filled, '#') + QByteArray(width - filled, '.');
    std::fprintf(stderr, "\r%s [%s] %3d%%", Label.toUtf8().constData(), bar.constData(), percent);
    std::fflush(stderr);
    BarShown = true;
}

void TCliUi::ClearBar() {
    if (BarShown) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        BarShown = false;
    }
}

bool TCliUi::AskYesNo(const QString& text, const QString&) {
    // The version question is answered by the command (load the instrument's descriptions, or
    // refuse them in ReloadDescriptions); a parameter that keeps failing is not retried again.
    return IsVersionQuestion(text) && ReloadForVersion;
}

void TCliUi::StoreValue(int index, const QString& value) {
    if (index < 0 || index >= Dev->Values.size())
        return;
    Dev->Values[index] = value;
    if (static_cast<size_t>(index) < Delivered.size())
        Delivered[static_cast<size_t>(index)] = true;
}

void TCliUi::NotDelivered(int index) {
    // The same rule as the window's table after a read.
    if (index >= 0 && index < Type->ParamCount() && index < Dev->Values.size() &&
        TakesFactoryValueWhenNotRead(Type->Param(index), Dev->Values[index]))
        Dev->Values[index] = Type->Param(index).Value;
}

int TCliUi::FirstEmptyValue() {
    for (int i = 0; i < Dev->Values.size(); ++i)
        if (Dev->Values[i].isEmpty())
            return i;
    return -1;
}

bool TCliUi::ReloadDescriptions(const QString& version) {
    if (AcceptedVersions && !AcceptedVersions->contains(version)) {
        VersionRefused = true;
        RefusedVersion = version;
        return false;
    }
    if (!Reload(ProgDir, *Type, *Dev, version)) {
        DescriptionsMissing = true;
        MissingVersion = version;
        MissingFile = MissingDescriptionFile(ProgDir, *Type, version);
        return false;
    }
    Delivered.assign(static_cast<size_t>(Type->ParamCount()), false);
    return true;
}

void TCliUi::AddPoint(int k, double minutes, double value) {
    if (OnPoint)
        OnPoint(k, minutes, value, LastText);
}
