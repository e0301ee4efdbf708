#include "engine/TableFile.h"

#include "core/AtomicFile.h"
#include "engine/TagSet.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace derode::engine {

namespace fs = std::filesystem;

// Every table open in this process, by its path in lower case (file names compare without
// regard to case), so that an exclusive open sees the shared ones and the reverse.
struct TableRegistry {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<TableFile>> open;

    static TableRegistry& get()
    {
        static TableRegistry registry;
        return registry;
    }
};

namespace {

std::string registryKey(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        p = fs::absolute(path, ec).lexically_normal();
    std::string key = p.string();
    for (auto& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// Repeats a pread or pwrite until all `n` bytes are done (short transfers, interruptions).
template <typename Buffer, typename Io>
bool transferAll(Io io, int fd, Buffer* buf, std::size_t n, off_t offset)
{
    while (n > 0) {
        const ssize_t r = io(fd, buf, n, offset);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        buf += r;
        n -= static_cast<std::size_t>(r);
        offset += r;
    }
    return true;
}

bool preadAll(int fd, char* buf, std::size_t n, off_t offset) { return transferAll(::pread, fd, buf, n, offset); }
bool pwriteAll(int fd, const char* buf, std::size_t n, off_t offset) { return transferAll(::pwrite, fd, buf, n, offset); }

}  // namespace

TableFile::~TableFile()
{
    if (tags_) {
        std::string ignored;
        tags_->flush(ignored);
    }
    tags_.reset();
    if (fd_ >= 0)
        ::close(fd_);  // releases the flock
}

std::shared_ptr<TableFile> TableFile::acquire(const std::string& path, bool shared, bool readOnly, std::string& error)
{
    auto& reg = TableRegistry::get();
    std::lock_guard lock(reg.mutex);
    const std::string key = registryKey(path);
    if (auto it = reg.open.find(key); it != reg.open.end()) {
        if (auto existing = it->second.lock()) {
            if (!shared || existing->exclusive_) {
                error = "la table est déjà ouverte" + std::string(existing->exclusive_ ? " en exclusivité" : "");
                return nullptr;
            }
            if (!readOnly && !existing->writable_) {
                error = "la table est déjà ouverte en lecture seule";
                return nullptr;
            }
            ++existing->users_;
            return existing;
        }
    }
    std::shared_ptr<TableFile> file(new TableFile());
    file->path_ = path;
    file->key_ = key;
    if (!file->openFile(shared, readOnly, error) || !file->loadHeader(error))
        return nullptr;
    file->users_ = 1;
    reg.open[key] = file;
    return file;
}

bool TableFile::openFile(bool shared, bool readOnly, std::string& error)
{
    // Opened for writing whenever the file allows it, also for a read-only handle: a later
    // writable handle of this process shares the file, and an index found stale can be rebuilt.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    writable_ = fd_ >= 0;
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
        if (!readOnly) {
            error = "la table ne peut pas être ouverte en écriture";
            return false;
        }
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd_ < 0) {
        error = std::string("ouverture impossible : ") + std::strerror(errno);
        return false;
    }
    exclusive_ = !shared;
    if (::flock(fd_, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        error = shared ? "la table est ouverte en exclusivité par un autre programme"
                       : "la table est ouverte par un autre programme";
        return false;
    }
    return true;
}

bool TableFile::loadHeader(std::string& error)
{
    struct stat st{};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "ce n'est pas un fichier";
        return false;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, kDbfMaxHeader)), '\0');
    if (!bytes.empty() && !preadAll(fd_, bytes.data(), bytes.size(), 0)) {
        error = "lecture de l'en-tête impossible";
        return false;
    }
    if (!parseDbfHeader(bytes, size, header_, error))
        return false;
    fieldIndex_.clear();
    for (std::size_t i = 0; i < header_.fields.size(); ++i)
        fieldIndex_[header_.fields[i].name] = static_cast<int>(i);
    if (header_.unsupportedTypes)
        writable_ = false;
    return true;
}

int TableFile::fieldIndex(const std::string& upperName) const
{
    auto it = fieldIndex_.find(upperName);
    return it == fieldIndex_.end() ? -1 : it->second;
}

std::uint32_t TableFile::recordCount()
{
    if (!exclusive_) {
        unsigned char b[4];
        struct stat st{};
        if (preadAll(fd_, reinterpret_cast<char*>(b), 4, 4) && ::fstat(fd_, &st) == 0) {
            const std::uint32_t count = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
            // Believed only when the file holds that many records.
            if (static_cast<std::uint64_t>(header_.headerLength) + static_cast<std::uint64_t>(count) * header_.recordLength
                <= static_cast<std::uint64_t>(st.st_size))
                header_.recordCount = count;
        }
    }
    return header_.recordCount;
}

