#include "checks/ReturnCheck.h"

#include "checks/IdentifierChecks.h"
#include "checks/RecordChecks.h"
#include "compute/ReturnComputation.h"
#include "core/Text.h"
#include "model/Declaration.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace kv {
namespace {

struct Messages {
    Cp1251Text conditions = Cp1251Text::fromUtf8("Задание условий");
    Cp1251Text taxpayer = Cp1251Text::fromUtf8("Сведения о декларанте");
    Cp1251Text incomes13 = Cp1251Text::fromUtf8("Доходы, облагаемые ставкой 13%");
    Cp1251Text foreign = Cp1251Text::fromUtf8("Доходы в валюте");
    Cp1251Text business = Cp1251Text::fromUtf8("Доходы от предпринимательской деятельности");
    Cp1251Text social = Cp1251Text::fromUtf8("Социальные вычеты");
    Cp1251Text standard = Cp1251Text::fromUtf8("Стандартные вычеты");
    Cp1251Text incomes9 = Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 9%");
    Cp1251Text incomes35 = Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 35%");
    Cp1251Text dividends = Cp1251Text::fromUtf8("Доходы в виде дивидендов");
    Cp1251Text incomes13NonResident =
        Cp1251Text::fromUtf8("Доходы нерезидентов, высококвалифицированных специалистов");
    Cp1251Text partnerships = Cp1251Text::fromUtf8("Доходы от участия в инвестиционном товариществе");

    Cp1251Text oktmoLength =
        Cp1251Text::fromUtf8("Код ОКТМО (по месту жительства) должен содержать 8 или 11 символов");
    Cp1251Text noOktmo = Cp1251Text::fromUtf8("Не введен код ОКТМО(8 или 11 симв.) по месту жительства");
    Cp1251Text estimatedIncomeNotWhole =
        Cp1251Text::fromUtf8("Предполагаемый доход указывается в целых рублях");

    Cp1251Text noIncomeLines = Cp1251Text::fromUtf8("По данному источнику не указаны доходы");

    Cp1251Text cfcTaxNotWhole = Cp1251Text::fromUtf8(
        "По данному источнику налоги с доходов КИК, удержанные в РФ, указываются в целых рублях");
    Cp1251Text sourceWithoutOktmo = Cp1251Text::fromUtf8("По данному источнику выплаты не указан код ОКТМО");
    Cp1251Text withheldNotWhole = Cp1251Text::fromUtf8(
        "По данному источнику выплаты сумма удержанного налога указывается в целых рублях");
    Cp1251Text fixedAdvanceNotWhole =
        Cp1251Text::fromUtf8("Сумма фиксированных платежей указывается в целых рублях");
    Cp1251Text actualAdvancesNotWhole =
        Cp1251Text::fromUtf8("Фактические авансовые платежи указываются в целых рублях");
    Cp1251Text adjustedTaxNotWhole =
        Cp1251Text::fromUtf8("Скорректированный налог указывается в целых рублях");
    Cp1251Text patentNotWhole = Cp1251Text::fromUtf8("Платежи по патенту указываются в целых рублях");
    Cp1251Text tradeFeeNotWhole = Cp1251Text::fromUtf8("Торговый сбор указывается в целых рублях");

    Cp1251Text tooManyFirstChildren =
        Cp1251Text::fromUtf8("Вычет на первого и второго ребенка предоставляется не более чем на двух детей. "
                             "Детей, начиная с 3-го, укажите в строке для них");
    Cp1251Text standardAtTwoPlaces = Cp1251Text::fromUtf8(
        "Вы не могли получать стандартные вычеты работая в нескольких местах ОДНОВРЕМЕННО.");
};

const Messages& messages() {
    static const Messages m;
    return m;
}

// Taxes, advances and the 4-NDFL estimated income are whole roubles in the form;
// kopecks can only come from a document written elsewhere.
bool whole(Money m) {
    return m.raw % Money::kScale == 0;
}

class Run {
public:
    Run(Declaration& d, CheckDialog& dialog) : d_(d), dialog_(dialog) {}

    ReturnCheckResult result() const { return result_; }

