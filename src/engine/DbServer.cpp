// The table engine: dBase tables with their structural FoxPro compound index, behind the
// CDBSERVEREX contract. Each handle is a work area with its own cursor over a TableFile shared
// by every handle of the same path in this process; the TagSet keeps the index current.

#include "engine/DbServer.h"

#include "engine/TableFile.h"
#include "engine/TagSet.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include <fcntl.h>
#include <unistd.h>

namespace derode::engine {

namespace {

std::string upper(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Every open handle, for closeAll() and fresh aliases.
struct ServerList {
    std::mutex mutex;
    std::set<CDBSERVEREX*> servers;
    unsigned long nextAlias = 1;
    static ServerList& get()
    {
        static ServerList list;
        return list;
    }
};

}  // namespace

// One work area: the cursor over a shared table file.
class Table {
public:
    std::shared_ptr<TableFile> file;
    bool shared = true;
    bool readOnly = false;
    std::uint32_t recno = 0;
    bool atEof = true;
    bool atBof = false;
    bool found = false;
    std::string record;    // current record as it will be written
    std::string original;  // current record as it is on disk
    bool dirty = false;
    bool indexPending = false;  // appended, its keys not yet in the index
    bool appendPending = false; // appended, not yet written to the file
    int order = -1;             // selected tag, -1 for record order
    CdxEntry seekEntry;         // scratch of seek()

    const DbfHeader& header() const { return file->header(); }
    TagSet* tags() const { return file->tags(); }

    void blank()
    {
        record = blankRecord(header().recordLength);
        original = record;
        dirty = indexPending = appendPending = false;
    }

    bool flush(std::string& error)
    {
        if (!dirty && !indexPending && !appendPending)
            return true;
        if (appendPending) {
            // The appended record reaches the file whole, with its fields, before the count.
            appendPending = false;
            if (!file->appendRecord(record, recno, error)) {
                setEof();
                return false;
            }
            dirty = false;
            indexPending = tags() != nullptr;
        }
        if (dirty && !file->writeRecord(recno, record, error))
            return false;
        const bool wasPending = indexPending;
        dirty = indexPending = false;
        if (tags() && !tags()->recordWritten(*file, recno, wasPending ? nullptr : &original, record, error)) {
            original = record;
            return false;
        }
        original = record;
        return true;
    }

    bool load(std::uint32_t r)
    {
        if (r < 1 || r > file->cachedCount() || !file->readRecord(r, record)) {
            setEof();
            return false;
        }
        original = record;
        dirty = indexPending = false;
        recno = r;
        atEof = false;
        return true;
    }

    void setEof()
    {
        recno = file->cachedCount() + 1;
        atEof = true;
        blank();
    }

    bool deletedRecord() const { return !record.empty() && record[0] == '*'; }

    // ---- record order ----
    bool visibleFrom(std::uint32_t r, int step)
    {
        const std::uint32_t count = file->cachedCount();
        while (r >= 1 && r <= count) {
            if (load(r) && !deletedRecord())
                return true;
            r = step > 0 ? r + 1 : r - 1;
        }
        return false;
    }

    // ---- tag order ----
    CdxEntry currentEntry() const
    {
        CdxEntry e;
        e.recno = recno;
        RawRecord src(*file, record, recno);
        // A record the FOR excludes is placed where its key would sort.
        e.key = tags()->keyOf(order, src, true).value_or(std::string());
        return e;
    }

    // The first (top) or last visible record in the current order; end of table when there is none.
    bool goEdge(bool top)
    {
        const std::uint32_t count = file->recordCount();
        atBof = false;
        if (order < 0) {
            if (!visibleFrom(top ? 1 : count, top ? 1 : -1))
                setEof();
            return !atEof;
        }
        const CdxIndex& index = tags()->index();
        CdxEntry e;
        if (!(top ? index.first(order, e) : index.last(order, e)) || !settleOn(e, top))
            setEof();
        return !atEof;
    }

