// The public face of the compound index: keys of numbers and dates, and CdxIndex's operations on
// top of the file class. Layout: docs/cdx-format.md.

#include "engine/cdx/CdxIndex.h"

#include "engine/cdx/CdxFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

namespace derode::engine {

using cdx::CdxFile;
using cdx::kNone;
using cdx::PathStep;
using cdx::Tree;
using cdx::upper;

// ---------------------------------------------------------------------------------------------
// Keys of numbers and dates

std::string cdxNumberKey(double value) {
    if (value == 0.0) value = 0.0;  // -0 sorts with 0
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if (bits >> 63) bits = ~bits;
    else bits |= std::uint64_t(1) << 63;
    std::string key(8, '\0');
    for (int i = 0; i < 8; ++i) key[i] = char(std::uint8_t(bits >> (56 - 8 * i)));
    return key;
}

double cdxNumberFromKey(const std::string& key) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = (bits << 8) | (i < int(key.size()) ? std::uint8_t(key[i]) : 0);
    if (bits >> 63) bits &= ~(std::uint64_t(1) << 63);
    else bits = ~bits;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// ---------------------------------------------------------------------------------------------
// Public face

CdxIndex::CdxIndex() = default;
CdxIndex::~CdxIndex() = default;

std::unique_ptr<CdxIndex> CdxIndex::open(const std::string& path, bool readOnly, std::string& error) {
    auto file = CdxFile::openFile(path, readOnly, error);
    if (!file) return nullptr;
    std::unique_ptr<CdxIndex> index(new CdxIndex());
    index->file_ = std::move(file);
    return index;
}

std::unique_ptr<CdxIndex> CdxIndex::create(const std::string& path, std::string& error) {
    auto file = CdxFile::createFile(path, error);
    if (!file) return nullptr;
    std::unique_ptr<CdxIndex> index(new CdxIndex());
    index->file_ = std::move(file);
    return index;
}

const std::vector<CdxTagInfo>& CdxIndex::tags() const { return file_->infos_; }

int CdxIndex::tagIndex(const std::string& name) const {
    std::string wanted = upper(name);
    for (std::size_t i = 0; i < file_->infos_.size(); ++i)
        if (file_->infos_[i].name == wanted) return int(i);
    return -1;
}

void CdxIndex::setKeyType(int tag, char keyType) {
    if (tag < 0 || tag >= int(file_->trees_.size())) return;
    Tree& t = *file_->trees_[std::size_t(tag)];
    std::uint8_t filler = keyType == 'C' || keyType == 'L' ? ' ' : 0;
    t.info.keyType = keyType;
    file_->infos_[std::size_t(tag)].keyType = keyType;
    if (filler == t.filler) return;
    std::string ignored;
    file_->flush(ignored);
    file_->dropTree(t);
    t.filler = filler;
}

bool CdxIndex::addTag(const CdxTagInfo& tag, std::vector<CdxEntry> entries, std::string& error) {
    return file_->addTag(tag, std::move(entries), error);
}

bool CdxIndex::rebuildAll(const std::vector<std::vector<CdxEntry>>& entriesPerTag, std::string& error) {
    if (file_->readOnly_) { error = "index ouvert en lecture seule"; return false; }
    if (entriesPerTag.size() != file_->trees_.size()) { error = "nombre d'index incorrect"; return false; }
    const std::string path = file_->path_;
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    // The old pages are not needed for the build: written out and released, they leave the memory
    // to the sort.
    std::string ignored;
    file_->flush(ignored);
    file_->releaseClean();
    auto fresh = CdxFile::createFile(temporary, error);
    if (!fresh) return false;
    bool ok = true;
    for (std::size_t i = 0; ok && i < file_->infos_.size(); ++i) ok = fresh->addTag(file_->infos_[i], entriesPerTag[i], error);
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "remplacement de " + path + " impossible : " + std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        fresh->readOnly_ = true;
        fresh.reset();
        std::filesystem::remove(temporary);
        return false;
    }
    // The new file stays open under its final name; the old pages go unwritten with the old file.
    fresh->path_ = path;
    file_->readOnly_ = true;
    file_ = std::move(fresh);
    return true;
}

