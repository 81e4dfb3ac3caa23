#pragma once
// "Код по ОКВЭД": the economic activity classifier in six lists, one per level, each
// narrowed by the choice above it; a search over all levels by code or by words of
// the name; and the import of the classifier as Rosstat publishes it, for a person
// whose code the directory beside the program does not hold.
#include "core/Text.h"
#include "reference/Okved.h"

#include <QDialog>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv {

class Asker;

class OkvedPicker : public QDialog {
    Q_OBJECT
public:
    // classifier may be null (no directory beside the program): the lists then hold
    // only "нет" until a classifier is imported. directoryFile is where an import
    // writes the directory.
    OkvedPicker(Asker& asker, const OkvedClassifier* classifier, std::filesystem::path directoryFile,
                QWidget* parent);

    // The code of the entry chosen, when one with a code was chosen; meaningful after OK.
    std::optional<Cp1251Text> chosenCode() const;

public slots:
    void accept() override;

private:
    void setClassifier(const OkvedClassifier* classifier);
    void showModel();
    void levelPicked(int level, int index);
    void search();
    void foundChosen();
    void importCsv();

    Asker& asker_;
    std::filesystem::path directoryFile_;
    std::unique_ptr<OkvedClassifier> imported_; // a classifier imported during this use
    const OkvedClassifier* classifier_ = nullptr;
    std::unique_ptr<OkvedPickerModel> model_;

    std::array<QComboBox*, OkvedPickerModel::kLevels> levels_{};
    QLineEdit* codeEdit_;
    QLineEdit* searchEdit_;
    QTreeWidget* foundList_;
    QPushButton* importButton_;
};

} // namespace kv
