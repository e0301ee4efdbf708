#include "engine/DbfFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "engine/Expression.h"

namespace derode::engine {

namespace {

std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool knownVersion(unsigned char v)
{
    switch (v) {
    case 0x02: case 0x03: case 0x04: case 0x05: case 0x07: case 0x30: case 0x31: case 0x32:
    case 0x43: case 0x63: case 0x83: case 0x87: case 0x8B: case 0x8E: case 0xCB: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

std::string trimRight(const std::string& s)
{
    std::size_t end = s.size();
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\0'))
        --end;
    return s.substr(0, end);
}

}  // namespace

bool parseDbfHeader(const std::string& bytes, std::uint64_t fileSize, DbfHeader& out, std::string& error)
{
    out = DbfHeader{};
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 32 || fileSize < 32) {
        error = "en-tête tronqué";
        return false;
    }
    if (!knownVersion(p[0])) {
        error = "octet de version inconnu";
        return false;
    }
    out.version = p[0];
    out.lastUpdate = Date::fromDtos([&] {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", 1900 + p[1], p[2], p[3]);
        return std::string(buf);
    }());
    out.recordCount = le32(p + 4);
    out.headerLength = le16(p + 8);
    out.recordLength = le16(p + 10);
    out.tableFlags = p[28];
    out.languageDriver = p[29];
    if (out.headerLength < 32 + 32 + 1) {
        error = "longueur d'en-tête trop petite";
        return false;
    }
    if (out.headerLength > fileSize) {
        error = "longueur d'en-tête plus grande que le fichier";
        return false;
    }
    if (bytes.size() < out.headerLength) {
        error = "en-tête tronqué";
        return false;
    }
    // Field descriptors up to the 0x0D terminator, all inside the header.
    std::uint32_t pos = 32;
    std::uint32_t offset = 1;
    std::set<std::string> names;
    bool terminated = false;
    while (pos < out.headerLength) {
        if (p[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + 32 > out.headerLength)
            break;
        const unsigned char* d = p + pos;
        std::string name;
        for (int i = 0; i < 11 && d[i] != 0; ++i)
            name += static_cast<char>(std::toupper(d[i]));
        name = trimRight(name);
        FieldDef f;
        f.name = name;
        f.type = static_cast<char>(std::toupper(d[11]));
        f.length = d[16];
        f.decimals = d[17];
        if (name.empty()) {
            error = "nom de champ vide";
            return false;
        }
        switch (f.type) {
        case 'C':
            // Clipper stores text lengths over 255 with the decimals byte as the high byte.
            f.length = d[16] | (d[17] << 8);
            f.decimals = 0;
            if (f.length < 1) {
                error = "longueur nulle pour le champ " + name;
                return false;
            }
            break;
        case 'N':
        case 'F':
            if (f.length < 1 || f.length > 32 || f.decimals >= f.length) {
                error = "longueur numérique invalide pour le champ " + name;
                return false;
            }
            if (f.type == 'F')
                out.unsupportedTypes = true;
            break;
        case 'L':
            if (f.length != 1) {
                error = "longueur logique invalide pour le champ " + name;
                return false;
            }
            break;
        case 'D':
            if (f.length != 8) {
                error = "longueur de date invalide pour le champ " + name;
                return false;
            }
            break;
        default:
            if (f.length < 1) {
                error = "longueur nulle pour le champ " + name;
                return false;
            }
            out.unsupportedTypes = true;
            break;
        }
        if (!names.insert(name).second) {
            error = "champ en double : " + name;
            return false;
        }
        out.fields.push_back(f);
        out.offsets.push_back(offset);
        offset += static_cast<std::uint32_t>(f.length);
        pos += 32;
    }
    if (!terminated) {
        error = "descripteurs de champs sans terminateur";
        return false;
    }
    if (out.fields.empty()) {
        error = "aucun champ";
        return false;
    }
    if (offset != out.recordLength) {
        error = "longueur d'enregistrement incohérente avec les champs";
        return false;
    }
    const std::uint64_t needed = static_cast<std::uint64_t>(out.headerLength)
        + static_cast<std::uint64_t>(out.recordCount) * out.recordLength;
    if (needed > fileSize) {
        error = "nombre d'enregistrements incohérent avec la taille du fichier";
        return false;
    }
    return true;
}

bool validateFields(std::vector<FieldDef>& fields, std::string& error)
{
    if (fields.empty()) {
        error = "aucun champ";
        return false;
    }
    if (fields.size() > 2000) {
        error = "trop de champs";
        return false;
    }
    std::set<std::string> names;
    std::uint32_t total = 1;
    for (auto& f : fields) {
        std::string name;
        for (char c : f.name)
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (name.empty() || name.size() > 10 || !std::isalpha(static_cast<unsigned char>(name[0]))) {
            error = "nom de champ invalide : " + f.name;
            return false;
        }
        for (char c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
                error = "nom de champ invalide : " + f.name;
                return false;
            }
        if (!names.insert(name).second) {
            error = "champ en double : " + name;
            return false;
        }
        f.name = name;
        f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(f.type)));
        bool ok = true;
        switch (f.type) {
        case 'C': ok = f.length >= 1 && f.length <= 254 && f.decimals == 0; break;
        case 'N': ok = f.length >= 1 && f.length <= 20 && f.decimals >= 0 && (f.decimals == 0 || f.decimals <= f.length - 2); break;
        case 'L': ok = f.length == 1 && f.decimals == 0; break;
        case 'D': ok = f.length == 8 && f.decimals == 0; break;
        default:
            error = std::string("type de champ non pris en charge : ") + f.type;
            return false;
        }
        if (!ok) {
            error = "longueur ou décimales invalides pour le champ " + name;
            return false;
        }
        total += static_cast<std::uint32_t>(f.length);
    }
    if (total > 65535) {
        error = "enregistrement trop long";
        return false;
    }
    return true;
}

void encodeCountAndDate(const Date& date, std::uint32_t count, unsigned char* out)
{
    out[0] = static_cast<unsigned char>(std::clamp(date.year - 1900, 0, 255));
    out[1] = static_cast<unsigned char>(date.month);
    out[2] = static_cast<unsigned char>(date.day);
    for (int i = 0; i < 4; ++i)
        out[3 + i] = static_cast<unsigned char>(count >> (8 * i));
}

std::string buildDbfHeader(DbfHeader& h)
{
    h.headerLength = static_cast<std::uint32_t>(32 + 32 * h.fields.size() + 1);
    h.offsets.clear();
    std::uint32_t offset = 1;
    for (const auto& f : h.fields) {
        h.offsets.push_back(offset);
        offset += static_cast<std::uint32_t>(f.length);
    }
    h.recordLength = offset;
    std::string out(h.headerLength, '\0');
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    p[0] = h.version;
    encodeCountAndDate(h.lastUpdate.empty() ? Date::today() : h.lastUpdate, h.recordCount, p + 1);
    p[8] = static_cast<unsigned char>(h.headerLength & 0xFF);
    p[9] = static_cast<unsigned char>(h.headerLength >> 8);
    p[10] = static_cast<unsigned char>(h.recordLength & 0xFF);
    p[11] = static_cast<unsigned char>(h.recordLength >> 8);
    p[28] = h.tableFlags;
    p[29] = h.languageDriver;
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        unsigned char* d = p + 32 + 32 * i;
        const auto& f = h.fields[i];
        std::memcpy(d, f.name.data(), std::min<std::size_t>(f.name.size(), 10));
        d[11] = static_cast<unsigned char>(f.type);
        d[16] = static_cast<unsigned char>(f.length & 0xFF);
        d[17] = static_cast<unsigned char>(f.type == 'C' ? (f.length >> 8) : f.decimals);
    }
    p[h.headerLength - 1] = 0x0D;
    return out;
}

