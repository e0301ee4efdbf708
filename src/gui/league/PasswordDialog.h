#pragma once
// The administrator's password change: the current password (or the master password), then
// the new one twice.

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace derode::gui {

class CPASSDLG : public QDialog {
    Q_OBJECT
public:
    explicit CPASSDLG(QWidget* owner);

    // Checks and stores; ends with 1 when the new password is in force, else the dialog stays.
    void CSAVEBUT();
    void CCANCELBUT();
    void CCHECKBOX1();

private:
    QLineEdit* current_;
    QLineEdit* newPassword_;
    QLineEdit* again_;
    QCheckBox* show_;
};

}  // namespace derode::gui
