#include "ReturnGenerator.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace kv::bench {

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

Money rub(std::int64_t roubles, std::int64_t kopecks = 0) {
    return Money::fromRaw(roubles * Money::kScale + kopecks * 100);
}

// Digits of a given width from a number, so every source has its own INN and OKTMO.
std::string digits(long long value, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, value);
    return std::string(buf).substr(0, static_cast<std::size_t>(width));
}

// An organisation's INN from its first nine digits, with the check digit that
// makes it valid, so that the generated payers pass the payer checks.
std::string organisationInn(const std::string& nine) {
    static constexpr int weights[] = {2, 4, 10, 3, 5, 9, 4, 6, 8};
    int sum = 0;
    for (std::size_t k = 0; k < 9; ++k)
        sum += (nine[k] - '0') * weights[k];
    return nine + static_cast<char>('0' + sum % 11 % 10);
}

// One in every `per` entries, at least one.
int perCount(int sources, int per) {
    return std::max(1, sources / per);
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
    p.citizenshipStatus =
        Cp1251Text::fromBytes(std::string(1, '1')); // not = "1": GCC 12 at -O3 warns falsely on it
    p.addressCity = u("Москва");
    p.addressStreet = u("ул. Удальцова");
    p.addressHouse = Cp1251Text::fromBytes(std::string(1, '3'));
    p.addressFlat = "57";
    p.oktmo = "45379000";
    p.contactPhone = "+7 495 123-45-67";
}

ThirteenIncomeItem incomeLine(int source, int line) {
    ThirteenIncomeItem item;
    item.month = static_cast<std::int16_t>(line % 12 + 1);
    item.amount = rub(40000 + (source * 37 + line * 11) % 20000, (source + line) % 100);
    if (line % 12 == 11) {
        // Royalties with their cost deduction, as a source paying more than salary has.
        item.incomeCode = 2201;
        item.incomeName = u("Авторские вознаграждения");
        item.deductionCode = 404;
        item.deductionPercent = 20;
        item.deductionAmount = Money::fromRaw(item.amount.raw / 5);
    } else {
        item.incomeCode = 2000;
        item.incomeName = u("Вознаграждение за выполнение трудовых или иных обязанностей");
    }
    return item;
}

void addThirteenSource(Declaration& d, int i, int lines) {
    auto& s = d.incomes13.get(d.incomes13.add());
    s.sourceInn = Cp1251Text::fromBytes(organisationInn("77" + digits(1000000LL + i * 7919LL, 7)));
    s.sourceKpp = Cp1251Text::fromBytes("7701" + digits(i, 5));
    s.sourceOktmo = Cp1251Text::fromBytes("45" + digits(300000 + i * 13, 6));
    s.sourceName = u("ООО \"Северный ветер ") + Cp1251Text::number(i) + "\"";
    s.isPrimaryWorkplace = i == 0 ? 1 : 0;
    for (int j = 0; j < lines; ++j)
        s.addItem(incomeLine(i, j));
    s.addAgentDeduction({126, rub(1400)});
    s.taxWithheld = Money::fromRoubles((s.totalIncome.raw / Money::kScale) * 13 / 100);
}

void addForeignIncome(Declaration& d, int i) {
    auto& f = d.foreignIncomes.get(d.foreignIncomes.add());
    const bool dividend = i % 3 == 2;
    f.incomeRate = dividend ? 14 : 13; // dividends at 13% are marked with the rate + 1
    f.incomeCode = dividend ? 1010 : 2000;
    f.incomeName = dividend ? u("Дивиденды") : u("Вознаграждение за выполнение трудовых обязанностей");
    f.sourceName = Cp1251Text::fromBytes("Blue Harbour Ltd " + std::to_string(i));
    f.countryCode = i % 2 == 0 ? Cp1251Text{"196"} : Cp1251Text{"276"};
    f.incomeDate = date(2019, i % 12 + 1, 15);
    f.taxPaymentDate = date(2019, i % 12 + 1, 20);
    f.currencyCode = i % 2 == 0 ? Cp1251Text{"840"} : Cp1251Text{"978"};
    f.currencyName = i % 2 == 0 ? u("Доллар США") : u("Евро");
    f.incomeDateRate = Money::fromRaw(619057 + i);
    f.incomeDateUnits = 1;
    f.taxDateRate = Money::fromRaw(620011 + i);
    f.taxDateUnits = 1;
    f.setIncomeInCurrency(rub(1000 + i % 500));
    f.setTaxInCurrency(rub(100 + i % 50));
    f.autoRate = 1;
}

