#include "engine/cdx/CdxFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace derode::engine {

namespace {
std::size_t cacheBudget = 16u << 20;  // bytes of decoded nodes kept in memory
}  // namespace

void setCdxCacheBudget(std::size_t bytes) { cacheBudget = bytes; }

namespace cdx {

CdxFile::~CdxFile() {
    if (fd_ >= 0) {
        std::string ignored;
        if (!readOnly_) flush(ignored);
        ::close(fd_);
    }
}

bool CdxFile::readRaw(std::uint64_t offset, std::uint8_t* buffer, std::size_t size) const {
    if (offset + size > fileSize_) return false;
    std::size_t done = 0;
    while (done < size) {
        ssize_t r = ::pread(fd_, buffer + done, size - done, off_t(offset + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            // A page allocated but not yet written reads as zeros.
            std::memset(buffer + done, 0, size - done);
            return true;
        }
        done += std::size_t(r);
    }
    return true;
}

bool CdxFile::writeRaw(std::uint64_t offset, const std::uint8_t* buffer, std::size_t size) {
    if (readOnly_) return false;
    std::size_t done = 0;
    while (done < size) {
        ssize_t w = ::pwrite(fd_, buffer + done, size - done, off_t(offset + done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) { ioFailed_ = true; return false; }
        done += std::size_t(w);
    }
    return true;
}

bool CdxFile::validPage(std::uint32_t page) const {
    return page != kNone && page >= kPage && page % kPage == 0 && std::uint64_t(page) + kPage <= fileSize_;
}

int CdxFile::compare(const Tree& t, const std::uint8_t* a, std::uint32_t ra, const std::uint8_t* b, std::uint32_t rb) const {
    int c = std::memcmp(a, b, std::size_t(t.keyLength));
    if (c == 0) c = ra < rb ? -1 : (ra > rb ? 1 : 0);
    else c = c < 0 ? -1 : 1;
    return t.descending ? -c : c;
}

int CdxFile::trailOf(const Tree& t, const std::uint8_t* k) const {
    int i = 0;
    while (i < t.keyLength && k[t.keyLength - 1 - i] == t.filler) ++i;
    return i;
}

int CdxFile::sharedPrefix(const Tree& t, const std::uint8_t* prev, const std::uint8_t* k) const {
    int limit = t.keyLength - trailOf(t, prev);
    int dup = 0;
    while (dup < limit && prev[dup] == k[dup]) ++dup;
    return dup;
}

int CdxFile::storedAt(const Node& nd, int j) const {
    const Tree& t = *nd.tree;
    const std::uint8_t* k = nd.key(j);
    int trail = trailOf(t, k);
    int dup = 0;
    if (j > 0) dup = sharedPrefix(t, nd.key(j - 1), k);
    dup = std::min(dup, t.keyLength - trail);
    return t.keyLength - dup - trail;
}

void CdxFile::recomputeStored(Node& nd) const {
    nd.stored = 0;
    nd.maxRecno = 0;
    for (int j = 0; j < nd.n; ++j) {
        nd.stored += storedAt(nd, j);
        nd.maxRecno = std::max(nd.maxRecno, nd.recnos[j]);
    }
}

int CdxFile::leafSize(const Node& nd) const {
    return kLeafHeader + nd.n * leafLayout(nd.tree->keyLength, nd.maxRecno).bytes + nd.stored;
}

bool CdxFile::fits(const Node& nd) const {
    return nd.leaf() ? leafSize(nd) <= int(kPage) : nd.n <= interiorCapacity(*nd.tree);
}

bool CdxFile::decode(const Tree& t, std::uint32_t page, const std::uint8_t* p, Node& nd, std::string& error) const {
    const int kl = t.keyLength;
    nd.tree = &t;
    nd.page = page;
    nd.attr = le16(p);
    nd.n = le16(p + 2);
    nd.left = le32(p + 4);
    nd.right = le32(p + 8);
    if (nd.attr > 3) { error = "attributs de page invalides"; return false; }
    if (!nd.leaf()) {
        if (nd.n == 0 || nd.n > interiorCapacity(t)) { error = "nombre de clés invalide dans un nœud intérieur"; return false; }
        nd.keys.assign(std::size_t(nd.n) * kl, 0);
        nd.recnos.assign(std::size_t(nd.n), 0);
        nd.children.assign(std::size_t(nd.n), 0);
        const std::uint8_t* e = p + kInteriorHeader;
        for (int i = 0; i < nd.n; ++i, e += kl + 8) {
            std::memcpy(nd.keys.data() + std::size_t(i) * kl, e, std::size_t(kl));
            nd.recnos[i] = be32(e + kl);
            nd.children[i] = be32(e + kl + 4);
        }
        return true;
    }
    int recBits = p[20], dupBits = p[21], trailBits = p[22], bytes = p[23];
    if (bytes < 1 || bytes > 8 || recBits < 1 || recBits > 32 || dupBits > 16 || trailBits > 16 ||
        recBits + dupBits + trailBits > bytes * 8) {
        error = "format de feuille invalide";
        return false;
    }
    if (kLeafHeader + nd.n * bytes > int(kPage)) { error = "nombre de clés invalide dans une feuille"; return false; }
    nd.keys.assign(std::size_t(nd.n) * kl, 0);
    nd.recnos.assign(std::size_t(nd.n), 0);
    const std::uint64_t recMask = recBits >= 32 ? 0xFFFFFFFFull : ((1ull << recBits) - 1);
    const std::uint64_t dupMask = (1ull << dupBits) - 1, trailMask = (1ull << trailBits) - 1;
    int end = int(kPage);
    const int floor = kLeafHeader + nd.n * bytes;
    std::uint8_t* key = nd.keys.data();
    for (int i = 0; i < nd.n; ++i, key += kl) {
        std::uint64_t v = 0;
        const std::uint8_t* e = p + kLeafHeader + i * bytes;
        for (int b = bytes - 1; b >= 0; --b) v = (v << 8) | e[b];
        std::uint32_t recno = std::uint32_t(v & recMask);
        int dup = int((v >> recBits) & dupMask);
        int trail = int((v >> (recBits + dupBits)) & trailMask);
        if (dup + trail > kl || (i == 0 && dup > 0)) { error = "clé compressée invalide"; return false; }
        int len = kl - dup - trail;
        end -= len;
        if (end < floor) { error = "clés d'une feuille hors de la page"; return false; }
        if (dup) std::memcpy(key, key - kl, std::size_t(dup));
        std::memcpy(key + dup, p + end, std::size_t(len));
        std::memset(key + dup + len, t.filler, std::size_t(trail));
        nd.recnos[i] = recno;
    }
    nd.children.clear();
    recomputeStored(nd);
    return true;
}

void CdxFile::encode(const Node& nd, std::uint8_t* p) const {
    const Tree& t = *nd.tree;
    const int kl = t.keyLength;
    std::memset(p, 0, kPage);
    putLe16(p, nd.attr);
    putLe16(p + 2, std::uint32_t(nd.n));
    putLe32(p + 4, nd.left);
    putLe32(p + 8, nd.right);
    if (!nd.leaf()) {
        std::uint8_t* e = p + kInteriorHeader;
        for (int i = 0; i < nd.n; ++i, e += kl + 8) {
            std::memcpy(e, nd.key(i), std::size_t(kl));
            putBe32(e + kl, nd.recnos[i]);
            putBe32(e + kl + 4, nd.children[i]);
        }
        return;
    }
    std::uint32_t maxRecno = 0;
    for (int i = 0; i < nd.n; ++i) maxRecno = std::max(maxRecno, nd.recnos[i]);
    LeafLayout l = leafLayout(kl, maxRecno);
    putLe32(p + 14, l.recBits >= 32 ? 0xFFFFFFFFu : ((1u << l.recBits) - 1));
    p[18] = std::uint8_t((1u << l.dupBits) - 1);
    p[19] = std::uint8_t((1u << l.trailBits) - 1);
    p[20] = std::uint8_t(l.recBits);
    p[21] = std::uint8_t(l.dupBits);
    p[22] = std::uint8_t(l.trailBits);
    p[23] = std::uint8_t(l.bytes);
    int end = int(kPage);
    for (int i = 0; i < nd.n; ++i) {
        const std::uint8_t* k = nd.key(i);
        int trail = trailOf(t, k);
        int dup = 0;
        if (i > 0) dup = sharedPrefix(t, nd.key(i - 1), k);
        dup = std::min(dup, kl - trail);
        int len = kl - dup - trail;
        end -= len;
        std::memcpy(p + end, k + dup, std::size_t(len));
        std::uint64_t v = nd.recnos[i] | (std::uint64_t(dup) << l.recBits) |
                          (std::uint64_t(trail) << (l.recBits + l.dupBits));
        std::uint8_t* e = p + kLeafHeader + i * l.bytes;
        for (int b = 0; b < l.bytes; ++b) e[b] = std::uint8_t(v >> (8 * b));
    }
    putLe16(p + 12, std::uint32_t(end - (kLeafHeader + nd.n * l.bytes)));
}

Node* CdxFile::load(const Tree& t, std::uint32_t page, std::string& error) {
    if (Node* cached = cache_.find(page)) {
        if (cached->tree != &t) { error = "page partagée entre deux index"; return nullptr; }
        cached->used = ++clock_;
        return cached;
    }
    if (!validPage(page)) { error = "pointeur de page hors du fichier ou mal aligné"; return nullptr; }
    std::uint8_t buffer[kPage];
    if (!readRaw(page, buffer, kPage)) { error = "lecture impossible"; return nullptr; }
    auto nd = std::make_unique<Node>();
    if (!decode(t, page, buffer, *nd, error)) return nullptr;
    nd->used = ++clock_;
    cacheBytes_ += nd->footprint();
    return cache_.put(std::move(nd));
}

Node* CdxFile::newNode(const Tree& t, std::uint16_t attr) {
    std::uint32_t page = allocatePage();
    auto nd = std::make_unique<Node>();
    nd->tree = &t;
    nd->page = page;
    nd->attr = attr;
    nd->touch();
    nd->used = ++clock_;
    cacheBytes_ += nd->footprint();
    return cache_.put(std::move(nd));
}

bool CdxFile::writeNode(const Node& nd) {
    std::uint8_t buffer[kPage];
    encode(nd, buffer);
    return writeRaw(nd.page, buffer, kPage);
}

void CdxFile::trim() {
    if (cacheBytes_ <= cacheBudget) return;
    writeFresh();
    std::vector<std::pair<std::uint64_t, std::uint32_t>> order;
    order.reserve(cache_.size());
    cache_.forEach([&](Node& nd) { order.emplace_back(nd.used, nd.page); });
    std::sort(order.begin(), order.end());
    for (auto& [used, page] : order) {
        if (cacheBytes_ <= cacheBudget * 3 / 4) break;
        Node* nd = cache_.find(page);
        if (nd->dirty && !writeNode(*nd)) continue;
        cacheBytes_ -= nd->footprint();
        cache_.erase(page);
    }
}

void CdxFile::writeFresh() {
    for (std::uint32_t page : fresh_)
        if (Node* nd = cache_.find(page); nd && nd->dirty && writeNode(*nd)) nd->dirty = false;
    fresh_.clear();
}

std::uint32_t CdxFile::allocatePage() {
    std::uint32_t page;
    if (!free_.empty()) {
        page = free_.back();
        free_.pop_back();
    } else {
        page = std::uint32_t(fileSize_);
        fileSize_ += kPage;
    }
    fresh_.push_back(page);
    return page;
}

void CdxFile::freePage(Node* nd) {
    std::uint32_t page = nd->page;
    cacheBytes_ -= nd->footprint();
    cache_.erase(page);
    free_.push_back(page);
}

bool CdxFile::flush(std::string& error) {
    if (readOnly_) return true;
    ioFailed_ = false;
    writeFresh();
    cache_.forEach([&](Node& nd) {
        if (nd.dirty && writeNode(nd)) nd.dirty = false;
    });
    std::uint8_t b4[4];
    for (auto& t : trees_)
        if (t->headerDirty) {
            putLe32(b4, t->root);
            if (writeRaw(t->header, b4, 4)) t->headerDirty = false;
        }
    if (dir_.headerDirty) {
        putLe32(b4, dir_.root);
        if (writeRaw(0, b4, 4)) dir_.headerDirty = false;
    }
    if (ioFailed_) { error = std::string("écriture de l'index impossible : ") + std::strerror(errno); return false; }
    return true;
}

const std::uint64_t* CdxFile::headsOf(Node& nd) {
    if (nd.headsStale) {
        const std::size_t before = nd.footprint();
        const int kl = nd.tree->keyLength;
        // Keys are in order: what the first and the last share, every key shares.
        int common = 0;
        if (nd.n > 0)
            while (common < kl && nd.key(0)[common] == nd.key(nd.n - 1)[common]) ++common;
        nd.common = common;
        nd.heads.resize(std::size_t(nd.n) + std::size_t(common + 7) / 8);
        for (int i = 0; i < nd.n; ++i) nd.heads[std::size_t(i)] = keyHead(nd.key(i) + common, kl - common);
        if (common > 0) std::memcpy(nd.heads.data() + nd.n, nd.key(0), std::size_t(common));
        nd.headsStale = false;
        refreshFootprint(nd, before);
    }
    return nd.heads.data();
}

bool CdxFile::locate(const Tree& t, const std::uint8_t* key, std::uint32_t recno, bool strict, std::vector<PathStep>& path) {
    path.clear();
    std::string error;
    std::uint32_t page = t.root;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        Node* nd = load(t, page, error);
        if (!nd) return false;
        int lo = 0, hi = nd->n;
        auto narrow = [&](int mid, int c) {
            if (c < 0 || (strict && c == 0)) lo = mid + 1;
            else hi = mid;
        };
        if (nd->headsStale && nd->dirty) {
            // A node changing at each step (appends in a row) would rebuild its heads each time.
            while (lo < hi) {
                int mid = (lo + hi) / 2;
                narrow(mid, compare(t, nd->key(mid), nd->recnos[mid], key, recno));
            }
        } else {
            const std::uint64_t* heads = headsOf(*nd);
            const int common = nd->common;
            const int before = hi > 0 ? std::memcmp(key, nd->commonBytes(), std::size_t(common)) : 0;
            std::uint64_t head = 0;
            if (before != 0) {
                // The target differs from what every key shares: it lies before them all, or after.
                lo = hi = (before < 0) != t.descending ? 0 : nd->n;
            } else {
                head = keyHead(key + common, t.keyLength - common);
            }
            while (lo < hi) {
                int mid = (lo + hi) / 2;
                if (heads[mid] != head) narrow(mid, (heads[mid] < head) != t.descending ? -1 : 1);
                else narrow(mid, compare(t, nd->key(mid), nd->recnos[mid], key, recno));
            }
        }
        if (nd->leaf()) {
            path.push_back({nd, lo});
            return true;
        }
        if (lo == nd->n) lo = nd->n - 1;
        path.push_back({nd, lo});
        page = nd->children[lo];
    }
    return false;
}

bool CdxFile::entryAt(const Tree& t, Node* nd, int index, CdxEntry& out) {
    std::string error;
    for (int hops = 0; nd && index >= nd->n; ++hops) {
        if (nd->right == kNone || hops > 64) return false;
        nd = load(t, nd->right, error);
        index = 0;
    }
    if (!nd) return false;
    out.key.assign(reinterpret_cast<const char*>(nd->key(index)), std::size_t(t.keyLength));
    out.recno = nd->recnos[index];
    return true;
}

bool CdxFile::entryBefore(const Tree& t, Node* nd, int index, CdxEntry& out) {
    std::string error;
    for (int hops = 0; nd && index <= 0; ++hops) {
        if (nd->left == kNone || hops > 64) return false;
        nd = load(t, nd->left, error);
        if (nd) index = nd->n;
    }
    if (!nd) return false;
    out.key.assign(reinterpret_cast<const char*>(nd->key(index - 1)), std::size_t(t.keyLength));
    out.recno = nd->recnos[index - 1];
    return true;
}

std::string CdxFile::normalised(const Tree& t, const std::string& key) const {
    std::string k = key.substr(0, std::size_t(t.keyLength));
    k.resize(std::size_t(t.keyLength), char(t.filler));
    return k;
}

const std::uint8_t* CdxFile::scratchKey(const Tree& t, const std::string& key, char pad) {
    key_.assign(key, 0, std::min(key.size(), std::size_t(t.keyLength)));
    key_.resize(std::size_t(t.keyLength), pad);
    return reinterpret_cast<const std::uint8_t*>(key_.data());
}

void CdxFile::fixSeparators(std::vector<PathStep>& path, int level) {
    const int kl = path[level].node->tree->keyLength;
    for (int l = level; l > 0; --l) {
        Node* child = path[l].node;
        Node* parent = path[l - 1].node;
        int i = path[l - 1].index;
        if (child->n == 0) return;
        std::uint8_t* sep = parent->keys.data() + std::size_t(i) * kl;
        const std::uint8_t* last = child->key(child->n - 1);
        if (std::memcmp(sep, last, std::size_t(kl)) == 0 && parent->recnos[i] == child->recnos[child->n - 1]) return;
        std::memcpy(sep, last, std::size_t(kl));
        parent->recnos[i] = child->recnos[child->n - 1];
        parent->touch();
        if (i != parent->n - 1) return;
    }
}

void CdxFile::insertAt(Node& nd, int pos, const std::uint8_t* key, std::uint32_t recno, std::uint32_t child) {
    const int kl = nd.tree->keyLength;
    std::size_t before = nd.footprint();
    if (nd.leaf() && pos < nd.n) nd.stored -= storedAt(nd, pos);
    nd.keys.insert(nd.keys.begin() + std::ptrdiff_t(pos) * kl, key, key + kl);
    nd.recnos.insert(nd.recnos.begin() + pos, recno);
    if (!nd.leaf()) nd.children.insert(nd.children.begin() + pos, child);
    ++nd.n;
    if (nd.leaf()) {
        nd.stored += storedAt(nd, pos);
        if (pos + 1 < nd.n) nd.stored += storedAt(nd, pos + 1);
        nd.maxRecno = std::max(nd.maxRecno, recno);
    }
    nd.touch();
    refreshFootprint(nd, before);
}

void CdxFile::eraseAt(Node& nd, int pos) {
    const int kl = nd.tree->keyLength;
    if (nd.leaf()) {
        nd.stored -= storedAt(nd, pos);
        if (pos + 1 < nd.n) nd.stored -= storedAt(nd, pos + 1);
    }
    nd.keys.erase(nd.keys.begin() + std::ptrdiff_t(pos) * kl, nd.keys.begin() + std::ptrdiff_t(pos + 1) * kl);
    nd.recnos.erase(nd.recnos.begin() + pos);
    if (!nd.leaf()) nd.children.erase(nd.children.begin() + pos);
    --nd.n;
    if (nd.leaf() && pos < nd.n) nd.stored += storedAt(nd, pos);
    nd.touch();
}

Node* CdxFile::splitOff(Tree& t, Node& nd, int from) {
    const int kl = t.keyLength;
    Node* right = newNode(t, std::uint16_t(nd.attr & 2));
    std::size_t beforeLeft = nd.footprint(), beforeRight = right->footprint();
    right->keys.assign(nd.keys.begin() + std::ptrdiff_t(from) * kl, nd.keys.end());
    right->recnos.assign(nd.recnos.begin() + from, nd.recnos.end());
    if (!nd.leaf()) right->children.assign(nd.children.begin() + from, nd.children.end());
    right->n = nd.n - from;
    nd.keys.resize(std::size_t(from) * kl);
    nd.recnos.resize(std::size_t(from));
    if (!nd.leaf()) nd.children.resize(std::size_t(from));
    nd.n = from;
    nd.attr &= 2;
    right->left = nd.page;
    right->right = nd.right;
    std::string error;
    if (nd.right != kNone)
        if (Node* far = load(t, nd.right, error)) {
            far->left = right->page;
            far->touch();
        }
    nd.right = right->page;
    nd.touch();
    right->touch();
    if (nd.leaf()) {
        recomputeStored(nd);
        recomputeStored(*right);
    }
    refreshFootprint(nd, beforeLeft);
    refreshFootprint(*right, beforeRight);
    return right;
}

int CdxFile::splitPoint(Node& nd, int insertedAt) {
    // Appending at the far right keeps the left node full, as a bulk build does.
    if (insertedAt == nd.n - 1 && nd.right == kNone) {
        Node probe = copyHead(nd, nd.n - 1);
        if (fits(probe)) return nd.n - 1;
    }
    if (!nd.leaf()) return nd.n / 2;
    // A leaf splits where both halves fit: compression changes with the neighbours.
    int mid = nd.n / 2;
    for (int delta = 0; delta < nd.n; ++delta)
        for (int s : {mid - delta, mid + delta})
            if (s > 0 && s < nd.n) {
                Node a = copyRange(nd, 0, s), b = copyRange(nd, s, nd.n);
                if (fits(a) && fits(b)) return s;
            }
    return mid;
}

Node CdxFile::copyRange(const Node& nd, int from, int to) const {
    Node c;
    c.tree = nd.tree;
    c.attr = nd.attr;
    const int kl = nd.tree->keyLength;
    c.keys.assign(nd.keys.begin() + std::ptrdiff_t(from) * kl, nd.keys.begin() + std::ptrdiff_t(to) * kl);
    c.recnos.assign(nd.recnos.begin() + from, nd.recnos.begin() + to);
    c.n = to - from;
    if (c.leaf()) recomputeStored(c);
    return c;
}

bool CdxFile::insert(Tree& t, const std::string& rawKey, std::uint32_t recno) {
    if (readOnly_) return false;
    const std::uint8_t* k = scratchKey(t, rawKey, char(t.filler));
    std::vector<PathStep>& path = steps_;
    if (t.unique) {
        if (!locate(t, k, t.descending ? kNone : 0, false, path)) return false;
        CdxEntry found;
        if (entryAt(t, path.back().node, path.back().index, found) &&
            std::memcmp(found.key.data(), k, std::size_t(t.keyLength)) == 0)
            return true;
    }
    if (!locate(t, k, recno, false, path)) return false;
    int level = int(path.size()) - 1;
    Node* leaf = path[level].node;
    int pos = path[level].index;
    if (pos < leaf->n && compare(t, leaf->key(pos), leaf->recnos[pos], k, recno) == 0) return true;
    insertAt(*leaf, pos, k, recno, 0);
    if (pos == leaf->n - 1) fixSeparators(path, level);
    int insertedAt = pos;
    while (!fits(*path[level].node)) {
        Node* nd = path[level].node;
        Node* right = splitOff(t, *nd, splitPoint(*nd, insertedAt));
        const int kl = t.keyLength;
        if (level == 0) {
            Node* root = newNode(t, 1);
            insertAt(*root, 0, nd->key(nd->n - 1), nd->recnos[nd->n - 1], nd->page);
            insertAt(*root, 1, right->key(right->n - 1), right->recnos[right->n - 1], right->page);
            t.root = root->page;
            t.headerDirty = true;
            break;
        }
        Node* parent = path[level - 1].node;
        int i = path[level - 1].index;
        std::memcpy(parent->keys.data() + std::size_t(i) * kl, nd->key(nd->n - 1), std::size_t(kl));
        parent->recnos[i] = nd->recnos[nd->n - 1];
        insertAt(*parent, i + 1, right->key(right->n - 1), right->recnos[right->n - 1], right->page);
        insertedAt = i + 1;
        --level;
    }
    return true;
}

bool CdxFile::remove(Tree& t, const std::string& rawKey, std::uint32_t recno) {
    if (readOnly_) return false;
    const std::uint8_t* k = scratchKey(t, rawKey, char(t.filler));
    std::vector<PathStep>& path = steps_;
    if (!locate(t, k, recno, false, path)) return false;
    int level = int(path.size()) - 1;
    Node* leaf = path[level].node;
    int pos = path[level].index;
    if (pos >= leaf->n || compare(t, leaf->key(pos), leaf->recnos[pos], k, recno) != 0) return false;
    bool wasLast = pos == leaf->n - 1;
    eraseAt(*leaf, pos);
    // Empty nodes leave the tree; the root stays, as an empty leaf at worst.
    while (level > 0 && path[level].node->n == 0) {
        Node* gone = path[level].node;
        std::string error;
        if (gone->left != kNone)
            if (Node* l = load(t, gone->left, error)) { l->right = gone->right; l->touch(); }
        if (gone->right != kNone)
            if (Node* r = load(t, gone->right, error)) { r->left = gone->left; r->touch(); }
        freePage(gone);
        Node* parent = path[level - 1].node;
        int i = path[level - 1].index;
        wasLast = i == parent->n - 1;
        eraseAt(*parent, i);
        --level;
    }
    Node* top = path[level].node;
    if (level == 0 && top->n == 0 && !top->leaf()) {
        std::size_t before = top->footprint();
        top->attr = 3;
        top->children.clear();
        top->left = top->right = kNone;
        recomputeStored(*top);
        top->touch();
        refreshFootprint(*top, before);
    } else if (wasLast && top->n > 0) {
        fixSeparators(path, level);
    }
    return true;
}

CdxFile::SortedRun CdxFile::prepare(const Tree& t, const std::vector<CdxEntry>& entries) const {
    const std::size_t kl = std::size_t(t.keyLength), n = entries.size();
    std::vector<std::uint8_t> flat(n * kl);
    struct Item { std::uint64_t prefix; std::uint32_t index, recno; };
    std::vector<Item> items(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t* k = flat.data() + i * kl;
        const std::string& key = entries[i].key;
        std::size_t len = std::min(key.size(), kl);
        std::memcpy(k, key.data(), len);
        std::memset(k + len, t.filler, kl - len);
        std::uint64_t prefix = 0;
        for (std::size_t b = 0; b < 8; ++b) prefix = (prefix << 8) | (b < kl ? k[b] : 0);
        items[i] = {t.descending ? ~prefix : prefix, std::uint32_t(i), entries[i].recno};
    }
    const bool down = t.descending;
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        if (kl > 8) {
            int c = std::memcmp(flat.data() + std::size_t(a.index) * kl + 8, flat.data() + std::size_t(b.index) * kl + 8, kl - 8);
            if (c != 0) return down ? c > 0 : c < 0;
        }
        return down ? a.recno > b.recno : a.recno < b.recno;
    });
    SortedRun run;
    run.keys.reserve(n * kl);
    run.recnos.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* k = flat.data() + std::size_t(items[i].index) * kl;
        if (!run.recnos.empty()) {
            const std::uint8_t* last = run.keys.data() + run.keys.size() - kl;
            if (std::memcmp(last, k, kl) == 0) {
                // A unique tag keeps the lowest record: the last of the run when descending.
                if (t.unique && down) run.recnos.back() = items[i].recno;
                if (t.unique || run.recnos.back() == items[i].recno) continue;
            }
        }
        run.keys.insert(run.keys.end(), k, k + kl);
        run.recnos.push_back(items[i].recno);
    }
    return run;
}

