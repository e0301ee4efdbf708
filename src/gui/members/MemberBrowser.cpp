#include "gui/members/MemberBrowser.h"

#include "core/Locations.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Text.h"
#include "gui/core/Resources.h"
#include "gui/league/PassAccess.h"
#include "gui/members/BrowserImages.h"
#include "gui/members/MemberDialog.h"
#include "gui/members/MemberTableModel.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/OpenDbfDialog.h"
#include "members/MemberImport.h"
#include "members/MemberMaintenance.h"
#include "members/MemberTable.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QWheelEvent>

#include <algorithm>
#include <filesystem>

namespace derode::gui {

namespace {

CCHILDWINDOW::Commands& commandSlot()
{
    static CCHILDWINDOW::Commands commands;
    return commands;
}

constexpr const char* ZAP_WARNING =
    "ATTENTION, vous allez effacer TOUTE la base de données.\r\n\r\nVOUS DEVEZ ÊTRE CERTAIN de ce que vous "
    "faites...\r\n\r\nÊtes-vous d'accord????";

QString u(const char* text) { return QString::fromUtf8(text); }

}  // namespace

void CCHILDWINDOW::setCommands(Commands commands) { commandSlot() = std::move(commands); }

CCHILDWINDOW::CCHILDWINDOW(std::unique_ptr<engine::CDBSERVEREX> server, const std::string& tablePath, QWidget* parent)
    : QMainWindow(parent), server_(std::move(server)), tablePath_(tablePath)
{
    setObjectName(QStringLiteral("CCHILDWINDOW"));
    setWindowTitle(QStringLiteral("Membres / Joueurs"));
    setWindowIcon(resourceIcon(QStringLiteral("AAA_DEZOVUZI")));
    confirmAdministrator = [](QWidget* owner, const std::string& text) { return PASSACCESS(owner, text); };
    chooseImportTable = [this](QWidget* owner) { return chooseWithDialog(owner); };

    buildMenu();
    buildToolbar();

    model_ = new MemberTableModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("CDATABROWSEREX"));
    grid_->setFont(arial(12));
    grid_->setModel(model_);
    // Widths follow the names actually held, so no cell is cut short after an addition.
    connect(model_, &QAbstractItemModel::modelReset, grid_, &QTableView::resizeColumnsToContents);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid_->viewport()->installEventFilter(this);
    setCentralWidget(grid_);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (server_ && current.isValid())
                    server_->goTo(model_->recordAt(current.row()));
                VALIDATECONTROLS();
            });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("MEMBERCOUNT"));
    statusBar()->addWidget(status_, 1);

    refresh(0);
    grid_->setFocus();
}

CCHILDWINDOW::~CCHILDWINDOW() = default;

QAction* CCHILDWINDOW::addCommand(QMenu* menu, int id, const QString& text, const QString& description,
                                  void (CCHILDWINDOW::*slot)(), const QKeySequence& shortcut)
{
    auto* action = menu->addAction(text);
    action->setObjectName(QStringLiteral("id%1").arg(id));
    action->setStatusTip(description);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Each browser answers its own accelerators only.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(action, &QAction::triggered, this, slot);
    actions_[id] = action;
    return action;
}

QAction* CCHILDWINDOW::addButton(int id, BrowserImage image, const QString& text, const QString& tooltip,
                                 void (CCHILDWINDOW::*slot)())
{
    auto* toolbar = findChild<QToolBar*>(QStringLiteral("DEZOVUZI_TBARCHILD"));
    auto* action = toolbar->addAction(QIcon(browserImage(image)), text);
    action->setObjectName(QStringLiteral("id%1").arg(id));
    action->setToolTip(tooltip);
    connect(action, &QAction::triggered, this, slot);
    actions_[id] = action;
    return action;
}

