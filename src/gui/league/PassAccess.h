#pragma once
// The administrator's confirmation before a command that destroys data: the league password
// (or the master password) must be typed again. Attempts are unlimited; a wrong one clears
// the field and keeps the dialog open.

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace derode::gui {

class PassAccessDialog : public QDialog {
    Q_OBJECT
public:
    explicit PassAccessDialog(QWidget* owner);

    // Replaces the default warning (the program's "\r\n" breaks are kept in the text).
    void setWARNTEXT(const QString& text);

    void CPUSHOK();
    void CPUSHCANCEL();

private:
    QLabel* warning_;
    QLineEdit* password_;
};

// Shows the confirmation modally; true when the password was accepted, false when cancelled.
// An empty warning keeps the default one.
bool PASSACCESS(QWidget* parent, const std::string& warning = {});

}  // namespace derode::gui
