#pragma once
// The structural index of a table as the table layer sees it: the tags of its .cdx file with
// their parsed key and FOR expressions. It computes keys from records, keeps every tag current
// on each record write, and checks and rebuilds the index from the table. The index is derived
// data: whenever it disagrees with the table it is rebuilt from the table.

#include "engine/CodePage.h"
#include "engine/Expression.h"
#include "engine/TableFile.h"
#include "engine/cdx/CdxIndex.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace derode::engine {

class TableFile;

struct Tag {
    CdxTagInfo info;
    std::optional<Expression> key;
    std::optional<Expression> filter;
    char valueType = 'C';  // type of the key expression's value: 'C', 'N', 'D' or 'L'
    bool usable = true;    // false when an expression cannot be evaluated on this table
};

class TagSet {
public:
    // Opens the structural index of `file` when there is one (null without error when there is
    // none), checks every tag against the table and rebuilds the index when they disagree.
    // `note` tells what was done (a rebuild, a tag that cannot be kept current). Without
    // `repair` the index is opened as it stands (for inspection: check() tells what is wrong).
    static std::unique_ptr<TagSet> open(TableFile& file, bool writable, std::string& error, std::string& note,
                                        bool repair = true);
    // A new, empty structural index.
    static std::unique_ptr<TagSet> create(TableFile& file, std::string& error);

    int count() const { return static_cast<int>(tags_.size()); }
    const Tag& tag(int i) const { return tags_[static_cast<std::size_t>(i)]; }
    int find(const std::string& name) const;
    // Whether every tag can be kept current (else the table must stay read-only).
    bool maintainable() const;

    // The key of a record for a tag, nullopt when the FOR expression excludes it or the
    // expression fails. `ignoreFilter`: the key the record would have without the FOR.
    std::optional<std::string> keyOf(int tag, const RawRecord& record, bool ignoreFilter = false) const;
    // The key text a seek looks for (text: code page bytes, not padded; numbers and dates:
    // the 8-byte form; logicals T/F).
    std::optional<std::string> seekKey(int tag, const Value& value, CodePage codePage) const;

    // Index upkeep after a record write: `before` is null for a new record.
    bool recordWritten(TableFile& file, std::uint32_t recno, const std::string* before, const std::string& after,
                       std::string& error);

    bool addTag(TableFile& file, const std::string& name, const std::string& keyExpression, bool unique,
                const std::string& forExpression, std::string& error);
    // Rebuilds every tag from the table (new index file through a temporary file).
    bool rebuild(TableFile& file, std::string& error);
    // Problems of the index against the table, empty when every tag matches it.
    std::vector<std::string> check(TableFile& file) const;

    CdxIndex& index() { return *index_; }
    const CdxIndex& index() const { return *index_; }
    bool flush(std::string& error);

private:
    TagSet() = default;
    bool loadTags(TableFile& file, std::string& error);
    // Every (key, recno) a tag should hold, in index order.
    std::vector<CdxEntry> expectedEntries(TableFile& file, int tag) const;
    std::vector<std::vector<CdxEntry>> allExpectedEntries(TableFile& file) const;

    std::optional<std::string> makeKey(const Tag& tag, const Value& value) const;
    // Reinstates in a unique tag the first record holding `key` after its holder left it.
    bool reinstate(TableFile& file, int tag, const std::string& key, std::uint32_t leaving);

    std::unique_ptr<CdxIndex> index_;
    std::vector<Tag> tags_;
    std::vector<std::vector<int>> rawFields_;  // per tag: the C fields a plain "A+B" key joins
    std::vector<int> numericField_;            // per tag: the N field that is the whole key, or -1
    CodePage codePage_ = CodePage::Windows1252;
};

}  // namespace derode::engine
