#pragma once
// The main window: a multiple-document frame that owns every other window of the run. Its menu,
// toolbar and accelerators issue command numbers; each number runs the handler bound to it.
// A command without a handler, or one that the user kind forbids, is disabled and does nothing
// from any of the three sources.

#include "core/Settings.h"
#include "gui/core/Commands.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;
class QShortcut;
class QTimer;
class QToolBar;
class QToolButton;

namespace derode::gui {

class CSHELLWINDOW : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window for the run's session (league, user kind): menu, toolbar, accelerators,
    // status bar, caption. MENU_QUIT, MENU_PASSWORD and MENU_OPTIONS are bound here.
    explicit CSHELLWINDOW(QWidget* parent = nullptr);

    // The area that holds the child windows (member browser, draw window, points window).
    QMdiArea* mdiArea() const { return mdi_; }

    // Binds the handler that carries out a command; the command becomes available unless the
    // user kind forbids it. Binding again replaces the handler.
    void bindCommand(Command command, std::function<void()> handler);
    // Runs the command as the menu, the toolbar and the accelerators do; false when it is
    // disabled or has no handler (nothing happens then).
    bool runCommand(Command command);
    bool isCommandEnabled(Command command) const;

    // The last steps of the window's creation, run once the other subsystems have bound their
    // commands: the update check for an administrator and the member table's upgrade.
    // False when the run must end (an update installer took over).
    std::function<bool()> CHECK_UPDATE;
    std::function<void()> UPDATEDBFMEMBERS;
    bool finishStartup();

    // Restricts the commands to the user kind and removes the report placeholder from the menu.
    void UPDATEEDITMENU();
    // Keeps the Insert toggle on; there is no settable keyboard state here, so it does nothing.
    void FORCEINSERTKEYSTATE();
    void ONTIMER();
    void MENU_QUIT();
    void MENU_PASSWORD();
    void MENU_OPTIONS();
    void MENU_POPARROW1();

    // Widgets by command, for tests and for the binding subsystems.
    QAction* menuAction(Command command) const;
    QAction* toolbarAction(Command command) const;
    QMenu* reportPopup() const { return reportMenu_; }
    QToolBar* toolbar() const { return toolbar_; }
    QTimer* timer() const { return timer_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct CommandState {
        std::function<void()> handler;
        bool allowed = true;  // false when the user kind forbids it
        std::vector<QAction*> actions;
    };

    void buildMenu();
    void buildToolbar();
    void buildAccelerators();
    QAction* addCommandAction(Command command, const QString& text, QObject* owner);
    void refresh(Command command);
    bool ONCLOSE();

    QMdiArea* mdi_ = nullptr;
    QTimer* timer_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* reportMenu_ = nullptr;
    std::map<Command, CommandState> commands_;
    std::map<Command, QAction*> menuActions_;
    std::map<Command, QAction*> toolbarActions_;
};

// The stored placement of the window (see core::WindowPlacement for the convention).
core::WindowPlacement reportedPlacement(const QWidget& window);
void applyPlacement(QWidget& window, const core::WindowPlacement& placement);

// "[league] Derode-V3, 3 ou 4  joueurs, 2 parties"
QString shellCaption(const QString& league);

}  // namespace derode::gui
