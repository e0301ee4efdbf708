#include "gui/core/InfoBox.h"

#include "gui/core/Resources.h"
#include "gui/ui/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace derode::gui {

QString displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

CINFOBOXEX::CINFOBOXEX(QWidget* owner, const QString& text) : QDialog(owner), text_(text)
{
    setObjectName(QStringLiteral("cInfoBoxEx"));
    setFont(dialogFont());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    DialogUnits du(font());
    setFixedSize(du.x(289), du.y(136));

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("id100"));
    message_->setGeometry(du.rect(44, 7, 236, 103));
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message_->setFont(arial(12));
    message_->setText(displayText(text_));

    // Enter chooses "OK" / "Oui" wherever the focus is; "Non" answers only to a click or Space.
    okYes_ = new QPushButton(QStringLiteral("OK"), this);
    okYes_->setObjectName(QStringLiteral("CPUSHOKYES"));
    okYes_->setGeometry(du.rect(136, 114, 53, 12).adjusted(0, -2, 0, 2));
    okYes_->setDefault(true);
    no_ = new QPushButton(QStringLiteral("Non"), this);
    no_->setObjectName(QStringLiteral("CPUSHNO"));
    no_->setGeometry(du.rect(212, 114, 53, 12).adjusted(0, -2, 0, 2));
    no_->setAutoDefault(false);
    connect(okYes_, &QPushButton::clicked, this, &CINFOBOXEX::CPUSHOKYES);
    connect(no_, &QPushButton::clicked, this, &CINFOBOXEX::CPUSHNO);

    information_ = new QLabel(this);
    information_->setObjectName(QStringLiteral("id103"));
    information_->setGeometry(du.rect(8, 40, 32, 30));
    information_->setAlignment(Qt::AlignCenter);
    information_->setPixmap(resourcePixmap(QStringLiteral("INFORMATION")));
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("id104"));
    question_->setGeometry(du.rect(8, 11, 32, 29));
    question_->setAlignment(Qt::AlignCenter);
    question_->setPixmap(resourcePixmap(QStringLiteral("QUESTIONMARK")));

    setWindowTitle(QStringLiteral("INFO"));
    no_->hide();
    question_->hide();
}

void CINFOBOXEX::setERRORWIN(bool on)
{
    if (!on)
        return;
    setWindowTitle(QStringLiteral("ERREUR"));
    no_->hide();
    information_->hide();
    question_->show();
    okYes_->setText(QStringLiteral("OK"));
}

void CINFOBOXEX::setYESNOWIN(bool on)
{
    if (!on)
        return;
    setWindowTitle(QStringLiteral("ATTENTION"));
    no_->show();
    information_->hide();
    question_->show();
    okYes_->setText(QStringLiteral("Oui"));
}

void CINFOBOXEX::setFONTASSIGN(int value)
{
    if (value == 1)
        message_->setFont(arial(10));
}

void CINFOBOXEX::setWARNTXT(const QString& text)
{
    text_ = text;
    message_->setText(displayText(text_));
}

void CINFOBOXEX::CPUSHOKYES() { done(1); }

void CINFOBOXEX::CPUSHNO() { done(0); }

void CINFOBOXEX::showEvent(QShowEvent* event)
{
    // Centred over the owner, or over the screen when there is none.
    if (QWidget* owner = parentWidget()) {
        QRect area = owner->window()->frameGeometry();
        move(area.center() - rect().center());
    }
    okYes_->setFocus();
    QDialog::showEvent(event);
}

}  // namespace derode::gui
