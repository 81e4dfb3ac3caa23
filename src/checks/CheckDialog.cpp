#include "checks/CheckDialog.h"

#include "core/Text.h"

#include <array>

namespace kv {

const Cp1251Text& answerCaption(CheckAnswer answer) {
    static const std::array<Cp1251Text, 5> captions = {
        Cp1251Text(),
        Cp1251Text::fromUtf8("Исправить"),
        Cp1251Text::fromUtf8("Пропустить"),
        Cp1251Text::fromUtf8("Пропустить все"),
        Cp1251Text::fromUtf8("Отмена"),
    };
    return captions.at(static_cast<std::size_t>(answer));
}

Cp1251Text CheckQuestion::title() const {
    static const Cp1251Text plain = Cp1251Text::fromUtf8("Проверка");
    if (!windowTitle.empty())
        return windowTitle;
    return sectionTitle.empty() ? plain : plain + ": " + sectionTitle;
}

std::vector<CheckAnswer> CheckQuestion::buttons() const {
    if (dialog == CheckDialogKind::ReturnFault)
        return {CheckAnswer::Fix, CheckAnswer::Cancel};
    return {CheckAnswer::Fix, CheckAnswer::Skip, CheckAnswer::SkipAll};
}

bool CheckQuestion::enabled(CheckAnswer answer) const {
    switch (answer) {
    case CheckAnswer::Fix:
        return fixEnabled;
    case CheckAnswer::Skip:
        return dialog == CheckDialogKind::Fault && skipEnabled;
    case CheckAnswer::SkipAll:
        return dialog == CheckDialogKind::Fault && skipAllEnabled;
    case CheckAnswer::Cancel:
        return dialog == CheckDialogKind::ReturnFault;
    case CheckAnswer::None:
        break;
    }
    return false;
}

// A fault that may not be skipped is not skipped by closing its message either:
// with "Исправить" the only way on, Escape and the close box mean it too.
CheckAnswer CheckQuestion::closeAnswer() const {
    if (dialog == CheckDialogKind::ReturnFault)
        return CheckAnswer::Cancel;
    return skipEnabled || !fixEnabled ? CheckAnswer::Skip : CheckAnswer::Fix;
}

} // namespace kv
