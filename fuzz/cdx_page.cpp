// Fuzz target for the compound index reader: any bytes given as a .cdx file must open or fail with
// a reason, and an index that opens must survive reading, checking and a few edits of every tag.

#include "engine/cdx/CdxIndex.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

std::string scratchPath() {
    static const std::string path = "/tmp/derode-fuzz-cdx-" + std::to_string(::getpid()) + ".cdx";
    return path;
}

bool writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void exercise(derode::engine::CdxIndex& index, bool edit) {
    using derode::engine::CdxEntry;
    for (int tag = 0; tag < int(index.tags().size()); ++tag) {
        auto all = index.entries(tag);
        index.check(tag);
        CdxEntry e;
        int steps = 0;
        for (bool ok = index.first(tag, e); ok && steps < 64; ok = index.next(tag, e, e)) ++steps;
        for (bool ok = index.last(tag, e); ok && steps < 128; ok = index.prev(tag, e, e)) ++steps;
        index.seek(tag, all.empty() ? std::string("A") : all[all.size() / 2].key.substr(0, 3), e);
        if (!edit) continue;
        std::string key(std::size_t(index.tags()[tag].keyLength), 'M');
        for (std::uint32_t r = 1; r <= 24; ++r) index.insert(tag, {key.substr(0, r % 5), r});
        if (!all.empty()) index.remove(tag, all.front());
        index.remove(tag, {key, 7});
        index.check(tag);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchPath();
    if (!writeFile(path, data, size)) return 0;
    std::string error;
    bool opened = false;
    if (auto index = derode::engine::CdxIndex::open(path, false, error)) {
        opened = true;
        exercise(*index, true);
        index->flush(error);
    }
    // What the edits wrote must read back without harm.
    if (opened)
        if (auto index = derode::engine::CdxIndex::open(path, true, error)) exercise(*index, false);
    ::unlink(path.c_str());
    return 0;
}
