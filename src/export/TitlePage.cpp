// The title page of both forms and the whole 4-NDFL.
#include "core/Money.h"
#include "core/Text.h"
#include "export/ExportText.h"
#include "export/ReturnWriters.h"
#include "model/Declaration.h"

#include <string>

namespace kv {
namespace {

bool hasText(const Cp1251Text& s) {
    return !trimText(s).empty();
}

AsciiText taxpayerCode3(TaxpayerCategory category) {
    using enum TaxpayerCategory;
    switch (category) {
    case Entrepreneur:
        return "720";
    case FarmHead:
        return "770";
    case Notary:
        return "730";
    case Lawyer:
        return "740";
    case Other:
        return "760";
    case ArbitrationManager:
        return "750";
    default:
        return "000"; // no category of the entry screen leads here
    }
}

AsciiText taxpayerCode4(TaxpayerCategory category) {
    using enum TaxpayerCategory;
    switch (category) {
    case Entrepreneur:
        return "720";
    case FarmHead:
        return "770";
    case Notary:
    case ArbitrationManager:
        return "730";
    case Lawyer:
        return "740";
    default:
        return "000";
    }
}

Cp1251Text countryCode(const Taxpayer& p) {
    const Cp1251Text code = trimText(p.citizenshipCountryCode);
    return zeroPadded(code.empty() ? Cp1251Text{"643"} : code, 3);
}

void writeSplitName(xml::Element parent, const Cp1251Text& fullName) {
    const PersonName name = splitRepresentativeName(fullName);
    xml::Element fio = parent.append("ФИО");
    fio.set("Фамилия", name.surname).set("Имя", name.firstName);
    if (!name.patronymic.empty())
        fio.set("Отчество", name.patronymic);
}

void writeDocumentHeader(xml::Element doc, AsciiText knd, const Declaration& d, DateValue today,
                         std::optional<AsciiText> period, AsciiText year) {
    doc.set("КНД", knd).set("ДатаДок", exportDate(today));
    if (period)
        doc.set("Период", *period);
    doc.set("ОтчетГод", year)
        .set("КодНО", d.inspectionCode)
        .set("НомКорр", figure(std::to_string(d.correctionNumber)));
}

void writePersonName(xml::Element fio, const Taxpayer& p) {
    fio.set("Фамилия", p.surname).set("Имя", p.firstName);
    if (hasText(p.patronymic))
        fio.set("Отчество", p.patronymic);
}

} // namespace

xml::Element writeTitle3(xml::Element file, const Declaration& d, DateValue today) {
    const bool termination = d.kind() == ReturnKind::Termination;
    xml::Element doc = file.append("Документ");
    writeDocumentHeader(doc, "1151020", d, today, termination ? AsciiText("86") : AsciiText("34"),
                        termination ? AsciiText("2020") : AsciiText("2019"));

    const Taxpayer& p = d.person;
    xml::Element np = doc.append("СвНП").append("НПФЛ3");
    np.set("ДокПредст", taxpayerCode3(d.category()))
        .set("Статус", d.kind() == ReturnKind::NonResident ? AsciiText("2") : AsciiText("1"));
    if (hasText(p.contactPhone))
        np.set("Тлф", p.contactPhone);
    writePersonName(np.append("ФИОФЛ"), p);

    const Cp1251Text docCode = zeroPadded(figure(std::to_string(p.identityDocCode)), 2);
    if (hasText(p.inn)) {
        xml::Element info = np.append("СведФЛ1");
        info.set("ИННФЛ", p.inn).set("ДатаРожд", exportDate(p.birthDate));
        if (hasText(p.birthPlace))
            info.set("МестоРожд", p.birthPlace);
        info.set("ОКСМ", countryCode(p));
        if (p.identityDocCode != 0)
            info.append("УдЛичн")
                .set("КодВидДок", docCode)
                .set("СерНомДок", p.identityDocNumber)
                .set("ВыдДок", p.identityDocIssuer)
                .set("ДатаДок", exportDate(p.identityDocDate));
    } else {
        xml::Element info = np.append("СведФЛ2");
        info.set("ДатаРожд", exportDate(p.birthDate))
            .set("МестоРожд", p.birthPlace)
            .set("ОКСМ", countryCode(p));
        info.append("УдЛичн")
            .set("КодВидДок", docCode)
            .set("СерНомДок", p.identityDocNumber)
            .set("ДатаДок", exportDate(p.identityDocDate))
            .set("ВыдДок", p.identityDocIssuer);
    }

    // A representative organisation is offered on the 4-NDFL only; a 3-NDFL document
    // that still holds one is signed by the representative, as the entry screen shows it.
    xml::Element signer = doc.append("Подписант");
    signer.set("ПрПодп", d.byRepresentative() ? AsciiText("2") : AsciiText("1"));
    if (d.byRepresentative()) {
        writeSplitName(signer, d.representativeName);
        signer.append("СвПред").set("НаимДок", d.representativeDocument);
    }
    return doc.append("НДФЛ3");
}

void writeForm4(xml::Element file, const Declaration& d, DateValue today) {
    xml::Element doc = file.append("Документ");
    writeDocumentHeader(doc, "1151021", d, today, std::nullopt, "2020");

    const Taxpayer& p = d.person;
    xml::Element np = doc.append("СвНП").append("НПФЛ");
    np.set("ДокПредст", taxpayerCode4(d.category())).set("ИННФЛ", p.inn).set("ОКТМО", p.oktmo);
    if (hasText(p.contactPhone))
        np.set("Тлф", trimText(p.contactPhone));
    writePersonName(np.append("ФИО"), p);

    xml::Element signer = doc.append("Подписант");
    signer.set("ПрПодп", d.byRepresentative() ? AsciiText("2") : AsciiText("1"));
    if (d.byRepresentative()) {
        writeSplitName(signer, d.representativeName);
        xml::Element rep = signer.append("СвПред");
        rep.set("НаимДок", d.representativeDocument);
        if (hasText(d.representativeOrganisation))
            rep.set("НаимОрг", d.representativeOrganisation);
    }

    doc.append("НДФЛ4").set("ПредДоход", figure(wholeAmountText(13, d.estimatedIncome)));
}

} // namespace kv
