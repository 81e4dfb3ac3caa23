#include "checks/CheckDialog.h"

#include "core/Text.h"

#include <array>

namespace kv {

const std::string& answerCaption(CheckAnswer answer) {
    static const std::array<std::string, 5> captions = {
        std::string(),
        utf8ToCp1251("Исправить"),
        utf8ToCp1251("Пропустить"),
        utf8ToCp1251("Пропустить все"),
        utf8ToCp1251("Отмена"),
    };
    return captions.at(static_cast<std::size_t>(answer));
}

std::string CheckQuestion::title() const {
    static const std::string plain = utf8ToCp1251("Проверка");
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
