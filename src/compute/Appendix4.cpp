#include "compute/Appendix4.h"

#include "model/Declaration.h"

namespace kv {

namespace {

constexpr std::int32_t kAdvertisingPrize = 2740;

// Tax Code art. 217 limits of the year.
constexpr std::int64_t kSmallLimit = 4000;
constexpr std::int64_t kVictimsLimit = 10000;
constexpr std::int64_t kPensionContribLimit = 12000;

void addLine(Appendix4Sheet& s, std::int32_t ic, std::int32_t dc, Money a, Money d, bool foreign) {
    if (ic == 2762 && dc == 508)
        s.maternityAid += d;
    else if (ic == 2720 && dc == 501)
        s.gifts += a;
    else if (ic == 2760 && dc == 503)
        s.employerAid += a;
    else if (ic == 2730 && dc == 502)
        s.prizes += a;
    else if (ic == 2770 && dc == 504)
        s.medicineRefund += a;
    else if (ic == kAdvertisingPrize && dc == 505 && foreign)
        s.advertisingPrizes += a;
    else if (ic == 2761 && dc == 506)
        s.disabledAid += a;
    else if (ic == 3011 && dc == 511)
        s.winnings += a;
    else if (ic == 2790 && dc == 507)
        s.victimsAid += a;
    else if (ic == 1211 && dc == 510)
        s.employerPensionContrib += a;
    else if (ic == 2799 && (dc == 599 || foreign))
        s.otherExempt += a;
}

} // namespace

void Appendix4Sheet::clearFigures() {
    *this = Appendix4Sheet{};
}

void Appendix4Sheet::compute(const Declaration& doc) {
    clearFigures();
    const bool foreign = doc.has(IncomeKind::Foreign);
    if (doc.incomes13.count() > 0 || foreign) {
        for (const ThirteenPercentSource& src : doc.incomes13)
            for (const ThirteenIncomeItem& item : src.items)
                addLine(*this, item.incomeCode, item.deductionCode, item.amount, item.deductionAmount, false);
        if (foreign)
            for (const ForeignIncome& in : doc.foreignIncomes)
                addLine(*this, in.incomeCode, in.deductionCode, in.incomeInRubles, in.deductionAmount, true);

        const Money small = Money::fromRoubles(kSmallLimit);
        gifts = min(gifts, small);
        prizes = min(prizes, small);
        employerAid = min(employerAid, small);
        medicineRefund = min(medicineRefund, small);
        disabledAid = min(disabledAid, small);
        winnings = min(winnings, small);
        victimsAid = min(victimsAid, Money::fromRoubles(kVictimsLimit));
        employerPensionContrib = min(employerPensionContrib, Money::fromRoubles(kPensionContribLimit));
    }
    exempt13 = maternityAid + gifts + employerAid + prizes + medicineRefund + disabledAid + winnings +
               victimsAid + employerPensionContrib + otherExempt;

    // Advertising prizes are taxed at 35%; their exempt part reduces that income.
    if (doc.kind() == ReturnKind::Resident) {
        for (const ThirtyFivePercentSource& src : doc.incomes35)
            if (src.incomeCode == kAdvertisingPrize && src.deductionCode != 0)
                advertisingPrizes += src.totalIncome;
    } else if (doc.kind() == ReturnKind::NonResident) {
        for (const ThirteenPercentSource& src : doc.incomes13)
            for (const ThirteenIncomeItem& item : src.items)
                if (item.incomeCode == kAdvertisingPrize && item.deductionCode != 0)
                    advertisingPrizes += item.deductionAmount;
    }
    advertisingPrizes = min(advertisingPrizes, Money::fromRoubles(kSmallLimit));
    exempt35 = advertisingPrizes;
    totalExempt = exempt13 + exempt35;
}

} // namespace kv
