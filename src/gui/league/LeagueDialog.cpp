#include "gui/league/LeagueDialog.h"

#include "gui/ui/DialogUnits.h"
#include "gui/ui/SingleLineEditEx.h"
#include "league/Leagues.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace derode::gui {

namespace {
}  // namespace

CREATELIGUE::CREATELIGUE(QWidget* owner, int mode, const QString& selected) : QDialog(owner), mode_(mode)
{
    setObjectName(QStringLiteral("CREATELIGUE"));
    league::LeagueDialogLook look = league::leagueDialogLook(static_cast<league::LeagueDialogMode>(mode));
    setWindowTitle(QString::fromStdString(look.caption));
    setFont(dialogFont());
    setModal(true);

    auto* passwordLabel = new QLabel(QStringLiteral("Mot de passe:"), this);
    passwordLabel->setObjectName(QStringLiteral("id100"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("id101"));
    password_->setFont(arial(10));
    password_->setEchoMode(QLineEdit::Password);
    show_ = new QCheckBox(QStringLiteral("Voir le mot de passe en format lisible"), this);
    show_->setObjectName(QStringLiteral("CCHECKBOX1"));
    auto* nameLabel = new QLabel(QStringLiteral("Nom de la ligue"), this);
    nameLabel->setObjectName(QStringLiteral("id103"));
    name_ = new CSINGLELINEEDITEX(this);
    name_->setObjectName(QStringLiteral("id104"));
    name_->setFont(arial(10));
    name_->setMinimumWidth(240);
    auto* action = new QPushButton(QString::fromStdString(look.button), this);
    action->setObjectName(QStringLiteral("CPUSHSAVEACTION"));
    action->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(passwordLabel, 0, 0);
    grid->addWidget(password_, 0, 1);
    grid->addWidget(show_, 1, 1);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(name_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(action);
    grid->addLayout(buttons, 3, 0, 1, 2);

    if (look.nameFromSelection)
        name_->setText(selected);
    name_->setEnabled(look.nameEditable);

    connect(show_, &QCheckBox::toggled, this, &CREATELIGUE::CCHECKBOX1);
    connect(name_, &QLineEdit::textChanged, this, &CREATELIGUE::ONEDITCHANGE);
    connect(action, &QPushButton::clicked, this, &CREATELIGUE::CPUSHSAVEACTION);
    password_->setFocus();
}

QString CREATELIGUE::LIGUE() const { return name_->text(); }

void CREATELIGUE::CCHECKBOX1() { password_->setEchoMode(show_->isChecked() ? QLineEdit::Normal : QLineEdit::Password); }

void CREATELIGUE::ONEDITCHANGE()
{
    std::string text = name_->text().toStdString();
    auto [position, cleaned] = league::INVALIDFILENAMECHAR(text);
    if (cleaned == text) {
        name_->REMOVEEDITBALLOONTIP();
        return;
    }
    // Putting the text back raises this event again: a pasted text loses one refused
    // character per change until none is left.
    name_->setText(QString::fromStdString(cleaned));
    name_->setCursorPosition(int(position) - 1);
    name_->SHOWEDITBALLOONTIP(QString(), QString::fromUtf8(league::kRefusedNameTip));
}

void CREATELIGUE::CPUSHSAVEACTION()
{
    done(league::leagueDialogAction(static_cast<league::LeagueDialogMode>(mode_),
                                    password_->text().toStdString(), name_->text().toStdString()));
}

}  // namespace derode::gui
