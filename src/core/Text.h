#pragma once
// Text in the core is Windows-1251 bytes, exactly as stored in documents and
// written into the tax service's XML. These helpers convert at the boundary.
#include <string>
#include <string_view>

namespace kv {

// Characters that Windows-1251 cannot hold become '?'; malformed UTF-8 too.
std::string utf8ToCp1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view cp1251);

// Upper case as the export needs it: Latin and Cyrillic letters, "ё" → "Ё".
std::string upperCp1251(std::string_view cp1251);

// Trim blanks and control characters (bytes <= 0x20) on both sides.
std::string trimText(std::string_view text);

// Text for an XML attribute or element: "&", "<", ">" and '"' as entities, tab, line
// feed and carriage return as character references, other control characters left out
// (XML cannot hold them).
std::string xmlEscaped(std::string_view text);

// Code page 866 (DOS) to Windows-1251, for the tax service's dBASE classifier.
std::string cp866ToCp1251(std::string_view cp866);

} // namespace kv
