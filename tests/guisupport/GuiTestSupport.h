#pragma once
// Helpers for the Qt Test suites: the headless helpers plus widget lookup by objectName and a
// driver for modal dialogs.

#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <functional>

namespace derode::test {

// The child of a window named after the control ("id" + resource number, or the program's name).
template <typename T> T* control(QWidget* window, const QString& name)
{
    return window->findChild<T*>(name);
}

// Runs `action` on the next modal dialog that comes up (other than the one active now), from the
// event loop of its exec(). A dialog that is still open 5 seconds after the action, or a dialog
// that never appears within 5 seconds, ends the wait so that a failing test never blocks: the
// dialog is rejected and `missed()` tells it.
class ModalDriver {
public:
    void onNextModal(std::function<void(QDialog*)> action);
    bool missed() const { return missed_; }

private:
    bool missed_ = false;
};

// Convenience: schedules `action` and returns at once.
void onNextModal(std::function<void(QDialog*)> action);

// Types text key by key, accented letters included (QTest::keyClicks only knows ASCII).
void typeText(QWidget* widget, const QString& text);

// The text of a PDF file as pdftotext lays it out; empty when it cannot be read.
QString pdfText(const QString& pdf);

} // namespace derode::test