void CCHILDWINDOW::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("CCHILDMENU"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    addCommand(file, 10001, u("&Imprimer\tCtrl+P"), u("Impression de tous les membres"), &CCHILDWINDOW::MENU_FILEPRINT,
               QKeySequence(QStringLiteral("Ctrl+P")));
    addCommand(file, 10002, u("&Effacer tout"), u("Efface tous les membres"), &CCHILDWINDOW::MENU_ZAP);
    addCommand(file, 10003, u("Importer  [ ligue existante ]"), {}, &CCHILDWINDOW::MENU_IMPORTDBFFROM);
    addCommand(file, 10004, u("Envoi de courriels multiples"), {}, &CCHILDWINDOW::MENU_SENDMULTIPLEMAILS);
    addCommand(file, 10005, u("&Fermer\tAlt+F4"), u("Ferme la base de données"), &CCHILDWINDOW::MENU_FILECLOSE,
               QKeySequence(QStringLiteral("Alt+F4")));
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edition"));
    addCommand(edit, 10007, u("&Ajouter\tCtrl+A"), u("Ajouter un membre"), &CCHILDWINDOW::MENU_EDITAPPEND,
               QKeySequence(QStringLiteral("Ctrl+A")));
    addCommand(edit, 10008, u("&Editer\tCtrl+E"), u("Editer un enregistrement"), &CCHILDWINDOW::MENU_EDITEDIT,
               QKeySequence(QStringLiteral("Ctrl+E")));
    addCommand(edit, 10009, u("E&ffacer\tCtrl+D"), u("Effacer un enregistrement"), &CCHILDWINDOW::MENU_EDITDELETE,
               QKeySequence(QStringLiteral("Ctrl+D")));
    edit->addSeparator();
    addCommand(edit, 10010, u("Aller au &début"), u("Déplacer au premier enregistrement"), &CCHILDWINDOW::MENU_EDITGOTOP);
    addCommand(edit, 10011, u("&Précédent"), u("Déplacer au précédent"), &CCHILDWINDOW::MENU_EDITPREVIOUS);
    addCommand(edit, 10012, u("&Suivant"), u("Déplacer au suivant"), &CCHILDWINDOW::MENU_EDITNEXT);
    addCommand(edit, 10013, u("Aller à &la fin"), u("Déplacer au dernier enregistrement"),
               &CCHILDWINDOW::MENU_EDITGOBOTTOM);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Aide"));
    addCommand(help, 10015, u("&Aide    \tF1"), u("Aide de ce logiciel"), &CCHILDWINDOW::MENU_AIDECHILD,
               QKeySequence(Qt::Key_F1));
    addCommand(help, 10016, u("Aide en &ligne\tF12"), {}, &CCHILDWINDOW::MENU_WEBHELP, QKeySequence(Qt::Key_F12));
    addCommand(help, 10017, u("A &propos"), u("A propos de cette application"), &CCHILDWINDOW::MENU_HELPABOUT);
}

void CCHILDWINDOW::buildToolbar()
{
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("DEZOVUZI_TBARCHILD"));
    toolbar->setIconSize(QSize(RIBBON_IMAGE_SIZE, RIBBON_IMAGE_SIZE));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setMovable(false);
    addToolBar(toolbar);
    toolbar->addSeparator();
    addButton(30003, BrowserImage::Add, u("Ajouter"), u("Ajouter un membre"), &CCHILDWINDOW::MENU_EDITAPPEND);
    addButton(30004, BrowserImage::Edit, u("Editer"), u("Editer uin enregistrement"), &CCHILDWINDOW::MENU_EDITEDIT);
    addButton(30005, BrowserImage::Delete, u("Effacer"), u("Effacer une enregistrement"), &CCHILDWINDOW::MENU_EDITDELETE);
    toolbar->addSeparator();
    addButton(30007, BrowserImage::First, u("Aller au début"), u("Aller au premier enregistrement"), &CCHILDWINDOW::MENU_EDITGOTOP);
    addButton(30008, BrowserImage::Previous, u("Précédent"), u("Aller au précédent"), &CCHILDWINDOW::MENU_EDITPREVIOUS);
    addButton(30009, BrowserImage::Next, u("Suivant"), u("Aller au suivant"), &CCHILDWINDOW::MENU_EDITNEXT);
    addButton(30010, BrowserImage::Last, u("Aller à la fin"), u("Aller au dernier enregistrement"), &CCHILDWINDOW::MENU_EDITGOBOTTOM);
    toolbar->addSeparator();
    addButton(30012, BrowserImage::Print, u("Imprimer"), u("Impression de la base de données"), &CCHILDWINDOW::MENU_FILEPRINT);
    toolbar->addSeparator();
    addButton(30014, BrowserImage::EraseAll, u("Effacer tous"), u("Effacer tous les membres"), &CCHILDWINDOW::MENU_ZAP);
    addButton(30001, BrowserImage::Close, u("Fermer"), u("Fermer la base de données"), &CCHILDWINDOW::MENU_FILECLOSE);
}

