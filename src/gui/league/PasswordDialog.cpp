#include "gui/league/PasswordDialog.h"

#include "gui/ui/DialogUnits.h"
#include "league/Password.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace derode::gui {

namespace {
QLineEdit* maskedPassword(QWidget* parent, int number, const QString& tip)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("id%1").arg(number));
    edit->setFont(arial(10));
    edit->setEchoMode(QLineEdit::Password);
    edit->setToolTip(tip);
    return edit;
}

QLabel* label(QWidget* parent, int number, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("id%1").arg(number));
    return label;
}
}  // namespace

CPASSDLG::CPASSDLG(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("CPASSDLG"));
    setWindowTitle(QStringLiteral("Changement de mot de passe"));
    setFont(dialogFont());
    setModal(true);

    current_ = maskedPassword(this, 101, QStringLiteral("Si le mot de passe n'existe pas, laisser en blanc"));
    newPassword_ = maskedPassword(this, 104, QStringLiteral("Minimum 6 caractères"));
    again_ = maskedPassword(this, 105, QStringLiteral("Minimum 6 caractères"));
    show_ = new QCheckBox(QStringLiteral("Voir les mots de passe en format lisible"), this);
    show_->setObjectName(QStringLiteral("CCHECKBOX1"));
    connect(show_, &QCheckBox::toggled, this, &CPASSDLG::CCHECKBOX1);
    auto* save = new QPushButton(QStringLiteral("Sauvegarder"), this);
    save->setObjectName(QStringLiteral("CSAVEBUT"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("CCANCELBUT"));
    cancel->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &CPASSDLG::CSAVEBUT);
    connect(cancel, &QPushButton::clicked, this, &CPASSDLG::CCANCELBUT);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label(this, 100, QStringLiteral("Mot de passe existant:")), 0, 0);
    grid->addWidget(current_, 0, 1);
    grid->addWidget(label(this, 102, QStringLiteral("Nouveau mot de passe:")), 1, 0);
    grid->addWidget(newPassword_, 1, 1);
    grid->addWidget(label(this, 103, QStringLiteral("Retaper le nouveau mot de passe:")), 2, 0);
    grid->addWidget(again_, 2, 1);
    grid->addWidget(show_, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    current_->setFocus();
}

void CPASSDLG::CCHECKBOX1()
{
    QLineEdit::EchoMode mode = show_->isChecked() ? QLineEdit::Normal : QLineEdit::Password;
    for (QLineEdit* edit : {current_, newPassword_, again_})
        edit->setEchoMode(mode);
}

void CPASSDLG::CSAVEBUT()
{
    if (league::savePasswordChange(current_->text().toStdString(), newPassword_->text().toStdString(),
                                   again_->text().toStdString()) == 1)
        done(1);
}

void CPASSDLG::CCANCELBUT() { done(0); }

}  // namespace derode::gui
