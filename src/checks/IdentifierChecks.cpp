#include "checks/IdentifierChecks.h"

#include "checks/CheckRun.h"
#include "core/Text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv {
namespace {

constexpr std::array<int, 9> kWeights10 = {31, 29, 23, 19, 17, 13, 7, 5, 3};
constexpr std::array<int, 10> kWeights12First = {37, 31, 29, 23, 19, 17, 13, 7, 5, 3};
constexpr std::array<int, 11> kWeights12Second = {41, 37, 31, 29, 23, 19, 17, 13, 7, 5, 3};

// The check digit over the leading digits of text, one weight each: 11 minus the
// weighted sum mod 11, with 10 and 11 written as 0. A character that is not a
// digit has no check digit: the number cannot be valid.
std::optional<char> checkDigit(std::string_view text, std::span<const int> weights) {
    int sum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        sum += (c - '0') * weights[i];
    }
    const int digit = 11 - sum % 11;
    return static_cast<char>('0' + (digit >= 10 ? 0 : digit));
}

// The number rebuilt from its leading digits and computed check digits equals the text.
bool checkDigitsMatch(std::string_view text) {
    if (text.size() == 10) {
        const auto d = checkDigit(text, kWeights10);
        return d && text[9] == *d;
    }
    const auto first = checkDigit(text, kWeights12First);
    if (!first || text[10] != *first)
        return false;
    // The second digit is computed over the rebuilt first one, so a wrong first
    // digit cannot be made up for by the second.
    const std::string eleven = std::string(text.substr(0, 10)) + *first;
    const auto second = checkDigit(eleven, kWeights12Second);
    return second && text[11] == *second;
}

struct PayerMessages {
    Cp1251Text noName = Cp1251Text::fromUtf8("Не заполненно поле \"Наименование источника выплаты\"");
    Cp1251Text oktmoLength =
        Cp1251Text::fromUtf8("Код ОКТМО введен некорректно(должно быть 8 или 11 симв.)(При продаже имущества "
                             "физ.лицу - не нужен)");
    Cp1251Text noOktmo = Cp1251Text::fromUtf8(
        "Не введен код ОКТМО(8 или 11 симв.)(При продаже имущества физ.лицу - не нужен)");
    Cp1251Text noOrganisationOktmo = Cp1251Text::fromUtf8("Не введен код ОКТМО(8 или 11 симв.)");
    Cp1251Text innTenOrTwelve = Cp1251Text::fromUtf8("Длина ИНН должна быть равна 10 или 12 цифрам");
    Cp1251Text innTen = Cp1251Text::fromUtf8("Длина ИНН должна быть равна 10 цифрам");
    Cp1251Text innInvalid = Cp1251Text::fromUtf8("Номер ИНН введен неверно");
    Cp1251Text noKpp = Cp1251Text::fromUtf8("Отсутствует КПП");
    Cp1251Text kppLength = Cp1251Text::fromUtf8("Длина КПП должна быть равна 9 цифрам");
    Cp1251Text kppZeros = Cp1251Text::fromUtf8("Некорректный КПП");
    Cp1251Text enterInn = Cp1251Text::fromUtf8("Введите ИНН");
    Cp1251Text organisationInnLength =
        Cp1251Text::fromUtf8("Длина ИНН для юрлиц должна быть равна 10 цифрам");
};

const PayerMessages& messages() {
    static const PayerMessages m;
    return m;
}

const Cp1251Text* kppMessage(KppResult r) {
    switch (r) {
    case KppResult::Empty:
        return &messages().noKpp;
    case KppResult::NotNine:
        return &messages().kppLength;
    case KppResult::Zeros:
        return &messages().kppZeros;
    case KppResult::Valid:
        break;
    }
    return nullptr;
}

} // namespace

InnResult checkInn(const Cp1251Text& inn, InnKind kind) {
    const std::string text = trimText(inn).bytes();
    if (text.empty())
        return InnResult::Empty;
    // Zeros alone rebuild themselves, so they are refused outright, whatever the
    // kind asked for: ten zeros for a person are a wrong number, not a short one.
    if (text == "0000000000" || text == "000000000000")
        return InnResult::Invalid;
    const std::size_t n = text.size();
    if (kind == InnKind::Organisation && n != 10)
        return InnResult::NotTen;
    if (kind == InnKind::Individual && n != 12)
        return InnResult::NotTwelve;
    if (n != 10 && n != 12)
        return InnResult::NotTenOrTwelve;
    if (!checkDigitsMatch(text))
        return InnResult::Invalid;
    return InnResult::Valid;
}

KppResult checkKpp(const Cp1251Text& kpp) {
    const std::string text = trimText(kpp).bytes();
    if (text.empty())
        return KppResult::Empty;
    if (text.size() != 9)
        return KppResult::NotNine;
    if (text == "000000000")
        return KppResult::Zeros;
    return KppResult::Valid;
}

