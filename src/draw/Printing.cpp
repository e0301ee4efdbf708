#include "draw/Printing.h"

#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "core/Locations.h"
#include "core/MakeDir.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "engine/DbServer.h"
#include "engine/Templates.h"
#include "reports/Report.h"
#include "reports/ReportBinding.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace derode::draw {

namespace {

std::string two(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

std::string dateOf(const std::tm& t)
{
    return std::to_string(t.tm_year + 1900) + "-" + two(t.tm_mon + 1) + "-" + two(t.tm_mday);
}

struct SheetSettings {
    int copies;
    std::string heading;
};

SheetSettings readSheetSettings(const std::string& league, bool reprint)
{
    core::CINIFILE ini(core::leagueOptionsFile(league));
    namespace s = core::settings;
    return {ini.readInt(s::kDrawSheet1Copies.section, s::kDrawSheet1Copies.key,
                        reprint ? s::kDrawSheet1CopiesDefaultReprint : s::kDrawSheet1CopiesDefaultDrawPrinting),
            ini.readString(s::kDrawSheetHeading.section, s::kDrawSheetHeading.key,
                           reprint ? s::kDrawSheetHeadingDefaultReprint : s::kDrawSheetHeadingDefaultDrawPrinting)};
}

// The report of the draw sheets; false only when the template loaded and nothing was printed.
bool runDrawSheets(const std::string& league, const std::string& date)
{
    const SheetSettings sheet = readSheetSettings(league, false);
    reports::Report report;
    report.setDataFolder(core::locations().leagueFolder(league));
    if (!report.loadTemplate(core::locations().programFolder, kDrawSheetTemplate))
        return true;  // the dated copy is still made, as it always was
    report.setVariable("Ligue", league);
    report.setVariable("_date", date);
    report.setVariable("Entete", sheet.heading);
    report.setSetting(reports::setting::Copies, std::to_string(sheet.copies));
    report.setSetting(reports::setting::Flag10005, "Y");
    report.setSetting(reports::setting::PrintMode, "3");
    return report.print();
}

}  // namespace

std::string todayText()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dateOf(local);
}

bool drawFileHoldsPoints(const std::string& path)
{
    engine::CDBSERVEREX server(path, {}, true, true);
    if (!server.used())
        return true;
    if (server.fieldCount() < 20)
        return true;
    for (bool more = server.goTop(); more && !server.eof(); more = server.skip(1)) {
        for (int field = 17; field <= 20; ++field)
            if (server.getNumber(field) != 0)
                return true;
    }
    return false;
}

DatedCopy saveDatedCopy(const std::string& leagueFolder, const std::string& date)
{
    const std::string source = reports::findFileIgnoringCase(leagueFolder, kCurrentDrawFile);
    const std::string folder = leagueFolder + kDatedFolder + "/";
    auto failed = [&](const std::string& reason) {
        core::showError("\r\nLe tirage n'a pas pu être sauvegardé sous la date du " + date +
                        " dans le dossier PartiesParDates.\r\n\r\n" + reason);
        return DatedCopy::Failed;
    };
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return failed("Le fichier du tirage courant est introuvable.");
    if (core::MAKEDIR(folder) != 0)
        return failed("Le dossier ne peut pas être créé.");
    // An existing file of that date keeps its own spelling of the name.
    const std::string target = reports::findFileIgnoringCase(folder, date + ".dbf");
    if (fs::exists(target, ec) && drawFileHoldsPoints(target)) {
        if (!core::askYesNo("\r\nLe tirage sauvegardé du " + date +
                            " contient déjà des points.\r\n\r\nVoulez-vous le remplacer par ce tirage ?\r\n"
                            "Les points déjà saisis pour cette date seront perdus."))
            return DatedCopy::Kept;
    }
    std::string error;
    const bool copied = core::replaceFileAtomically(
        target,
        [&](const std::string& temp) {
            std::error_code copyError;
            return fs::copy_file(source, temp, fs::copy_options::overwrite_existing, copyError);
        },
        &error);
    if (!copied)
        return failed("La copie a échoué (" + error + "); l'ancien fichier de cette date est intact.");
    return DatedCopy::Written;
}

namespace {
PrintOutcome outcomeOf(DatedCopy copy)
{
    switch (copy) {
    case DatedCopy::Written: return PrintOutcome::Saved;
    case DatedCopy::Kept: return PrintOutcome::KeptExisting;
    case DatedCopy::Failed: break;
    }
    return PrintOutcome::CopyFailed;
}
}  // namespace

