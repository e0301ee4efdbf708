// Table engine benchmark: 100,000 member records with both tags. Prints "phase<TAB>milliseconds"
// for appending (tags maintained), 100,000 random prefix seeks on NOM-PRENON, a full reindex and
// a pack after deleting 10 %, then the peak resident memory.

#include "engine/DbServer.h"
#include "engine/Templates.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

using namespace derode::engine;
namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 100000;

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::string randomWord(std::mt19937& rng, int minLen, int maxLen)
{
    static const char* syllables[] = {"BA", "BE", "CHA", "DU", "LA", "LE", "MA", "MO", "NI", "PE", "RI", "RO",
                                      "SI", "TRE", "VAL", "ZO", "É", "GUE", "MONT", "PON"};
    std::uniform_int_distribution<int> count(minLen, maxLen), pick(0, 19);
    std::string w;
    for (int i = count(rng); i > 0; --i)
        w += syllables[pick(rng)];
    return w.size() > 20 ? w.substr(0, 20) : w;
}

std::string pad(const std::string& s, std::size_t n)
{
    std::string out = s;
    std::size_t chars = 0;
    for (unsigned char c : s)
        chars += (c & 0xC0) != 0x80;
    if (chars < n)
        out.append(n - chars, ' ');
    return out;
}

}  // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("derode-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "membres-2.dbf").string();
    std::string error;
    if (!createFromLayout(path, memberTableLayout(), &error)) {
        std::fprintf(stderr, "création impossible : %s\n", error.c_str());
        return 1;
    }
    std::mt19937 rng(42);
    std::vector<std::pair<std::string, std::string>> names;
    names.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i)
        names.emplace_back(randomWord(rng, 1, 4), randomWord(rng, 1, 3));

    CDBSERVEREX table(path, {}, false);
    if (!table.used()) {
        std::fprintf(stderr, "ouverture impossible : %s\n", table.lastError().c_str());
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRecords; ++i) {
        table.append();
        table.fieldPut(1, names[static_cast<std::size_t>(i)].first);
        table.fieldPut(2, names[static_cast<std::size_t>(i)].second);
        table.fieldPut(3, i % 2 == 0);
        table.fieldPut(5, std::string("514-555-0000"));
        table.fieldPut(6, static_cast<double>(i % 1000));
        table.fieldPut(8, std::string("membre@example.fr"));
    }
    table.commit();
    std::printf("append\t%.0f\n", msSince(start));

    table.setOrder("NOM-PRENON");
    std::uniform_int_distribution<int> any(0, kRecords - 1);
    int found = 0;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRecords; ++i) {
        const auto& [nom, prenom] = names[static_cast<std::size_t>(any(rng))];
        found += table.seek(pad(nom, 20) + prenom.substr(0, 2)) ? 1 : 0;
    }
    std::printf("seek\t%.0f\n", msSince(start));

    start = std::chrono::steady_clock::now();
    table.reindex();
    std::printf("reindex\t%.0f\n", msSince(start));

    start = std::chrono::steady_clock::now();
    table.setOrder("");
    for (std::uint32_t r = 1; r <= kRecords; r += 10) {
        table.goTo(r);
        table.deleteRecord();
    }
    std::printf("delete\t%.0f\n", msSince(start));
    start = std::chrono::steady_clock::now();
    const bool packed = table.pack();
    std::printf("pack\t%.0f\n", msSince(start));
    const std::uint32_t left = table.recCount();
    table.close();

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak-rss-kib\t%ld\n", usage.ru_maxrss);
    fs::remove_all(dir);
    if (found != kRecords || !packed || left != kRecords - kRecords / 10) {
        std::fprintf(stderr, "résultat inattendu : %d trouvés, pack %d, %u restants\n", found, packed, left);
        return 1;
    }
    return 0;
}
