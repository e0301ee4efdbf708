#include "reports/ReportTemplate.h"

#include "core/AtomicFile.h"
#include "core/Text.h"

#include <charconv>
#include <sstream>

namespace derode::reports {

const Band* ReportTemplate::band(BandKind kind) const
{
    for (const Band& b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

std::string ParseError::describe() const
{
    if (line <= 0)
        return file + " : " + message;
    return file + ", ligne " + std::to_string(line) + " : " + message;
}

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

class Failure {
public:
    std::string message;
};

// Splits one line into words and quoted strings; "#" outside quotes starts a comment.
std::vector<Token> tokenize(const std::string& line)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token t;
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) {
                    char e = line[i++];
                    t.text += e == 'n' ? '\n' : e;
                } else {
                    t.text += d;
                }
            }
            if (!closed)
                throw Failure{"guillemet fermant manquant"};
            tokens.push_back(std::move(t));
        } else {
            Token t;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '"' && line[i] != '\r')
                t.text += line[i++];
            tokens.push_back(std::move(t));
        }
    }
    return tokens;
}

double number(const Token& token, const char* what)
{
    double value = 0;
    const char* begin = token.text.data();
    const char* end = begin + token.text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (token.quoted || ec != std::errc() || ptr != end)
        throw Failure{std::string("nombre attendu pour ") + what + " au lieu de \"" + token.text + "\""};
    return value;
}

bool is(const Token& token, const char* word)
{
    return !token.quoted && core::equalsIgnoreCase(token.text, word);
}

class Parser {
public:
    explicit Parser(ReportTemplate& model) : model_(model) {}

    void line(int number, std::vector<Token> tokens)
    {
        lineNo_ = number;
        if (tokens.empty())
            return;
        if (tokens[0].quoted)
            throw Failure{"un mot-clé est attendu en début de ligne"};
        const std::string keyword = core::toLower(tokens[0].text);
        if (current_ && keyword != "end") {
            element(keyword, tokens);
            return;
        }
        if (keyword == "end") {
            if (!current_)
                throw Failure{"\"end\" sans bande ouverte"};
            expectCount(tokens, 1);
            current_ = nullptr;
        } else if (keyword == "report") {
            expectCount(tokens, 2);
            model_.title = quoted(tokens[1]);
        } else if (keyword == "page") {
            expectCount(tokens, 2);
            if (is(tokens[1], "portrait"))
                model_.orientation = Orientation::Portrait;
            else if (is(tokens[1], "landscape"))
                model_.orientation = Orientation::Landscape;
            else
                throw Failure{"orientation inconnue : \"" + tokens[1].text + "\" (portrait ou landscape)"};
        } else if (keyword == "margins") {
            expectCount(tokens, 5);
            model_.marginLeft = nonNegative(tokens[1], "la marge");
            model_.marginTop = nonNegative(tokens[2], "la marge");
            model_.marginRight = nonNegative(tokens[3], "la marge");
            model_.marginBottom = nonNegative(tokens[4], "la marge");
        } else if (keyword == "font") {
            expectCount(tokens, 3);
            model_.font.family = quoted(tokens[1]);
            model_.font.size = positive(tokens[2], "la taille");
        } else if (keyword == "table") {
            if (tokens.size() != 2 && !(tokens.size() == 4 && is(tokens[2], "alias")))
                throw Failure{"forme attendue : table \"fichier.dbf\" alias \"nom\""};
            if (!model_.table.empty())
                throw Failure{"une seule table par modèle"};
            model_.table = quoted(tokens[1]);
            model_.alias = tokens.size() == 4 ? quoted(tokens[3]) : model_.table.substr(0, model_.table.find('.'));
        } else if (keyword == "order") {
            expectCount(tokens, 2);
            model_.order = quoted(tokens[1]);
        } else if (keyword == "filter") {
            expectCount(tokens, 2);
            model_.filter = quoted(tokens[1]);
            model_.filterLine = lineNo_;
        } else if (keyword == "sort") {
            if (tokens.size() != 2 && !(tokens.size() == 3 && (is(tokens[2], "descending") || is(tokens[2], "ascending"))))
                throw Failure{"forme attendue : sort \"expression\" [ascending|descending]"};
            SortKey key;
            key.expression = expression(quoted(tokens[1]));
            key.descending = tokens.size() == 3 && is(tokens[2], "descending");
            model_.sort.push_back(key);
        } else if (keyword == "band") {
            band(tokens);
        } else {
            throw Failure{"mot-clé inconnu : \"" + tokens[0].text + "\""};
        }
    }

