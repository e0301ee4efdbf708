#include "engine/Expression.h"

#include "core/Encoding.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace derode::engine {

struct ExprNode {
    enum class Kind { Literal, Field, Call, Unary, Binary };
    Kind kind = Kind::Literal;
    Value literal;
    std::string name;  // field or function name, operator
    std::vector<std::shared_ptr<const ExprNode>> args;
};

namespace {

using NodePtr = std::shared_ptr<const ExprNode>;
constexpr int kMaxDepth = 200;  // nesting limit: a hostile expression never exhausts the stack

std::string upperAscii(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// ---- Text helpers on code points ----------------------------------------------------------

std::u32string decode(const std::string& s)
{
    std::u32string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    while (pos < s.size())
        out += core::decodeUtf8(s, pos);
    return out;
}

std::string encode(const std::u32string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s)
        core::appendUtf8(out, c);
    return out;
}

bool isAscii(const std::string& s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

// Windows-1252 letters whose two cases lie outside Latin-1's regular blocks: {lower, upper}.
constexpr std::pair<char32_t, char32_t> kOddCases[] = {{0xFF, 0x178}, {0x153, 0x152}, {0x161, 0x160}, {0x17E, 0x17D}};

char32_t upperChar(char32_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 32;
    for (const auto& [lower, upper] : kOddCases)
        if (c == lower)
            return upper;
    return c;
}

char32_t lowerChar(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 32;
    for (const auto& [lower, upper] : kOddCases)
        if (c == upper)
            return lower;
    return c;
}

std::string mapCase(const std::string& s, char32_t (*f)(char32_t))
{
    std::u32string u = decode(s);
    for (auto& c : u)
        c = f(c);
    return encode(u);
}

std::string rtrim(const std::string& s)
{
    std::size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ')
        --end;
    return s.substr(0, end);
}

std::string ltrim(const std::string& s)
{
    std::size_t start = 0;
    while (start < s.size() && s[start] == ' ')
        ++start;
    return s.substr(start);
}

std::size_t charLength(const std::string& s)
{
    if (isAscii(s))
        return s.size();
    return decode(s).size();
}

// Characters [start, start+count) of s, 0-based, clamped.
std::string substrChars(const std::string& s, long start, long count)
{
    if (start < 0)
        start = 0;
    if (isAscii(s)) {
        if (static_cast<std::size_t>(start) >= s.size() || count <= 0)
            return {};
        return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
    }
    std::u32string u = decode(s);
    if (static_cast<std::size_t>(start) >= u.size() || count <= 0)
        return {};
    return encode(u.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

// ---- Lexer --------------------------------------------------------------------------------

struct Token {
    enum class Type { End, Number, String, Name, Op, True, False, And, Or, Not } type = Type::End;
    std::string text;
    double number = 0;
};

class Lexer {
public:
    explicit Lexer(const std::string& s) : s_(s) {}

    bool next(Token& t, std::string& error)
    {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
        t = Token{};
        if (pos_ >= s_.size())
            return true;
        const char c = s_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c))
            || (c == '.' && pos_ + 1 < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_ + 1])))) {
            std::size_t start = pos_;
            while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.'))
                ++pos_;
            t.type = Token::Type::Number;
            t.text = s_.substr(start, pos_ - start);
            t.number = std::strtod(t.text.c_str(), nullptr);
            return true;
        }
        if (c == '"' || c == '\'' || c == '[') {
            const char close = c == '[' ? ']' : c;
            std::size_t end = s_.find(close, pos_ + 1);
            if (end == std::string::npos) {
                error = "chaîne non terminée";
                return false;
            }
            t.type = Token::Type::String;
            t.text = s_.substr(pos_ + 1, end - pos_ - 1);
            pos_ = end + 1;
            return true;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t start = pos_;
            while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_'))
                ++pos_;
            t.type = Token::Type::Name;
            t.text = upperAscii(s_.substr(start, pos_ - start));
            // alias->field: the alias is dropped; the record source is the only table.
            if (s_.compare(pos_, 2, "->") == 0) {
                pos_ += 2;
                return next(t, error);
            }
            return true;
        }
        if (c == '.') {
            std::size_t end = s_.find('.', pos_ + 1);
            if (end != std::string::npos) {
                const std::string word = upperAscii(s_.substr(pos_ + 1, end - pos_ - 1));
                const Token::Type type = word == "T" || word == "Y" ? Token::Type::True
                    : word == "F" || word == "N"                    ? Token::Type::False
                    : word == "AND"                                 ? Token::Type::And
                    : word == "OR"                                  ? Token::Type::Or
                    : word == "NOT"                                 ? Token::Type::Not
                                                                    : Token::Type::End;
                if (type != Token::Type::End) {
                    t.type = type;
                    t.text = word;
                    pos_ = end + 1;
                    return true;
                }
            }
            error = "symbole inattendu '.'";
            return false;
        }
        static const char* const ops[] = {"==", "<>", "!=", "<=", ">=", "=", "#", "<", ">", "+", "-", "*",
                                          "/", "%", "(", ")", ",", "!", "$"};
        for (const char* op : ops) {
            const std::size_t n = std::char_traits<char>::length(op);
            if (s_.compare(pos_, n, op) == 0) {
                t.type = Token::Type::Op;
                t.text = op;
                pos_ += n;
                return true;
            }
        }
        error = std::string("caractère inattendu '") + c + "'";
        return false;
    }

