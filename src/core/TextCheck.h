#pragma once
// Whether bytes that should be Russian text in Windows-1251 really are: a file whose
// declared encoding is not its own reads as garbled names, which an import must refuse
// rather than store.
#include "core/Text.h"

#include <string_view>

namespace kv {

// Strict UTF-8 holding at least one character beyond ASCII. Russian text in Windows-1251
// practically never forms such a sequence, so this tells a text saved as UTF-8.
bool looksUtf8(std::string_view bytes);

// False when Windows-1251 text is Russian written in another code page and read as
// Windows-1251 (a file whose declared encoding is wrong): UTF-8 turns each letter into
// two signs ("Р”Рѕ" for "До"), KOI8-R swaps the case of every letter, so words run from a
// small letter straight into capitals ("дПММБТ" for "Доллар"). Text without Russian
// words reads as Russian: there is nothing garbled in it.
bool readsAsRussian(const Cp1251Text& text);

} // namespace kv