bool oktmoLengthValid(const Cp1251Text& oktmo) {
    const std::size_t n = trimText(oktmo).size();
    return n == 8 || n == 11;
}

bool inspectionCodeValid(const Cp1251Text& code) {
    return code.size() == 4 &&
           std::all_of(code.bytes().begin(), code.bytes().end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<PayerFault> payerFaults(const Cp1251Text& name, bool skipAllowed, const Cp1251Text& oktmo,
                                    const Cp1251Text& kpp, const Cp1251Text& inn) {
    const PayerMessages& m = messages();
    std::vector<PayerFault> faults;
    if (trimText(name).empty())
        faults.push_back({&m.noName, PayerField::Name, false});

    const Cp1251Text trimmedOktmo = trimText(oktmo);
    if (!trimmedOktmo.empty() && !oktmoLengthValid(trimmedOktmo))
        faults.push_back({&m.oktmoLength, PayerField::Oktmo, false});
    // The one fault a seller to a private person may skip: such a payer has no OKTMO.
    if (trimmedOktmo.empty())
        faults.push_back({&m.noOktmo, PayerField::Oktmo, skipAllowed});

    const InnResult innResult = checkInn(inn, InnKind::Any);
    if (innResult == InnResult::NotTenOrTwelve)
        faults.push_back({&m.innTenOrTwelve, PayerField::Inn, false});
    if (innResult == InnResult::Invalid)
        faults.push_back({&m.innInvalid, PayerField::Inn, false});

    if (inn.size() == 10) {
        if (const Cp1251Text* message = kppMessage(checkKpp(kpp)))
            faults.push_back({message, PayerField::Kpp, false});
    } else if (!kpp.empty()) {
        // A KPP belongs to an organisation, whose INN has ten digits.
        faults.push_back({inn.empty() ? &m.enterInn : &m.organisationInnLength, PayerField::Inn, false});
    }
    return faults;
}

std::vector<PayerFault> organisationPayerFaults(const Cp1251Text& name, const Cp1251Text& oktmo,
                                                const Cp1251Text& kpp, const Cp1251Text& inn) {
    const PayerMessages& m = messages();
    std::vector<PayerFault> faults;
    if (trimText(name).empty())
        faults.push_back({&m.noName, PayerField::Name, false});
    if (!oktmoLengthValid(oktmo))
        faults.push_back({&m.noOrganisationOktmo, PayerField::Oktmo, false});

    const InnResult innResult = checkInn(inn, InnKind::Organisation);
    if (innResult == InnResult::NotTen)
        faults.push_back({&m.innTen, PayerField::Inn, false});
    if (innResult == InnResult::Invalid)
        faults.push_back({&m.innInvalid, PayerField::Inn, false});

    if (const Cp1251Text* message = kppMessage(checkKpp(kpp)))
        faults.push_back({message, PayerField::Kpp, false});

    if (inn.empty())
        faults.push_back({&m.enterInn, PayerField::Inn, false});
    else if (inn.size() != 10)
        faults.push_back({&m.organisationInnLength, PayerField::Inn, false});
    return faults;
}

const Cp1251Text* firstUnskippable(const std::vector<PayerFault>& faults) {
    const auto fault =
        std::find_if(faults.begin(), faults.end(), [](const PayerFault& f) { return !f.mayBeSkipped; });
    return fault == faults.end() ? nullptr : fault->message;
}

namespace {

// One run of TfmCheckError over the faults in order, never with "Пропустить все".
PayerField showPayerFaults(CheckDialog& dialog, const Cp1251Text& sectionTitle, bool skipAllowed,
                           const std::vector<PayerFault>& faults) {
    CheckRun run(dialog, sectionTitle);
    run.offerSkip(skipAllowed).offerSkipAll(false);
    for (const PayerFault& f : faults) {
        const auto code = static_cast<std::uint16_t>(f.field);
        if (f.mayBeSkipped)
            run.fault(*f.message, code);
        else
            run.faultNoSkip(*f.message, code);
    }
    return static_cast<PayerField>(run.result());
}

} // namespace

PayerField checkPayer(CheckDialog& dialog, const Cp1251Text& sectionTitle, const Cp1251Text& name,
                      bool skipAllowed, const Cp1251Text& oktmo, const Cp1251Text& kpp,
                      const Cp1251Text& inn) {
    return showPayerFaults(dialog, sectionTitle, skipAllowed,
                           payerFaults(name, skipAllowed, oktmo, kpp, inn));
}

PayerField checkOrganisationPayer(CheckDialog& dialog, const Cp1251Text& sectionTitle, const Cp1251Text& name,
                                  const Cp1251Text& oktmo, const Cp1251Text& kpp, const Cp1251Text& inn) {
    return showPayerFaults(dialog, sectionTitle, false, organisationPayerFaults(name, oktmo, kpp, inn));
}

} // namespace kv
