// Feeds arbitrary bytes to the reader of Rosstat's OKVED CSV. Whatever it accepts must
// make a directory the program reads back entry for entry, whose keys each begin with
// the key of an entry above them, and whose search and six-list choice do not fail.
#include "reference/OkvedImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kv::OkvedCsvResult read = kv::readOkvedCsv(bytes);
    const auto& entries = read.classifier.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].grup == "1")
            continue;
        bool parentAbove = false;
        for (std::size_t j = 0; j < i && !parentAbove; ++j)
            parentAbove =
                entries[j].grup[0] + 1 == entries[i].grup[0] && entries[i].kod.starts_with(entries[j].kod);
        if (!parentAbove)
            std::abort();
    }
    if (entries.empty())
        return 0;
    const auto back = kv::OkvedClassifier::fromXml(kv::okvedXml(read.classifier));
    if (!back || back->entries.size() != entries.size())
        std::abort();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (back->entries[i].name != entries[i].name || back->entries[i].kod != entries[i].kod)
            std::abort();
    kv::OkvedPickerModel model(read.classifier);
    for (int entry : read.classifier.search(kv::Cp1251Text::fromBytes(bytes.substr(0, 8))))
        model.choose(entry);
    return 0;
}
