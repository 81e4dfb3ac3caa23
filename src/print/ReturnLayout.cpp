#include "print/ReturnLayout.h"

#include "print/BarcodeChunks.h"
#include "print/FormTables.h"
#include "print/PageGeometry.h"
#include "print/TextWrap.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <set>

namespace kv::print {

namespace g = geometry;

namespace {

constexpr std::string_view kPageCount = "$pageCount";

std::string_view nameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

bool isElement(const xmlNode* node, std::string_view name = {}) {
    return node != nullptr && node->type == XML_ELEMENT_NODE && (name.empty() || nameOf(node) == name);
}

xmlNode* child(const xmlNode* parent, std::string_view name) {
    for (xmlNode* n = parent->children; n != nullptr; n = n->next)
        if (isElement(n, name))
            return n;
    return nullptr;
}

std::string attrValue(const xmlAttr* attr) {
    std::string value;
    for (const xmlNode* t = attr->children; t != nullptr; t = t->next)
        if (t->content != nullptr)
            value += reinterpret_cast<const char*>(t->content);
    return value;
}

xmlAttr* attribute(const xmlNode* node, std::string_view name) {
    for (xmlAttr* a = node->properties; a != nullptr; a = a->next)
        if (reinterpret_cast<const char*>(a->name) == name)
            return a;
    return nullptr;
}

// A line of a sheet before it is wrapped.
struct Item {
    PrintLine::Kind kind;
    std::string code, label, value;
    std::string key; // a value the layout fills in later ("$pageCount")
};

struct Sheet {
    std::string name, title;
    std::vector<Item> items;
};

// Turns elements into the lines of their sheet by the form's tables; whatever
// the tables do not name is printed under its XML name.
class Emitter {
public:
    Emitter(std::vector<Item>& out, const LayoutOptions& options) : out_(out), options_(options) {}

    // Elements (below the one being printed) that belong to another sheet.
    void exclude(const xmlNode* node) { placed_.insert(node); }

    void element(const xmlNode* node, const forms::ElementForm* form, const std::string& heading) {
        if (!heading.empty())
            out_.push_back({PrintLine::Kind::Heading, "", heading, "", ""});
        std::string pending;
        auto flush = [&] {
            if (!pending.empty())
                out_.push_back({PrintLine::Kind::Heading, "", pending, "", ""});
            pending.clear();
        };
        if (form != nullptr) {
            for (const forms::Row& row : form->rows) {
                if (row.path.starts_with('#')) {
                    pending = std::string(row.path.substr(1));
                } else if (row.path.starts_with('*')) {
                    const std::string_view name = row.path.substr(1);
                    std::vector<const xmlNode*> blocks;
                    for (const xmlNode* n = node->children; n != nullptr; n = n->next)
                        if (isElement(n, name) && !placed_.contains(n))
                            blocks.push_back(n);
                    if (!blocks.empty())
                        flush();
                    placeBlocks(blocks);
                } else if (row.path.starts_with('$')) {
                    std::string value;
                    if (row.path == "$inspectionName")
                        value = options_.inspectionName;
                    if (value.empty() && row.path != kPageCount)
                        continue;
                    flush();
                    out_.push_back({PrintLine::Kind::Field, std::string(row.code), std::string(row.label),
                                    value, std::string(row.path)});
                } else if (row.path.starts_with('-')) {
                    resolve(node, row.path.substr(1));
                } else if (const xmlAttr* attr = resolve(node, row.path)) {
                    flush();
                    out_.push_back({PrintLine::Kind::Field, std::string(row.code), std::string(row.label),
                                    attrValue(attr), ""});
                }
            }
        }
        leftovers(node);
    }

    // Blocks of sibling elements; numbered when there is more than one of a kind.
    void placeBlocks(const std::vector<const xmlNode*>& nodes) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const xmlNode* n = nodes[i];
            placed_.insert(n);
            const forms::ElementForm* form = forms::elementForm(nameOf(n));
            std::string heading = form != nullptr ? std::string(form->block) : std::string(nameOf(n));
            std::size_t same = 0, index = 0;
            for (const xmlNode* m : nodes)
                if (nameOf(m) == nameOf(n)) {
                    ++same;
                    if (m == n)
                        index = same;
                }
            if (!heading.empty() && same > 1)
                heading += " № " + std::to_string(index);
            element(n, form, heading);
        }
    }

private:
    // The attribute a path names, marking the elements on the way as printed here.
    const xmlAttr* resolve(const xmlNode* node, std::string_view path) {
        std::vector<const xmlNode*> way;
        while (true) {
            const std::size_t slash = path.find('/');
            if (slash == std::string_view::npos)
                break;
            node = child(node, path.substr(0, slash));
            if (node == nullptr || placed_.contains(node))
                return nullptr;
            way.push_back(node);
            path.remove_prefix(slash + 1);
        }
        xmlAttr* attr = attribute(node, path);
        if (attr == nullptr || used_.contains(attr))
            return nullptr;
        used_.insert(attr);
        absorbed_.insert(way.begin(), way.end());
        return attr;
    }