PrintOutcome printDrawSheets(const std::string& league, const std::string& today)
{
    if (!runDrawSheets(league, today))
        return PrintOutcome::NotPrinted;
    return outcomeOf(saveDatedCopy(core::locations().leagueFolder(league), today));
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    std::error_code ec;
    const auto written = fs::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(written);
    const auto rounded = std::chrono::round<std::chrono::seconds>(system);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(rounded);
    std::tm local{};
    localtime_r(&seconds, &local);
    return FileStamp{dateOf(local), two(local.tm_hour) + ":" + two(local.tm_min) + ":" + two(local.tm_sec)};
}

std::string reprintQuestion(const FileStamp& stamp)
{
    return "Oups... j'ai fermé la fenêtre des tirages, l'imprimante à plantée, les feuilles d'impression on mal "
           "sorties...\r\n\r\nPas de panique, le tirage du " +
           stamp.date + " à " + stamp.time + " est toujours disponible..." + "\r\n" + "\r\n" +
           "Voulez-vous essayer de l'imprimer à nouveau ?";
}

PrintOutcome reprintLastDraw(const std::string& league)
{
    const std::string leagueFolder = core::locations().leagueFolder(league);
    const std::string current = reports::findFileIgnoringCase(leagueFolder, kCurrentDrawFile);
    std::error_code ec;
    if (!fs::is_regular_file(current, ec))
        return PrintOutcome::Declined;
    const auto stamp = fileStamp(current);
    if (!stamp)
        return PrintOutcome::Declined;
    core::Message question{core::MessageKind::Question, reprintQuestion(*stamp), {}, true};
    if (core::showMessage(question) != 1)
        return PrintOutcome::Declined;

    const SheetSettings sheet = readSheetSettings(league, true);
    reports::Report report;
    report.setDataFolder(leagueFolder);
    if (report.loadTemplate(core::locations().programFolder, kDrawSheetTemplate)) {
        report.setVariable("Ligue", league);
        report.setVariable("_date", stamp->date);
        report.setVariable("Entete", sheet.heading);
        report.setSetting(reports::setting::Copies, std::to_string(sheet.copies));
        report.setSetting(reports::setting::Flag10005, "Y");
        report.setSetting(reports::setting::PrintMode, "3");
        if (!report.print())
            return PrintOutcome::NotPrinted;
    }
    return outcomeOf(saveDatedCopy(leagueFolder, stamp->date));
}

bool prepareBlankTable(const std::string& path, int lanes, std::string* error)
{
    engine::CDBSERVEREX server(path, {}, false, false);
    if (!server.used()) {
        if (error)
            *error = server.lastError();
        return false;
    }
    if (!server.zap()) {
        if (error)
            *error = server.lastError();
        return false;
    }
    for (int i = 0; i < lanes; ++i) {
        if (!server.append() || !server.fieldPut(1, std::string(" "))) {
            if (error)
                *error = server.lastError();
            return false;
        }
    }
    server.commit();
    server.close();
    return true;
}

BlankSheetOutcome printBlankSheet(const std::string& league)
{
    namespace s = core::settings;
    core::CINIFILE ini(core::leagueOptionsFile(league));
    int lanes = ini.readInt(s::kLanes.section, s::kLanes.key, s::kLanesDefaultBlankSheet);
    if (lanes < 0)
        lanes = 0;
    const std::string commonData = core::locations().commonData();
    const std::string table = reports::findFileIgnoringCase(commonData, kBlankTable);
    std::error_code ec;
    if (!fs::exists(table, ec))
        engine::createFromLayout(table, engine::blankTableLayout());  // an installation that lost it
    std::string error;
    if (!prepareBlankTable(table, lanes, &error)) {
        core::showError("\r\nLa feuille de tirage en blanc ne peut pas être préparée :\r\n\r\n"
                        "le fichier blank.dbf est introuvable ou déjà utilisé.");
        return BlankSheetOutcome::TableUnavailable;
    }
    reports::Report report;
    report.setDataFolder(commonData);
    if (!report.loadTemplate(core::locations().programFolder, kBlankSheetTemplate))
        return BlankSheetOutcome::NotPrinted;
    report.setVariable("_date", "Date:__________");
    report.setVariable("Entete", "Ligue:________________________________");
    report.setSetting(reports::setting::Copies, "1");
    report.setSetting(reports::setting::Flag10005, "Y");
    return report.print() ? BlankSheetOutcome::Printed : BlankSheetOutcome::NotPrinted;
}

}  // namespace derode::draw
