#pragma once
// `CCHILDWINDOW`: the member browser, an MDI child with its own menu (`CCHILDMENU`), toolbar
// (`DEZOVUZI_TBARCHILD`), accelerators and status bar, showing the member table as a read-only
// grid. It holds the member table open shared for its lifetime; every change goes through the
// member dialog or the register's functions in members/.

#include "engine/DbServer.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QTableView;

namespace derode::gui {

class MemberTableModel;

class CCHILDWINDOW : public QMainWindow {
    Q_OBJECT
public:
    // Takes the member server opened shared on `tablePath`.
    CCHILDWINDOW(std::unique_ptr<engine::CDBSERVEREX> server, const std::string& tablePath,
                 QWidget* parent = nullptr);
    ~CCHILDWINDOW() override;

    // Commands bound by other parts of the program; an entry without one stays disabled.
    struct Commands {
        std::function<void(CCHILDWINDOW&)> print;  // MENU_FILEPRINT
        std::function<void(CCHILDWINDOW&)> mail;   // MENU_SENDMULTIPLEMAILS
        std::function<void()> help;                // F1
        std::function<void()> webHelp;             // F12
        std::function<void()> about;               // the main window's about box
    };
    static void setCommands(Commands commands);

    // Seams of the administrator's confirmation and of the file chooser; tests replace them.
    std::function<bool(QWidget*, const std::string&)> confirmAdministrator;
    std::function<std::string(QWidget*)> chooseImportTable;  // "" when cancelled

    void VALIDATECONTROLS();

    void MENU_FILEPRINT();
    void MENU_ZAP();
    void MENU_IMPORTDBFFROM();
    void MENU_SENDMULTIPLEMAILS();
    void MENU_FILECLOSE();
    void MENU_EDITAPPEND();
    void MENU_EDITEDIT();
    void MENU_EDITDELETE();
    void MENU_EDITGOTOP();
    void MENU_EDITPREVIOUS();
    void MENU_EDITNEXT();
    void MENU_EDITGOBOTTOM();
    void MENU_AIDECHILD();
    void MENU_WEBHELP();
    void MENU_HELPABOUT();

    engine::CDBSERVEREX* server() const { return server_.get(); }
    QTableView* grid() const { return grid_; }
    int memberCount() const { return memberCount_; }
    int currentRow() const;
    // The menu entry or toolbar button of a command id (10001…, 30001…).
    QAction* action(int id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, int id, const QString& text, const QString& description,
                        void (CCHILDWINDOW::*slot)(), const QKeySequence& shortcut = {});
    QAction* addButton(int id, int image, const QString& text, const QString& tooltip, void (CCHILDWINDOW::*slot)());
    void buildMenu();
    void buildToolbar();
    void refresh(int row, bool reload = true);
    void openMemberDialog(bool toModify);
    bool reopen();
    void closeWindow();
    std::string chooseWithDialog(QWidget* owner);

    std::unique_ptr<engine::CDBSERVEREX> server_;
    std::string tablePath_;
    QTableView* grid_;
    MemberTableModel* model_;
    QLabel* status_;
    int memberCount_ = 0;
    std::map<int, QAction*> actions_;
};

// The main menu's "Ajout/Suppression de membres / joueurs": opens the member table shared and
// shows the browser in `area` (the "ne peut pas ouvrir" box when the table cannot be opened).
// Returns the browser, or nullptr.
CCHILDWINDOW* MENU_OPENMEMBERS(QMdiArea* area);

}  // namespace derode::gui
