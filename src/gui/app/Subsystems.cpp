#include "gui/app/Subsystems.h"

#include "gui/core/FileOperationProgress.h"
#include "gui/core/ShellWindow.h"
#include "gui/draw/DrawCommands.h"
#include "gui/draw/PrintDraw.h"
#include "gui/members/MemberBrowser.h"
#include "gui/members/MemberCommands.h"
#include "gui/members/PrintMembers.h"
#include "gui/reports/ReportPainter.h"

namespace derode::gui {

void bindSubsystems(CSHELLWINDOW& window)
{
    bindMemberCommands(window);
    bindDrawCommands(window);
    bindDrawPrintCommands(window);
    CCHILDWINDOW::Commands browserCommands;
    browserCommands.print = [](CCHILDWINDOW&) { printMemberListCommand(); };
    CCHILDWINDOW::setCommands(browserCommands);
}

void installRunOutputs()
{
    installPreviewReportOutput();
    static FileOperationProgressPresenter fileOperationProgress;
    core::setOperationProgressPresenter(&fileOperationProgress);
}

}  // namespace derode::gui
