#pragma once
// The program's registry accessor. Linux has no registry: HKEY_CURRENT_USER is a per-user store
// file in the text format of registry export files ("Windows Registry Editor Version 5.00", key
// lines in brackets with the full HKEY_CURRENT_USER path, "x"=dword:00000093, "MailName"="…").
// The file is read at each operation and rewritten atomically after each write. A store that
// cannot be read or parsed reads as empty and is never touched by a read; the next write
// replaces it. HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT are empty and read-only here.
// LASTERROR takes the Windows codes: 0 success, 2 missing key or value, 5 store not writable.
// Key and value names compare without regard to case, as in the registry.

#include <cstdint>
#include <string>
#include <vector>

namespace derode::core {

enum RegistryError : long {
    REGISTRY_SUCCESS = 0,
    REGISTRY_NOT_FOUND = 2,      // ERROR_FILE_NOT_FOUND
    REGISTRY_ACCESS_DENIED = 5,  // ERROR_ACCESS_DENIED
};

enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

// The root's name as key lines of the store write it ("HKEY_CURRENT_USER").
std::string registryRootName(RegistryRoot root);

class _CLASS_REGISTRY {
public:
    virtual ~_CLASS_REGISTRY() = default;

    const std::string& WORKING_SUBKEY() const { return workingSubkey_; }
    void WORKING_SUBKEY(const std::string& subkey) { workingSubkey_ = subkey; }
    RegistryRoot HKEY() const { return root_; }
    void HKEY(RegistryRoot root) { root_ = root; }
    long LASTERROR() const { return lastError_; }
    void LASTERROR(long code) { lastError_ = code; }
    // The store file behind HKEY_CURRENT_USER.
    const std::string& storeFile() const { return storeFile_; }

    // Blanks and backslashes removed from both ends of `subkey`; then WORKING_SUBKEY when it is
    // empty, `subkey` when WORKING_SUBKEY is empty, else WORKING_SUBKEY + "\\" + subkey.
    std::string BUILD_FULL_SUBKEY(const std::string& subkey) const;

    // The DWORD value (0 for a missing value or one of another type).
    int GETINT(const std::string& subkey, const std::string& valueName);
    // The string value (empty for a missing value or one of another type).
    std::string GETSTRING(const std::string& subkey, const std::string& valueName);
    // Create the full subkey and every missing key on the way; false with LASTERROR 5 when the
    // store cannot be written.
    bool CREATEKEY(const std::string& subkey);
    bool CREATESUBKEY(const std::string& subkey);
    bool WRITEINT(const std::string& subkey, const std::string& valueName, int value);
    bool WRITESTRING(const std::string& subkey, const std::string& valueName, const std::string& text);
    // Names of the subkeys directly below the full subkey; empty with LASTERROR 2 when it is missing.
    std::vector<std::string> GET_SUBKEY_VALUENAMES(const std::string& subkey);
    bool DELETEVALUE(const std::string& subkey, const std::string& valueName);
    // Removes the full subkey with everything below it.
    bool DELETESUBKEY(const std::string& subkey);
    // Every write is already on disk when it returns.
    bool FLUSH() { lastError_ = REGISTRY_SUCCESS; return true; }

protected:
    _CLASS_REGISTRY(RegistryRoot root, std::string storeFile);

private:
    RegistryRoot root_;
    std::string storeFile_;
    std::string workingSubkey_;
    long lastError_ = REGISTRY_SUCCESS;
};

// HKEY_CURRENT_USER on the run's store file (core::locations().registryFile), or on `storeFile`.
class CLASS_HKCU : public _CLASS_REGISTRY {
public:
    CLASS_HKCU();
    explicit CLASS_HKCU(std::string storeFile);
};

class CLASS_HKLM : public _CLASS_REGISTRY {
public:
    CLASS_HKLM();
};

class CLASS_HKCR : public _CLASS_REGISTRY {
public:
    CLASS_HKCR();
};

}  // namespace derode::core