    void leftovers(const xmlNode* node) {
        for (const xmlAttr* a = node->properties; a != nullptr; a = a->next)
            if (!used_.contains(a)) {
                used_.insert(a);
                out_.push_back(
                    {PrintLine::Kind::Field, "", reinterpret_cast<const char*>(a->name), attrValue(a), ""});
            }
        std::vector<const xmlNode*> blocks;
        for (const xmlNode* n = node->children; n != nullptr; n = n->next) {
            if (!isElement(n) || placed_.contains(n))
                continue;
            if (absorbed_.contains(n)) {
                placeBlocks(blocks);
                blocks.clear();
                leftovers(n);
            } else {
                blocks.push_back(n);
            }
        }
        placeBlocks(blocks);
    }

    std::vector<Item>& out_;
    const LayoutOptions& options_;
    std::set<const xmlAttr*> used_;
    std::set<const xmlNode*> absorbed_, placed_;
};

std::string firstLetter(const std::string& word) {
    if (word.empty())
        return {};
    std::size_t n = 1;
    while (n < word.size() && (static_cast<unsigned char>(word[n]) & 0xC0) == 0x80)
        ++n;
    return word.substr(0, n) + ".";
}

PrintLine wrapItem(const Item& item) {
    PrintLine line;
    line.kind = item.kind;
    line.code = item.code;
    if (item.kind == PrintLine::Kind::Heading) {
        line.label = wrapText(item.label, g::kHeadingChars);
        line.height = g::kHeadingSpaceAbove + static_cast<double>(line.label.size()) * g::kHeadingLine + 1.0;
        return line;
    }
    line.label = wrapText(item.label, g::kLabelChars);
    line.value = wrapText(item.value, g::kValueChars);
    return line;
}

double fieldHeight(std::size_t labelLines, std::size_t valueLines) {
    return std::max({static_cast<double>(labelLines) * g::kLabelLine,
                     static_cast<double>(valueLines) * g::kValueLine, g::kMinLineHeight - g::kLinePadding}) +
           g::kLinePadding;
}

double bodyTop(const std::vector<std::string>& title) {
    return g::kTitleTop + static_cast<double>(title.size()) * g::kTitleLine + g::kTitleGap;
}

// Pages of one sheet, broken between blocks where they can be; a value too long
// for a whole page goes on over the next pages under the same code.
// Lines that show the number of pages are noted in slots, to be filled once it is known.
using Slot = std::pair<std::size_t, std::size_t>;

