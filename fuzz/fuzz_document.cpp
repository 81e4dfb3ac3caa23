// Feeds arbitrary bytes to the whole document loader. Loading must either succeed
// or end in a storage failure or a conversion failure; any other exception, a
// crash, a hang or memory growing with a count from the file is a finding.
#include "core/Date.h"
#include "model/Declaration.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kv::FixedClock clock(kv::DateValue::fromDays(43905));
    kv::Declaration doc(clock);
    try {
        doc.loadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
        // A document that loaded has a size it can be written at.
        (void)doc.storedSize();
    } catch (const kv::StorageError&) {
    } catch (const kv::ConversionError&) {
    }
    return 0;
}
