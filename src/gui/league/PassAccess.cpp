#include "gui/league/PassAccess.h"

#include "league/Password.h"
#include "gui/core/InfoBox.h"
#include "gui/ui/DialogUnits.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace derode::gui {

namespace {
}  // namespace

PassAccessDialog::PassAccessDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("PASSACCESS"));
    setWindowTitle(QStringLiteral("Confirmation"));
    setFont(dialogFont());
    setModal(true);

    warning_ = new QLabel(displayText(QString::fromUtf8(league::kAccessWarning)), this);
    warning_->setObjectName(QStringLiteral("id100"));
    warning_->setFont(arial(12));
    warning_->setWordWrap(true);
    warning_->setTextFormat(Qt::PlainText);
    warning_->setMinimumWidth(380);
    auto* label = new QLabel(QStringLiteral("Mot de passe:"), this);
    label->setObjectName(QStringLiteral("id101"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("id102"));
    password_->setEchoMode(QLineEdit::Password);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CPUSHOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("CPUSHCANCEL"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &PassAccessDialog::CPUSHOK);
    connect(cancel, &QPushButton::clicked, this, &PassAccessDialog::CPUSHCANCEL);

    auto* field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(password_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning_);
    layout->addLayout(field);
    layout->addLayout(buttons);
    password_->setFocus();
}

void PassAccessDialog::setWARNTEXT(const QString& text) { warning_->setText(displayText(text)); }

void PassAccessDialog::CPUSHOK()
{
    if (league::confirmAdministratorAccess(password_->text().toStdString()) == 1) {
        done(1);
        return;
    }
    password_->clear();
    password_->setFocus();
}

void PassAccessDialog::CPUSHCANCEL() { done(0); }

bool PASSACCESS(QWidget* parent, const std::string& warning)
{
    PassAccessDialog dialog(parent);
    if (!warning.empty())
        dialog.setWARNTEXT(QString::fromStdString(warning));
    return dialog.exec() == 1;
}

}  // namespace derode::gui
