#include "archive/HelperLibrary.h"

#include <atomic>
#include <cstdint>

#include "archive/DateText.h"
#include "archive/VersionResource.h"

namespace pagora {
namespace {

struct EntryPoints {
    int32_t (*chineseDate)(double, char*);
    int32_t (*englishDate)(double, char*);
    int32_t (*versionInfo)(const char*, char*);
};

constexpr EntryPoints kBuiltIn{DateTimeToChineseDateTime, DateTimeToEnglishDateTime,
                               GetVersionInfo};

// One atomic pointer to a constant table: worker threads that format dates see either the
// whole binding or none, without a lock.
std::atomic<const EntryPoints*> bound{nullptr};

std::string DateText(int32_t (*EntryPoints::*entry)(double, char*), double dateTime) {
    const EntryPoints* table = bound.load(std::memory_order_acquire);
    char buffer[kDateTextBufferSize] = {};
    if (table == nullptr || (table->*entry)(dateTime, buffer) != 1)
        return "";
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

}  // namespace

bool LoadHelperLibrary(const std::string& /*path*/) {
    bound.store(&kBuiltIn, std::memory_order_release);
    return true;
}

void FreeHelperLibrary() {
    bound.store(nullptr, std::memory_order_release);
}

std::string ChineseDateText(double dateTime) {
    return DateText(&EntryPoints::chineseDate, dateTime);
}

std::string EnglishDateText(double dateTime) {
    return DateText(&EntryPoints::englishDate, dateTime);
}

std::string FileVersionText(const std::string& fileName) {
    const EntryPoints* table = bound.load(std::memory_order_acquire);
    char buffer[kVersionTextBufferSize] = {};
    if (table == nullptr || table->versionInfo(fileName.c_str(), buffer) != 1)
        return "0.00";
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

}  // namespace pagora