    void checkAll(const Section1Sheet& section1, bool taxPayable) {
        checkConditions();
        if (clean())
            checkTaxpayer();
        if (clean() && d_.has(IncomeKind::Agent))
            checkIncomes13();
        if (clean() && d_.has(IncomeKind::Agent))
            checkOtherRussianIncomes();
        if (clean() && d_.has(IncomeKind::Partnership))
            checkPartnerships();
        if (clean() && d_.has(IncomeKind::Foreign))
            checkForeignIncomeSection();
        if (clean() && d_.has(IncomeKind::Business))
            checkBusinessIncomeSection();
        if (d_.incomeFlags() != 0) {
            if (clean() && d_.kind() == ReturnKind::Resident)
                checkSocialDeductions();
            if (clean())
                checkStandardDeductions();
        }
        if (clean())
            checkResidenceOktmo(taxPayable);
        if (clean())
            checkSection1Oktmo(section1);
    }

    // The computation could not be done: nothing can be fixed on a screen, so the
    // command that asked for the check is abandoned.
    void reportComputationFailure() {
        CheckQuestion q;
        q.dialog = CheckDialogKind::ReturnFault;
        q.message = ComputationError::userMessage();
        q.fixEnabled = false;
        lastAnswer_ = dialog_.ask(q);
        result_ = {CheckSection::Conditions, ReturnCheckResult::kCancelled};
    }

private:
    // No fault has been reported by any rule yet.
    bool clean() const { return result_.elementCode == 0; }
    // No fault dialog has been shown in the current group.
    bool quiet() const { return lastAnswer_ == CheckAnswer::None; }

    void report(CheckSection section, const Cp1251Text& title, const Cp1251Text& message, int code) {
        CheckQuestion q;
        q.dialog = CheckDialogKind::ReturnFault;
        q.sectionTitle = title;
        q.message = message;
        lastAnswer_ = dialog_.ask(q);
        result_.section = section;
        result_.elementCode = lastAnswer_ == CheckAnswer::Fix ? static_cast<std::uint16_t>(code)
                                                              : ReturnCheckResult::kCancelled;
    }

    // Reports the first entry of a list for which faultOf gives a message; the
    // element code is its 1-based position.
    template <class List, class FaultOf>
    void reportFirst(const List& list, CheckSection section, const Cp1251Text& title, FaultOf faultOf) {
        int position = 0;
        for (const auto& entry : list) {
            ++position;
            if (const Cp1251Text* message = faultOf(entry)) {
                report(section, title, *message, position);
                return;
            }
        }
    }

    // A deduction larger than its income, where the law allows no such loss, would
    // lower the tax on other incomes of the source.
    static const Cp1251Text* lineDeductionOverIncome(const ThirteenPercentSource& s) {
        for (const ThirteenIncomeItem& line : s.items)
            if (deductionExceedsIncome(line))
                return &deductionOverIncomeMessage();
        return nullptr;
    }

    // After "Отмена" the next condition is still checked and may be shown too;
    // the code of the last fault shown is the one returned.
    void checkConditions() {
        const Messages& m = messages();
        const auto open = [this] { return lastAnswer_ != CheckAnswer::Fix; };
        for (const RecordFault& f : conditionsFaults(d_)) {
            if (!open())
                break;
            report(CheckSection::Conditions, m.conditions, *f.message, f.code);
        }
        if (open() && d_.kind() == ReturnKind::Estimated && !whole(d_.estimatedIncome))
            report(CheckSection::Conditions, m.conditions, m.estimatedIncomeNotWhole, 2);
    }

    // The first fault only: a fault shown ends the group whatever the answer.
    void checkTaxpayer() {
        const std::vector<RecordFault> faults = taxpayerFaults(d_.person, emptyInnOnReturn(d_));
        if (!faults.empty())
            report(CheckSection::Taxpayer, messages().taxpayer, *faults.front().message, faults.front().code);
    }