private:
    const std::string& s_;
    std::size_t pos_ = 0;
};

// ---- Parser -------------------------------------------------------------------------------

class Parser {
public:
    Parser(const std::string& text, std::string& error) : lexer_(text), error_(error) {}

    NodePtr parseAll()
    {
        if (!advance())
            return nullptr;
        NodePtr n = parseOr(0);
        if (!n)
            return nullptr;
        if (tok_.type != Token::Type::End) {
            error_ = "texte en trop après l'expression : " + tok_.text;
            return nullptr;
        }
        return n;
    }

private:
    bool advance() { return lexer_.next(tok_, error_); }
    bool isOp(const char* op) const { return tok_.type == Token::Type::Op && tok_.text == op; }

    NodePtr make(ExprNode::Kind kind, std::string name, std::vector<NodePtr> args)
    {
        auto n = std::make_shared<ExprNode>();
        n->kind = kind;
        n->name = std::move(name);
        n->args = std::move(args);
        return n;
    }

    bool deep(int depth)
    {
        if (depth > kMaxDepth) {
            error_ = "expression trop imbriquée";
            return true;
        }
        return false;
    }

    // A left-associative chain `operand (operator operand)*`; `operatorAt` names the operator at
    // the current token, "" when there is none.
    template <typename OperatorAt>
    NodePtr parseChain(int depth, NodePtr (Parser::*operand)(int), OperatorAt operatorAt)
    {
        NodePtr left = (this->*operand)(depth + 1);
        for (std::string op; left && !(op = operatorAt()).empty();) {
            if (!advance())
                return nullptr;
            NodePtr right = (this->*operand)(depth + 1);
            if (!right)
                return nullptr;
            left = make(ExprNode::Kind::Binary, op, {left, right});
        }
        return left;
    }

    NodePtr parseOr(int depth)
    {
        if (deep(depth))
            return nullptr;
        return parseChain(depth, &Parser::parseAnd,
                          [&] { return std::string(tok_.type == Token::Type::Or ? ".OR." : ""); });
    }

    NodePtr parseAnd(int depth)
    {
        return parseChain(depth, &Parser::parseNot,
                          [&] { return std::string(tok_.type == Token::Type::And ? ".AND." : ""); });
    }

    NodePtr parseNot(int depth)
    {
        if (deep(depth))
            return nullptr;
        if (tok_.type == Token::Type::Not || isOp("!")) {
            if (!advance())
                return nullptr;
            NodePtr operand = parseNot(depth + 1);
            if (!operand)
                return nullptr;
            return make(ExprNode::Kind::Unary, ".NOT.", {operand});
        }
        return parseComparison(depth + 1);
    }

