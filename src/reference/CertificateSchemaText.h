#pragma once
// The schema of employers' income certificates of data/ (UTF-8 XSD text), built into the program.
namespace kv {

extern const char* const kSchemaNdfl2; // 2-NDFL, format 5.06

} // namespace kv