    void checkIncomes13() {
        const Messages& m = messages();
        const auto walk = [&](auto faultOf) {
            reportFirst(d_.incomes13, CheckSection::Incomes13, m.incomes13, faultOf);
        };
        walk(withheldOverIncome);
        if (quiet())
            walk([&](const ThirteenPercentSource& s) {
                return s.itemCount() == 0 ? &m.noIncomeLines : nullptr;
            });
        if (quiet())
            walk(lineDeductionOverIncome);
        if (quiet())
            walk([this](const ThirteenPercentSource& s) { return agentDeductionsOverIncome(s, d_.kind()); });
        if (quiet())
            walk([&](const ThirteenPercentSource& s) {
                return whole(s.taxWithheld) ? nullptr : &m.withheldNotWhole;
            });
        if (quiet())
            walk([](const ThirteenPercentSource& s) { return payerFault(s); });
        // A resident enters the foreigner's fixed advances beside the 13% sources; a
        // non-resident on the screen of his own incomes.
        if (quiet() && (d_.kind() == ReturnKind::Resident || d_.kind() == ReturnKind::NonResident) &&
            !whole(d_.foreignerFixedAdvance)) {
            if (d_.kind() == ReturnKind::Resident)
                report(CheckSection::Incomes13, m.incomes13, m.fixedAdvanceNotWhole,
                       FieldCode::kFixedAdvance);
            else
                report(CheckSection::Incomes13NonResident, m.incomes13NonResident, m.fixedAdvanceNotWhole,
                       FieldCode::kFixedAdvance);
        }
    }

    // The tax withheld by the sources of the other rates, each list on its own
    // screen and only on the kind of return that declares it.
    void checkOtherRussianIncomes() {
        const Messages& m = messages();
        const auto withheld = [&](const auto& list, CheckSection section, const Cp1251Text& title) {
            if (quiet())
                reportFirst(list, section, title, [&](const auto& s) {
                    return whole(s.taxWithheld) ? nullptr : &m.withheldNotWhole;
                });
        };
        if (d_.kind() == ReturnKind::Resident) {
            withheld(d_.incomes9, CheckSection::Incomes9, m.incomes9);
            withheld(d_.incomes35, CheckSection::Incomes35, m.incomes35);
            withheld(d_.incomes30, CheckSection::Dividends, m.dividends);
        } else if (d_.kind() == ReturnKind::NonResident) {
            reportFirst(d_.incomes13NonResident, CheckSection::Incomes13NonResident, m.incomes13NonResident,
                        lineDeductionOverIncome);
            withheld(d_.incomes13NonResident, CheckSection::Incomes13NonResident, m.incomes13NonResident);
            withheld(d_.incomes30, CheckSection::Dividends, m.dividends);
        }
        checkOtherPayers();
    }

    // The payers as their entry dialogs check them, for a file written elsewhere.
    void checkOtherPayers() {
        const Messages& m = messages();
        const auto payers = [&](const auto& list, CheckSection section, const Cp1251Text& title,
                                auto faultOf) {
            if (quiet())
                reportFirst(list, section, title, faultOf);
        };
        const auto anyPayer = [](const IncomeSource& s) { return payerFault(s); };
        const auto organisation = [](const IncomeSource& s) { return organisationPayerFault(s); };
        if (d_.kind() == ReturnKind::Resident) {
            payers(d_.incomes9, CheckSection::Incomes9, m.incomes9, organisation);
            payers(d_.incomes35, CheckSection::Incomes35, m.incomes35, anyPayer);
            payers(d_.incomes30, CheckSection::Dividends, m.dividends, organisation);
        } else if (d_.kind() == ReturnKind::NonResident) {
            payers(d_.incomes13NonResident, CheckSection::Incomes13NonResident, m.incomes13NonResident,
                   anyPayer);
            payers(d_.incomes30, CheckSection::Dividends, m.dividends, organisation);
        }
    }

    void checkPartnerships() {
        const Messages& m = messages();
        if (d_.kind() != ReturnKind::Resident && d_.kind() != ReturnKind::NonResident)
            return;
        reportFirst(d_.investPartnerships, CheckSection::Partnerships, m.partnerships,
                    [&](const InvestmentPartnership& s) {
                        return whole(s.taxWithheld) ? nullptr : &m.withheldNotWhole;
                    });
        if (quiet())
            reportFirst(d_.investPartnerships, CheckSection::Partnerships, m.partnerships,
                        [](const InvestmentPartnership& s) { return payerFault(s); });
    }

