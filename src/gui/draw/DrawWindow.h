#pragma once
// `CWINTIRAGE`: the draw window. The organiser registers the members present as captains or
// players (by selection or by token number), draws as many times as wanted and prints the
// chosen draw. The registration, its limits, messages and the draw live in
// draw::DrawRegistration; this window shows it and forwards the user's actions.

#include "draw/DrawRegistration.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace derode::gui {

class CTEXTIMAGEBUTTON;
class CWINTIRAGE;

// What the window does with the league's files, bound by the opener.
struct DrawWindowActions {
    // The draw command: rules, then the draw with its retries (`VERIFIERTIRAGE`).
    std::function<bool(draw::DrawRegistration&)> draw;
    // Refilling from the current draw file; gives the draw file's date for the caption.
    std::function<bool(draw::DrawRegistration&, std::string& drawDate)> refill;
    // The member dialog in adding mode: the added member's row, or nothing.
    std::function<std::optional<draw::MemberRow>(QWidget* parent)> addMember;
};

// Printing the draw (button 117) belongs to the draw sheets; until a command is installed the
// button stays disabled. The command returns true when the draw was printed and saved.
using DrawPrintCommand = std::function<bool(CWINTIRAGE& window)>;
void setDrawPrintCommand(DrawPrintCommand command);

class CWINTIRAGE : public QDialog {
    Q_OBJECT

public:
    CWINTIRAGE(std::unique_ptr<draw::DrawRegistration> registration, DrawWindowActions actions,
               const std::string& league, bool repopulate, QWidget* parent = nullptr);
    ~CWINTIRAGE() override;

    draw::DrawRegistration& registration() { return *registration_; }

    // Button commands, named after their buttons.
    void CPUSHCAPITAINEPLUS();
    void CPUSHCAPITAINEMOINS();
    void CPUSHMONTEJOUEUR();
    void CPUSHDESCENDREJOUEUR();
    void CPUSHJOUEURPLUS();
    void CPUSHJOUEURMOINS();
    void CPUSHAJOUTMEMBRE();
    void CPUSHVERIFIERTIRAGE();
    bool VERIFIERTIRAGE();
    void CPUSHIMPRIMERTIRAGES();
    void CPUSHCLOSEWINDOW();
    void CCHECKBOX1(bool ticked);
    void CPUSHOKJETON();
    draw::TokenRegistration CPUSHOKJETON2(const QString& token, bool asCaptain);
    // `REPOPULATION`: refills the registration from the current draw file.
    void REPOPULATION();

    // The token entry field focused with its text selected.
    void focusTokenField();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillMembersList();
    void refreshMemberMarks();
    void refreshRegisteredLists();
    void refreshCounters();
    void afterRegistrationChange(bool changed);
    void updatePrintButton();
    void onLanesChosen(int index);

    std::unique_ptr<draw::DrawRegistration> registration_;
    DrawWindowActions actions_;
    std::string league_;
    bool drawReady_ = false;
    bool shownOnce_ = false;
    bool refreshing_ = false;

    QTreeWidget* membersList_ = nullptr;
    QTreeWidget* captainsList_ = nullptr;
    QTreeWidget* playersList_ = nullptr;
    QCheckBox* tokenCheck_ = nullptr;
    QLineEdit* tokenField_ = nullptr;
    QPushButton* tokenOk_ = nullptr;
    QLabel* maxPeople_ = nullptr;
    QLabel* captainCount_ = nullptr;
    QLabel* playerCount_ = nullptr;
    QLabel* totalCount_ = nullptr;
    QComboBox* lanesBox_ = nullptr;
    CTEXTIMAGEBUTTON* printButton_ = nullptr;
    CTEXTIMAGEBUTTON* addMemberButton_ = nullptr;
};

}  // namespace derode::gui
