#pragma once
// A window stand-in for building screens alone in tests, and a screen that does
// what a test tells it and counts how it was used.
#include "ScriptedAsker.h"
#include "core/Date.h"
#include "model/Declaration.h"
#include "reference/Directories.h"
#include "screens/ScreenContainer.h"
#include "screens/ScreenTable.h"
#include "screens/kit/ScreenFrame.h"

#include <map>

namespace kv::test {

inline const FixedClock& testClock() {
    static const FixedClock clock(DateValue::fromDays(43905)); // 15.03.2020
    return clock;
}

class ScreenTestHost : public ScreenHost {
public:
    explicit ScreenTestHost(const ScreenRegistry& registry = ScreenRegistry::standard())
        : document(std::make_unique<Declaration>(testClock())), registry_(registry) {}

    DocumentSlot document;
    ScriptedAsker script;
    Directories loaded;
    RatesImportPlace ratesPlace; // an import in a test writes here, never beside the program
    int changes = 0;             // markDocumentChanged outside the building guard
    bool guard = false;
    std::map<Section, bool> enabled;

    DocumentSlot& documentSlot() override { return document; }
    Asker& asker() override { return script; }
    const ScreenRegistry& screens() const override { return registry_; }
    const Directories& directories() const override { return loaded; }
    const Clock& clock() const override { return testClock(); }
    RatesImportPlace ratesImportPlace() const override { return ratesPlace; }
    void currencyRatesImported(const CurrencyRates& rates) override {
        loaded.currencyRates = rates;
        loaded.currencyRatesState = DirectoryState::Loaded;
    }
    void documentChanged() override {
        if (!guard)
            ++changes;
    }
    bool buildingGuard() const override { return guard; }
    void setBuildingGuard(bool on) override { guard = on; }
    void setSectionEnabled(Section section, bool on) override { enabled[section] = on; }
    bool sectionEnabled(Section section) const override {
        const auto it = enabled.find(section);
        return it == enabled.end() || it->second;
    }

private:
    const ScreenRegistry& registry_;
};

// What a ProbeScreen was asked to do, kept outside it since screens come and go.
struct ProbeLog {
    int built = 0;
    int saves = 0;
    int checks = 0;
    int selections = 0;
    QList<std::uint16_t> focusCodes;
    std::uint16_t checkResult = 0; // what checkData answers
    bool changeWhileBuilding = false;
};

class ProbeScreen : public ScreenFrame {
public:
    ProbeScreen(QWidget* panel, ScreenHost& host, ProbeLog& log) : ScreenFrame(panel, host), log_(log) {
        ++log_.built;
        if (log_.changeWhileBuilding)
            markDocumentChanged();
    }
    void saveData() override { ++log_.saves; }
    std::uint16_t checkData() override {
        ++log_.checks;
        return log_.checkResult;
    }
    void setFocusToElement(std::uint16_t code) override { log_.focusCodes.append(code); }
    void selectFirstEntry() override { ++log_.selections; }
    void edit() { markDocumentChanged(); }

private:
    ProbeLog& log_;
};

// The program's screens with every one that is not a container replaced by a
// probe, each logging into logs[its id]: the window then behaves the same
// whatever the real screens check and save.
inline ScreenRegistry registryOfProbes(std::map<ScreenId, ProbeLog>& logs) {
    ScreenRegistry registry = ScreenRegistry::standard();
    for (const ScreenInfo& row : ScreenRegistry::standard().rows()) {
        const ScreenId id = row.id;
        if (id == ScreenId::RussianIncome || id == ScreenId::Deductions)
            continue;
        registry.setFactory(id, [&logs, id](QWidget* panel, ScreenHost& host) -> ScreenFrame* {
            return new ProbeScreen(panel, host, logs[id]);
        });
    }
    return registry;
}

// The program's screens with one of them replaced by a probe.
inline ScreenRegistry registryWithProbe(ScreenId id, ProbeLog& log) {
    ScreenRegistry registry = ScreenRegistry::standard();
    registry.setFactory(id, [&log](QWidget* panel, ScreenHost& host) -> ScreenFrame* {
        return new ProbeScreen(panel, host, log);
    });
    return registry;
}

// The object name of the screen a container shows inside it; "" when current is no
// container or shows none.
inline QString innerScreenName(QWidget* current) {
    auto* container = qobject_cast<ScreenContainer*>(current);
    return container != nullptr && container->innerScreen() != nullptr
               ? container->innerScreen()->objectName()
               : QString();
}

} // namespace kv::test