    NodePtr parseComparison(int depth)
    {
        NodePtr left = parseAdditive(depth + 1);
        if (!left)
            return nullptr;
        static const char* const ops[] = {"==", "=", "<>", "#", "!=", "<", "<=", ">", ">=", "$"};
        for (const char* op : ops) {
            if (isOp(op)) {
                std::string name = tok_.text == "#" || tok_.text == "!=" ? "<>" : tok_.text;
                if (!advance())
                    return nullptr;
                NodePtr right = parseAdditive(depth + 1);
                if (!right)
                    return nullptr;
                return make(ExprNode::Kind::Binary, name, {left, right});
            }
        }
        return left;
    }

    NodePtr parseAdditive(int depth)
    {
        return parseChain(depth, &Parser::parseMultiplicative,
                          [&] { return isOp("+") || isOp("-") ? tok_.text : std::string(); });
    }

    NodePtr parseMultiplicative(int depth)
    {
        return parseChain(depth, &Parser::parseUnary,
                          [&] { return isOp("*") || isOp("/") || isOp("%") ? tok_.text : std::string(); });
    }

    NodePtr parseUnary(int depth)
    {
        if (deep(depth))
            return nullptr;
        if (isOp("-") || isOp("+")) {
            std::string op = tok_.text;
            if (!advance())
                return nullptr;
            NodePtr operand = parseUnary(depth + 1);
            if (!operand)
                return nullptr;
            return op == "-" ? make(ExprNode::Kind::Unary, "NEG", {operand}) : operand;
        }
        return parsePrimary(depth + 1);
    }

    NodePtr parsePrimary(int depth)
    {
        auto literal = [&](Value v) {
            auto n = std::make_shared<ExprNode>();
            n->kind = ExprNode::Kind::Literal;
            n->literal = std::move(v);
            return n;
        };
        switch (tok_.type) {
        case Token::Type::Number: {
            NodePtr n = literal(tok_.number);
            return advance() ? n : nullptr;
        }
        case Token::Type::String: {
            NodePtr n = literal(tok_.text);
            return advance() ? n : nullptr;
        }
        case Token::Type::True:
        case Token::Type::False: {
            NodePtr n = literal(tok_.type == Token::Type::True);
            return advance() ? n : nullptr;
        }
        case Token::Type::Name: {
            std::string name = tok_.text;
            if (!advance())
                return nullptr;
            if (!isOp("("))
                return make(ExprNode::Kind::Field, name, {});
            if (!advance())
                return nullptr;
            std::vector<NodePtr> args;
            if (!isOp(")")) {
                for (;;) {
                    NodePtr a = parseOr(depth + 1);
                    if (!a)
                        return nullptr;
                    args.push_back(a);
                    if (isOp(",")) {
                        if (!advance())
                            return nullptr;
                        continue;
                    }
                    break;
                }
            }
            if (!isOp(")")) {
                error_ = "parenthèse fermante attendue après les arguments de " + name;
                return nullptr;
            }
            if (!advance())
                return nullptr;
            if (!checkFunction(name, args.size()))
                return nullptr;
            return make(ExprNode::Kind::Call, name, std::move(args));
        }
        case Token::Type::Op:
            if (isOp("(")) {
                if (!advance())
                    return nullptr;
                NodePtr inner = parseOr(depth + 1);
                if (!inner)
                    return nullptr;
                if (!isOp(")")) {
                    error_ = "parenthèse fermante attendue";
                    return nullptr;
                }
                return advance() ? inner : nullptr;
            }
            break;
        default:
            break;
        }
        error_ = tok_.type == Token::Type::End ? "expression incomplète" : "symbole inattendu : " + tok_.text;
        return nullptr;
    }

