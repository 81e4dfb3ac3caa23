// Build step: turns a UTF-8 XML text from data/ into a C++ source that carries the same
// text in Windows-1251, so the program embeds it and nobody can swap it for a file.
// Usage: embed_cp1251 INPUT.xml OUTPUT.cpp SYMBOL
#include "core/Text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: embed_cp1251 INPUT.xml OUTPUT.cpp SYMBOL\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "embed_cp1251: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();

    const std::string utf8Decl = "encoding=\"UTF-8\"";
    const std::size_t decl = text.find(utf8Decl);
    if (text.rfind("<?xml", 0) != 0 || decl == std::string::npos || decl > text.find("?>")) {
        std::cerr << "embed_cp1251: " << argv[1]
                  << " must begin with an XML declaration of encoding=\"UTF-8\"\n";
        return 1;
    }
    text.replace(decl, utf8Decl.size(), "encoding=\"windows-1251\"");

    const std::string converted = kv::Cp1251Text::fromUtf8(text).bytes();
    // A character that Windows-1251 cannot hold would silently become '?'.
    if (std::count(converted.begin(), converted.end(), '?') != std::count(text.begin(), text.end(), '?')) {
        std::cerr << "embed_cp1251: " << argv[1] << " holds characters that Windows-1251 cannot represent\n";
        return 1;
    }

    std::ostringstream out;
    out << "// Generated from " << argv[1] << " by embed_cp1251; do not edit.\n"
        << "#include <cstddef>\n\nnamespace kv::embedded {\n\nextern const unsigned char " << argv[3]
        << "[];\n"
        << "extern const std::size_t " << argv[3] << "Size;\n\nconst unsigned char " << argv[3] << "[] = {";
    for (std::size_t i = 0; i < converted.size(); ++i) {
        if (i % 16 == 0)
            out << "\n   ";
        char hex[16];
        std::snprintf(hex, sizeof hex, " 0x%02x,", static_cast<unsigned char>(converted[i]));
        out << hex;
    }
    out << "\n    0x00};\nconst std::size_t " << argv[3] << "Size = " << converted.size()
        << ";\n\n} // namespace kv::embedded\n";

    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file) {
        std::cerr << "embed_cp1251: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
