#include "gui/draw/DrawWindow.h"

#include "gui/core/Resources.h"
#include "gui/draw/DrawImages.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/MaskedEdit.h"
#include "gui/ui/TextImageButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace derode::gui {

namespace {

DrawPrintCommand& printCommand()
{
    static DrawPrintCommand command;
    return command;
}

QString q(const std::string& text) { return QString::fromStdString(text); }

int rowOf(const QTreeWidget* list, const QTreeWidgetItem* item)
{
    return item ? list->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

int selectedRow(const QTreeWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : rowOf(list, items.first());
}

void selectRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = row >= 0 ? list->topLevelItem(row) : nullptr;
    if (item) {
        list->setCurrentItem(item);
        list->scrollToItem(item);
    } else {
        list->clearSelection();
    }
}

// Keeps a list's columns in their relative widths across the whole viewport, so the list never
// needs a horizontal scroll bar whatever room the window gives it.
class RelativeColumns : public QObject {
public:
    RelativeColumns(QTreeWidget* list, QList<int> widths) : QObject(list), list_(list), widths_(std::move(widths))
    {
        list->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && watched == list_->viewport())
            fit();
        return QObject::eventFilter(watched, event);
    }

private:
    void fit()
    {
        const int available = list_->viewport()->width();
        int total = 0;
        for (int width : widths_)
            total += width;
        if (available <= 0 || total <= 0)
            return;
        int used = 0;
        for (int i = 0; i + 1 < widths_.size(); ++i) {
            const int width = widths_[i] * available / total;
            list_->setColumnWidth(i, width);
            used += width;
        }
        list_->setColumnWidth(int(widths_.size()) - 1, available - used);  // takes the rounding
    }

    QTreeWidget* list_;
    QList<int> widths_;
};

}  // namespace

void setDrawPrintCommand(DrawPrintCommand command) { printCommand() = std::move(command); }

CWINTIRAGE::CWINTIRAGE(std::unique_ptr<draw::DrawRegistration> registration, DrawWindowActions actions,
                       const std::string& league, bool repopulate, QWidget* parent)
    : QDialog(parent), registration_(std::move(registration)), actions_(std::move(actions)), league_(league)
{
    setObjectName(QStringLiteral("cWinTirage"));
    setModal(true);
    setWindowIcon(resourceIcon(QStringLiteral("AAA_DEZOVUZI")));
    buildControls();
    setWindowTitle(q(draw::drawWindowCaption(league_, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                                                          .toStdString())));
    fillMembersList();
    refreshRegisteredLists();
    refreshCounters();
    updatePrintButton();
    if (repopulate)
        REPOPULATION();
}

CWINTIRAGE::~CWINTIRAGE() = default;

