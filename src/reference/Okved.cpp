#include "reference/Okved.h"

#include "core/Text.h"
#include "reference/XmlRead.h"

#include <stdexcept>

namespace kv {

OkvedClassifier OkvedClassifier::fromDocument(xmlDoc* doc) {
    OkvedClassifier c;
    for (xmlNode* e = firstChildElement(rootElement(doc)); e != nullptr; e = nextElement(e)) {
        OkvedEntry entry;
        if (xmlNode* n = childElement(e, "GRUP"))
            entry.grup = trimText(text1251(n));
        if (xmlNode* n = childElement(e, "Name"))
            entry.name = text1251(n);
        if (xmlNode* n = childElement(e, "Kod"))
            entry.kod = trimText(text1251(n));
        if (xmlNode* n = childElement(e, "OKVED")) {
            entry.okved = trimText(text1251(n));
            entry.hasOkved = true;
        }
        c.entries.push_back(std::move(entry));
    }
    return c;
}

std::optional<OkvedClassifier> OkvedClassifier::fromXml(std::string_view xml) {
    XmlDocPtr doc = parseXmlText(xml);
    if (!doc)
        return std::nullopt;
    return fromDocument(doc.get());
}

namespace {

// Lower case for matching: Latin and Cyrillic letters, "ё" taken as "е".
std::string foldCp1251(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c + 32);
        else if (c >= 0xC0 && c <= 0xDF)
            c = static_cast<unsigned char>(c + 32);
        else if (c == 0xA8 || c == 0xB8) // Ё ё
            c = 0xE5;                    // е
        ch = static_cast<char>(c);
    }
    return out;
}

bool isCodeWord(std::string_view word) {
    for (char c : word)
        if (!((c >= '0' && c <= '9') || c == '.'))
            return false;
    return true;
}

} // namespace

std::vector<int> OkvedClassifier::search(const Cp1251Text& query) const {
    std::vector<std::string> words;
    const std::string folded = foldCp1251(query.bytes());
    std::size_t i = 0;
    while (i < folded.size()) {
        while (i < folded.size() && static_cast<unsigned char>(folded[i]) <= 0x20)
            ++i;
        std::size_t end = i;
        while (end < folded.size() && static_cast<unsigned char>(folded[end]) > 0x20)
            ++end;
        if (end > i)
            words.push_back(folded.substr(i, end - i));
        i = end;
    }
    std::vector<int> found;
    if (words.empty())
        return found;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const OkvedEntry& entry = entries[e];
        const std::string name = foldCp1251(entry.name.bytes());
        bool all = true;
        for (const std::string& word : words) {
            const bool hit = isCodeWord(word) ? entry.hasOkved && entry.okved.bytes().starts_with(word)
                                              : name.find(word) != std::string::npos;
            if (!hit) {
                all = false;
                break;
            }
        }
        if (all)
            found.push_back(static_cast<int>(e));
    }
    return found;
}

Cp1251Text OkvedPickerModel::noneItem() {
    return Cp1251Text::fromUtf8("нет");
}
Cp1251Text OkvedPickerModel::title() {
    return Cp1251Text::fromUtf8("Код по ОКВЭД");
}
Cp1251Text OkvedPickerModel::checkTitle() {
    return Cp1251Text::fromUtf8("Проверка: ОКВЭД");
}
Cp1251Text OkvedPickerModel::checkMessage() {
    return Cp1251Text::fromUtf8("Длина кода ОКВЭД должна быть не меньше 4 знаков вклячая точку");
}

OkvedPickerModel::OkvedPickerModel(const OkvedClassifier& classifier)
    : classifier_(&classifier), display_(noneItem()) {
    for (auto& level : levels_) {
        level.items = {noneItem()};
        level.entryOfItem = {-1};
    }
    const auto& entries = classifier_->entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].grup == "1") {
            levels_[0].items.push_back(entries[i].name);
            levels_[0].entryOfItem.push_back(static_cast<int>(i));
        }
    }
}

const std::vector<Cp1251Text>& OkvedPickerModel::items(int level) const {
    if (level < 1 || level > kLevels)
        throw std::out_of_range("OKVED level");
    return levels_[level - 1].items;
}

int OkvedPickerModel::currentIndex(int level) const {
    if (level < 1 || level > kLevels)
        throw std::out_of_range("OKVED level");
    return levels_[level - 1].current;
}

void OkvedPickerModel::pick(int level, int index) {
    if (level < 1 || level > kLevels)
        return;
    Level& l = levels_[level - 1];
    if (index < 0 || index >= static_cast<int>(l.items.size()))
        return;
    l.current = index;
    const int entry = l.entryOfItem[index];
    if (entry < 0) {
        // "нет" in a list that offers nothing else changes nothing.
        if (l.items.size() > 1) {
            for (int deeper = level; deeper < kLevels; ++deeper) {
                levels_[deeper].items = {noneItem()};
                levels_[deeper].entryOfItem = {-1};
                levels_[deeper].current = 0;
            }
        }
        return;
    }
    // The row knows its entry, so a name that occurs under several parents still
    // leads to the entry the user saw.
    const OkvedEntry& chosen = classifier_->entries[static_cast<std::size_t>(entry)];
    chosenKey_ = chosen.kod;
    if (chosen.hasOkved)
        display_ = chosen.okved;
    refillBelow(level);
}

bool OkvedPickerModel::choose(int entry) {
    const auto& entries = classifier_->entries;
    if (entry < 0 || static_cast<std::size_t>(entry) >= entries.size())
        return false;
    const OkvedEntry& target = entries[static_cast<std::size_t>(entry)];
    int targetLevel = 0;
    for (int level = 1; level <= kLevels; ++level)
        if (target.grup.bytes() == std::to_string(level))
            targetLevel = level;
    if (targetLevel == 0)
        return false;
    for (int level = 1; level <= targetLevel; ++level) {
        const Level& l = levels_[level - 1];
        // The target itself on its own level; above it, the entry whose key the
        // target's key begins with (the longest, should keys overlap).
        int best = -1;
        std::size_t bestLength = 0;
        for (std::size_t item = 1; item < l.items.size(); ++item) {
            const int candidate = l.entryOfItem[item];
            const Cp1251Text& kod = entries[static_cast<std::size_t>(candidate)].kod;
            if (level == targetLevel ? candidate == entry
                                     : target.kod.starts_with(kod) && kod.size() >= bestLength) {
                best = static_cast<int>(item);
                bestLength = kod.size();
                if (level == targetLevel)
                    break;
            }
        }
        if (best < 0)
            return false;
        pick(level, best);
    }
    return true;
}

void OkvedPickerModel::refillBelow(int level) {
    const auto& entries = classifier_->entries;
    for (int deeper = level + 1; deeper <= kLevels; ++deeper) {
        Level& l = levels_[deeper - 1];
        l.items = {noneItem()};
        l.entryOfItem = {-1};
        l.current = 0;
        const std::string grup = std::to_string(deeper);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].grup.bytes() == grup && entries[i].kod.starts_with(chosenKey_)) {
                l.items.push_back(entries[i].name);
                l.entryOfItem.push_back(static_cast<int>(i));
            }
        }
    }
}

} // namespace kv
