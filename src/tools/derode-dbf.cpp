// derode-dbf: inspects and repairs dBase tables and their structural index, for support and for
// comparing with other xBase engines. Output is UTF-8, tab-separated, one item per line; an error
// is one line on stderr and a non-zero exit.

#include "engine/DbServer.h"
#include "engine/TableFile.h"
#include "engine/TagSet.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace derode::engine;

namespace {

int fail(const std::string& message)
{
    std::cerr << "derode-dbf: " << message << "\n";
    return 1;
}

int usage()
{
    return fail("usage : derode-dbf info|dump|keys|seek|create|index|load|check|reindex|pack TABLE.dbf ...");
}

std::string hexByte(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v & 0xFF);
    return buf;
}

std::string numberText(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string rtrim(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// The table opened for inspection, its index as it stands (no repair).
struct Inspected {
    std::shared_ptr<TableFile> file;
    std::unique_ptr<TagSet> tags;
};

bool inspect(const std::string& path, Inspected& out, std::string& error)
{
    out.file = TableFile::acquire(path, true, true, error);
    if (!out.file)
        return false;
    std::string note;
    out.tags = TagSet::open(*out.file, false, error, note, false);
    return error.empty();
}

std::string keyText(const Tag& tag, const std::string& key, CodePage cp)
{
    switch (tag.valueType) {
    case 'N': return numberText(cdxNumberFromKey(key));
    case 'D': return Date::fromJulianDay(std::lround(cdxNumberFromKey(key))).dtos();
    case 'L': return key;
    default: return rtrim(codePageToUtf8(cp, key));
    }
}

int info(const std::string& path)
{
    Inspected t;
    std::string error;
    if (!inspect(path, t, error))
        return fail(path + " : " + error);
    const auto& h = t.file->header();
    std::cout << "version\t" << hexByte(h.version) << "\n";
    std::cout << "codepage\t" << hexByte(h.languageDriver) << "\t" << codePageName(h.codePage()) << "\n";
    std::cout << "records\t" << t.file->recordCount() << "\n";
    for (const auto& f : h.fields)
        std::cout << f.name << "\t" << f.type << "\t" << f.length << "\t" << f.decimals << "\n";
    if (t.tags)
        for (int i = 0; i < t.tags->count(); ++i) {
            const auto& tag = t.tags->tag(i).info;
            std::cout << "tag\t" << tag.name << "\t" << tag.keyExpression << "\t" << (tag.unique ? "unique" : "all");
            if (!tag.forExpression.empty())
                std::cout << "\tfor " << tag.forExpression;
            std::cout << "\n";
        }
    return 0;
}

int dump(const std::string& path)
{
    Inspected t;
    std::string error;
    t.file = TableFile::acquire(path, true, true, error);
    if (!t.file)
        return fail(path + " : " + error);
    const auto& h = t.file->header();
    const std::uint32_t count = t.file->recordCount();
    std::string rec;
    for (std::uint32_t r = 1; r <= count; ++r) {
        if (!t.file->readRecord(r, rec))
            return fail(path + " : lecture de l'enregistrement " + std::to_string(r) + " impossible");
        std::cout << r << "\t" << (rec[0] == '*' ? '*' : ' ');
        for (std::size_t i = 0; i < h.fields.size(); ++i)
            std::cout << "\t" << fieldDisplayText(h.fields[i], rec.data() + h.offsets[i], t.file->codePage());
        std::cout << "\n";
    }
    return 0;
}

int keys(const std::string& path, const std::string& tagName)
{
    Inspected t;
    std::string error;
    if (!inspect(path, t, error))
        return fail(path + " : " + error);
    const int i = t.tags ? t.tags->find(tagName) : -1;
    if (i < 0)
        return fail(path + " : étiquette inconnue : " + tagName);
    for (const auto& e : t.tags->index().entries(i))
        std::cout << e.recno << "\t" << keyText(t.tags->tag(i), e.key, t.file->codePage()) << "\n";
    return 0;
}

std::optional<Value> valueFromText(char type, const std::string& text)
{
    switch (type) {
    case 'N': return Value(xbaseVal(text));
    case 'L': return Value(!text.empty() && std::string("TtYy1").find(text[0]) != std::string::npos);
    case 'D': {
        std::string digits;
        for (char c : text)
            if (c != '-')
                digits += c;
        Date d = Date::fromDtos(digits);
        if (d.empty() && !rtrim(text).empty())
            return std::nullopt;
        return Value(d);
    }
    default: return Value(text);
    }
}

int seek(const std::string& path, const std::string& tagName, const std::string& key)
{
    CDBSERVEREX server(path, {}, true, true);
    if (!server.used())
        return fail(path + " : " + server.lastError());
    if (!server.setOrder(tagName))
        return fail(path + " : " + server.lastError());
    // The key's type is the tag's: ask the index what it holds.
    Inspected t;
    std::string error;
    if (!inspect(path, t, error) || !t.tags)
        return fail(path + " : " + error);
    const int i = t.tags->find(tagName);
    const char type = t.tags->tag(i).valueType;
    auto value = valueFromText(type == 'C' ? 'C' : type, key);
    if (!value)
        return fail("clé invalide : " + key);
    if (server.seek(*value, true))
        std::cout << "found\t" << server.recNo() << "\n";
    else
        std::cout << "notfound\n";
    return 0;
}

int create(const std::string& path, const std::vector<std::string>& specs)
{
    std::vector<FieldDef> fields;
    for (const auto& spec : specs) {
        std::vector<std::string> parts;
        std::stringstream ss(spec);
        std::string part;
        while (std::getline(ss, part, ','))
            parts.push_back(part);
        if (parts.size() < 3 || parts.size() > 4 || parts[1].size() != 1)
            return fail("champ invalide (NOM,TYPE,LONGUEUR,DÉCIMALES attendu) : " + spec);
        FieldDef f;
        f.name = parts[0];
        f.type = parts[1][0];
        try {
            f.length = std::stoi(parts[2]);
            f.decimals = parts.size() == 4 ? std::stoi(parts[3]) : 0;
        } catch (...) {
            return fail("longueur invalide : " + spec);
        }
        fields.push_back(f);
    }
    std::string error;
    if (!createTable(path, fields, &error))
        return fail(path + " : " + error);
    return 0;
}

int index(const std::string& path, const std::string& tag, const std::string& expression, bool unique)
{
    CDBSERVEREX server(path, {}, false, false);
    if (!server.used())
        return fail(path + " : " + server.lastError());
    if (!server.createTag(tag, expression, unique))
        return fail(path + " : " + server.lastError());
    server.close();
    return 0;
}

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return out;
        start = tab + 1;
    }
}

