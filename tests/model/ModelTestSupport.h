#pragma once
// Small helpers shared by the model tests.
#include "core/Money.h"
#include "core/StorageErrors.h"
#include "core/Text.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace kv::test {

inline Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// The same text as the bytes a document stores.
inline std::string cpBytes(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8).bytes();
}

// A damaged document fails with a storage failure or a conversion failure,
// which the document loader reports as a bad format; nothing else may escape.
inline ::testing::AssertionResult failsAsDamaged(const std::function<void()>& load) {
    try {
        load();
    } catch (const StorageError&) {
        return ::testing::AssertionSuccess();
    } catch (const ConversionError&) {
        return ::testing::AssertionSuccess();
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "unexpected exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "loaded without a failure";
}

} // namespace kv::test
