#include "PrintTestSupport.h"

#include "core/Date.h"
#include "core/Text.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"
#include "print/BarcodeChunks.h"
#include "print/PageRenderer.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <random>

namespace kv::test {

std::string cp(const std::string& utf8) {
    return Cp1251Text::fromUtf8(utf8).bytes();
}

std::string exampleXml(const std::string& name) {
    const FixedClock clock(*DateValue::fromYmd(2020, 3, 2));
    const FixedIdSource ids("0F8FAD5B-D9CB-469F-A165-70867728950E");
    Declaration document(clock);
    document.loadFromFile(std::string(KV_EXAMPLES_DIR) + "/" + name + ".qv9");
    // The computation reports its own faults; the tests look at what is printed.
    const ExportServices services{clock, ids, [](const Cp1251Text&) {}};
    const std::string xml = exportReturn(std::string(), document, kExportToText, services);
    EXPECT_NE(xml, kExportFailed) << name;
    return xml;
}

std::string generatedReturn(int payers, int noiseChars, unsigned seed) {
    std::mt19937 rng(seed);
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>('0' + rng() % 10);
        return s;
    };
    // Letters of both alphabets, digits and signs; nothing that XML would escape.
    std::string alphabet = cp("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя№");
    alphabet += "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789()+,-./:;=?@[]_!#$%*";
    std::string noise;
    for (int i = 0; i < noiseChars; ++i)
        noise += i % 9 == 8 ? ' ' : alphabet[rng() % alphabet.size()];

    std::string x = cp("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
                       "<Файл ИдФайл=\"NO_NDFL3_7701_7701_500100732259_20200302_0F8FAD5B-D9CB-469F-A165-"
                       "70867728950E\" ВерсПрог=\"Quil2019_1.0.1\" ВерсФорм=\"5.14\">"
                       "<Документ КНД=\"1151020\" ДатаДок=\"02.03.2020\" Период=\"34\" ОтчетГод=\"2019\" "
                       "КодНО=\"7701\" НомКорр=\"0\"><СвНП><НПФЛ3 ДокПредст=\"760\" Статус=\"1\">"
                       "<ФИОФЛ Фамилия=\"КУЗНЕЦОВА\" Имя=\"ЕЛЕНА\" Отчество=\"ПАВЛОВНА\"/>"
                       "<СведФЛ1 ИННФЛ=\"500100732259\" ДатаРожд=\"03.07.1979\" МестоРожд=\"");
    x += noise;
    x += cp("\" ОКСМ=\"643\"><УдЛичн КодВидДок=\"21\" СерНомДок=\"45 10 654321\" ВыдДок=\"ОВД\" "
            "ДатаДок=\"01.08.2010\"/></СведФЛ1></НПФЛ3></СвНП><Подписант ПрПодп=\"1\"/><НДФЛ3>");
    long long total = 0;
    std::string payersXml;
    for (int i = 0; i < payers; ++i) {
        const long long income = 10000 + static_cast<long long>(rng() % 900000);
        total += income;
        payersXml += cp("<ДоходИстРФ Ставка=\"13\" ВидДоход=\"07\" ОКТМО=\"") + digits(8) +
                     cp("\" Доход=\"") + std::to_string(income) + ".00" + cp("\" НалУдерж=\"") +
                     std::to_string(income * 13 / 100) + cp("\"><ИстЮЛ Наим=\"ООО &quot;ПРЕДПРИЯТИЕ № ") +
                     std::to_string(i + 1) + " " + digits(5) + cp("&quot;\" ИННЮЛ=\"") + digits(10) +
                     cp("\" КПП=\"") + digits(9) + "\"/></" + cp("ДоходИстРФ>");
    }
    for (const char* rate : {"13", "35"}) {
        x +=
            cp("<НалБаза Ставка=\"") + rate + cp("\" ВидДоход=\"3\"><РасчНалБаза ДоходОбщ=\"") +
            std::to_string(total) + ".00" +
            cp("\" ДоходОбщНеНал=\"0.00\" ДоходОбщНал=\"0.00\" СумНалВыч=\"0.00\" СумРасхУм=\"0.00\" "
               "СумДохДивКИК=\"0.00\" НалБаза=\"0.00\"/><РасчНалПУ Исчисл=\"0\" УдержОбщ=\"0\" "
               "УдержОбщМВ=\"0\" ТСУплПерЗач=\"0\" УплАвФакт=\"0\" ОбщАвУплЗач227.1=\"0\" УплИнПодлЗач=\"0\" "
               "УплПатентЗач=\"0\" ПодлУпл=\"0\" ПодлВозв=\"0\"/></НалБаза>");
    }
    x += payersXml;
    x += cp("</НДФЛ3></Документ></Файл>");
    return x;
}

std::vector<std::string> readBarcodes(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::PDF417);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.bytesPerLine()));
    std::vector<std::string> found;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(view, hints))
        if (r.isValid())
            found.emplace_back(r.bytes().begin(), r.bytes().end());
    return found;
}

std::string xmlFromPages(const print::PrintLayout& layout, int dpi) {
    std::vector<std::string> chunks;
    for (const print::PrintPage& page : layout.pages) {
        const std::vector<std::string> found = readBarcodes(print::renderPageImage(layout, page, dpi));
        EXPECT_EQ(found.size(), 1u) << "page " << page.number;
        if (found.size() == 1)
            chunks.push_back(found.front());
    }
    try {
        return print::joinChunks(chunks);
    } catch (const print::ChunkError& e) {
        ADD_FAILURE() << e.what();
        return {};
    }
}

} // namespace kv::test
