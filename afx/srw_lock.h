// Holding one of the system's slim reader/writer locks for a scope. The
// framework and what is built on it lock with the system's own locks, so a
// program that links them depends on no threads runtime of the compiler's
// (std::mutex and std::thread tie a MinGW-w64 program to libwinpthread).
#pragma once

#include <windows.h>

namespace afx {

class SrwLockScope {
public:
    enum class Access { Shared, Exclusive };
    SrwLockScope(SRWLOCK& lock, Access access) noexcept : m_lock(lock), m_access(access) {
        if (m_access == Access::Exclusive) {
            ::AcquireSRWLockExclusive(&m_lock);
        } else {
            ::AcquireSRWLockShared(&m_lock);
        }
    }
    ~SrwLockScope() {
        if (m_access == Access::Exclusive) {
            ::ReleaseSRWLockExclusive(&m_lock);
        } else {
            ::ReleaseSRWLockShared(&m_lock);
        }
    }
    SrwLockScope(const SrwLockScope&) = delete;
    SrwLockScope& operator=(const SrwLockScope&) = delete;

private:
    SRWLOCK& m_lock;
    Access m_access;
};

}  // namespace afx
