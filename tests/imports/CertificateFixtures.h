#pragma once
// The certificate files of tests/imports/data (Windows-1251) and edits of them made
// in readable UTF-8.
#include "core/Text.h"
#include "reference/IncomeCertificate.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace kv::test {

inline std::string certificateBytes(const std::string& name) {
    std::ifstream in(std::string(KV_CERTIFICATES) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("no fixture " + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The fixture with the first `from` replaced by `to` (both UTF-8).
inline std::string editedCertificate(const std::string& name, const std::string& from,
                                     const std::string& to) {
    std::string text = Cp1251Text::fromBytes(certificateBytes(name)).utf8();
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::runtime_error("fixture " + name + " has no " + from);
    text.replace(at, from.size(), to);
    return Cp1251Text::fromUtf8(text).bytes();
}

inline CertificateFile readCertificate(const std::string& bytes) {
    CertificateReading r = readIncomeCertificates(bytes);
    if (!r.file)
        throw std::runtime_error("refused: " + r.fault.utf8());
    return *r.file;
}

} // namespace kv::test
