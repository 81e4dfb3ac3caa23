#include "checks/IdentifierChecks.h"
#include "checks/ScriptedCheckDialog.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using A = CheckAnswer;

// A message as the user saw it, and whether "Пропустить" was enabled for it.
struct Shown {
    std::string message;
    bool skipEnabled;
    friend bool operator==(const Shown&, const Shown&) = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
    *os << '"' << s.message << "\" skip " << s.skipEnabled;
}

std::vector<Shown> shownOf(const ScriptedCheckDialog& dialog) {
    std::vector<Shown> out;
    for (const CheckQuestion& q : dialog.asked())
        out.push_back({q.message.utf8(), q.skipEnabled});
    return out;
}

// Every payer message comes in TfmCheckError under the section title, never with "Пропустить все".
void expectPayerDialogs(const ScriptedCheckDialog& dialog, const std::string& sectionUtf8) {
    for (const CheckQuestion& q : dialog.asked()) {
        EXPECT_EQ(q.dialog, CheckDialogKind::Fault);
        EXPECT_EQ(q.title().utf8(), "Проверка: " + sectionUtf8);
        EXPECT_TRUE(q.fixEnabled);
        EXPECT_FALSE(q.skipAllEnabled);
    }
    EXPECT_EQ(dialog.unexpected(), 0u);
}

const char* const kNoName = "Не заполненно поле \"Наименование источника выплаты\"";
const char* const kOktmoLength =
    "Код ОКТМО введен некорректно(должно быть 8 или 11 симв.)(При продаже имущества физ.лицу - не нужен)";
const char* const kNoOktmo = "Не введен код ОКТМО(8 или 11 симв.)(При продаже имущества физ.лицу - не нужен)";
const char* const kInvalidInn = "Номер ИНН введен неверно";

struct PayerCase {
    const char* what;
    const char* name;
    const char* oktmo;
    const char* kpp;
    const char* inn;
    bool skipAllowed;
    std::vector<CheckAnswer> script;
    std::vector<Shown> shown;
    PayerField expected;
};

TEST(CheckPayer, StepsInOrderWithTheirSkipRules) {
    const PayerCase cases[] = {
        {"person payer without INN and KPP", "Иванов", "45000000", "", "", true, {}, {}, PayerField::Accept},
        {"organisation", "ООО", "45000000000", "770101001", "1234567894", false, {}, {}, PayerField::Accept},
        {"KPP without INN",
         "Иванов",
         "45000000",
         "770101001",
         "",
         true,
         {A::Fix},
         {{"Введите ИНН", false}},
         PayerField::Inn},
        {"organisation INN without KPP",
         "ООО",
         "45000000000",
         "",
         "1234567894",
         true,
         {A::Fix},
         {{"Отсутствует КПП", false}},
         PayerField::Kpp},
        {"KPP of eight characters",
         "ООО",
         "45000000",
         "77010100",
         "1234567894",
         true,
         {A::Fix},
         {{"Длина КПП должна быть равна 9 цифрам", false}},
         PayerField::Kpp},
        {"KPP of zeros",
         "ООО",
         "45000000",
         "000000000",
         "1234567894",
         true,
         {A::Fix},
         {{"Некорректный КПП", false}},
         PayerField::Kpp},
        {"KPP with a person's INN",
         "Иванов",
         "45000000",
         "770101001",
         "123456789047",
         true,
         {A::Fix},
         {{"Длина ИНН для юрлиц должна быть равна 10 цифрам", false}},
         PayerField::Inn},
        {"missing OKTMO skipped",
         "Иванов",
         " ",
         "",
         "",
         true,
         {A::Skip},
         {{kNoOktmo, true}},
         PayerField::Accept},
        {"missing OKTMO fixed", "Иванов", "", "", "", true, {A::Fix}, {{kNoOktmo, true}}, PayerField::Oktmo},
        {"missing OKTMO without skipping",
         "Иванов",
         "",
         "",
         "",
         false,
         {A::Fix},
         {{kNoOktmo, false}},
         PayerField::Oktmo},
        {"OKTMO of a wrong length",
         "Иванов",
         "4500000",
         "",
         "",
         true,
         {A::Fix},
         {{kOktmoLength, false}},
         PayerField::Oktmo},
        {"INN of a wrong length",
         "Иванов",
         "45000000",
         "",
         "12345",
         true,
         {A::Fix},
         {{"Длина ИНН должна быть равна 10 или 12 цифрам", false}},
         PayerField::Inn},
        {"INN with a wrong check digit",
         "Иванов",
         "45000000",
         "",
         "123456789048",
         true,
         {A::Fix},
         {{kInvalidInn, false}},
         PayerField::Inn},
        {"INN with a letter",
         "Иванов",
         "45000000",
         "",
         "12345678904A",
         true,
         {A::Fix},
         {{kInvalidInn, false}},
         PayerField::Inn},
        {"name missing", " ", "45000000", "", "", true, {A::Fix}, {{kNoName, false}}, PayerField::Name},
        // Closing a message that may not be skipped is "Исправить"; closing one that
        // may be skipped skips it.
        {"invalid INN closed",
         "Иванов",
         "45000000",
         "",
         "123456789048",
         true,
         {A::None},
         {{kInvalidInn, false}},
         PayerField::Inn},
        {"missing OKTMO closed",
         "Иванов",
         "",
         "",
         "",
         true,
         {A::None},
         {{kNoOktmo, true}},
         PayerField::Accept},
        {"missing OKTMO closed without skipping",
         "Иванов",
         "",
         "",
         "",
         false,
         {A::None},
         {{kNoOktmo, false}},
         PayerField::Oktmo},
        // A fault that may not be skipped disables "Пропустить" for the rest of the run.
        {"no-skip fault closed", "", "", "", "", true, {A::None}, {{kNoName, false}}, PayerField::Name},
    };
    for (const PayerCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedCheckDialog dialog(c.script);
        const PayerField result = checkPayer(
            dialog, Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 13%"), Cp1251Text::fromUtf8(c.name),
            c.skipAllowed, Cp1251Text::fromBytes(std::string_view(c.oktmo)),
            Cp1251Text::fromBytes(std::string_view(c.kpp)), Cp1251Text::fromBytes(std::string_view(c.inn)));
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(shownOf(dialog), c.shown);
        expectPayerDialogs(dialog, "Доходы, облагаемые по ставке 13%");
    }
}

