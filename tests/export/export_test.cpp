// The whole export: computation, file or text, failures, and the example returns
// written, parsed back and compared element by element.
#include "ExportTestSupport.h"
#include "compute/Arithmetic.h"
#include "export/ExportReturn.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

const std::string kGuid = "0F8FAD5B-D9CB-469F-A165-70867728950E";
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n";

// Every element with its attributes in document order, one line each, names and values UTF-8.
void outline(xmlNodePtr node, int depth, std::string& out) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        out += std::string(static_cast<std::size_t>(depth), ' ') + reinterpret_cast<const char*>(node->name);
        for (xmlAttrPtr a = node->properties; a != nullptr; a = a->next) {
            xmlChar* v = xmlNodeListGetString(node->doc, a->children, 1);
            out += std::string(" ") + reinterpret_cast<const char*>(a->name) + "=[" +
                   (v != nullptr ? reinterpret_cast<const char*>(v) : "") + "]";
            xmlFree(v);
        }
        out += '\n';
        outline(node->children, depth + 1, out);
    }
}

std::string outlineOf(const xml::Element& root) {
    std::string out;
    outline(root.node(), 0, out);
    return out;
}

// The names of the body's children in order, each once per run of equal names.
std::string bodyBlocks(const std::string& bytes) {
    const xml::Document doc = xml::Document::parse(bytes);
    std::string out;
    xmlNodePtr docElement = doc.root().node()->children;
    for (xmlNodePtr n = docElement->children; n != nullptr; n = n->next)
        if (std::string(reinterpret_cast<const char*>(n->name)) == "НДФЛ3")
            for (xmlNodePtr b = n->children; b != nullptr; b = b->next) {
                const std::string name = reinterpret_cast<const char*>(b->name);
                if (out.size() < name.size() + 1 ||
                    out.compare(out.size() - name.size() - 1, name.size(), name) != 0)
                    out += name + " ";
            }
    return out;
}

struct Recorder {
    std::vector<Cp1251Text> messages;
    FixedClock clock{date(2020, 3, 2)};
    FixedIdSource ids{kGuid};
    ExportServices services() {
        return {clock, ids, [this](const Cp1251Text& m) { messages.push_back(m); }};
    }
};

// What every exported file must be: the declaration, no indentation, well-formed
// Windows-1251, and read back into the very tree that was built.
void expectSoundFile(const std::string& bytes, Declaration& doc, const std::string& identifier) {
    ASSERT_EQ(bytes.rfind(kDeclaration, 0), 0u);
    EXPECT_EQ(bytes.find('\n', kDeclaration.size()), bytes.size() - 1) << "one line after the declaration";
    const xml::Document reread = xml::Document::parse(bytes);
    ReturnComputation sum;
    try {
        sum.compute(doc);
    } catch (const ComputationError&) {
    }
    const ExportedReturn built = buildReturnXml(doc, sum, date(2020, 3, 2), kGuid);
    EXPECT_EQ(built.identifier, identifier);
    EXPECT_EQ(outlineOf(reread.root()), outlineOf(built.tree.root()));
    EXPECT_EQ(bytes, built.tree.windows1251Bytes());
}

TEST(ExportReturnDriver, FileAndTextHoldTheSameBytes) {
    Recorder r;
    TempFolder folder;
    Declaration d = smallReturn(r.clock);
    const std::string id = "NO_NDFL3_7701_7701_770123456703_20200302_" + kGuid;

    const std::string name = exportReturn(folder.path().string(), d, kExportToFile, r.services());
    EXPECT_EQ(name, id + ".xml");
    EXPECT_EQ(folder.names(), std::vector<std::string>{name});
    const std::string bytes = readFile(folder.path() / name);
    EXPECT_EQ(exportReturn("/nonexistent/", d, kExportToText, r.services()), bytes);
    EXPECT_TRUE(r.messages.empty()) << (r.messages.empty() ? std::string() : r.messages[0].utf8());
    expectSoundFile(bytes, d, id);
    // The computation ran: it gave the source its income kind and filled Section 2.
    EXPECT_EQ(bytes.find(u("ВидДоход=\"\"").bytes()), std::string::npos);
    EXPECT_NE(bytes.find(u("ДоходОбщ=\"100000.00\"").bytes()), std::string::npos);
}