    // Moves along the tag from entry `e` (included) while the records are deleted; `e` ends as
    // the entry of the record landed on.
    bool settleOn(CdxEntry& e, bool forward)
    {
        const CdxIndex& index = tags()->index();
        CdxEntry n;
        for (;;) {
            if (load(e.recno) && !deletedRecord())
                return true;
            const bool ok = forward ? index.next(order, e, n) : index.prev(order, e, n);
            if (!ok)
                return false;
            std::swap(e, n);
        }
    }
};

namespace {

// What an operation needs of its work area.
enum class Access {
    Open,           // an open table
    Write,          // a writable table
    WriteRecord,    // a writable table positioned on a record
    ExclusiveWrite, // a writable table that nobody else has open
};

// The work area when it allows `need`, else null with the reason in `error`.
Table* tableFor(const std::unique_ptr<Table>& table, Access need, std::string& error)
{
    if (!table) {
        error = "table fermée";
        return nullptr;
    }
    Table& t = *table;
    if (need == Access::ExclusiveWrite && (t.readOnly || t.shared)) {
        error = "la table doit être ouverte en exclusivité et en écriture";
        return nullptr;
    }
    if (need != Access::Open && t.readOnly) {
        error = "table en lecture seule";
        return nullptr;
    }
    if (need == Access::WriteRecord && t.atEof) {
        error = "aucun enregistrement courant";
        return nullptr;
    }
    return &t;
}

// tableFor, then the pending writes done; null when either fails.
Table* flushedTableFor(const std::unique_ptr<Table>& table, Access need, std::string& error)
{
    Table* t = tableFor(table, need, error);
    return t && t->flush(error) ? t : nullptr;
}

// The work area with its pending writes done; null when it is closed or the writes fail.
Table* flushedTable(const std::unique_ptr<Table>& table, std::string& error)
{
    return table && table->flush(error) ? table.get() : nullptr;
}

// A field value as the type a convenience reader returns; the type's empty value otherwise.
template <typename T>
T valueAs(const Value& v)
{
    if (const auto* p = std::get_if<T>(&v))
        return *p;
    return T{};
}

}  // namespace

// ---- CDBSERVEREX --------------------------------------------------------------------------

CDBSERVEREX::CDBSERVEREX(const std::string& path, const std::string& alias, bool shared, bool readOnly,
                         const std::vector<std::string>& drivers)
    : path_(path)
{
    {
        auto& list = ServerList::get();
        std::lock_guard lock(list.mutex);
        alias_ = alias.empty() ? "WA" + std::to_string(list.nextAlias++) : upper(alias);
    }
    for (const auto& d : drivers) {
        const std::string u = upper(d);
        if (u != "DBFCDX" && u != "DBF" && u != "DBFNTX") {
            error_ = "pilote de table inconnu : " + d;
            return;
        }
    }
    auto file = TableFile::acquire(path, shared, readOnly, error_);
    if (!file)
        return;
    if (!file->tags() && file->cachedCount() < UINT32_MAX) {
        std::string note;
        auto tags = TagSet::open(*file, file->writable(), error_, note);
        if (!error_.empty())
            return;
        file->setTags(std::move(tags));
        // The open succeeded; lastError() tells what was done to the index (a rebuild, a tag
        // that cannot be kept current).
        error_ = note;
    }
    table_ = std::make_unique<Table>();
    table_->file = std::move(file);
    table_->shared = shared;
    table_->readOnly = readOnly || !table_->file->writable() || (table_->file->tags() && !table_->file->tags()->maintainable());
    {
        auto& list = ServerList::get();
        std::lock_guard lock(list.mutex);
        list.servers.insert(this);
    }
    table_->file->recordCount();
    goTop();
}

CDBSERVEREX::~CDBSERVEREX() { close(); }

bool CDBSERVEREX::used() const { return table_ != nullptr; }
const std::string& CDBSERVEREX::lastError() const { return error_; }
const std::string& CDBSERVEREX::alias() const { return alias_; }
const std::string& CDBSERVEREX::path() const { return path_; }
std::string CDBSERVEREX::RDDNAME() const { return "DBFCDX"; }

void CDBSERVEREX::close()
{
    if (!table_)
        return;
    std::string error;
    table_->flush(error);
    if (auto* tags = table_->tags())
        tags->flush(error);
    table_.reset();
    auto& list = ServerList::get();
    std::lock_guard lock(list.mutex);
    list.servers.erase(this);
}

bool CDBSERVEREX::goTop()
{
    Table* t = flushedTable(table_, error_);
    return t && t->goEdge(true);
}

bool CDBSERVEREX::goBottom()
{
    Table* t = flushedTable(table_, error_);
    return t && t->goEdge(false);
}

bool CDBSERVEREX::skip(long count)
{
    Table* table = flushedTable(table_, error_);
    if (!table)
        return false;
    Table& t = *table;
    t.atBof = false;
    if (count == 0) {
        if (!t.atEof)
            t.load(t.recno);
        return !t.atEof;
    }
    if (t.atEof) {
        if (count > 0)
            return false;
        // Skipping back from the end lands on the last record.
        if (!goBottom())
            return false;
        ++count;
        if (count == 0)
            return true;
    }
    const bool forward = count > 0;
    long steps = forward ? count : -count;
    while (steps-- > 0) {
        const std::uint32_t here = t.recno;
        bool moved = false;
        if (t.order < 0) {
            moved = t.visibleFrom(forward ? here + 1 : here - 1, forward ? 1 : -1);
        } else {
            const CdxEntry cur = t.currentEntry();
            const CdxIndex& index = t.tags()->index();
            CdxEntry n;
            moved = (forward ? index.next(t.order, cur, n) : index.prev(t.order, cur, n)) && t.settleOn(n, forward);
        }
        if (!moved) {
            if (forward) {
                t.setEof();
                return false;
            }
            // Before the first record: stay on it, with bof set.
            t.load(here);
            goTop();
            t.atBof = true;
            return false;
        }
    }
    return true;
}

bool CDBSERVEREX::goTo(std::uint32_t recno)
{
    Table* table = flushedTable(table_, error_);
    if (!table)
        return false;
    Table& t = *table;
    t.atBof = false;
    if (recno > t.file->cachedCount())
        t.file->recordCount();
    return t.load(recno);
}

bool CDBSERVEREX::eof() const { return !table_ || table_->atEof; }
bool CDBSERVEREX::bof() const { return !table_ || table_->atBof; }
std::uint32_t CDBSERVEREX::recNo() const { return table_ ? table_->recno : 0; }
std::uint32_t CDBSERVEREX::recCount() const
{
    if (!table_)
        return 0;
    return table_->file->recordCount() + (table_->appendPending ? 1 : 0);
}

std::uint32_t CDBSERVEREX::visibleCount()
{
    Table* table = flushedTable(table_, error_);
    if (!table)
        return 0;
    Table& t = *table;
    const std::uint32_t count = t.file->recordCount();
    const std::uint32_t len = t.header().recordLength;
    const std::uint32_t chunk = std::max<std::uint32_t>(1, (1u << 20) / len);
    std::uint32_t visible = 0;
    std::string buf;
    for (std::uint32_t first = 1; first <= count; first += chunk) {
        const std::uint32_t n = std::min(chunk, count - first + 1);
        if (!t.file->readRecords(first, n, buf))
            break;
        for (std::uint32_t i = 0; i < n; ++i)
            if (buf[static_cast<std::size_t>(i) * len] != '*')
                ++visible;
    }
    return visible;
}

int CDBSERVEREX::fieldCount() const { return table_ ? static_cast<int>(table_->header().fields.size()) : 0; }

const std::vector<FieldDef>& CDBSERVEREX::fields() const
{
    static const std::vector<FieldDef> none;
    return table_ ? table_->header().fields : none;
}

std::string CDBSERVEREX::fieldName(int position) const
{
    if (!table_ || position < 1 || position > fieldCount())
        return {};
    return table_->header().fields[static_cast<std::size_t>(position - 1)].name;
}

int CDBSERVEREX::fieldPos(const std::string& name) const
{
    return table_ ? table_->file->fieldIndex(upper(name)) + 1 : 0;
}

Value CDBSERVEREX::fieldGet(int position) const
{
    if (!table_ || position < 1 || position > fieldCount())
        return Value(std::string());
    const auto i = static_cast<std::size_t>(position - 1);
    const auto& h = table_->header();
    return decodeField(h.fields[i], table_->record.data() + h.offsets[i], table_->file->codePage());
}

Value CDBSERVEREX::fieldGet(const std::string& name) const { return fieldGet(fieldPos(name)); }

std::string CDBSERVEREX::getText(int position) const { return valueAs<std::string>(fieldGet(position)); }
std::string CDBSERVEREX::getText(const std::string& name) const { return getText(fieldPos(name)); }
double CDBSERVEREX::getNumber(int position) const { return valueAs<double>(fieldGet(position)); }
double CDBSERVEREX::getNumber(const std::string& name) const { return getNumber(fieldPos(name)); }
bool CDBSERVEREX::getLogical(int position) const { return valueAs<bool>(fieldGet(position)); }
bool CDBSERVEREX::getLogical(const std::string& name) const { return getLogical(fieldPos(name)); }
Date CDBSERVEREX::getDate(int position) const { return valueAs<Date>(fieldGet(position)); }
Date CDBSERVEREX::getDate(const std::string& name) const { return getDate(fieldPos(name)); }

bool CDBSERVEREX::fieldPut(int position, const Value& value)
{
    Table* table = tableFor(table_, Access::WriteRecord, error_);
    if (!table)
        return false;
    Table& t = *table;
    if (position < 1 || position > fieldCount()) {
        error_ = "champ inconnu";
        return false;
    }
    const auto i = static_cast<std::size_t>(position - 1);
    const auto& h = t.header();
    if (!encodeField(h.fields[i], value, t.file->codePage(), t.record.data() + h.offsets[i], error_))
        return false;
    t.dirty = true;
    return true;
}

bool CDBSERVEREX::fieldPut(const std::string& name, const Value& value)
{
    const int pos = fieldPos(name);
    if (pos == 0) {
        error_ = "champ inconnu : " + name;
        return false;
    }
    return fieldPut(pos, value);
}

bool CDBSERVEREX::append()
{
    Table* table = flushedTableFor(table_, Access::Write, error_);
    if (!table)
        return false;
    Table& t = *table;
    // Written at the next flush (any other operation), fields included, in one write.
    t.recno = t.file->recordCount() + 1;
    t.record = t.original = blankRecord(t.header().recordLength);
    t.dirty = t.indexPending = false;
    t.appendPending = true;
    t.atEof = t.atBof = false;
    return true;
}

bool CDBSERVEREX::deleteRecord()
{
    Table* table = tableFor(table_, Access::WriteRecord, error_);
    if (!table)
        return false;
    Table& t = *table;
    t.record[0] = '*';
    t.dirty = true;
    return t.flush(error_);
}

bool CDBSERVEREX::isDeleted() const { return table_ && !table_->atEof && table_->deletedRecord(); }

bool CDBSERVEREX::pack() { return rewriteTable(RewriteKind::Pack); }
bool CDBSERVEREX::zap() { return rewriteTable(RewriteKind::Zap); }
bool CDBSERVEREX::reindex() { return rewriteTable(RewriteKind::Reindex); }

bool CDBSERVEREX::rewriteTable(RewriteKind kind)
{
    Table* table = flushedTableFor(table_, kind == RewriteKind::Reindex ? Access::Write : Access::ExclusiveWrite, error_);
    if (!table)
        return false;
    Table& t = *table;
    if (kind != RewriteKind::Reindex && !t.file->rewrite(kind == RewriteKind::Zap, error_))
        return false;
    if (t.tags() && !t.tags()->rebuild(*t.file, error_))
        return false;
    goTop();
    return true;
}

bool CDBSERVEREX::commit()
{
    Table* table = flushedTableFor(table_, Access::Open, error_);
    if (!table)
        return false;
    if (auto* tags = table->tags())
        return tags->flush(error_);
    return true;
}

std::vector<std::string> CDBSERVEREX::tagNames() const
{
    std::vector<std::string> names;
    if (table_ && table_->tags())
        for (int i = 0; i < table_->tags()->count(); ++i)
            names.push_back(table_->tags()->tag(i).info.name);
    return names;
}

bool CDBSERVEREX::setOrder(const std::string& tag)
{
    Table* table = flushedTable(table_, error_);
    if (!table)
        return false;
    Table& t = *table;
    if (tag.empty()) {
        t.order = -1;
        return true;
    }
    const int i = t.tags() ? t.tags()->find(tag) : -1;
    if (i < 0) {
        error_ = "étiquette d'index inconnue : " + tag;
        return false;
    }
    t.order = i;
    return true;
}

std::string CDBSERVEREX::order() const
{
    if (!table_ || table_->order < 0)
        return {};
    return table_->tags()->tag(table_->order).info.name;
}

bool CDBSERVEREX::createTag(const std::string& tag, const std::string& keyExpression, bool unique,
                            const std::string& forExpression)
{
    Table* table = flushedTableFor(table_, Access::Write, error_);
    if (!table)
        return false;
    Table& t = *table;
    if (!t.tags()) {
        auto tags = TagSet::create(*t.file, error_);
        if (!tags)
            return false;
        t.file->setTags(std::move(tags));
    }
    if (!t.file->markStructuralIndex(error_))
        return false;
    return t.tags()->addTag(*t.file, tag, keyExpression, unique, forExpression, error_);
}

bool CDBSERVEREX::seek(const Value& key, bool softSeek)
{
    if (!table_)
        return false;
    Table& t = *table_;
    t.found = false;
    if (!t.flush(error_))
        return false;
    t.atBof = false;
    if (t.order < 0) {
        error_ = "aucune étiquette d'index choisie";
        t.setEof();
        return false;
    }
    t.file->recordCount();
    auto wanted = t.tags()->seekKey(t.order, key, t.file->codePage());
    if (!wanted) {
        error_ = "clé de recherche d'un type inattendu";
        t.setEof();
        return false;
    }
    // Kept between seeks, so that its key's buffer is reused.
    CdxEntry& e = t.seekEntry;
    if (!t.tags()->index().seek(t.order, *wanted, e) || !t.settleOn(e, true)) {
        t.setEof();
        return false;
    }
    // The index holds each record's key as the table gives it (checked at open, kept at each write).
    t.found = e.key.compare(0, wanted->size(), *wanted) == 0;
    if (!t.found && !softSeek)
        t.setEof();
    return t.found;
}

bool CDBSERVEREX::found() const { return table_ && table_->found; }
bool CDBSERVEREX::isShared() const { return table_ && table_->shared; }
bool CDBSERVEREX::isReadOnly() const { return table_ && table_->readOnly; }

// ---- Whole-table commands -----------------------------------------------------------------

bool createTable(const std::string& path, const std::vector<FieldDef>& fields, std::string* error)
{
    std::string message;
    std::vector<FieldDef> defs = fields;
    if (!validateFields(defs, message)) {
        if (error)
            *error = message;
        return false;
    }
    DbfHeader h;
    h.version = 0x03;
    h.languageDriver = 0x03;
    h.fields = defs;
    h.lastUpdate = Date::today();
    std::string bytes = buildDbfHeader(h);
    bytes += '\x1A';
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = errno == EEXIST ? "le fichier existe déjà" : std::string("création impossible : ") + std::strerror(errno);
        return false;
    }
    bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(path.c_str());
        if (error)
            *error = "écriture impossible";
    }
    return ok;
}

