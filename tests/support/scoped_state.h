// Changes a test makes to the prefix's registry, environment and files,
// each undone when its object goes, so tests do not see each other's state.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The folder of the running test program, with a trailing backslash: the
// build puts the program under test and its libraries next to it.
std::wstring ProgramFolder();

// A new empty folder under the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // Creates a sub-folder (and its parents) and returns it with a backslash.
    std::wstring MakeFolder(const std::wstring& relative) const;
    // Writes a file, last modified at the given time when one is given.
    std::wstring WriteFile(const std::wstring& relative, const std::string& bytes,
                           std::optional<std::int64_t> modifiedUnixSeconds = std::nullopt) const;

private:
    std::wstring m_path;
};

// Sets (or deletes, given nothing) a registry value and puts back what was
// there when the object goes. Text is stored as REG_SZ.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, DWORD type, const void* data, DWORD bytes);
    ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, const std::optional<std::wstring>& text);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    HKEY m_root;
    std::wstring m_key;
    std::wstring m_name;
    std::optional<DWORD> m_oldType;
    std::string m_oldData;
};

// Sets (or removes, given nothing) a variable of the runtime library's
// environment and restores it when the object goes.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::wstring name, const std::optional<std::wstring>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring m_name;
    std::optional<std::wstring> m_old;
};
