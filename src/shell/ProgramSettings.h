#pragma once
// The file the program keeps its settings in between runs (window, toolbars, recent
// files): kvilmar/kvilmar.conf in the user's configuration folder, a path in plain
// ASCII that any tool and any locale can name.
#include <QSettings>
#include <memory>

namespace kv {

// The first time the file is missing, the settings of earlier versions (kept under the
// company's and the program's Russian names) are copied into it; the old file stays.
std::unique_ptr<QSettings> openProgramSettings();

} // namespace kv
