#include "ExampleReturns.h"

#include "core/Text.h"

#include <stdexcept>

namespace kv::examples {

namespace {

Cp1251Text u(std::string_view utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

DateValue date(int year, int month, int day) {
    auto d = DateValue::fromYmd(year, month, day);
    if (!d)
        throw std::invalid_argument("no such day");
    return *d;
}

Money rub(std::int64_t roubles) {
    return Money::fromRoubles(roubles);
}
// Roubles and kopecks: rub(1234, 56) is 1234.56.
Money rub(std::int64_t roubles, std::int64_t kopecks) {
    return Money::fromRaw(roubles * Money::kScale + kopecks * 100);
}

void fillTaxOffice(Declaration& d) {
    d.inspectionCode = "7701";
    d.inspectionName = u("Инспекция Федеральной налоговой службы № 1 по г.Москве");
}

void fillTaxpayer(Taxpayer& p) {
    p.surname = u("Соколов");
    p.firstName = u("Андрей");
    p.patronymic = u("Викторович");
    p.inn = "770123456703";
    p.identityDocCode = 21;
    p.identityDocName = u("Паспорт гражданина Российской Федерации");
    p.identityDocNumber = "45 09 123456";
    p.identityDocDate = date(2009, 5, 14);
    p.birthDate = date(1985, 4, 12);
    p.identityDocIssuer = u("ОВД района Хамовники г. Москвы");
    p.birthPlace = u("г. Москва");
    p.citizenshipStatus = "1";
    p.oktmo = "45379000";
    p.contactPhone = "+7 495 123-45-67";
}

ThirteenIncomeItem salary(int month, Money amount) {
    ThirteenIncomeItem item;
    item.incomeCode = 2000;
    item.incomeName = u("Вознаграждение за выполнение трудовых или иных обязанностей");
    item.amount = amount;
    item.month = static_cast<std::int16_t>(month);
    return item;
}

Declaration newDeclaration() {
    Declaration d(exampleClock());
    // What the shell does for a new return.
    d.setIncomeFlags(Declaration::kAgentIncomes);
    d.sheetCountAutomatic = 1;
    return d;
}

} // namespace

const Clock& exampleClock() {
    static const FixedClock clock(date(2020, 3, 15));
    return clock;
}

Declaration newReturn() {
    return newDeclaration();
}

Declaration typicalReturn() {
    Declaration d = newDeclaration();
    fillTaxOffice(d);
    fillTaxpayer(d.person);

    auto& employer = d.incomes13.get(d.incomes13.add());
    employer.sourceInn = "7701234560";
    employer.sourceKpp = "770101001";
    employer.sourceOktmo = "45379000";
    employer.sourceName = u("ООО \"Северный ветер\"");
    employer.isPrimaryWorkplace = 1;
    for (int month = 1; month <= 12; ++month)
        employer.addItem(salary(month, rub(80000)));
    employer.taxWithheld = rub(124800);

    auto& property = d.propertyDeductions;
    property.granted = 1;
    HousingObject flat;
    flat.objectKind = 2; // flat
    flat.numberKind = 1; // cadastral number
    flat.objectNumber = "77:07:0009001:1342";
    flat.objectAddress = u("г. Москва, ул. Удальцова, д. 3, кв. 57");
    flat.taxpayerSign = 1; // owner
    flat.rightRegistrationDate = date(2019, 6, 20);
    flat.shareNumerator = 1; // sole owner: the whole flat, as the property screen records it
    flat.shareDenominator = 1;
    flat.objectCost = rub(3500000);
    property.objects.add(flat);
    return d;
}

Declaration allRecordsReturn() {
    Declaration d(exampleClock());
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                     Declaration::kBusinessIncomes | Declaration::kPartnershipIncomes);
    fillTaxOffice(d);
    d.correctionNumber = 1;
    d.submitterKind = 1;
    d.taxpayerCategory = 0;
    d.setSupportingSheets(4);
    d.foreignAppendixSheets = 2;
    d.reservedInt1 = 7;
    d.reservedInt8 = 8;
    d.representativeDocument = u("Доверенность № 77АБ 1234567 от 10.01.2020");
    d.representativeName = u("Петрова Мария Сергеевна");
    d.estimatedIncome = rub(500000);
    d.foreignerFixedAdvance = rub(12000);
    d.actualAdvancePayments = rub(15000);
    d.isFarmHousehold = 1;
    d.farmFoundingDate = date(2015, 1, 1);
    d.adjustedBase = rub(10500, 50);
    d.adjustedTax = rub(1365);
    d.patentPayments = rub(3600);
    d.tradeFee = rub(8100);
    fillTaxpayer(d.person);

