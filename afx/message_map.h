// Message maps: each class's GetMessageMap returns a static table of typed
// entries chained to its base class's table. An entry names what it reacts
// to (a window message, a command id, a control notification, or a
// notification reflected back to the control that sent it) and a thunk that
// calls a member function of the exact signature the entry maker demands,
// so a handler with the wrong signature does not compile.
//
//   const AFX_MSGMAP* CMyDlg::GetMessageMap() const {
//       static constexpr AFX_MSGMAP_ENTRY entries[] = {
//           afx::OnWmPaint<&CMyDlg::OnPaint>(),
//           afx::OnCommand<ID_FILE_EXIT, &CMyDlg::OnFileExit>(),
//       };
//       static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
//       return &map;
//   }
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <type_traits>

#include "afx/windows_version.h"

class CCmdTarget;

// Calls the handler; returns false when the handler declines the message
// (only reflected notifications can decline, passing them on to the parent).
using AfxHandlerThunk = bool (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam, LRESULT& result);

struct AFX_MSGMAP_ENTRY {
    UINT message;  // window message; WM_COMMAND/WM_NOTIFY for commands; reflected ids for reflection
    UINT code;     // notification code of WM_COMMAND / WM_NOTIFY entries, else 0
    UINT id;       // command or control id of WM_COMMAND / WM_NOTIFY entries, else 0
    AfxHandlerThunk thunk;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null at the root of the chain
    std::span<const AFX_MSGMAP_ENTRY> entries;
};

// Notifications a parent receives are reflected to the child control's own
// map first under these ids, so a control can handle its own drawing,
// colouring and clicks.
inline constexpr UINT WM_REFLECT_BASE = 0xBC00;

// All WM_CTLCOLOR* messages reach a control reflected under this one id, with
// wParam the DC and lParam the kind (CTLCOLOR_BTN, CTLCOLOR_STATIC, ...).
inline constexpr UINT WM_CTLCOLOR_ANY = 0x0019;

namespace afx {

template <class>
struct member_of;
template <class C, class R, class... A>
struct member_of<R (C::*)(A...)> {
    using type = C;
};

template <auto Handler>
using handler_class = typename member_of<decltype(Handler)>::type;

// Generic window message: LRESULT Handler(WPARAM, LPARAM).
template <UINT Message, auto Handler>
constexpr AFX_MSGMAP_ENTRY OnMessage() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), LRESULT (C::*)(WPARAM, LPARAM)>);
    return {Message, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM l, LRESULT& r) {
                r = (static_cast<C&>(t).*Handler)(w, l);
                return true;
            }};
}

// WM_PAINT: void OnPaint().
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmPaint() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)()>);
    return {WM_PAINT, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)();
                r = 0;
                return true;
            }};
}

// WM_SYSCOMMAND: void OnSysCommand(UINT nID, LPARAM lParam).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmSysCommand() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(UINT, LPARAM)>);
    return {WM_SYSCOMMAND, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM l, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(static_cast<UINT>(w), l);
                r = 0;
                return true;
            }};
}

// WM_QUERYDRAGICON: HCURSOR OnQueryDragIcon().
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmQueryDragIcon() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), HCURSOR (C::*)()>);
    return {WM_QUERYDRAGICON, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                r = reinterpret_cast<LRESULT>((static_cast<C&>(t).*Handler)());
                return true;
            }};
}

// WM_TIMER: void OnTimer(UINT_PTR nIDEvent).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmTimer() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(UINT_PTR)>);
    return {WM_TIMER, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(static_cast<UINT_PTR>(w));
                r = 0;
                return true;
            }};
}

// WM_HELP: BOOL OnHelpInfo(HELPINFO*).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmHelpInfo() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), BOOL (C::*)(HELPINFO*)>);
    return {WM_HELP, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM l, LRESULT& r) {
                r = (static_cast<C&>(t).*Handler)(reinterpret_cast<HELPINFO*>(l));
                return true;
            }};
}

// A command (menu item, accelerator or button click): void OnSomething().
template <UINT Id, auto Handler>
constexpr AFX_MSGMAP_ENTRY OnCommand() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)()>);
    return {WM_COMMAND, 0, Id, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)();
                r = 0;
                return true;
            }};
}