std::uint32_t CdxFile::build(Tree& t, const SortedRun& run) {
    const std::size_t kl = std::size_t(t.keyLength);
    auto keyOf = [&](std::size_t i) { return run.keys.data() + i * kl; };
    std::uint32_t maxRecno = 0;
    for (std::uint32_t r : run.recnos) maxRecno = std::max(maxRecno, r);
    const int width = leafLayout(int(kl), maxRecno).bytes;
    // Cut the sorted run into full leaves.
    std::vector<std::size_t> starts{0};
    int used = kLeafHeader;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const std::uint8_t* k = keyOf(i);
        int trail = trailOf(t, k);
        int dup = i > starts.back() ? std::min(sharedPrefix(t, keyOf(i - 1), k), int(kl) - trail) : 0;
        int size = width + int(kl) - dup - trail;
        if (i > starts.back() && used + size > int(kPage)) {
            starts.push_back(i);
            used = kLeafHeader;
            size = width + int(kl) - trail;
        }
        used += size;
    }
    starts.push_back(run.size());
    const std::size_t leaves = starts.size() - 1;
    std::vector<std::uint8_t> out;
    out.reserve(leaves * kPage * 11 / 10 + kPage);
    const std::uint64_t base = fileSize_;
    // Each level as (index of its last key in the run, page).
    std::vector<std::pair<std::size_t, std::uint32_t>> level;
    auto emit = [&](Node& nd) {
        std::size_t at = out.size();
        out.resize(at + kPage);
        encode(nd, out.data() + at);
    };
    Node nd;
    nd.tree = &t;
    for (std::size_t l = 0; l < leaves; ++l) {
        nd.page = std::uint32_t(base + l * kPage);
        nd.attr = leaves == 1 ? 3 : 2;
        nd.left = l == 0 ? kNone : nd.page - kPage;
        nd.right = l + 1 == leaves ? kNone : nd.page + kPage;
        nd.keys.assign(keyOf(starts[l]), keyOf(starts[l + 1]));
        nd.recnos.assign(run.recnos.begin() + std::ptrdiff_t(starts[l]), run.recnos.begin() + std::ptrdiff_t(starts[l + 1]));
        nd.n = int(nd.recnos.size());
        emit(nd);
        if (nd.n) level.emplace_back(starts[l + 1] - 1, nd.page);
    }
    std::uint64_t next = base + leaves * kPage;
    std::uint32_t root = std::uint32_t(base);
    const std::size_t cap = std::size_t(interiorCapacity(t));
    while (level.size() > 1) {
        std::size_t nodes = (level.size() + cap - 1) / cap;
        std::vector<std::pair<std::size_t, std::uint32_t>> upper;
        for (std::size_t j = 0; j < nodes; ++j) {
            nd.page = std::uint32_t(next + j * kPage);
            nd.attr = nodes == 1 ? 1 : 0;
            nd.left = j == 0 ? kNone : nd.page - kPage;
            nd.right = j + 1 == nodes ? kNone : nd.page + kPage;
            nd.keys.clear();
            nd.recnos.clear();
            nd.children.clear();
            std::size_t from = j * level.size() / nodes, to = (j + 1) * level.size() / nodes;
            for (std::size_t i = from; i < to; ++i) {
                nd.keys.insert(nd.keys.end(), keyOf(level[i].first), keyOf(level[i].first) + kl);
                nd.recnos.push_back(run.recnos[level[i].first]);
                nd.children.push_back(level[i].second);
            }
            nd.n = int(nd.recnos.size());
            emit(nd);
            upper.emplace_back(level[to - 1].first, nd.page);
            root = nd.page;
        }
        next += nodes * kPage;
        level.swap(upper);
    }
    fileSize_ = next;
    writeRaw(base, out.data(), out.size());
    return root;
}

