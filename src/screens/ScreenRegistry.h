#pragma once
// Every screen of the program by its identifier: the class name it carries as its
// object name, its title, and how it is built. A screen whose class is not built
// yet shows its title on an empty panel.
#include "screens/ScreenFrame.h"

#include <QString>
#include <functional>
#include <vector>

namespace kv {

using ScreenFactory = std::function<ScreenFrame*(QWidget* panel, ScreenHost& host)>;

struct ScreenInfo {
    ScreenId id;
    QString className;
    QString title;
    ScreenFactory make; // empty: the title on an empty panel
    // Entries of the source list the screen shows first, or -1 for a screen
    // without one; a screen with entries gets its first one selected when shown.
    std::function<int(const Declaration&)> firstListCount;
};

template <class Screen> ScreenFrame* makeScreen(QWidget* panel, ScreenHost& host) {
    return new Screen(panel, host);
}

class ScreenRegistry {
public:
    // The program's table of screens.
    static const ScreenRegistry& standard();

    explicit ScreenRegistry(std::vector<ScreenInfo> rows);

    const ScreenInfo& info(ScreenId id) const;
    // Builds the screen in panel; its object name is its class name.
    ScreenFrame* create(ScreenId id, QWidget* panel, ScreenHost& host) const;
    // Whether the document holds an entry of the screen's first source list.
    bool hasFirstEntry(ScreenId id, const Declaration& document) const;

    // Another way to build one screen, for a window that needs a different one.
    void setFactory(ScreenId id, ScreenFactory make);

private:
    std::vector<ScreenInfo> rows_;
};

} // namespace kv