// A control notification received by the parent: void OnSomething().
template <UINT Code, UINT Id, auto Handler>
constexpr AFX_MSGMAP_ENTRY OnControl() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)()>);
    return {WM_COMMAND, Code, Id, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)();
                r = 0;
                return true;
            }};
}

// A WM_COMMAND notification reflected to the control that sent it:
// BOOL OnSomething(); returning FALSE passes the notification on to the
// parent as well.
template <UINT Code, auto Handler>
constexpr AFX_MSGMAP_ENTRY OnReflectedControl() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), BOOL (C::*)()>);
    return {WM_REFLECT_BASE + WM_COMMAND, Code, 0, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                r = 0;
                return (static_cast<C&>(t).*Handler)() != FALSE;
            }};
}

// WM_DRAWITEM reflected to the control: void DrawItem(LPDRAWITEMSTRUCT).
// The DC inside the structure is borrowed from the system.
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnReflectedDrawItem() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(LPDRAWITEMSTRUCT)>);
    return {WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM l, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(reinterpret_cast<LPDRAWITEMSTRUCT>(l));
                r = TRUE;
                return true;
            }};
}

// WM_CTLCOLOR* reflected to the control: HBRUSH CtlColor(HDC, UINT nCtlColor);
// a null brush passes the message on to the parent.
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnReflectedCtlColor() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), HBRUSH (C::*)(HDC, UINT)>);
    return {WM_REFLECT_BASE + WM_CTLCOLOR_ANY, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM l, LRESULT& r) {
                HBRUSH brush = (static_cast<C&>(t).*Handler)(reinterpret_cast<HDC>(w), static_cast<UINT>(l));
                r = reinterpret_cast<LRESULT>(brush);
                return brush != nullptr;
            }};
}

// A message whose handler takes nothing and returns nothing, answered 0:
// void OnSomething() (WM_SYSCOLORCHANGE, WM_CANCELMODE, ...).
template <UINT Message, auto Handler>
constexpr AFX_MSGMAP_ENTRY OnNotification() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)()>);
    return {Message, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)();
                r = 0;
                return true;
            }};
}

// WM_SETCURSOR: BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmSetCursor() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), BOOL (C::*)(HWND, UINT, UINT)>);
    return {WM_SETCURSOR, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM l, LRESULT& r) {
                r = (static_cast<C&>(t).*Handler)(reinterpret_cast<HWND>(w), LOWORD(l), HIWORD(l));
                return true;
            }};
}

// WM_KILLFOCUS: void OnKillFocus(HWND gettingFocus).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmKillFocus() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(HWND)>);
    return {WM_KILLFOCUS, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(reinterpret_cast<HWND>(w));
                r = 0;
                return true;
            }};
}

// WM_MOUSEMOVE: void OnMouseMove(UINT keyFlags, POINT clientPoint).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmMouseMove() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(UINT, POINT)>);
    return {WM_MOUSEMOVE, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM l, LRESULT& r) {
                const POINT point{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
                (static_cast<C&>(t).*Handler)(static_cast<UINT>(w), point);
                r = 0;
                return true;
            }};
}

// WM_CAPTURECHANGED: void OnCaptureChanged(HWND newCapture).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmCaptureChanged() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(HWND)>);
    return {WM_CAPTURECHANGED, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM l, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(reinterpret_cast<HWND>(l));
                r = 0;
                return true;
            }};
}

// WM_ACTIVATE: void OnActivate(UINT state, HWND other, BOOL minimized).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmActivate() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(UINT, HWND, BOOL)>);
    return {WM_ACTIVATE, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM l, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(LOWORD(w), reinterpret_cast<HWND>(l), HIWORD(w) != 0);
                r = 0;
                return true;
            }};
}

// WM_ENABLE: void OnEnable(BOOL enabled).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmEnable() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (C::*)(BOOL)>);
    return {WM_ENABLE, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM, LRESULT& r) {
                (static_cast<C&>(t).*Handler)(static_cast<BOOL>(w));
                r = 0;
                return true;
            }};
}

// WM_GETDLGCODE: UINT OnGetDlgCode().
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY OnWmGetDlgCode() {
    using C = handler_class<Handler>;
    static_assert(std::is_same_v<decltype(Handler), UINT (C::*)()>);
    return {WM_GETDLGCODE, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM, LRESULT& r) {
                r = (static_cast<C&>(t).*Handler)();
                return true;
            }};
}

}  // namespace afx
