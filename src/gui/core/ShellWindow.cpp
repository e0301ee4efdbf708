#include "gui/core/ShellWindow.h"

#include "core/Messages.h"
#include "core/Session.h"
#include "core/SystemInfo.h"
#include "gui/core/Resources.h"
#include "gui/core/ShellMenu.h"
#include "gui/league/OptionDialog.h"
#include "gui/league/PasswordDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace derode::gui {

namespace {
const char* const CLOSE_QUESTION =
    "\r\nFermeture du programme\r\n\r\nAttention, vous allez quitter ce programme.\r\n\r\n"
    "Est-ce bien ce que vous voulez?";
}

QString shellCaption(const QString& league)
{
    return QStringLiteral("[") + league + QStringLiteral("] Derode-V3, 3 ou 4  joueurs, 2 parties");
}

core::WindowPlacement reportedPlacement(const QWidget& window)
{
    core::WindowPlacement placement;
    placement.maximised = window.isMaximized();
    placement.x = window.pos().x();
    placement.y = window.pos().y();
    placement.width = window.width();
    placement.height = window.height();
    return placement;
}

void applyPlacement(QWidget& window, const core::WindowPlacement& placement)
{
    window.move(placement.x, placement.y);
    window.resize(placement.width, placement.height);
}

CSHELLWINDOW::CSHELLWINDOW(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CSHELLWINDOW"));
    mdi_ = new QMdiArea(this);
    mdi_->setBackground(palette().button());
    setCentralWidget(mdi_);

    timer_ = new QTimer(this);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &CSHELLWINDOW::ONTIMER);
    timer_->start();

    statusBar();
    buildMenu();
    buildToolbar();
    buildAccelerators();
    setWindowIcon(resourceIcon(QStringLiteral("AAA_DEZOVUZI")));

    bindCommand(Command::MENU_QUIT, [this] { MENU_QUIT(); });
    bindCommand(Command::MENU_PASSWORD, [this] { MENU_PASSWORD(); });
    bindCommand(Command::MENU_OPTIONS, [this] { MENU_OPTIONS(); });

    FORCEINSERTKEYSTATE();
    UPDATEEDITMENU();
    setWindowTitle(shellCaption(QString::fromStdString(core::session().currentLeague)));
}

QAction* CSHELLWINDOW::addCommandAction(Command command, const QString& text, QObject* owner)
{
    auto* action = new QAction(text, owner);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    commands_[command].actions.push_back(action);
    refresh(command);
    return action;
}

void CSHELLWINDOW::buildMenu()
{
    QMenuBar* bar = menuBar();
    for (const MenuPopup& popup : SHELLMENU()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(popup.caption));
        for (const MenuEntry& entry : popup.entries) {
            QAction* action = addCommandAction(entry.command, QString::fromUtf8(entry.caption), menu);
            action->setStatusTip(QString::fromUtf8(entry.statusText));
            action->setObjectName(QStringLiteral("menu%1").arg(commandNumber(entry.command)));
            menu->addAction(action);
            menuActions_[entry.command] = action;
        }
    }
    const MenuEntry& quit = SHELLMENUQUIT();
    QAction* action = addCommandAction(quit.command, QString::fromUtf8(quit.caption), bar);
    action->setObjectName(QStringLiteral("menu%1").arg(commandNumber(quit.command)));
    bar->addAction(action);
    menuActions_[quit.command] = action;
}

