#pragma once
// Parsing of the program's XML texts (the built-in code dictionary and the directory
// files beside the program). The directory files can be replaced by anyone, so the
// parser never touches the network or any file other than the one it was given,
// refuses documents that declare entities, and limits the size it accepts.
#include "core/Text.h"
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

typedef struct _xmlDoc xmlDoc;
typedef struct _xmlNode xmlNode;

namespace kv {

struct XmlDocDeleter {
    void operator()(xmlDoc* doc) const;
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocDeleter>;

// Larger files are not directory files; they are refused unread.
inline constexpr std::uintmax_t kMaxXmlFileBytes = 64u * 1024u * 1024u;

enum class XmlFileState { Missing, Loaded, Unreadable };

struct XmlFile {
    XmlFileState state = XmlFileState::Missing;
    XmlDocPtr doc; // set only when Loaded
};

// Parses XML text; nullptr when it is not well-formed or declares entities.
XmlDocPtr parseXmlText(std::string_view bytes);
// Missing when no regular file is at the path; Unreadable when it cannot be read,
// is too large or does not parse.
XmlFile readXmlFile(const std::filesystem::path& path);

// Navigation and values. Every text comes back in Windows-1251.
xmlNode* rootElement(xmlDoc* doc);
xmlNode* firstChildElement(xmlNode* node);
xmlNode* nextElement(xmlNode* node);
bool hasName(const xmlNode* node, std::string_view name);
bool hasAttribute(xmlNode* node, const char* name);
Cp1251Text attribute1251(xmlNode* node, const char* name); // "" when absent
Cp1251Text text1251(xmlNode* node);
// The first child element with the given name, or nullptr.
xmlNode* childElement(xmlNode* node, std::string_view name);

} // namespace kv
