#pragma once
// "Сведения о декларанте": the taxpayer's name, INN, birth date and place, identity
// document, citizenship and telephone. Leaving it checks that the taxpayer can be
// identified: by a valid INN, or else by birth place and an identity document.
#include "screens/kit/ScreenFrame.h"

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace kv {

class DateEdit;
class DocNumberEdit;
class FieldEdit;

class TaxpayerScreen : public ScreenFrame {
    Q_OBJECT
public:
    TaxpayerScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;

private:
    void buildWidgets();
    void load();
    void chooseDocumentKind();
    void chooseCountry();

    FieldEdit* surnameEdit_;
    FieldEdit* nameEdit_;
    FieldEdit* patronymicEdit_;
    FieldEdit* innEdit_;
    QLabel* birthDateLabel_;
    DateEdit* birthDateEdit_;
    QLabel* birthPlaceLabel_;
    FieldEdit* birthPlaceEdit_;

    QGroupBox* documentGroup_;
    QLineEdit* docNameEdit_;
    QToolButton* docTypeButton_;
    DocNumberEdit* docNumberEdit_;
    DateEdit* docDateEdit_;
    FieldEdit* docIssuerEdit_;

    QGroupBox* citizenshipGroup_;
    QLineEdit* countryCodeEdit_;
    QLabel* countryNameLabel_;
    QToolButton* countryButton_;
    QRadioButton* citizenRadio_;
    QRadioButton* statelessRadio_;

    FieldEdit* phoneEdit_;

    // The kind of document chosen; it reaches the record at saveData.
    std::int16_t documentCode_ = 0;
};

} // namespace kv
