#include "cli/CliSupport.h"

#include "core/Storage.h"
#include "core/StorageErrors.h"
#include "core/Text.h"

#include <iostream>

namespace kv::cli {

std::string messageUtf8(const Cp1251Text& text, std::string_view path) {
    std::string out;
    // The path is the file system's bytes: shown as they are, not taken for Windows-1251.
    const std::size_t at = path.empty() ? std::string_view::npos : text.bytes().find(path);
    if (at == std::string_view::npos) {
        out = text.utf8();
    } else {
        out = text.substr(0, at).utf8();
        out += path;
        out += text.substr(at + path.size()).utf8();
    }
    for (std::size_t i = 0; i < out.size(); ++i)
        if (out[i] == '\r' && (i + 1 == out.size() || out[i + 1] != '\n'))
            out[i] = '\n';
    return out;
}

void out1251(const Cp1251Text& text) {
    std::cout << messageUtf8(text) << '\n';
}
void err1251(const Cp1251Text& text) {
    std::cerr << messageUtf8(text) << '\n';
}
int usageError(std::string_view usage, std::string_view why) {
    if (!why.empty())
        errUtf8(why);
    errUtf8(std::string("Использование: kvilmar-cli ").append(usage));
    return 2;
}

void errUtf8(std::string_view utf8) {
    std::cerr << utf8 << '\n';
}

Cp1251Text storageMessage(const std::exception& e) {
    // A number that does not parse means the file is damaged; the user sees the bad-format message.
    if (dynamic_cast<const ConversionError*>(&e) != nullptr)
        return msg::badFormat();
    if (const auto* storage = dynamic_cast<const StorageError*>(&e))
        return storage->message();
    // Any other failure (out of memory) shows the library's own ASCII text.
    return Cp1251Text::fromBytes(std::string_view(e.what()));
}

void errStorage(const std::exception& e, const std::string& path) {
    std::cerr << messageUtf8(storageMessage(e), path) << '\n';
}

bool writableTarget(const std::string& path) {
    if (path.empty()) {
        errUtf8("Не задана папка пользователя (переменная HOME): укажите файл справочника в --out");
        return false;
    }
    const std::string target = linkTarget(path);
    try {
        requireRegularFileOrNew(target);
    } catch (const StorageError& e) {
        errStorage(e, target);
        return false;
    }
    return true;
}

std::optional<DateValue> parseCliDate(std::string_view text) {
    const auto dot = text.rfind('.');
    if (dot == std::string_view::npos || text.size() - dot - 1 != 4)
        return std::nullopt;
    return DateValue::parseText(text, '.');
}

} // namespace kv::cli
