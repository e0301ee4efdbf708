// Entry point: the composition root. It computes the run's locations from the program's own
// folder, installs the production presenter of the message seam and starts the application.
#include "core/Locations.h"
#include "core/Messages.h"
#include "gui/core/App.h"
#include "gui/core/Resources.h"
#include "gui/core/ShellWindow.h"
#include "gui/core/WidgetMessagePresenter.h"
#include "gui/members/MemberCommands.h"

#include <QApplication>

using namespace derode;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    core::setLocations(core::computeLocations(core::programFolderOfExecutable(), core::UserFolders::fromEnvironment()));
    gui::installFontSubstitutions();
    gui::WidgetMessagePresenter presenter;
    core::setMessagePresenter(&presenter);

    gui::CAPP app;
    // Each subsystem binds its commands and start-up hooks on the main window here.
    app.onMainWindow([](gui::CSHELLWINDOW& w) { gui::bindMemberCommands(w); });
    return app.START();
}
