#include "screens/rules/PropertyRules.h"

#include "core/Text.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

bool datesFrom(const HousingObject& o, int year) {
    return o.rightRegistrationDate.year() >= year && o.transferActDate.year() >= year;
}

bool dateBefore(const HousingObject& o, int year) {
    return o.rightRegistrationDate.year() < year || o.transferActDate.year() < year;
}

bool hasInterest(const HousingObject& o) {
    return o.mortgageInterest > Money{};
}

const Money kTwoMillion = Money::fromRoubles(2000000);
const Money kOneMillion = Money::fromRoubles(1000000);

} // namespace

bool post2013(const ConstructionObjects& objects) {
    return std::all_of(objects.begin(), objects.end(), [](const auto& o) { return datesFrom(o, 2014); });
}

bool post2018(const ConstructionObjects& objects) {
    return std::all_of(objects.begin(), objects.end(), [](const auto& o) { return datesFrom(o, 2019); });
}

bool singlePre2014(const ConstructionObjects& objects) {
    if (objects.count() != 1)
        return false;
    const HousingObject& o = objects.get(0);
    return dateBefore(o, 2014) && o.mortgageInterest.isZero();
}

bool anyPensioner(const ConstructionObjects& objects) {
    return std::any_of(objects.begin(), objects.end(), [](const auto& o) { return o.isPensioner != 0; });
}

bool objectAddEnabled(const ConstructionObjects& objects) {
    return objects.empty() || post2013(objects) || singlePre2014(objects);
}

PriorYearsFields priorYearsFields(const ConstructionObjects& objects) {
    const bool pensioner = anyPensioner(objects);
    PriorYearsFields fields;
    fields.purchase = !post2018(objects) || pensioner;
    Money interest;
    for (const HousingObject& o : objects) {
        // A pensioner may carry the deduction back three years, so every object counts.
        if (pensioner || dateBefore(o, 2019))
            interest += o.mortgageInterest;
    }
    fields.interest = fields.purchase && interest > Money{};
    return fields;
}

PropertyTotals propertyTotals(const ConstructionObjects& objects) {
    PropertyTotals totals;
    if (objects.count() == 1) {
        const HousingObject& o = objects.get(0);
        const DateValue deciding = o.byInvestmentContract ? o.transferActDate : o.rightRegistrationDate;
        const Money limit = deciding.year() <= 2007 ? kOneMillion : kTwoMillion;
        const std::int64_t numerator = o.shareNumerator > 0 ? o.shareNumerator : 1;
        const std::int64_t denominator = o.shareDenominator > 0 ? o.shareDenominator : 1;
        // Exact on the integers, as the computation takes it: the cost is lowered to
        // limit × share (to the ten-thousandth) when it exceeds it, then rounded to kopecks.
        Money cost = o.objectCost;
        if (static_cast<__int128>(cost.raw) * denominator > static_cast<__int128>(limit.raw) * numerator)
            cost = productHalfUp(limit, numerator, denominator, 1).value_or(cost);
        totals.cost = productHalfUp(cost, 1, 1, 100).value_or(cost);
        totals.interest = o.mortgageInterest;
    } else {
        for (const HousingObject& o : objects) {
            totals.cost += o.objectCost;
            totals.interest += o.mortgageInterest;
        }
        totals.cost = min(totals.cost, kTwoMillion);
    }
    return totals;
}

Cp1251Text objectShortName(std::int32_t kind) {
    static const std::array<Cp1251Text, 9> names = {
        Cp1251Text::fromUtf8("Объект не выбран"),
        Cp1251Text::fromUtf8("Жилой дом"),
        Cp1251Text::fromUtf8("Квартира"),
        Cp1251Text::fromUtf8("Комната"),
        Cp1251Text::fromUtf8("Доля в доме, квартире, комнате"),
        Cp1251Text::fromUtf8("Земельный участок под строительство"),
        Cp1251Text::fromUtf8("Земельный участок с приобретенным домом"),
        Cp1251Text::fromUtf8("Дом с земельным участком"),
        Cp1251Text::fromUtf8("Доля в земле"),
    };
    return kind >= 1 && kind <= 8 ? names[static_cast<std::size_t>(kind)] : names[0];
}

ObjectDialogSetup setupForNewObject(const ConstructionObjects& objects) {
    ObjectDialogSetup setup;
    setup.furtherObject = !objects.empty();
    // The second object of a purchase before 2014 may carry interest only.
    setup.costEnabled = !singlePre2014(objects);
    setup.interestEnabled = std::none_of(objects.begin(), objects.end(), hasInterest);
    setup.pensioner = anyPensioner(objects);
    return setup;
}

ObjectDialogSetup setupForObject(const ConstructionObjects& objects, int index) {
    const int count = objects.count();
    const HousingObject& self = objects.get(index);
    ObjectDialogSetup setup;
    bool preSplit = false;
    if (count == 2) {
        const HousingObject& other = objects.get(1 - index);
        preSplit = self.objectCost > Money{} && self.mortgageInterest.isZero() && hasInterest(other) &&
                   other.objectCost.isZero();
    }
    setup.furtherObject = count > 2 || (count == 2 && !preSplit);
    if (count == 1 || count >= 3 || post2013(objects))
        setup.costEnabled = true;
    else
        setup.costEnabled = self.mortgageInterest.isZero();
    setup.interestEnabled = true;
    for (int i = 0; i < count; ++i) {
        if (i != index && hasInterest(objects.get(i)))
            setup.interestEnabled = false;
    }
    setup.pensioner = self.isPensioner != 0;
    return setup;
}

DateValue earliestObjectDate(bool furtherObject) {
    return DateValue::fromYear(furtherObject ? 2014 : 1990);
}

DateValue latestObjectDate(bool pensioner) {
    return *DateValue::fromYmd(pensioner ? 2022 : 2019, 12, 31);
}

bool shareApplies(DateValue rightRegistration, DateValue transferAct) {
    return rightRegistration.year() <= 2013 || transferAct.year() <= 2013;
}

void normaliseShare(HousingObject& o) {
    if (o.shareNumerator <= 0)
        o.shareNumerator = 1;
    if (o.shareDenominator <= 0)
        o.shareDenominator = 1;
    o.shareNumerator = std::min(o.shareNumerator, o.shareDenominator);
}

std::vector<ObjectFault> objectDialogFaults(const ObjectDialogState& s) {
    std::vector<ObjectFault> faults;
    const auto fault = [&faults](const char* message, ObjectElement element) {
        faults.push_back({Cp1251Text::fromUtf8(message), element});
    };
    if (s.kind == 0)
        fault("Не введено наименование объекта", ObjectKindElement);
    if (s.houseMethodEnabled && s.houseMethod == 0)
        fault("Не введен способ приобретения дома", ObjectHouseMethodElement);
    if (s.taxpayerSign == 0)
        fault("Не введен признак налогоплательщика", ObjectTaxpayerSignElement);
    if (s.numberKind == 0)
        fault("Не введен код номера объекта", ObjectNumberKindElement);
    if (s.numberKind >= 1 && s.numberKind <= 3 && trimText(s.number).empty())
        fault("Не введен номер объекта", ObjectNumberElement);
    if (s.numberKind == 4 && trimText(s.address).empty())
        fault("Не указано место нахождения объекта", ObjectAddressElement);
    return faults;
}

const Cp1251Text& objectCheckTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Проверка данных объекта");
    return title;
}

} // namespace kv
