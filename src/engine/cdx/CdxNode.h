#pragma once
// In-memory forms of the compound index: a tag's tree, a decoded node, the cache of decoded nodes
// by page, and a step of a path from the root.

#include "engine/cdx/CdxIndex.h"
#include "engine/cdx/CdxLayout.h"

#include <memory>
#include <vector>

namespace derode::engine::cdx {

struct Tree {
    std::uint32_t header = 0;  // offset of the header pair
    std::uint32_t root = 0;
    int keyLength = 0;
    std::uint8_t filler = ' ';  // byte counted by a leaf's trailing count
    bool unique = false;
    bool descending = false;
    bool headerDirty = false;
    std::uint32_t foreignFreeList = 0;  // free-list field as read: another engine's, never followed
    CdxTagInfo info;
};

struct Node {
    const Tree* tree = nullptr;
    std::uint32_t page = 0;
    std::uint16_t attr = 0;  // 1 root, 2 leaf
    std::uint32_t left = kNone, right = kNone;
    int n = 0;
    std::vector<std::uint8_t> keys;        // n whole keys of keyLength bytes
    std::vector<std::uint32_t> recnos;
    std::vector<std::uint32_t> children;   // interior nodes only
    std::uint32_t maxRecno = 0;            // leaf: bound of the record numbers, decides the entry width
    int stored = 0;                        // leaf: key bytes actually written after compression
    bool dirty = false;
    std::uint64_t used = 0;
    // Neighbouring keys share their first bytes: `common` bytes are the same in every key of the
    // node, and `heads` holds the next 8 bytes of each key as one number (keyHead), then those
    // common bytes, so that a search reads numbers held together and a whole key only on a tie.
    // Stale after a change; rebuilt by the next search once the node is written (a node changed at
    // every step, as in a run of appends, is searched by its keys meanwhile).
    std::vector<std::uint64_t> heads;
    int common = 0;
    bool headsStale = true;

    bool leaf() const { return attr & 2; }
    const std::uint8_t* commonBytes() const { return reinterpret_cast<const std::uint8_t*>(heads.data() + n); }
    const std::uint8_t* key(int i) const { return keys.data() + std::size_t(i) * tree->keyLength; }
    // Every change to a node goes through here: it must be written, and its heads rebuilt.
    void touch() { dirty = headsStale = true; }
    std::size_t footprint() const {
        return sizeof(Node) + keys.capacity() + 4 * (recnos.capacity() + children.capacity()) + 8 * heads.capacity();
    }
};

// Decoded nodes by page number: a slot per page of the file, so a lookup is one array access.
class NodeCache {
public:
    Node* find(std::uint32_t page) const {
        std::size_t slot = page / kPage;
        return slot < slots_.size() ? slots_[slot].get() : nullptr;
    }
    Node* put(std::unique_ptr<Node> node) {
        std::size_t slot = node->page / kPage;
        if (slot >= slots_.size()) slots_.resize(std::max(slot + 1, slots_.size() * 2));
        if (!slots_[slot]) ++count_;
        slots_[slot] = std::move(node);
        return slots_[slot].get();
    }
    void erase(std::uint32_t page) {
        std::size_t slot = page / kPage;
        if (slot < slots_.size() && slots_[slot]) {
            slots_[slot].reset();
            --count_;
        }
    }
    void clear() {
        slots_.clear();
        count_ = 0;
    }
    std::size_t size() const { return count_; }
    template <typename F> void forEach(F f) {
        for (auto& n : slots_)
            if (n) f(*n);
    }

private:
    std::vector<std::unique_ptr<Node>> slots_;
    std::size_t count_ = 0;
};

struct PathStep {
    Node* node;
    int index;
};

}  // namespace derode::engine::cdx
