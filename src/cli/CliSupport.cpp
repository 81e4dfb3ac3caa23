#include "cli/CliSupport.h"

#include "core/StorageErrors.h"
#include "core/Text.h"

#include <iostream>

namespace kv::cli {

void out1251(std::string_view cp1251) {
    std::cout << cp1251ToUtf8(cp1251) << '\n';
}
void err1251(std::string_view cp1251) {
    std::cerr << cp1251ToUtf8(cp1251) << '\n';
}
void errUtf8(std::string_view utf8) {
    std::cerr << utf8 << '\n';
}

std::string storageMessage(const std::exception& e) {
    // A number that does not parse means the file is damaged; the user sees the bad-format message.
    if (dynamic_cast<const ConversionError*>(&e) != nullptr)
        return msg::badFormat();
    return e.what();
}

} // namespace kv::cli
