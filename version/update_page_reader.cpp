#include "version/update_page_reader.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>

#include "afx/internet_session.h"

namespace {

constexpr wchar_t kMakerUpdatePage[] = L"https://www.velkor.com/software-updates/";
constexpr wchar_t kUpdatePageVariable[] = L"VORNIX_UPDATE_URL";

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
    const int converted = ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(length), wide,
                                                static_cast<int>(kUpdatePageChunk));
    if (converted > 0) page.append(wide, static_cast<std::size_t>(converted));
}

}  // namespace

std::wstring UpdatePageAddress() {
    const wchar_t* configured = _wgetenv(kUpdatePageVariable);
    return configured != nullptr && configured[0] != L'\0' ? std::wstring(configured) : std::wstring(kMakerUpdatePage);
}

std::wstring ReadUpdatePage(const std::wstring& address) {
    const Clock::time_point deadline = Clock::now() + kUpdatePageDeadline;
    std::wstring page;

    CInternetSession session;
    if (!session.IsOpen()) return page;
    // Each phase may wait only as long as the whole fetch has left.
    const DWORD budget = MillisecondsLeft(deadline);
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, budget);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, budget);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, budget);

    // Past every cache, so a stale copy never hides a new update.
    const auto file = session.OpenURL(address, INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD |
                                                   INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE);
    if (!file) return page;

    char chunk[kUpdatePageChunk];
    std::size_t total = 0;
    while (total < kUpdatePageLimit) {
        const DWORD left = MillisecondsLeft(deadline);
        if (left == 0 || !file->SetReadTimeout(left)) break;
        const UINT read = file->Read(chunk, static_cast<UINT>(kUpdatePageChunk));
        if (read == 0) break;
        AppendChunk(page, chunk, read);
        total += read;
    }
    return page;
}
