#include "version/local_clock.h"

namespace local_clock {

namespace {
std::int64_t (*g_now)() = nullptr;
std::int64_t SystemNow();
}  // namespace

std::int64_t Now() { return g_now != nullptr ? g_now() : SystemNow(); }

void SetNowSource(std::int64_t (*now)()) { g_now = now; }

#ifdef _WIN32

namespace {
std::int64_t SystemNow() { return _time64(nullptr); }
}  // namespace

std::optional<std::int64_t> FromLocalParts(std::tm parts) {
    parts.tm_isdst = -1;
    const __time64_t time = _mktime64(&parts);
    if (time == -1) return std::nullopt;
    return time;
}

std::optional<std::tm> ToLocalParts(std::int64_t time) {
    std::tm parts{};
    const __time64_t value = time;
    if (_localtime64_s(&parts, &value) != 0) return std::nullopt;
    return parts;
}

#else

// The Windows runtime's 64-bit calendar ends with the year 3000; the native
// build keeps to the same range so both give the same answers.
constexpr std::int64_t kLastConvertibleTime = 32535215999;  // 3000-12-31 23:59:59 UTC

namespace {
std::int64_t SystemNow() { return static_cast<std::int64_t>(std::time(nullptr)); }
}  // namespace

std::optional<std::int64_t> FromLocalParts(std::tm parts) {
    parts.tm_isdst = -1;
    const std::time_t time = std::mktime(&parts);
    if (time == static_cast<std::time_t>(-1) || time < 0 || time > kLastConvertibleTime) return std::nullopt;
    return static_cast<std::int64_t>(time);
}

std::optional<std::tm> ToLocalParts(std::int64_t time) {
    std::tm parts{};
    const std::time_t value = static_cast<std::time_t>(time);
    if (time < 0 || time > kLastConvertibleTime || localtime_r(&value, &parts) == nullptr) return std::nullopt;
    return parts;
}

#endif

}  // namespace local_clock
