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

std::string OkvedPickerModel::noneItem() {
    return utf8ToCp1251("нет");
}
std::string OkvedPickerModel::title() {
    return utf8ToCp1251("Код по ОКВЭД");
}
std::string OkvedPickerModel::checkTitle() {
    return utf8ToCp1251("Проверка: ОКВЭД");
}
std::string OkvedPickerModel::checkMessage() {
    return utf8ToCp1251("Длина кода ОКВЭД должна быть не меньше 4 знаков вклячая точку");
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

const std::vector<std::string>& OkvedPickerModel::items(int level) const {
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

void OkvedPickerModel::refillBelow(int level) {
    const auto& entries = classifier_->entries;
    for (int deeper = level + 1; deeper <= kLevels; ++deeper) {
        Level& l = levels_[deeper - 1];
        l.items = {noneItem()};
        l.entryOfItem = {-1};
        l.current = 0;
        const std::string grup = std::to_string(deeper);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].grup == grup && entries[i].kod.starts_with(chosenKey_)) {
                l.items.push_back(entries[i].name);
                l.entryOfItem.push_back(static_cast<int>(i));
            }
        }
    }
}

} // namespace kv
