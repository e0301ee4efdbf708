#pragma once
// The one place where the subsystems meet the main window: each binds its commands and start-up
// steps here, and the run's paper output is chosen here. The entry point calls both.

namespace derode::gui {

class CSHELLWINDOW;

// Binds every subsystem's commands and start-up hooks on the main window.
void bindSubsystems(CSHELLWINDOW& window);

// Installs the production outputs of the run: reports go through Qt's print preview, file
// operations show a progress dialog.
void installRunOutputs();

}  // namespace derode::gui