void addDividendSource(Declaration& d, int i) {
    auto& s = d.incomes30.get(d.incomes30.add());
    s.incomeCode = 1010;
    s.sourceInn = Cp1251Text::fromBytes(organisationInn("78" + digits(2000000LL + i * 104729LL, 7)));
    s.sourceKpp = Cp1251Text::fromBytes("7801" + digits(i, 5));
    s.sourceOktmo = Cp1251Text::fromBytes("40" + digits(900000 + i, 6));
    s.sourceName = u("АО \"Меридиан ") + Cp1251Text::number(i) + "\"";
    s.totalIncome = rub(10000 + i);
    s.taxableAmount = s.totalIncome;
    s.taxCalculated = Money::fromRoubles((10000 + i) * 13 / 100);
    s.taxWithheld = s.taxCalculated;
}

void fillDeductions(Declaration& d, int sources) {
    auto& standard = d.standardDeductions;
    standard.granted = 1;
    standard.setChildrenCount(2);

    auto& social = d.socialDeductions;
    social.granted = 1;
    social.medical = rub(12500, 40);
    social.ownEducation = rub(45000);
    const int perTen = perCount(sources, 10);
    for (int i = 0; i < perTen; ++i) {
        social.childEducation.add(rub(20000 + i));
        PensionContract fund;
        fund.contractKind = 1 + i % 3;
        fund.organisationName = u("АО \"НПФ Тихая гавань ") + Cp1251Text::number(i) + "\"";
        fund.organisationInn = Cp1251Text::fromBytes(organisationInn("7709" + digits(99004 + i, 5)));
        fund.organisationKpp = "770401001";
        fund.contractNumber = Cp1251Text::fromBytes("12-" + std::to_string(345 + i) + "/2018");
        fund.contractDate = date(2018, 2, 1);
        fund.contribution = rub(2400 + i);
        social.pensionContracts.add(fund);
    }

    auto& property = d.propertyDeductions;
    property.granted = 1;
    const int objects = perCount(sources, 100);
    for (int i = 0; i < objects; ++i) {
        HousingObject flat;
        flat.objectKind = 2; // flat
        flat.numberKind = 1; // cadastral number
        flat.objectNumber = Cp1251Text::fromBytes("77:07:0009001:" + std::to_string(1342 + i));
        flat.objectAddress = u("г. Москва, ул. Удальцова, д. 3, кв. ") + Cp1251Text::number(57 + i);
        flat.taxpayerSign = 1;
        flat.houseAcquisitionMethod = 2;
        flat.rightRegistrationDate = date(2019, 6, 20);
        flat.shareNumerator = 1;
        flat.shareDenominator = 1;
        flat.objectCost = rub(3500000 / objects);
        flat.mortgageInterest = rub(120000 / objects);
        property.objects.add(flat);
    }
}

} // namespace

const std::vector<ReturnShape>& standardShapes() {
    static const std::vector<ReturnShape> shapes = {
        {"10x12", 10, 12}, {"100x12", 100, 12}, {"1000x12", 1000, 12}, {"1000x100", 1000, 100}};
    return shapes;
}

ReturnShape shapeNamed(const std::string& name) {
    for (const ReturnShape& s : standardShapes())
        if (s.name == name)
            return s;
    int sources = 0;
    int lines = 0;
    char tail = 0;
    if (std::sscanf(name.c_str(), "%dx%d%c", &sources, &lines, &tail) != 2 || sources < 1 ||
        sources > kMaxListItems || lines < 1 || lines > kMaxListItems)
        throw std::invalid_argument("a return size is <sources>x<lines>, each 1..1000: " + name);
    return {name, sources, lines};
}

const Clock& generatorClock() {
    static const FixedClock clock(date(2020, 3, 15));
    return clock;
}

Declaration makeReturn(const ReturnShape& shape) {
    Declaration d(generatorClock());
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    d.sheetCountAutomatic = 1;
    d.inspectionCode = "7701";
    d.inspectionName = u("Инспекция Федеральной налоговой службы № 1 по г.Москве");
    fillTaxpayer(d.person);

    for (int i = 0; i < shape.sources; ++i)
        addThirteenSource(d, i, shape.linesPerSource);
    const int perTen = perCount(shape.sources, 10);
    for (int i = 0; i < perTen; ++i) {
        addForeignIncome(d, i);
        addDividendSource(d, i);
    }
    fillDeductions(d, shape.sources);
    return d;
}

} // namespace kv::bench
