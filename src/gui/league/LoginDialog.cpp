#include "gui/league/LoginDialog.h"

#include "core/Session.h"
#include "gui/core/Resources.h"
#include "gui/league/LeagueDialog.h"
#include "gui/ui/DialogUnits.h"
#include "league/Leagues.h"
#include "league/Login.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace derode::gui {

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip = {})
{
    auto* push = new QPushButton(text, parent);
    push->setObjectName(QString::fromLatin1(name));
    push->setToolTip(tip);
    push->setAutoDefault(false);
    return push;
}
}  // namespace

CLOGIN::CLOGIN(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CLOGIN"));
    setWindowTitle(QStringLiteral("Derode-V3, Session"));
    setWindowIcon(resourceIcon(QStringLiteral("AAA_DEZOVUZI")));
    setFont(dialogFont());

    auto* choose = new QGroupBox(QStringLiteral("Choisir une ligue"), this);
    choose->setObjectName(QStringLiteral("id111"));
    leagues_ = new QComboBox(choose);
    leagues_->setObjectName(QStringLiteral("id107"));
    leagues_->setMinimumWidth(220);
    auto* add = button(choose, "CPUSHAJOUTLIGUE", QStringLiteral("Ajouter"), QStringLiteral("Ajouter le nom d'une ligue"));
    rename_ = button(choose, "CPUSHMODIFLIGUE", QStringLiteral("Modifier"), QStringLiteral("Modifier le nom d'une ligue"));
    remove_ = button(choose, "CPUSHDELETELIGUE", QStringLiteral("Supprimer"),
                     QStringLiteral("Supprimer complètement un ligue"));
    normalUser_ = button(choose, "CPUSHNORMALUSER", QStringLiteral("Usager normal"));
    auto* chooseLayout = new QGridLayout(choose);
    chooseLayout->addWidget(leagues_, 0, 0, 1, 3);
    chooseLayout->addWidget(add, 1, 0);
    chooseLayout->addWidget(rename_, 1, 1);
    chooseLayout->addWidget(remove_, 1, 2);
    chooseLayout->addWidget(normalUser_, 2, 0, 1, 3);

    auto* admin = new QGroupBox(QStringLiteral("Administration"), this);
    admin->setObjectName(QStringLiteral("id104"));
    auto* noteTitle = new QLabel(QStringLiteral("Note:"), admin);
    noteTitle->setObjectName(QStringLiteral("id106"));
    noteTitle->setFont(arial(14));
    auto* note = new QLabel(admin);
    note->setObjectName(QStringLiteral("id105"));
    note->setFont(arial(10));
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    note->setText(QString::fromStdString(league::loginNoteText()));
    auto* passwordLabel = new QLabel(QStringLiteral("Motde passe:"), admin);
    passwordLabel->setObjectName(QStringLiteral("id102"));
    password_ = new QLineEdit(admin);
    password_->setObjectName(QStringLiteral("id103"));
    password_->setFont(arial(12));
    password_->setEchoMode(QLineEdit::Password);
    show_ = new QCheckBox(QStringLiteral("Voir les mots de passe en format lisible"), admin);
    show_->setObjectName(QStringLiteral("CCHECKBOX1"));
    administrator_ = button(admin, "CPUSHADMIN", QStringLiteral("Administrateur"));
    administrator_->setDefault(true);
    auto* adminLayout = new QGridLayout(admin);
    adminLayout->addWidget(noteTitle, 0, 0, Qt::AlignTop);
    adminLayout->addWidget(note, 0, 1, 1, 2);
    adminLayout->addWidget(passwordLabel, 1, 0);
    adminLayout->addWidget(password_, 1, 1, 1, 2);
    adminLayout->addWidget(show_, 2, 1, 1, 2);
    adminLayout->addWidget(administrator_, 3, 2);
    adminLayout->setColumnStretch(1, 1);

    auto* quit = button(this, "QUITBUT", QString());
    quit->setIcon(resourceIcon(QStringLiteral("EXIT")));
    quit->setIconSize(QSize(32, 32));
    quit->setToolTip(QStringLiteral("Quitter"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(choose, 0, 0);
    layout->addWidget(admin, 0, 1, 2, 1);
    layout->addWidget(quit, 1, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->setColumnStretch(1, 1);
    note->setMinimumWidth(260);

    connect(add, &QPushButton::clicked, this, &CLOGIN::CPUSHAJOUTLIGUE);
    connect(rename_, &QPushButton::clicked, this, &CLOGIN::CPUSHMODIFLIGUE);
    connect(remove_, &QPushButton::clicked, this, &CLOGIN::CPUSHDELETELIGUE);
    connect(normalUser_, &QPushButton::clicked, this, &CLOGIN::CPUSHNORMALUSER);
    connect(administrator_, &QPushButton::clicked, this, &CLOGIN::CPUSHADMIN);
    connect(quit, &QPushButton::clicked, this, &CLOGIN::QUITBUT);
    connect(show_, &QCheckBox::toggled, this, &CLOGIN::CCHECKBOX1);
    // Any change of the selection by the user (mouse or keys) makes that league current.
    connect(leagues_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling_ && index >= 0)
            league::selectLeague(leagues_->itemText(index).toStdString());
    });

    showList(league::openLogin());
    password_->setFocus();
}

QString CLOGIN::CURRENTLIGUE() const { return leagues_->currentText(); }

void CLOGIN::showList(const league::LoginListState& state)
{
    filling_ = true;
    leagues_->clear();
    for (const std::string& name : state.entries)
        leagues_->addItem(QString::fromStdString(name));
    leagues_->setCurrentIndex(state.selected);
    filling_ = false;
    for (QWidget* entry : {static_cast<QWidget*>(normalUser_), static_cast<QWidget*>(administrator_),
                           static_cast<QWidget*>(remove_), static_cast<QWidget*>(rename_),
                           static_cast<QWidget*>(password_)})
        entry->setEnabled(state.leagueAvailable);
}

void CLOGIN::CPUSHNORMALUSER()
{
    if (int result = league::enterAsNormalUser())
        done(result);
}

void CLOGIN::CPUSHADMIN()
{
    if (int result = league::enterAsAdministrator(password_->text().toStdString()))
        done(result);
}

void CLOGIN::QUITBUT() { done(0); }

void CLOGIN::CCHECKBOX1() { password_->setEchoMode(show_->isChecked() ? QLineEdit::Normal : QLineEdit::Password); }

void CLOGIN::CPUSHAJOUTLIGUE()
{
    CREATELIGUE dialog(this, CREATELIGUE::Create);
    if (dialog.exec() == CREATELIGUE::Create)
        showList(league::refreshLogin(core::session().currentLeague));
}

void CLOGIN::CPUSHMODIFLIGUE()
{
    QString oldName = CURRENTLIGUE();
    CREATELIGUE dialog(this, CREATELIGUE::Rename, oldName);
    if (dialog.exec() != CREATELIGUE::Rename)
        return;
    std::string newName = dialog.LIGUE().toStdString();
    if (league::renameLeague(oldName.toStdString(), newName))
        showList(league::refreshLogin(newName));
}

void CLOGIN::CPUSHDELETELIGUE()
{
    QString name = CURRENTLIGUE();
    CREATELIGUE dialog(this, CREATELIGUE::Delete, name);
    if (dialog.exec() != CREATELIGUE::Delete)
        return;
    if (league::deleteLeague(name.toStdString()))
        showList(league::refreshLogin(core::session().currentLeague));
}

}  // namespace derode::gui
