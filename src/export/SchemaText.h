#pragma once
// The export schemas of data/ (UTF-8 XSD text), built into the program.
namespace kv {

extern const char* const kSchemaNdfl3; // 3-NDFL, format 5.14
extern const char* const kSchemaNdfl4; // 4-NDFL, format 5.03

} // namespace kv
