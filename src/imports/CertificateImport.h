#pragma once
// Taking employers' income certificates (2-NDFL) into the return: which certificate of a
// file is the taxpayer's, what it becomes in the return's lists of sources (through the
// rules the entry screens keep), what in it disagrees with itself, and which sources it
// replaces. Nothing here changes a return until applyImport; a refused certificate
// changes nothing at all. Texts are Windows-1251.
#include "model/IncomeSources.h"
#include "reference/IncomeCertificate.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv {

class Declaration;
class Taxpayer;

// --- Whose certificate ------------------------------------------------------------

// The certificates of the file that are the taxpayer's: by INN when the taxpayer has
// one, otherwise by surname, name and birth date; none when neither is entered.
std::vector<int> certificatesOfTaxpayer(const CertificateFile& file, const Taxpayer& person);
// The certificates whose recipient has this INN.
std::vector<int> certificatesWithInn(const CertificateFile& file, const Cp1251Text& inn);
// "Иванов Иван Иванович, ИНН 772801234583, дата рождения 12.05.1985, справка № 17".
Cp1251Text recipientLabel(const Certificate& certificate);

// --- What a certificate becomes ------------------------------------------------------

// Which list of the return a source goes to.
enum class SourceList { Incomes13, Incomes13NonResident, Incomes35, Dividends, Incomes9 };

// "Доходы по ставке 13%", "Дивиденды", ...
Cp1251Text sourceListTitle(SourceList list);

// A source of the return that the certificate replaces.
struct ReplacedSource {
    SourceList list;
    int index = 0;
    Cp1251Text name;
};

struct CertificateImport {
    Cp1251Text fault; // why the certificate cannot be taken; empty when it can
    const Certificate* certificate = nullptr;
    CertificateAgent agent;

    std::vector<ThirteenPercentSource> incomes13;
    std::vector<ThirteenPercentSource> incomes13NonResident;
    std::vector<ThirtyFivePercentSource> incomes35;
    std::vector<ThirtyPercentSource> dividends;
    std::vector<ThirtyPercentSource> incomes9;

    // Where the certificate disagrees with itself, each with both figures: the
    // certificate is the agent's word, so it may still be taken.
    std::vector<Cp1251Text> warnings;
    // Sources of the same agent (INN, KPP, OKTMO) already in the return.
    std::vector<ReplacedSource> replaced;

    bool accepted() const { return fault.empty(); }
    Money totalIncome() const;
    Money totalWithheld() const;
};

// Maps certificate `index` of the file into sources for the return `declaration` (its
// kind decides the lists) and finds the sources it would replace. The file must outlive
// the result.
CertificateImport prepareImport(const CertificateFile& file, int index, const Declaration& declaration);

// Adds the sources, first removing those of `import.replaced` when `replace` is set; the
// incomes reported on tax agents' certificates are marked present.
void applyImport(Declaration& declaration, const CertificateImport& import, bool replace);

// Whether two imports come from the same agent and certificate number.
bool sameCertificate(const CertificateImport& a, const CertificateImport& b);

// Amounts in messages: "610150,50".
Cp1251Text certificateAmountText(Money amount);

} // namespace kv
