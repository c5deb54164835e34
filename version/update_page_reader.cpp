#include "version/update_page_reader.h"

#include <windows.h>
#include <wininet.h>

#include <cwchar>
#include <iterator>
#include <memory>

#include "afx/internet_session.h"
#include "afx/registry.h"
#include "afx/srw_lock.h"
#include "version/deadline_thread.h"
#include "version/install_paths.h"

namespace {

constexpr wchar_t kMakerUpdatePage[] = L"https://www.velkor.com/software-updates/";
constexpr wchar_t kSecureScheme[] = L"https://";

bool IsSecureAddress(const std::wstring& address) {
    return ::_wcsnicmp(address.c_str(), kSecureScheme, std::size(kSecureScheme) - 1) == 0;
}

bool IsRedirect(DWORD status) {
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD ||
           status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == HTTP_STATUS_PERMANENT_REDIRECT;
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
    const std::wstring configured =
        ReadRegistryString(HKEY_LOCAL_MACHINE, kSuiteKey, kUpdatePageAddressValue, KEY_QUERY_VALUE);
    return IsSecureAddress(configured) ? configured : std::wstring(kMakerUpdatePage);
}

namespace {

// What the reading has read so far. Shared with the thread that reads, which
// may outlive the wait (version/deadline_thread.h): a server that never
// answers blocks the platform's calls in ways no time-out option ends, so
// the caller stops waiting at the deadline and takes what has arrived.
struct PageFetch {
    std::wstring address;
    StartClock::time_point deadline;
    SRWLOCK lock = SRWLOCK_INIT;
    std::wstring page;
};

// The page's response, redirects followed by hand: the platform would follow
// one to plain http too, and the page decides what an elevated program offers.
std::unique_ptr<CInternetFile> OpenFollowingSecureRedirects(CInternetSession& session, std::wstring address) {
    // Past every cache, so a stale copy never hides a new update.
    constexpr DWORD kFlags = INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                             INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES |
                             INTERNET_FLAG_NO_AUTH;
    for (int redirects = 0;; ++redirects) {
        if (!IsSecureAddress(address)) return nullptr;
        auto file = session.OpenURL(address, kFlags);
        if (!file || !IsRedirect(file->StatusCode())) return file;
        if (redirects == kUpdatePageRedirectLimit) return nullptr;
        // The location may be relative to the address asked.
        address = CInternetSession::CombineURL(address, file->Location());
    }
}

void FetchPage(PageFetch& fetch) {
    CInternetSession session;
    if (!session.IsOpen()) return;
    const DWORD budget = MillisecondsLeft(fetch.deadline);
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, budget);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, budget);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, budget);
    const auto file = OpenFollowingSecureRedirects(session, fetch.address);
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

}  // namespace

std::wstring ReadUpdatePage(const std::wstring& address, StartClock::time_point deadline) {
    auto fetch = std::make_shared<PageFetch>(address, deadline);
    // Whether the reading finished or not, the page is what arrived by then.
    RunUntilDeadline([fetch] { FetchPage(*fetch); }, deadline);
    const afx::SrwLockScope held(fetch->lock, afx::SrwLockScope::Access::Shared);
    return fetch->page;
}
