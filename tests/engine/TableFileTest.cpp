// Opening rules (shared and exclusive, in this process and across processes), durability when a
// writer is killed, malformed files, and ISFILEDBF.

#include "EngineTestSupport.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace derode;
using namespace derode::engine;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A child process that opens the table and holds it until told to go.
class Holder {
public:
    Holder(const std::string& path, bool shared)
    {
        EXPECT_EQ(::pipe(ready_), 0);
        EXPECT_EQ(::pipe(go_), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            CDBSERVEREX table(path, {}, shared);
            const char ok = table.used() ? 'y' : 'n';
            (void)!::write(ready_[1], &ok, 1);
            char c;
            (void)!::read(go_[0], &c, 1);
            ::_exit(0);
        }
        char ok = 'n';
        EXPECT_EQ(::read(ready_[0], &ok, 1), 1);
        opened_ = ok == 'y';
    }
    ~Holder()
    {
        const char c = 'x';
        (void)!::write(go_[1], &c, 1);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        for (int fd : {ready_[0], ready_[1], go_[0], go_[1]})
            ::close(fd);
    }
    bool opened() const { return opened_; }

private:
    int ready_[2]{};
    int go_[2]{};
    pid_t pid_ = -1;
    bool opened_ = false;
};

}  // namespace

TEST(Opening, SharedOpensCoexistAndExclusiveOnesWaitForNobody)
{
    test::TempDir dir;
    const std::string path = test::makeMemberTable(dir);
    {
        CDBSERVEREX a(path);
        CDBSERVEREX b(dir.str() + "../" + dir.path().filename().string() + "/membres-2.dbf", {}, true, true);
        EXPECT_TRUE(a.used() && b.used()) << b.lastError();
        CDBSERVEREX c(path, {}, false);
        EXPECT_FALSE(c.used());
        EXPECT_FALSE(c.lastError().empty());
        // Handles of one table see each other's writes.
        test::addMember(a, {"MARTIN", "Paul", 4});
        ASSERT_TRUE(a.commit());
        ASSERT_TRUE(b.setOrder("NO_JETON"));
        EXPECT_TRUE(b.seek(4.0));
        EXPECT_FALSE(b.fieldPut("NOM", std::string("X")));  // read-only handle
    }
    {
        CDBSERVEREX exclusive(path, {}, false);
        ASSERT_TRUE(exclusive.used()) << exclusive.lastError();
        EXPECT_FALSE(CDBSERVEREX(path).used());
        EXPECT_FALSE(CDBSERVEREX(path, {}, false).used());
    }
    EXPECT_TRUE(CDBSERVEREX(path, {}, false).used());
}

TEST(Opening, OtherProcessesSeeTheSameRules)
{
    test::TempDir dir;
    const std::string path = test::makeMemberTable(dir);
    {
        Holder other(path, true);
        ASSERT_TRUE(other.opened());
        EXPECT_TRUE(CDBSERVEREX(path).used());
        EXPECT_FALSE(CDBSERVEREX(path, {}, false).used());
    }
    {
        Holder other(path, false);
        ASSERT_TRUE(other.opened());
        EXPECT_FALSE(CDBSERVEREX(path).used());
        EXPECT_FALSE(CDBSERVEREX(path, {}, false).used());
    }
    {
        CDBSERVEREX mine(path);
        Holder other(path, false);
        EXPECT_FALSE(other.opened());
    }
    EXPECT_TRUE(CDBSERVEREX(path, {}, false).used());
}

TEST(Durability, AWriterKilledMidAppendLosesNoCompletedRecord)
{
    test::TempDir dir;
    const std::string path = test::makeMemberTable(dir);
    int progress[2];
    ASSERT_EQ(::pipe(progress), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        CDBSERVEREX table(path);
        for (std::uint32_t i = 1;; ++i) {
            if (!table.append())
                ::_exit(1);
            // The append of record i has written record i - 1 whole.
            const std::uint32_t done = i - 1;
            (void)!::write(progress[1], &done, sizeof done);
            table.fieldPut("NOM", "NOM" + std::to_string(i));
            table.fieldPut("PRENOM", std::string("Prénom"));
            table.fieldPut("NO_JETON", static_cast<double>(i % 1000));
        }
    }
    std::uint32_t done = 0;
    while (done < 400)
        ASSERT_EQ(::read(progress[0], &done, sizeof done), static_cast<ssize_t>(sizeof done));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(progress[0]);
    ::close(progress[1]);

    // The index was only in the killed process's cache: found stale, then rebuilt at the open.
    EXPECT_NE(test::runTool({"check", path}).exitCode, 0);
    CDBSERVEREX table(path, {}, false);
    ASSERT_TRUE(table.used()) << table.lastError();
    EXPECT_NE(table.lastError().find("index reconstruit"), std::string::npos) << table.lastError();
    ASSERT_GE(table.recCount(), done);
    ASSERT_TRUE(table.setOrder("NOM-PRENON"));
    for (std::uint32_t i = 1; i <= done; ++i) {
        ASSERT_TRUE(table.seek(test::padded("NOM" + std::to_string(i), 20) + "Prénom")) << i;
        EXPECT_EQ(table.recNo(), i);
        EXPECT_EQ(table.getNumber("NO_JETON"), i % 1000);
    }
    table.close();
    EXPECT_EQ(test::runTool({"check", path}).out, "ok\n");
}

