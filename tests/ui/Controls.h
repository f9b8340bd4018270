#pragma once
// Tests find a window's or dialog's controls by objectName, never through its fields.
#include <QObject>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

// A control of a window or dialog (any object below it) by its objectName ("btnOk", "Combo1",
// "Chart"). A missing name fails the test with the name and ends it there, so a renamed control is
// reported as such and not as a crash somewhere later.
template <class T = QWidget> T* Control(const QObject* in, const char* name) {
    T* c = in ? in->findChild<T*>(QLatin1String(name)) : nullptr;
    if (!c) {
        ADD_FAILURE() << "no " << T::staticMetaObject.className() << " named " << name;
        std::fflush(stdout);
        std::abort();
    }
    return c;
}