    // Each rule walks the whole list before the next rule starts.
    void checkForeignIncomeSection() {
        const Messages& m = messages();
        for (ForeignIncomeRule rule : kForeignIncomeRules)
            if (quiet())
                reportFirst(d_.foreignIncomes, CheckSection::ForeignIncomes, m.foreign, rule);
        for (ForeignIncomeRule rule : {foreignTaxRateMissing, foreignIncomeDateOutsideYear})
            if (quiet())
                reportFirst(d_.foreignIncomes, CheckSection::ForeignIncomes, m.foreign, rule);
        if (quiet())
            reportFirst(d_.foreignIncomes, CheckSection::ForeignIncomes, m.foreign,
                        [&](const ForeignIncome& e) {
                            return whole(e.cfcTaxWithheldInRussia) ? nullptr : &m.cfcTaxNotWhole;
                        });
        if (quiet())
            reportFirst(d_.foreignIncomes, CheckSection::ForeignIncomes, m.foreign, foreignCountryMissing);
    }

    // One walk: every rule for an entry before the next entry.
    void checkBusinessIncomeSection() {
        const Messages& m = messages();
        const BusinessActivity* first = firstExpenseChoice(d_.businessIncomes);
        int position = 0;
        for (const BusinessActivity& e : d_.businessIncomes) {
            ++position;
            const auto fault = [&](const Cp1251Text& message) {
                report(CheckSection::BusinessIncomes, m.business, message, position);
            };
            if (expenseChoiceDiffers(e, first)) {
                fault(mixedExpensesMessage());
                return;
            }
            if (okvedTooShort(e)) {
                fault(okvedLengthMessage());
                return;
            }
            if (documentedPartsExceedTotal(e)) {
                fault(expensesOverTotalMessage(e.totalExpenses, documentedExpenseParts(e)));
                return;
            }
        }
        // The return-wide figures of the same screen.
        const struct {
            Money amount;
            const Cp1251Text& message;
            std::uint16_t code;
        } figures[] = {
            {d_.actualAdvancePayments, m.actualAdvancesNotWhole, FieldCode::kActualAdvances},
            {d_.adjustedTax, m.adjustedTaxNotWhole, FieldCode::kAdjustedTax},
            {d_.patentPayments, m.patentNotWhole, FieldCode::kPatentPayments},
            {d_.tradeFee, m.tradeFeeNotWhole, FieldCode::kTradeFee},
        };
        for (const auto& f : figures) {
            if (!whole(f.amount)) {
                report(CheckSection::BusinessIncomes, m.business, f.message, f.code);
                return;
            }
        }
    }

    void checkSocialDeductions() {
        const Messages& m = messages();
        const SocialDeduction& social = d_.socialDeductions;
        if (socialDeductionsMissing(social)) {
            report(CheckSection::SocialDeductions, m.social, socialDeductionsMissingMessage(), 1);
            return;
        }
        if (social.granted == 0)
            return;
        for (std::int32_t i = 0; i < social.pensionContracts.count(); ++i) {
            if (const Cp1251Text* message = pensionContractPayerFault(social.pensionContracts.get(i))) {
                report(CheckSection::SocialDeductions, m.social, *message,
                       FieldCode::kFirstPensionContract + static_cast<std::uint16_t>(i));
                return;
            }
        }
    }

