#include "gui/core/App.h"

#include "core/Session.h"
#include "core/Settings.h"
#include "core/SingleInstance.h"
#include "gui/core/ShellWindow.h"
#include "gui/league/LoginDialog.h"
#include "league/Leagues.h"
#include "league/Login.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace derode::gui {

int CAPP::START()
{
    core::Session& session = core::session();
    session.versionText = "Version 3.7.2.0";
    // A second copy ends here, silently; the first is not brought forward.
    const char* const mutexName = "__derodeV2__";
    if (lockPath_.empty() ? core::ALREADYRUNNING(mutexName) : core::ALREADYRUNNING(mutexName, lockPath_))
        return 0;
    // Dates go through ISO "YYYY-MM-DD" text everywhere (QDate::toString(Qt::ISODate) and the
    // domain's own formatting), so there is no run-wide date setting to make here.
    core::CHECKREGISTERYSTUFF();
    // French month and day names, and Qt's own texts in French when its translations are
    // installed; without them the run goes on.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::Canada));
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    // Deleted records are hidden by the table engine for every run; the Insert toggle cannot be
    // forced here.
    session.leagueList = league::readLeagueList();

    int entered = 0;
    {
        CLOGIN login;
        entered = login.exec();
        if (entered == 1 || entered == 2)
            session.currentLeague = login.CURRENTLIGUE().toStdString();
    }
    if (!league::applyLoginResult(entered))
        return 0;

    CSHELLWINDOW window;
    for (const auto& setup : setups_)
        setup(window);
    if (!window.finishStartup())
        return 0;
    core::CLASS_HKCU parameters;
    parameters.WORKING_SUBKEY(core::settings::kParametersPath);
    core::WindowPlacement placement = core::readWindowPlacement(parameters);
    if (placement.maximised) {
        window.showMaximized();
    } else {
        applyPlacement(window, placement);
        window.show();
    }
    return QApplication::exec();
}

}  // namespace derode::gui
