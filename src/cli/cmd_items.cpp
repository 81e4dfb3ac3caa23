// Shows the raw items of a document file: a way for users and tests to look
// inside a return without trusting the records' reading of it.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Storage.h"
#include "core/Text.h"

#include <iostream>

namespace kv::cli {

int cmdItems(const Args& args) {
    if (args.size() != 1) {
        return usageError("items FILE.qv9");
    }
    try {
        DocumentFile loader(args[0], 0, true);
        DocumentStorage storage(&loader);
        storage.openStorage();
        const std::int32_t version = storage.formatVersion();
        std::cout << "identifier: " << Cp1251Text::fromBytes(storage.formatIdentifier()).utf8() << '\n'
                  << "version: " << version / 65536 << '.' << version % 65536 << '\n';
        const std::string_view all(loader.buffer());
        std::size_t at = DocumentStorage::kHeaderSize;
        for (; at + 4 <= all.size();) {
            const std::string_view prefix = all.substr(at, 4);
            if (prefix.find_first_not_of("0123456789") != std::string_view::npos)
                break;
            const std::size_t n = std::stoul(std::string(prefix));
            if (at + 4 + n > all.size())
                break;
            std::cout << at << '\t' << n << '\t' << Cp1251Text::fromBytes(all.substr(at + 4, n)).utf8()
                      << '\n';
            at += 4 + n;
        }
        if (at < all.size())
            std::cout << "trailing bytes: " << all.size() - at << " at " << at << '\n';
        return 0;
    } catch (const std::exception& e) {
        errStorage(e, args[0]);
        return 2;
    }
}

} // namespace kv::cli
