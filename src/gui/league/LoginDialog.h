#pragma once
// The dialog every run begins with: choose the league (or create, rename, delete leagues), then
// enter as a normal user or, with the league's password, as administrator.
// Result: 1 normal user, 2 administrator, 0 quit.

#include "league/Login.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace derode::gui {

class CLOGIN : public QDialog {
    Q_OBJECT
public:
    explicit CLOGIN(QWidget* parent = nullptr);

    // The selected league's name; empty when the list is empty.
    QString CURRENTLIGUE() const;

    void CPUSHNORMALUSER();
    void CPUSHADMIN();
    void QUITBUT();
    void CPUSHAJOUTLIGUE();
    void CPUSHMODIFLIGUE();
    void CPUSHDELETELIGUE();
    void CCHECKBOX1();

private:
    // Shows the list as the login rules left it; with no league, only creating and quitting remain.
    void showList(const league::LoginListState& state);

    bool filling_ = false;

    QComboBox* leagues_;
    QPushButton* normalUser_;
    QPushButton* administrator_;
    QPushButton* rename_;
    QPushButton* remove_;
    QLineEdit* password_;
    QCheckBox* show_;
};

}  // namespace derode::gui
