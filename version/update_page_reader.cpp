#include "version/update_page_reader.h"

#include <windows.h>
#include <wininet.h>

#include <condition_variable>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "afx/internet_session.h"
#include "version/start_deadline.h"

namespace {

constexpr wchar_t kMakerUpdatePage[] = L"https://www.velkor.com/software-updates/";
constexpr wchar_t kUpdatePageVariable[] = L"VORNIX_UPDATE_URL";
constexpr wchar_t kSecureScheme[] = L"https://";

using Clock = std::chrono::steady_clock;

DWORD MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
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

// What the fetch has read so far. Shared with the thread that reads, which
// may outlive the wait: a server that never answers blocks the platform's
// calls in ways no time-out option ends, so the caller stops waiting at the
// deadline and takes what has arrived; the blocked thread ends with the
// process.
struct PageFetch {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::wstring page;
};

void FetchPage(const std::shared_ptr<PageFetch>& fetch, const std::wstring& address, Clock::time_point deadline) {
    CInternetSession session;
    if (session.IsOpen()) {
        const DWORD budget = MillisecondsLeft(deadline);
        session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, budget);
        session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, budget);
        session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, budget);
        // Past every cache, so a stale copy never hides a new update.
        const auto file = session.OpenURL(address, INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD |
                                                       INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE);
        char chunk[kUpdatePageChunk];
        std::size_t total = 0;
        while (file && total < kUpdatePageLimit && Clock::now() < deadline) {
            const UINT read = file->Read(chunk, static_cast<UINT>(kUpdatePageChunk));
            if (read == 0) break;
            total += read;
            std::lock_guard lock(fetch->mutex);
            AppendChunk(fetch->page, chunk, read);
        }
    }
}

}  // namespace

std::wstring ReadUpdatePage(const std::wstring& address) {
    // What is left of the program's first ten seconds once the rest of the
    // start is provided for (never more than ten seconds from now).
    const Clock::time_point deadline = UpdatePageDeadline();
    auto fetch = std::make_shared<PageFetch>();
    try {
        std::thread reader([fetch, address, deadline] {
            // Nothing may escape a thread; a failure just ends the reading.
            try {
                FetchPage(fetch, address, deadline);
            } catch (...) {
            }
            std::lock_guard lock(fetch->mutex);
            fetch->finished = true;
            fetch->done.notify_all();
        });
        std::unique_lock lock(fetch->mutex);
        const bool finished = fetch->done.wait_until(lock, deadline, [&] { return fetch->finished; });
        lock.unlock();
        if (finished) {
            reader.join();
        } else {
            reader.detach();
        }
    } catch (const std::system_error&) {
        // No thread could be started: no page.
    }
    std::lock_guard lock(fetch->mutex);
    return fetch->page;
}
