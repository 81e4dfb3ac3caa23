#include "core/StorageErrors.h"

#include "core/Text.h"

namespace kv::msg {

#define KV_MESSAGE(name, text)                                                                               \
    const Cp1251Text& name() {                                                                               \
        static const Cp1251Text s = Cp1251Text::fromUtf8(text);                                              \
        return s;                                                                                            \
    }

Cp1251Text fileRead(const std::string& path) {
    static const Cp1251Text head = Cp1251Text::fromUtf8("Ошибка чтения файла: ");
    static const Cp1251Text tail = Cp1251Text::fromUtf8("Возможно он занят, или с признаком 'read only'");
    return head + Cp1251Text::fromBytes(path) + "\r" + tail;
}

Cp1251Text fileMissing(const std::string& path) {
    static const Cp1251Text head = Cp1251Text::fromUtf8("Ошибка чтения файла: ");
    static const Cp1251Text tail = Cp1251Text::fromUtf8("Такого файла нет");
    return head + Cp1251Text::fromBytes(path) + "\r" + tail;
}

Cp1251Text noReadAccess(const std::string& path) {
    static const Cp1251Text head = Cp1251Text::fromUtf8("Ошибка чтения файла: ");
    static const Cp1251Text tail = Cp1251Text::fromUtf8("Нет прав на чтение этого файла");
    return head + Cp1251Text::fromBytes(path) + "\r" + tail;
}

Cp1251Text nameTooLong(const std::string& path) {
    static const Cp1251Text head = Cp1251Text::fromUtf8("Слишком длинное имя файла: ");
    static const Cp1251Text tail =
        Cp1251Text::fromUtf8("Имя файла не может быть длиннее 255 байт; сократите его");
    return head + Cp1251Text::fromBytes(path) + "\r" + tail;
}

Cp1251Text readOnlyDisk(const std::string& path) {
    static const Cp1251Text head = Cp1251Text::fromUtf8("Не удалось записать файл: ");
    static const Cp1251Text tail = Cp1251Text::fromUtf8("Диск доступен только для чтения");
    return head + Cp1251Text::fromBytes(path) + "\r" + tail;
}

Cp1251Text notRegularFile(const std::string& path) {
    static const Cp1251Text head = Cp1251Text::fromUtf8("Это не файл: ");
    static const Cp1251Text tail =
        Cp1251Text::fromUtf8("Укажите обычный файл, а не папку, канал или устройство");
    return head + Cp1251Text::fromBytes(path) + "\r" + tail;
}

KV_MESSAGE(badFormat, "Неправильный формат файла декларации, возможно он поврежден.")
KV_MESSAGE(zeroLength, "Создаваемый фаил отображения не может быть нулевой длины.")
KV_MESSAGE(noMapping, "Не удается создать отображение файла.")
KV_MESSAGE(noMemory, "Недостаточно свободной памяти.")
KV_MESSAGE(notAllocated, "Не выделена память.")
KV_MESSAGE(readOnly, "Попытка записи в память только для чтения")
KV_MESSAGE(alreadyCreated, "Объект уже был создан.")
KV_MESSAGE(notInitialised, "Попытка доступа к неинициализированным данным.")
KV_MESSAGE(noStream, "Попытка открытия несуществующего потока")
KV_MESSAGE(valueTooLong, "Значение длиннее 9999 байт не может быть записано в файл декларации.")
KV_MESSAGE(pastEnd, "Запись за пределами размера файла декларации.")
KV_MESSAGE(noSpace, "Недостаточно места на диске")
KV_MESSAGE(fileTooLarge, "Превышен допустимый размер файла")

#undef KV_MESSAGE
} // namespace kv::msg
