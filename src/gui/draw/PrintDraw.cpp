#include "gui/draw/PrintDraw.h"

#include "core/Session.h"
#include "gui/core/ShellWindow.h"
#include "gui/draw/DrawWindow.h"

#include <QDate>

namespace derode::gui {

bool printDrawSheetsCommand()
{
    const std::string today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    return draw::printDrawSheets(core::session().currentLeague, today) == draw::PrintOutcome::Saved;
}

void installDrawPrintCommand()
{
    setDrawPrintCommand([](CWINTIRAGE&) { return printDrawSheetsCommand(); });
}

void bindDrawPrintCommands(CSHELLWINDOW& window)
{
    window.bindCommand(Command::MENU_REIMPRESSIONDERNIERTIRAGE, [] { MENU_REIMPRESSIONDERNIERTIRAGE(); });
    window.bindCommand(Command::MENU_BLANKSHEET, [] { MENU_BLANKSHEET(); });
    installDrawPrintCommand();
}

draw::PrintOutcome MENU_REIMPRESSIONDERNIERTIRAGE() { return draw::reprintLastDraw(core::session().currentLeague); }

draw::BlankSheetOutcome MENU_BLANKSHEET() { return draw::printBlankSheet(core::session().currentLeague); }

}  // namespace derode::gui
