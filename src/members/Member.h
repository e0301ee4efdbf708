#pragma once
// One record of the member table, read and written by field name.

#include "engine/DbServer.h"

#include <string>

namespace derode::members {

struct Member {
    std::string nom;        // family name, in capitals
    std::string prenom;     // first name
    bool femme = false;
    bool capitaine = false;
    std::string telephone;  // as typed through "999-999-9999"
    int noJeton = 0;        // token number, 1 to 999
    bool captOcc = false;   // occasional captain (informative)
    std::string mail;
    int noConjoin = 0;      // spouse's token number, 0 for none
    friend bool operator==(const Member&, const Member&) = default;
};

// The current record, texts trimmed on the right.
Member readMember(const engine::CDBSERVEREX& table);
// Writes the nine fields into the current record and commits; false when a write fails.
bool writeMember(engine::CDBSERVEREX& table, const Member& member);

}  // namespace derode::members
