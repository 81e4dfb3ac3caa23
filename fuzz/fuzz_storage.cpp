// Feeds arbitrary bytes to the container reader: open, then look for streams and
// read items of every kind until a storage failure or the end of the bytes. A second
// pass opens the names the bytes themselves hold, in and out of order, and checks
// each is found at the first item of its name, by a plain walk over the items, that
// was not read as a value.
#include "core/Storage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void readAround(kv::DocumentStorage& s) {
    const char* names[] = {"@DeclInfo", "@PersonName", "@DeclInquiry", "@Pens"};
    for (const char* name : names) {
        try {
            s.openStream(name);
        } catch (const kv::StreamOpenError&) {
            continue;
        }
        for (int i = 0; i < 64 && !s.atEnd(); ++i) {
            try {
                switch (i % 6) {
                case 0:
                    s.readText();
                    break;
                case 1:
                    s.readInt32();
                    break;
                case 2:
                    s.readInt16();
                    break;
                case 3:
                    s.readByte();
                    break;
                case 4:
                    s.readMoney();
                    break;
                default:
                    s.readDate();
                    break;
                }
            } catch (const kv::ConversionError&) {
            }
        }
    }
}

struct Named {
    std::string name;
    std::vector<std::size_t> starts; // where each item of the name begins, in file order
};

// Items that begin with '@', by a walk of the lengths; at most 32 names.
std::vector<Named> namesByWalk(std::string_view bytes) {
    std::vector<Named> out;
    std::size_t at = kv::DocumentStorage::kHeaderSize;
    while (at + 4 <= bytes.size()) {
        std::size_t n = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            if (bytes[at + k] < '0' || bytes[at + k] > '9')
                return out;
            n = n * 10 + static_cast<std::size_t>(bytes[at + k] - '0');
        }
        if (at + 4 + n > bytes.size())
            return out;
        const std::string_view text = bytes.substr(at + 4, n);
        if (n > 0 && text[0] == '@') {
            Named* named = nullptr;
            for (Named& e : out)
                if (e.name == text)
                    named = &e;
            if (named == nullptr && out.size() < 32)
                named = &out.emplace_back(Named{std::string(text), {}});
            if (named != nullptr)
                named->starts.push_back(at);
        }
        at += 4 + n;
    }
    return out;
}

// Every name once in file order, reading one value after each, then backwards: each
// stream is the first item of its name that has not been read as a value.
void openInOrderAndOut(const std::string& bytes) {
    auto loader = kv::DocumentFile::fromBytes(bytes);
    kv::DocumentStorage s(loader.get());
    s.openStorage();
    const std::vector<Named> names = namesByWalk(bytes);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < names.size(); ++i)
        order.push_back(i);
    for (std::size_t i = names.size(); i-- > 0;)
        order.push_back(i);
    std::vector<std::size_t> valuesRead;
    for (std::size_t i : order) {
        const Named& named = names[i];
        std::size_t expected = std::string::npos;
        for (std::size_t start : named.starts) {
            if (std::find(valuesRead.begin(), valuesRead.end(), start) == valuesRead.end()) {
                expected = start + 4 + named.name.size();
                break;
            }
        }
        try {
            s.openStream(named.name);
        } catch (const kv::StreamOpenError&) {
            if (expected != std::string::npos)
                __builtin_trap();
            continue;
        }
        if (expected != std::string::npos && static_cast<std::size_t>(s.position()) != expected)
            __builtin_trap();
        const auto valueAt = static_cast<std::size_t>(s.position());
        try {
            s.readText();
            valuesRead.push_back(valueAt);
        } catch (const kv::StorageError&) {
        } catch (const kv::ConversionError&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        auto loader = kv::DocumentFile::fromBytes(bytes);
        kv::DocumentStorage s(loader.get());
        s.openStorage();
        readAround(s);
    } catch (const kv::StorageError&) {
    } catch (const kv::ConversionError&) {
    }
    try {
        openInOrderAndOut(bytes);
    } catch (const kv::StorageError&) {
    } catch (const kv::ConversionError&) {
    }
    return 0;
}
