#pragma once
// Incomes exempt up to a limit (Appendix 4, Tax Code art. 217): gifts, prizes,
// material aid and the like.
#include "core/Money.h"

namespace kv {

class Declaration;

class Appendix4Sheet {
public:
    Money maternityAid;           // "МатПомРожд"
    Money gifts;                  // "СтоимПодар"
    Money employerAid;            // "МатПомРаб"
    Money prizes;                 // "СтоимПриз"
    Money medicineRefund;         // "ВозмМед"
    Money advertisingPrizes;      // "ПризРекл"
    Money disabledAid;            // "МатПомИнв"
    Money winnings;               // "ВыигрЛотер"
    Money victimsAid;             // "ПомПодар"
    Money employerPensionContrib; // "ДопСВПенс"
    Money otherExempt;            // "ДоходИн"
    Money totalExempt;            // "ДохНеНалОбщ"
    Money exempt13;               // exempt part of the 13% income
    Money exempt35;               // exempt part of the 35% income

    void clearFigures();
    void compute(const Declaration& doc);

    friend bool operator==(const Appendix4Sheet&, const Appendix4Sheet&) = default;
};

} // namespace kv