namespace {

// A source value brought to the target field's type.
std::optional<Value> convertValue(const Value& v, char targetType)
{
    switch (targetType) {
    case 'C':
        if (std::holds_alternative<std::string>(v))
            return v;
        if (auto* d = std::get_if<double>(&v)) {
            std::string s = xbaseStr(*d, 20, *d == static_cast<long long>(*d) ? 0 : 4);
            return Value(s.substr(s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' ')));
        }
        if (auto* b = std::get_if<bool>(&v))
            return Value(std::string(*b ? "T" : "F"));
        return Value(std::get<Date>(v).dtos());
    case 'N':
        if (std::holds_alternative<double>(v))
            return v;
        if (auto* s = std::get_if<std::string>(&v))
            return Value(xbaseVal(*s));
        return std::nullopt;
    case 'L':
        if (std::holds_alternative<bool>(v))
            return v;
        if (auto* s = std::get_if<std::string>(&v))
            return Value(!s->empty() && std::strchr("TtYy", (*s)[0]) != nullptr);
        return std::nullopt;
    case 'D':
        if (std::holds_alternative<Date>(v))
            return v;
        if (auto* s = std::get_if<std::string>(&v))
            return Value(Date::fromDtos(*s));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace

bool appendFrom(CDBSERVEREX& target, const std::string& sourcePath, std::string* error)
{
    auto fail = [&](const std::string& m) {
        if (error)
            *error = m;
        return false;
    };
    if (!target.used())
        return fail("table de destination fermée");
    if (target.isReadOnly())
        return fail("table de destination en lecture seule");
    CDBSERVEREX source(sourcePath, {}, true, true);
    if (!source.used())
        return fail("ouverture de " + sourcePath + " impossible : " + source.lastError());
    // Pairs (target position, source position) of the fields with the same name.
    std::vector<std::pair<int, int>> pairs;
    for (int i = 1; i <= target.fieldCount(); ++i)
        if (const int s = source.fieldPos(target.fieldName(i)); s > 0)
            pairs.emplace_back(i, s);
    const std::uint32_t count = source.recCount();
    for (std::uint32_t r = 1; r <= count; ++r) {
        if (!source.goTo(r))
            return fail("lecture de " + sourcePath + " impossible");
        if (source.isDeleted())
            continue;
        if (!target.append())
            return fail(target.lastError());
        for (const auto& [ti, si] : pairs) {
            const char type = target.fields()[static_cast<std::size_t>(ti - 1)].type;
            auto v = convertValue(source.fieldGet(si), type);
            if (v && !target.fieldPut(ti, *v))
                return fail(target.lastError());
        }
    }
    if (!target.commit())
        return fail(target.lastError());
    return true;
}

void closeAll()
{
    std::vector<CDBSERVEREX*> servers;
    {
        auto& list = ServerList::get();
        std::lock_guard lock(list.mutex);
        servers.assign(list.servers.begin(), list.servers.end());
    }
    for (auto* s : servers)
        s->close();
}

bool ISFILEDBF(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    unsigned char head[32];
    const std::size_t n = std::fread(head, 1, sizeof head, f);
    bool result = false;
    if (n >= 1) {
        switch (head[0]) {
        case 0x03: case 0x07: case 0x83: case 0x87: case 0x8B: case 0xF5:
            result = true;
            break;
        case 0x30:
        case 0x31: {
            // Visual FoxPro: only the tables without the types and flags the engine cannot write.
            result = n == sizeof head && head[28] != 2 && head[28] != 3;
            unsigned char d[32];
            while (result && std::fread(d, 1, 1, f) == 1 && d[0] != 0x0D) {
                if (std::fread(d + 1, 1, 31, f) != 31)
                    break;
                const char type = static_cast<char>(d[11]);
                if (std::strchr("0TIBMYGP", type) != nullptr && type != '\0')
                    result = false;
                if (type == 'C' && (d[18] == 4 || d[18] == 6))
                    result = false;
            }
            break;
        }
        default:
            break;
        }
    }
    std::fclose(f);
    return result;
}

}  // namespace derode::engine
