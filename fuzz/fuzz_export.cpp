// Every document that loads goes through the whole-return check and the export as
// printing asks for it; the XML the export gives is parsed again and must be a
// well-formed Windows-1251 document whose root names the file it would be saved as.
// A document that passes the check must also export a file its form's schema accepts:
// otherwise the check lets through a return whose file the program then refuses.
#include "checks/ScriptedCheckDialog.h"
#include "core/Date.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kv::FixedClock clock(kv::DateValue::fromDays(43905));
    static const kv::FixedIdSource ids("00000000-0000-0000-0000-000000000000");
    kv::Declaration doc(clock);
    try {
        doc.loadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kv::StorageError&) {
        return 0;
    } catch (const kv::ConversionError&) {
        return 0;
    }
    const bool passesCheck = !kv::firstReturnFault(doc).has_value();
    const kv::ExportServices services{clock, ids, [](const kv::Cp1251Text&) {}};
    const std::string xml = kv::exportReturn(std::string(), doc, kv::kExportToText, services);
    if (xml == kv::kExportFailed)
        return 0;
    xmlDocPtr parsed = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "export.xml", nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (parsed == nullptr)
        __builtin_trap();
    const xmlNode* root = xmlDocGetRootElement(parsed);
    // "Файл" in UTF-8, as libxml2 holds every name.
    if (root == nullptr ||
        std::strcmp(reinterpret_cast<const char*>(root->name), "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB") != 0 ||
        parsed->encoding == nullptr ||
        strcasecmp(reinterpret_cast<const char*>(parsed->encoding), "windows-1251") != 0)
        __builtin_trap();
    xmlFreeDoc(parsed);
    if (passesCheck && !kv::exportSchemaFault(doc, xml).empty())
        __builtin_trap();
    return 0;
}
