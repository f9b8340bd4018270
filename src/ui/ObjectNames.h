#pragma once
// Tests and scripts find a window's controls by objectName, so each control is named after the member
// that holds it and the name stays when the layout changes.
#include <QObject>
#include <QString>
#include <initializer_list>
#include <utility>

inline void NameControls(std::initializer_list<std::pair<QObject*, const char*>> controls) {
    for (const auto& [control, name] : controls)
        control->setObjectName(QLatin1String(name));
}
