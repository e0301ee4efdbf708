#include "gui/members/MemberDialog.h"

#include "core/Text.h"
#include "gui/members/MemberTableModel.h"
#include "gui/ui/DialogUnits.h"
#include "members/Member.h"
#include "members/MemberRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace derode::gui {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CAJOUTMEMBRE::CAJOUTMEMBRE(QWidget* owner, engine::CDBSERVEREX& server, bool toModify)
    : QDialog(owner), server_(server)
{
    setObjectName(QStringLiteral("cAjoutMembre"));
    setModal(true);
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(445), du.y(134));

    auto label = [&](int id, const char* text, QRect where) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QStringLiteral("id%1").arg(id));
        l->setGeometry(where);
        return l;
    };
    auto edit = [&](int id, QRect where) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("id%1").arg(id));
        e->setGeometry(where);
        return e;
    };

    label(100, "Exemple:", du.rect(215, 6, 60, 10));
    label(101, "Nom", du.rect(8, 22, 45, 10));
    label(102, "Prénom", du.rect(8, 38, 45, 10));
    familyName_ = edit(103, du.rect(55, 20, 150, 12));
    firstName_ = edit(104, du.rect(55, 36, 150, 12));
    label(105, "LATRIMOUILLE (Majuscules automatique)", du.rect(215, 22, 225, 10));
    label(106, "Alfred (Première lettre, majuscule automatique)", du.rect(215, 38, 225, 10));
    // Typing in the family name is forced to capitals, accented letters included.
    connect(familyName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = q(core::toUpper(text.toStdString()));
        if (upper != text) {
            const int cursor = familyName_->cursorPosition();
            familyName_->setText(upper);
            familyName_->setCursorPosition(cursor);
        }
    });

    auto* sex = new QGroupBox(QStringLiteral("Sexe"), this);
    sex->setObjectName(QStringLiteral("id107"));
    sex->setGeometry(du.rect(8, 54, 90, 40));
    man_ = new QRadioButton(QStringLiteral("Homme"), sex);
    man_->setObjectName(QStringLiteral("CRADIOHOMME"));
    man_->setGeometry(du.rect(8, 12, 70, 10));
    woman_ = new QRadioButton(QStringLiteral("Femme"), sex);
    woman_->setObjectName(QStringLiteral("CRADIOFEMME"));
    woman_->setGeometry(du.rect(8, 25, 70, 10));
    auto* status = new QGroupBox(QStringLiteral("Statut"), this);
    status->setObjectName(QStringLiteral("id110"));
    status->setGeometry(du.rect(104, 54, 95, 40));
    player_ = new QRadioButton(QStringLiteral("Joueur"), status);
    player_->setObjectName(QStringLiteral("CRADIOJOUEUR"));
    player_->setGeometry(du.rect(8, 12, 80, 10));
    captain_ = new QRadioButton(QStringLiteral("Capitaine"), status);
    captain_->setObjectName(QStringLiteral("CRADIOCAPITAINE"));
    captain_->setGeometry(du.rect(8, 25, 80, 10));
    man_->setChecked(true);
    player_->setChecked(true);
    connect(captain_, &QRadioButton::clicked, this, &CAJOUTMEMBRE::CRADIOCAPITAINE);
    connect(player_, &QRadioButton::clicked, this, &CAJOUTMEMBRE::CRADIOJOUEUR);

    occasional_ = new QCheckBox(QStringLiteral("Capitaine occasionnel"), this);
    occasional_->setObjectName(QStringLiteral("CCHECKBOX1"));
    occasional_->setGeometry(du.rect(104, 98, 100, 10));

    label(119, "No Tel USA et Canada seulement", du.rect(215, 56, 125, 10));
    phone_ = edit(113, du.rect(345, 54, 70, 12));
    phone_->setInputMask(QStringLiteral("999-999-9999"));
    label(120, "No de joueur; ", du.rect(215, 72, 125, 10));
    token_ = edit(114, du.rect(345, 70, 30, 12));
    token_->setInputMask(QStringLiteral("999"));
    token_->setText(QStringLiteral("0"));
    label(123, "No de conjoint", du.rect(215, 88, 125, 10));
    spouse_ = edit(115, du.rect(345, 86, 30, 12));
    spouse_->setInputMask(QStringLiteral("999"));
    spouse_->setText(QStringLiteral("0"));
    label(122, "Courriel", du.rect(8, 114, 45, 10));
    mail_ = edit(116, du.rect(55, 112, 200, 12));
    mail_->setMaxLength(40);

    save_ = new QPushButton(QStringLiteral("Ajouter ce nouveau membre / joueur"), this);
    save_->setObjectName(QStringLiteral("CPUSHAJOUT"));
    save_->setGeometry(du.rect(262, 110, 125, 16));
    save_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Annuler"), this);
    cancel_->setObjectName(QStringLiteral("CPUSHANNULLE"));
    cancel_->setGeometry(du.rect(392, 110, 48, 16));
    cancel_->setAutoDefault(false);
    cancel_->setToolTip(QStringLiteral("Fermer la fenêtre sans aucun changement"));
    connect(save_, &QPushButton::clicked, this, &CAJOUTMEMBRE::CPUSHAJOUT);
    connect(cancel_, &QPushButton::clicked, this, &CAJOUTMEMBRE::CPUSHANNULLE);

    setTOMODIFY(toModify);
    familyName_->setFocus();
}

