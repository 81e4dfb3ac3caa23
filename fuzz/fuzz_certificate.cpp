// Feeds arbitrary bytes to the reader of employers' income certificates. A file it
// refuses must say why; a certificate the import accepts must bring every income of it
// into the return (nothing dropped, nothing added), and the return it makes must save
// and load back as it was.
#include "core/Date.h"
#include "imports/CertificateImport.h"
#include "model/Declaration.h"
#include "reference/IncomeCertificate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

const kv::FixedClock kClock(kv::DateValue::fromDays(43905));

kv::Money incomesOf(const kv::Certificate& c) {
    kv::Money total;
    for (const kv::CertificateRateBlock& b : c.blocks)
        for (const kv::CertificateIncome& i : b.incomes)
            total += i.amount;
    return total;
}

void takeInto(std::uint8_t kind, const kv::CertificateFile& file, int index) {
    kv::Declaration d(kClock);
    d.declarationKind = kind;
    const kv::CertificateImport import = kv::prepareImport(file, index, d);
    if (!import.accepted())
        return;
    if (import.totalIncome() != incomesOf(file.certificates[static_cast<std::size_t>(index)]))
        std::abort();
    kv::applyImport(d, import, true);
    kv::Declaration back(kClock);
    back.loadFromBytes(d.saveToBytes());
    if (!(back == d))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kv::CertificateReading reading = kv::readIncomeCertificates(bytes);
    if (!reading.file) {
        if (reading.fault.empty())
            std::abort();
        return 0;
    }
    for (std::size_t i = 0; i < reading.file->certificates.size() && i < 4; ++i) {
        takeInto(0, *reading.file, static_cast<int>(i));
        takeInto(1, *reading.file, static_cast<int>(i));
    }
    return 0;
}