void CdxFile::writeTagHeader(const Tree& t, std::uint8_t options) {
    std::uint8_t h[kHeaderSize] = {};
    putLe32(h, t.root);
    putLe32(h + 4, 0);
    putLe16(h + 12, std::uint32_t(t.keyLength));
    h[14] = options;
    h[15] = 1;
    putLe16(h + 16, kHeaderSize);
    putLe16(h + 18, kPage);
    putLe16(h + 502, t.descending ? 1 : 0);
    const std::string& key = t.info.keyExpression;
    const std::string& filter = t.info.forExpression;
    putLe16(h + 504, std::uint32_t(key.size() + 1));
    putLe16(h + 506, std::uint32_t(filter.size() + 1));
    putLe16(h + 508, 0);
    putLe16(h + 510, std::uint32_t(key.size() + 1));
    std::memcpy(h + 512, key.data(), key.size());
    std::memcpy(h + 512 + key.size() + 1, filter.data(), filter.size());
    writeRaw(t.header, h, kHeaderSize);
}

bool CdxFile::addTag(const CdxTagInfo& info, const std::vector<CdxEntry>& entries, std::string& error) {
    if (readOnly_) { error = "index ouvert en lecture seule"; return false; }
    std::string name = upper(info.name);
    if (name.empty() || name.size() > std::size_t(kTagNameLength) || name.find(' ') != std::string::npos) {
        error = "nom d'index invalide : " + info.name;
        return false;
    }
    for (const auto& t : trees_)
        if (t->info.name == name) { error = "l'index " + name + " existe déjà"; return false; }
    if (info.keyLength < 1 || info.keyLength > kMaxKeyLength) {
        error = "longueur de clé invalide pour l'index " + name;
        return false;
    }
    if (info.keyExpression.size() + info.forExpression.size() + 2 > 512) {
        error = "expression d'index trop longue pour l'index " + name;
        return false;
    }
    auto tree = std::make_unique<Tree>();
    Tree& t = *tree;
    t.info = info;
    t.info.name = name;
    t.keyLength = info.keyLength;
    t.unique = info.unique;
    t.descending = info.descending;
    t.filler = info.keyType == 'C' || info.keyType == 'L' ? ' ' : 0;
    // Header pairs are taken from the end of the file: the free list holds single pages.
    t.header = std::uint32_t(fileSize_);
    fileSize_ += kHeaderSize;
    t.root = build(t, prepare(t, entries));
    std::uint8_t options = 0x60 | (t.unique ? 0x01 : 0) | (t.info.forExpression.empty() ? 0 : 0x08);
    writeTagHeader(t, options);
    std::string dirKey = name;
    dirKey.resize(std::size_t(dir_.keyLength), ' ');
    if (!insert(dir_, dirKey, t.header)) { error = "répertoire des index illisible"; return false; }
    trees_.push_back(std::move(tree));
    infos_.push_back(trees_.back()->info);
    if (!flush(error)) return false;
    trim();
    return true;
}

