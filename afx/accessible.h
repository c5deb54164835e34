// What a control tells assistive technology (Microsoft Active
// Accessibility): a screen reader asks a window for its client object with
// WM_GETOBJECT and OBJID_CLIENT, and a control that paints itself answers
// with an object of its own (CAccessibleClient), which says what the
// control is (AccessibleFacts) and leaves place, parent and navigation to
// the system's standard object for the window.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>

namespace afx {

// What a control says of itself; asked at each call, so always current.
class AccessibleFacts {
public:
    virtual ~AccessibleFacts() = default;
    // ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_LINK, ...
    virtual long AccessibleRole() const = 0;
    // State bits of the control's own (checked, has a popup, hot); whether
    // it is unavailable, focusable or focused comes from its window.
    virtual long AccessibleState() const = 0;
    virtual std::wstring AccessibleName() const = 0;
    virtual std::wstring AccessibleValue() const { return {}; }
    // What the default action is called ("Press"); empty when it has none.
    virtual std::wstring AccessibleDefaultAction() const = 0;
    // Does the default action, as the user's click would (posted: a client
    // is not kept waiting on a menu or a message box). Never asked of a
    // disabled window: the action fails then (E_FAIL), as a click does nothing.
    virtual void DoAccessibleDefaultAction() = 0;
};

// The accessible object of a control's window: reference-counted, made on
// the first WM_GETOBJECT and answered from then on. When the control or its
// window goes (Disconnect), a reference a client kept stays valid to
// release, and every call on it fails with CO_E_OBJNOTCONNECTED.
// A COM object is destroyed by its own Release, never through a pointer to
// the interface, whose destructor the system declares without virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CAccessibleClient final : public IAccessible {
public:
    // The answer to WM_GETOBJECT (lParam's low 32 bits are the object id);
    // 0 for objects other than OBJID_CLIENT, which the window's default
    // handling answers. The first answer makes the object, held from then
    // on, with the facts make() gives.
    // The object answers on the window's thread only, in a single-threaded
    // COM apartment, where every client's call comes through the thread's
    // message loop: a thread in no apartment joins one for the rest of its
    // life at the first request. A thread that has joined the
    // multithreaded apartment gets 0 (the system's standard object for the
    // window answers instead), since calls would come on other threads
    // while the control changes: a program that wants its controls' own
    // answers creates them on a thread that calls CoInitializeEx with
    // COINIT_APARTMENTTHREADED (or OleInitialize), or on one that leaves
    // COM alone.
    template <class Make>
    static LRESULT Answer(CAccessibleClient*& held, HWND window, Make make, WPARAM wParam, LPARAM lParam) {
        if (!IsClientRequest(lParam) || !InSingleThreadedApartment()) return 0;
        if (held == nullptr) held = Create(window, make());
        return held != nullptr ? held->Lresult(wParam) : 0;
    }
    // Lets go of the control and the window, and of held's reference.
    static void Disconnect(CAccessibleClient*& held);
    // Tells listening clients that the control's state, name or value
    // changed; nothing is sent for a window not made yet.
    static void NotifyStateChange(HWND window);
    static void NotifyNameChange(HWND window);
    static void NotifyValueChange(HWND window);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    // IAccessible: the control's facts for CHILDID_SELF; the rest from the
    // standard object.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    static bool IsClientRequest(LPARAM objectId);
    // Whether the calling thread is in a single-threaded apartment, after
    // joining one if it was in none.
    static bool InSingleThreadedApartment();
    // A new object (one reference, the caller's), or null when the system's
    // standard object cannot be made.
    static CAccessibleClient* Create(HWND window, std::unique_ptr<AccessibleFacts> facts);
    LRESULT Lresult(WPARAM wParam);
    CAccessibleClient(HWND window, std::unique_ptr<AccessibleFacts> facts, IAccessible* standard);
    ~CAccessibleClient();
    // The facts to answer from, when connected and asked of CHILDID_SELF.
    HRESULT Facts(const VARIANT& child, AccessibleFacts** facts) const;
    // The standard object's answer, while there is one.
    template <class Call>
    HRESULT Standard(Call call) const {
        return m_standard != nullptr ? call(m_standard) : CO_E_OBJNOTCONNECTED;
    }

    LONG m_references = 1;
    HWND m_window;
    std::unique_ptr<AccessibleFacts> m_facts;  // null once disconnected
    IAccessible* m_standard;                   // owned; null once disconnected
};
#pragma GCC diagnostic pop

}  // namespace afx
