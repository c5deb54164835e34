// Scoped changes to the test prefix's registry, environment and files, each
// undone when the test ends, so tests do not see each other's state.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The folder of the running test program, with a trailing backslash
// (the program under test and the companion library are built next to it).
std::wstring TestProgramFolder();

// A new empty folder under the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing backslash.
    const std::wstring& Path() const { return path_; }
    // Creates a sub-folder (and its parents) and returns it with a backslash.
    std::wstring MakeFolder(const std::wstring& relative) const;
    void WriteFile(const std::wstring& relative, const std::string& bytes) const;

private:
    std::wstring path_;
};

// Sets (or deletes, for nullopt) a registry string value and puts back what
// was there when the object goes.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, DWORD type, const void* data, DWORD bytes);
    ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, const std::optional<std::wstring>& text);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    void Save();

    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    bool existed_ = false;
    DWORD oldType_ = 0;
    std::string oldData_;
};

// Sets (or removes, for nullopt) a variable of the runtime library's
// environment and restores it when the object goes.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::wstring name, const std::optional<std::wstring>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> old_;
};

// Deletes a registry key with everything below it (missing is fine).
void DeleteRegistryTree(HKEY root, const std::wstring& key);
