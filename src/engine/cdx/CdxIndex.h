#pragma once
// FoxPro compound index (.cdx): a file of 512-byte pages holding several index tags, each a B+ tree
// of compact leaves, found through a tag directory that is itself such a tree. The index is derived
// data: the table layer rebuilds it whenever check() finds it inconsistent with the table.
// The on-disk layout and its invariants are written down in docs/cdx-format.md.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace derode::engine {

struct CdxTagInfo {
    std::string name;
    std::string keyExpression;
    std::string forExpression;
    bool unique = false;
    bool descending = false;
    int keyLength = 0;
    char keyType = 'C';  // 'C' text, 'N' numeric or date (8-byte key), 'L' logical
};

// key: exactly keyLength bytes (text padded with blanks).
struct CdxEntry {
    std::string key;
    std::uint32_t recno = 0;
};

// The 8-byte order-preserving form of an IEEE double (dates use the Julian day number).
std::string cdxNumberKey(double value);
double cdxNumberFromKey(const std::string& key);

// Bytes of decoded pages each open index keeps in memory (16 MiB unless changed); tests shrink it to
// make the cache write and reload pages.
void setCdxCacheBudget(std::size_t bytes);

class CdxFile;

class CdxIndex {
public:
    ~CdxIndex();
    CdxIndex(const CdxIndex&) = delete;
    CdxIndex& operator=(const CdxIndex&) = delete;

    // Validates the file; malformed input (page pointers outside the file or forming loops, key
    // lengths over the page size, ...) gives nullptr and a reason, never a crash.
    static std::unique_ptr<CdxIndex> open(const std::string& path, bool readOnly, std::string& error);
    // An empty compound index (tag directory only).
    static std::unique_ptr<CdxIndex> create(const std::string& path, std::string& error);

    const std::vector<CdxTagInfo>& tags() const;
    // Case-insensitive; -1 when absent.
    int tagIndex(const std::string& name) const;
    // The file does not record a tag's key type; open() guesses it (8-byte keys that look like numbers
    // are 'N'). The caller, who knows the field types, corrects the guess here: the type decides which
    // byte fills the compressed tail of the keys (blank for text, zero otherwise).
    void setKeyType(int tag, char keyType);

    // Builds a new tag from entries in any order (unique: the first record of each key is kept).
    bool addTag(const CdxTagInfo& tag, std::vector<CdxEntry> entries, std::string& error);
    // Writes a whole new file with the same tags into a temporary file beside it and renames it into place.
    bool rebuildAll(const std::vector<std::vector<CdxEntry>>& entriesPerTag, std::string& error);

    // Unique tag: a key already present is kept (first record wins) and the call returns true.
    bool insert(int tag, const CdxEntry& entry);
    bool remove(int tag, const CdxEntry& entry);

    bool first(int tag, CdxEntry& out) const;
    bool last(int tag, CdxEntry& out) const;
    bool next(int tag, const CdxEntry& current, CdxEntry& out) const;
    bool prev(int tag, const CdxEntry& current, CdxEntry& out) const;
    // First entry whose key >= keyPrefix (byte order; the prefix may be shorter than the key); false at end.
    bool seek(int tag, const std::string& keyPrefix, CdxEntry& out) const;

    // All entries of a tag, in index order.
    std::vector<CdxEntry> entries(int tag) const;
    // Structural problems (keys out of order, broken sibling chain, counts); empty when sound.
    std::vector<std::string> check(int tag) const;

    // Writes the cached dirty pages.
    bool flush(std::string& error);

private:
    CdxIndex();
    std::unique_ptr<CdxFile> file_;
};

}  // namespace derode::engine
