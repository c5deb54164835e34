#include "afx/module_state.h"

namespace {

struct ModuleState {
    HINSTANCE instance = nullptr;
    HINSTANCE resources = nullptr;
    std::wstring appName;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() {
    return State().instance != nullptr ? State().instance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return State().resources != nullptr ? State().resources : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE resources) { State().resources = resources; }

const std::wstring& AfxGetAppName() { return State().appName; }

std::wstring AfxLoadString(UINT id, HINSTANCE module) {
    const wchar_t* text = nullptr;
    // With a zero buffer length LoadStringW hands out a read-only pointer
    // into the resource and returns its length.
    const int length =
        ::LoadStringW(module != nullptr ? module : AfxGetResourceHandle(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

void AfxSetModuleState(HINSTANCE instance, std::wstring appName) {
    State().instance = instance;
    State().appName = std::move(appName);
}

HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type) {
    HINSTANCE resources = AfxGetResourceHandle();
    return ::FindResourceW(resources, name, type) != nullptr ? resources : AfxGetInstanceHandle();
}
