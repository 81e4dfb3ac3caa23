#pragma once
// The economic activity classifier (OKVED 2) and the six-level choice over it.
#include "core/Text.h"
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

typedef struct _xmlDoc xmlDoc;

namespace kv {

struct OkvedEntry {
    Cp1251Text grup;  // level, "1" to "6"
    Cp1251Text name;  // Windows-1251
    Cp1251Text kod;   // hierarchical key: begins with the key of every entry above it
    Cp1251Text okved; // the code shown to the user
    bool hasOkved = false;
};

struct OkvedClassifier {
    std::vector<OkvedEntry> entries; // in document order

    // One entry per child element of the root, from its GRUP, Name, Kod and OKVED
    // children. nullopt when the text does not parse.
    static std::optional<OkvedClassifier> fromXml(std::string_view xml);
    static OkvedClassifier fromDocument(xmlDoc* doc);

    // Entries matching what the user typed, across all levels, in document order.
    // Every word must match: a word of digits and dots is the beginning of the code
    // ("62.0" finds 62.01 and 62.02), any other word a part of the name, letter case
    // and "ё"/"е" aside. Nothing typed finds nothing.
    std::vector<int> search(const Cp1251Text& query) const;
};

// The state behind the classifier picker: six lists, each starting with "нет", and
// the code shown to the user. The window only mirrors it.
class OkvedPickerModel {
public:
    static constexpr int kLevels = 6;

    explicit OkvedPickerModel(const OkvedClassifier& classifier);

    // Items of level 1..6; item 0 is always "нет".
    const std::vector<Cp1251Text>& items(int level) const;
    int currentIndex(int level) const;

    // The user picked item `index` of the level's list.
    void pick(int level, int index);

    // Picks the entry (an index into the classifier's entries, as search() gives it)
    // and every entry above it, level by level, as the user would in the lists.
    // False when the entry cannot be reached that way (a key without its parents).
    bool choose(int entry);

    const Cp1251Text& chosenKey() const { return chosenKey_; }
    const Cp1251Text& display() const { return display_; } // the caller's OKVED code

    // "Да" closes the picker at once only when the chosen key is longer than three
    // characters; otherwise the caller asks the check question below.
    bool keyLongEnough() const { return chosenKey_.size() > 3; }

    static Cp1251Text noneItem();     // "нет"
    static Cp1251Text title();        // "Код по ОКВЭД"
    static Cp1251Text checkTitle();   // "Проверка: ОКВЭД"
    static Cp1251Text checkMessage(); // the length message

private:
    void refillBelow(int level);

    const OkvedClassifier* classifier_;
    struct Level {
        std::vector<Cp1251Text> items;
        std::vector<int> entryOfItem; // -1 for "нет"
        int current = 0;
    };
    std::array<Level, kLevels> levels_;
    Cp1251Text chosenKey_;
    Cp1251Text display_;
};

} // namespace kv