void CWINTIRAGE::buildControls()
{
    auto label = [&](int id, const QString& text) {
        auto* widget = new QLabel(text, this);
        widget->setObjectName(QStringLiteral("id%1").arg(id));
        widget->setFont(arial(12));
        return widget;
    };
    auto list = [&](int id, const QStringList& headers, const QList<int>& widths) {
        auto* widget = new QTreeWidget(this);
        widget->setObjectName(QStringLiteral("id%1").arg(id));
        widget->setFont(arial(10));
        widget->setRootIsDecorated(false);
        widget->setUniformRowHeights(true);
        widget->setSelectionMode(QAbstractItemView::SingleSelection);
        widget->setSelectionBehavior(QAbstractItemView::SelectRows);
        widget->setAllColumnsShowFocus(true);
        widget->setHeaderLabels(headers);
        for (int i = 0; i < widths.size(); ++i)
            widget->setColumnWidth(i, widths[i]);
        new RelativeColumns(widget, widths);
        widget->setMinimumWidth(300);
        return widget;
    };
    auto button = [&](const char* name, const char* image, const QString& caption, const QString& tip) {
        auto* widget = new CTEXTIMAGEBUTTON(caption, drawImage(QLatin1String(image)), this);
        widget->setObjectName(QLatin1String(name));
        widget->setToolTip(tip);
        widget->setDISPLAY3DTEXT(!caption.isEmpty());
        return widget;
    };

    auto* membersTitle = label(100, QStringLiteral("Membres / Joueurs"));
    auto* captainsTitle = label(101, QStringLiteral("Capitaines"));
    auto* playersTitle = label(102, QStringLiteral("Joueurs"));
    auto* captainsTotalTitle = label(103, QStringLiteral("Total"));
    auto* playersTotalTitle = label(104, QStringLiteral("Total"));
    auto* grandTotalTitle = label(105, QStringLiteral("Grand total / MAX joueurs"));

    const QStringList registeredHeaders{QStringLiteral("NOM"), QStringLiteral("Statut"), QStringLiteral("Joueur #"),
                                        QStringLiteral("Capt_Occ")};
    membersList_ = list(106,
                        {QStringLiteral("NOM"), QStringLiteral("Statut"), QStringLiteral("Choisi(e)"),
                         QStringLiteral("Joueur #"), QStringLiteral("Capt_Occ")},
                        {192, 48, 64, 80, 80});
    captainsList_ = list(107, registeredHeaders, {192, 47, 80, 80});
    playersList_ = list(108, registeredHeaders, {192, 47, 80, 80});

    auto* captainPlus = button("CPUSHCAPITAINEPLUS", "RIGHT_ARROW", {}, QStringLiteral("Ajouter un capitaine à la liste"));
    auto* captainMinus =
        button("CPUSHCAPITAINEMOINS", "LEFT_ARROW", {}, QStringLiteral("Enlever un capitaine à la liste"));
    auto* promote = button("CPUSHMONTEJOUEUR", "UP_ARROW", {}, QStringLiteral("Monter un joueur à capitaine"));
    auto* demote = button("CPUSHDESCENDREJOUEUR", "DOWN_ARROW", {}, QStringLiteral("Descendre un capitaine à joueur"));
    auto* playerPlus = button("CPUSHJOUEURPLUS", "RIGHT_ARROW", {}, QStringLiteral("Ajouter un joueur à la liste"));
    auto* playerMinus = button("CPUSHJOUEURMOINS", "LEFT_ARROW", {}, QStringLiteral("Enlever un joueur à la liste"));
    addMemberButton_ = button("CPUSHAJOUTMEMBRE", "ADDMEMBER", QStringLiteral("  Ajouter un nouveau membre / joueur"),
                              QStringLiteral("Ajouter un nouveau membre / joueur, sans sortir de cette fenêtre"));
    auto* drawButton = button("CPUSHVERIFIERTIRAGE", "TIRAGE2", QStringLiteral(" Faire/Refaire un tirage"),
                              QStringLiteral("Faire et refaire un tirage autant de fois que vous voulez"));
    printButton_ = button("CPUSHIMPRIMERTIRAGES", "PRINTER2", QStringLiteral(" Vérifier/Imprimer ce tirage"),
                          QStringLiteral("Vérifier et imprimer le dernier tirage"));
    auto* closeButton = button("CPUSHCLOSEWINDOW", "CANCEL2", QStringLiteral(" Fermer"),
                               QStringLiteral("Fermer cette fenêtre"));

    tokenCheck_ = new QCheckBox(QStringLiteral("Inscriptions joueur #"), this);
    tokenCheck_->setObjectName(QStringLiteral("CCHECKBOX1"));
    tokenCheck_->setFont(arial(12));
    tokenField_ = new MaskedEdit(QStringLiteral("999"), this);
    tokenField_->setText(QStringLiteral("0"));
    tokenField_->setObjectName(QStringLiteral("id120"));
    tokenField_->setFont(arial(12));
    tokenField_->setFixedWidth(tokenField_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    tokenOk_ = new QPushButton(QStringLiteral("OK"), this);
    tokenOk_->setObjectName(QStringLiteral("CPUSHOKJETON"));
    tokenOk_->setDefault(true);

    maxPeople_ = label(122, {});
    captainCount_ = label(123, QStringLiteral("0"));
    playerCount_ = label(124, QStringLiteral("0"));
    totalCount_ = label(125, QStringLiteral("0"));
    lanesBox_ = new QComboBox(this);
    lanesBox_->setObjectName(QStringLiteral("id126"));
    lanesBox_->setFont(arial(12));
    for (int lanes = 4; lanes <= 30; ++lanes)
        lanesBox_->addItem(QStringLiteral("%1").arg(lanes, 2, 10, QLatin1Char('0')));
    auto* lanesTitle = label(127, QStringLiteral("Changer le nombre d'allées / Tapis:"));

    // Layout: members on the left, the arrows in the middle, captains over players on the right.
    auto* grid = new QGridLayout(this);
    grid->addWidget(membersTitle, 0, 0);
    grid->addWidget(membersList_, 1, 0, 3, 1);

    auto* captainArrows = new QVBoxLayout;
    captainArrows->addStretch();
    captainArrows->addWidget(captainPlus);
    captainArrows->addWidget(captainMinus);
    captainArrows->addStretch();
    grid->addLayout(captainArrows, 1, 1);
    auto* moveArrows = new QVBoxLayout;
    moveArrows->addWidget(promote);
    moveArrows->addWidget(demote);
    grid->addLayout(moveArrows, 2, 1);
    auto* playerArrows = new QVBoxLayout;
    playerArrows->addStretch();
    playerArrows->addWidget(playerPlus);
    playerArrows->addWidget(playerMinus);
    playerArrows->addStretch();
    grid->addLayout(playerArrows, 3, 1);

    auto* captainsHead = new QHBoxLayout;
    captainsHead->addWidget(captainsTitle);
    captainsHead->addStretch();
    captainsHead->addWidget(captainsTotalTitle);
    captainsHead->addWidget(captainCount_);
    grid->addLayout(captainsHead, 0, 2);
    grid->addWidget(captainsList_, 1, 2);
    auto* playersHead = new QHBoxLayout;
    playersHead->addWidget(playersTitle);
    playersHead->addStretch();
    playersHead->addWidget(playersTotalTitle);
    playersHead->addWidget(playerCount_);
    grid->addLayout(playersHead, 2, 2, Qt::AlignBottom);
    grid->addWidget(playersList_, 3, 2);

    auto* totals = new QHBoxLayout;
    totals->addWidget(tokenCheck_);
    totals->addWidget(tokenField_);
    totals->addWidget(tokenOk_);
    totals->addStretch();
    totals->addWidget(lanesTitle);
    totals->addWidget(lanesBox_);
    totals->addStretch();
    totals->addWidget(grandTotalTitle);
    totals->addWidget(totalCount_);
    totals->addWidget(maxPeople_);
    grid->addLayout(totals, 4, 0, 1, 3);

    auto* commands = new QHBoxLayout;
    commands->addWidget(addMemberButton_);
    commands->addWidget(drawButton);
    commands->addWidget(printButton_);
    commands->addWidget(closeButton);
    grid->addLayout(commands, 5, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    resize(1030, 560);

    // Registration commands.
    connect(captainPlus, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHCAPITAINEPLUS);
    connect(captainMinus, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHCAPITAINEMOINS);
    connect(promote, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHMONTEJOUEUR);
    connect(demote, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHDESCENDREJOUEUR);
    connect(playerPlus, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHJOUEURPLUS);
    connect(playerMinus, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHJOUEURMOINS);
    connect(addMemberButton_, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHAJOUTMEMBRE);
    connect(drawButton, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHVERIFIERTIRAGE);
    connect(printButton_, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHIMPRIMERTIRAGES);
    connect(closeButton, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHCLOSEWINDOW);
    connect(tokenCheck_, &QCheckBox::toggled, this, &CWINTIRAGE::CCHECKBOX1);
    connect(tokenOk_, &QPushButton::clicked, this, &CWINTIRAGE::CPUSHOKJETON);
    connect(lanesBox_, &QComboBox::activated, this, &CWINTIRAGE::onLanesChosen);

    // Selections: a user's selection forgets that the draw was printed.
    connect(membersList_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!refreshing_)
            registration_->selectMember(selectedRow(membersList_));
    });
    connect(captainsList_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!refreshing_)
            registration_->selectCaptain(selectedRow(captainsList_));
    });
    connect(playersList_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!refreshing_)
            registration_->selectPlayer(selectedRow(playersList_));
    });
    for (QTreeWidget* widget : {membersList_, captainsList_, playersList_})
        connect(widget, &QTreeWidget::itemClicked, this, [this] { focusTokenField(); });
    connect(membersList_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const draw::TokenRegistration result = registration_->registerMemberRow(rowOf(membersList_, item));
        afterRegistrationChange(result == draw::TokenRegistration::Registered);
        focusTokenField();
    });
    membersList_->installEventFilter(this);

    // Token entry off until the check box is ticked.
    tokenField_->setEnabled(false);
    tokenOk_->setEnabled(false);
    addMemberButton_->setEnabled(static_cast<bool>(actions_.addMember));

    const int lanes = registration_->lanes();
    maxPeople_->setText(q(registration_->maxPeopleText()));
    lanesBox_->setCurrentIndex(lanes >= 4 && lanes <= 30 ? lanes - 4 : -1);
}

