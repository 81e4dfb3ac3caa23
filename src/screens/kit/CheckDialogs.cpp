#include "screens/kit/CheckDialogs.h"

#include "screens/kit/UiText.h"

namespace kv {

Question checkQuestion(const CheckQuestion& question) {
    Question q;
    q.id = question.dialog == CheckDialogKind::ReturnFault ? QStringLiteral("TfmCheckAllError")
                                                           : QStringLiteral("TfmCheckError");
    q.title = fromCp1251(question.title());
    q.text = fromCp1251(question.message);
    q.icon = QuestionIcon::Warning;
    const std::vector<CheckAnswer> buttons = question.buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        q.answers.append(fromCp1251(answerCaption(buttons[i])));
        q.enabled.append(question.enabled(buttons[i]));
        if (buttons[i] == question.closeAnswer())
            q.escapeIndex = static_cast<int>(i);
    }
    q.defaultIndex = 0;
    return q;
}

CheckAnswer AskerCheckDialog::ask(const CheckQuestion& question) {
    const std::vector<CheckAnswer> buttons = question.buttons();
    const int index = asker_.ask(parent_, checkQuestion(question));
    if (index < 0 || static_cast<std::size_t>(index) >= buttons.size() || !question.enabled(buttons[index]))
        return question.closeAnswer();
    return buttons[static_cast<std::size_t>(index)];
}

} // namespace kv
