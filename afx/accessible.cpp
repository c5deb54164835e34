#include "afx/accessible.h"

#include <utility>

#include "afx/exception_barrier.h"
#include "afx/system_library.h"

namespace afx {

namespace {

// oleacc from the system folder at the first screen reader's request
// (afx/system_library.h): a program without one never loads it.
constinit const SystemFunction<decltype(&::CreateStdAccessibleObject)> kCreateStdAccessibleObject{
    L"oleacc.dll", "CreateStdAccessibleObject"};
constinit const SystemFunction<decltype(&::LresultFromObject)> kLresultFromObject{L"oleacc.dll", "LresultFromObject"};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

void Notify(DWORD event, HWND window) {
    if (window != nullptr) ::NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

// A text as a client frees it; no text (S_FALSE) when empty.
HRESULT ToBstr(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

CAccessibleClient::CAccessibleClient(HWND window, std::unique_ptr<AccessibleFacts> facts, IAccessible* standard)
    : m_window(window), m_facts(std::move(facts)), m_standard(standard) {}

CAccessibleClient::~CAccessibleClient() {
    if (m_standard != nullptr) m_standard->Release();
}

bool CAccessibleClient::IsClientRequest(LPARAM objectId) {
    // The id is in the low 32 bits; what is above them is not to be trusted
    // (it comes zero-extended, where OBJID_CLIENT is negative).
    return static_cast<LONG>(static_cast<DWORD>(objectId)) == OBJID_CLIENT;
}

CAccessibleClient* CAccessibleClient::Create(HWND window, std::unique_ptr<AccessibleFacts> facts) {
    IAccessible* standard = nullptr;
    const auto createStandard = kCreateStdAccessibleObject.get();
    if (createStandard == nullptr ||
        FAILED(createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        return nullptr;
    return new CAccessibleClient(window, std::move(facts), standard);
}

bool CAccessibleClient::InSingleThreadedApartment() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    const HRESULT known = ::CoGetApartmentType(&type, &qualifier);
    // A thread that never initialised COM is in no apartment, or only
    // implicitly in the multithreaded one while another thread holds it:
    // either way it may join a single-threaded one.
    if (known == CO_E_NOTINITIALIZED || (SUCCEEDED(known) && qualifier == APTTYPEQUALIFIER_IMPLICIT_MTA)) {
        if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
        if (FAILED(::CoGetApartmentType(&type, &qualifier))) return false;
    } else if (FAILED(known)) {
        return false;
    }
    return type == APTTYPE_STA || type == APTTYPE_MAINSTA;
}

LRESULT CAccessibleClient::Lresult(WPARAM wParam) {
    const auto lresultFromObject = kLresultFromObject.get();
    return lresultFromObject != nullptr
               ? lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this))
               : 0;
}

void CAccessibleClient::Disconnect(CAccessibleClient*& held) {
    if (held == nullptr) return;
    held->m_facts.reset();
    if (held->m_standard != nullptr) std::exchange(held->m_standard, nullptr)->Release();
    std::exchange(held, nullptr)->Release();
}

void CAccessibleClient::NotifyStateChange(HWND window) { Notify(EVENT_OBJECT_STATECHANGE, window); }

void CAccessibleClient::NotifyNameChange(HWND window) { Notify(EVENT_OBJECT_NAMECHANGE, window); }

void CAccessibleClient::NotifyValueChange(HWND window) { Notify(EVENT_OBJECT_VALUECHANGE, window); }

HRESULT CAccessibleClient::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleClient::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }

ULONG CAccessibleClient::Release() {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CAccessibleClient::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CAccessibleClient::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT CAccessibleClient::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT CAccessibleClient::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT CAccessibleClient::Facts(const VARIANT& child, AccessibleFacts** facts) const {
    if (m_standard == nullptr || m_facts == nullptr) return CO_E_OBJNOTCONNECTED;
    // The facts are the control's state, which only its own thread reads.
    if (::GetWindowThreadProcessId(m_window, nullptr) != ::GetCurrentThreadId()) return RPC_E_WRONG_THREAD;
    if (!IsSelf(child)) return E_INVALIDARG;
    *facts = m_facts.get();
    return S_OK;
}

HRESULT CAccessibleClient::get_accParent(IDispatch** parent) {
    return Standard([&](IAccessible* standard) { return standard->get_accParent(parent); });
}

HRESULT CAccessibleClient::get_accChildCount(long* count) {
    return Standard([&](IAccessible* standard) { return standard->get_accChildCount(count); });
}

HRESULT CAccessibleClient::get_accChild(VARIANT child, IDispatch** object) {
    return Standard([&](IAccessible* standard) { return standard->get_accChild(child, object); });
}

HRESULT CAccessibleClient::get_accName(VARIANT child, BSTR* name) {
    AccessibleFacts* facts = nullptr;
    const HRESULT known = Facts(child, &facts);
    if (FAILED(known)) return known;
    return AfxCallGuarded(E_FAIL, [&] { return ToBstr(facts->AccessibleName(), name); });
}

HRESULT CAccessibleClient::get_accValue(VARIANT child, BSTR* value) {
    AccessibleFacts* facts = nullptr;
    const HRESULT known = Facts(child, &facts);
    if (FAILED(known)) return known;
    return AfxCallGuarded(E_FAIL, [&] { return ToBstr(facts->AccessibleValue(), value); });
}

HRESULT CAccessibleClient::get_accDescription(VARIANT child, BSTR* description) {
    return Standard([&](IAccessible* standard) { return standard->get_accDescription(child, description); });
}

HRESULT CAccessibleClient::get_accRole(VARIANT child, VARIANT* role) {
    AccessibleFacts* facts = nullptr;
    const HRESULT known = Facts(child, &facts);
    if (FAILED(known)) return known;
    if (role == nullptr) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = facts->AccessibleRole();
    return S_OK;
}

HRESULT CAccessibleClient::get_accState(VARIANT child, VARIANT* state) {
    AccessibleFacts* facts = nullptr;
    const HRESULT known = Facts(child, &facts);
    if (FAILED(known)) return known;
    if (state == nullptr) return E_POINTER;
    long bits = facts->AccessibleState();
    if (!::IsWindowVisible(m_window)) bits |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(m_window)) {
        bits |= STATE_SYSTEM_UNAVAILABLE;
    } else {
        bits |= STATE_SYSTEM_FOCUSABLE;
    }
    if (::GetFocus() == m_window) bits |= STATE_SYSTEM_FOCUSED;
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
}

HRESULT CAccessibleClient::get_accHelp(VARIANT child, BSTR* help) {
    return Standard([&](IAccessible* standard) { return standard->get_accHelp(child, help); });
}

HRESULT CAccessibleClient::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return Standard([&](IAccessible* standard) { return standard->get_accHelpTopic(file, child, topic); });
}

HRESULT CAccessibleClient::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Standard([&](IAccessible* standard) { return standard->get_accKeyboardShortcut(child, shortcut); });
}

