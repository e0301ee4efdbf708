#pragma once
// The small dialog behind the login's three league buttons: it asks for the administrator
// password and the league's name. Mode 1 creates the league itself; modes 2 (rename) and
// 3 (delete) only confirm, and the login dialog then changes the disk and its list.
// Result: the mode when its action was confirmed, else 0.

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace derode::gui {

class CSINGLELINEEDITEX;

class CREATELIGUE : public QDialog {
    Q_OBJECT
public:
    enum Mode { Create = 1, Rename = 2, Delete = 3 };

    // `selected` is the login dialog's selected league (the name field's text in modes 2 and 3).
    CREATELIGUE(QWidget* owner, int mode, const QString& selected = {});

    // The name field's text.
    QString LIGUE() const;

    void CPUSHSAVEACTION();
    void CCHECKBOX1();
    void ONEDITCHANGE();

private:
    int mode_;
    QLineEdit* password_;
    QCheckBox* show_;
    CSINGLELINEEDITEX* name_;
};

}  // namespace derode::gui