    bool checkFunction(const std::string& name, std::size_t n)
    {
        struct Arity { const char* name; std::size_t min, max; };
        static const Arity known[] = {
            {"UPPER", 1, 1}, {"LOWER", 1, 1}, {"TRIM", 1, 1}, {"RTRIM", 1, 1}, {"LTRIM", 1, 1},
            {"ALLTRIM", 1, 1}, {"STR", 1, 3}, {"VAL", 1, 1}, {"DTOS", 1, 1}, {"DTOC", 1, 1},
            {"SUBSTR", 2, 3}, {"LEFT", 2, 2}, {"RIGHT", 2, 2}, {"RECNO", 0, 0}, {"DELETED", 0, 0},
            {"LEN", 1, 1}, {"IIF", 3, 3}, {"IF", 3, 3}, {"CTOD", 1, 1}, {"STOD", 1, 1}, {"EMPTY", 1, 1},
            {"SPACE", 1, 1}, {"REPLICATE", 2, 2}, {"ABS", 1, 1}, {"INT", 1, 1}, {"ROUND", 2, 2},
            {"PADR", 2, 2}, {"PADL", 2, 2}};
        for (const auto& a : known) {
            if (name == a.name) {
                if (n < a.min || n > a.max) {
                    error_ = "nombre d'arguments incorrect pour " + name + "()";
                    return false;
                }
                return true;
            }
        }
        error_ = "fonction inconnue : " + name + "()";
        return false;
    }

    Lexer lexer_;
    std::string& error_;
    Token tok_;
};

// ---- Evaluation ---------------------------------------------------------------------------

const char* typeName(const Value& v)
{
    switch (v.index()) {
    case 0: return "caractère";
    case 1: return "numérique";
    case 2: return "logique";
    default: return "date";
    }
}

class Evaluator {
public:
    Evaluator(const RecordSource& rec, std::string& error) : rec_(rec), error_(error) {}

    std::optional<Value> eval(const ExprNode& n)
    {
        switch (n.kind) {
        case ExprNode::Kind::Literal:
            return n.literal;
        case ExprNode::Kind::Field: {
            Value v;
            if (!rec_.fieldValue(n.name, v))
                return fail("champ inconnu : " + n.name);
            return v;
        }
        case ExprNode::Kind::Unary: {
            auto v = eval(*n.args[0]);
            if (!v)
                return v;
            if (n.name == ".NOT.") {
                if (auto* b = std::get_if<bool>(&*v))
                    return Value(!*b);
                return fail(std::string(".NOT. sur une valeur ") + typeName(*v));
            }
            if (auto* d = std::get_if<double>(&*v))
                return Value(-*d);
            return fail(std::string("moins unaire sur une valeur ") + typeName(*v));
        }
        case ExprNode::Kind::Binary:
            return binary(n);
        case ExprNode::Kind::Call:
            return call(n);
        }
        return fail("expression invalide");
    }

private:
    std::optional<Value> fail(const std::string& message)
    {
        if (error_.empty())
            error_ = message;
        return std::nullopt;
    }

    std::optional<Value> binary(const ExprNode& n)
    {
        const std::string& op = n.name;
        if (op == ".AND." || op == ".OR.") {
            auto l = eval(*n.args[0]);
            if (!l)
                return l;
            auto* lb = std::get_if<bool>(&*l);
            if (!lb)
                return fail(op + " sur une valeur " + typeName(*l));
            if ((op == ".AND." && !*lb) || (op == ".OR." && *lb))
                return Value(*lb);
            auto r = eval(*n.args[1]);
            if (!r)
                return r;
            auto* rb = std::get_if<bool>(&*r);
            if (!rb)
                return fail(op + " sur une valeur " + typeName(*r));
            return Value(*rb);
        }
        auto l = eval(*n.args[0]);
        if (!l)
            return l;
        auto r = eval(*n.args[1]);
        if (!r)
            return r;
        if (op == "+" || op == "-")
            return additive(op, *l, *r);
        if (op == "*" || op == "/" || op == "%") {
            auto* a = std::get_if<double>(&*l);
            auto* b = std::get_if<double>(&*r);
            if (!a || !b)
                return fail(op + " sur des valeurs non numériques");
            if (op == "*")
                return Value(*a * *b);
            if (*b == 0)
                return fail("division par zéro");
            return Value(op == "/" ? *a / *b : std::fmod(*a, *b));
        }
        if (op == "$") {
            auto* a = std::get_if<std::string>(&*l);
            auto* b = std::get_if<std::string>(&*r);
            if (!a || !b)
                return fail("$ sur des valeurs non textuelles");
            return Value(b->find(*a) != std::string::npos);
        }
        return compare(op, *l, *r);
    }

