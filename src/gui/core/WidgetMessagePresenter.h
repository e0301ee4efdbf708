#pragma once
// The production presenter of the message seam: the program's box for the information, error
// and question kinds, the platform's plain boxes for the others. Messages are owned by the
// active modal dialog, else by the active window, so that the box comes up over what the user
// is looking at.

#include "core/Messages.h"

class QWidget;

namespace derode::gui {

class WidgetMessagePresenter : public core::MessagePresenter {
public:
    int present(const core::Message& message) override;

    // The window that owns a box shown now.
    static QWidget* currentOwner();
};

}  // namespace derode::gui