    void finish()
    {
        if (current_) {
            lineNo_ = current_->line;
            throw Failure{"bande sans \"end\""};
        }
        if ((!model_.order.empty() || !model_.filter.empty() || !model_.sort.empty()) && model_.table.empty())
            throw Failure{"\"order\", \"filter\" et \"sort\" demandent une table"};
    }

    int lineNo() const { return lineNo_; }
    void begin(int number) { lineNo_ = number; }

private:
    void expectCount(const std::vector<Token>& tokens, std::size_t count)
    {
        if (tokens.size() != count)
            throw Failure{"nombre de valeurs incorrect après \"" + tokens[0].text + "\""};
    }

    std::string quoted(const Token& token)
    {
        if (!token.quoted)
            throw Failure{"texte entre guillemets attendu au lieu de \"" + token.text + "\""};
        return token.text;
    }

    double positive(const Token& token, const char* what)
    {
        double v = number(token, what);
        if (v <= 0)
            throw Failure{std::string(what) + " doit être positive"};
        return v;
    }

    double nonNegative(const Token& token, const char* what)
    {
        double v = number(token, what);
        if (v < 0)
            throw Failure{std::string(what) + " ne peut être négative"};
        return v;
    }

    int expression(const std::string& text)
    {
        if (core::trim(text).empty())
            throw Failure{"expression vide"};
        model_.expressions.push_back({text, lineNo_});
        return static_cast<int>(model_.expressions.size()) - 1;
    }

    void band(const std::vector<Token>& tokens)
    {
        if (tokens.size() < 4 || !is(tokens[2], "height") || tokens.size() > 4)
            throw Failure{"forme attendue : band <type> height <mm>"};
        static const std::pair<const char*, BandKind> kinds[] = {
            {"reportheader", BandKind::ReportHeader}, {"pageheader", BandKind::PageHeader},
            {"detail", BandKind::Detail},             {"reportfooter", BandKind::ReportFooter},
            {"pagefooter", BandKind::PageFooter}};
        Band b;
        bool known = false;
        for (const auto& [name, kind] : kinds) {
            if (is(tokens[1], name)) {
                b.kind = kind;
                known = true;
            }
        }
        if (!known)
            throw Failure{"type de bande inconnu : \"" + tokens[1].text +
                          "\" (reportheader, pageheader, detail, reportfooter, pagefooter)"};
        if (model_.band(b.kind))
            throw Failure{"bande \"" + tokens[1].text + "\" déjà définie"};
        b.line = lineNo_;
        b.height = nonNegative(tokens[3], "la hauteur");
        model_.bands.push_back(std::move(b));
        current_ = &model_.bands.back();
    }

