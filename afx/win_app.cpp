#include "afx/win_app.h"

#include "afx/exception_barrier.h"
#include "afx/wnd.h"

namespace {

CWinApp* g_app = nullptr;

std::wstring ModulePath(HINSTANCE instance) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ReportInMessageBox(const std::wstring& text) { AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK); }

}  // namespace

CWinApp::CWinApp(const wchar_t* appName) {
    if (appName != nullptr) m_appName = appName;
    g_app = this;
    AfxSetErrorReporter(&ReportInMessageBox);
}

CWinApp::~CWinApp() {
    if (g_app != this) return;
    g_app = nullptr;
    AfxSetErrorReporter(nullptr);
}

const AFX_MSGMAP* CWinApp::GetThisMessageMap() {
    static constexpr AFX_MSGMAP map{&CCmdTarget::GetThisMessageMap, {}};
    return &map;
}

const AFX_MSGMAP* CWinApp::GetMessageMap() const { return GetThisMessageMap(); }

void CWinApp::InitNames(HINSTANCE instance) {
    m_hInstance = instance;
    const std::wstring path = ModulePath(instance);
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    AfxSetModuleState(instance, m_appName.empty() ? name : m_appName);

    const std::size_t pathDot = path.find_last_of(L'.');
    const bool dotInName = pathDot != std::wstring::npos && (slash == std::wstring::npos || pathDot > slash);
    m_helpFilePath = (dotInName ? path.substr(0, pathDot) : path) + L".chm";
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return m_exitCode; }

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        HWND main = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
        if (!CWnd::WalkPreTranslateTree(main, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const wchar_t* key) { m_registryKey = key != nullptr ? key : L""; }

CWinApp* AfxGetApp() { return g_app; }

int AfxMessageBox(const std::wstring& text, UINT type) {
    const std::wstring& caption = AfxGetAppName();
    return ::MessageBoxW(CWnd::GetSafeOwner(nullptr), text.c_str(), caption.empty() ? nullptr : caption.c_str(), type);
}

bool AfxWinInit(HINSTANCE instance) {
    if (g_app == nullptr) return false;
    g_app->InitNames(instance);
    return true;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    if (!AfxWinInit(instance)) return -1;
    CWinApp* app = AfxGetApp();
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