TEST(ExportReturnDriver, FailuresReturnErrorAndLeaveNoFile) {
    Recorder r;
    TempFolder folder;
    Declaration d = smallReturn(r.clock);

    // A folder that cannot take the file is the person's to change: the name comes
    // back without a message, and the caller finds no file under it.
    const std::string missing = (folder.path() / "missing").string() + "/";
    const std::string name = exportReturn(missing, d, kExportToFile, r.services());
    EXPECT_EQ(name, "NO_NDFL3_7701_7701_770123456703_20200302_" + kGuid + ".xml");
    EXPECT_FALSE(fs::exists(missing + name));
    EXPECT_TRUE(r.messages.empty());

    // A tax office code typed with a path in it must not place the file elsewhere.
    d.inspectionCode = "../x";
    EXPECT_EQ(exportReturn(folder.withSlash(), d, kExportToFile, r.services()), "ERROR");
    EXPECT_TRUE(folder.names().empty());
    const std::string text = exportReturn(folder.withSlash(), d, kExportToText, r.services());
    EXPECT_NE(text.find(u("ИдФайл=\"NO_NDFL3_../x_../x_").bytes()), std::string::npos);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], exportFailedMessage());
}

// The export goes on with what the sheets hold; the sheets the computation did not reach
// are empty, so the file breaks its form and is refused after the computation's message.
TEST(ExportReturnDriver, FailedComputationIsReportedAndItsIncompleteFileRefused) {
    Recorder r;
    TempFolder folder;
    Declaration d = smallReturn(r.clock);
    d.propertyDeductions.granted = 1;
    HousingObject flat;
    flat.objectKind = 2;
    flat.taxpayerSign = 1;
    flat.numberKind = 1;
    flat.objectNumber = "77:01:0001";
    flat.shareDenominator = 0; // a share that cannot be computed
    d.propertyDeductions.objects.add(flat);

    EXPECT_EQ(exportReturn(folder.withSlash(), d, kExportToFile, r.services()), kExportRefused);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0], ComputationError::userMessage());
    EXPECT_NE(
        r.messages[1].utf8().find(
            "Элемент «НалБаза»: элемент стоит не на своем месте или лишний; здесь ожидается «СумНалПу»"),
        std::string::npos)
        << r.messages[1].utf8();
    EXPECT_TRUE(folder.names().empty());
    EXPECT_NE(exportReturn("", d, kExportToText, r.services()).find(u("<ИмущНалВычНов>").bytes()),
              std::string::npos);
}

TEST(ExportReturnDriver, NothingIsIndentedAndValuesRoundTrip) {
    Recorder r;
    Declaration d = smallReturn(r.clock);
    d.person.surname = Cp1251Text::fromBytes(std::string("O'\x01<&>\"  \xB8") + "\n");
    d.person.birthPlace = u("  Москва  ");
    const std::string bytes = exportReturn("", d, kExportToText, r.services());
    expectSoundFile(bytes, d, "NO_NDFL3_7701_7701_770123456703_20200302_" + kGuid);
    const xml::Document reread = xml::Document::parse(bytes);
    EXPECT_NE(outlineOf(reread.root()).find("Фамилия=[O' <&>\"  Ё\n]"), std::string::npos);
}

struct ExampleCase {
    const char* file;
    const char* blocks;  // the body's blocks in order; empty for no check
    const char* refusal; // a violation the schema reports, for a return the check stops
};

TEST(ExportReturnDriver, ExampleReturnsEndToEnd) {
    const ExampleCase cases[] = {
        {"new-return.qv9", "", "Элемент «Документ», атрибут «КодНО»: значение не указано (образец [0-9]{4})"},
        {"typical.qv9", "СумНалПу НалБаза ДоходИстРФ ИмущНалВычНов ", nullptr},
        {"all-records.qv9", "", nullptr},
    };
    for (const ExampleCase& c : cases) {
        const fs::path path = fs::path(KV_EXAMPLES_DIR) / c.file;
        if (!fs::exists(path)) {
            ADD_FAILURE() << "missing example " << path;
            continue;
        }
        Recorder r;
        TempFolder folder;
        Declaration d(r.clock);
        d.loadFromFile(path.string());
        const std::string name = exportReturn(folder.withSlash(), d, kExportToFile, r.services());
        if (c.refusal != nullptr) {
            // A new return does not pass the whole-return check, and the schema refuses its file.
            EXPECT_EQ(name, kExportRefused) << c.file;
            EXPECT_TRUE(folder.names().empty()) << c.file;
            ASSERT_EQ(r.messages.size(), 1u) << c.file;
            EXPECT_NE(r.messages[0].utf8().find(c.refusal), std::string::npos) << r.messages[0].utf8();
            continue;
        }
        ASSERT_NE(name, "ERROR") << c.file;
        EXPECT_TRUE(r.messages.empty()) << c.file << ": " << (r.messages.empty() ? "" : r.messages[0].utf8());
        const std::string bytes = readFile(folder.path() / name);
        expectSoundFile(bytes, d, name.substr(0, name.size() - 4));
        if (*c.blocks != '\0') {
            EXPECT_EQ(bodyBlocks(bytes), c.blocks) << c.file;
        }
    }
}

} // namespace
} // namespace kv::test