Value decodeField(const FieldDef& f, const char* bytes, CodePage cp)
{
    const std::string raw(bytes, static_cast<std::size_t>(f.length));
    switch (f.type) {
    case 'N':
    case 'F': {
        double v = xbaseVal(raw);
        return Value(std::isfinite(v) ? v : 0.0);
    }
    case 'L':
        return Value(raw[0] == 'T' || raw[0] == 't' || raw[0] == 'Y' || raw[0] == 'y');
    case 'D':
        return Value(Date::fromDtos(raw));
    case 'C':
        return Value(codePageToUtf8(cp, raw));
    default:
        // Other types are shown as their bytes; the table is read-only anyway.
        return Value(codePageToUtf8(cp, raw));
    }
}

bool encodeField(const FieldDef& f, const Value& value, CodePage cp, char* bytes, std::string& error)
{
    const auto len = static_cast<std::size_t>(f.length);
    switch (f.type) {
    case 'C': {
        const auto* s = std::get_if<std::string>(&value);
        if (!s) {
            error = "valeur non textuelle pour le champ " + f.name;
            return false;
        }
        std::string b = utf8ToCodePage(cp, *s);
        b.resize(len, ' ');
        std::memcpy(bytes, b.data(), len);
        return true;
    }
    case 'N': {
        const auto* d = std::get_if<double>(&value);
        if (!d || !std::isfinite(*d)) {
            error = "valeur non numérique pour le champ " + f.name;
            return false;
        }
        std::string s = xbaseStr(*d, f.length, f.decimals);
        if (s.size() != len || s.find('*') != std::string::npos) {
            error = "nombre trop grand pour le champ " + f.name;
            return false;
        }
        std::memcpy(bytes, s.data(), len);
        return true;
    }
    case 'L': {
        const auto* b = std::get_if<bool>(&value);
        if (!b) {
            error = "valeur non logique pour le champ " + f.name;
            return false;
        }
        bytes[0] = *b ? 'T' : 'F';
        return true;
    }
    case 'D': {
        const auto* d = std::get_if<Date>(&value);
        if (!d) {
            error = "valeur non date pour le champ " + f.name;
            return false;
        }
        std::memcpy(bytes, d->dtos().data(), 8);
        return true;
    }
    default:
        error = "type de champ non modifiable : " + f.name;
        return false;
    }
}

std::string fieldDisplayText(const FieldDef& f, const char* bytes, CodePage cp)
{
    const std::string raw(bytes, static_cast<std::size_t>(f.length));
    switch (f.type) {
    case 'N':
    case 'F': {
        const auto start = raw.find_first_not_of(' ');
        return start == std::string::npos ? std::string() : trimRight(raw.substr(start));
    }
    case 'L':
        return std::get<bool>(decodeField(f, bytes, cp)) ? "T" : "F";
    case 'D':
        return trimRight(raw);
    default:
        return trimRight(codePageToUtf8(cp, raw));
    }
}

}  // namespace derode::engine