    // Standard deductions come from one employer at a time: a month held by two
    // sources means they were granted twice.
    void checkStandardDeductions() {
        const StandardDeduction& sd = d_.standardDeductions;
        if (sd.granted != 0 && firstChildrenOverTwo(sd)) {
            const Messages& m = messages();
            report(CheckSection::StandardDeductions, m.standard, m.tooManyFirstChildren,
                   FieldCode::kFirstChildrenCount);
            return;
        }
        if (sd.granted == 0 || sd.monthlyBusinessSet != 0 || d_.has(IncomeKind::Business) ||
            !d_.has(IncomeKind::Agent))
            return;
        for (int month = 0; month < ThirteenPercentSource::kReservedSlots; ++month) {
            const auto holders =
                std::count_if(d_.incomes13.begin(), d_.incomes13.end(),
                              [month](const ThirteenPercentSource& s) { return s.hasReservedSum(month); });
            if (holders > 1) {
                const Messages& m = messages();
                report(CheckSection::StandardDeductions, m.standard, m.standardAtTwoPlaces, 2);
                return;
            }
        }
    }

    // The screen takes at most two; a file written elsewhere may hold more, which
    // the computation would multiply into a deduction nobody has.
    static bool firstChildrenOverTwo(const StandardDeduction& sd) {
        constexpr std::int32_t kMaxFirstChildren = 2;
        if (sd.childrenConstant != 0)
            return sd.childrenCount > kMaxFirstChildren;
        return std::any_of(sd.childrenByMonth.begin(), sd.childrenByMonth.end(),
                           [](std::int32_t n) { return n > kMaxFirstChildren; });
    }

    void checkResidenceOktmo(bool taxPayable) {
        const Messages& m = messages();
        const Cp1251Text oktmo = trimText(d_.person.oktmo);
        if (!oktmo.empty() && !oktmoLengthValid(oktmo))
            report(CheckSection::Conditions, m.conditions, m.oktmoLength, 10);
        else if (oktmo.empty() && (taxPayable || d_.kind() == ReturnKind::Estimated))
            report(CheckSection::Conditions, m.conditions, m.noOktmo, 10);
    }

    // The tax service rejects a Section 1 line without OKTMO, and a refund then
    // waits: a source whose OKTMO was skipped on entry is fixed here, before export.
    void checkSection1Oktmo(const Section1Sheet& section1) {
        const Messages& m = messages();
        const auto line = std::find_if(section1.lines.begin(), section1.lines.end(),
                                       [](const Section1Line& l) { return trimText(l.oktmo).empty(); });
        if (line == section1.lines.end())
            return;
        const int position = line->oktmoSource.index + 1;
        switch (line->oktmoSource.list) {
        case OktmoSource::List::Taxpayer:
            report(CheckSection::Conditions, m.conditions, m.noOktmo, 10);
            break;
        case OktmoSource::List::Incomes13:
            report(CheckSection::Incomes13, m.incomes13, m.sourceWithoutOktmo, position);
            break;
        case OktmoSource::List::Incomes13NonResident:
            report(CheckSection::Incomes13NonResident, m.incomes13NonResident, m.sourceWithoutOktmo,
                   position);
            break;
        case OktmoSource::List::Incomes30:
            report(CheckSection::Dividends, m.dividends, m.sourceWithoutOktmo, position);
            break;
        case OktmoSource::List::Incomes9:
            report(CheckSection::Incomes9, m.incomes9, m.sourceWithoutOktmo, position);
            break;
        case OktmoSource::List::Incomes35:
            report(CheckSection::Incomes35, m.incomes35, m.sourceWithoutOktmo, position);
            break;
        case OktmoSource::List::InvestPartnerships:
            report(CheckSection::Partnerships, m.partnerships, m.sourceWithoutOktmo, position);
            break;
        }
    }

    Declaration& d_;
    CheckDialog& dialog_;
    ReturnCheckResult result_;
    CheckAnswer lastAnswer_ = CheckAnswer::None;
};

} // namespace

ReturnCheckResult checkReturn(Declaration& declaration, CheckDialog& dialog) {
    Run run(declaration, dialog);
    try {
        // The overall result says whether tax is payable; Section 1 shows which
        // lines would reach the file without an OKTMO.
        const auto computation = std::make_unique<ReturnComputation>();
        const bool taxPayable = !computation->compute(declaration);
        run.checkAll(computation->section1, taxPayable);
    } catch (const ArithmeticError&) {
        // A computation that cannot be done, or amounts of the document too large
        // to add up, leave nothing the rules could judge.
        run.reportComputationFailure();
    }
    return run.result();
}

} // namespace kv
