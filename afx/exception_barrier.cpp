#include "afx/exception_barrier.h"

#include <windows.h>

#include <new>

#include "afx/exception.h"

namespace {

void ReportWithoutOwner(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_ICONEXCLAMATION | MB_OK);
}

AfxErrorReporter g_reporter = &ReportWithoutOwner;

constexpr wchar_t kInvalidArgText[] = L"Encountered an improper argument.";
constexpr wchar_t kOutOfMemoryText[] = L"Out of memory.";
constexpr wchar_t kInternalErrorText[] = L"Internal application error.";

std::wstring SystemStatusText(std::int32_t status) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) {
        wchar_t fallback[64];
        ::swprintf(fallback, 64, L"Unknown error 0x%08X", static_cast<unsigned>(status));
        text = fallback;
    }
    return text;
}

}  // namespace

void AfxSetErrorReporter(AfxErrorReporter reporter) {
    g_reporter = reporter != nullptr ? reporter : &ReportWithoutOwner;
}

std::wstring AfxGetErrorMessage(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const COleException& e) {
        return SystemStatusText(e.Status());
    } catch (const CInvalidArgException&) {
        return kInvalidArgText;
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryText;
    } catch (...) {
        return kInternalErrorText;
    }
}

void AfxReportException(const std::exception_ptr& error) noexcept {
    // The box's loop may deliver the message that failed once more (a
    // timer, a paint); reporting that too would stack boxes without end.
    static thread_local bool reporting = false;
    if (reporting) return;
    reporting = true;
    try {
        g_reporter(AfxGetErrorMessage(error));
    } catch (...) {
        // Nothing sensible is left to do when even the report fails.
    }
    reporting = false;
}