void CAJOUTMEMBRE::setTOMODIFY(bool toModify)
{
    toModify_ = toModify;
    applyMode();
}

void CAJOUTMEMBRE::applyMode()
{
    if (!toModify_) {
        setWindowTitle(QStringLiteral("Ajout d'un nouveau membre / joueur"));
        save_->setText(QStringLiteral("Ajouter ce nouveau membre / joueur"));
        return;
    }
    rememberedRecord_ = server_.recNo();
    setWindowTitle(QStringLiteral("Modifications d'un membre / joueur existant"));
    save_->setText(QStringLiteral("Enregistrer les modifications"));
    const members::Member m = members::readMember(server_);
    familyName_->setText(q(m.nom));
    firstName_->setText(q(m.prenom));
    (m.femme ? woman_ : man_)->setChecked(true);
    if (m.capitaine) {
        captain_->setChecked(true);
        CRADIOCAPITAINE();
    } else {
        player_->setChecked(true);
        CRADIOJOUEUR();
        occasional_->setChecked(m.captOcc);
    }
    phone_->setText(MemberTableModel::phoneText(m.telephone));
    token_->setText(QString::number(m.noJeton));
    spouse_->setText(QString::number(m.noConjoin));
    mail_->setText(q(m.mail));
}

void CAJOUTMEMBRE::CRADIOCAPITAINE()
{
    occasional_->setChecked(false);
    occasional_->setEnabled(false);
}

void CAJOUTMEMBRE::CRADIOJOUEUR() { occasional_->setEnabled(true); }

void CAJOUTMEMBRE::CPUSHAJOUT()
{
    members::MemberForm form;
    form.familyName = familyName_->text().toStdString();
    form.firstName = firstName_->text().toStdString();
    form.femme = woman_->isChecked();
    form.capitaine = captain_->isChecked();
    // An untouched phone mask gives only its dashes: nothing was typed.
    const QString phone = phone_->text();
    form.telephone = phone.contains(QRegularExpression(QStringLiteral("\\d"))) ? phone.toStdString() : std::string();
    form.token = token_->text().toStdString();
    form.spouse = spouse_->text().toStdString();
    form.captOcc = occasional_->isChecked();
    form.mail = mail_->text().toStdString();

    // The organiser sees the first name as it will be stored.
    firstName_->setText(q(core::rtrim(members::shownFirstName(form.firstName))));

    const members::SaveResult result = members::saveMember(server_, form, toModify_, rememberedRecord_);
    if (!result.saved)
        return;
    savedRecord_ = result.recordNumber;
    savedName_ = result.displayName;
    done(1);
}

void CAJOUTMEMBRE::CPUSHANNULLE() { done(0); }

}  // namespace derode::gui
