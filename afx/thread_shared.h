// One object per thread for the objects of that thread to share, such as
// the off-screen surfaces all of a thread's controls draw in: a form of two
// hundred controls holds one set, not two hundred.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "afx/srw_lock.h"

namespace afx {

// The calling thread's T (default-constructed on its first request), shared
// by everything on the thread that holds the pointer. It is destroyed when
// the last holder lets it go, on whatever thread that happens, and the
// thread's next request makes a new one. A holder must use it on its own
// thread only: T is not locked. Safe to call until the process ends, also
// from threads that still paint while static objects are destroyed.
template <class T>
std::shared_ptr<T> ThreadShared() {
    struct Registry {
        SRWLOCK lock = SRWLOCK_INIT;
        std::map<DWORD, std::weak_ptr<T>> byThread;  // an expired entry is a thread's released T
    };
    // Never destroyed: another thread may ask while the process's statics go.
    static Registry& registry = *new Registry;
    const SrwLockScope held(registry.lock, SrwLockScope::Access::Exclusive);
    std::weak_ptr<T>& entry = registry.byThread[::GetCurrentThreadId()];
    std::shared_ptr<T> shared = entry.lock();
    if (shared) return shared;
    shared = std::make_shared<T>();
    entry = shared;
    // Threads end and their ids come back: the released entries go when a T is made.
    std::erase_if(registry.byThread, [](const auto& item) { return item.second.expired(); });
    return shared;
}

}  // namespace afx
