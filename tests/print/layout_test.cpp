// The pages laid out from the exported XML: which sheets, how many pages, and
// the figures on them.
#include "PrintTestSupport.h"
#include "core/Text.h"
#include "print/BarcodeChunks.h"
#include "print/PageGeometry.h"
#include "print/ReturnLayout.h"

#include <gtest/gtest.h>

#include <random>

namespace kv::print {
namespace {

using test::cp;

// The sheets in page order, a sheet that runs over several pages named once.
std::vector<std::string> sheetsOf(const PrintLayout& layout) {
    std::vector<std::string> sheets;
    for (const PrintPage& page : layout.pages)
        if (!page.continued)
            sheets.push_back(page.sheet);
    return sheets;
}

std::string allText(const PrintLayout& layout) {
    std::string text;
    for (const PrintPage& page : layout.pages)
        text += pageText(layout, page);
    return text;
}

// The line with this code and value on some page of the sheet.
bool hasLine(const PrintLayout& layout, const std::string& sheet, const std::string& code,
             const std::string& value) {
    for (const PrintPage& page : layout.pages)
        if (page.sheet == sheet)
            for (const PrintLine& line : page.lines) {
                std::string v;
                for (const std::string& part : line.value)
                    v += (v.empty() ? "" : " ") + part;
                if (line.code == code && v == value)
                    return true;
            }
    return false;
}

TEST(ReturnLayout, ExampleReturnsGiveTheirSheetsAndFigures) {
    const PrintLayout all = layoutReturn(test::exampleXml("all-records"));
    EXPECT_EQ(sheetsOf(all),
              (std::vector<std::string>{"Титульный лист", "Раздел 1", "Раздел 2", "Раздел 2", "Раздел 2",
                                        "Раздел 2", "Приложение 1", "Приложение 2", "Приложение 3",
                                        "Приложение 4", "Приложение 5", "Приложение 7",
                                        "Расчет к Приложению 1", "Расчет к Приложению 5"}));
    EXPECT_EQ(all.pages.size(), 16u);
    EXPECT_EQ(all.inn, "770123456703");
    EXPECT_EQ(all.shortName, "СОКОЛОВ А. В.");
    EXPECT_FALSE(all.form4);
    // Figures in their lines, each under the line code of its sheet.
    EXPECT_TRUE(hasLine(all, "Раздел 1", "020", "18210102010011000110"));
    EXPECT_TRUE(hasLine(all, "Приложение 1", "060", "АО \"ОРБИТА\""));
    EXPECT_TRUE(hasLine(all, "Приложение 1", "070", "2205000.00"));
    EXPECT_TRUE(hasLine(all, "Приложение 2", "030", "BLUE HARBOUR LTD"));
    EXPECT_TRUE(hasLine(all, "Приложение 3", "020", "47.91"));
    EXPECT_TRUE(hasLine(all, "Приложение 7", "031", "50:20:0041002:1105"));
    EXPECT_TRUE(hasLine(all, "Расчет к Приложению 1", "010", "50:21:0110101:77"));
    EXPECT_TRUE(hasLine(all, "Расчет к Приложению 5", "030", "12-345/2018"));
    // One Section 2 sheet a rate, its rate in the heading.
    for (const char* rate : {"13%", "35%", "09%"})
        EXPECT_NE(allText(all).find("облагаемым по ставке " + std::string(rate)), std::string::npos) << rate;
    const std::string text = allText(all);
    for (const char* expected :
         {"ПЕТРОВА", "ДОВЕРЕННОСТЬ № 77АБ", "ОВД РАЙОНА ХАМОВНИКИ Г. МОСКВЫ", "Quil2019_1.0.1"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;

    const PrintLayout typical = layoutReturn(test::exampleXml("typical"));
    const auto sheets = sheetsOf(typical);
    for (const char* sheet : {"Титульный лист", "Раздел 2", "Приложение 1", "Приложение 7"})
        EXPECT_NE(std::find(sheets.begin(), sheets.end(), sheet), sheets.end()) << sheet;
    EXPECT_TRUE(hasLine(typical, "Приложение 1", "070", "960000.00"));
    EXPECT_TRUE(hasLine(typical, "Приложение 1", "080", "124800"));
    EXPECT_TRUE(hasLine(typical, "Приложение 7", "040", "Г. МОСКВА, УЛ. УДАЛЬЦОВА, Д. 3, КВ. 57"));

    const PrintLayout fresh = layoutReturn(test::exampleXml("new-return"));
    EXPECT_EQ(sheetsOf(fresh), (std::vector<std::string>{"Титульный лист", "Раздел 1", "Раздел 2"}));
    EXPECT_EQ(fresh.inn, "");
    EXPECT_TRUE(hasLine(fresh, "Раздел 1", "010", "3"));
}

TEST(ReturnLayout, EveryPageIsNumberedAndCarriesItsPartOfTheBarcode) {
    const PrintLayout layout = layoutReturn(test::exampleXml("all-records"));
    std::string declaredPages;
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        const PrintPage& page = layout.pages[i];
        EXPECT_EQ(page.number, static_cast<int>(i + 1));
        EXPECT_EQ(page.barcodePart, page.number);
        EXPECT_EQ(page.barcodeParts, static_cast<int>(layout.pages.size()));
        EXPECT_FALSE(page.barcode.bars.empty());
        EXPECT_NE(pageText(layout, page).find("ИНН 770123456703 Стр. " + std::to_string(page.number)),
                  std::string::npos);
        for (const PrintLine& line : page.lines)
            if (!line.label.empty() && line.label.front() == "Декларация составлена на страницах")
                declaredPages = line.value.front();
    }
    EXPECT_EQ(declaredPages, std::to_string(layout.pages.size()));
}

TEST(ReturnLayout, FourNdflIsOneTitleSheetWithTheEstimatedIncome) {
    const std::string xml =
        cp("<?xml version=\"1.0\" encoding=\"windows-1251\"?><Файл ИдФайл=\"NO_NDFL4_7701_7701_770123456703_"
           "20200302_0F8FAD5B-D9CB-469F-A165-70867728950E\" ВерсПрог=\"Quil2019_1.0.1\" ВерсФорм=\"5.03\">"
           "<Документ КНД=\"1151021\" ДатаДок=\"02.03.2020\" ОтчетГод=\"2020\" КодНО=\"7701\" НомКорр=\"0\">"
           "<СвНП><НПФЛ ДокПредст=\"720\" ИННФЛ=\"770123456703\" ОКТМО=\"45379000\"><ФИО Фамилия=\"ИВАНОВ\" "
           "Имя=\"ПЁТР\"/></НПФЛ></СвНП><Подписант ПрПодп=\"1\"/><НДФЛ4 ПредДоход=\"1234567.5\"/></Документ>"
           "</Файл>");
    LayoutOptions options;
    options.inspectionName = "Инспекция ФНС России № 1 по г. Москве";
    const PrintLayout layout = layoutReturn(xml, options);
    EXPECT_TRUE(layout.form4);
    EXPECT_EQ(layout.inn, "770123456703");
    EXPECT_EQ(layout.shortName, "ИВАНОВ П.");
    EXPECT_EQ(sheetsOf(layout), std::vector<std::string>{"Титульный лист"});
    const std::string text = allText(layout);
    for (const char* expected : {"форма 4-НДФЛ", "Сумма предполагаемого дохода, руб. 1234567.5", "45379000",
                                 "Инспекция ФНС России № 1 по г. Москве"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

// Whatever the form's tables do not name still reaches paper, under its XML name.
TEST(ReturnLayout, UnknownElementsAndAttributesArePrintedUnderTheirNames) {
    const std::string xml =
        cp("<?xml version=\"1.0\" encoding=\"windows-1251\"?><Файл ИдФайл=\"X\"><Документ "
           "КНД=\"1151020\"><НДФЛ3><СумНалПу ПрУплВозв=\"1\" Новый=\"77\"/><ЛистБудущий "
           "Сумма=\"12.50\"><Строка Код=\"5\"/></ЛистБудущий></НДФЛ3></Документ></Файл>");
    const PrintLayout layout = layoutReturn(xml);
    EXPECT_EQ(sheetsOf(layout), (std::vector<std::string>{"Титульный лист", "Раздел 1", "ЛистБудущий"}));
    const std::string text = allText(layout);
    for (const char* expected : {"Новый 77", "Сумма 12.50", "Строка", "Код 5"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST(ReturnLayout, AValueLongerThanAPageGoesOnOverTheNextPages) {
    const std::string xml = test::generatedReturn(1, 4000);
    const PrintLayout layout = layoutReturn(xml);
    std::string place;
    int parts = 0;
    for (const PrintPage& page : layout.pages)
        for (const PrintLine& line : page.lines)
            if (line.label.front() == "Место рождения" || line.label.front() == "(продолжение)") {
                ++parts;
                for (const std::string& s : line.value)
                    place += s;
            }
    EXPECT_GT(parts, 1);
    // Every character of the birthplace is printed, in order (blanks are where lines break).
    const std::string original = [&] {
        const std::string from = cp("МестоРожд=\"");
        const std::size_t at = xml.find(from) + from.size();
        return xml.substr(at, xml.find('"', at) - at);
    }();
    std::string printed;
    for (char c : place)
        if (c != ' ')
            printed += c;
    std::string wanted;
    for (char c : Cp1251Text::fromBytes(original).utf8())
        if (c != ' ')
            wanted += c;
    EXPECT_EQ(printed, wanted);
    for (const PrintPage& page : layout.pages) {
        double y = geometry::kTitleTop + static_cast<double>(page.title.size()) * geometry::kTitleLine +
                   geometry::kTitleGap;
        for (const PrintLine& line : page.lines)
            y += line.height;
        EXPECT_LE(y, geometry::kBodyBottom + 1e-9) << "page " << page.number;
    }
}

TEST(ReturnLayout, BarcodesNeedingMoreRoomThanTheSheetsGetPagesOfTheirOwn) {
    const std::string xml = test::generatedReturn(2, 30000);
    const PrintLayout layout = layoutReturn(xml);
    std::size_t own = 0;
    for (const PrintPage& page : layout.pages) {
        if (page.barcodeOnly) {
            ++own;
            EXPECT_TRUE(page.lines.empty());
        } else {
            EXPECT_EQ(own, 0u) << "barcode pages come after the sheets";
        }
    }
    EXPECT_GT(own, 0u);
}

TEST(ReturnLayout, RefusesTextThatIsNotAReturn) {
    for (const std::string& bad : {std::string(), std::string("ERROR"), std::string("<a/>"),
                                   cp("<?xml version=\"1.0\"?><Файл><Документ>")})
        EXPECT_THROW(layoutReturn(bad), LayoutError) << bad;
}

// The largest barcode a page can carry keeps to its corner of the page, and a
// part of any size between empty and full gets a symbol.
TEST(ReturnLayout, EveryBarcodeKeepsToItsCorner) {
    std::mt19937 rng(1);
    for (std::size_t size : {kChunkHeaderSize, std::size_t{100}, kChunkHeaderSize + kChunkPayload}) {
        std::string chunk(size, '\0');
        for (char& c : chunk)
            c = static_cast<char>(rng());
        const BarcodeSymbol symbol = encodePdf417(chunk);
        EXPECT_LE(symbol.width * geometry::kModule, geometry::kBarcodeMaxWidth) << size;
        EXPECT_LE(symbol.height * geometry::kModule, geometry::kBarcodeMaxHeight) << size;
    }
    EXPECT_LE(geometry::kBarcodeTop + geometry::kBarcodeMaxHeight + 1 + geometry::kCaptionLine,
              geometry::kHeaderRule);

    // Parts asked too large for a symbol are cut smaller rather than overflowing.
    LayoutOptions oversized;
    oversized.chunkPayload = 2000;
    const std::string xml = test::generatedReturn(2, 6000);
    const PrintLayout layout = layoutReturn(xml, oversized);
    std::vector<std::string> chunks;
    for (const PrintPage& page : layout.pages) {
        EXPECT_LE(page.barcode.rows, kPdf417MaxRows);
        EXPECT_LE(page.barcode.columns, kPdf417MaxColumns);
        chunks.push_back(page.barcodeData);
    }
    EXPECT_EQ(joinChunks(chunks), xml);
    EXPECT_LE(geometry::kLeft + geometry::kBarcodeMaxWidth + 4,
              geometry::kHeaderLeft); // a quiet zone to its right
}

} // namespace
} // namespace kv::print
