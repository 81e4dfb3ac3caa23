#pragma once
// An exported file read back in the road tests.
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <libxml/parser.h>

namespace kv::test {

// An exported file read back: elements found by their path of names from the
// root, attributes as UTF-8 text.
class XmlFile {
public:
    explicit XmlFile(const QString& path)
        : doc_(xmlReadFile(QFile::encodeName(path).constData(), nullptr, 0)) {}
    ~XmlFile() {
        if (doc_ != nullptr)
            xmlFreeDoc(doc_);
    }
    XmlFile(const XmlFile&) = delete;
    XmlFile& operator=(const XmlFile&) = delete;

    bool loaded() const { return doc_ != nullptr; }

    // Every element at the path ("Файл/Документ/НДФЛ3/СумНалПу"), in document order.
    QList<xmlNodePtr> elements(const QString& path) const {
        QList<xmlNodePtr> found;
        if (doc_ != nullptr)
            collect(xmlDocGetRootElement(doc_), path.split(QLatin1Char('/')), 0, found);
        return found;
    }

    // The attribute of the only element at the path; "<n elements>" when there is not exactly one.
    QString value(const QString& path, const QString& attribute) const {
        const QList<xmlNodePtr> found = elements(path);
        if (found.size() != 1)
            return QStringLiteral("<%1 elements>").arg(found.size());
        return attributeOf(found.first(), attribute);
    }

    static QString attributeOf(xmlNodePtr node, const QString& attribute) {
        xmlChar* text = xmlGetProp(node, reinterpret_cast<const xmlChar*>(attribute.toUtf8().constData()));
        if (text == nullptr)
            return QStringLiteral("<none>");
        const QString value = QString::fromUtf8(reinterpret_cast<const char*>(text));
        xmlFree(text);
        return value;
    }

private:
    static void collect(xmlNodePtr node, const QStringList& names, qsizetype depth,
                        QList<xmlNodePtr>& found) {
        for (; node != nullptr; node = node->next) {
            if (node->type != XML_ELEMENT_NODE ||
                QString::fromUtf8(reinterpret_cast<const char*>(node->name)) != names.at(depth))
                continue;
            if (depth + 1 == names.size())
                found.append(node);
            else
                collect(node->children, names, depth + 1, found);
        }
    }

    xmlDocPtr doc_;
};

} // namespace kv::test
