#pragma once
// The current league's options: the heading of reports and points sheets, the copies of the
// draw sheet and of the member list, the number of lanes and the maximum points of a game.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace derode::gui {

class MaskedEdit;

class OPTIONDLG : public QDialog {
    Q_OBJECT
public:
    explicit OPTIONDLG(QWidget* owner);

    // Saves in the options file and closes; both end the dialog with 0.
    void CSAVEBUT();
    void CCANCELBUT();

private:
    QLabel* league_;
    QLineEdit* heading_;
    MaskedEdit* drawCopies_;
    MaskedEdit* memberListCopies_;
    MaskedEdit* lanes_;
    MaskedEdit* maxPoints_;
};

}  // namespace derode::gui
