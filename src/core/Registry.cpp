#include "core/Registry.h"

#include "core/AtomicFile.h"
#include "core/Encoding.h"
#include "core/Locations.h"
#include "core/Text.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace derode::core {

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

struct Value {
    enum class Type { Dword, String, Other } type = Type::String;
    std::string name;       // empty for the key's default value ("@")
    std::uint32_t dword = 0;
    std::string text;       // the string, or for Other the raw data after "="
};

struct Key {
    std::string path;  // full path, root name included
    std::vector<Value> values;
};

struct Store {
    std::vector<Key> keys;
};

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool sameName(const std::string& a, const std::string& b) { return lowerAscii(a) == lowerAscii(b); }

// "…"-quoted text with \\ and \" escapes, starting at `pos` (on the opening quote).
std::optional<std::string> parseQuoted(const std::string& line, std::size_t& pos)
{
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '\\' && pos + 1 < line.size()) {
            out += line[++pos];
        } else if (c == '"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::string quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string utf16leToUtf8(const std::string& bytes)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            char32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(out, unit);
    }
    return out;
}

std::optional<Store> parse(const std::string& raw)
{
    std::string text;
    if (raw.compare(0, 2, "\xFF\xFE") == 0)
        text = utf16leToUtf8(raw.substr(2));
    else if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text = raw.substr(3);
    else
        text = raw;

    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // A trailing backslash continues the value on the next line (long hex data).
        if (!lines.empty() && !lines.back().empty() && lines.back().back() == '\\')
            lines.back() = lines.back().substr(0, lines.back().size() - 1) + trim(line);
        else
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }

    Store store;
    bool headerSeen = false;
    for (const std::string& rawLine : lines) {
        std::string line = trim(rawLine);
        if (line.empty() || line[0] == ';')
            continue;
        if (!headerSeen) {
            if (line != kHeader && line != "REGEDIT4")
                return std::nullopt;
            headerSeen = true;
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3 || line[1] == '-')
                return std::nullopt;
            store.keys.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        if (store.keys.empty())
            return std::nullopt;
        Value value;
        std::size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else {
            auto name = parseQuoted(line, pos);
            if (!name)
                return std::nullopt;
            value.name = *name;
        }
        if (pos >= line.size() || line[pos] != '=')
            return std::nullopt;
        ++pos;
        std::string data = line.substr(pos);
        if (!data.empty() && data[0] == '"') {
            std::size_t p = 0;
            auto str = parseQuoted(data, p);
            if (!str || p != data.size())
                return std::nullopt;
            value.type = Value::Type::String;
            value.text = *str;
        } else if (lowerAscii(data.substr(0, 6)) == "dword:") {
            std::string hex = data.substr(6);
            if (hex.empty() || hex.size() > 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return std::nullopt;
            value.type = Value::Type::Dword;
            value.dword = static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
        } else if (lowerAscii(data.substr(0, 3)) == "hex" || data == "-") {
            value.type = Value::Type::Other;
            value.text = data;
        } else {
            return std::nullopt;
        }
        store.keys.back().values.push_back(value);
    }
    if (!headerSeen)
        return std::nullopt;
    return store;
}

std::string serialise(const Store& store)
{
    std::string out = std::string(kHeader) + "\r\n";
    for (const Key& key : store.keys) {
        out += "\r\n[" + key.path + "]\r\n";
        for (const Value& v : key.values) {
            out += v.name.empty() ? std::string("@") : quote(v.name);
            out += "=";
            if (v.type == Value::Type::Dword) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "dword:%08x", v.dword);
                out += hex;
            } else if (v.type == Value::Type::String) {
                out += quote(v.text);
            } else {
                out += v.text;
            }
            out += "\r\n";
        }
    }
    return out;
}

enum class LoadState { Ok, Unreadable };

// A missing, unreadable or corrupt store reads as empty; `state` says whether it may be rewritten.
Store load(const std::string& path, LoadState& state)
{
    state = LoadState::Ok;
    std::string bytes;
    if (!readFile(path, bytes)) {
        struct stat st {};
        if (!(::stat(path.c_str(), &st) != 0 && errno == ENOENT))
            state = LoadState::Unreadable;
        return {};
    }
    if (auto store = parse(bytes))
        return *store;
    return {};
}

Key* findKey(Store& store, const std::string& path)
{
    for (Key& key : store.keys)
        if (sameName(key.path, path))
            return &key;
    return nullptr;
}

