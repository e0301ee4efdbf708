#pragma once
// Member tables made for a test: a league folder under the test locations, members appended
// through the register's own writer, and the raw bytes of a file to show it did not change.

#include "core/AtomicFile.h"
#include "core/Session.h"
#include "core/Text.h"
#include "engine/DbServer.h"
#include "members/Member.h"
#include "members/MemberTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace derode::test {

inline members::Member member(const std::string& nom, const std::string& prenom, int jeton, int conjoint = 0)
{
    members::Member m;
    m.nom = nom;
    m.prenom = prenom;
    m.noJeton = jeton;
    m.noConjoin = conjoint;
    m.telephone = "514-555-0101";
    m.mail = "x@y.ca";
    return m;
}

// A league folder "<name>/" under the data root, made current, with a member table holding `list`.
inline std::string makeLeague(const TestLocations& locations, const std::string& name,
                              const std::vector<members::Member>& list)
{
    const std::string folder = locations.get().leagueFolder(name);
    std::filesystem::create_directories(folder);
    core::session().currentLeague = name;
    const std::string path = folder + members::kMemberTableFile;
    EXPECT_TRUE(members::createMemberTable(path));
    engine::CDBSERVEREX table(path, {}, false);
    EXPECT_TRUE(table.used());
    for (const members::Member& m : list) {
        EXPECT_TRUE(table.append());
        EXPECT_TRUE(members::writeMember(table, m));
    }
    return folder;
}

// The visible members in record order.
inline std::vector<members::Member> membersIn(const std::string& path)
{
    std::vector<members::Member> list;
    engine::CDBSERVEREX table(path, {}, true, true);
    EXPECT_TRUE(table.used()) << path;
    for (bool more = table.goTop(); more && !table.eof(); more = table.skip(1))
        list.push_back(members::readMember(table));
    return list;
}

// Both tags find every visible record: by name key and by token number (a duplicate may be
// found in its place, so the found record is compared by its key fields).
inline void expectTagsFindEveryMember(const std::string& path)
{
    engine::CDBSERVEREX table(path, {}, true, true);
    ASSERT_TRUE(table.used());
    ASSERT_TRUE(members::hasMemberTags(table));
    std::vector<members::Member> all;
    for (bool more = table.goTop(); more && !table.eof(); more = table.skip(1))
        all.push_back(members::readMember(table));
    for (const members::Member& m : all) {
        ASSERT_TRUE(table.setOrder(members::kNameTag));
        EXPECT_TRUE(table.seek(members::nameSeekKey(m.nom, m.prenom), false)) << m.nom;
        EXPECT_EQ(members::readMember(table).nom, m.nom);
        EXPECT_EQ(members::readMember(table).prenom, m.prenom);
        ASSERT_TRUE(table.setOrder(members::kTokenTag));
        EXPECT_TRUE(table.seek(static_cast<double>(m.noJeton), false)) << m.noJeton;
        EXPECT_EQ(members::readMember(table).noJeton, m.noJeton);
    }
}

}  // namespace derode::test