bool TableFile::readRecord(std::uint32_t recno, std::string& buffer)
{
    // A table open exclusively changes only through this object: single records come from a
    // small cache of file blocks, which every write below keeps current.
    if (!exclusive_ || recno < 1 || recno > header_.recordCount)
        return readRecords(recno, 1, buffer);
    const std::uint64_t offset = header_.headerLength + static_cast<std::uint64_t>(recno - 1) * header_.recordLength;
    const std::uint64_t end = offset + header_.recordLength;
    const std::uint64_t block = offset / kBlockSize;
    // A record across block boundaries takes its bytes from each block in turn.
    buffer.clear();
    for (std::uint64_t b = block, at = offset; at < end; ++b) {
        const std::uint64_t blockEnd = std::min(end, (b + 1) * kBlockSize);
        const std::string* bytes = cachedBlock(b, blockEnd);
        if (!bytes)
            return readRecords(recno, 1, buffer);
        buffer.append(*bytes, static_cast<std::size_t>(at - b * kBlockSize), static_cast<std::size_t>(blockEnd - at));
        at = blockEnd;
    }
    return true;
}

const std::string* TableFile::cachedBlock(std::uint64_t block, std::uint64_t needEnd)
{
    if (blocks_.empty())
        blocks_.resize(kBlockSlots);
    CachedBlock& slot = blocks_[block % kBlockSlots];
    if (slot.block != block || block * kBlockSize + slot.bytes.size() < needEnd) {
        const std::uint64_t countedEnd = header_.headerLength + static_cast<std::uint64_t>(header_.recordCount) * header_.recordLength;
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, countedEnd - block * kBlockSize));
        slot.block = UINT64_MAX;
        slot.bytes.resize(length);
        if (!preadAll(fd_, slot.bytes.data(), length, static_cast<off_t>(block * kBlockSize)))
            return nullptr;
        slot.block = block;
    }
    return &slot.bytes;
}

void TableFile::patchBlocks(std::uint64_t offset, const char* data, std::size_t length)
{
    if (blocks_.empty())
        return;
    for (std::uint64_t block = offset / kBlockSize; block * kBlockSize < offset + length; ++block) {
        CachedBlock& slot = blocks_[block % kBlockSlots];
        if (slot.block != block)
            continue;
        const std::uint64_t start = std::max(offset, block * kBlockSize);
        const std::uint64_t end = std::min<std::uint64_t>(offset + length, block * kBlockSize + slot.bytes.size());
        if (start < end)
            std::memcpy(slot.bytes.data() + (start - block * kBlockSize), data + (start - offset),
                        static_cast<std::size_t>(end - start));
        // Bytes written past the cached part are read again when needed.
        if (offset + length > block * kBlockSize + slot.bytes.size() && slot.bytes.size() < kBlockSize)
            slot.block = UINT64_MAX;
    }
}

bool TableFile::readRecords(std::uint32_t first, std::uint32_t n, std::string& buffer)
{
    buffer.resize(static_cast<std::size_t>(n) * header_.recordLength);
    if (first < 1 || n == 0)
        return n == 0;
    const off_t offset = static_cast<off_t>(header_.headerLength) + static_cast<off_t>(first - 1) * header_.recordLength;
    return preadAll(fd_, buffer.data(), buffer.size(), offset);
}

bool TableFile::writeRecord(std::uint32_t recno, const std::string& buffer, std::string& error)
{
    if (!writable_) {
        error = "table en lecture seule";
        return false;
    }
    const off_t offset = static_cast<off_t>(header_.headerLength) + static_cast<off_t>(recno - 1) * header_.recordLength;
    patchBlocks(static_cast<std::uint64_t>(offset), buffer.data(), header_.recordLength);
    if (!pwriteAll(fd_, buffer.data(), header_.recordLength, offset)) {
        error = std::string("écriture impossible : ") + std::strerror(errno);
        return false;
    }
    if (!dateStamped_)
        return writeCount(header_.recordCount, error);
    return true;
}

bool TableFile::writeCount(std::uint32_t count, std::string& error)
{
    unsigned char b[7];
    if (!dateStamped_)
        today_ = Date::today();
    encodeCountAndDate(today_, count, b);
    patchBlocks(1, reinterpret_cast<const char*>(b), 7);
    if (!pwriteAll(fd_, reinterpret_cast<const char*>(b), 7, 1)) {
        error = std::string("écriture de l'en-tête impossible : ") + std::strerror(errno);
        return false;
    }
    dateStamped_ = true;
    header_.recordCount = count;
    return true;
}

