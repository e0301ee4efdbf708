#pragma once
// `CLIPBOARD`: puts a text on the system clipboard (the support mail copies its text there).

#include <QString>

class QWidget;

namespace derode::gui {

class CLIPBOARD {
public:
    explicit CLIPBOARD(QWidget* owner = nullptr) : owner_(owner) {}
    // Copies the text to the clipboard; true when the clipboard holds it afterwards.
    bool INSERT(const QString& text);

private:
    QWidget* owner_;
};

}  // namespace derode::gui