void paginate(const Sheet& sheet, std::vector<PrintPage>& pages, std::vector<Slot>& pageCountSlots) {
    std::vector<PrintLine> lines;
    for (const Item& item : sheet.items) {
        lines.push_back(wrapItem(item));
        if (item.kind == PrintLine::Kind::Field)
            lines.back().height = fieldHeight(lines.back().label.size(), lines.back().value.size());
    }
    const auto firstTitle = wrapText(sheet.title, g::kTitleChars);
    const auto nextTitle = wrapText(sheet.title + " (продолжение)", g::kTitleChars);
    auto newPage = [&](bool continued) {
        PrintPage page;
        page.sheet = sheet.name;
        page.title = continued ? nextTitle : firstTitle;
        page.continued = continued;
        pages.push_back(std::move(page));
        return bodyTop(pages.back().title);
    };
    double y = newPage(false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PrintLine line = lines[i];
        // A heading starts a block: the block goes to a new page rather than be
        // split, unless it is longer than a page; then its heading keeps at least
        // the line after it.
        double need = line.height;
        if (line.kind == PrintLine::Kind::Heading) {
            double block = line.height;
            for (std::size_t j = i + 1; j < lines.size() && lines[j].kind == PrintLine::Kind::Field; ++j)
                block += lines[j].height;
            if (block <= g::kBodyBottom - bodyTop(nextTitle))
                need = block;
            else if (i + 1 < lines.size())
                need += std::min(lines[i + 1].height, g::kMinLineHeight * 2);
        }
        if (y + need > g::kBodyBottom && !pages.back().lines.empty())
            y = newPage(true);
        while (line.kind == PrintLine::Kind::Field && y + line.height > g::kBodyBottom) {
            const double room = g::kBodyBottom - y - g::kLinePadding;
            const auto fit = static_cast<std::size_t>(std::max(1.0, room / g::kValueLine));
            PrintLine part = line;
            part.value.assign(line.value.begin(), line.value.begin() + static_cast<std::ptrdiff_t>(fit));
            part.height = fieldHeight(std::min(part.label.size(), fit), fit);
            part.label.resize(std::min(part.label.size(), std::max<std::size_t>(1, fit)));
            pages.back().lines.push_back(part);
            line.value.erase(line.value.begin(), line.value.begin() + static_cast<std::ptrdiff_t>(fit));
            line.label = {"(продолжение)"};
            line.height = fieldHeight(1, line.value.size());
            y = newPage(true);
        }
        if (sheet.items[i].key == kPageCount)
            pageCountSlots.emplace_back(pages.size() - 1, pages.back().lines.size());
        pages.back().lines.push_back(line);
        y += line.height;
    }
}

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

XmlDoc parse(std::string_view xml) {
    if (xml.empty() || xml.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw LayoutError("нет данных декларации для печати");
    XmlDoc doc(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                             XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
               &xmlFreeDoc);
    if (!doc)
        throw LayoutError("данные для печати не являются XML-файлом декларации");
    return doc;
}

} // namespace

