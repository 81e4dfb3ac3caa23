#pragma once
// Deductions and documented costs claimed on the sale of property, shares and
// rights (Appendix 6, Tax Code art. 220), with the statutory limits.
#include "core/Money.h"

namespace kv {

class Declaration;

class Appendix6Sheet {
public:
    Money housingSaleDeduction;   // "ВычПродИмущ"
    Money housingCosts;           // "РасхПриобИмущ"
    Money housingShareCosts;      // "РасхПриобИмущДол"
    Money housingShareDeduction;  // "ВычПродИмущДол"
    Money otherRealDeduction;     // "ВычДохПродИмущ" of "ВычПродНедвИн"
    Money otherRealCosts;         // "РасхПриобрИмущ" of "ВычПродНедвИн"
    Money otherPropertyDeduction; // "ВычДохПродИмущ" of "ВычПродИмущИн"
    Money otherPropertyCosts;     // "РасхПриобрИмущ" of "ВычПродИмущИн"
    Money seizureIncome;          // "ВычДохИзъятИмущ"
    Money liquidationIncome;      // "ВычДохЛиквИО"
    Money cfcRightsIncome;        // "ВычДохПравКИК"
    Money shareSaleCosts;         // "ВычПдтвРасхПродУК"
    Money shareSaleDeduction;     // already included in shareSaleCosts
    Money rightsAssignmentCosts;  // "ВычПдтвРасхПрдСр"
    Money capitalReductionCosts;  // "ВычПдтвРасхУмСтУК"
    Money claimRightsCosts;       // "ВычПдтвРасхУстПрав"
    Money totalPropertySale;      // "ОбщИмущВыч"

    void clearFigures();
    void compute(const Declaration& doc);

    friend bool operator==(const Appendix6Sheet&, const Appendix6Sheet&) = default;
};

} // namespace kv