void CSHELLWINDOW::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("DEZOVUZI_TOOLBAR"));
    toolbar_->setObjectName(QStringLiteral("DEZOVUZI_TOOLBAR"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(RIBBON_IMAGE_SIZE, RIBBON_IMAGE_SIZE));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    reportMenu_ = new QMenu(this);
    reportMenu_->setObjectName(QStringLiteral("POPREPORT"));
    for (const MenuEntry& entry : POPREPORT())
        reportMenu_->addAction(addCommandAction(entry.command, QString::fromUtf8(entry.caption), reportMenu_));

    for (const ToolbarButton& button : DEZOVUZI_TOOLBAR()) {
        if (button.image < 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = addCommandAction(button.command, QString::fromUtf8(button.text), toolbar_);
        action->setIcon(QIcon(ribbonImage(button.image)));
        action->setToolTip(QString::fromUtf8(button.tooltip));
        action->setObjectName(QStringLiteral("tool%1").arg(commandNumber(button.command)));
        toolbarActions_[button.command] = action;
        if (button.dropDown) {
            // The main part issues the command, the arrow shows the report drop-down.
            auto* tool = new QToolButton(toolbar_);
            tool->setObjectName(QStringLiteral("toolbutton%1").arg(commandNumber(button.command)));
            tool->setDefaultAction(action);
            tool->setMenu(reportMenu_);
            tool->setPopupMode(QToolButton::MenuButtonPopup);
            tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            tool->setIconSize(toolbar_->iconSize());
            toolbar_->addWidget(tool);
        } else {
            toolbar_->addAction(action);
        }
    }
}

void CSHELLWINDOW::buildAccelerators()
{
    for (const Accelerator& accelerator : SHELLMENUACCELERATOR()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)), this);
        shortcut->setObjectName(QStringLiteral("accel%1").arg(commandNumber(accelerator.command)));
        Command command = accelerator.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { runCommand(command); });
    }
}

void CSHELLWINDOW::bindCommand(Command command, std::function<void()> handler)
{
    commands_[command].handler = std::move(handler);
    refresh(command);
}

bool CSHELLWINDOW::isCommandEnabled(Command command) const
{
    auto found = commands_.find(command);
    return found != commands_.end() && found->second.allowed && found->second.handler;
}

bool CSHELLWINDOW::runCommand(Command command)
{
    if (!isCommandEnabled(command))
        return false;
    // A copy: the handler may rebind its own command.
    std::function<void()> handler = commands_[command].handler;
    handler();
    return true;
}

void CSHELLWINDOW::refresh(Command command)
{
    bool enabled = isCommandEnabled(command);
    for (QAction* action : commands_[command].actions)
        action->setEnabled(enabled);
}

void CSHELLWINDOW::UPDATEEDITMENU()
{
    if (!core::session().isAdministrator) {
        for (Command command : administratorCommands()) {
            commands_[command].allowed = false;
            refresh(command);
        }
    }
    // The report placeholder only serves the toolbar's drop-down.
    auto found = menuActions_.find(Command::MENU_POPARROW1);
    if (found != menuActions_.end()) {
        QAction* placeholder = found->second;
        auto& actions = commands_[Command::MENU_POPARROW1].actions;
        actions.erase(std::remove(actions.begin(), actions.end(), placeholder), actions.end());
        menuActions_.erase(found);
        delete placeholder;
    }
}

bool CSHELLWINDOW::finishStartup()
{
    if (core::session().isAdministrator && CHECK_UPDATE && CHECK_UPDATE())
        return false;
    if (UPDATEDBFMEMBERS)
        UPDATEDBFMEMBERS();
    return true;
}

void CSHELLWINDOW::FORCEINSERTKEYSTATE() {}

void CSHELLWINDOW::ONTIMER()
{
    if (core::ISUACACTIVATED())
        FORCEINSERTKEYSTATE();
}

void CSHELLWINDOW::MENU_QUIT() { close(); }

void CSHELLWINDOW::MENU_PASSWORD()
{
    CPASSDLG dialog(this);
    dialog.exec();
}

void CSHELLWINDOW::MENU_OPTIONS()
{
    OPTIONDLG dialog(this);
    dialog.exec();
}

void CSHELLWINDOW::MENU_POPARROW1() { reportMenu_->popup(QCursor::pos()); }

QAction* CSHELLWINDOW::menuAction(Command command) const
{
    auto found = menuActions_.find(command);
    return found == menuActions_.end() ? nullptr : found->second;
}

QAction* CSHELLWINDOW::toolbarAction(Command command) const
{
    auto found = toolbarActions_.find(command);
    return found == toolbarActions_.end() ? nullptr : found->second;
}

bool CSHELLWINDOW::ONCLOSE()
{
    if (!core::askYesNo(CLOSE_QUESTION))
        return false;
    core::CLASS_HKCU parameters;
    parameters.WORKING_SUBKEY(core::settings::kParametersPath);
    core::writeWindowPlacement(parameters, reportedPlacement(*this));
    return true;
}

void CSHELLWINDOW::closeEvent(QCloseEvent* event)
{
    if (ONCLOSE())
        event->accept();
    else
        event->ignore();
}

}  // namespace derode::gui
