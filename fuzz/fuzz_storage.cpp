// Feeds arbitrary bytes to the container reader: open, then look for streams and
// read items of every kind until a storage failure or the end of the bytes.
#include "core/Storage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto loader = kv::mTFileLoader::fromBytes(std::string(reinterpret_cast<const char*>(data), size));
        kv::mTDocumentStorage s(loader.get());
        s.openStorage();
        const char* names[] = {"@DeclInfo", "@PersonName", "@DeclInquiry", "@Pens"};
        for (const char* name : names) {
            try {
                s.openStream(name);
            } catch (const kv::mEOpenStream&) {
                continue;
            }
            for (int i = 0; i < 64 && !s.atEnd(); ++i) {
                try {
                    switch (i % 6) {
                    case 0: s.readText(); break;
                    case 1: s.readInt32(); break;
                    case 2: s.readInt16(); break;
                    case 3: s.readByte(); break;
                    case 4: s.readMoney(); break;
                    default: s.readDate(); break;
                    }
                } catch (const kv::ConversionError&) {
                }
            }
        }
    } catch (const kv::mEPrivBase&) {
    } catch (const kv::ConversionError&) {
    }
    return 0;
}
