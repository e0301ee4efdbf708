#pragma once
// The inside of the engine: one open table file, shared by every handle that opens the same path
// in this process (so that two handles never disagree about the file or its index), and the
// per-handle cursor state. Not part of the contract.

#include "engine/DbServer.h"
#include "engine/DbfFormat.h"
#include "engine/Expression.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace derode::engine {

class TagSet;

class TableFile {
public:
    ~TableFile();
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    // Opens (or joins, when this process has it open already) the table at `path`.
    static std::shared_ptr<TableFile> acquire(const std::string& path, bool shared, bool readOnly, std::string& error);

    const std::string& path() const { return path_; }
    const DbfHeader& header() const { return header_; }
    CodePage codePage() const { return header_.codePage(); }
    bool writable() const { return writable_; }
    bool exclusive() const { return exclusive_; }
    // 0-based index of a field by its name in capitals, -1 when absent.
    int fieldIndex(const std::string& upperName) const;

    // Record count as the header says; shared tables re-read it from the file (another process
    // may have appended).
    std::uint32_t recordCount();
    std::uint32_t cachedCount() const { return header_.recordCount; }

    bool readRecord(std::uint32_t recno, std::string& buffer);
    // Reads records [first, first + n) into one buffer.
    bool readRecords(std::uint32_t first, std::uint32_t n, std::string& buffer);
    bool writeRecord(std::uint32_t recno, const std::string& buffer, std::string& error);
    // Writes the record after the last one with the end marker, then the header's count.
    bool appendRecord(const std::string& buffer, std::uint32_t& recno, std::string& error);
    // Replaces the whole file (temporary file, then rename): without the deleted records (pack)
    // or without any record (zap). Needs exclusive use.
    bool rewrite(bool dropAll, std::string& error);
    // Sets bit 0 of the table flags (the structural index exists).
    bool markStructuralIndex(std::string& error);

    // The structural index, null when the table has none.
    TagSet* tags() { return tags_.get(); }
    void setTags(std::unique_ptr<TagSet> tags);
    std::string structuralIndexPath() const;  // beside the table, same base name, ".cdx"
    // Warning from the index opening (a tag rebuilt, a tag kept read-only), empty otherwise.
    const std::string& indexNote() const { return indexNote_; }

private:
    TableFile() = default;
    bool openFile(bool shared, bool readOnly, std::string& error);
    bool loadHeader(std::string& error);
    bool writeCount(std::uint32_t count, std::string& error);
    // Brings the cached blocks in line with bytes about to be written at `offset`.
    void patchBlocks(std::uint64_t offset, const char* data, std::size_t length);
    // The cached bytes of a block, read again when they stop before `needEnd` (a file offset); null
    // when the file cannot be read.
    const std::string* cachedBlock(std::uint64_t block, std::uint64_t needEnd);

    struct CachedBlock {
        std::uint64_t block = UINT64_MAX;
        std::string bytes;  // the block's bytes up to the end of the counted records
    };
    static constexpr std::uint64_t kBlockSize = 4096;
    static constexpr std::size_t kBlockSlots = 2048;  // 8 MiB at most
    friend struct TableRegistry;

    std::string path_;
    std::string key_;
    int fd_ = -1;
    std::vector<CachedBlock> blocks_;  // exclusive tables only
    bool writable_ = false;
    bool exclusive_ = false;
    int users_ = 0;
    DbfHeader header_;
    std::map<std::string, int> fieldIndex_;
    std::unique_ptr<TagSet> tags_;
    std::string indexNote_;
    bool dateStamped_ = false;  // the update date is written once per open
    Date today_;
};

// A record's bytes seen as a record source (keys, filters).
class RawRecord : public RecordSource {
public:
    RawRecord(const TableFile& file, const std::string& bytes, std::uint32_t recno)
        : file_(file), bytes_(bytes), recno_(recno) {}
    bool fieldValue(const std::string& upperName, Value& out) const override;
    std::uint32_t recNo() const override { return recno_; }
    bool deleted() const override { return !bytes_.empty() && bytes_[0] == '*'; }
    const std::string& bytes() const { return bytes_; }
    const TableFile& file() const { return file_; }

private:
    const TableFile& file_;
    const std::string& bytes_;
    std::uint32_t recno_;
};

}  // namespace derode::engine
