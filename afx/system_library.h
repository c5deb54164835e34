// System libraries taken from the system folder alone, loaded at their first
// use. A program that runs elevated must never load a library named like a
// system one from its own folder or the current one, where a standard user
// may be able to write. A library the executable imports is loaded, with
// its own dependencies, by the default search before any code of ours
// runs; so a program imports only the known DLLs, which the system always
// takes from its own folder, and reaches every other system library
// (comctl32, version, wininet, oleacc, winmm, uxtheme, ...) through this.
#pragma once

#include <windows.h>

#include <atomic>

namespace afx {

// Makes the system folder the only folder the process's later library loads
// search by default (their dependencies included), however they are asked
// for. A program calls it as its first act; the framework never does, since
// a program that adds its own folder's libraries may want the default. False
// where the system cannot (Windows 7 without its 2011 loader update): loads
// through LoadSystemLibrary stay confined to the system folder there too.
bool RestrictDllSearchToSystemFolder();

// The system library `name` (a base name such as L"version.dll") from the
// system folder only, loaded on the first call and kept for the process's
// life; null when it cannot be loaded. By base name, so a manifest's
// activation context still picks the library's version (common controls 6).
HMODULE LoadSystemLibrary(const wchar_t* name);

// The library at `path` (a full path), its dependencies looked for in its own
// folder and the system folder only; null when it cannot be loaded.
HMODULE LoadLibraryFromItsFolder(const wchar_t* path);

// One function of a system library, looked up at its first use and then
// remembered. Declared once, constant-initialised, where it is used:
//
//   constinit const afx::SystemFunction<decltype(&::PlaySoundW)> kPlaySound{L"winmm.dll", "PlaySoundW"};
//   if (const auto play = kPlaySound.get()) play(...);
template <class Function>
class SystemFunction {
public:
    constexpr SystemFunction(const wchar_t* library, const char* name) noexcept : m_library(library), m_name(name) {}
    SystemFunction(const SystemFunction&) = delete;
    SystemFunction& operator=(const SystemFunction&) = delete;

    // The function; null when its library or the function is missing, which
    // the caller treats as the function's own failure.
    Function get() const noexcept {
        if (!m_resolved.load(std::memory_order_acquire)) {
            // Two threads may both look it up; they find the same address.
            const HMODULE module = LoadSystemLibrary(m_library);
            const FARPROC found = module != nullptr ? ::GetProcAddress(module, m_name) : nullptr;
            m_function.store(reinterpret_cast<Function>(reinterpret_cast<void*>(found)), std::memory_order_relaxed);
            m_resolved.store(true, std::memory_order_release);
        }
        return m_function.load(std::memory_order_relaxed);
    }

private:
    const wchar_t* m_library;
    const char* m_name;
    mutable std::atomic<Function> m_function{nullptr};
    mutable std::atomic<bool> m_resolved{false};
};

}  // namespace afx
