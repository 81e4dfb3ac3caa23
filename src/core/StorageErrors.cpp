#include "core/StorageErrors.h"

#include "core/Text.h"

namespace kv::msg {

#define KV_MESSAGE(name, text)                                                                               \
    const std::string& name() {                                                                              \
        static const std::string s = utf8ToCp1251(text);                                                     \
        return s;                                                                                            \
    }

std::string fileRead(const std::string& path) {
    static const std::string head = utf8ToCp1251("Ошибка чтения файла: ");
    static const std::string tail = utf8ToCp1251("Возможно он занят, или с признаком 'read only'");
    return head + path + '\r' + tail;
}

std::string fileMissing(const std::string& path) {
    static const std::string head = utf8ToCp1251("Ошибка чтения файла: ");
    static const std::string tail = utf8ToCp1251("Такого файла нет");
    return head + path + '\r' + tail;
}

std::string noReadAccess(const std::string& path) {
    static const std::string head = utf8ToCp1251("Ошибка чтения файла: ");
    static const std::string tail = utf8ToCp1251("Нет прав на чтение этого файла");
    return head + path + '\r' + tail;
}

std::string nameTooLong(const std::string& path) {
    static const std::string head = utf8ToCp1251("Слишком длинное имя файла: ");
    static const std::string tail = utf8ToCp1251("Имя файла не может быть длиннее 255 байт; сократите его");
    return head + path + '\r' + tail;
}

std::string readOnlyDisk(const std::string& path) {
    static const std::string head = utf8ToCp1251("Не удалось записать файл: ");
    static const std::string tail = utf8ToCp1251("Диск доступен только для чтения");
    return head + path + '\r' + tail;
}

std::string notRegularFile(const std::string& path) {
    static const std::string head = utf8ToCp1251("Это не файл: ");
    static const std::string tail = utf8ToCp1251("Укажите обычный файл, а не папку, канал или устройство");
    return head + path + '\r' + tail;
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
