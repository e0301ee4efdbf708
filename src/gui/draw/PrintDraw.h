#pragma once
// The draw printing commands as the windows call them, on the run's current league. The rules
// are headless (draw/Printing.h); these entry points pass the league and today's date.

#include "draw/Printing.h"

namespace derode::gui::draw {

// Button 117 of the draw window. The window sets its printed flag when this returns true
// (the draw was printed and saved as today's dated file), then focuses its token entry field.
bool CPUSHIMPRIMERTIRAGES();

// Main menu "&Ré-impression du dernier tirage".
derode::draw::PrintOutcome MENU_REIMPRESSIONDERNIERTIRAGE();

// Main menu "&Impression de tirage en blanc".
derode::draw::BlankSheetOutcome MENU_BLANKSHEET();

}  // namespace derode::gui::draw
