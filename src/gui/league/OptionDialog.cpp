#include "gui/league/OptionDialog.h"

#include "core/Session.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/MaskedEdit.h"
#include "league/Options.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace derode::gui {

namespace {
QLabel* optionLabel(QWidget* parent, int number, const QString& text, const QString& tip = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("id%1").arg(number));
    label->setFont(arial(10));
    label->setToolTip(tip);
    return label;
}

MaskedEdit* twoDigits(QWidget* parent, int number)
{
    auto* edit = new MaskedEdit(QString::fromLatin1(league::kTwoDigitMask), parent);
    edit->setObjectName(QStringLiteral("id%1").arg(number));
    return edit;
}
}  // namespace

OPTIONDLG::OPTIONDLG(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("OPTIONDLG"));
    setWindowTitle(QStringLiteral("Options"));
    setFont(dialogFont());
    setModal(true);

    league_ = optionLabel(this, 100, QStringLiteral("Organisation"),
                          QStringLiteral("Nom de la ligue: Ex: Rerazovo Zadirire"));
    QFont bold = league_->font();
    bold.setBold(true);
    league_->setFont(bold);
    auto* headingLabel = optionLabel(this, 101, QStringLiteral("Entête des Rapports et Points"),
                                     QStringLiteral("Ex: Pétanque du Jeudi soir"));
    heading_ = new QLineEdit(this);
    heading_->setObjectName(QStringLiteral("id102"));
    auto* drawLabel = optionLabel(this, 103, QStringLiteral("Tirage des équipes, nombre de copie d'impressions:"));
    auto* listLabel = optionLabel(this, 104, QStringLiteral("Liste des membres, nombre de copie d'impressions:"));
    auto* lanesLabel = optionLabel(this, 105, QStringLiteral("Nombre d'allées / Tapis:"));
    auto* maxLabel = optionLabel(this, 106, QStringLiteral("Maximum de points par parties:"));
    drawCopies_ = twoDigits(this, 109);
    memberListCopies_ = twoDigits(this, 110);
    lanes_ = twoDigits(this, 111);
    maxPoints_ = twoDigits(this, 112);

    auto* save = new QPushButton(QStringLiteral("Sauvegarder"), this);
    save->setObjectName(QStringLiteral("CSAVEBUT"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Annuller"), this);
    cancel->setObjectName(QStringLiteral("CCANCELBUT"));
    cancel->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &OPTIONDLG::CSAVEBUT);
    connect(cancel, &QPushButton::clicked, this, &OPTIONDLG::CCANCELBUT);

    auto* grid = new QGridLayout(this);
    grid->addWidget(league_, 0, 0, 1, 2);
    grid->addWidget(headingLabel, 1, 0, 1, 2);
    grid->addWidget(heading_, 2, 0, 1, 2);
    grid->addWidget(drawLabel, 3, 0);
    grid->addWidget(drawCopies_, 3, 1);
    grid->addWidget(listLabel, 4, 0);
    grid->addWidget(memberListCopies_, 4, 1);
    grid->addWidget(lanesLabel, 5, 0);
    grid->addWidget(lanes_, 5, 1);
    grid->addWidget(maxLabel, 6, 0);
    grid->addWidget(maxPoints_, 6, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 7, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    const std::string& league = core::session().currentLeague;
    league::OptionFields fields = league::loadOptionFields(league);
    memberListCopies_->setText(QString::fromStdString(fields.memberListCopies));
    drawCopies_->setText(QString::fromStdString(fields.drawCopies));
    lanes_->setText(QString::fromStdString(fields.lanes));
    heading_->setText(QString::fromStdString(fields.heading));
    maxPoints_->setText(QString::fromStdString(fields.maxPoints));
    league_->setText(QString::fromStdString(league));
}

void OPTIONDLG::CSAVEBUT()
{
    league::OptionFields fields;
    fields.memberListCopies = memberListCopies_->text().toStdString();
    fields.drawCopies = drawCopies_->text().toStdString();
    fields.lanes = lanes_->text().toStdString();
    fields.heading = heading_->text().toStdString();
    fields.maxPoints = maxPoints_->text().toStdString();
    league::saveOptionFields(core::session().currentLeague, fields);
    done(0);
}

void OPTIONDLG::CCANCELBUT() { done(0); }

}  // namespace derode::gui