namespace {
bool validTag(const CdxFile& f, int tag) { return tag >= 0 && tag < int(f.trees_.size()); }
}  // namespace

bool CdxIndex::insert(int tag, const CdxEntry& entry) {
    if (!validTag(*file_, tag)) return false;
    bool ok = file_->insert(*file_->trees_[std::size_t(tag)], entry.key, entry.recno);
    file_->trim();
    return ok;
}

bool CdxIndex::remove(int tag, const CdxEntry& entry) {
    if (!validTag(*file_, tag)) return false;
    bool ok = file_->remove(*file_->trees_[std::size_t(tag)], entry.key, entry.recno);
    file_->trim();
    return ok;
}

namespace {

// Where a navigation aims within the entries that share its key text.
enum class Bound {
    Lowest,   // before all of them: the key followed by the lowest bytes, record 0
    Highest,  // after all of them: the key followed by the highest bytes, the largest record
    Exact,    // at the entry (key padded as stored, record number)
};

// Locates the target in a tag, then takes the entry at or after the place found (forward), or the
// one before it; `strict` passes over an entry equal to the target.
bool navigate(CdxFile& f, int tag, const std::string& key, Bound bound, std::uint32_t recno, bool strict, bool forward,
              CdxEntry& out) {
    if (!validTag(f, tag)) return false;
    const Tree& t = *f.trees_[std::size_t(tag)];
    char pad = char(t.filler);
    if (bound != Bound::Exact) {
        // A descending tag stores its order reversed: its lowest target is the highest bytes.
        const bool low = (bound == Bound::Lowest) != t.descending;
        pad = low ? '\0' : char(0xFF);
        recno = low ? 0 : kNone;
    }
    const std::uint8_t* target = f.scratchKey(t, key, pad);
    auto& path = f.steps_;
    bool ok = f.locate(t, target, recno, strict, path) &&
              (forward ? f.entryAt(t, path.back().node, path.back().index, out)
                       : f.entryBefore(t, path.back().node, path.back().index, out));
    f.trim();
    return ok;
}

}  // namespace

bool CdxIndex::first(int tag, CdxEntry& out) const { return seek(tag, std::string(), out); }

bool CdxIndex::last(int tag, CdxEntry& out) const {
    return navigate(*file_, tag, std::string(), Bound::Highest, 0, true, false, out);
}

bool CdxIndex::next(int tag, const CdxEntry& current, CdxEntry& out) const {
    return navigate(*file_, tag, current.key, Bound::Exact, current.recno, true, true, out);
}

bool CdxIndex::prev(int tag, const CdxEntry& current, CdxEntry& out) const {
    return navigate(*file_, tag, current.key, Bound::Exact, current.recno, false, false, out);
}

bool CdxIndex::seek(int tag, const std::string& keyPrefix, CdxEntry& out) const {
    // The smallest key starting with the prefix: the prefix followed by zero bytes, record 0
    // (the largest one for a descending tag).
    return navigate(*file_, tag, keyPrefix, Bound::Lowest, 0, false, true, out);
}

std::vector<CdxEntry> CdxIndex::entries(int tag) const {
    std::vector<CdxEntry> out;
    if (!validTag(*file_, tag)) return out;
    file_->walkTree(*file_->trees_[std::size_t(tag)], &out, nullptr);
    file_->trim();
    return out;
}

std::vector<std::string> CdxIndex::check(int tag) const {
    if (!validTag(*file_, tag)) return {"index inconnu"};
    auto w = file_->walkTree(*file_->trees_[std::size_t(tag)], nullptr, nullptr);
    file_->trim();
    return w.problems;
}

bool CdxIndex::flush(std::string& error) { return file_->flush(error); }

}  // namespace derode::engine