bool TableFile::appendRecord(const std::string& buffer, std::uint32_t& recno, std::string& error)
{
    if (!writable_) {
        error = "table en lecture seule";
        return false;
    }
    const std::uint32_t count = recordCount();
    if (count == UINT32_MAX) {
        error = "table pleine";
        return false;
    }
    // The record and the end marker first, the count after: a crash in between leaves the
    // old count, and the bytes beyond it are ignored and overwritten by the next append.
    std::string bytes = buffer;
    bytes.resize(header_.recordLength, ' ');
    bytes += '\x1A';
    const off_t offset = static_cast<off_t>(header_.headerLength) + static_cast<off_t>(count) * header_.recordLength;
    patchBlocks(static_cast<std::uint64_t>(offset), bytes.data(), bytes.size());
    if (!pwriteAll(fd_, bytes.data(), bytes.size(), offset)) {
        error = std::string("écriture impossible : ") + std::strerror(errno);
        return false;
    }
    if (!writeCount(count + 1, error))
        return false;
    recno = count + 1;
    return true;
}

bool TableFile::rewrite(bool dropAll, std::string& error)
{
    if (!writable_ || !exclusive_) {
        error = "la table doit être ouverte en exclusivité";
        return false;
    }
    const std::uint32_t count = recordCount();
    auto fill = [&](const std::string& tempPath) {
        std::FILE* out = std::fopen(tempPath.c_str(), "wb");
        if (!out)
            return false;
        DbfHeader h = header_;
        h.recordCount = 0;
        h.lastUpdate = Date::today();
        std::string head(header_.headerLength, '\0');
        if (!preadAll(fd_, head.data(), head.size(), 0)) {
            std::fclose(out);
            return false;
        }
        bool ok = std::fwrite(head.data(), 1, head.size(), out) == head.size();
        std::uint32_t kept = 0;
        const std::uint32_t chunk = std::max<std::uint32_t>(1, (1u << 20) / std::max<std::uint32_t>(1, header_.recordLength));
        std::string buf;
        for (std::uint32_t first = 1; ok && !dropAll && first <= count; first += chunk) {
            const std::uint32_t n = std::min(chunk, count - first + 1);
            if (!readRecords(first, n, buf)) {
                ok = false;
                break;
            }
            for (std::uint32_t i = 0; i < n; ++i) {
                const char* rec = buf.data() + static_cast<std::size_t>(i) * header_.recordLength;
                if (rec[0] == '*')
                    continue;
                ok = ok && std::fwrite(rec, 1, header_.recordLength, out) == header_.recordLength;
                ++kept;
            }
        }
        ok = ok && std::fputc(0x1A, out) != EOF;
        unsigned char b[7];
        encodeCountAndDate(Date::today(), kept, b);
        ok = ok && std::fseek(out, 1, SEEK_SET) == 0 && std::fwrite(b, 1, 7, out) == 7;
        ok = ok && std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0;
        return std::fclose(out) == 0 && ok;
    };
    if (!core::replaceFileAtomically(path_, fill, &error))
        return false;
    // The old descriptor (and its lock) now belongs to the replaced file: take the new one.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = std::string("réouverture impossible : ") + std::strerror(errno);
        return false;
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    ::close(fd_);
    fd_ = fd;
    blocks_.clear();
    dateStamped_ = true;
    return loadHeader(error);
}

bool TableFile::markStructuralIndex(std::string& error)
{
    if (header_.tableFlags & 1)
        return true;
    if (!writable_) {
        error = "table en lecture seule";
        return false;
    }
    const char flags = static_cast<char>(header_.tableFlags | 1);
    patchBlocks(28, &flags, 1);
    if (!pwriteAll(fd_, &flags, 1, 28)) {
        error = std::string("écriture de l'en-tête impossible : ") + std::strerror(errno);
        return false;
    }
    header_.tableFlags = static_cast<std::uint8_t>(flags);
    return true;
}

void TableFile::setTags(std::unique_ptr<TagSet> tags)
{
    tags_ = std::move(tags);
}

std::string TableFile::structuralIndexPath() const
{
    const fs::path table(path_);
    const std::string stem = table.stem().string();
    const fs::path folder = table.parent_path().empty() ? fs::path(".") : table.parent_path();
    // File names compare without regard to case: "Rapport.dbf" opens "rapport.cdx".
    std::error_code ec;
    std::string wanted = stem + ".cdx";
    for (auto& c : wanted)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::string lower = name;
        for (auto& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == wanted)
            return (table.parent_path() / name).string();
    }
    return (table.parent_path() / (stem + ".cdx")).string();
}

bool RawRecord::fieldValue(const std::string& upperName, Value& out) const
{
    const int i = file_.fieldIndex(upperName);
    if (i < 0)
        return false;
    const auto& h = file_.header();
    if (bytes_.size() < h.recordLength)
        return false;
    out = decodeField(h.fields[static_cast<std::size_t>(i)], bytes_.data() + h.offsets[static_cast<std::size_t>(i)],
                      file_.codePage());
    return true;
}

}  // namespace derode::engine
