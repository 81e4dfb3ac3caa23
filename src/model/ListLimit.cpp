#include "model/ListLimit.h"

#include "core/StorageErrors.h"
#include "core/Text.h"

namespace kv {

ListFull::ListFull() : Cp1251Error(Cp1251Text::fromUtf8("Нельзя добавить больше 1000 записей.")) {}

void requireStoredCount(std::int64_t count) {
    if (count < 0 || count > kMaxListItems)
        throw BadStorageError(msg::badFormat());
}

StreamName::StreamName(std::string_view prefix, std::initializer_list<int> indices) {
    if (prefix.size() + 3 * indices.size() > kCapacity)
        throw std::invalid_argument("stream name prefix too long");
    prefix.copy(text_, prefix.size());
    size_ = prefix.size();
    for (int index : indices) {
        if (index < 0 || index >= kMaxListItems)
            throw std::out_of_range("list index out of the three-digit range");
        text_[size_++] = static_cast<char>('0' + index / 100);
        text_[size_++] = static_cast<char>('0' + index / 10 % 10);
        text_[size_++] = static_cast<char>('0' + index % 10);
    }
}

StreamName indexedStreamName(std::string_view prefix, int index) {
    return StreamName(prefix, {index});
}

StreamName indexedStreamName(std::string_view prefix, int ownerIndex, int entryIndex) {
    return StreamName(prefix, {ownerIndex, entryIndex});
}

} // namespace kv
