#pragma once
// `CAJOUTMEMBRE`: adds a member to the member table or changes the current one. The rules
// (normalisation, checks, messages, the write) live in members/MemberRules; the dialog gathers
// the controls and shows the proper-cased first name back.

#include "engine/DbServer.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace derode::gui {

class CAJOUTMEMBRE : public QDialog {
    Q_OBJECT
public:
    // The member server belongs to the caller and, in modify mode, is on the record to change.
    CAJOUTMEMBRE(QWidget* owner, engine::CDBSERVEREX& server, bool toModify);

    bool TOMODIFY() const { return toModify_; }
    void setTOMODIFY(bool toModify);

    // Results read by the caller after the dialog closed (dialog result 1: saved).
    std::uint32_t savedRecordNumber() const { return savedRecord_; }
    std::string savedDisplayName() const { return savedName_; }

    void CPUSHAJOUT();
    void CPUSHANNULLE();
    void CRADIOCAPITAINE();
    void CRADIOJOUEUR();

private:
    void applyMode();

    engine::CDBSERVEREX& server_;
    bool toModify_ = false;
    std::uint32_t rememberedRecord_ = 0;
    std::uint32_t savedRecord_ = 0;
    std::string savedName_;

    QLineEdit* familyName_;
    QLineEdit* firstName_;
    QRadioButton* man_;
    QRadioButton* woman_;
    QRadioButton* player_;
    QRadioButton* captain_;
    QLineEdit* phone_;
    QLineEdit* token_;
    QLineEdit* spouse_;
    QLineEdit* mail_;
    QCheckBox* occasional_;
    QPushButton* save_;
    QPushButton* cancel_;
};

}  // namespace derode::gui