void CdxFile::walk(const Tree& t, std::uint32_t page, int depth, Walk& w) {
    if (depth >= kMaxDepth) { w.report("arbre trop profond"); w.fatal = true; return; }
    if (!w.visited->insert(page).second) {
        w.report("page visitée deux fois (boucle) : " + std::to_string(page));
        w.fatal = true;
        return;
    }
    std::string error;
    Node* nd = load(t, page, error);
    if (!nd) { w.report(error + " (page " + std::to_string(page) + ")"); w.fatal = true; return; }
    if (bool(nd->attr & 1) != (depth == 0)) w.report("attribut de racine incorrect en page " + std::to_string(page));
    if (int(w.levels.size()) <= depth) w.levels.resize(std::size_t(depth) + 1);
    w.levels[std::size_t(depth)].push_back({nd->page, nd->left, nd->right});
    const int kl = t.keyLength;
    if (nd->leaf()) {
        if (w.leafDepth < 0) w.leafDepth = depth;
        else if (w.leafDepth != depth) w.report("feuilles à des profondeurs différentes");
        for (int i = 0; i < nd->n; ++i) {
            const std::uint8_t* k = nd->key(i);
            if (w.haveBound) {
                if (compare(t, k, nd->recnos[i], reinterpret_cast<const std::uint8_t*>(w.boundKey.data()), w.boundRecno) <= 0)
                    w.report("clé inférieure au séparateur qui la précède en page " + std::to_string(page));
                w.haveBound = false;
            }
            if (w.haveLast) {
                int c = compare(t, reinterpret_cast<const std::uint8_t*>(w.lastKey.data()), w.lastRecno, k, nd->recnos[i]);
                bool sameKey = std::memcmp(w.lastKey.data(), k, std::size_t(kl)) == 0;
                if (c >= 0) w.report("clés dans le désordre en page " + std::to_string(page));
                else if (t.unique && sameKey) w.report("clé en double dans un index unique en page " + std::to_string(page));
            }
            w.lastKey.assign(reinterpret_cast<const char*>(k), std::size_t(kl));
            w.lastRecno = nd->recnos[i];
            w.haveLast = true;
            if (w.collect) w.collect->push_back({w.lastKey, w.lastRecno});
        }
        w.count += std::size_t(nd->n);
        if (nd->n == 0 && depth > 0) w.report("feuille vide en page " + std::to_string(page));
        if (!fits(*nd)) w.report("feuille trop pleine en page " + std::to_string(page));
        // No node pointer is held past this point: the cache may shed pages, so that walking a
        // large index stays within the memory budget.
        trim();
    } else {
        // Copies, so that the walk never depends on the node staying in the cache.
        std::vector<std::uint32_t> children = nd->children;
        std::vector<std::uint8_t> keys = nd->keys;
        std::vector<std::uint32_t> recnos = nd->recnos;
        for (std::size_t i = 0; i < children.size(); ++i) {
            std::size_t before = w.count;
            walk(t, children[i], depth + 1, w);
            if (w.count > before && w.haveLast &&
                compare(t, reinterpret_cast<const std::uint8_t*>(w.lastKey.data()), w.lastRecno,
                        keys.data() + i * std::size_t(kl), recnos[i]) > 0)
                w.report("séparateur inférieur aux clés de sa page en page " + std::to_string(page));
            w.boundKey.assign(reinterpret_cast<const char*>(keys.data() + i * std::size_t(kl)), std::size_t(kl));
            w.boundRecno = recnos[i];
            w.haveBound = true;
        }
    }
}

