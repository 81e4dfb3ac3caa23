#pragma once
// Reading employers' income certificates (2-NDFL, format 5.06, KND 1151078): the file a
// tax agent produces, Windows-1251, checked against the tax service's schema (a copy is
// built into the program) before anything is taken from it. Every text comes back in
// Windows-1251, every line number is the file's own, so a message can name both.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// A deduction: one of an income line (СвСумВыч) or one the agent granted (ПредВычССИ).
struct CertificateDeduction {
    Cp1251Text code; // three characters
    Money amount;
    int line = 0;
};

// One income of one month (СвСумДох).
struct CertificateIncome {
    int month = 0;   // 1..12
    Cp1251Text code; // four characters
    Money amount;
    std::vector<CertificateDeduction> deductions;
    int line = 0;
};

// The year's totals of one rate (СумИтНалПер); taxes are whole roubles.
struct CertificateTotals {
    Money income;          // СумДохОбщ
    Money base;            // НалБаза
    Money taxComputed;     // НалИсчисл
    Money taxWithheld;     // НалУдерж
    Money fixedAdvance;    // АвансПлатФикс
    Money taxTransferred;  // НалПеречисл
    Money taxOverWithheld; // НалУдержЛиш
    Money taxNotWithheld;  // НалНеУдерж
};

// Incomes at one rate (СведДох).
struct CertificateRateBlock {
    int rate = 0; // percent
    CertificateTotals totals;
    std::vector<CertificateDeduction> agentDeductions;
    std::vector<CertificateIncome> incomes;
    int line = 0;
};

struct CertificateRecipient {
    Cp1251Text surname;
    Cp1251Text firstName;
    Cp1251Text patronymic;
    Cp1251Text inn; // "" when the certificate gives none
    int innLine = 0;
    DateValue birthDate;
    Cp1251Text birthDateText; // as written, ДД.ММ.ГГГГ
    Cp1251Text status;        // 1 resident ... 6
    Cp1251Text citizenship;   // OKSM code
};

struct CertificateAgent {
    bool isPerson = false; // СвНАФЛ: an individual, no KPP
    Cp1251Text name;       // an organisation's name, or a person's full name
    Cp1251Text inn;
    Cp1251Text kpp;
    Cp1251Text oktmo;
    int innLine = 0;
};

// One certificate (НДФЛ-2).
struct Certificate {
    Cp1251Text number;     // НомСпр
    Cp1251Text correction; // НомКорр, "00" for the first; "99" cancels the certificate
    CertificateRecipient recipient;
    std::vector<CertificateRateBlock> blocks;
    int line = 0;
};

struct CertificateFile {
    Cp1251Text fileId;
    Cp1251Text documentDate; // ДатаДок, as written
    int year = 0;            // ОтчетГод
    CertificateAgent agent;
    std::vector<Certificate> certificates;
    // INNs of a reorganised organisation, with their lines: checked like the others.
    std::vector<std::pair<Cp1251Text, int>> otherInns;
};

struct CertificateReading {
    std::optional<CertificateFile> file; // set when the file was read
    Cp1251Text fault;                    // why it was refused (Windows-1251), empty when read
};

// "2-НДФЛ 5.06" (Windows-1251).
Cp1251Text certificateFormTitle();

// Reads and checks a whole file. A file that is not XML, is cut short, is not a 2-NDFL
// file, is of another version or breaks the schema is refused with the first fault and
// its line; nothing of it is returned.
CertificateReading readIncomeCertificates(std::string_view bytes);

} // namespace kv
