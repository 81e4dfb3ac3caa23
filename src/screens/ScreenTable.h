#pragma once
// Every screen of the program, one row each: the class name it carries as its object
// name, its title, how it is built, where it is shown (under a section button of the
// main window or inside a container screen), its help page and the faults of the
// whole-return check it shows. The section buttons, their enabling, the help of the
// screen shown and the way to a fault are all read from these rows.
#include "checks/ReturnCheck.h"
#include "screens/kit/Pictures.h"
#include "screens/kit/ScreenFrame.h"

#include <QString>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace kv {

using ScreenFactory = std::function<ScreenFrame*(QWidget* panel, ScreenHost& host)>;
using EnabledTest = std::function<bool(const Declaration&)>;

// The main window's button that shows a screen.
struct SectionPlace {
    Section section;
    QString objectName;
    QString caption;
    QString hint; // empty: no hint
    SectionPicture picture;
    // Whether the button is enabled for a document just loaded or created; afterwards
    // the initial-data screen keeps it in step with what the person marks.
    EnabledTest enabled;
    bool visible = true;
};

// A screen shown inside a container screen, behind one of its inner buttons.
struct InsideContainer {
    ScreenId container;
};

// Faults of the whole-return check this screen shows. A screen that does not list
// the faulty record is opened without the element code.
struct CheckedHere {
    CheckSection section;
    bool listsTheRecord = true;
};

struct ScreenInfo {
    ScreenId id;
    QString className;
    QString title;
    ScreenFactory make; // empty: the title on an empty panel
    // Entries of the source list the screen shows first, or -1 for a screen
    // without one; a screen with entries gets its first one selected when shown.
    std::function<int(const Declaration&)> firstListCount;
    std::variant<SectionPlace, InsideContainer> place;
    QString helpTopic; // empty: the start page of the help
    std::vector<CheckedHere> checked;
};

// Where the whole-return check sends the user for a fault of one check section.
struct FaultRoute {
    Section section;
    std::optional<ScreenId> inner; // the inner screen of the section's container
    bool listsTheRecord;
};

template <class Screen> ScreenFrame* makeScreen(QWidget* panel, ScreenHost& host) {
    return new Screen(panel, host);
}

class ScreenRegistry {
public:
    // The program's table of screens.
    static const ScreenRegistry& standard();

    explicit ScreenRegistry(std::vector<ScreenInfo> rows);

    const std::vector<ScreenInfo>& rows() const { return rows_; }
    const ScreenInfo& info(ScreenId id) const;
    // Builds the screen in panel; its object name is its class name.
    ScreenFrame* create(ScreenId id, QWidget* panel, ScreenHost& host) const;
    // Whether the document holds an entry of the screen's first source list.
    bool hasFirstEntry(ScreenId id, const Declaration& document) const;
    // The page of the help about a screen; empty for the start page.
    QString helpTopic(ScreenId id) const { return info(id).helpTopic; }
    // The section and inner screen showing the faults of a check section; none for a
    // section no screen shows.
    std::optional<FaultRoute> faultRoute(CheckSection section) const;

    // Another way to build one screen, for a window that needs a different one.
    void setFactory(ScreenId id, ScreenFactory make);

private:
    ScreenInfo& row(ScreenId id);

    std::vector<ScreenInfo> rows_;
};

} // namespace kv