void CdxFile::checkSiblings(Walk& w) {
    for (std::size_t d = 0; d < w.levels.size(); ++d) {
        const auto& row = w.levels[d];
        for (std::size_t i = 0; i < row.size(); ++i) {
            std::uint32_t wantLeft = i == 0 ? kNone : row[i - 1].page;
            std::uint32_t wantRight = i + 1 == row.size() ? kNone : row[i + 1].page;
            if (row[i].left != wantLeft || row[i].right != wantRight) {
                w.report("chaînage des pages voisines rompu au niveau " + std::to_string(d));
                break;
            }
        }
    }
}

CdxFile::Walk CdxFile::walkTree(const Tree& t, std::vector<CdxEntry>* collect, std::unordered_set<std::uint32_t>* visited) {
    Walk w;
    std::unordered_set<std::uint32_t> own;
    w.visited = visited ? visited : &own;
    w.collect = collect;
    walk(t, t.root, 0, w);
    checkSiblings(w);
    return w;
}

bool CdxFile::readHeader(std::uint32_t offset, Tree& t, std::uint8_t& options, std::string& error) {
    std::uint8_t h[kHeaderSize];
    if (!validPage(offset) && offset != 0) { error = "en-tête d'index hors du fichier"; return false; }
    if (std::uint64_t(offset) + kHeaderSize > fileSize_ || !readRaw(offset, h, kHeaderSize)) {
        error = "en-tête d'index tronqué";
        return false;
    }
    t.header = offset;
    t.root = le32(h);
    t.foreignFreeList = le32(h + 4) == kNone ? 0 : le32(h + 4);
    t.keyLength = le16(h + 12);
    options = h[14];
    t.unique = options & 0x01;
    t.descending = le16(h + 502) == 1;
    if (t.keyLength < 1 || t.keyLength > kMaxKeyLength) {
        error = "longueur de clé invalide (" + std::to_string(t.keyLength) + ")";
        return false;
    }
    auto text = [&](int pos, int len) {
        if (pos < 0 || len <= 0 || pos >= 512) return std::string();
        len = std::min(len, 512 - pos);
        const char* s = reinterpret_cast<const char*>(h + 512 + pos);
        return std::string(s, strnlen(s, std::size_t(len)));
    };
    t.info.keyExpression = text(le16(h + 508), le16(h + 510));
    t.info.forExpression = text(le16(h + 504), le16(h + 506));
    t.info.unique = t.unique;
    t.info.descending = t.descending;
    t.info.keyLength = t.keyLength;
    return true;
}