    std::optional<Value> additive(const std::string& op, const Value& l, const Value& r)
    {
        if (auto* a = std::get_if<std::string>(&l)) {
            auto* b = std::get_if<std::string>(&r);
            if (!b)
                return fail(op + " entre du texte et une valeur " + typeName(r));
            if (op == "+")
                return Value(*a + *b);
            // xBase "-": the left operand's trailing blanks go to the end of the result.
            std::string trimmed = rtrim(*a);
            return Value(trimmed + *b + std::string(a->size() - trimmed.size(), ' '));
        }
        if (auto* a = std::get_if<double>(&l)) {
            if (auto* b = std::get_if<double>(&r))
                return Value(op == "+" ? *a + *b : *a - *b);
            if (auto* d = std::get_if<Date>(&r); d && op == "+")
                return Value(d->empty() ? Date{} : Date::fromJulianDay(d->julianDay() + static_cast<long>(*a)));
            return fail(op + " entre un nombre et une valeur " + std::string(typeName(r)));
        }
        if (auto* d = std::get_if<Date>(&l)) {
            if (auto* b = std::get_if<double>(&r)) {
                if (d->empty())
                    return Value(Date{});
                const long delta = static_cast<long>(*b);
                return Value(Date::fromJulianDay(d->julianDay() + (op == "+" ? delta : -delta)));
            }
            if (auto* e = std::get_if<Date>(&r); e && op == "-")
                return Value(static_cast<double>(d->julianDay() - e->julianDay()));
            return fail(op + " entre une date et une valeur " + std::string(typeName(r)));
        }
        return fail(op + " sur une valeur " + std::string(typeName(l)));
    }

    std::optional<Value> compare(const std::string& op, const Value& l, const Value& r)
    {
        if (l.index() != r.index())
            return fail("comparaison entre une valeur " + std::string(typeName(l)) + " et une valeur "
                        + typeName(r));
        int c = 0;
        if (auto* a = std::get_if<std::string>(&l)) {
            const auto& b = std::get<std::string>(r);
            c = op == "==" ? a->compare(b) : xbaseCompare(*a, b);
        } else if (auto* a = std::get_if<double>(&l)) {
            const double b = std::get<double>(r);
            c = *a < b ? -1 : (*a > b ? 1 : 0);
        } else if (auto* a = std::get_if<bool>(&l)) {
            const bool b = std::get<bool>(r);
            c = static_cast<int>(*a) - static_cast<int>(b);
        } else {
            const long da = std::get<Date>(l).julianDay();
            const long db = std::get<Date>(r).julianDay();
            c = da < db ? -1 : (da > db ? 1 : 0);
        }
        if (op == "=" || op == "==")
            return Value(c == 0);
        if (op == "<>")
            return Value(c != 0);
        if (op == "<")
            return Value(c < 0);
        if (op == "<=")
            return Value(c <= 0);
        if (op == ">")
            return Value(c > 0);
        return Value(c >= 0);
    }

    template <typename T>
    std::optional<T> arg(const ExprNode& n, std::size_t i)
    {
        auto v = eval(*n.args[i]);
        if (!v)
            return std::nullopt;
        if (auto* t = std::get_if<T>(&*v))
            return *t;
        fail("argument " + std::to_string(i + 1) + " de " + n.name + "() : type " + typeName(*v) + " inattendu");
        return std::nullopt;
    }