PrintLayout layoutReturn(std::string_view xml, const LayoutOptions& options) {
    const XmlDoc doc = parse(xml);
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    const xmlNode* document = isElement(root, "Файл") ? child(root, "Документ") : nullptr;
    if (document == nullptr)
        throw LayoutError("данные для печати не являются декларацией: нет элементов «Файл» и «Документ»");

    PrintLayout layout;
    const xmlNode* body3 = child(document, "НДФЛ3");
    const xmlNode* body4 = child(document, "НДФЛ4");
    auto rootValue = [](const xmlNode* node, const char* name) {
        const xmlAttr* attr = attribute(node, name);
        return attr != nullptr ? attrValue(attr) : std::string();
    };
    layout.knd = rootValue(document, "КНД");
    layout.fileId = rootValue(root, "ИдФайл");
    layout.formatVersion = rootValue(root, "ВерсФорм");
    layout.programVersion = rootValue(root, "ВерсПрог");
    layout.form4 = body3 == nullptr && (body4 != nullptr || layout.knd == "1151021");
    layout.formName = layout.form4 ? "4-НДФЛ" : "3-НДФЛ";

    const xmlNode* person = child(document, "СвНП");
    const xmlNode* taxpayer = person != nullptr ? child(person, layout.form4 ? "НПФЛ" : "НПФЛ3") : nullptr;
    if (taxpayer != nullptr) {
        const xmlNode* withInn = layout.form4 ? taxpayer : child(taxpayer, "СведФЛ1");
        if (withInn != nullptr)
            if (const xmlAttr* inn = attribute(withInn, "ИННФЛ"))
                layout.inn = attrValue(inn);
        if (const xmlNode* name = child(taxpayer, layout.form4 ? "ФИО" : "ФИОФЛ")) {
            auto part = [&](const char* a) {
                const xmlAttr* attr = attribute(name, a);
                return attr != nullptr ? attrValue(attr) : std::string();
            };
            layout.shortName = part("Фамилия");
            for (const std::string& initial : {firstLetter(part("Имя")), firstLetter(part("Отчество"))})
                if (!initial.empty())
                    layout.shortName += " " + initial;
        }
    }

    std::vector<Sheet> sheets;
    {
        Sheet title{"Титульный лист",
                    "Титульный лист. Налоговая декларация по налогу на доходы физических лиц (форма " +
                        layout.formName + ")",
                    {}};
        Emitter emitter(title.items, options);
        if (body3 != nullptr)
            emitter.exclude(body3);
        emitter.element(root, &forms::titlePage(), "");
        sheets.push_back(std::move(title));
    }
    if (body3 != nullptr) {
        // Runs of the same element make one sheet; Section 2 has a sheet for each rate.
        std::vector<const xmlNode*> run;
        auto closeRun = [&] {
            if (run.empty())
                return;
            const forms::SheetForm* form = forms::sheetForm(nameOf(run.front()));
            Sheet sheet;
            sheet.name = form != nullptr ? std::string(form->sheet) : std::string(nameOf(run.front()));
            sheet.title = form != nullptr ? std::string(form->title) : std::string(nameOf(run.front()));
            if (form != nullptr && form->onePerElement)
                if (const xmlAttr* rate = attribute(run.front(), "Ставка"); rate && !attrValue(rate).empty())
                    sheet.title += " " + attrValue(rate) + "%";
            Emitter emitter(sheet.items, options);
            emitter.placeBlocks(run);
            sheets.push_back(std::move(sheet));
            run.clear();
        };
        for (const xmlNode* n = body3->children; n != nullptr; n = n->next) {
            if (!isElement(n))
                continue;
            const forms::SheetForm* form = forms::sheetForm(nameOf(n));
            if (!run.empty() &&
                (nameOf(run.front()) != nameOf(n) || (form != nullptr && form->onePerElement)))
                closeRun();
            run.push_back(n);
        }
        closeRun();
    }

    std::vector<Slot> pageCountSlots;
    for (const Sheet& sheet : sheets)
        paginate(sheet, layout.pages, pageCountSlots);

    const std::size_t sheetPages = layout.pages.size();
    // PDF417 packs some byte sequences less tightly than others; a part whose
    // symbol would not fit its place makes the layout cut smaller parts.
    std::vector<std::string> chunks;
    std::vector<BarcodeSymbol> symbols;
    for (std::size_t payload = options.chunkPayload ? options.chunkPayload : kChunkPayload;;
         payload = payload * 9 / 10) {
        try {
            chunks = splitIntoChunks(xml, sheetPages, payload);
            symbols.clear();
            for (const std::string& chunk : chunks)
                symbols.push_back(encodePdf417(chunk));
            break;
        } catch (const ChunkError& e) {
            throw LayoutError(e.what());
        } catch (const BarcodeError& e) {
            if (payload < 40)
                throw LayoutError(e.what());
        }
    }
    for (std::size_t i = sheetPages; i < chunks.size(); ++i) {
        PrintPage page;
        page.sheet = "Штрих-код";
        page.title = wrapText("Машиночитаемые данные декларации (продолжение)", g::kTitleChars);
        page.barcodeOnly = true;
        layout.pages.push_back(std::move(page));
    }
    const std::string pageCount = std::to_string(layout.pages.size());
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        PrintPage& page = layout.pages[i];
        page.number = static_cast<int>(i + 1);
        page.barcodePart = static_cast<int>(i + 1);
        page.barcodeParts = static_cast<int>(chunks.size());
        page.barcodeData = std::move(chunks[i]);
        page.barcode = std::move(symbols[i]);
    }
    for (const auto& [pageIndex, lineIndex] : pageCountSlots)
        layout.pages[pageIndex].lines[lineIndex].value = {pageCount};
    return layout;
}

std::string pageText(const PrintLayout& layout, const PrintPage& page) {
    std::string text = "ИНН " + layout.inn + " Стр. " + std::to_string(page.number) + "\n";
    text += "Форма " + layout.formName + " " + layout.shortName + "\n";
    for (const std::string& t : page.title)
        text += t + "\n";
    for (const PrintLine& line : page.lines) {
        std::string row = line.code;
        for (const auto* part : {&line.label, &line.value})
            for (const std::string& s : *part)
                row += (row.empty() ? "" : " ") + s;
        text += row + "\n";
    }
    for (const std::string& line : barcodeCaption(layout, page))
        text += line + "\n";
    return text;
}

std::vector<std::string> barcodeCaption(const PrintLayout& layout, const PrintPage& page) {
    std::vector<std::string> caption{"Штрих-код PDF417 с данными декларации: часть " +
                                     std::to_string(page.barcodePart) + " из " +
                                     std::to_string(page.barcodeParts)};
    std::string file;
    if (!layout.fileId.empty())
        file = "Файл " + layout.fileId + ".xml";
    if (!layout.formatVersion.empty())
        file += (file.empty() ? "Формат " : ", формат ") + layout.formatVersion;
    if (!layout.programVersion.empty())
        file += (file.empty() ? "" : ", ") + layout.programVersion;
    if (!file.empty())
        caption.push_back(file);
    return caption;
}

} // namespace kv::print