int load(const std::string& path, const std::string& tsv)
{
    std::ifstream in(tsv, std::ios::binary);
    if (!in)
        return fail(tsv + " : lecture impossible");
    CDBSERVEREX server(path, {}, true, false);
    if (!server.used())
        return fail(path + " : " + server.lastError());
    std::string line;
    if (!std::getline(in, line))
        return fail(tsv + " : ligne des noms de champs absente");
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::vector<std::string> names = splitTabs(line);
    std::vector<int> positions;
    for (const auto& n : names) {
        const int p = server.fieldPos(n);
        if (p == 0)
            return fail(path + " : champ inconnu : " + n);
        positions.push_back(p);
    }
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const auto values = splitTabs(line);
        if (!server.append())
            return fail(path + " : " + server.lastError());
        for (std::size_t i = 0; i < values.size() && i < positions.size(); ++i) {
            const char type = server.fields()[static_cast<std::size_t>(positions[i] - 1)].type;
            auto v = valueFromText(type, values[i]);
            if (!v || !server.fieldPut(positions[i], *v))
                return fail(tsv + " ligne " + std::to_string(lineNo) + " : " + (v ? server.lastError() : "valeur invalide"));
        }
    }
    if (!server.commit())
        return fail(path + " : " + server.lastError());
    return 0;
}

int check(const std::string& path)
{
    Inspected t;
    std::string error;
    if (!inspect(path, t, error))
        return fail(path + " : " + error);
    std::vector<std::string> problems;
    if (t.tags) {
        problems = t.tags->check(*t.file);
        for (int i = 0; i < t.tags->count(); ++i)
            if (!t.tags->tag(i).usable)
                problems.push_back("étiquette " + t.tags->tag(i).info.name + " : expression non évaluable");
    }
    if (problems.empty()) {
        std::cout << "ok\n";
        return 0;
    }
    for (const auto& p : problems)
        std::cout << p << "\n";
    return 2;
}

int whole(const std::string& path, bool packing)
{
    CDBSERVEREX server(path, {}, false, false);
    if (!server.used())
        return fail(path + " : " + server.lastError());
    if (!(packing ? server.pack() : server.reindex()))
        return fail(path + " : " + server.lastError());
    server.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    const std::string path = argv[2];
    std::vector<std::string> rest(argv + 3, argv + argc);
    if (command == "info" && rest.empty())
        return info(path);
    if (command == "dump" && rest.empty())
        return dump(path);
    if (command == "keys" && rest.size() == 1)
        return keys(path, rest[0]);
    if (command == "seek" && rest.size() == 2)
        return seek(path, rest[0], rest[1]);
    if (command == "create" && !rest.empty())
        return create(path, rest);
    if (command == "index" && (rest.size() == 2 || (rest.size() == 3 && rest[2] == "unique")))
        return index(path, rest[0], rest[1], rest.size() == 3);
    if (command == "load" && rest.size() == 1)
        return load(path, rest[0]);
    if (command == "check" && rest.empty())
        return check(path);
    if (command == "reindex" && rest.empty())
        return whole(path, false);
    if (command == "pack" && rest.empty())
        return whole(path, true);
    return usage();
}
