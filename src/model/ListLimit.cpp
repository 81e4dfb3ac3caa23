#include "model/ListLimit.h"

#include "core/StorageErrors.h"
#include "core/Text.h"

#include <cstdio>

namespace kv {

ListFull::ListFull() : std::runtime_error(utf8ToCp1251("Нельзя добавить больше 1000 записей.")) {}

void requireRoomInList(std::size_t currentCount) {
    if (currentCount >= static_cast<std::size_t>(kMaxListItems))
        throw ListFull();
}

void requireStoredCount(std::int64_t count) {
    if (count < 0 || count > kMaxListItems)
        throw mEBadStorage(msg::badFormat());
}

namespace {
std::string threeDigits(int index) {
    if (index < 0 || index >= kMaxListItems)
        throw std::out_of_range("list index out of the three-digit range");
    char buf[4];
    std::snprintf(buf, sizeof buf, "%03d", index);
    return buf;
}
} // namespace

std::string indexedStreamName(std::string_view prefix, int index) {
    std::string name(prefix);
    name += threeDigits(index);
    return name;
}

std::string indexedStreamName(std::string_view prefix, int ownerIndex, int entryIndex) {
    std::string name(prefix);
    name += threeDigits(ownerIndex);
    name += threeDigits(entryIndex);
    return name;
}

} // namespace kv
