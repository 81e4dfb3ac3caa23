#include "reference/ImportGuard.h"

#include "core/Text.h"

namespace kv {

std::optional<ClassifierShrink> shrinkOf(std::size_t before, std::size_t after) {
    if (after + kFewEntries >= before)
        return std::nullopt;
    return ClassifierShrink{before, after};
}

ClassifierShrinkError::ClassifierShrinkError(const ClassifierShrink& shrink)
    : Cp1251Error(Cp1251Text::fromUtf8("В справочнике сейчас позиций: " + std::to_string(shrink.before) +
                                       ", в импортируемом файле: " + std::to_string(shrink.after) +
                                       ". Возможно, файл загружен не полностью.")),
      shrink_(shrink) {}

} // namespace kv