char CdxFile::guessKeyType(Tree& t) {
    if (t.keyLength != 8) return 'C';
    std::string e = upper(t.info.keyExpression);
    for (const char* textual : {"DTOS(", "STR(", "UPPER(", "LOWER(", "LEFT(", "RIGHT(", "SUBSTR(", "TRIM(", "DTOC(", "+", "'", "\""})
        if (e.find(textual) != std::string::npos) return 'C';
    CdxEntry first;
    t.filler = 0;
    std::vector<PathStep> path;
    std::uint8_t low[8];
    std::memset(low, t.descending ? 0xFF : 0, sizeof low);
    if (!locate(t, low, t.descending ? kNone : 0, false, path) || !entryAt(t, path.back().node, path.back().index, first))
        return 'C';
    auto b = std::uint8_t(first.key[0]);
    bool control = false;
    for (char c : first.key.substr(0, std::size_t(8 - trailOf(t, reinterpret_cast<const std::uint8_t*>(first.key.data())))))
        if (std::uint8_t(c) < 0x20) control = true;
    return (b >= 0x80 && b <= 0xC3) || control ? 'N' : 'C';
}

bool CdxFile::load(std::string& error) {
    std::uint8_t options = 0;
    dir_.info.name = "";
    if (!readHeader(0, dir_, options, error)) return false;
    if (dir_.keyLength > 64) { error = "répertoire des index invalide"; return false; }
    dir_.filler = ' ';
    std::unordered_set<std::uint32_t> visited;
    std::vector<CdxEntry> tagEntries;
    Walk w = walkTree(dir_, &tagEntries, &visited);
    if (w.fatal) { error = "répertoire des index : " + w.problems.front(); return false; }
    std::sort(tagEntries.begin(), tagEntries.end(), [](const CdxEntry& a, const CdxEntry& b) { return a.recno < b.recno; });
    for (const auto& e : tagEntries) {
        auto tree = std::make_unique<Tree>();
        std::string name = e.key;
        while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
        if (name.empty()) { error = "nom d'index vide"; return false; }
        if (e.recno % kPage != 0 || e.recno < kPage || !visited.insert(e.recno).second ||
            !visited.insert(e.recno + kPage).second) {
            error = "en-tête de l'index " + name + " invalide";
            return false;
        }
        if (!readHeader(e.recno, *tree, options, error)) { error = "index " + name + " : " + error; return false; }
        tree->info.name = upper(name);
        tree->filler = 0;
        trees_.push_back(std::move(tree));
    }
    for (auto& tree : trees_) {
        Tree& t = *tree;
        // Keys are decoded with the filler, so the guess comes before the walk that fills the cache.
        t.info.keyType = guessKeyType(t);
        dropTree(t);
        t.filler = t.info.keyType == 'C' || t.info.keyType == 'L' ? ' ' : 0;
        Walk w = walkTree(t, nullptr, &visited);
        if (w.fatal) {
            error = "index " + t.info.name + " : " + w.problems.front();
            return false;
        }
        infos_.push_back(t.info);
    }
    // Pages no tree reaches are free for reuse, unless another engine keeps a free list of its
    // own in the header, in a form we do not know: then its pages are left alone.
    bool foreign = dir_.foreignFreeList != 0;
    for (const auto& tree : trees_) foreign = foreign || tree->foreignFreeList != 0;
    if (!foreign)
        for (std::uint64_t p = fileSize_ - kPage; p >= kHeaderSize; p -= kPage)
            if (!visited.count(std::uint32_t(p))) free_.push_back(std::uint32_t(p));
    return true;
}