TEST(Malformed, BrokenHeadersGiveAFailedOpenWithAReason)
{
    test::TempDir dir;
    const std::string good = test::makeMemberTable(dir, "good.dbf");
    {
        CDBSERVEREX t(good, {}, false);
        test::addMember(t, {"A", "B", 1});
    }
    std::filesystem::remove(dir.str() + "good.cdx");
    const std::string bytes = readAll(good);  // header 321 bytes, one record of 102
    auto set16 = [](std::string s, std::size_t at, unsigned v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>(v >> 8);
        return s;
    };
    auto with = [&](std::size_t at, char v) {
        std::string s = bytes;
        s[at] = v;
        return s;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"truncated header", bytes.substr(0, 20)},
        {"truncated descriptors", bytes.substr(0, 200)},
        {"unknown version", with(0, '\x42')},
        {"header longer than the file", set16(bytes, 8, 60000)},
        {"header too short", set16(bytes, 8, 40)},
        {"record length disagrees", set16(bytes, 10, 101)},
        {"absurd record count", with(7, '\x7F')},
        {"count beyond the data", with(4, '\x02')},
        {"no terminator", with(320, 'X')},
        {"zero fields", [&] {
             std::string s = set16(bytes.substr(0, 33), 8, 65);
             s[32] = '\x0D';
             return set16(s + std::string(32, '\0'), 10, 1);
         }()},
        {"zero-length text field", with(32 + 16, '\0')},
        {"logical of two bytes", with(32 + 64 + 16, '\x02')},
        {"decimals over the length", with(32 + 160 + 17, '\x05')},
        {"duplicate field name", [&] {
             std::string s = bytes;
             std::memcpy(s.data() + 64, "NOM\0\0\0\0\0\0\0\0", 11);
             return s;
         }()},
    };
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir.str() + "bad.dbf";
        writeAll(path, content);
        CDBSERVEREX t(path);
        EXPECT_FALSE(t.used());
        EXPECT_FALSE(t.lastError().empty());
        EXPECT_NE(test::runTool({"dump", path}).exitCode, 0);
    }
    // A broken index beside a sound table fails the open too, and says why.
    const std::string path = dir.str() + "idx.dbf";
    writeAll(path, bytes);
    writeAll(dir.str() + "idx.cdx", std::string(1024, '\x07'));
    CDBSERVEREX t(path);
    EXPECT_FALSE(t.used());
    EXPECT_NE(t.lastError().find("index"), std::string::npos) << t.lastError();
}

TEST(Malformed, OtherFieldTypesOpenReadOnlyWhenTheirBytesCanBeSkipped)
{
    test::TempDir dir;
    const std::string path = dir.str() + "memo.dbf";
    ASSERT_TRUE(createTable(path, {{"NOM", 'C', 5, 0}, {"NOTE", 'C', 10, 0}}));
    {
        CDBSERVEREX t(path, {}, false);
        ASSERT_TRUE(t.append());
        ASSERT_TRUE(t.fieldPut("NOM", std::string("abc")));
    }
    std::string bytes = readAll(path);
    bytes[0] = '\x83';
    bytes[32 + 32 + 11] = 'M';  // NOTE becomes a memo pointer of 10 bytes
    writeAll(path, bytes);
    EXPECT_TRUE(ISFILEDBF(path));
    CDBSERVEREX t(path, {}, true, false);
    ASSERT_TRUE(t.used()) << t.lastError();
    EXPECT_TRUE(t.isReadOnly());
    ASSERT_TRUE(t.goTop());
    EXPECT_EQ(t.getText("NOM"), "abc  ");
    EXPECT_FALSE(t.fieldPut("NOM", std::string("x")));
    EXPECT_FALSE(t.append());
}

TEST(IsFileDbf, DecidesByTheFirstByteAndTheFoxProChecks)
{
    test::TempDir dir;
    const std::string path = dir.str() + "t.dbf";
    ASSERT_TRUE(createTable(path, {{"NOM", 'C', 5, 0}, {"NB", 'N', 3, 0}}));
    const std::string bytes = readAll(path);
    for (int b = 0; b < 256; ++b) {
        std::string s = bytes;
        s[0] = static_cast<char>(b);
        writeAll(path, s);
        const bool expected = b == 0x03 || b == 0x07 || b == 0x83 || b == 0x87 || b == 0x8B || b == 0xF5 || b == 0x30
            || b == 0x31;
        EXPECT_EQ(ISFILEDBF(path), expected) << b;
    }
    // Visual FoxPro tables: the table flags and every field's type and flags.
    struct Case {
        std::size_t at;
        char value;
        bool expected;
    } cases[] = {
        {28, '\x00', true}, {28, '\x01', true}, {28, '\x02', false}, {28, '\x03', false}, {28, '\x04', true},
        {43, '0', false},   {43, 'T', false},   {43, 'I', false},    {43, 'B', false},    {43, 'M', false},
        {75, 'Y', false},   {75, 'G', false},   {75, 'P', false},    {75, 'D', true},     {75, 'L', true},
        {50, '\x04', false}, {50, '\x06', false}, {50, '\x02', true}, {82, '\x04', true},  // flags 4 on a N field
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.at) + " " + std::to_string(static_cast<unsigned char>(c.value)));
        std::string s = bytes;
        s[0] = '\x30';
        s[c.at] = c.value;
        writeAll(path, s);
        EXPECT_EQ(ISFILEDBF(path), c.expected);
    }
    EXPECT_FALSE(ISFILEDBF(dir.str() + "absent.dbf"));
    writeAll(path, "");
    EXPECT_FALSE(ISFILEDBF(path));
}