    // Resident source with a sale of property, agent deductions and kept reserved sums.
    auto& source = d.incomes13.get(d.incomes13.add());
    source.sourceInn = "7715012342";
    source.sourceKpp = "771501001";
    source.sourceOktmo = "45362000";
    source.sourceName = u("АО \"Орбита\"");
    source.isPrimaryWorkplace = 1;
    source.addItem(salary(1, rub(65000)));
    ThirteenIncomeItem royalty;
    royalty.incomeCode = 2201;
    royalty.incomeName = u("Авторские вознаграждения");
    royalty.amount = rub(40000);
    royalty.deductionCode = 404;
    royalty.deductionPercent = 20;
    royalty.deductionAmount = rub(8000);
    royalty.month = 5;
    source.addItem(royalty);
    ThirteenIncomeItem sale;
    sale.incomeCode = 1510;
    sale.incomeName = u("Доходы от продажи недвижимого имущества");
    sale.amount = rub(2100000);
    sale.month = 9;
    sale.hasCadastralData = 1;
    sale.cadastralNumber = Cp1251Text{"50:21:0110101:77"};
    sale.cadastralValue = rub(2450000, 15);
    sale.contractPrice = rub(2100000);
    source.addItem(sale);
    source.addAgentDeduction({126, rub(1400)});
    source.addAgentDeduction({311, rub(90000)});
    source.setReservedSum(0, rub(100));
    source.setReservedSum(11, Money{});
    source.taxWithheld = rub(28275);
    source.taxableIncome = rub(2106600);
    source.computedTax = rub(273858);

    auto& nonResident = d.incomes13NonResident.get(d.incomes13NonResident.add());
    nonResident.sourceInn = "7709876545";
    nonResident.sourceKpp = "770901001";
    nonResident.sourceOktmo = "45375000";
    nonResident.sourceName = u("ООО \"Гранд\"");
    nonResident.addItem(salary(3, rub(30000, 1)));
    nonResident.taxWithheld = rub(3900);

    auto& prize = d.incomes35.get(d.incomes35.add());
    prize.incomeCode = 2740;
    prize.sourceInn = "7728012340";
    prize.sourceKpp = "772801001";
    prize.sourceOktmo = "45397000";
    prize.sourceName = u("ООО \"Лотос\"");
    prize.totalIncome = rub(20000);
    prize.deductionCode = 501;
    prize.deductionAmount = rub(4000);
    prize.taxWithheld = rub(5600);

    auto& dividends = d.incomes30.get(d.incomes30.add());
    dividends.incomeCode = 1010;
    dividends.sourceInn = "7809990019";
    dividends.sourceKpp = "780901001";
    dividends.sourceOktmo = "40911000";
    dividends.sourceName = u("АО \"Меридиан\"");
    dividends.totalIncome = rub(10000);
    dividends.taxCalculated = rub(1300);
    dividends.taxableAmount = rub(10000);
    dividends.taxWithheld = rub(1300);

    auto& nine = d.incomes9.get(d.incomes9.add());
    nine.incomeCode = 1011;
    nine.sourceInn = "5034012349";
    nine.sourceKpp = "503401001";
    nine.sourceOktmo = "46757000";
    nine.sourceName = u("ООО \"Ипотечный агент\"");
    nine.totalIncome = rub(5000);
    nine.taxCalculated = rub(450);
    nine.taxableAmount = rub(5000);
    nine.taxWithheld = rub(450);

    auto& foreign = d.foreignIncomes.get(d.foreignIncomes.add());
    foreign.incomeRate = 13;
    foreign.incomeCode = 1015;
    foreign.incomeName = u("Прибыль контролируемой иностранной компании");
    foreign.sourceName = "Blue Harbour Ltd";
    foreign.countryCode = "196";
    foreign.incomeDate = date(2019, 12, 31);
    foreign.taxPaymentDate = date(2019, 12, 31);
    foreign.currencyCode = "840";
    foreign.currencyName = u("Доллар США");
    foreign.incomeDateRate = Money::fromRaw(619057);
    foreign.incomeDateUnits = 1;
    foreign.taxDateRate = Money::fromRaw(619057);
    foreign.taxDateUnits = 1;
    foreign.setIncomeInCurrency(rub(1000));
    foreign.setTaxInCurrency(rub(125));
    foreign.autoRate = 1;
    foreign.deductionCode = 0;
    foreign.cfcProfitMethod = 1;
    foreign.cfcNumber = "KC00012";
    foreign.cfcTaxWithheldInRussia = rub(150);

    auto& trade = d.businessIncomes.get(d.businessIncomes.add());
    trade.activityKind = "1";
    trade.okvedCode = "47.91";
    trade.incomeAmount = rub(750000);
    trade.totalExpenses = rub(400000);
    trade.materialExpenses = rub(250000);
    trade.depreciation = rub(30000);
    trade.labourExpenses = rub(100000);
    trade.otherExpenses = rub(20000);
    auto& lawyer = d.businessIncomes.get(d.businessIncomes.add());
    lawyer.activityKind = "3";
    lawyer.hasDocumentedExpenses = 0;
    lawyer.incomeAmount = rub(200000);
    lawyer.standardExpenses = rub(40000);

