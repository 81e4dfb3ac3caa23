#include "EntryTestSupport.h"

#include "core/Text.h"
#include "model/Declaration.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace kv::test {

void pickCode(QDialog& picker, const QString& code) {
    auto* list = picker.findChild<QTreeWidget*>(QStringLiteral("lvCodes"));
    if (list == nullptr) {
        noteFailure(QStringLiteral("%1 has no list").arg(picker.objectName()));
        return;
    }
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == code) {
            list->setCurrentItem(list->topLevelItem(i));
            QTest::keyClick(list, Qt::Key_Return);
            return;
        }
    }
    noteFailure(QStringLiteral("%1 does not list %2").arg(picker.objectName(), code));
}

void whenPicker(const QString& pickerName, const QString& code) {
    whenModal(pickerName, [code](QDialog& picker) { pickCode(picker, code); });
}

void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? static_cast<Qt::Key>(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

void retype(QWidget* root, const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(root, name);
    if (edit == nullptr) {
        noteFailure(QStringLiteral("no field %1").arg(QString::fromLatin1(name)));
        return;
    }
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

void clickButton(QWidget* root, const char* name) {
    auto* button = child<QAbstractButton>(root, name);
    if (button == nullptr) {
        noteFailure(QStringLiteral("no button %1").arg(QString::fromLatin1(name)));
        return;
    }
    button->click();
}

QString textOf(QWidget* root, const char* name) {
    auto* edit = child<QLineEdit>(root, name);
    // Totals part digit groups by no-break spaces, as list cells do; tests write plain ones.
    return edit != nullptr ? edit->text().replace(QChar(0x00A0), QLatin1Char(' '))
                           : QStringLiteral("<no field %1>").arg(QString::fromLatin1(name));
}

QStringList rowsOf(const QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells.append(list->topLevelItem(i)->text(c));
        // Digit groups are parted by no-break spaces; tests write them as plain ones.
        rows.append(cells.join(QLatin1Char('|')).replace(QChar(0x00A0), QLatin1Char(' ')));
    }
    return rows;
}

void loadSmallDirectories(Directories& d) {
    d.inspectionsState = DirectoryState::Loaded;
    d.inspections = CodeNameRows{{Cp1251Text{"7701"}, Cp1251Text::fromUtf8("Инспекция № 1")},
                                 {Cp1251Text{"7702"}, Cp1251Text::fromUtf8("Инспекция № 2")}};
    d.countriesState = DirectoryState::Loaded;
    d.countries = CodeNameRows{{Cp1251Text{"276"}, Cp1251Text::fromUtf8("ГЕРМАНИЯ")},
                               {Cp1251Text{"643"}, Cp1251Text::fromUtf8("РОССИЯ")}};
}

RussianLocale::RussianLocale() : previous_(QLocale()) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

RussianLocale::~RussianLocale() {
    QLocale::setDefault(previous_);
}

// --- A return written by another program ------------------------------------------

namespace {

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

Money raw(std::int64_t tenThousandths) {
    return Money::fromRaw(tenThousandths);
}

} // namespace

void writtenElsewhere(Declaration& d) {
    d.declarationKind = 0;
    d.inspectionCode = "77100"; // five digits in a four-digit field
    d.correctionNumber = 1000;  // four digits in a three-digit field
    d.submitterKind = 1;
    d.representativeName = Cp1251Text::fromBytes(std::string(200, 'N')); // the field takes 182
    d.representativeDocument = cp("Доверенность №1");
    d.taxpayerCategory = 5;
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                     Declaration::kBusinessIncomes);
    d.estimatedIncome = raw(12345678); // kopecks in a whole-roubles field
    d.sheetCountAutomatic = 0;
    d.setSupportingSheets(12345);
    d.foreignerFixedAdvance = Money::fromRoubles(-5);

    Taxpayer& p = d.person;
    p.oktmo = "45 379 000";
    p.surname = Cp1251Text::fromBytes(std::string(70, 'S'));
    p.firstName = cp("Иван");
    p.inn = "7701A2345678";
    p.contactPhone = "+7 (495) 123-45-67";
    p.birthDate = DateValue::fromDays(0); // 30.12.1899, before the field's range
    p.identityDocCode = 21;
    p.identityDocName = cp("Паспорт гражданина РФ");
    p.identityDocNumber = " 45 08 123456 ";
    p.identityDocDate = DateValue::fromDays(44000.5); // after the test's today, with a time of day
    p.identityDocIssuer = Cp1251Text::fromBytes(std::string(300, 'I'));
    p.citizenshipStatus.clear();

    ThirteenPercentSource s;
    s.sourceName = Cp1251Text::fromBytes(std::string(1200, 'P'));
    s.sourceInn = "ABC";
    ThirteenIncomeItem item;
    item.incomeCode = 2000;
    item.amount = raw(123456789);
    s.addItem(item);
    s.taxWithheld = Money::fromRoubles(12345678901234); // fourteen digits
    d.incomes13.add(s);
    s.taxWithheld = raw(1234567); // 123,4567
    d.incomes13.add(s);
    d.incomes13NonResident.add(s);

    ThirtyPercentSource flat;
    flat.sourceName = Cp1251Text::fromBytes(std::string(1200, 'D'));
    flat.incomeCode = 1010;
    flat.totalIncome = flat.taxableAmount = raw(123456789);
    flat.taxWithheld = raw(1234567);
    d.incomes30.add(flat);
    flat.incomeCode = 1011;
    flat.taxCalculated = raw(5);
    d.incomes9.add(flat);
    ThirtyFivePercentSource prize;
    prize.sourceInn = "ABC";
    prize.incomeCode = 9999; // not in the dictionary
    prize.totalIncome = raw(123456789);
    prize.deductionCode = 505;
    prize.deductionAmount = raw(1);
    d.incomes35.add(prize);

    ForeignIncome f;
    f.sourceName = Cp1251Text::fromBytes(std::string(1100, 'F'));
    f.countryCode = "8400";
    f.incomeDate = *DateValue::fromYmd(2018, 12, 30); // before the field's range
    f.currencyCode = "840";
    f.currencyName = Cp1251Text::fromBytes(std::string(40, 'U'));
    f.incomeDateRate = raw(1234567890); // six whole digits in a rate of five
    f.incomeDateUnits = 12345678;
    f.incomeCode = 1010;
    f.incomeRate = 14;                // a code without its rate would be mended on showing
    f.incomeInCurrency = raw(12345);  // four decimals
    f.incomeInRubles = raw(99999999); // not what the rate gives
    f.deductionCode = 403;
    f.deductionAmount = raw(1);
    f.cfcNumber = "KC00012";
    f.cfcProfitMethod = 3; // no choice of the screen stands for it
    f.cfcTaxWithheldInRussia = raw(1234567);
    d.foreignIncomes.add(f);
    d.foreignIncomes.add(ForeignIncome{});

    PropertyDeduction& pd = d.propertyDeductions;
    pd.granted = 1;
    HousingObject o;
    o.objectKind = 2;
    o.objectNumber = Cp1251Text::fromBytes(std::string(150, '7'));
    o.rightRegistrationDate = *DateValue::fromYmd(2015, 6, 1);
    o.transferActDate = *DateValue::fromYmd(2015, 6, 1);
    o.objectCost = Money::fromRoubles(3000000);
    o.mortgageInterest = raw(10000);
    pd.objects.add(o);
    pd.priorYearsDeduction = raw(1234567891234); // nine whole digits and four decimals
    pd.priorYearsInterestDeduction = raw(1);

    BusinessActivity shop;
    shop.activityKind = "1";
    shop.okvedCode = "47.91.2";
    shop.incomeAmount = raw(1234567891);                     // four decimals
    shop.totalExpenses = Money::fromRoubles(12345678901234); // fourteen digits
    shop.materialExpenses = raw(5);
    d.businessIncomes.add(shop);
    BusinessActivity lawyer; // a lawyer with the norm, which no screen would set
    lawyer.activityKind = "3";
    lawyer.hasDocumentedExpenses = 0;
    lawyer.standardExpenses = raw(400001234);
    d.businessIncomes.add(lawyer);
    d.actualAdvancePayments = raw(120005000); // kopecks in a whole-roubles field
    d.adjustedBase = raw(105005555);
    d.isFarmHousehold = 1;
    d.farmFoundingDate = *DateValue::fromYmd(1990, 7, 15); // not the first of January, before 1997

    d.setIncomeFlags(d.incomeFlags() | Declaration::kPartnershipIncomes);
    InvestmentPartnership partnership;
    partnership.sourceName = cp("ИТ");
    PartnershipIncomeItem line;
    line.operationKind = 9; // no such kind
    line.incomeAmount = raw(1);
    line.contributions = raw(7000000);
    partnership.addItem(line);
    partnership.taxWithheld = raw(105000);
    partnership.taxableAmount = raw(123456789);
    d.investPartnerships.add(partnership);

    SocialDeduction& social = d.socialDeductions;
    social.granted = 1;
    social.charity = raw(12345);                         // four decimals
    social.medical = Money::fromRoubles(12345678901234); // fourteen digits
    social.childEducation.add(raw(1));
    PensionContract contract;
    contract.contractKind = 9; // no such kind
    contract.organisationName = Cp1251Text::fromBytes(std::string(600, 'O'));
    contract.organisationInn = "ABC";
    contract.contractDate = DateValue::fromDays(1); // before the field's range
    contract.contribution = raw(123456789);
    social.pensionContracts.add(contract);

    StandardDeduction& standard = d.standardDeductions;
    standard.granted = 1;
    standard.selfCode = 999;   // no choice of the screen stands for it
    standard.childStatus = 77; // nor for this
    standard.childrenConstant = 0;
    standard.childrenByMonth = {3, 0, 99, 0, 0, 0, 0, 0, 0, 0, 0, 12}; // 99 in a two-digit field
    standard.childrenCount = 99; // what the screen stores for months that vary
    standard.disabledCount = 7;  // more than the field's one digit
    standard.monthlyBusinessIncome[0] = raw(12345);

    d.securitiesLosses.granted = 1;
    d.securitiesLosses.securitiesLoss = raw(12345);
    d.securitiesLosses.partnershipLossIis = Money::fromRoubles(12345678901234);
    d.investmentDeductions.granted = 1;
    d.investmentDeductions.invIisContributions = Money::fromRoubles(500000); // over the yearly limit
    d.investmentDeductions.invSecurities = raw(5);
    d.investmentDeductions.applyP3 = 1; // with p.2 amounts, which the screen would not allow
}

} // namespace kv::test
