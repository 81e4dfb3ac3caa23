// The computation as JSON (kvilmar-cli compute): every sheet under its member
// name in the computation's order, exact amounts as strings, UTF-8 texts.
#include "SheetFixture.h"
#include "cli/ComputeJson.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::test {
namespace {

TEST(ComputeJson, SheetsInOrderWithExactAmountsAndUtf8Texts) {
    SheetFixture f;
    f.doc.person.oktmo = "46000000";
    auto& s = f.addSource13("45000000", rub(78000));
    s.addItem(item(2000, rub(600000)));
    HousingObject flat;
    flat.shareNumerator = 1;
    flat.shareDenominator = 3;
    flat.rightRegistrationDate = date(2012, 1, 10);
    flat.objectCost = rub(3000000);
    f.doc.propertyDeductions.granted = 1;
    f.doc.propertyDeductions.objects.add(flat);
    const bool result = f.root.compute(f.doc);
    ForeignIncomeLine line;
    line.sourceName = Cp1251Text::fromUtf8("Банк «Восток»");
    line.incomeDate = date(2019, 4, 5);
    f.root.foreign13.lines.push_back(line);

    const auto j = cli::computationJson(f.root, f.doc, result);
    std::vector<std::string> keys;
    for (const auto& [key, value] : j.items())
        keys.push_back(key);
    const std::vector<std::string> expected = {"result",
                                               "section2Other13",
                                               "section2Cfc13",
                                               "section2Dividends13",
                                               "section2Rate30",
                                               "section2Rate35",
                                               "section2Rate9",
                                               "section2Dividends15",
                                               "section1",
                                               "russian9",
                                               "russian13",
                                               "russian15",
                                               "russian30",
                                               "russian35",
                                               "foreign13",
                                               "foreign9",
                                               "foreign35",
                                               "business",
                                               "profDeductRussia",
                                               "profDeductForeign",
                                               "exemptIncome",
                                               "stdSocialDeductions",
                                               "standardByMonth",
                                               "pensionContracts",
                                               "propertySale",
                                               "propertyPurchase",
                                               "securitiesOrdinary",
                                               "securitiesIia",
                                               "investPartnership",
                                               "securitiesSummary",
                                               "document"};
    EXPECT_EQ(keys, expected);

    EXPECT_EQ(j["result"], true);
    EXPECT_EQ(j["propertyPurchase"]["purchaseCosts"], "666666.67");
    EXPECT_EQ(j["propertyPurchase"]["ownershipShare"].get<double>(), 1.0 / 3.0);
    EXPECT_EQ(j["section2Other13"]["taxToRefund"], "78000");
    EXPECT_EQ(j["section1"]["lineCount"], 1);
    EXPECT_EQ(j["section1"]["lines"][0]["kbk"], "18210102010011000110");
    EXPECT_EQ(j["section1"]["lines"][0]["oktmo"], "45000000");
    EXPECT_EQ(j["section1"]["lines"][0]["amount"], "78000");
    EXPECT_EQ(j["document"]["propertyObjects"][0]["yearDeduction"], "666666.67");
    EXPECT_EQ(j["document"]["propertyObjects"][0]["before2014"], -1);
    EXPECT_EQ(j["document"]["incomes13"][0]["incomeKind"], "07");
    EXPECT_EQ(j["foreign13"]["lines"][0]["sourceName"], "Банк «Восток»");
    EXPECT_EQ(j["foreign13"]["lines"][0]["incomeDate"], "05.04.2019");
    EXPECT_FALSE(j.contains("error"));
}

TEST(ComputeJson, FailedRunShowsTheMessageAndNoResult) {
    SheetFixture f;
    const auto j = cli::computationJson(f.root, f.doc, std::nullopt, ComputationError::userMessage());
    EXPECT_TRUE(j["result"].is_null());
    EXPECT_EQ(j["error"],
              "Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
}

} // namespace
} // namespace kv::test
