#include "afx/win_app.h"

#include "afx/wnd.h"

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;

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

}  // namespace

CWinApp::CWinApp(const wchar_t* appName) {
    if (appName != nullptr) m_appName = appName;
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
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
    if (m_appName.empty()) m_appName = name;

    const std::size_t pathDot = path.find_last_of(L'.');
    const bool dotInName = pathDot != std::wstring::npos && (slash == std::wstring::npos || pathDot > slash);
    m_helpFilePath = (dotInName ? path.substr(0, pathDot) : path) + L".chm";
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        HWND main = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
        if (!CWnd::WalkPreTranslateTree(main, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const wchar_t* key) { m_registryKey = key != nullptr ? key : L""; }

void CWinApp::DoWaitCursor(int n) {
    m_waitCursorCount += n;
    if (m_waitCursorCount > 0) {
        HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (n > 0 && m_waitCursorCount == 1) m_cursorBeforeWait = previous;
    } else {
        m_waitCursorCount = 0;
        ::SetCursor(m_cursorBeforeWait != nullptr ? m_cursorBeforeWait : ::LoadCursorW(nullptr, IDC_ARROW));
    }
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() {
    return g_app != nullptr && g_app->m_hInstance != nullptr ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return g_resources != nullptr ? g_resources : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE resources) { g_resources = resources; }

int AfxMessageBox(const std::wstring& text, UINT type) {
    const std::wstring caption = g_app != nullptr ? g_app->GetAppName() : std::wstring();
    return ::MessageBoxW(CWnd::GetSafeOwner(nullptr), text.c_str(), caption.empty() ? nullptr : caption.c_str(), type);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    app->InitNames(instance);
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