QAction* CCHILDWINDOW::action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

int CCHILDWINDOW::currentRow() const
{
    const QModelIndex index = grid_->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void CCHILDWINDOW::VALIDATECONTROLS()
{
    const bool admin = core::session().isAdministrator;
    const Commands& commands = commandSlot();
    auto enable = [this](std::initializer_list<int> ids, bool on) {
        for (int id : ids)
            if (QAction* a = action(id))
                a->setEnabled(on);
    };
    const int row = currentRow();
    const int rows = model_->rowCount();
    const bool open = server_ != nullptr;
    enable({10002, 10003, 30014}, admin && open);
    enable({10004}, admin && open && bool(commands.mail));
    enable({10001, 30012}, open && bool(commands.print));
    enable({10007, 30003}, open);
    enable({10008, 10009, 30004, 30005}, open && row >= 0);
    enable({10010, 10011, 30007, 30008}, row > 0);
    enable({10012, 10013, 30009, 30010}, row >= 0 && row < rows - 1);
    enable({10015}, bool(commands.help));
    enable({10016}, bool(commands.webHelp));
    enable({10017}, bool(commands.about));
    status_->setText(QStringLiteral("Le total de membres est de %1").arg(memberCount_));
}

void CCHILDWINDOW::refresh(int row, bool reload)
{
    if (reload)
        model_->reload(server_.get());
    memberCount_ = model_->rowCount();
    row = std::clamp(row, 0, std::max(0, memberCount_ - 1));
    if (memberCount_ > 0) {
        grid_->setCurrentIndex(model_->index(row, std::max(0, grid_->currentIndex().column())));
        server_->goTo(model_->recordAt(row));
        // The grid lays out its new rows later; bring the current one fully into view after that.
        QMetaObject::invokeMethod(
            grid_, [grid = grid_] { grid->scrollTo(grid->currentIndex()); }, Qt::QueuedConnection);
    }
    VALIDATECONTROLS();
}

bool CCHILDWINDOW::reopen()
{
    server_ = members::openMemberTable(tablePath_, true);
    return server_ != nullptr;
}

void CCHILDWINDOW::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->close();
        return;
    }
    close();
    deleteLater();
}

bool CCHILDWINDOW::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_->viewport() && event->type() == QEvent::Wheel) {
        // Three lines per notch, whatever the desktop's setting.
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0) - (delta < 0);
        QScrollBar* bar = grid_->verticalScrollBar();
        bar->setValue(bar->value() - 3 * notches);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CCHILDWINDOW::openMemberDialog(bool toModify)
{
    if (!server_ || (toModify && currentRow() < 0))
        return;
    if (toModify)
        server_->goTo(model_->recordAt(currentRow()));
    CAJOUTMEMBRE dialog(this, *server_, toModify);
    if (dialog.exec() != 1)
        return;
    const int previous = currentRow();
    model_->reload(server_.get());
    const int row = model_->rowOf(dialog.savedRecordNumber());
    refresh(row < 0 ? previous : row, false);
}

void CCHILDWINDOW::MENU_EDITAPPEND() { openMemberDialog(false); }

void CCHILDWINDOW::MENU_EDITEDIT() { openMemberDialog(true); }

void CCHILDWINDOW::MENU_EDITDELETE()
{
    const int row = currentRow();
    if (!server_ || row < 0)
        return;
    const members::Member& m = model_->memberAt(row);
    const std::string question = "\r\nVous allez effacer \r\n\r\n" + core::trim(m.nom) + "  " + core::trim(m.prenom)
        + "\r\n" + "\r\n" + "Êtes-vous certain ????";
    if (!core::askYesNo(question))
        return;
    server_->goTo(model_->recordAt(row));
    server_->deleteRecord();
    server_->commit();
    // The pack needs the table to ourselves: let go of it for a moment. When another window
    // holds it, the record stays hidden until the next maintenance.
    server_.reset();
    members::packIfExclusive(tablePath_);
    if (!reopen()) {
        model_->reload(nullptr);
        closeWindow();
        return;
    }
    refresh(row);
}

