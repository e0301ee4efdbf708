#include "members/Member.h"

#include "core/Text.h"

#include <cmath>

namespace derode::members {

Member readMember(const engine::CDBSERVEREX& table)
{
    Member m;
    m.nom = core::rtrim(table.getText("NOM"));
    m.prenom = core::rtrim(table.getText("PRENOM"));
    m.femme = table.getLogical("FEMME");
    m.capitaine = table.getLogical("CAPITAINE");
    m.telephone = core::rtrim(table.getText("TELEPHONE"));
    m.noJeton = static_cast<int>(std::lround(table.getNumber("NO_JETON")));
    m.captOcc = table.getLogical("CAPT_OCC");
    m.mail = core::rtrim(table.getText("MAIL"));
    m.noConjoin = static_cast<int>(std::lround(table.getNumber("NO_CONJOIN")));
    return m;
}

bool writeMember(engine::CDBSERVEREX& table, const Member& m)
{
    bool ok = table.fieldPut("NOM", m.nom);
    ok = table.fieldPut("PRENOM", m.prenom) && ok;
    ok = table.fieldPut("FEMME", m.femme) && ok;
    ok = table.fieldPut("CAPITAINE", m.capitaine) && ok;
    ok = table.fieldPut("TELEPHONE", m.telephone) && ok;
    ok = table.fieldPut("NO_JETON", static_cast<double>(m.noJeton)) && ok;
    ok = table.fieldPut("CAPT_OCC", m.captOcc) && ok;
    ok = table.fieldPut("MAIL", m.mail) && ok;
    ok = table.fieldPut("NO_CONJOIN", static_cast<double>(m.noConjoin)) && ok;
    return table.commit() && ok;
}

}  // namespace derode::members
