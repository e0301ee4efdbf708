#include "core/Settings.h"

#include "core/Locations.h"

namespace derode::core {

using namespace settings;

std::string leagueOptionsFile(const std::string& league)
{
    return locations().leagueFolder(league) + kOptionsFileName;
}

std::string recentLeagueFile() { return locations().dataRoot + kRecentLeagueFileName; }

CLASS_HKCU CHECKREGISTERYSTUFF(const std::string& storeFile)
{
    CLASS_HKCU key(storeFile.empty() ? locations().registryFile : storeFile);
    key.WORKING_SUBKEY(kProgramKeyPath);
    key.GET_SUBKEY_VALUENAMES(kParametersSubkey);
    if (key.LASTERROR() != REGISTRY_SUCCESS)
        WRITEREGISTRY(key);
    else
        key.WORKING_SUBKEY(kParametersPath);
    return key;
}

bool WRITEREGISTRY(_CLASS_REGISTRY& key)
{
    key.CREATESUBKEY(kParametersSubkey);
    key.WORKING_SUBKEY(kParametersPath);
    key.WRITEINT(kWindowCoordSubkey, kWindowX, kFirstRunX);
    key.WRITEINT(kWindowCoordSubkey, kWindowY, kFirstRunY);
    key.WRITEINT(kWindowCoordSubkey, kWindowWidth, kFirstRunWidth);
    key.WRITEINT(kWindowCoordSubkey, kWindowHeight, kFirstRunHeight);
    key.WRITEINT(kWindowMaximisedSubkey, kWindowMaximised, kFirstRunMaximised);
    return true;
}

WindowPlacement readWindowPlacement(_CLASS_REGISTRY& key)
{
    WindowPlacement p;
    p.maximised = key.GETINT(kWindowMaximisedSubkey, kWindowMaximised) != 0;
    p.x = key.GETINT(kWindowCoordSubkey, kWindowX);
    p.y = key.GETINT(kWindowCoordSubkey, kWindowY);
    p.width = key.GETINT(kWindowCoordSubkey, kWindowWidth);
    p.height = key.GETINT(kWindowCoordSubkey, kWindowHeight);
    return p;
}

void writeWindowPlacement(_CLASS_REGISTRY& key, const WindowPlacement& closing)
{
    if (closing.maximised) {
        key.WRITEINT(kWindowMaximisedSubkey, kWindowMaximised, 1);
        return;
    }
    WindowPlacement p = closing;
    if (p.x < 0 || p.y < 0 || p.width < 0 || p.height < 0)
        p = {false, kFallbackX, kFallbackY, kFallbackWidth, kFallbackHeight};
    key.WRITEINT(kWindowCoordSubkey, kWindowX, p.x);
    key.WRITEINT(kWindowCoordSubkey, kWindowY, p.y);
    key.WRITEINT(kWindowCoordSubkey, kWindowWidth, p.width);
    key.WRITEINT(kWindowCoordSubkey, kWindowHeight, p.height);
    key.WRITEINT(kWindowMaximisedSubkey, kWindowMaximised, 0);
}

}  // namespace derode::core
