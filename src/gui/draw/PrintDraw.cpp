#include "gui/draw/PrintDraw.h"

#include "core/Session.h"

#include <QDate>

namespace derode::gui::draw {

bool CPUSHIMPRIMERTIRAGES()
{
    const std::string today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    return derode::draw::printDrawSheets(core::session().currentLeague, today) == derode::draw::PrintOutcome::Saved;
}

derode::draw::PrintOutcome MENU_REIMPRESSIONDERNIERTIRAGE()
{
    return derode::draw::reprintLastDraw(core::session().currentLeague);
}

derode::draw::BlankSheetOutcome MENU_BLANKSHEET()
{
    return derode::draw::printBlankSheet(core::session().currentLeague);
}

}  // namespace derode::gui::draw
