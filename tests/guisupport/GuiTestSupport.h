#pragma once
// Helpers for the Qt Test suites: the headless helpers plus widget lookup by objectName.

#include "support/TestSupport.h"

#include <QApplication>
#include <QWidget>

namespace derode::test {

// The child of a window named after the control ("id" + resource number, or the program's name).
template <typename T>
T* control(QWidget* window, const QString& name)
{
    return window->findChild<T*>(name);
}

}  // namespace derode::test
