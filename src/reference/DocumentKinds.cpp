#include "reference/DocumentKinds.h"

#include "core/Text.h"

#include <cstdio>
#include <utility>

namespace kv {

const CodeNameRows& documentKinds() {
    static const CodeNameRows rows = [] {
        const std::pair<const char*, const char*> table[] = {
            {"03", "Свидетельство о рождении"},
            {"07", "Военный билет"},
            {"08", "Временное удостоверение, выданное взамен военного билета"},
            {"10", "Паспорт иностранного гражданина"},
            {"11", "Свидетельство о рассмотрении ходатайства о признании лица беженцем на территории РФ по "
                   "существу"},
            {"12", "Вид на жительство в РФ"},
            {"13", "Удостоверение беженца"},
            {"14", "Временное удостоверение личности гражданина РФ"},
            {"15", "Разрешение на временное проживание в РФ"},
            {"19", "Свидетельство о предоставлении временного убежища на территории РФ"},
            {"21", "Паспорт гражданина РФ"},
            {"22", "Загранпаспорт гражданина РФ"},
            {"23", "Свидетельство о рождении, выданное уполномоченным органом иностранного государства"},
            {"24", "Удостоверение личности военнослужащего РФ"},
            {"27", "Военный билет офицера запаса"},
            {"91", "Иные документы"},
        };
        CodeNameRows r;
        for (const auto& [code, name] : table)
            r.push_back({Cp1251Text::fromUtf8(code), Cp1251Text::fromUtf8(name)});
        return r;
    }();
    return rows;
}

Cp1251Text documentKindCode(int kind) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2d", kind);
    return Cp1251Text::fromBytes(std::string_view(text));
}

std::optional<std::size_t> documentKindRow(int kind) {
    return findCodeRow(documentKinds(), documentKindCode(kind));
}

} // namespace kv
