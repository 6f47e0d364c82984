#include "ca/util/LocalTime.h"

#include <ctime>

namespace ca {

namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return tm;
}

}  // namespace

Date localToday() {
    const std::tm tm = localNow();
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

std::string localNowText() {
    const std::tm tm = localNow();
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

}  // namespace ca
