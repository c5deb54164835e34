// CFileFind: enumerates the entries a wildcard pattern matches, with each
// entry's data as the directory enumeration reports it (so reading an
// entry's times costs no further file-system call).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "afx/handles.h"

// Whether the file's attributes can be read: a folder of that name counts.
bool AfxFileExists(const std::wstring& path);

class CFileFind {
public:
    // Starts the enumeration; false when nothing matches (or the folder
    // cannot be read). The first entry is current after the first
    // FindNextFile, as with the framework's own class.
    bool FindFile(const std::wstring& pattern);
    // Moves to the next entry; false when the current one is the last (it
    // stays readable) or there is none.
    bool FindNextFile();
    void Close();

    std::wstring GetFileName() const { return m_current.cFileName; }
    bool IsDots() const;
    bool IsDirectory() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Last modification time as seconds since 1970-01-01 00:00:00 UTC.
    std::int64_t GetLastWriteTime() const;

private:
    afx::unique_hfind m_find;
    WIN32_FIND_DATAW m_next{};
    WIN32_FIND_DATAW m_current{};
    bool m_hasNext = false;
};
