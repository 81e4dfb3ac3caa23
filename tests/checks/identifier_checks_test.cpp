#include "checks/IdentifierChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

struct InnCase {
    const char* inn;
    InnKind kind;
    InnResult expected;
};

TEST(CheckInn, ResultsByKindLengthAndCheckDigits) {
    const InnCase cases[] = {
        {"1234567894", InnKind::Any, InnResult::Valid},
        {"1234567894", InnKind::Organisation, InnResult::Valid},
        {" 1234567894\t", InnKind::Any, InnResult::Valid},
        {"5001007329", InnKind::Organisation, InnResult::Valid},
        {"1234567895", InnKind::Any, InnResult::Invalid},
        {"1234567894", InnKind::Individual, InnResult::NotTwelve},
        {"123456789047", InnKind::Any, InnResult::Valid},
        {"123456789047", InnKind::Individual, InnResult::Valid},
        {"366406939705", InnKind::Individual, InnResult::Valid}, // a check digit of 10 or 11 is written 0
        {"500100732185", InnKind::Individual, InnResult::Valid},
        {"123456789047", InnKind::Organisation, InnResult::NotTen},
        {"123456789048", InnKind::Individual, InnResult::Invalid},
        // First check digit wrong; the second matches one computed over the wrong first digit.
        {"123456789054", InnKind::Individual, InnResult::Invalid},
        {"0000000000", InnKind::Any, InnResult::Invalid},
        {"0000000000", InnKind::Organisation, InnResult::Invalid},
        {"000000000000", InnKind::Individual, InnResult::Invalid},
        {"000000000000", InnKind::Any, InnResult::Invalid},
        // Zeros are a wrong number even where the kind asks for the other length.
        {"000000000000", InnKind::Organisation, InnResult::Invalid},
        {" 0000000000 ", InnKind::Individual, InnResult::Invalid},
        {"00000000000", InnKind::Any, InnResult::NotTenOrTwelve},
        {"", InnKind::Any, InnResult::Empty},
        {"   ", InnKind::Individual, InnResult::Empty},
        {"12345678901", InnKind::Any, InnResult::NotTenOrTwelve},
        {"123", InnKind::Organisation, InnResult::NotTen},
        {"12345678901", InnKind::Individual, InnResult::NotTwelve},
        // Characters other than digits never make a number valid and never fail the check.
        {"12345A7894", InnKind::Any, InnResult::Invalid},
        {"123456789X", InnKind::Organisation, InnResult::Invalid},
        {"12345678904A", InnKind::Individual, InnResult::Invalid},
        {"12345 67894", InnKind::Any, InnResult::NotTenOrTwelve},
        {"\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9", InnKind::Any, InnResult::Invalid},
    };
    for (const InnCase& c : cases)
        EXPECT_EQ(checkInn(Cp1251Text::fromBytes(std::string_view(c.inn)), c.kind), c.expected)
            << '"' << c.inn << "\" kind " << static_cast<int>(c.kind);
}

TEST(CheckInn, EveryWrongLastDigitIsRejected) {
    for (char d = '0'; d <= '9'; ++d) {
        const std::string ten = std::string("123456789") + d;
        const std::string twelve = std::string("12345678904") + d;
        EXPECT_EQ(checkInn(Cp1251Text::fromBytes(ten), InnKind::Any),
                  d == '4' ? InnResult::Valid : InnResult::Invalid)
            << ten;
        EXPECT_EQ(checkInn(Cp1251Text::fromBytes(twelve), InnKind::Any),
                  d == '7' ? InnResult::Valid : InnResult::Invalid)
            << twelve;
    }
}

TEST(CheckKpp, ResultsByLengthAndZeros) {
    const struct {
        const char* kpp;
        KppResult expected;
    } cases[] = {
        {"770101001", KppResult::Valid},    {"12345678A", KppResult::Valid},
        {" 770101001 ", KppResult::Valid},  {"", KppResult::Empty},
        {"  ", KppResult::Empty},           {"77010100", KppResult::NotNine},
        {"7701010011", KppResult::NotNine}, {"000000000", KppResult::Zeros},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkKpp(Cp1251Text::fromBytes(std::string_view(c.kpp))), c.expected)
            << '"' << c.kpp << '"';
}

TEST(OktmoRule, EightOrElevenCharactersAfterTrimming) {
    EXPECT_TRUE(oktmoLengthValid(Cp1251Text{"45000000"}));
    EXPECT_TRUE(oktmoLengthValid(Cp1251Text{" 45000000000 "}));
    EXPECT_TRUE(oktmoLengthValid(Cp1251Text{"ABCDEFGH"})); // the digits are not checked
    EXPECT_FALSE(oktmoLengthValid(Cp1251Text{""}));
    EXPECT_FALSE(oktmoLengthValid(Cp1251Text{"4500000"}));
    EXPECT_FALSE(oktmoLengthValid(Cp1251Text{"450000000"}));
    EXPECT_FALSE(oktmoLengthValid(Cp1251Text{"450000000000"}));
}

} // namespace
} // namespace kv
