#pragma once
// A single-line edit that can show a balloon tip anchored on itself: a rounded box with a
// pointer towards the field, an optional bold title and a text. The league-name field uses it
// to explain why a character was refused.

#include <QLineEdit>
#include <QPointer>

namespace derode::gui {

class BalloonTip;

class CSINGLELINEEDITEX : public QLineEdit {
    Q_OBJECT
public:
    enum BalloonIcon { None = 0, Information = 1, Warning = 2, Error = 3 };

    explicit CSINGLELINEEDITEX(QWidget* parent = nullptr);
    ~CSINGLELINEEDITEX() override;

    // An empty title gives a tip without title line. The text keeps the program's "\r\n" breaks.
    void SHOWEDITBALLOONTIP(const QString& title, const QString& text, int icon = None);
    // Takes the tip away; nothing happens when none is shown.
    void REMOVEEDITBALLOONTIP();

    bool isBalloonShown() const;
    QString balloonTitle() const;
    QString balloonText() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<BalloonTip> balloon_;
};

}  // namespace derode::gui