bool keyExists(Store& store, const std::string& path)
{
    if (findKey(store, path))
        return true;
    const std::string prefix = lowerAscii(path) + "\\";
    for (const Key& key : store.keys)
        if (lowerAscii(key.path).rfind(prefix, 0) == 0)
            return true;
    return false;
}

Value* findValue(Key& key, const std::string& name)
{
    for (Value& v : key.values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

// Adds the key and each missing key above it (below the root), as registry exports list them.
Key& ensureKey(Store& store, const std::string& path)
{
    std::size_t pos = path.find('\\');
    while (pos != std::string::npos) {
        std::string ancestor = path.substr(0, pos);
        if (ancestor.find('\\') != std::string::npos && !findKey(store, ancestor))
            store.keys.push_back({ancestor, {}});
        pos = path.find('\\', pos + 1);
    }
    if (Key* key = findKey(store, path))
        return *key;
    store.keys.push_back({path, {}});
    return store.keys.back();
}

// The value of that name, added empty at the end of the key when it is missing.
Value& ensureValue(Key& key, const std::string& name)
{
    if (Value* value = findValue(key, name))
        return *value;
    key.values.push_back({});
    key.values.back().name = name;
    return key.values.back();
}

// Outer blanks and backslashes removed: a subkey may be written with or without them.
std::string stripSubkey(const std::string& subkey) { return trim(subkey, " \\"); }

}  // namespace

std::string registryRootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    }
    return {};
}

_CLASS_REGISTRY::_CLASS_REGISTRY(RegistryRoot root, std::string storeFile)
    : root_(root), storeFile_(std::move(storeFile))
{
}

std::string _CLASS_REGISTRY::BUILD_FULL_SUBKEY(const std::string& subkey) const
{
    std::string sub = stripSubkey(subkey);
    if (sub.empty())
        return workingSubkey_;
    if (workingSubkey_.empty())
        return sub;
    return workingSubkey_ + "\\" + sub;
}

namespace {

// Runs a read on the store: nullptr key when the root has no store or the key is missing.
template <typename F>
auto withKey(RegistryRoot root, const std::string& storeFile, const std::string& fullSubkey, F f)
{
    Store store;
    if (root == RegistryRoot::CurrentUser) {
        LoadState state;
        store = load(storeFile, state);
    }
    std::string path = registryRootName(root);
    if (!fullSubkey.empty())
        path += "\\" + fullSubkey;
    return f(store, path);
}

}  // namespace

int _CLASS_REGISTRY::GETINT(const std::string& subkey, const std::string& valueName)
{
    return withKey(root_, storeFile_, BUILD_FULL_SUBKEY(subkey), [&](Store& store, const std::string& path) {
        Key* key = findKey(store, path);
        Value* value = key ? findValue(*key, valueName) : nullptr;
        lastError_ = value ? REGISTRY_SUCCESS : REGISTRY_NOT_FOUND;
        return value && value->type == Value::Type::Dword ? static_cast<int>(value->dword) : 0;
    });
}

std::string _CLASS_REGISTRY::GETSTRING(const std::string& subkey, const std::string& valueName)
{
    return withKey(root_, storeFile_, BUILD_FULL_SUBKEY(subkey), [&](Store& store, const std::string& path) {
        Key* key = findKey(store, path);
        Value* value = key ? findValue(*key, valueName) : nullptr;
        lastError_ = value ? REGISTRY_SUCCESS : REGISTRY_NOT_FOUND;
        return value && value->type == Value::Type::String ? value->text : std::string();
    });
}

std::vector<std::string> _CLASS_REGISTRY::GET_SUBKEY_VALUENAMES(const std::string& subkey)
{
    return withKey(root_, storeFile_, BUILD_FULL_SUBKEY(subkey), [&](Store& store, const std::string& path) {
        std::vector<std::string> names;
        if (!keyExists(store, path)) {
            lastError_ = REGISTRY_NOT_FOUND;
            return names;
        }
        const std::string prefix = lowerAscii(path) + "\\";
        for (const Key& key : store.keys) {
            if (lowerAscii(key.path).rfind(prefix, 0) != 0)
                continue;
            std::string rest = key.path.substr(prefix.size());
            std::string child = rest.substr(0, rest.find('\\'));
            bool known = false;
            for (const auto& n : names)
                known = known || sameName(n, child);
            if (!known && !child.empty())
                names.push_back(child);
        }
        lastError_ = REGISTRY_SUCCESS;
        return names;
    });
}