TEST(CheckOrganisationPayer, StepsInOrderNothingSkippable) {
    const char* const oktmoConstant = "12345678901"; // what the pension contract dialog passes
    const PayerCase cases[] = {
        {"valid organisation",
         "Фонд",
         oktmoConstant,
         "770101001",
         "1234567894",
         false,
         {},
         {},
         PayerField::Accept},
        {"no name",
         "",
         oktmoConstant,
         "770101001",
         "1234567894",
         false,
         {A::Fix},
         {{kNoName, false}},
         PayerField::Name},
        {"no OKTMO",
         "Фонд",
         "",
         "770101001",
         "1234567894",
         false,
         {A::Fix},
         {{"Не введен код ОКТМО(8 или 11 симв.)", false}},
         PayerField::Oktmo},
        {"INN of a person",
         "Фонд",
         oktmoConstant,
         "770101001",
         "123456789047",
         false,
         {A::Fix},
         {{"Длина ИНН должна быть равна 10 цифрам", false}},
         PayerField::Inn},
        {"INN wrong",
         "Фонд",
         oktmoConstant,
         "770101001",
         "1234567895",
         false,
         {A::Fix},
         {{kInvalidInn, false}},
         PayerField::Inn},
        {"KPP missing",
         "Фонд",
         oktmoConstant,
         "",
         "1234567894",
         false,
         {A::Fix},
         {{"Отсутствует КПП", false}},
         PayerField::Kpp},
        // Nothing here may be skipped: closing a message is "Исправить".
        {"INN wrong, closed",
         "Фонд",
         oktmoConstant,
         "770101001",
         "1234567895",
         false,
         {A::None},
         {{kInvalidInn, false}},
         PayerField::Inn},
        {"neither INN nor KPP, closed",
         "Фонд",
         oktmoConstant,
         "",
         "",
         false,
         {A::None},
         {{"Отсутствует КПП", false}},
         PayerField::Kpp},
    };
    for (const PayerCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedCheckDialog dialog(c.script);
        const PayerField result = checkOrganisationPayer(
            dialog, Cp1251Text::fromUtf8("Пенсионные договоры"), Cp1251Text::fromUtf8(c.name),
            Cp1251Text::fromBytes(std::string_view(c.oktmo)), Cp1251Text::fromBytes(std::string_view(c.kpp)),
            Cp1251Text::fromBytes(std::string_view(c.inn)));
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(shownOf(dialog), c.shown);
        expectPayerDialogs(dialog, "Пенсионные договоры");
    }
}

TEST(ScriptedCheckDialog, QuestionsBeyondTheScriptAreCountedAndClosed) {
    ScriptedCheckDialog dialog({A::SkipAll});
    CheckQuestion q;
    q.skipAllEnabled = false;
    EXPECT_EQ(dialog.ask(q), A::Skip); // a disabled answer closes the window
    EXPECT_EQ(dialog.ask(q), A::Skip); // past the script
    q.dialog = CheckDialogKind::ReturnFault;
    EXPECT_EQ(dialog.ask(q), A::Cancel);
    EXPECT_EQ(dialog.unexpected(), 3u);
    EXPECT_EQ(dialog.asked().size(), 3u);
}

// Closing TfmCheckError skips only what may be skipped; with "Исправить" the one
// answer left, closing it is that answer.
TEST(CheckQuestion, ClosingAnswersWhatMayBeAnswered) {
    const struct {
        CheckDialogKind dialog;
        bool skip, skipAll;
        CheckAnswer closed;
    } cases[] = {
        {CheckDialogKind::Fault, true, true, A::Skip},
        {CheckDialogKind::Fault, true, false, A::Skip},
        {CheckDialogKind::Fault, false, true, A::Fix},
        {CheckDialogKind::Fault, false, false, A::Fix},
        {CheckDialogKind::ReturnFault, false, false, A::Cancel},
    };
    for (const auto& c : cases) {
        CheckQuestion q;
        q.dialog = c.dialog;
        q.skipEnabled = c.skip;
        q.skipAllEnabled = c.skipAll;
        EXPECT_EQ(q.closeAnswer(), c.closed) << c.skip << c.skipAll;
        ScriptedCheckDialog closing({A::None});
        EXPECT_EQ(closing.ask(q), c.closed);
        EXPECT_EQ(closing.unexpected(), 0u);
    }
}

} // namespace
} // namespace kv
