#include "gui/core/ShellMenu.h"

namespace derode::gui {

const std::vector<MenuPopup>& SHELLMENU()
{
    using C = Command;
    static const std::vector<MenuPopup> menu = {
        {"1)- &Tirages des parties",
         {{C::MENU_PARTIES_TIRAGES, "&Ouvrir un nouveau tirage\tCtrl+O", ""},
          {C::MENU_REIMPRESSIONDERNIERTIRAGE, "&Ré-impression du dernier tirage",
           "Ré-impression du dernier tirage, vérifier la date..."},
          {C::MENU_PARTIES_TIRAGES2, "Re-&Population du dernier tirage", ""},
          {C::MENU_BLANKSHEET, "&Impression de tirage en blanc", "Tirage de feuille en blanc, sans les noms"}}},
        {"2)- Gestion des &points", {{C::MENU_ENTRE_POINTS, "&Ajouter/Modifier les points\tCtrl+P", ""}}},
        {"3)- &Rapports cumulatifs",
         {{C::MENU_RAPPORTS_HOMMES, "&Hommes\tCtrl+H", ""},
          {C::MENU_RAPPORTS_FEMMES, "&Femmes\tCtrl+F", ""},
          {C::MENU_RAPPORTS_TOTAL, "&Tous\tCtrl+T", ""},
          // Ctrl+P belongs to the points entry; the attendance summary takes Ctrl+R ("Rapport").
          {C::MENU_RAPPORTS_SOMMAIRE_PRESENCES, "&Sommaire des présences\tCtrl+R", ""},
          {C::MENU_POPARROW1, "CallPop", ""}}},
        {"&Gestion des membres / joueurs",
         {{C::MENU_OPENMEMBERS, "&Ajout/Suppression de membres / joueurs\tCtrl+G", ""}}},
        {"&Options",
         {{C::MENU_PASSWORD, "&Mot de passe", ""},
          {C::MENU_OPTIONS, "&Options", ""},
          {C::MENU_BACKUP, "&Sauvegarde sur une clé USB", "Sauvegarde sur clé USB seulement..."},
          {C::MENU_RESTORE, "&Restauration de clé USB", "Restauration de clé USB seulement"},
          {C::MENU_CLEANMEMBERS, "&Entretien de la base de données", "Entretien la base de données des membres"}}},
        {"&Aide",
         {{C::MENU_AIDE, "&Aide\tF1", ""},
          {C::MENU_WEBHELP, "Aide en &ligne (Web-Aide)\tF12", ""},
          {C::MENU_HTMLHELP, "Aide en L&igne (Html-Aide)\tCtrl+F12", ""},
          {C::MENU_ABOUT, "A pr&opos", ""}}},
    };
    return menu;
}

const MenuEntry& SHELLMENUQUIT()
{
    static const MenuEntry quit{Command::MENU_QUIT, "&Quitter", ""};
    return quit;
}

const std::vector<Accelerator>& SHELLMENUACCELERATOR()
{
    using C = Command;
    static const std::vector<Accelerator> table = {
        {"Ctrl+O", C::MENU_PARTIES_TIRAGES}, {"Ctrl+P", C::MENU_ENTRE_POINTS},
        {"Ctrl+H", C::MENU_RAPPORTS_HOMMES}, {"Ctrl+F", C::MENU_RAPPORTS_FEMMES},
        {"Ctrl+T", C::MENU_RAPPORTS_TOTAL},  {"Ctrl+R", C::MENU_RAPPORTS_SOMMAIRE_PRESENCES},
        {"Ctrl+G", C::MENU_OPENMEMBERS},     {"F1", C::MENU_AIDE},
        {"F12", C::MENU_WEBHELP},            {"Ctrl+F12", C::MENU_HTMLHELP},
    };
    return table;
}

const std::vector<ToolbarButton>& DEZOVUZI_TOOLBAR()
{
    using C = Command;
    static const std::vector<ToolbarButton> buttons = {
        {0, "Tirage", C::MENU_PARTIES_TIRAGES, "Tirage des parties 1 et 2", false},
        {1, "Gestion des points", C::MENU_ENTRE_POINTS, "Inscription des points et remplacement des noms", false},
        {3, "Rapports", C::MENU_RAPPORTS_TOTAL, "Rapports des hommes et femmes et tous", true},
        {2, "Membres / Joueurs", C::MENU_OPENMEMBERS, "Base de données des membres / joueurs", false},
        {-1, "", C::MENU_QUIT, "", false},
        {4, "Aide", C::MENU_AIDE, "Aide pour tout le programme", false},
        {-1, "", C::MENU_QUIT, "", false},
        {5, "Quitter", C::MENU_QUIT, "Quitter le programme", false},
    };
    return buttons;
}

const std::vector<MenuEntry>& POPREPORT()
{
    using C = Command;
    static const std::vector<MenuEntry> entries = {
        {C::MENU_RAPPORTS_HOMMES, "&Hommes", ""},
        {C::MENU_RAPPORTS_FEMMES, "&Femmes", ""},
        {C::MENU_RAPPORTS_TOTAL, "&Tous", ""},
        {C::MENU_RAPPORTS_SOMMAIRE_PRESENCES, "&Sommaire des présences", ""},
    };
    return entries;
}

const std::vector<Command>& administratorCommands()
{
    using C = Command;
    static const std::vector<Command> commands = {
        C::MENU_ENTRE_POINTS, C::MENU_RAPPORTS_HOMMES, C::MENU_RAPPORTS_FEMMES, C::MENU_RAPPORTS_TOTAL,
        C::MENU_RAPPORTS_SOMMAIRE_PRESENCES, C::MENU_PASSWORD, C::MENU_OPTIONS, C::MENU_BACKUP,
        C::MENU_RESTORE, C::MENU_CLEANMEMBERS,
    };
    return commands;
}

}  // namespace derode::gui
