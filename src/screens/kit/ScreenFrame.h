#pragma once
// The base of every data-entry screen and what a screen needs from the window that
// shows it. A screen is built from the document each time it is shown and
// destroyed when another replaces it; its free-standing fields reach the document
// only through saveData.
#include <QFrame>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace kv {

class Asker;
class Clock;
class ScreenRegistry;
class Declaration;
struct Directories;
struct CurrencyRates;

// Where an import of official rates writes the currency-rate directory, and the
// file it starts from while that one does not exist yet.
struct RatesImportPlace {
    std::filesystem::path target;
    std::filesystem::path seed;
};

// The main window's slot holding the open document. New and Open put another
// document into it, so screens keep the slot, never the document.
using DocumentSlot = std::unique_ptr<Declaration>;

enum class ScreenId : int {
    InitialData,
    Taxpayer,
    RussianIncome, // container of the rate screens
    ForeignIncome,
    Business,
    InvestmentPartnership,
    Deductions, // container of the deduction screens
    ThirteenPercent,
    NinePercent,
    ThirtyFivePercent,
    Dividends, // dividends
    ThirteenPercentNonResident,
    PropertyDeduction,
    SocialDeduction,
    StandardDeduction,
    Securities,
};

// The section buttons of the main window, top to bottom.
enum class Section : int {
    InitialData,
    Taxpayer,
    RussianIncome,
    ForeignIncome,
    BusinessIncome,
    Deductions,
    NoticePayments,
    InvestmentPartnership,
};

class ScreenHost {
public:
    virtual ~ScreenHost() = default;

    virtual DocumentSlot& documentSlot() = 0;
    virtual Asker& asker() = 0;
    virtual const ScreenRegistry& screens() const = 0;
    // The directory files loaded at start-up (tax offices, countries, OKVED, currency rates).
    virtual const Directories& directories() const = 0;
    // Today's date, for fields limited to today (the one the new document and the
    // export take), so a test can fix the day.
    virtual const Clock& clock() const = 0;
    virtual RatesImportPlace ratesImportPlace() const = 0;
    // An import rewrote the currency-rate directory: pickers and rate lookups use the
    // new rates from now on, without a restart.
    virtual void currencyRatesImported(const CurrencyRates& rates) = 0;

    // markDocumentChanged: every change of the document's data by a screen or its
    // dialogs. Marks the document as changed unless the building guard is set.
    virtual void documentChanged() = 0;
    virtual bool buildingGuard() const = 0;
    virtual void setBuildingGuard(bool on) = 0;

    // The initial-data screen keeps the section buttons in step with its boxes.
    virtual void setSectionEnabled(Section section, bool enabled) = 0;
    virtual bool sectionEnabled(Section section) const = 0;
};

// Sets the building guard for a scope and puts back what it was.
class ScreenBuildGuard {
public:
    explicit ScreenBuildGuard(ScreenHost& host) : host_(host), previous_(host.buildingGuard()) {
        host_.setBuildingGuard(true);
    }
    ~ScreenBuildGuard() { host_.setBuildingGuard(previous_); }
    ScreenBuildGuard(const ScreenBuildGuard&) = delete;
    ScreenBuildGuard& operator=(const ScreenBuildGuard&) = delete;

private:
    ScreenHost& host_;
    bool previous_;
};

class ScreenFrame : public QFrame {
    Q_OBJECT
public:
    ScreenFrame(QWidget* panel, ScreenHost& host);

    // Copies the free-standing fields into the document. Shows nothing.
    virtual void saveData() = 0;
    // Shows each fault in TfmCheckError; 0 when nothing is to be fixed, otherwise a
    // code only this screen interprets.
    virtual std::uint16_t checkData() = 0;
    // Puts the user at the element a code names; unknown codes are ignored.
    virtual void setFocusToElement(std::uint16_t code) = 0;
    // Screens with a source list give it the focus and select its first entry.
    virtual void selectFirstEntry() {}

    ScreenId screenId() const { return screenId_; }

protected:
    Declaration& document() const { return *slot_; }
    ScreenHost& host() const { return host_; }
    void markDocumentChanged() { host_.documentChanged(); }

private:
    friend class ScreenRegistry;

    DocumentSlot& slot_;
    ScreenHost& host_;
    ScreenId screenId_ = ScreenId::InitialData;
};

} // namespace kv