void CCHILDWINDOW::MENU_EDITGOTOP()
{
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, std::max(0, grid_->currentIndex().column())));
}

void CCHILDWINDOW::MENU_EDITPREVIOUS()
{
    if (currentRow() > 0)
        grid_->setCurrentIndex(model_->index(currentRow() - 1, grid_->currentIndex().column()));
}

void CCHILDWINDOW::MENU_EDITNEXT()
{
    if (currentRow() >= 0 && currentRow() < model_->rowCount() - 1)
        grid_->setCurrentIndex(model_->index(currentRow() + 1, grid_->currentIndex().column()));
}

void CCHILDWINDOW::MENU_EDITGOBOTTOM()
{
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(model_->rowCount() - 1, std::max(0, grid_->currentIndex().column())));
}

void CCHILDWINDOW::MENU_FILEPRINT()
{
    if (commandSlot().print && server_)
        commandSlot().print(*this);
}

void CCHILDWINDOW::MENU_SENDMULTIPLEMAILS()
{
    if (!commandSlot().mail || !server_ || !core::session().isAdministrator)
        return;
    const std::uint32_t recno = server_->recNo();
    commandSlot().mail(*this);
    if (server_) {
        server_->goTo(recno);
        const int row = model_->rowOf(recno);
        if (row >= 0)
            grid_->setCurrentIndex(model_->index(row, std::max(0, grid_->currentIndex().column())));
    }
}

void CCHILDWINDOW::MENU_ZAP()
{
    if (!core::session().isAdministrator || !confirmAdministrator(this, ZAP_WARNING))
        return;
    server_.reset();
    model_->reload(nullptr);
    // Held elsewhere (the draw window): nothing is erased and the browser closes all the same.
    members::eraseAllMembers(tablePath_);
    closeWindow();
}

std::string CCHILDWINDOW::chooseWithDialog(QWidget* owner)
{
    OPNDBFDLG dialog(owner, 0);
    dialog.SETFILTER(QStringLiteral("membres-2.dbf"), u("Sélectionner Membres-2.dbf"), 1);
    dialog.SETSTYLE(OPNDBFDLG::OFN_ALLOWMULTISELECT, false);
    dialog.SETSTYLE(OPNDBFDLG::OFN_NONETWORKBUTTON, true);
    dialog.setINITIALDIRECTORY(QString::fromStdString(core::locations().dataRoot));
    if (!dialog.SHOW())
        return {};
    return dialog.FILENAME().value(0).toStdString();
}

void CCHILDWINDOW::MENU_IMPORTDBFFROM()
{
    if (!core::session().isAdministrator
        || !confirmAdministrator(this, members::importWarningText(core::session().currentLeague)))
        return;
    const std::string chosen = chooseImportTable(this);
    if (chosen.empty())
        return;
    const int row = currentRow();
    server_.reset();
    model_->reload(nullptr);
    const std::string leagueFolder = std::filesystem::path(tablePath_).parent_path().string() + "/";
    if (members::importMembersFrom(chosen, leagueFolder) == members::ImportResult::Imported) {
        closeWindow();
        return;
    }
    if (!reopen()) {
        closeWindow();
        return;
    }
    refresh(row);
}

void CCHILDWINDOW::MENU_FILECLOSE() { closeWindow(); }

void CCHILDWINDOW::MENU_AIDECHILD()
{
    if (commandSlot().help)
        commandSlot().help();
}

void CCHILDWINDOW::MENU_WEBHELP()
{
    if (commandSlot().webHelp)
        commandSlot().webHelp();
}

void CCHILDWINDOW::MENU_HELPABOUT()
{
    if (commandSlot().about)
        commandSlot().about();
}

CCHILDWINDOW* MENU_OPENMEMBERS(QMdiArea* area)
{
    const std::string path = members::currentMemberTablePath();
    auto server = members::openMemberTable(path, true);
    if (!server)
        return nullptr;
    auto* browser = new CCHILDWINDOW(std::move(server), path);
    QMdiSubWindow* sub = area->addSubWindow(browser);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(browser->windowTitle());
    sub->setWindowIcon(browser->windowIcon());
    sub->showMaximized();
    browser->grid()->setFocus();
    return browser;
}

}  // namespace derode::gui
