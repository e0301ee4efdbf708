#pragma once
// The xBase expression evaluator: the key and FOR expressions of index tags and the filters of
// the report engine. Field names (case-insensitive), "+" and "-" on text, numbers and dates,
// "*" "/" on numbers, the usual text, number and date functions, RECNO(), DELETED(), comparisons
// ("=" on text is the prefix comparison of SET EXACT OFF, "==" the exact one), logical constants
// and operators. Text values are UTF-8; dates print as YYYY-MM-DD, the run's date format.

#include "engine/DbServer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace derode::engine {

// What an expression reads its fields from.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // False when the name is not a field. `upperName` is in capitals.
    virtual bool fieldValue(const std::string& upperName, Value& out) const = 0;
    virtual std::uint32_t recNo() const = 0;
    virtual bool deleted() const = 0;
};

struct ExprNode;

class Expression {
public:
    static std::optional<Expression> parse(const std::string& text, std::string* error = nullptr);
    std::optional<Value> evaluate(const RecordSource& record, std::string* error = nullptr) const;
    const std::string& text() const { return text_; }
    // Field names the expression reads, in capitals.
    std::vector<std::string> fieldNames() const;

private:
    std::string text_;
    std::shared_ptr<const ExprNode> root_;
};

// A record source over the current record of an open server.
class ServerRecord : public RecordSource {
public:
    explicit ServerRecord(const CDBSERVEREX& server) : server_(server) {}
    bool fieldValue(const std::string& upperName, Value& out) const override;
    std::uint32_t recNo() const override;
    bool deleted() const override;

private:
    const CDBSERVEREX& server_;
};

// xBase STR(): the number right-aligned in `width` characters with `decimals` decimals;
// asterisks when it does not fit.
std::string xbaseStr(double value, int width = 10, int decimals = 0);
// xBase VAL(): the leading number of the text (0 when none).
double xbaseVal(const std::string& text);
// xBase string comparison with SET EXACT OFF: compares as far as the right operand goes;
// an empty right operand equals anything. <0, 0, >0.
int xbaseCompare(const std::string& left, const std::string& right);

}  // namespace derode::engine