namespace {

// Loads, changes and rewrites the store; false (LASTERROR 5) when it cannot be written.
template <typename F>
bool modify(RegistryRoot root, const std::string& storeFile, long& lastError, F change)
{
    if (root != RegistryRoot::CurrentUser || storeFile.empty()) {
        lastError = REGISTRY_ACCESS_DENIED;
        return false;
    }
    LoadState state;
    Store store = load(storeFile, state);
    if (state == LoadState::Unreadable) {
        lastError = REGISTRY_ACCESS_DENIED;
        return false;
    }
    long code = change(store);
    if (code != REGISTRY_SUCCESS) {
        lastError = code;
        return false;
    }
    std::error_code ec;
    fs::path folder = fs::path(storeFile).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, ec);
    if (!writeFileAtomically(storeFile, serialise(store))) {
        lastError = REGISTRY_ACCESS_DENIED;
        return false;
    }
    lastError = REGISTRY_SUCCESS;
    return true;
}

}  // namespace

bool _CLASS_REGISTRY::CREATEKEY(const std::string& subkey) { return CREATESUBKEY(subkey); }

bool _CLASS_REGISTRY::CREATESUBKEY(const std::string& subkey)
{
    const std::string path = registryRootName(root_) + "\\" + BUILD_FULL_SUBKEY(subkey);
    return modify(root_, storeFile_, lastError_, [&](Store& store) {
        ensureKey(store, path);
        return REGISTRY_SUCCESS;
    });
}

bool _CLASS_REGISTRY::WRITEINT(const std::string& subkey, const std::string& valueName, int number)
{
    const std::string path = registryRootName(root_) + "\\" + BUILD_FULL_SUBKEY(subkey);
    return modify(root_, storeFile_, lastError_, [&](Store& store) {
        Value& value = ensureValue(ensureKey(store, path), valueName);
        value.type = Value::Type::Dword;
        value.dword = static_cast<std::uint32_t>(number);
        value.text.clear();
        return REGISTRY_SUCCESS;
    });
}

bool _CLASS_REGISTRY::WRITESTRING(const std::string& subkey, const std::string& valueName, const std::string& text)
{
    const std::string path = registryRootName(root_) + "\\" + BUILD_FULL_SUBKEY(subkey);
    return modify(root_, storeFile_, lastError_, [&](Store& store) {
        Value& value = ensureValue(ensureKey(store, path), valueName);
        value.type = Value::Type::String;
        // A line break would cut the store's line structure and lose every value at the next read.
        value.text = text;
        for (char& c : value.text)
            if (c == '\r' || c == '\n')
                c = ' ';
        return REGISTRY_SUCCESS;
    });
}

bool _CLASS_REGISTRY::DELETEVALUE(const std::string& subkey, const std::string& valueName)
{
    const std::string path = registryRootName(root_) + "\\" + BUILD_FULL_SUBKEY(subkey);
    return modify(root_, storeFile_, lastError_, [&](Store& store) -> long {
        Key* key = findKey(store, path);
        if (!key)
            return REGISTRY_NOT_FOUND;
        for (auto it = key->values.begin(); it != key->values.end(); ++it) {
            if (sameName(it->name, valueName)) {
                key->values.erase(it);
                return REGISTRY_SUCCESS;
            }
        }
        return REGISTRY_NOT_FOUND;
    });
}

bool _CLASS_REGISTRY::DELETESUBKEY(const std::string& subkey)
{
    const std::string path = registryRootName(root_) + "\\" + BUILD_FULL_SUBKEY(subkey);
    return modify(root_, storeFile_, lastError_, [&](Store& store) -> long {
        if (!keyExists(store, path))
            return REGISTRY_NOT_FOUND;
        const std::string lower = lowerAscii(path);
        std::erase_if(store.keys, [&](const Key& key) {
            std::string k = lowerAscii(key.path);
            return k == lower || k.rfind(lower + "\\", 0) == 0;
        });
        return REGISTRY_SUCCESS;
    });
}

CLASS_HKCU::CLASS_HKCU() : _CLASS_REGISTRY(RegistryRoot::CurrentUser, locations().registryFile) {}

CLASS_HKCU::CLASS_HKCU(std::string storeFile) : _CLASS_REGISTRY(RegistryRoot::CurrentUser, std::move(storeFile)) {}

CLASS_HKLM::CLASS_HKLM() : _CLASS_REGISTRY(RegistryRoot::LocalMachine, {}) {}

CLASS_HKCR::CLASS_HKCR() : _CLASS_REGISTRY(RegistryRoot::ClassesRoot, {}) {}

}  // namespace derode::core
