#include "shell/FileNames.h"

#include "core/Text.h"
#include "screens/kit/UiText.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>

namespace kv {

namespace {

constexpr char16_t kEscapedByte = 0xDC00;

bool escapedByte(QChar c) {
    return c.unicode() >= kEscapedByte + 0x80 && c.unicode() <= kEscapedByte + 0xFF;
}

// The length of the well-formed UTF-8 sequence at i, or 0.
int utf8Length(const QByteArray& bytes, qsizetype i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const int n = c < 0x80                 ? 1
                  : c >= 0xC2 && c <= 0xDF ? 2
                  : (c & 0xF0) == 0xE0     ? 3
                  : c >= 0xF0 && c <= 0xF4 ? 4
                                           : 0;
    if (n == 0 || i + n > bytes.size())
        return 0;
    for (int k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

} // namespace

QString fileNameFromBytes(const QByteArray& bytes) {
    QString name;
    for (qsizetype i = 0; i < bytes.size();) {
        const int n = utf8Length(bytes, i);
        if (n == 0) {
            name += QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        name += QString::fromUtf8(bytes.mid(i, n));
        i += n;
    }
    return name;
}

QByteArray fileNameBytes(const QString& name) {
    if (!std::any_of(name.begin(), name.end(), escapedByte))
        return QFile::encodeName(name);
    QByteArray bytes;
    QString run;
    for (const QChar c : name) {
        if (!escapedByte(c)) {
            run += c;
            continue;
        }
        bytes += run.toUtf8();
        run.clear();
        bytes += static_cast<char>(c.unicode() - kEscapedByte);
    }
    return bytes + run.toUtf8();
}

QString fileNameForDisplay(const QString& name) {
    if (!std::any_of(name.begin(), name.end(), escapedByte))
        return name;
    const QByteArray bytes = fileNameBytes(name);
    return fromCp1251(
        Cp1251Text::fromBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(fileNameBytes(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QStringList argumentsFromBytes(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(fileNameFromBytes(QByteArray(argv[i])));
    return arguments;
}

} // namespace kv
