#include "afx/file_find.h"

#include "afx/file_time.h"

bool AfxFileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool CFileFind::FindFile(const std::wstring& pattern) {
    Close();
    // The basic information level skips the short names, and the large
    // fetch asks a network share for many entries per round trip.
    m_find.reset(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &m_next, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH));
    m_hasNext = static_cast<bool>(m_find);
    return m_hasNext;
}

bool CFileFind::FindNextFile() {
    if (!m_hasNext) return false;
    m_current = m_next;
    m_hasNext = ::FindNextFileW(m_find.get(), &m_next) != FALSE;
    return m_hasNext;
}

void CFileFind::Close() {
    m_find.reset();
    m_hasNext = false;
}

bool CFileFind::IsDots() const {
    const std::wstring name = m_current.cFileName;
    return name == L"." || name == L"..";
}

std::int64_t CFileFind::GetLastWriteTime() const { return afx::FileTimeToUnixSeconds(m_current.ftLastWriteTime); }
