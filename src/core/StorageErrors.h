#pragma once
// Failures of the document file. The messages are shown to the user as they stand.
#include "core/Text.h"

#include <stdexcept>
#include <string>

namespace kv {

class StorageError : public Cp1251Error {
public:
    using Cp1251Error::Cp1251Error;
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
Cp1251Text
fileRead(const std::string& path); // "Ошибка чтения файла: " + path + CR + "Возможно он занят, ..."
// The read failures whose cause is known: the same head, the cause after it.
Cp1251Text fileMissing(const std::string& path); // ... + CR + "Такого файла нет"
Cp1251Text noReadAccess(const std::string& path); // ... + CR + "Нет прав на чтение этого файла"
const Cp1251Text& badFormat(); // "Неправильный формат файла декларации, возможно он поврежден."
const Cp1251Text& zeroLength(); // "Создаваемый фаил отображения не может быть нулевой длины."
const Cp1251Text& noMapping();  // "Не удается создать отображение файла."
const Cp1251Text& noMemory();   // "Недостаточно свободной памяти."
const Cp1251Text& notAllocated(); // "Не выделена память."
const Cp1251Text& readOnly(); // "Попытка записи в память только для чтения"
const Cp1251Text& alreadyCreated(); // "Объект уже был создан."
const Cp1251Text& notInitialised(); // "Попытка доступа к неинициализированным данным."
const Cp1251Text& noStream(); // "Попытка открытия несуществующего потока"
const Cp1251Text& valueTooLong(); // a value longer than the 9999 bytes an item can hold
const Cp1251Text& pastEnd();      // a write beyond the size the file was created with
const Cp1251Text& noSpace();      // "Недостаточно места на диске"
const Cp1251Text& fileTooLarge(); // "Превышен допустимый размер файла"
// A file name longer than the folder takes (255 bytes), and a disk mounted read-only.
Cp1251Text nameTooLong(const std::string& path);
Cp1251Text readOnlyDisk(const std::string& path);
// A path that names a folder, a FIFO or a device where a file is to be read or written.
Cp1251Text notRegularFile(const std::string& path);
} // namespace msg

} // namespace kv
