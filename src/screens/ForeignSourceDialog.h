#pragma once
// "Доход": the payer of an income received abroad, with its country. The dialog
// edits a copy; the screen takes the name and country only after "Да".
#include "model/ForeignBusiness.h"
#include "reference/Directories.h"

#include <QDialog>
#include <optional>

class QToolButton;

namespace kv {

class Asker;
class FieldEdit;

class ForeignSourceDialog : public QDialog {
    Q_OBJECT
public:
    // countries: the country directory, absent when it was not loaded (the picker is then off).
    ForeignSourceDialog(Asker& asker, const std::optional<CodeNameRows>& countries,
                        const ForeignIncome& source, QWidget* parent);

    // The source with the dialog's name and country; meaningful after "Да".
    const ForeignIncome& source() const { return source_; }

public slots:
    void accept() override;

signals:
    // A country other than the one shown was picked.
    void countryPicked();

private:
    void pickCountry();

    Asker& asker_;
    const std::optional<CodeNameRows>& countries_;
    ForeignIncome source_;
    FieldEdit* nameEdit_;
    FieldEdit* countryEdit_;
    QToolButton* countryButton_;
};

} // namespace kv