    auto& partnership = d.investPartnerships.get(d.investPartnerships.add());
    partnership.sourceInn = "7709990030";
    partnership.sourceName = u("Инвестиционное товарищество \"Вектор\"");
    PartnershipIncomeItem line;
    line.operationKind = 2;
    line.incomeAmount = rub(90000);
    line.expenseShare = rub(15000);
    line.managerExpenses = rub(5000);
    line.priorYearsLoss = rub(1000);
    line.contributions = rub(700);
    partnership.addItem(line);
    partnership.taxWithheld = rub(0);
    partnership.taxableAmount = rub(69000);
    partnership.taxCalculated = rub(8970);

    auto& standard = d.standardDeductions;
    standard.granted = 1;
    standard.selfCode = 110;
    standard.childStatus = 103;
    for (int month = 0; month < 12; ++month)
        standard.setChildrenInMonth(month, month < 4 ? 1 : 2); // a second child born in May
    standard.setDisabledCount(1);
    standard.setThirdPlusInMonth(11, 1);
    standard.monthlyBusinessSet = 1;
    standard.monthlyBusinessIncome[0] = rub(60000);
    standard.monthlyBusinessExpense[0] = rub(25000, 50);
    standard.monthlyMarks[0] = 1;
    standard.monthlySelfCodesSet = 1;
    standard.monthlySelfCodes = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2};
    standard.monthlyChildStatusSet = 1;
    standard.monthlyChildStatus = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    standard.isGuardian = 1;

    auto& social = d.socialDeductions;
    social.granted = 1;
    social.charity = rub(5000);
    social.charity30 = rub(1000);
    social.ownEducation = rub(45000);
    social.childEducation.add(rub(60000));
    social.childEducation.add(rub(30000));
    social.medical = rub(12500, 40);
    social.medicines = rub(3200);
    social.expensiveMedical = rub(150000);
    social.voluntaryInsurance = rub(18000);
    social.reservedSum1 = rub(1);
    social.reservedSum2 = rub(2);
    social.qualificationAssessment = rub(6000);
    PensionContract fund;
    fund.contractKind = 1;
    fund.organisationName = u("АО \"НПФ Тихая гавань\"");
    fund.organisationInn = "7709990047";
    fund.organisationKpp = "770401001";
    fund.contractNumber = "12-345/2018";
    fund.contractDate = date(2018, 2, 1);
    fund.contribution = rub(24000);
    social.pensionContracts.add(fund);
    PensionContract extra;
    extra.contractKind = 4;
    extra.organisationName = u("Пенсионный фонд Российской Федерации");
    extra.contractNumber = "077-001-123456";
    extra.contractDate = date(2016, 11, 3);
    extra.contribution = rub(12000);
    social.pensionContracts.add(extra);

    auto& property = d.propertyDeductions;
    property.granted = 1;
    property.reservedSum1 = rub(3);
    property.reservedSum2 = rub(4);
    property.priorYearsDeduction = rub(120000);
    property.priorYearsInterestDeduction = rub(35000);
    HousingObject house;
    house.objectKind = 7; // house with its land plot
    house.houseAcquisitionMethod = 1;
    house.numberKind = 1;
    house.objectNumber = "50:20:0041002:1105";
    house.objectAddress = u("Московская обл., Одинцовский р-н, д. Сосновка, ул. Лесная, д. 8");
    house.taxpayerSign = 3;
    house.rightRegistrationDate = date(2018, 10, 2);
    house.landRegistrationDate = date(2017, 3, 30);
    house.shareNumerator = 1;
    house.shareDenominator = 2;
    house.objectCost = rub(5200000);
    house.mortgageInterest = rub(410000, 75);
    house.isPensioner = 1;
    property.objects.add(house);
    HousingObject share;
    share.objectKind = 4;
    share.numberKind = 4;
    share.objectAddress = u("г. Москва, ул. Лобачевского, д. 12, кв. 4");
    share.taxpayerSign = 2;
    share.transferActDate = date(2014, 7, 15);
    share.byInvestmentContract = 1;
    share.shareNumerator = 1;
    share.shareDenominator = 3;
    share.objectCost = rub(1900000);
    property.objects.add(share);

    auto& losses = d.securitiesLosses;
    losses.granted = 1;
    losses.securitiesLoss = rub(10000);
    losses.derivativesLoss = rub(20000);
    losses.partnershipLoss = rub(30000);
    losses.securitiesLossIis = rub(1000);
    losses.derivativesLossIis = rub(2000);
    losses.partnershipLossIis = rub(3000);

    auto& investment = d.investmentDeductions;
    investment.granted = 1;
    investment.invSecurities = rub(150000);
    investment.invPartnership = rub(50000);
    investment.invIisContributions = rub(400000);
    investment.invRefundable = rub(52000);
    investment.applyP3 = 1;
    return d;
}

std::vector<Example> allExamples() {
    std::vector<Example> list;
    list.push_back({"new-return.qv9", newReturn()});
    list.push_back({"typical.qv9", typicalReturn()});
    list.push_back({"all-records.qv9", allRecordsReturn()});
    return list;
}

std::vector<std::string> writeExamples(const std::string& folder) {
    std::vector<std::string> written;
    for (const auto& example : allExamples()) {
        const std::string path = folder + "/" + example.fileName;
        example.declaration.saveToFile(path);
        written.push_back(path);
    }
    return written;
}

} // namespace kv::examples
