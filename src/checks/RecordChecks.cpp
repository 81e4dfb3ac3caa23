#include "checks/RecordChecks.h"

#include "checks/IdentifierChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "model/IncomeCodes.h"

#include <algorithm>
#include <array>

namespace kv {

bool issuedFromFourteen(std::int32_t documentCode) {
    return documentCode == 7 || documentCode == 8 || documentCode == 21 || documentCode == 24;
}

bool issuedAtFourteenOrLater(DateValue birth, DateValue issued) {
    const YearMonthDay b = birth.ymd();
    const int day = (b.month == 2 && b.day == 29) ? 28 : b.day;
    // A year beyond the calendar cannot be reached by any issue date.
    const auto fourteenth = DateValue::fromYmd(b.year + 14, b.month, day);
    return fourteenth.has_value() && !(issued < *fourteenth);
}

std::vector<RecordFault> conditionsFaults(const Declaration& d) {
    static const Cp1251Text noInspection = Cp1251Text::fromUtf8("Не введен номер инспекции");
    static const Cp1251Text inspectionFormat =
        Cp1251Text::fromUtf8("Код инспекции должен состоять из четырёх цифр");
    static const Cp1251Text noName = Cp1251Text::fromUtf8("Не указаны ФИО подписанта-представителя");
    static const Cp1251Text noDocument =
        Cp1251Text::fromUtf8("Не указан документ, подтверждающий полномочия представителя");
    static const Cp1251Text noOrganisation =
        Cp1251Text::fromUtf8("Не указано наименование Юр.лица-представителя");

    std::vector<RecordFault> faults;
    if (d.inspectionCode.empty())
        faults.push_back({&noInspection, InitialInspection});
    else if (!inspectionCodeValid(d.inspectionCode))
        // The code names the exported file and the office receiving it.
        faults.push_back({&inspectionFormat, InitialInspection});
    if (d.byRepresentative() && trimText(d.representativeName).empty())
        faults.push_back({&noName, InitialRepresentativeName});
    if (d.byRepresentative() && trimText(d.representativeDocument).empty())
        faults.push_back({&noDocument, InitialRepresentativeDocument});
    if (d.submitter() == SubmitterKind::RepresentativeOrganisation &&
        trimText(d.representativeOrganisation).empty())
        faults.push_back({&noOrganisation, InitialRepresentativeOrganisation});
    return faults;
}

EmptyInn emptyInnOnReturn(const Declaration& d) {
    if (d.kind() == ReturnKind::Estimated)
        return EmptyInn::Missing;
    const bool required = d.has(IncomeKind::Business) || d.category() == TaxpayerCategory::Entrepreneur ||
                          d.category() == TaxpayerCategory::FarmHead;
    return required ? EmptyInn::NeededForBusiness : EmptyInn::Passes;
}

std::vector<RecordFault> taxpayerFaults(const Taxpayer& p, EmptyInn emptyInn) {
    static const Cp1251Text noSurname = Cp1251Text::fromUtf8("Не введена фамилия");
    static const Cp1251Text noFirstName = Cp1251Text::fromUtf8("Не введено имя");
    static const Cp1251Text innLength = Cp1251Text::fromUtf8("Длина ИНН должна быть равна 12 цифрам");
    static const Cp1251Text innInvalid = Cp1251Text::fromUtf8("Номер ИНН введен неверно");
    static const Cp1251Text noInn = Cp1251Text::fromUtf8("Не указан ИНН");
    static const Cp1251Text businessNeedsInn = Cp1251Text::fromUtf8(
        "Лицам имеющим доходы от предпринимательской деятельности необходимо ввести ИНН");
    static const Cp1251Text noBirthPlace = Cp1251Text::fromUtf8("Не указано место рождения");
    static const Cp1251Text noIdentityDoc =
        Cp1251Text::fromUtf8("Не указан документ, удостоверяющий личность");
    static const Cp1251Text noIdentityNumber =
        Cp1251Text::fromUtf8("Не указаны серия и номер документа, удостоверяющего личность");
    static const Cp1251Text issuedBeforeBirth =
        Cp1251Text::fromUtf8("Дата выдачи документа не может быть меньше даты рождения");
    static const Cp1251Text issuedBefore14 =
        Cp1251Text::fromUtf8("Дата выдачи документа должна быть больше даты рождения как минимум на 14 лет");
    static const Cp1251Text noIssuer =
        Cp1251Text::fromUtf8("Не указано, кем выдан документ, удостоверяющий личность");

    std::vector<RecordFault> faults;
    const auto fault = [&faults](const Cp1251Text& message, std::uint16_t code) {
        faults.push_back({&message, code});
    };
    if (p.surname.empty())
        fault(noSurname, PersonSurname);
    if (p.firstName.empty())
        fault(noFirstName, PersonFirstName);
    const InnResult inn = checkInn(p.inn, InnKind::Individual);
    if (inn == InnResult::NotTwelve)
        fault(innLength, PersonInn);
    else if (inn == InnResult::Invalid)
        fault(innInvalid, PersonInn);
    else if (inn == InnResult::Empty && emptyInn != EmptyInn::Passes)
        fault(emptyInn == EmptyInn::Missing ? noInn : businessNeedsInn, PersonInn);
    // Without a valid INN the taxpayer is identified by birth place and document.
    if (inn != InnResult::Valid && trimText(p.birthPlace).empty())
        fault(noBirthPlace, PersonBirthPlace);
    if (inn != InnResult::Valid && p.identityDocCode == 0)
        fault(noIdentityDoc, PersonDocumentKind);
    if (p.identityDocCode != 0) {
        if (p.identityDocNumber.empty())
            fault(noIdentityNumber, PersonDocumentNumber);
        if (p.identityDocDate < p.birthDate)
            fault(issuedBeforeBirth, PersonDocumentDate);
        else if (issuedFromFourteen(p.identityDocCode) &&
                 !issuedAtFourteenOrLater(p.birthDate, p.identityDocDate))
            fault(issuedBefore14, PersonDocumentDate);
        if (p.identityDocIssuer.empty())
            fault(noIssuer, PersonDocumentIssuer);
    }
    return faults;
}

const Cp1251Text* withheldOverIncome(const ThirteenPercentSource& source) {
    static const Cp1251Text m =
        Cp1251Text::fromUtf8("По данному источнику выплаты общая сумма дохода меньше удержанной суммы");
    return source.totalIncome < source.taxWithheld ? &m : nullptr;
}

const Cp1251Text* agentDeductionsOverIncome(const ThirteenPercentSource& source, ReturnKind kind) {
    static const Cp1251Text m =
        Cp1251Text::fromUtf8("По данному источнику выплаты общая сумма дохода меньше суммы предоставленных "
                             "стандартных, социальных и имущественных вычетов");
    if (kind != ReturnKind::Resident)
        return nullptr;
    Money deductions;
    for (const AgentDeductionItem& a : source.agentDeductions)
        deductions += a.amount;
    return deductions > source.totalIncome ? &m : nullptr;
}

namespace {

// Expense codes of operations with securities, derivatives and partnerships.
constexpr std::array<std::int32_t, 35> kSecuritiesExpenses = {
    201, 202, 203, 206, 207, 211, 213, 215, 218, 219, 220, 225, 226, 227, 228, 229, 230, 231,
    232, 233, 234, 235, 620, 802, 805, 809, 811, 813, 814, 817, 820, 824, 826, 828, 829};

} // namespace

bool deductionMayExceedIncome(std::int32_t incomeCode, std::int32_t deductionCode) {
    return isSecuritiesIncomeCode(incomeCode) &&
           std::find(kSecuritiesExpenses.begin(), kSecuritiesExpenses.end(), deductionCode) !=
               kSecuritiesExpenses.end();
}

bool deductionExceedsIncome(const ThirteenIncomeItem& item) {
    return item.deductionAmount > item.amount &&
           !deductionMayExceedIncome(item.incomeCode, item.deductionCode);
}

const Cp1251Text& deductionOverIncomeMessage() {
    static const Cp1251Text m = Cp1251Text::fromUtf8("Сумма вычета превышает сумму дохода");
    return m;
}

namespace {

// The first fault of an identifier the payer holds. A missing name is no
// identifier; a missing OKTMO is left to the rule of the lines of Section 1, which
// knows whether any tax goes through the payer; a missing INN or KPP leaves the
// file without one, not with a wrong one.
const Cp1251Text* identifierFault(const std::vector<PayerFault>& faults, const Cp1251Text& inn,
                                  const Cp1251Text& kpp, const Cp1251Text& oktmo) {
    const auto missing = [&](PayerField field) {
        switch (field) {
        case PayerField::Inn:
            return trimText(inn).empty();
        case PayerField::Kpp:
            return trimText(kpp).empty();
        case PayerField::Oktmo:
            return trimText(oktmo).empty();
        case PayerField::Name:
        case PayerField::Accept:
            break;
        }
        return true;
    };
    for (const PayerFault& f : faults) {
        if (!f.mayBeSkipped && !missing(f.field))
            return f.message;
    }
    return nullptr;
}

} // namespace

const Cp1251Text* payerFault(const IncomeSource& s) {
    return identifierFault(payerFaults(s.sourceName, true, s.sourceOktmo, s.sourceKpp, s.sourceInn),
                           s.sourceInn, s.sourceKpp, s.sourceOktmo);
}

const Cp1251Text* organisationPayerFault(const IncomeSource& s) {
    return identifierFault(organisationPayerFaults(s.sourceName, s.sourceOktmo, s.sourceKpp, s.sourceInn),
                           s.sourceInn, s.sourceKpp, s.sourceOktmo);
}

const Cp1251Text* pensionContractPayerFault(const PensionContract& c) {
    // The contract carries no OKTMO; one of a valid length lets that step pass.
    static const Cp1251Text anyOktmo{"00000000"};
    if (c.contractKind == PensionContract::kFundedPensionContributions)
        return nullptr;
    return identifierFault(
        organisationPayerFaults(c.organisationName, anyOktmo, c.organisationKpp, c.organisationInn),
        c.organisationInn, c.organisationKpp, anyOktmo);
}

const Cp1251Text* foreignCountryMissing(const ForeignIncome& e) {
    static const Cp1251Text m = Cp1251Text::fromUtf8("Не выбран код страны");
    return trimText(e.countryCode).empty() ? &m : nullptr;
}

const Cp1251Text* foreignCurrencyMissing(const ForeignIncome& e) {
    static const Cp1251Text m = Cp1251Text::fromUtf8("По данному источнику выплаты не указан код валюты");
    return e.currencyCode.empty() ? &m : nullptr;
}

const Cp1251Text* foreignRateMissing(const ForeignIncome& e) {
    static const Cp1251Text m = Cp1251Text::fromUtf8("По данному источнику выплаты не указан курс валюты");
    return e.incomeDateUnits == 0 || e.incomeDateRate.isZero() ? &m : nullptr;
}

const Cp1251Text* foreignIncomeCodeMissing(const ForeignIncome& e) {
    static const Cp1251Text m = Cp1251Text::fromUtf8("По данному источнику выплаты не указан код дохода");
    return e.incomeCode == 0 ? &m : nullptr;
}

const Cp1251Text* foreignCfcFault(const ForeignIncome& e) {
    static const Cp1251Text noNumber =
        Cp1251Text::fromUtf8("По данному источнику необходимо указать номер КИК");
    static const Cp1251Text badNumber = Cp1251Text::fromUtf8(
        "По данному источнику номер КИК указан некорректно (состоит из двух букв и пяти цифр)");
    static const Cp1251Text noMethod =
        Cp1251Text::fromUtf8("По данному источнику не указан порядок определения прибыли КИК");
    if (e.incomeCode != 1000)
        return nullptr;
    if (e.cfcNumber.empty())
        return &noNumber;
    if (e.cfcNumber.size() != 8)
        return &badNumber;
    return e.cfcProfitMethod == 0 ? &noMethod : nullptr;
}

const Cp1251Text* foreignDeductionAmountMissing(const ForeignIncome& e) {
    static const Cp1251Text m = Cp1251Text::fromUtf8("По данному источнику выплаты не указана сумма вычета");
    return e.deductionCode != 0 && !isSecuritiesIncomeCode(e.incomeCode) && e.deductionAmount.isZero()
               ? &m
               : nullptr;
}

const Cp1251Text* foreignTaxRateMissing(const ForeignIncome& e) {
    static const Cp1251Text m =
        Cp1251Text::fromUtf8("По данному источнику выплаты не указан курс валюты на дату уплаты налога");
    const bool taxPaid = !e.taxInCurrency.isZero() || !e.taxInRubles.isZero();
    return taxPaid && (e.taxDateUnits == 0 || e.taxDateRate.isZero()) ? &m : nullptr;
}

namespace {
constexpr int kTaxYear = 2019; // the year whose incomes the return declares
} // namespace

const Cp1251Text* foreignIncomeDateOutsideYear(const ForeignIncome& e) {
    static const Cp1251Text m =
        Cp1251Text::fromUtf8("По данному источнику выплаты дата получения дохода должна быть в 2019 году");
    return e.incomeDate.year() != kTaxYear ? &m : nullptr;
}

bool choosesExpenses(const BusinessActivity& a) {
    return a.activityKind == "1" || a.activityKind == "5";
}

const BusinessActivity* firstExpenseChoice(const IncomeList<BusinessActivity>& activities) {
    for (const BusinessActivity& a : activities)
        if (choosesExpenses(a))
            return &a;
    return nullptr;
}

bool expenseChoiceDiffers(const BusinessActivity& a, const BusinessActivity* first) {
    return first != nullptr && choosesExpenses(a) &&
           (a.hasDocumentedExpenses != 0) != (first->hasDocumentedExpenses != 0);
}

bool okvedTooShort(const BusinessActivity& a) {
    return a.activityKind == "1" && trimText(a.okvedCode).size() < 4;
}

Money documentedExpenseParts(const BusinessActivity& a) {
    return a.depreciation + a.materialExpenses + a.labourExpenses + a.otherExpenses;
}

bool documentedPartsExceedTotal(const BusinessActivity& a) {
    return a.hasDocumentedExpenses != 0 && documentedExpenseParts(a) > a.totalExpenses;
}

const Cp1251Text& mixedExpensesMessage() {
    static const Cp1251Text m = Cp1251Text::fromUtf8(
        "Нельзя одновременно пользоваться и подтвержденными расходами и нормативом 20%.");
    return m;
}

const Cp1251Text& okvedLengthMessage() {
    static const Cp1251Text m =
        Cp1251Text::fromUtf8("Длина кода ОКВЭД должна быть не меньше 4 знаков вклячая точку");
    return m;
}

Cp1251Text expensesOverTotalMessage(Money total, Money parts) {
    static const Cp1251Text before = Cp1251Text::fromUtf8("Общие расходы (");
    static const Cp1251Text middle = Cp1251Text::fromUtf8(
        ") меньше суммы расходов материальных, на оплату труда, прочих и амортизационных отчислений (");
    return before + Cp1251Text::fromBytes(moneyText(total, ',')) + middle +
           Cp1251Text::fromBytes(moneyText(parts, ',')) + ")";
}

Cp1251Text expensesMismatchMessage(Money total, Money parts) {
    static const Cp1251Text before = Cp1251Text::fromUtf8("Общие расходы (");
    static const Cp1251Text middle = Cp1251Text::fromUtf8(
        ") не совпадают с суммой расходов материальных, на оплату труда, прочих и амортизационных "
        "отчислений (");
    return before + Cp1251Text::fromBytes(moneyText(total, ',')) + middle +
           Cp1251Text::fromBytes(moneyText(parts, ',')) + ")";
}

bool socialDeductionsMissing(const SocialDeduction& s) {
    return s.granted != 0 && s.charity.isZero() && s.charity30.isZero() && s.ownEducation.isZero() &&
           s.medical.isZero() && s.medicines.isZero() && s.expensiveMedical.isZero() &&
           s.voluntaryInsurance.isZero() && s.qualificationAssessment.isZero() && s.childEducation.empty() &&
           s.pensionContracts.empty();
}

const Cp1251Text& socialDeductionsMissingMessage() {
    static const Cp1251Text m = Cp1251Text::fromUtf8("Не введены данные по социальным налоговым вычетам");
    return m;
}

} // namespace kv
