// Every document that loads is saved, and the saved bytes load again into the same
// document and save into the same bytes: load -> save -> load is the identity. Typed
// texts that equal stream names, blocks in another order, earlier program years and
// damaged values must all come back as they were first read.
#include "core/Date.h"
#include "model/Declaration.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kv::FixedClock clock(kv::DateValue::fromDays(43905));
    kv::Declaration first(clock);
    try {
        first.loadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kv::StorageError&) {
        return 0;
    } catch (const kv::ConversionError&) {
        return 0;
    }
    // A document that loaded is written and read again without any failure.
    const std::string saved = first.saveToBytes();
    kv::Declaration second(clock);
    second.loadFromBytes(saved);
    if (!(second == first) || second.saveToBytes() != saved)
        __builtin_trap();
    return 0;
}