void CWINTIRAGE::fillMembersList()
{
    refreshing_ = true;
    membersList_->clear();
    QList<QTreeWidgetItem*> items;
    for (const draw::MemberRow& member : registration_->members())
        items.append(new QTreeWidgetItem(QStringList{q(member.name), q(member.status()), q(member.chosenMark()),
                                                     q(member.token), q(member.occasionalMark())}));
    membersList_->addTopLevelItems(items);
    selectRow(membersList_, registration_->selectedMember());
    refreshing_ = false;
}

void CWINTIRAGE::refreshMemberMarks()
{
    refreshing_ = true;
    const auto& members = registration_->members();
    for (int i = 0; i < membersList_->topLevelItemCount() && i < static_cast<int>(members.size()); ++i) {
        QTreeWidgetItem* item = membersList_->topLevelItem(i);
        const QString mark = q(members[static_cast<std::size_t>(i)].chosenMark());
        if (item->text(2) != mark)
            item->setText(2, mark);
    }
    selectRow(membersList_, registration_->selectedMember());
    refreshing_ = false;
}

void CWINTIRAGE::refreshRegisteredLists()
{
    refreshing_ = true;
    auto fill = [](QTreeWidget* list, const std::vector<draw::RegisteredRow>& rows, int selected) {
        list->clear();
        QList<QTreeWidgetItem*> items;
        for (const draw::RegisteredRow& row : rows)
            items.append(new QTreeWidgetItem(QStringList{q(row.name), q(row.status), q(row.token),
                                                         q(row.occasionalMark)}));
        list->addTopLevelItems(items);
        selectRow(list, selected);
    };
    fill(captainsList_, registration_->captains(), registration_->selectedCaptain());
    fill(playersList_, registration_->players(), registration_->selectedPlayer());
    refreshing_ = false;
}

