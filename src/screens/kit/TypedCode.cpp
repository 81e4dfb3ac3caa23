#include "screens/kit/TypedCode.h"

#include "screens/kit/Asker.h"
#include "screens/kit/UiText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace kv {

void acceptTypedCode(QLineEdit* field, Asker& asker, TypedCode code) {
    field->setReadOnly(false);
    field->setMaxLength(code.digits);
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(code.digits)), field));
    QObject::connect(field, &QLineEdit::editingFinished, field, [field, &asker, code] {
        const QString typed = field->text();
        const QString before = code.shown();
        if (typed == before)
            return;
        // The field shows the chosen code until a typed one is taken; an emptied field
        // keeps the code chosen before.
        field->setText(before);
        if (typed.isEmpty() || code.take(toCp1251(typed)))
            return;
        asker.ask(field->window(),
                  messageQuestion(code.question, code.refusal(typed), QuestionIcon::Warning));
        field->setFocus();
        field->selectAll();
    });
}

} // namespace kv
