// Counting a program's calls into the system: points an entry of the
// running executable's import table at a replacement. The project's
// libraries are linked into the executable, so their calls go through the
// same entries (the scan benchmark counts file-system calls this way, the
// button benchmark the GDI objects a draw makes).
#pragma once

#include <windows.h>

#include <cstring>

namespace probe {

// Points the executable's import of `name` at `replacement` and hands back
// what it pointed at. False when the executable does not import it by name.
template <typename Function>
bool RedirectImport(const char* name, Function replacement, Function& original) {
    auto* const base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name != 0;
         ++library) {
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk));
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* imported = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(imported->Name), name) != 0) continue;
            DWORD protection = 0;
            if (!::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection))
                return false;
            original = reinterpret_cast<Function>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

}  // namespace probe
