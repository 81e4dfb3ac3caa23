// One run of checks: when each stop policy ends the run and which element code it
// gives, with the answers coming from the scripted check dialog.
#include "checks/CheckRun.h"
#include "checks/ScriptedCheckDialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

using A = CheckAnswer;

struct PolicyCase {
    const char* name;
    CheckStop policy;
    std::vector<A> answers; // one per fault shown
    std::uint16_t result;
    std::size_t shown; // of the four faults, coded 1 to 4
};

class CheckRunPolicy : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(CheckRunPolicy, StopsAndCodes) {
    const PolicyCase& c = GetParam();
    ScriptedCheckDialog dialog(c.answers);
    CheckRun run(dialog, Cp1251Text{"T"}, c.policy);
    for (std::uint16_t code = 1; code <= 4; ++code)
        run.fault(Cp1251Text{"fault"}, code);
    EXPECT_EQ(run.result(), c.result);
    EXPECT_EQ(dialog.asked().size(), c.shown);
    EXPECT_EQ(dialog.unexpected(), 0u);
    EXPECT_EQ(run.open(),
              c.shown == 4 && c.policy != CheckStop::AtFirstFault && c.answers.back() != A::SkipAll);
}

INSTANTIATE_TEST_SUITE_P(
    Policies, CheckRunPolicy,
    ::testing::Values(
        PolicyCase{"AtFixStopsAtFix", CheckStop::AtFix, {A::Skip, A::Fix}, 2, 2},
        PolicyCase{"AtFixStopsAtSkipAllWithNothing", CheckStop::AtFix, {A::Skip, A::SkipAll}, 0, 2},
        PolicyCase{"AtFixGoesOnAfterSkips", CheckStop::AtFix, {A::Skip, A::Skip, A::Skip, A::Skip}, 0, 4},
        PolicyCase{"FirstFaultStopsAtSkip", CheckStop::AtFirstFault, {A::Skip}, 0, 1},
        PolicyCase{"FirstFaultGivesTheFixedCode", CheckStop::AtFirstFault, {A::Fix}, 1, 1},
        PolicyCase{"FixGoesOnLastFixWins", CheckStop::FixGoesOn, {A::Fix, A::Skip, A::Fix, A::Skip}, 3, 4},
        PolicyCase{"FixGoesOnUntilSkipAll", CheckStop::FixGoesOn, {A::Fix, A::SkipAll}, 1, 2}),
    [](const ::testing::TestParamInfo<PolicyCase>& info) { return std::string(info.param.name); });

// A fault that may not be skipped disables "Пропустить" for itself and every later
// fault; the title and the offered answers are the run's. Closing such a message is
// "Исправить" (here a policy that goes on after it, to show the later faults).
TEST(CheckRun, NoSkipLastsForTheRunAndTitlesCarry) {
    ScriptedCheckDialog dialog({A::Skip, A::None, A::None});
    CheckRun run(dialog, Cp1251Text{"T"}, CheckStop::FixGoesOn);
    run.offerSkipAll(false);
    run.fault(Cp1251Text{"a"}, 1);
    run.faultNoSkip(Cp1251Text{"b"}, 2);
    run.fault(Cp1251Text{"c"}, 3);
    ASSERT_EQ(dialog.asked().size(), 3u);
    EXPECT_TRUE(dialog.asked()[0].skipEnabled);
    EXPECT_FALSE(dialog.asked()[1].skipEnabled);
    EXPECT_FALSE(dialog.asked()[2].skipEnabled);
    for (const CheckQuestion& q : dialog.asked()) {
        EXPECT_FALSE(q.skipAllEnabled);
        EXPECT_EQ(q.title(), Cp1251Text::fromBytes(
                                 std::string_view("\xcf\xf0\xee\xe2\xe5\xf0\xea\xe0: T"))); // "Проверка: T"
    }
    EXPECT_EQ(run.result(), 3);
    EXPECT_EQ(dialog.unexpected(), 0u);

    // Under the usual policy the closed message ends the run with its field.
    ScriptedCheckDialog closing({A::None});
    CheckRun usual(closing, Cp1251Text{"T"});
    usual.faultNoSkip(Cp1251Text{"b"}, 2);
    usual.fault(Cp1251Text{"c"}, 3);
    EXPECT_EQ(usual.result(), 2);
    EXPECT_FALSE(usual.open());
    EXPECT_EQ(closing.asked().size(), 1u);

    ScriptedCheckDialog titled({A::Skip});
    CheckRun own(titled, {});
    own.windowTitle(Cp1251Text{"W"});
    own.fault(Cp1251Text{"a"}, 1);
    EXPECT_EQ(titled.asked().at(0).title(), Cp1251Text{"W"});
}

} // namespace
} // namespace kv
