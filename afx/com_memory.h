// Memory from the COM task allocator (CoTaskMemAlloc), such as the shell's
// item lists, owned on the template of afx/handles.h.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include "afx/handles.h"

namespace afx {

namespace handle_traits {
inline void FreeTaskMemory(void* p) noexcept { ::CoTaskMemFree(p); }
template <class T>
using cotaskmem = null_invalid<T*, &FreeTaskMemory>;
}  // namespace handle_traits

template <class T>
using unique_cotaskmem_ptr = unique_any<handle_traits::cotaskmem<T>>;
using unique_pidl = unique_cotaskmem_ptr<ITEMIDLIST>;

}  // namespace afx
