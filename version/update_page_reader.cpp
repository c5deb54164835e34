#include "version/update_page_reader.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <memory>

#include "afx/exception_barrier.h"
#include "afx/handles.h"
#include "afx/internet_session.h"
#include "afx/srw_lock.h"

namespace {

constexpr wchar_t kMakerUpdatePage[] = L"https://www.velkor.com/software-updates/";
constexpr wchar_t kUpdatePageVariable[] = L"VORNIX_UPDATE_URL";
constexpr wchar_t kSecureScheme[] = L"https://";

DWORD MillisecondsLeft(StartClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - StartClock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

// One chunk's contribution: its bytes up to the first zero, as text of the
// system's 8-bit code page.
void AppendChunk(std::wstring& page, const char* bytes, std::size_t count) {
    std::size_t length = 0;
    while (length < count && bytes[length] != '\0') ++length;
    if (length == 0) return;
    wchar_t wide[kUpdatePageChunk];
    const int converted =
        ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(length), wide, static_cast<int>(kUpdatePageChunk));
    if (converted > 0) page.append(wide, static_cast<std::size_t>(converted));
}

}  // namespace

std::wstring UpdatePageAddress() {
    const wchar_t* configured = _wgetenv(kUpdatePageVariable);
    const bool secure =
        configured != nullptr && ::_wcsnicmp(configured, kSecureScheme, std::size(kSecureScheme) - 1) == 0;
    return secure ? std::wstring(configured) : std::wstring(kMakerUpdatePage);
}

namespace {

// What the reading has read so far. Shared with the thread that reads, which
// may outlive the wait: a server that never answers blocks the platform's
// calls in ways no time-out option ends, so the caller stops waiting at the
// deadline and takes what has arrived; the blocked thread ends with the
// process. The system's own thread and lock: the library depends on no
// threads runtime of the compiler's.
struct PageFetch {
    std::wstring address;
    StartClock::time_point deadline;
    SRWLOCK lock = SRWLOCK_INIT;
    std::wstring page;
};

void FetchPage(PageFetch& fetch) {
    CInternetSession session;
    if (!session.IsOpen()) return;
    const DWORD budget = MillisecondsLeft(fetch.deadline);
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, budget);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, budget);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, budget);
    // Past every cache, so a stale copy never hides a new update.
    const auto file = session.OpenURL(fetch.address, INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD |
                                                         INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE);
    char chunk[kUpdatePageChunk];
    std::size_t total = 0;
    while (file && total < kUpdatePageLimit && StartClock::now() < fetch.deadline) {
        const UINT read = file->Read(chunk, static_cast<UINT>(kUpdatePageChunk));
        if (read == 0) break;
        total += read;
        const afx::SrwLockScope held(fetch.lock, afx::SrwLockScope::Access::Exclusive);
        AppendChunk(fetch.page, chunk, read);
    }
}

DWORD WINAPI ReadingThread(void* parameter) {
    const std::unique_ptr<std::shared_ptr<PageFetch>> fetch(static_cast<std::shared_ptr<PageFetch>*>(parameter));
    return AfxCallGuarded(0ul, [&] {
        // A failure of the reading itself just ends it, with what was read.
        try {
            FetchPage(**fetch);
        } catch (...) {
        }
        return 0ul;
    });
}

}  // namespace

std::wstring ReadUpdatePage(const std::wstring& address, StartClock::time_point deadline) {
    auto fetch = std::make_shared<PageFetch>(address, deadline);
    auto forThread = std::make_unique<std::shared_ptr<PageFetch>>(fetch);
    const afx::unique_handle reader(::CreateThread(nullptr, 0, &ReadingThread, forThread.get(), 0, nullptr));
    // Without a thread there is no page; with one, it owns its share.
    if (!reader) return {};
    forThread.release();
    ::WaitForSingleObject(reader.get(), MillisecondsLeft(deadline));
    const afx::SrwLockScope held(fetch->lock, afx::SrwLockScope::Access::Shared);
    return fetch->page;
}
