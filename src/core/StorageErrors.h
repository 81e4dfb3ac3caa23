#pragma once
// Failures of the document file. The messages are shown to the user as they stand.
#include <stdexcept>
#include <string>

namespace kv {

class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class StorageAllocationError : public StorageError {
public:
    using StorageError::StorageError;
};
class StorageWriteError : public StorageError {
public:
    using StorageError::StorageError;
};
class BadStorageError : public StorageError {
public:
    using StorageError::StorageError;
};
class StorageAlreadyCreatedError : public StorageError {
public:
    using StorageError::StorageError;
};
class ObjectAccessError : public StorageError {
public:
    using StorageError::StorageError;
};
class StreamOpenError : public StorageError {
public:
    using StorageError::StorageError;
};

// A number in an item that does not parse; not one of the storage failures.
// The document loader and the file commands turn it into the bad-format message.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The messages, in Windows-1251, exactly as the user sees them.
namespace msg {
std::string
fileRead(const std::string& path); // "Ошибка чтения файла: " + path + CR + "Возможно он занят, ..."
// The read failures whose cause is known: the same head, the cause after it.
std::string fileMissing(const std::string& path); // ... + CR + "Такого файла нет"
std::string noReadAccess(const std::string& path); // ... + CR + "Нет прав на чтение этого файла"
const std::string& badFormat(); // "Неправильный формат файла декларации, возможно он поврежден."
const std::string& zeroLength(); // "Создаваемый фаил отображения не может быть нулевой длины."
const std::string& noMapping();  // "Не удается создать отображение файла."
const std::string& noMemory();   // "Недостаточно свободной памяти."
const std::string& notAllocated(); // "Не выделена память."
const std::string& readOnly(); // "Попытка записи в память только для чтения"
const std::string& alreadyCreated(); // "Объект уже был создан."
const std::string& notInitialised(); // "Попытка доступа к неинициализированным данным."
const std::string& noStream(); // "Попытка открытия несуществующего потока"
const std::string& valueTooLong(); // a value longer than the 9999 bytes an item can hold
const std::string& pastEnd();      // a write beyond the size the file was created with
const std::string& noSpace();      // "Недостаточно места на диске"
const std::string& fileTooLarge(); // "Превышен допустимый размер файла"
// A file name longer than the folder takes (255 bytes), and a disk mounted read-only.
std::string nameTooLong(const std::string& path);
std::string readOnlyDisk(const std::string& path);
// A path that names a folder, a FIFO or a device where a file is to be read or written.
std::string notRegularFile(const std::string& path);
} // namespace msg

} // namespace kv