    std::vector<Segment> segments(const std::string& text)
    {
        std::vector<Segment> out;
        std::string literal;
        auto flush = [&] {
            if (!literal.empty())
                out.push_back({Segment::Kind::Literal, literal, -1});
            literal.clear();
        };
        for (std::size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c == '{' && i + 1 < text.size() && text[i + 1] == '{') {
                literal += '{';
                ++i;
            } else if (c == '}' && i + 1 < text.size() && text[i + 1] == '}') {
                literal += '}';
                ++i;
            } else if (c == '{') {
                std::size_t close = text.find('}', i + 1);
                if (close == std::string::npos)
                    throw Failure{"accolade fermante manquante dans \"" + text + "\""};
                std::string inner = text.substr(i + 1, close - i - 1);
                flush();
                if (!inner.empty() && inner[0] == '=') {
                    out.push_back({Segment::Kind::Expression, inner.substr(1), expression(inner.substr(1))});
                } else {
                    inner = core::trim(inner);
                    if (inner.empty())
                        throw Failure{"nom de variable vide entre accolades"};
                    out.push_back({Segment::Kind::Variable, inner, -1});
                }
                i = close;
            } else if (c == '}') {
                throw Failure{"accolade fermante isolée dans \"" + text + "\" (écrire }})"};
            } else {
                literal += c;
            }
        }
        flush();
        return out;
    }

    void element(const std::string& keyword, const std::vector<Token>& tokens)
    {
        Element e;
        e.line = lineNo_;
        e.font = model_.font;
        std::size_t coords = 0;
        if (keyword == "text") {
            e.kind = Element::Kind::Text;
            coords = 4;
        } else if (keyword == "richtext") {
            e.kind = Element::Kind::RichText;
            coords = 4;
        } else if (keyword == "line") {
            e.kind = Element::Kind::Line;
            coords = 4;
        } else if (keyword == "box") {
            e.kind = Element::Kind::Box;
            coords = 4;
        } else {
            throw Failure{"élément inconnu : \"" + tokens[0].text + "\" (text, richtext, line, box ou end)"};
        }
        if (tokens.size() < 1 + coords)
            throw Failure{"coordonnées manquantes après \"" + tokens[0].text + "\""};
        double v[4];
        for (std::size_t i = 0; i < coords; ++i)
            v[i] = number(tokens[1 + i], "une coordonnée");
        if (e.kind == Element::Kind::Line) {
            e.x = v[0], e.y = v[1], e.x2 = v[2], e.y2 = v[3];
        } else {
            e.x = v[0], e.y = v[1], e.width = v[2], e.height = v[3];
            if (e.width < 0 || e.height < 0)
                throw Failure{"largeur et hauteur ne peuvent être négatives"};
        }
        bool hasContent = false;
        std::string content;
        const bool textual = e.kind == Element::Kind::Text || e.kind == Element::Kind::RichText;
        for (std::size_t i = 1 + coords; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            auto value = [&]() -> const Token& {
                if (i + 1 >= tokens.size())
                    throw Failure{"valeur manquante après \"" + t.text + "\""};
                return tokens[++i];
            };
            if (t.quoted) {
                if (!textual)
                    throw Failure{"un trait ou un cadre n'a pas de texte"};
                content += t.text;  // adjacent strings are joined
                hasContent = true;
            } else if (is(t, "width") && !textual) {
                e.penWidth = nonNegative(value(), "l'épaisseur");
            } else if (is(t, "fill") && e.kind == Element::Kind::Box) {
                e.fillGray = number(value(), "le gris");
                if (e.fillGray < 0 || e.fillGray > 1)
                    throw Failure{"le gris va de 0 (noir) à 1 (blanc)"};
            } else if (is(t, "if")) {
                e.condition = expression(quoted(value()));
            } else if (textual && is(t, "size")) {
                e.font.size = positive(value(), "la taille");
            } else if (textual && is(t, "font")) {
                e.font.family = quoted(value());
            } else if (textual && is(t, "bold")) {
                e.font.bold = true;
            } else if (textual && is(t, "italic")) {
                e.font.italic = true;
            } else if (e.kind == Element::Kind::Text && is(t, "wrap")) {
                e.wrap = true;
            } else if (e.kind == Element::Kind::Text && is(t, "fit")) {
                e.fit = true;
            } else if (textual && is(t, "align")) {
                const Token& a = value();
                if (is(a, "left"))
                    e.align = HAlign::Left;
                else if (is(a, "center"))
                    e.align = HAlign::Center;
                else if (is(a, "right"))
                    e.align = HAlign::Right;
                else
                    throw Failure{"alignement inconnu : \"" + a.text + "\" (left, center, right)"};
            } else if (textual && is(t, "valign")) {
                const Token& a = value();
                if (is(a, "top"))
                    e.valign = VAlign::Top;
                else if (is(a, "middle"))
                    e.valign = VAlign::Middle;
                else if (is(a, "bottom"))
                    e.valign = VAlign::Bottom;
                else
                    throw Failure{"alignement vertical inconnu : \"" + a.text + "\" (top, middle, bottom)"};
            } else {
                throw Failure{"option inconnue : \"" + t.text + "\""};
            }
        }
        if (textual) {
            if (!hasContent)
                throw Failure{"texte entre guillemets manquant"};
            e.content = segments(content);
        }
        current_->elements.push_back(std::move(e));
    }

    ReportTemplate& model_;
    Band* current_ = nullptr;
    int lineNo_ = 0;
};

}  // namespace

std::optional<ReportTemplate> parseTemplate(const std::string& text, const std::string& fileName, ParseError* error)
{
    ReportTemplate model;
    model.fileName = fileName;
    model.bands.reserve(8);  // the parser keeps a pointer to the open band
    Parser parser(model);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    try {
        while (std::getline(in, line)) {
            ++number;
            if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
                line.erase(0, 3);
            parser.begin(number);
            parser.line(number, tokenize(line));
        }
        parser.finish();
    } catch (const Failure& failure) {
        if (error)
            *error = {fileName, parser.lineNo() ? parser.lineNo() : number, failure.message};
        return std::nullopt;
    }
    return model;
}

std::optional<ReportTemplate> loadTemplate(const std::string& path, ParseError* error)
{
    std::string bytes;
    if (!core::readFile(path, bytes)) {
        if (error)
            *error = {path, 0, "modèle introuvable ou illisible"};
        return std::nullopt;
    }
    return parseTemplate(bytes, path, error);
}

}  // namespace derode::reports
