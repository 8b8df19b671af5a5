#pragma once
// A window's controls by their design names, the way the tests reach them:
// every control's objectName is its name.
#include <QLatin1String>
#include <QObject>
#include <QWidget>

#include <gtest/gtest.h>

namespace telvara::test {

// A part of a window by its design name; the test fails when there is none.
template <class T = QWidget> T* partOf(const QObject* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace telvara::test
