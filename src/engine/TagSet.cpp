#include "engine/TagSet.h"

#include "engine/TableFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace derode::engine {

namespace {

constexpr int kMaxKeyLength = 240;

std::string upper(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool entryLess(const CdxEntry& a, const CdxEntry& b)
{
    const int c = a.key.compare(b.key);
    return c < 0 || (c == 0 && a.recno < b.recno);
}

// The C fields joined by a key expression of the plain form "A+B+C", else empty.
std::vector<int> plainTextFields(const TableFile& file, const std::string& expression)
{
    std::vector<int> out;
    std::size_t start = 0;
    while (start <= expression.size()) {
        std::size_t end = expression.find('+', start);
        if (end == std::string::npos)
            end = expression.size();
        std::string part = expression.substr(start, end - start);
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        const int i = file.fieldIndex(upper(part));
        if (i < 0 || file.header().fields[static_cast<std::size_t>(i)].type != 'C')
            return {};
        out.push_back(i);
        start = end + 1;
    }
    return out;
}

// The N field that is the whole key expression, else -1.
int plainNumericField(const TableFile& file, const std::string& expression)
{
    std::string name = expression;
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    const int i = file.fieldIndex(upper(name));
    return i >= 0 && file.header().fields[static_cast<std::size_t>(i)].type == 'N' ? i : -1;
}

}  // namespace

std::unique_ptr<TagSet> TagSet::open(TableFile& file, bool writable, std::string& error, std::string& note,
                                     bool repair)
{
    const std::string path = file.structuralIndexPath();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return nullptr;
    std::unique_ptr<TagSet> set(new TagSet());
    set->codePage_ = file.codePage();
    std::string message;
    set->index_ = CdxIndex::open(path, !writable, message);
    if (!set->index_) {
        error = "index illisible (" + message + ")";
        return nullptr;
    }
    if (!set->loadTags(file, error))
        return nullptr;
    // The index is derived data: a tag that disagrees with the table is rebuilt from it.
    const std::vector<std::string> problems = repair ? set->check(file) : std::vector<std::string>{};
    if (!problems.empty()) {
        if (!writable) {
            error = "index incohérent avec la table (" + problems.front() + ")";
            return nullptr;
        }
        if (!set->rebuild(file, message)) {
            error = "reconstruction de l'index impossible : " + message;
            return nullptr;
        }
        note = "index reconstruit : " + problems.front();
    }
    for (const auto& t : set->tags_)
        if (!t.usable)
            note += (note.empty() ? "" : " ; ") + std::string("étiquette ") + t.info.name
                + " non maintenue : la table reste en lecture seule";
    return set;
}

std::unique_ptr<TagSet> TagSet::create(TableFile& file, std::string& error)
{
    std::unique_ptr<TagSet> set(new TagSet());
    set->codePage_ = file.codePage();
    set->index_ = CdxIndex::create(file.structuralIndexPath(), error);
    if (!set->index_)
        return nullptr;
    return set;
}

bool TagSet::loadTags(TableFile& file, std::string& /*error*/)
{
    tags_.clear();
    rawFields_.clear();
    numericField_.clear();
    const std::string blank = blankRecord(file.header().recordLength);
    const RawRecord blankSource(file, blank, 1);
    for (const auto& info : index_->tags()) {
        Tag t;
        t.info = info;
        std::string message;
        t.key = Expression::parse(info.keyExpression, &message);
        if (!info.forExpression.empty())
            t.filter = Expression::parse(info.forExpression, &message);
        t.usable = t.key.has_value() && (info.forExpression.empty() || t.filter.has_value()) && !info.descending;
        if (t.usable) {
            auto v = t.key->evaluate(blankSource);
            if (!v) {
                t.usable = false;
            } else {
                t.valueType = v->index() == 0 ? 'C' : v->index() == 1 ? 'N' : v->index() == 2 ? 'L' : 'D';
                // The file does not record the key type; the key expression tells it.
                const char keyType = t.valueType == 'D' ? 'N' : t.valueType;
                index_->setKeyType(static_cast<int>(tags_.size()), keyType);
                t.info.keyType = keyType;
                if ((keyType == 'N' && info.keyLength != 8) || (keyType == 'L' && info.keyLength != 1))
                    t.usable = false;
            }
            if (t.filter) {
                auto f = t.filter->evaluate(blankSource);
                if (!f || !std::holds_alternative<bool>(*f))
                    t.usable = false;
            }
        }
        rawFields_.push_back(t.usable && t.valueType == 'C' ? plainTextFields(file, info.keyExpression)
                                                          : std::vector<int>{});
        numericField_.push_back(t.usable && t.valueType == 'N' ? plainNumericField(file, info.keyExpression) : -1);
        tags_.push_back(std::move(t));
    }
    return true;
}

int TagSet::find(const std::string& name) const
{
    const std::string u = upper(name);
    for (std::size_t i = 0; i < tags_.size(); ++i)
        if (upper(tags_[i].info.name) == u)
            return static_cast<int>(i);
    return -1;
}

bool TagSet::maintainable() const
{
    return std::all_of(tags_.begin(), tags_.end(), [](const Tag& t) { return t.usable; });
}

std::optional<std::string> TagSet::makeKey(const Tag& tag, const Value& value) const
{
    switch (tag.valueType) {
    case 'C': {
        const auto* s = std::get_if<std::string>(&value);
        if (!s)
            return std::nullopt;
        std::string key = utf8ToCodePage(codePage_, *s);
        key.resize(static_cast<std::size_t>(tag.info.keyLength), ' ');
        return key;
    }
    case 'N':
        if (const auto* d = std::get_if<double>(&value))
            return cdxNumberKey(*d);
        return std::nullopt;
    case 'D':
        if (const auto* d = std::get_if<Date>(&value))
            return cdxNumberKey(static_cast<double>(d->julianDay()));
        return std::nullopt;
    default:
        if (const auto* b = std::get_if<bool>(&value))
            return std::string(*b ? "T" : "F");
        return std::nullopt;
    }
}

std::optional<std::string> TagSet::keyOf(int tagIndex, const RawRecord& record, bool ignoreFilter) const
{
    const auto ti = static_cast<std::size_t>(tagIndex);
    const Tag& t = tags_[ti];
    if (!t.usable)
        return std::nullopt;
    if (t.filter && !ignoreFilter) {
        auto f = t.filter->evaluate(record);
        if (!f || !std::holds_alternative<bool>(*f) || !std::get<bool>(*f))
            return std::nullopt;
    }
    // Plain keys straight from the record's bytes: joined text fields, or one number field.
    const auto& h = record.file().header();
    const std::string& bytes = record.bytes();
    if (!rawFields_[ti].empty() && bytes.size() >= h.recordLength) {
        std::string key;
        key.reserve(static_cast<std::size_t>(t.info.keyLength));
        for (int f : rawFields_[ti])
            key.append(bytes, h.offsets[static_cast<std::size_t>(f)],
                       static_cast<std::size_t>(h.fields[static_cast<std::size_t>(f)].length));
        key.resize(static_cast<std::size_t>(t.info.keyLength), ' ');
        return key;
    }
    if (numericField_[ti] >= 0 && bytes.size() >= h.recordLength) {
        const auto f = static_cast<std::size_t>(numericField_[ti]);
        return cdxNumberKey(std::get<double>(decodeField(h.fields[f], bytes.data() + h.offsets[f], codePage_)));
    }
    auto v = t.key->evaluate(record);
    if (!v)
        return std::nullopt;
    return makeKey(t, *v);
}

std::optional<std::string> TagSet::seekKey(int tagIndex, const Value& value, CodePage codePage) const
{
    const Tag& t = tags_[static_cast<std::size_t>(tagIndex)];
    if (t.valueType == 'C') {
        const auto* s = std::get_if<std::string>(&value);
        if (!s)
            return std::nullopt;
        std::string key = utf8ToCodePage(codePage, *s);
        if (key.size() > static_cast<std::size_t>(t.info.keyLength))
            key.resize(static_cast<std::size_t>(t.info.keyLength));
        return key;
    }
    if (t.valueType == 'D' && std::holds_alternative<double>(value))
        return cdxNumberKey(std::get<double>(value));
    return makeKey(t, value);
}

bool TagSet::reinstate(TableFile& file, int tagIndex, const std::string& key, std::uint32_t leaving)
{
    const std::uint32_t count = file.cachedCount();
    std::string rec;
    for (std::uint32_t r = 1; r <= count; ++r) {
        if (r == leaving || !file.readRecord(r, rec))
            continue;
        RawRecord src(file, rec, r);
        auto k = keyOf(tagIndex, src);
        if (k && *k == key)
            return index_->insert(tagIndex, CdxEntry{key, r});
    }
    return true;
}

bool TagSet::recordWritten(TableFile& file, std::uint32_t recno, const std::string* before, const std::string& after,
                           std::string& error)
{
    const RawRecord newSource(file, after, recno);
    bool ok = true;
    for (int i = 0; i < count(); ++i) {
        const Tag& t = tags_[static_cast<std::size_t>(i)];
        if (!t.usable)
            continue;
        std::optional<std::string> oldKey;
        if (before) {
            const RawRecord oldSource(file, *before, recno);
            oldKey = keyOf(i, oldSource);
        }
        const std::optional<std::string> newKey = keyOf(i, newSource);
        if (before && oldKey == newKey)
            continue;
        if (oldKey) {
            CdxEntry found;
            const bool held = !t.info.unique
                || (index_->seek(i, *oldKey, found) && found.key == *oldKey && found.recno == recno);
            if (held) {
                ok = index_->remove(i, CdxEntry{*oldKey, recno}) && ok;
                // A unique tag shows the first record of each key: another one takes its place.
                if (t.info.unique)
                    ok = reinstate(file, i, *oldKey, recno) && ok;
            }
        }
        if (newKey) {
            if (t.info.unique) {
                CdxEntry found;
                if (index_->seek(i, *newKey, found) && found.key == *newKey) {
                    if (found.recno < recno)
                        continue;  // the first record keeps the key
                    ok = index_->remove(i, found) && ok;
                }
            }
            ok = index_->insert(i, CdxEntry{*newKey, recno}) && ok;
        }
    }
    if (!ok)
        error = "mise à jour de l'index impossible";
    return ok;
}

std::vector<std::vector<CdxEntry>> TagSet::allExpectedEntries(TableFile& file) const
{
    std::vector<std::vector<CdxEntry>> out(tags_.size());
    const auto& h = file.header();
    const std::uint32_t count = file.cachedCount();
    const std::uint32_t len = h.recordLength;
    const std::uint32_t chunk = std::max<std::uint32_t>(1, (1u << 20) / len);
    for (auto& v : out)
        v.reserve(count);
    std::string buf, rec;
    for (std::uint32_t first = 1; first <= count; first += chunk) {
        const std::uint32_t n = std::min(chunk, count - first + 1);
        if (!file.readRecords(first, n, buf))
            break;
        for (std::uint32_t j = 0; j < n; ++j) {
            const char* bytes = buf.data() + static_cast<std::size_t>(j) * len;
            rec.assign(bytes, len);
            const RawRecord src(file, rec, first + j);
            for (std::size_t t = 0; t < tags_.size(); ++t) {
                if (!tags_[t].usable)
                    continue;
                if (auto k = keyOf(static_cast<int>(t), src))
                    out[t].push_back(CdxEntry{std::move(*k), first + j});
            }
        }
    }
    for (std::size_t t = 0; t < tags_.size(); ++t) {
        auto& v = out[t];
        std::sort(v.begin(), v.end(), entryLess);
        if (tags_[t].info.unique)
            v.erase(std::unique(v.begin(), v.end(), [](const CdxEntry& a, const CdxEntry& b) { return a.key == b.key; }),
                    v.end());
    }
    return out;
}

std::vector<CdxEntry> TagSet::expectedEntries(TableFile& file, int tag) const
{
    return allExpectedEntries(file)[static_cast<std::size_t>(tag)];
}

std::vector<std::string> TagSet::check(TableFile& file) const
{
    std::vector<std::string> problems;
    const auto expected = allExpectedEntries(file);
    for (int i = 0; i < count(); ++i) {
        const Tag& t = tags_[static_cast<std::size_t>(i)];
        for (const auto& p : index_->check(i))
            problems.push_back("étiquette " + t.info.name + " : " + p);
        if (!t.usable)
            continue;
        const std::vector<CdxEntry> actual = index_->entries(i);
        const auto& want = expected[static_cast<std::size_t>(i)];
        if (actual.size() != want.size()) {
            problems.push_back("étiquette " + t.info.name + " : " + std::to_string(actual.size()) + " clés pour "
                               + std::to_string(want.size()) + " attendues");
            continue;
        }
        for (std::size_t j = 0; j < actual.size(); ++j) {
            if (actual[j].key != want[j].key || actual[j].recno != want[j].recno) {
                problems.push_back("étiquette " + t.info.name + " : clé " + std::to_string(j + 1)
                                   + " différente de la table (enregistrement " + std::to_string(want[j].recno) + ")");
                break;
            }
        }
    }
    return problems;
}

bool TagSet::rebuild(TableFile& file, std::string& error)
{
    auto expected = allExpectedEntries(file);
    for (int i = 0; i < count(); ++i)
        if (!tags_[static_cast<std::size_t>(i)].usable)
            expected[static_cast<std::size_t>(i)] = index_->entries(i);
    return index_->rebuildAll(expected, error);
}

bool TagSet::addTag(TableFile& file, const std::string& name, const std::string& keyExpression, bool unique,
                    const std::string& forExpression, std::string& error)
{
    const std::string tagName = upper(name);
    if (tagName.empty() || tagName.size() > 10) {
        error = "nom d'étiquette invalide : " + name;
        return false;
    }
    if (find(tagName) >= 0) {
        error = "l'étiquette existe déjà : " + tagName;
        return false;
    }
    Tag t;
    t.key = Expression::parse(keyExpression, &error);
    if (!t.key)
        return false;
    if (!forExpression.empty()) {
        t.filter = Expression::parse(forExpression, &error);
        if (!t.filter)
            return false;
    }
    const std::string blank = blankRecord(file.header().recordLength);
    const RawRecord blankSource(file, blank, 1);
    auto v = t.key->evaluate(blankSource, &error);
    if (!v)
        return false;
    if (t.filter) {
        auto f = t.filter->evaluate(blankSource, &error);
        if (!f)
            return false;
        if (!std::holds_alternative<bool>(*f)) {
            error = "la condition FOR doit être logique";
            return false;
        }
    }
    t.info.name = tagName;
    t.info.keyExpression = keyExpression;
    t.info.forExpression = forExpression;
    t.info.unique = unique;
    switch (v->index()) {
    case 0: {
        t.valueType = 'C';
        t.info.keyType = 'C';
        const auto len = utf8ToCodePage(codePage_, std::get<std::string>(*v)).size();
        if (len < 1 || len > kMaxKeyLength) {
            error = "longueur de clé invalide (" + std::to_string(len) + ")";
            return false;
        }
        t.info.keyLength = static_cast<int>(len);
        break;
    }
    case 1:
    case 3:
        t.valueType = v->index() == 1 ? 'N' : 'D';
        t.info.keyType = 'N';
        t.info.keyLength = 8;
        break;
    default:
        t.valueType = 'L';
        t.info.keyType = 'L';
        t.info.keyLength = 1;
        break;
    }
    tags_.push_back(t);
    rawFields_.push_back(t.valueType == 'C' ? plainTextFields(file, keyExpression) : std::vector<int>{});
    numericField_.push_back(t.valueType == 'N' ? plainNumericField(file, keyExpression) : -1);
    std::vector<CdxEntry> entries = expectedEntries(file, count() - 1);
    if (!index_->addTag(t.info, std::move(entries), error)) {
        tags_.pop_back();
        rawFields_.pop_back();
        numericField_.pop_back();
        return false;
    }
    return index_->flush(error);
}

bool TagSet::flush(std::string& error) { return index_->flush(error); }

}  // namespace derode::engine
