#pragma once
// Rules of the property-deduction screen and its object dialog that do not depend
// on widgets: how many objects may be entered, which dates and fields the dialog
// allows, the prior-years fields, the deductible totals and the dialog's checks.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"
#include "model/Deductions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

using ConstructionObjects = RecordList<HousingObject>;

// Every object's right-registration and transfer-act dates lie in 2014 or later (true when empty).
bool post2013(const ConstructionObjects& objects);
// The same for 2019 or later.
bool post2018(const ConstructionObjects& objects);
// One object only, with a date in 2013 or earlier and no interest: a second object
// may still carry the interest of that purchase.
bool singlePre2014(const ConstructionObjects& objects);
bool anyPensioner(const ConstructionObjects& objects);

// Whether "Добавить объект" is enabled.
bool objectAddEnabled(const ConstructionObjects& objects);

// Whether the two "Вычет за предыдущие годы" fields are enabled; a disabled one is emptied.
struct PriorYearsFields {
    bool purchase = false;
    bool interest = false;

    friend bool operator==(const PriorYearsFields&, const PriorYearsFields&) = default;
};
PriorYearsFields priorYearsFields(const ConstructionObjects& objects);

// "Общая стоимость всех объектов (с учетом ограничений вычета)" and "Проценты по кредитам за все годы".
struct PropertyTotals {
    Money cost;
    Money interest;

    friend bool operator==(const PropertyTotals&, const PropertyTotals&) = default;
};
PropertyTotals propertyTotals(const ConstructionObjects& objects);

// The list's title of an object kind (Windows-1251), "Объект не выбран" for none.
Cp1251Text objectShortName(std::int32_t kind);

// How the object dialog opens.
struct ObjectDialogSetup {
    bool furtherObject = false; // the dwelling dates start at 01.01.2014
    bool costEnabled = true;
    bool interestEnabled = true;
    bool pensioner = false;

    friend bool operator==(const ObjectDialogSetup&, const ObjectDialogSetup&) = default;
};
ObjectDialogSetup setupForNewObject(const ConstructionObjects& objects);
ObjectDialogSetup setupForObject(const ConstructionObjects& objects, int index);

// The range of the dialog's dates.
DateValue earliestObjectDate(bool furtherObject);
DateValue latestObjectDate(bool pensioner);
// The share is asked for only for a purchase registered (or transferred) before 2014.
bool shareApplies(DateValue rightRegistration, DateValue transferAct);
// An object as it is stored: an empty share part is 1, the numerator at most the denominator.
void normaliseShare(HousingObject& object);

// The object dialog as its checks see it (1-based choices, 0 for none).
struct ObjectDialogState {
    std::int32_t kind = 0;
    bool houseMethodEnabled = false;
    std::int32_t houseMethod = 0;
    std::int32_t taxpayerSign = 0;
    std::int32_t numberKind = 0;
    Cp1251Text number;  // Windows-1251
    Cp1251Text address; // Windows-1251
};
enum ObjectElement : std::uint16_t {
    ObjectKindElement = 1,
    ObjectHouseMethodElement,
    ObjectTaxpayerSignElement,
    ObjectNumberKindElement,
    ObjectNumberElement,
    ObjectAddressElement,
};
struct ObjectFault {
    Cp1251Text message; // Windows-1251
    ObjectElement element;

    friend bool operator==(const ObjectFault&, const ObjectFault&) = default;
};
// Every fault of the dialog, in the order they are reported.
std::vector<ObjectFault> objectDialogFaults(const ObjectDialogState& state);
// "Проверка данных объекта", Windows-1251.
const Cp1251Text& objectCheckTitle();

} // namespace kv