HRESULT CAccessibleClient::get_accFocus(VARIANT* focus) {
    return Standard([&](IAccessible* standard) { return standard->get_accFocus(focus); });
}

HRESULT CAccessibleClient::get_accSelection(VARIANT* selection) {
    return Standard([&](IAccessible* standard) { return standard->get_accSelection(selection); });
}

HRESULT CAccessibleClient::get_accDefaultAction(VARIANT child, BSTR* action) {
    AccessibleFacts* facts = nullptr;
    const HRESULT known = Facts(child, &facts);
    if (FAILED(known)) return known;
    return AfxCallGuarded(E_FAIL, [&] { return ToBstr(facts->AccessibleDefaultAction(), action); });
}

HRESULT CAccessibleClient::accSelect(long flags, VARIANT child) {
    return Standard([&](IAccessible* standard) { return standard->accSelect(flags, child); });
}

HRESULT CAccessibleClient::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    return Standard([&](IAccessible* standard) { return standard->accLocation(left, top, width, height, child); });
}

HRESULT CAccessibleClient::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return Standard([&](IAccessible* standard) { return standard->accNavigate(direction, start, end); });
}

HRESULT CAccessibleClient::accHitTest(long left, long top, VARIANT* child) {
    return Standard([&](IAccessible* standard) { return standard->accHitTest(left, top, child); });
}

HRESULT CAccessibleClient::accDoDefaultAction(VARIANT child) {
    AccessibleFacts* facts = nullptr;
    const HRESULT known = Facts(child, &facts);
    if (FAILED(known)) return known;
    return AfxCallGuarded(E_FAIL, [&] {
        if (facts->AccessibleDefaultAction().empty()) return DISP_E_MEMBERNOTFOUND;
        // A disabled control does nothing for a screen reader either, as it
        // does nothing for the pointer and the keys: the action fails.
        if (!::IsWindowEnabled(m_window)) return E_FAIL;
        facts->DoAccessibleDefaultAction();
        return S_OK;
    });
}

HRESULT CAccessibleClient::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT CAccessibleClient::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace afx
