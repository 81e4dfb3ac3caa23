// Feeds arbitrary bytes to the reader of the tax service's classifier of tax offices
// (soun1.dbf). Whatever offices it takes must make a tax-office directory the program
// reads back office for office, code and name alike.
#include "core/Date.h"
#include "reference/Directories.h"
#include "reference/SounImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::CodeNameRows offices;
    try {
        offices = kv::readSounTable(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    } catch (const kv::SounImportError&) {
        return 0;
    }
    const auto date = kv::DateValue::parseText("01.12.2019", '.');
    const auto back = kv::codeNameRowsFromXml(kv::inspectionsXml(offices, *date, kv::Cp1251Text{"4.00"}));
    if (!back || back->size() != offices.size())
        std::abort();
    for (std::size_t i = 0; i < offices.size(); ++i)
        if ((*back)[i].code != offices[i].code || (*back)[i].name != offices[i].name)
            std::abort();
    return 0;
}