void CWINTIRAGE::refreshCounters()
{
    captainCount_->setText(QString::number(registration_->captainCount()));
    playerCount_->setText(QString::number(registration_->playerCount()));
    totalCount_->setText(QString::number(registration_->totalCount()));
}

void CWINTIRAGE::afterRegistrationChange(bool changed)
{
    refreshMemberMarks();
    refreshRegisteredLists();
    refreshCounters();
    if (changed && tokenCheck_->isChecked()) {
        tokenField_->setText(QStringLiteral("0"));
        focusTokenField();
    }
}

void CWINTIRAGE::updatePrintButton() { printButton_->setEnabled(drawReady_ && static_cast<bool>(printCommand())); }

void CWINTIRAGE::focusTokenField()
{
    tokenField_->setFocus();
    tokenField_->selectAll();
}

void CWINTIRAGE::CPUSHCAPITAINEPLUS() { afterRegistrationChange(registration_->addCaptain()); }
void CWINTIRAGE::CPUSHCAPITAINEMOINS() { afterRegistrationChange(registration_->removeCaptain()); }
void CWINTIRAGE::CPUSHMONTEJOUEUR() { afterRegistrationChange(registration_->promotePlayer()); }
void CWINTIRAGE::CPUSHDESCENDREJOUEUR() { afterRegistrationChange(registration_->demoteCaptain()); }
void CWINTIRAGE::CPUSHJOUEURPLUS() { afterRegistrationChange(registration_->addPlayer()); }
void CWINTIRAGE::CPUSHJOUEURMOINS() { afterRegistrationChange(registration_->removePlayer()); }

