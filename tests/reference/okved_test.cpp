#include "core/Text.h"
#include "reference/Okved.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

// Two sections; the name "Прочее" occurs at level 3 under both classes.
const std::string kClassifier =
    Cp1251Text::fromUtf8("<?xml version=\"1.0\" encoding=\"windows-1251\"?><OKVED2>"
                         "<e><GRUP>1</GRUP><Name>Сельское хозяйство</Name><Kod>A</Kod></e>"
                         "<e><GRUP>2</GRUP><Name>Растениеводство</Name><Kod>A01</Kod><OKVED>01</OKVED></e>"
                         "<e><GRUP>3</GRUP><Name>Прочее</Name><Kod>A01.1</Kod><OKVED>01.1</OKVED></e>"
                         "<e><GRUP>4</GRUP><Name>Зерновые</Name><Kod>A01.11</Kod><OKVED>01.11</OKVED></e>"
                         "<e><GRUP>5</GRUP><Name>Пшеница</Name><Kod>A01.11.1</Kod><OKVED>01.11.1</OKVED></e>"
                         "<e><GRUP>1</GRUP><Name>Связь</Name><Kod>J</Kod></e>"
                         "<e><GRUP>2</GRUP><Name>Программы</Name><Kod>J62</Kod><OKVED>62</OKVED></e>"
                         "<e><GRUP>3</GRUP><Name>Прочее</Name><Kod>J62.0</Kod><OKVED>62.0</OKVED></e>"
                         "<e><GRUP>4</GRUP><Name>Разработка</Name><Kod>J62.01</Kod><OKVED>62.01</OKVED></e>"
                         "<e><GRUP>4</GRUP><Name>Без кода</Name><Kod>J62.09</Kod></e>"
                         "<e><GRUP>2</GRUP><Name>Вещание</Name><Kod>J60</Kod><OKVED>60</OKVED></e>"
                         "</OKVED2>")
        .bytes();

std::vector<Cp1251Text> names(std::initializer_list<const char*> utf8) {
    std::vector<Cp1251Text> out;
    for (const char* n : utf8)
        out.push_back(Cp1251Text::fromUtf8(n));
    return out;
}

} // namespace

TEST(OkvedPicker, LevelsFollowTheChosenKey) {
    const auto classifier = OkvedClassifier::fromXml(kClassifier);
    ASSERT_TRUE(classifier);
    OkvedPickerModel m(*classifier);
    EXPECT_EQ(m.items(1), names({"нет", "Сельское хозяйство", "Связь"}));
    for (int level = 2; level <= 6; ++level)
        EXPECT_EQ(m.items(level), names({"нет"}));
    EXPECT_EQ(m.display(), Cp1251Text::fromUtf8("нет"));

    m.pick(1, 2); // Связь: a section has no code of its own
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"J"});
    EXPECT_EQ(m.display(), Cp1251Text::fromUtf8("нет"));
    EXPECT_EQ(m.items(2), names({"нет", "Программы", "Вещание"}));
    EXPECT_EQ(m.items(3), names({"нет", "Прочее"}));
    EXPECT_EQ(m.items(4), names({"нет", "Разработка", "Без кода"}));
    EXPECT_FALSE(m.keyLongEnough());

    m.pick(2, 1); // Программы
    EXPECT_EQ(m.display(), Cp1251Text{"62"});
    EXPECT_EQ(m.items(3), names({"нет", "Прочее"}));

    // "Прочее" here is the one under J62, not the first of that name in the file.
    m.pick(3, 1);
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"J62.0"});
    EXPECT_EQ(m.display(), Cp1251Text{"62.0"});
    EXPECT_TRUE(m.keyLongEnough());
    EXPECT_EQ(m.items(4), names({"нет", "Разработка", "Без кода"}));
    EXPECT_EQ(m.items(5), names({"нет"}));

    // An entry without a code keeps the code shown before.
    m.pick(4, 2);
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"J62.09"});
    EXPECT_EQ(m.display(), Cp1251Text{"62.0"});

    // "нет" empties the deeper lists but keeps the key and the code.
    m.pick(4, 1);
    m.pick(2, 0);
    EXPECT_EQ(m.currentIndex(2), 0);
    for (int level = 3; level <= 6; ++level) {
        EXPECT_EQ(m.items(level), names({"нет"}));
        EXPECT_EQ(m.currentIndex(level), 0);
    }
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"J62.01"});
    EXPECT_EQ(m.display(), Cp1251Text{"62.01"});
    EXPECT_EQ(m.items(2), names({"нет", "Программы", "Вещание"}));

    // Choosing again above resets every deeper choice to "нет".
    m.pick(1, 1);
    EXPECT_EQ(m.items(2), names({"нет", "Растениеводство"}));
    EXPECT_EQ(m.items(5), names({"нет", "Пшеница"}));
    EXPECT_EQ(m.currentIndex(5), 0);
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"A"});
    EXPECT_EQ(m.display(), Cp1251Text{"62.01"});

    // Out-of-range picks change nothing.
    m.pick(7, 1);
    m.pick(2, 5);
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"A"});
}

TEST(OkvedPicker, CheckTexts) {
    EXPECT_EQ(OkvedPickerModel::checkTitle(), Cp1251Text::fromUtf8("Проверка: ОКВЭД"));
    EXPECT_EQ(OkvedPickerModel::checkMessage(),
              Cp1251Text::fromUtf8("Длина кода ОКВЭД должна быть не меньше 4 знаков вклячая точку"));
    EXPECT_FALSE(OkvedClassifier::fromXml("<x>"));
}
