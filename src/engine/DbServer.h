#pragma once
// The table engine's contract: one open dBase table (with its structural FoxPro compound
// index, opened with it) and the whole-table commands. Every string is UTF-8; the engine
// converts to and from the table's code page. Nothing throws across this contract: a failed
// open gives an unopened server with a reason, a failed operation returns false.
//
// Records marked deleted are hidden from navigation, seeks and visible counts for the whole
// run; only a pack removes them. The physical record count stays available.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>
#include <memory>

namespace derode::engine {

// A calendar date; the empty date (all zero) is a blank date field.
struct Date {
    int year = 0;
    int month = 0;
    int day = 0;

    bool empty() const { return year == 0; }
    std::string iso() const;   // "YYYY-MM-DD", "" when empty
    std::string dtos() const;  // "YYYYMMDD", 8 blanks when empty
    static Date fromDtos(const std::string& yyyymmdd);  // empty when not a date
    long julianDay() const;    // 0 when empty
    static Date fromJulianDay(long julianDay);  // empty for 0 or less
    static Date today();
    friend bool operator==(const Date&, const Date&) = default;
};

// A field value: text (C), number (N), logical (L) or date (D).
using Value = std::variant<std::string, double, bool, Date>;

struct FieldDef {
    std::string name;  // up to 10 characters, stored in capitals
    char type = 'C';   // 'C', 'N', 'L', 'D'; other types open read-only
    int length = 1;
    int decimals = 0;
};

class Table;  // the engine's inside

// `CDBSERVEREX`: the handle of one open table in its own work area.
class CDBSERVEREX {
public:
    // Opens `path` with its structural index. An empty alias gets a fresh unique one; an
    // empty driver list means the default ("DBFCDX"). An exclusive open (shared = false)
    // fails while the table is open anywhere else, in this process or another.
    explicit CDBSERVEREX(const std::string& path, const std::string& alias = {}, bool shared = true,
                         bool readOnly = false, const std::vector<std::string>& drivers = {});
    ~CDBSERVEREX();  // closes
    CDBSERVEREX(const CDBSERVEREX&) = delete;
    CDBSERVEREX& operator=(const CDBSERVEREX&) = delete;

    bool used() const;                  // the open succeeded and the table is not closed
    // Reason of the last failure (in French). After a successful open: what was done to the
    // index (rebuilt because it disagreed with the table, a tag kept read-only), else empty.
    const std::string& lastError() const;
    const std::string& alias() const;
    const std::string& path() const;
    std::string RDDNAME() const;        // "DBFCDX"
    bool OPEN() const { return used(); }

    // Navigation, in the selected tag's order (record order without a tag).
    bool goTop();
    bool goBottom();
    bool skip(long count = 1);
    bool goTo(std::uint32_t recno);
    bool eof() const;
    bool bof() const;
    std::uint32_t recNo() const;
    std::uint32_t recCount() const;     // physical records, deleted ones included
    std::uint32_t visibleCount();       // records not marked deleted

    // Fields, by 1-based position or by name (case-insensitive).
    int fieldCount() const;
    const std::vector<FieldDef>& fields() const;
    std::string fieldName(int position) const;
    int fieldPos(const std::string& name) const;  // 0 when absent
    Value fieldGet(int position) const;
    Value fieldGet(const std::string& name) const;
    // Convenience readers: text as stored (blank padded) / number / logical / date.
    std::string getText(int position) const;
    std::string getText(const std::string& name) const;
    double getNumber(int position) const;
    double getNumber(const std::string& name) const;
    bool getLogical(int position) const;
    bool getLogical(const std::string& name) const;
    Date getDate(int position) const;
    Date getDate(const std::string& name) const;
    bool fieldPut(int position, const Value& value);
    bool fieldPut(const std::string& name, const Value& value);

    // Records.
    bool append();          // a blank record, made current
    bool deleteRecord();    // marks the current record deleted (then hidden)
    bool isDeleted() const;
    bool pack();            // needs exclusive use
    bool zap();             // needs exclusive use
    bool reindex();         // rebuilds every tag from the table
    bool commit();          // writes pending changes
    void close();

    // Index tags of the structural index.
    std::vector<std::string> tagNames() const;
    bool setOrder(const std::string& tag);  // "" for record order
    std::string order() const;
    // Adds a tag to the structural index (creating the .cdx when needed) and builds it.
    bool createTag(const std::string& tag, const std::string& keyExpression, bool unique = false,
                   const std::string& forExpression = {});
    // Seeks in the selected tag: the first key that starts with `key` (soft seek: when none
    // does, positioned on the next greater key, or at end of table). Returns found.
    bool seek(const Value& key, bool softSeek = true);
    bool found() const;

    bool isShared() const;
    bool isReadOnly() const;

private:
    // Pack, zap and reindex: flush, rewrite the table when asked, rebuild the index.
    enum class RewriteKind { Pack, Zap, Reindex };
    bool rewriteTable(RewriteKind kind);

    std::unique_ptr<Table> table_;
    std::string alias_;
    std::string path_;
    std::string error_;
};

// Whole-table commands.
// Creates a table (Windows-1252, no index) from a field list; replaces nothing that exists.
bool createTable(const std::string& path, const std::vector<FieldDef>& fields, std::string* error = nullptr);
// Appends every visible record of `sourcePath` to `target`, fields matched by name
// (fields missing from the source stay empty).
bool appendFrom(CDBSERVEREX& target, const std::string& sourcePath, std::string* error = nullptr);
// Closes every table open in this process.
void closeAll();
// Whether the file is a table the engine can open, by its first byte and its field types.
bool ISFILEDBF(const std::string& path);

}  // namespace derode::engine
