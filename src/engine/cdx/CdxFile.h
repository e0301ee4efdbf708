#pragma once
// One open compound index file: page I/O, the bounded cache of decoded nodes, the tree operations of
// a tag (seek, insert with splits, remove), the bottom-up build of a tag from sorted entries, the
// structural walk behind check(), and the validation done when opening. Layout: docs/cdx-format.md.

#include "engine/cdx/CdxNode.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace derode::engine::cdx {

class CdxFile {
public:
    ~CdxFile();

    static std::unique_ptr<CdxFile> openFile(const std::string& path, bool readOnly, std::string& error);
    static std::unique_ptr<CdxFile> createFile(const std::string& path, std::string& error);

    std::string path_;
    int fd_ = -1;
    bool readOnly_ = false;
    std::uint64_t fileSize_ = 0;
    std::vector<std::uint32_t> free_;    // pages no node uses, next one to reuse last
    std::vector<std::uint32_t> fresh_;   // pages allocated since the last flush
    std::vector<PathStep> steps_;        // scratch of the navigation calls, kept to spare allocations
    std::string key_;
    Tree dir_;
    std::vector<std::unique_ptr<Tree>> trees_;
    std::vector<CdxTagInfo> infos_;
    NodeCache cache_;
    std::size_t cacheBytes_ = 0;
    std::uint64_t clock_ = 0;
    bool ioFailed_ = false;

    // --- raw pages
    bool readRaw(std::uint64_t offset, std::uint8_t* buffer, std::size_t size) const;
    bool writeRaw(std::uint64_t offset, const std::uint8_t* buffer, std::size_t size);
    bool validPage(std::uint32_t page) const;

    // --- keys
    int compare(const Tree& t, const std::uint8_t* a, std::uint32_t ra, const std::uint8_t* b, std::uint32_t rb) const;
    int trailOf(const Tree& t, const std::uint8_t* k) const;
    // Bytes a key shares with the previous one, within the previous key's significant part: some
    // readers rebuild a key from the previous key's stored bytes only, without its trailing filler.
    int sharedPrefix(const Tree& t, const std::uint8_t* prev, const std::uint8_t* k) const;
    int storedAt(const Node& nd, int j) const;
    void recomputeStored(Node& nd) const;
    int leafSize(const Node& nd) const;
    int interiorCapacity(const Tree& t) const { return (int(kPage) - kInteriorHeader) / (t.keyLength + 8); }
    bool fits(const Node& nd) const;

    // --- decoding and encoding
    bool decode(const Tree& t, std::uint32_t page, const std::uint8_t* p, Node& nd, std::string& error) const;
    void encode(const Node& nd, std::uint8_t* p) const;

    // --- cache
    Node* load(const Tree& t, std::uint32_t page, std::string& error);
    Node* newNode(const Tree& t, std::uint16_t attr);
    bool writeNode(const Node& nd);
    // Keeps the decoded nodes within budget; called between operations so that no pointer held by
    // an operation is invalidated.
    void trim();
    void refreshFootprint(Node& nd, std::size_t before) { cacheBytes_ += nd.footprint() - before; }

    // Pages allocated since the last flush go to disk before any page that may point to them, so a
    // process killed in between leaves pointers to stale pages (which check() reports), not to
    // pages outside the file (which would make the index impossible to open and to rebuild).
    void writeFresh();
    std::uint32_t allocatePage();
    // A freed page is only remembered: nothing on disk names it, so no reader can mistake it for a
    // list in its own format; the next open finds it again as a page no tree reaches.
    void freePage(Node* nd);

    bool flush(std::string& error);

    // The node's key heads, rebuilt when its keys changed.
    const std::uint64_t* headsOf(Node& nd);

    // --- tree operations
    // Path from the root to the leaf holding the first entry >= target (> target when strict).
    // The leaf index may equal the leaf's count: the entry then lies further right, or nowhere.
    bool locate(const Tree& t, const std::uint8_t* key, std::uint32_t recno, bool strict, std::vector<PathStep>& path);
    // From (leaf, index), the entry at or after it, following right siblings past the leaf's end.
    bool entryAt(const Tree& t, Node* nd, int index, CdxEntry& out);
    bool entryBefore(const Tree& t, Node* nd, int index, CdxEntry& out);

    std::string normalised(const Tree& t, const std::string& key) const;
    // The key brought to the tag's length in the scratch buffer.
    const std::uint8_t* scratchKey(const Tree& t, const std::string& key, char pad);

    // After the last entry of path[level] changed, the separators above it follow.
    void fixSeparators(std::vector<PathStep>& path, int level);

    void insertAt(Node& nd, int pos, const std::uint8_t* key, std::uint32_t recno, std::uint32_t child);
    void eraseAt(Node& nd, int pos);

    // Moves the entries from 'from' on into a new right sibling.
    Node* splitOff(Tree& t, Node& nd, int from);
    int splitPoint(Node& nd, int insertedAt);
    Node copyHead(const Node& nd, int count) const { return copyRange(nd, 0, count); }
    Node copyRange(const Node& nd, int from, int to) const;

    bool insert(Tree& t, const std::string& rawKey, std::uint32_t recno);
    bool remove(Tree& t, const std::string& rawKey, std::uint32_t recno);

    // Entries of a build, sorted, in one block of memory: walking them stays in the processor's cache.
    struct SortedRun {
        std::vector<std::uint8_t> keys;
        std::vector<std::uint32_t> recnos;
        std::size_t size() const { return recnos.size(); }
    };

    // Sorts and, for a unique tag, keeps the first record of each key. Keys are brought to the key
    // length and sorted through their first 8 bytes as a number, the rest compared only on a tie.
    SortedRun prepare(const Tree& t, const std::vector<CdxEntry>& entries) const;

    // Bottom-up build from a sorted run: full leaves, then each interior level; returns the root page.
    std::uint32_t build(Tree& t, const SortedRun& run);

    void writeTagHeader(const Tree& t, std::uint8_t options);

    bool addTag(const CdxTagInfo& info, const std::vector<CdxEntry>& entries, std::string& error);

    // --- walking a whole tree
    struct Walk {
        std::vector<std::string> problems;
        std::vector<CdxEntry>* collect = nullptr;
        std::unordered_set<std::uint32_t>* visited = nullptr;
        struct Link { std::uint32_t page, left, right; };
        std::vector<std::vector<Link>> levels;  // nodes of each depth in tree order
        void report(std::string problem) {
            // A wrecked tree would otherwise give one line per key.
            if (problems.size() < 20) problems.push_back(std::move(problem));
        }
        int leafDepth = -1;
        std::string lastKey;
        std::uint32_t lastRecno = 0;
        bool haveLast = false;
        std::size_t count = 0;
        bool fatal = false;  // the tree cannot be followed (pointers, loops, undecodable pages)
        std::string boundKey;  // separator just passed: the next key must lie above it
        std::uint32_t boundRecno = 0;
        bool haveBound = false;
    };
    // Depth-first walk: page bounds, loops, node decoding, key order, separators.
    void walk(const Tree& t, std::uint32_t page, int depth, Walk& w);
    void checkSiblings(Walk& w);
    Walk walkTree(const Tree& t, std::vector<CdxEntry>* collect, std::unordered_set<std::uint32_t>* visited);

    // --- opening
    bool readHeader(std::uint32_t offset, Tree& t, std::uint8_t& options, std::string& error);

    // The file does not say whether an 8-byte key is a number; the expression and the keys tell.
    char guessKeyType(Tree& t);

    bool load(std::string& error);
    void releaseClean();
    void dropTree(const Tree& t);
};

}  // namespace derode::engine::cdx
