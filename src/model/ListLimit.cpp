#include "model/ListLimit.h"

#include "core/StorageErrors.h"
#include "core/Text.h"

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
// Every record and line of a document names its stream with these digits, so they are
// placed directly rather than formatted.
void appendThreeDigits(std::string& name, int index) {
    if (index < 0 || index >= kMaxListItems)
        throw std::out_of_range("list index out of the three-digit range");
    name += static_cast<char>('0' + index / 100);
    name += static_cast<char>('0' + index / 10 % 10);
    name += static_cast<char>('0' + index % 10);
}
} // namespace

std::string indexedStreamName(std::string_view prefix, int index) {
    std::string name;
    name.reserve(prefix.size() + 3);
    name += prefix;
    appendThreeDigits(name, index);
    return name;
}

std::string indexedStreamName(std::string_view prefix, int ownerIndex, int entryIndex) {
    std::string name;
    name.reserve(prefix.size() + 6);
    name += prefix;
    appendThreeDigits(name, ownerIndex);
    appendThreeDigits(name, entryIndex);
    return name;
}

} // namespace kv
