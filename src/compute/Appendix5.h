#pragma once
// Standard, social and investment deductions (Appendix 5, Tax Code art. 218,
// 219, 219.1) and the pension and insurance contribution contracts under their
// common annual limit.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class Declaration;
class ReturnComputation;

// One pension or insurance contract ("РасчПСВВыч").
struct PensionContractLine {
    std::int32_t contractKind = 0; // "ВидДоговор"
    Cp1251Text fundName;           // "Наим"
    Cp1251Text fundInn;            // "ИННЮЛ"
    Cp1251Text fundKpp;            // "КПП"
    Cp1251Text contractNumber;     // "НомДогНПО"
    DateValue contractDate;        // "ДатаДогНПО"
    Money paid;
    Money deductible; // "СумВзносУпл"

    friend bool operator==(const PensionContractLine&, const PensionContractLine&) = default;
};

class PensionContractsSheet {
public:
    std::vector<PensionContractLine> contracts;
    std::int32_t contractCount = 0;
    Money npfDeductible;        // contracts of kinds 1 to 3
    Money additionalDeductible; // additional contributions to the funded pension (kind 4)
    Money totalDeductible;

    void clearFigures();
    void compute(const Declaration& doc, ReturnComputation& root);

    friend bool operator==(const PensionContractsSheet&, const PensionContractsSheet&) = default;
};

class Appendix5Sheet {
public:
    Money std3000;                   // "ВычСт218.1.1"
    Money std500;                    // "ВычСт218.1.2"
    Money childSingleParent;         // "ВычСтРебЕд"
    Money child;                     // "ВычСтРеб"
    Money disabledChild;             // "ВычСтРебИнв"
    Money disabledChildSingleParent; // "ВычСтРебИнвЕд"
    Money standardByAgents;          // "ОбщВычСтандПер"
    Money standardInReturn;          // "ОбщВычСтандДекл"
    Money charity;                   // "СумБлагЦел"
    Money charity25;
    Money charityCulture30;
    Money childEducation;          // "СумОбуч" of "РасчВычСоцБез219.2"
    Money expensiveTreatment;      // "СумЛечен"
    Money socialUncappedTotal;     // "ИтогВычСоциал"
    Money ownEducation;            // "СумОбуч" of "РасчВычСоц219.2"
    Money medicalServices;         // "СумМедУсл"
    Money medicines;               // "СумЛекПреп"
    Money voluntaryInsurance;      // "СумЛичСтрах"
    Money pensionContributions;    // "СумПенсСтрах"
    Money qualificationAssessment; // "СумОценКвалиф"
    Money cappedExpensesTotal;     // "ОбщСумРасх"
    Money socialByAgents;          // "ОбщСНВОтчПерНА"
    Money socialInReturn;          // "ОбщВычСоциал"
    Money stdSocialInReturn;       // "ВычСтандСоц"
    Money investmentDeduction;     // "СумИнвВыч219"
    Money investmentRestored;      // "ИнвВычПредВосст"
    Money agentCode320;
    Money agentCode321;
    Money agentCode324;
    Money agentCode325;
    Money agentCode326;
    Money agentCode327;
    Money agentCode328;

    void clearFigures();
    // Reads standardByMonth, pensionContracts, russian13, foreign13, business and
    // exemptIncome of the root; they are computed before it.
    void compute(const Declaration& doc, ReturnComputation& root);

    friend bool operator==(const Appendix5Sheet&, const Appendix5Sheet&) = default;
};

} // namespace kv
