#pragma once
// The picker of identity document kinds, from the program's fixed table.
#include "core/Text.h"
#include "screens/pickers/CodePicker.h"

#include <string>

namespace kv {

struct DocumentKindChoice {
    int kind = 0;
    Cp1251Text name; // Windows-1251
};

class DocumentTypePicker : public CodePicker {
    Q_OBJECT
public:
    // kind 0 preselects nothing.
    DocumentTypePicker(int currentKind, QWidget* parent);

    std::optional<DocumentKindChoice> choose();
};

} // namespace kv