    std::optional<Value> call(const ExprNode& n)
    {
        const std::string& f = n.name;
        if (f == "RECNO")
            return Value(static_cast<double>(rec_.recNo()));
        if (f == "DELETED")
            return Value(rec_.deleted());
        if (f == "IIF" || f == "IF") {
            auto c = arg<bool>(n, 0);
            if (!c)
                return std::nullopt;
            return eval(*n.args[*c ? 1 : 2]);
        }
        if (f == "UPPER" || f == "LOWER" || f == "TRIM" || f == "RTRIM" || f == "LTRIM" || f == "ALLTRIM"
            || f == "VAL" || f == "LEN" || f == "CTOD" || f == "STOD") {
            auto s = arg<std::string>(n, 0);
            if (!s)
                return std::nullopt;
            if (f == "UPPER")
                return Value(isAscii(*s) ? upperAscii(*s) : mapCase(*s, upperChar));
            if (f == "LOWER")
                return Value(mapCase(*s, lowerChar));
            if (f == "TRIM" || f == "RTRIM")
                return Value(rtrim(*s));
            if (f == "LTRIM")
                return Value(ltrim(*s));
            if (f == "ALLTRIM")
                return Value(ltrim(rtrim(*s)));
            if (f == "VAL")
                return Value(xbaseVal(*s));
            if (f == "LEN")
                return Value(static_cast<double>(charLength(*s)));
            if (f == "STOD")
                return Value(Date::fromDtos(*s));
            // CTOD reads the run's date format, YYYY-MM-DD.
            std::string digits;
            for (char c : *s)
                if (c != '-' && c != '/' && c != '.')
                    digits += c;
            return Value(Date::fromDtos(digits));
        }
        if (f == "DTOS" || f == "DTOC") {
            auto d = arg<Date>(n, 0);
            if (!d)
                return std::nullopt;
            if (f == "DTOS")
                return Value(d->dtos());
            return Value(d->empty() ? std::string("    -  -  ") : d->iso());
        }
        if (f == "STR") {
            auto v = arg<double>(n, 0);
            if (!v)
                return std::nullopt;
            int width = 10, decimals = 0;
            if (n.args.size() > 1) {
                auto w = arg<double>(n, 1);
                if (!w)
                    return std::nullopt;
                width = static_cast<int>(*w);
            }
            if (n.args.size() > 2) {
                auto d = arg<double>(n, 2);
                if (!d)
                    return std::nullopt;
                decimals = static_cast<int>(*d);
            }
            return Value(xbaseStr(*v, width, decimals));
        }
        if (f == "SUBSTR" || f == "LEFT" || f == "RIGHT" || f == "PADR" || f == "PADL" || f == "REPLICATE") {
            auto s = arg<std::string>(n, 0);
            if (!s)
                return std::nullopt;
            auto a = arg<double>(n, 1);
            if (!a)
                return std::nullopt;
            const long count = static_cast<long>(*a);
            if (f == "SUBSTR") {
                long len = static_cast<long>(charLength(*s));
                if (n.args.size() > 2) {
                    auto c = arg<double>(n, 2);
                    if (!c)
                        return std::nullopt;
                    len = static_cast<long>(*c);
                }
                const long start = count > 0 ? count - 1 : 0;
                return Value(substrChars(*s, start, len));
            }
            if (f == "LEFT")
                return Value(substrChars(*s, 0, count));
            if (f == "RIGHT") {
                const long len = static_cast<long>(charLength(*s));
                return Value(count >= len ? *s : substrChars(*s, len - count, count));
            }
            if (f == "REPLICATE") {
                std::string out;
                for (long i = 0; i < count && out.size() < 65536; ++i)
                    out += *s;
                return Value(out);
            }
            const long len = static_cast<long>(charLength(*s));
            if (count <= 0)
                return Value(std::string());
            if (len >= count)
                return Value(f == "PADR" ? substrChars(*s, 0, count) : substrChars(*s, len - count, count));
            const std::string pad(static_cast<std::size_t>(std::min<long>(count - len, 65536)), ' ');
            return Value(f == "PADR" ? *s + pad : pad + *s);
        }
        if (f == "SPACE") {
            auto a = arg<double>(n, 0);
            if (!a)
                return std::nullopt;
            return Value(std::string(static_cast<std::size_t>(std::clamp(*a, 0.0, 65536.0)), ' '));
        }
        if (f == "ABS" || f == "INT") {
            auto a = arg<double>(n, 0);
            if (!a)
                return std::nullopt;
            return Value(f == "ABS" ? std::fabs(*a) : std::trunc(*a));
        }
        if (f == "ROUND") {
            auto a = arg<double>(n, 0);
            auto d = a ? arg<double>(n, 1) : std::nullopt;
            if (!a || !d)
                return std::nullopt;
            const double scale = std::pow(10.0, std::clamp(*d, -15.0, 15.0));
            return Value(std::round(*a * scale) / scale);
        }
        if (f == "EMPTY") {
            auto v = eval(*n.args[0]);
            if (!v)
                return v;
            if (auto* s = std::get_if<std::string>(&*v))
                return Value(s->find_first_not_of(" \t\r\n") == std::string::npos);
            if (auto* d = std::get_if<double>(&*v))
                return Value(*d == 0);
            if (auto* b = std::get_if<bool>(&*v))
                return Value(!*b);
            return Value(std::get<Date>(*v).empty());
        }
        return fail("fonction inconnue : " + f + "()");
    }