void CdxFile::releaseClean() {
    std::vector<std::uint32_t> pages;
    cache_.forEach([&](Node& nd) {
        if (!nd.dirty) pages.push_back(nd.page);
    });
    for (std::uint32_t page : pages) {
        cacheBytes_ -= cache_.find(page)->footprint();
        cache_.erase(page);
    }
}

void CdxFile::dropTree(const Tree& t) {
    std::vector<std::uint32_t> pages;
    cache_.forEach([&](Node& nd) {
        if (nd.tree == &t && !nd.dirty) pages.push_back(nd.page);
    });
    for (std::uint32_t page : pages) {
        cacheBytes_ -= cache_.find(page)->footprint();
        cache_.erase(page);
    }
}

std::unique_ptr<CdxFile> CdxFile::openFile(const std::string& path, bool readOnly, std::string& error) {
    auto f = std::make_unique<CdxFile>();
    f->path_ = path;
    f->readOnly_ = readOnly;
    f->fd_ = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (f->fd_ < 0) {
        error = "ouverture de " + path + " impossible : " + std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(f->fd_, &st) != 0 || st.st_size < off_t(kHeaderSize + kPage)) {
        error = "fichier d'index tronqué : " + path;
        f->readOnly_ = true;
        return nullptr;
    }
    f->fileSize_ = std::uint64_t(st.st_size) / kPage * kPage;
    if (f->fileSize_ > 0xFFFFFE00ull) {
        error = "fichier d'index trop grand : " + path;
        f->readOnly_ = true;
        return nullptr;
    }
    if (!f->load(error)) {
        f->readOnly_ = true;  // never write into a file we could not read
        f->cache_.clear();
        return nullptr;
    }
    f->trim();
    return f;
}

std::unique_ptr<CdxFile> CdxFile::createFile(const std::string& path, std::string& error) {
    auto f = std::make_unique<CdxFile>();
    f->path_ = path;
    f->fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (f->fd_ < 0) {
        error = "création de " + path + " impossible : " + std::strerror(errno);
        return nullptr;
    }
    Tree& d = f->dir_;
    d.header = 0;
    d.keyLength = kTagNameLength;
    d.filler = ' ';
    f->fileSize_ = kHeaderSize;
    d.root = f->build(d, CdxFile::SortedRun{});
    std::uint8_t h[kHeaderSize] = {};
    putLe32(h, d.root);
    putLe16(h + 12, kTagNameLength);
    h[14] = 0xE0;  // compact, compound, structural
    h[15] = 1;
    putLe16(h + 16, kHeaderSize);
    putLe16(h + 18, kPage);
    putLe16(h + 504, 1);
    putLe16(h + 506, 1);
    putLe16(h + 510, 1);
    if (!f->writeRaw(0, h, kHeaderSize) || f->ioFailed_) {
        error = "écriture de " + path + " impossible";
        return nullptr;
    }
    return f;
}

}  // namespace cdx
}  // namespace derode::engine
