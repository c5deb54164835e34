// vornix_scan_bench.exe: the update check's newest-file scan over a folder of
// many files, timed and with its file-system calls counted, beside a scan
// that first lists the names and then asks for each file's status.
//
//   vornix_scan_bench.exe [FILES [RUNS]]     (default 10000 files, 5 runs)
//
// The program's code is linked into this executable, so its calls to the
// platform go through this executable's import table; pointing the entries
// of the file-system functions at counting wrappers counts every call the
// scan makes, with no change to the program.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "afx/file_time.h"
#include "afx/handles.h"
#include "median.h"
#include "version/web_update_check.h"
#include "import_redirect.h"

namespace {

using Clock = std::chrono::steady_clock;

// --- counting file-system calls ---

struct CallCounts {
    long findFirst = 0;
    long findNext = 0;
    long findClose = 0;
    long attributes = 0;
    [[nodiscard]] long total() const { return findFirst + findNext + findClose + attributes; }
};
CallCounts g_calls;

decltype(&::FindFirstFileExW) g_findFirstFileEx = nullptr;
decltype(&::FindNextFileW) g_findNextFile = nullptr;
decltype(&::FindClose) g_findClose = nullptr;
decltype(&::GetFileAttributesExW) g_getFileAttributesEx = nullptr;

HANDLE WINAPI CountedFindFirstFileEx(LPCWSTR name, FINDEX_INFO_LEVELS level, LPVOID data, FINDEX_SEARCH_OPS search,
                                     LPVOID filter, DWORD flags) {
    ++g_calls.findFirst;
    return g_findFirstFileEx(name, level, data, search, filter, flags);
}
BOOL WINAPI CountedFindNextFile(HANDLE find, LPWIN32_FIND_DATAW data) {
    ++g_calls.findNext;
    return g_findNextFile(find, data);
}
BOOL WINAPI CountedFindClose(HANDLE find) {
    ++g_calls.findClose;
    return g_findClose(find);
}
BOOL WINAPI CountedGetFileAttributesEx(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
    ++g_calls.attributes;
    return g_getFileAttributesEx(name, level, data);
}

bool CountFileSystemCalls() {
    return probe::RedirectImport("FindFirstFileExW", &CountedFindFirstFileEx, g_findFirstFileEx) &&
           probe::RedirectImport("FindNextFileW", &CountedFindNextFile, g_findNextFile) &&
           probe::RedirectImport("FindClose", &CountedFindClose, g_findClose) &&
           probe::RedirectImport("GetFileAttributesExW", &CountedGetFileAttributesEx, g_getFileAttributesEx);
}

// --- the folder of files ---

constexpr std::int64_t kFirstFileTime = 1672531200;  // 2023-01-01 00:00:00 UTC

std::wstring FileName(int index) {
    wchar_t name[32];
    std::swprintf(name, 32, L"module%05d.fas", index);
    return name;
}

// count files, each a second newer than the one before.
bool MakeFiles(const std::wstring& folder, int count) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    for (int index = 0; index < count; ++index) {
        const afx::unique_hfile file(CreateFileW((folder + FileName(index)).c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        const FILETIME modified = afx::UnixSecondsToFileTime(kFirstFileTime + index);
        if (!file || !SetFileTime(file.get(), nullptr, nullptr, &modified)) return false;
    }
    return true;
}

void RemoveFiles(const std::wstring& folder, int count) {
    for (int index = 0; index < count; ++index) DeleteFileW((folder + FileName(index)).c_str());
    RemoveDirectoryW(folder.c_str());
}

// --- the two scans ---

CalendarTime ProgramScan(const std::wstring& folder) {
    CalendarTime newest = 0;
    UpdateNewestFileTime(newest, folder + L"*.fas");
    return newest;
}

// The names first, then each file's status by its path.
CalendarTime NamesThenStatus(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const afx::unique_hfind find(
        ::FindFirstFileExW((folder + L"*.fas").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (find) {
        do names.emplace_back(found.cFileName);
        while (::FindNextFileW(find.get(), &found));
    }
    CalendarTime newest = 0;
    for (const std::wstring& name : names) {
        WIN32_FILE_ATTRIBUTE_DATA status{};
        if (::GetFileAttributesExW((folder + name).c_str(), GetFileExInfoStandard, &status))
            newest = std::max(newest, afx::FileTimeToUnixSeconds(status.ftLastWriteTime));
    }
    return newest;
}

struct Result {
    std::vector<double> milliseconds;
    CallCounts calls;
    CalendarTime newest = 0;
};

Result Measure(const std::function<CalendarTime(const std::wstring&)>& scan, const std::wstring& folder, int runs) {
    Result result;
    for (int run = 0; run < runs; ++run) {
        g_calls = {};
        const Clock::time_point start = Clock::now();
        result.newest = scan(folder);
        result.milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        result.calls = g_calls;
    }
    return result;
}

void Print(const char* name, const Result& result) {
    std::printf("%-40s %9.1f  ", name, Median(result.milliseconds));
    for (const double ms : result.milliseconds) std::printf(" %.1f", ms);
    std::printf("\n%-40s FindFirstFileExW %ld, FindNextFileW %ld, FindClose %ld, GetFileAttributesExW %ld: %ld calls\n",
                "", result.calls.findFirst, result.calls.findNext, result.calls.findClose, result.calls.attributes,
                result.calls.total());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int files = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 10000;
    const int runs = argc > 2 ? std::max(1, static_cast<int>(std::wcstol(argv[2], nullptr, 10))) : 5;
    if (!CountFileSystemCalls()) {
        std::printf("cannot count the file-system calls: an import was not found\n");
        return 1;
    }
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"VornixScanBench\\";

    const Clock::time_point made = Clock::now();
    if (!MakeFiles(folder, files)) {
        std::printf("cannot make the files in %ls (error %lu)\n", folder.c_str(), GetLastError());
        RemoveFiles(folder, files);
        return 1;
    }
    std::printf("%d files in %ls, made in %.0f ms; %d runs of each scan\n\n", files, folder.c_str(),
                std::chrono::duration<double, std::milli>(Clock::now() - made).count(), runs);
    std::printf("%-40s %9s   %s\n", "scan", "median ms", "runs (ms)");
    const Result program = Measure(ProgramScan, folder, runs);
    const Result perFile = Measure(NamesThenStatus, folder, runs);
    Print("UpdateNewestFileTime (one enumeration)", program);
    Print("names, then GetFileAttributesExW each", perFile);
    RemoveFiles(folder, files);

    const CalendarTime expected = kFirstFileTime + files - 1;
    if (program.newest != expected || perFile.newest != expected) {
        std::printf("\nwrong newest time: %lld and %lld, expected %lld\n", static_cast<long long>(program.newest),
                    static_cast<long long>(perFile.newest), static_cast<long long>(expected));
        return 1;
    }
    return 0;
}
