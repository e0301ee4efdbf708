// Entry point: the composition root. It computes the run's locations from the program's own
// folder, installs the production presenter of the message seam and starts the application.
#include "core/Locations.h"
#include "core/Messages.h"
#include "gui/app/Subsystems.h"
#include "gui/core/App.h"
#include "gui/core/Resources.h"
#include "gui/core/ShellWindow.h"
#include "gui/core/WidgetMessagePresenter.h"

#include <QApplication>

using namespace derode;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    core::setLocations(core::computeLocations(core::programFolderOfExecutable(), core::UserFolders::fromEnvironment()));
    gui::installFontSubstitutions();
    gui::installProgramStyle();
    gui::WidgetMessagePresenter presenter;
    core::setMessagePresenter(&presenter);

    gui::CAPP app;
    gui::installRunOutputs();
    app.onMainWindow(gui::bindSubsystems);
    return app.START();
}
