#pragma once
// The draw printing commands as the windows call them, on the run's current league. The rules
// are headless (draw/Printing.h); these entry points pass the league and today's date.

#include "draw/Printing.h"

namespace derode::gui {

class CSHELLWINDOW;

// Binds the reprint and blank-sheet commands on the main window and installs the draw window's
// print command. The run's report output must be installed (installPreviewReportOutput).
void bindDrawPrintCommands(CSHELLWINDOW& window);

// Body of the draw window's button 117 (`CPUSHIMPRIMERTIRAGES`): prints the draw sheets and saves
// today's dated file. True when the window is to set its printed flag.
bool printDrawSheetsCommand();

// Installs printDrawSheetsCommand as the draw window's print command (enables button 117).
void installDrawPrintCommand();

// Main menu "&Ré-impression du dernier tirage".
draw::PrintOutcome MENU_REIMPRESSIONDERNIERTIRAGE();

// Main menu "&Impression de tirage en blanc".
draw::BlankSheetOutcome MENU_BLANKSHEET();

}  // namespace derode::gui
