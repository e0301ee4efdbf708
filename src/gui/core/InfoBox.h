#pragma once
// The program's own message box in its three kinds: information ("INFO", "OK", blue "i"),
// error ("ERREUR", "OK", red "?") and question ("ATTENTION", "Oui" / "Non", red "?").
// Result: 1 for "OK" / "Oui"; 0 for "Non", Escape and the close box.

#include <QDialog>

class QLabel;
class QPushButton;

namespace derode::gui {

class CINFOBOXEX : public QDialog {
    Q_OBJECT
public:
    // The text keeps the program's "\r\n" breaks; they become line breaks on display only.
    CINFOBOXEX(QWidget* owner, const QString& text);

    // Kind switches: true switches, false changes nothing; the last one set wins.
    void setERRORWIN(bool on);
    void setYESNOWIN(bool on);
    // 1 puts the message in Arial 10 instead of Arial 12; other values change nothing.
    void setFONTASSIGN(int value);
    void setWARNTXT(const QString& text);

    void CPUSHOKYES();
    void CPUSHNO();

    QString messageText() const { return text_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString text_;
    QLabel* message_;
    QPushButton* okYes_;
    QPushButton* no_;
    QLabel* information_;
    QLabel* question_;
};

// The program's line breaks ("\r\n", also a lone "\r") as the widgets' "\n".
QString displayText(const QString& text);

}  // namespace derode::gui