void CWINTIRAGE::CPUSHAJOUTMEMBRE()
{
    if (actions_.addMember) {
        if (std::optional<draw::MemberRow> added = actions_.addMember(this)) {
            registration_->addNewMember(*added);
            fillMembersList();
        }
    }
    focusTokenField();
}

bool CWINTIRAGE::VERIFIERTIRAGE()
{
    const bool drawn = actions_.draw && actions_.draw(*registration_);
    focusTokenField();
    return drawn;
}

void CWINTIRAGE::CPUSHVERIFIERTIRAGE()
{
    drawReady_ = VERIFIERTIRAGE();
    updatePrintButton();
}

void CWINTIRAGE::CPUSHIMPRIMERTIRAGES()
{
    if (printCommand() && printCommand()(*this))
        registration_->setPrinted(true);
    focusTokenField();
}

void CWINTIRAGE::CPUSHCLOSEWINDOW()
{
    focusTokenField();
    if (registration_->closeGuard())
        done(1);
}

void CWINTIRAGE::CCHECKBOX1(bool ticked)
{
    tokenField_->setText(QStringLiteral("0"));
    tokenField_->setEnabled(ticked);
    tokenOk_->setEnabled(ticked);
    if (ticked)
        focusTokenField();
}

void CWINTIRAGE::CPUSHOKJETON() { CPUSHOKJETON2(QString(), false); }

draw::TokenRegistration CWINTIRAGE::CPUSHOKJETON2(const QString& token, bool asCaptain)
{
    const draw::TokenRegistration result =
        registration_->registerByToken(token.toStdString(), asCaptain, tokenField_->text().toStdString());
    if (result == draw::TokenRegistration::NotFound)
        tokenField_->setText(QStringLiteral("0"));
    afterRegistrationChange(result == draw::TokenRegistration::Registered);
    focusTokenField();
    return result;
}

void CWINTIRAGE::REPOPULATION()
{
    if (!actions_.refill)
        return;
    QStatusBar* status = nullptr;
    if (auto* main = qobject_cast<QMainWindow*>(parentWidget() ? parentWidget()->window() : nullptr))
        status = main->statusBar();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (status)
        status->showMessage(QStringLiteral("ATTENDEZ, chargement des données..."));
    std::string drawDate;
    const bool refilled = actions_.refill(*registration_, drawDate);
    if (status)
        status->clearMessage();
    QApplication::restoreOverrideCursor();
    if (!refilled)
        return;
    setWindowTitle(q(draw::drawWindowCaption(league_, drawDate)));
    afterRegistrationChange(false);
    // The refilled draw is the current draw file's: it can be printed at once.
    drawReady_ = true;
    updatePrintButton();
}

void CWINTIRAGE::onLanesChosen(int index)
{
    const int lanes = lanesBox_->itemText(index).toInt();
    if (lanes <= 0)
        return;
    registration_->changeLanes(lanes);
    maxPeople_->setText(q(registration_->maxPeopleText()));
    if (tokenCheck_->isChecked()) {
        tokenField_->setText(QStringLiteral("0"));
        focusTokenField();
    }
}

void CWINTIRAGE::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (membersList_->topLevelItemCount() > 0) {
        registration_->selectMember(0);
        refreshMemberMarks();
    }
    membersList_->setFocus();
}

bool CWINTIRAGE::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == membersList_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).unicode() > 32 && !(key->modifiers() & Qt::AltModifier)) {
            if (registration_->selectByFirstLetter(text.at(0).unicode()))
                refreshMemberMarks();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace derode::gui