    const RecordSource& rec_;
    std::string& error_;
};

void collectFields(const ExprNode& n, std::set<std::string>& out)
{
    if (n.kind == ExprNode::Kind::Field)
        out.insert(n.name);
    for (const auto& a : n.args)
        collectFields(*a, out);
}

}  // namespace

std::optional<Expression> Expression::parse(const std::string& text, std::string* error)
{
    std::string message;
    Parser parser(text, message);
    NodePtr root = parser.parseAll();
    if (!root) {
        if (error)
            *error = "expression « " + text + " » : " + message;
        return std::nullopt;
    }
    Expression e;
    e.text_ = text;
    e.root_ = std::move(root);
    return e;
}

std::optional<Value> Expression::evaluate(const RecordSource& record, std::string* error) const
{
    std::string message;
    Evaluator ev(record, message);
    auto v = root_ ? ev.eval(*root_) : std::nullopt;
    if (!v && error)
        *error = "expression « " + text_ + " » : " + (message.empty() ? "expression vide" : message);
    return v;
}

std::vector<std::string> Expression::fieldNames() const
{
    std::set<std::string> names;
    if (root_)
        collectFields(*root_, names);
    return {names.begin(), names.end()};
}

bool ServerRecord::fieldValue(const std::string& upperName, Value& out) const
{
    const int pos = server_.fieldPos(upperName);
    if (pos == 0)
        return false;
    out = server_.fieldGet(pos);
    return true;
}

std::uint32_t ServerRecord::recNo() const { return server_.recNo(); }
bool ServerRecord::deleted() const { return server_.isDeleted(); }

std::string xbaseStr(double value, int width, int decimals)
{
    width = std::clamp(width, 1, 255);
    decimals = std::clamp(decimals, 0, std::max(0, width - 2));
    if (!std::isfinite(value))
        return std::string(static_cast<std::size_t>(width), '*');
    char buf[400];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
    std::string s = buf;
    if (s == std::string(s.size(), ' '))
        return s;
    if (static_cast<int>(s.size()) > width)
        return std::string(static_cast<std::size_t>(width), '*');
    // "-0" reads as "0".
    if (s.find_first_not_of(" -0.") == std::string::npos && s.find('-') != std::string::npos)
        std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, 0.0), s = buf;
    return s;
}

double xbaseVal(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::size_t j = i;
    if (j < text.size() && (text[j] == '-' || text[j] == '+'))
        ++j;
    bool digits = false, dot = false;
    while (j < text.size() && (std::isdigit(static_cast<unsigned char>(text[j])) || (text[j] == '.' && !dot))) {
        if (text[j] == '.')
            dot = true;
        else
            digits = true;
        ++j;
    }
    if (!digits)
        return 0;
    return std::strtod(text.substr(i, j - i).c_str(), nullptr);
}

int xbaseCompare(const std::string& left, const std::string& right)
{
    if (right.empty())
        return 0;
    const std::size_t n = std::min(left.size(), right.size());
    const int c = left.compare(0, n, right, 0, n);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return left.size() < right.size() ? -1 : 0;
}

}  // namespace derode::engine
