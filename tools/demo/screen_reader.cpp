#include "screen_reader.h"

#include <cwchar>

namespace demo {

namespace {

VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

IAccessible* ClientOf(HWND window) {
    IAccessible* object = nullptr;
    ::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    return object;
}

std::wstring Read(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    (object->*get)(Self(), &text);
    std::wstring read = text != nullptr ? text : L"";
    ::SysFreeString(text);
    return read;
}

}  // namespace

Heard Hear(HWND window) {
    IAccessible* object = ClientOf(window);
    if (object == nullptr) return {};
    VARIANT role{}, state{};
    object->get_accRole(Self(), &role);
    object->get_accState(Self(), &state);
    Heard heard{role.lVal, state.lVal, Read(object, &IAccessible::get_accName),
                Read(object, &IAccessible::get_accValue), Read(object, &IAccessible::get_accDefaultAction)};
    object->Release();
    return heard;
}

HRESULT DoDefaultAction(HWND window) {
    IAccessible* object = ClientOf(window);
    if (object == nullptr) return E_FAIL;
    const HRESULT done = object->accDoDefaultAction(Self());
    object->Release();
    return done;
}

std::wstring Describe(const Heard& heard) {
    wchar_t numbers[40] = {};
    std::swprintf(numbers, std::size(numbers), L"role %ld, state 0x%lx", heard.role,
                  static_cast<unsigned long>(heard.state));
    return numbers +
           (L", name \"" + heard.name + L"\", value \"" + heard.value + L"\", action \"" + heard.action + L"\"");
}

}  // namespace demo
