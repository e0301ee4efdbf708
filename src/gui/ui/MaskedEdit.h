#pragma once
// An edit with a digit template: "99" admits at most two digits, so the field holds a number
// from 0 to 99 or nothing.

#include <QLineEdit>

namespace derode::gui {

class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    MaskedEdit(const QString& digitTemplate, QWidget* parent = nullptr);
};

}  // namespace derode::gui
