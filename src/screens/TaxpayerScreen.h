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

    void SaveData() override;
    std::uint16_t CheckData() override;
    void SetFocusToElement(std::uint16_t code) override;

private:
    void buildWidgets();
    void load();
    void chooseDocumentKind();
    void chooseCountry();

    FieldEdit* edSurname_;
    FieldEdit* edName_;
    FieldEdit* edPatronymic_;
    FieldEdit* edInn_;
    QLabel* lblBirthDate_;
    DateEdit* deBirthDate_;
    QLabel* lblBirthPlace_;
    FieldEdit* edBirthPlace_;

    QGroupBox* gbDocument_;
    QLineEdit* edDocName_;
    QToolButton* bnDocType_;
    DocNumberEdit* edDocNumber_;
    DateEdit* deDocDate_;
    FieldEdit* edDocIssuer_;

    QGroupBox* gbCitizenship_;
    QLineEdit* edCountryCode_;
    QLabel* lblCountryName_;
    QToolButton* bnCountry_;
    QRadioButton* rbCitizen_;
    QRadioButton* rbStateless_;

    FieldEdit* edPhone_;

    // The kind of document chosen; it reaches the record at SaveData.
    std::int16_t documentCode_ = 0;
};

} // namespace kv
