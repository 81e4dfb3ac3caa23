#pragma once
// "Данные объекта": one dwelling or land plot of the property deduction. The
// dialog edits a copy of the object; which dates, share, cost and interest it
// asks for depends on the contract and on the objects already entered.
#include "model/Deductions.h"
#include "screens/rules/PropertyRules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace kv {

class Asker;
class DateEdit;
class FieldEdit;

class HousingObjectDialog : public QDialog {
    Q_OBJECT
public:
    HousingObjectDialog(Asker& asker, const HousingObject& object, const ObjectDialogSetup& setup,
                        QWidget* parent);

    // The object with the dialog's values; meaningful after "Да".
    const HousingObject& object() const { return object_; }
    // The kind as the dialog's list names it.

public slots:
    void accept() override;

private:
    void buildWidgets();
    void load(const ObjectDialogSetup& setup);

    void contractChosen();
    void kindChosen();
    void numberKindChosen();
    void datesChanged();
    void pensionerToggled(bool checked);
    void goToElement(ObjectElement element);

    Asker& asker_;
    HousingObject object_;
    bool furtherObject_ = false;
    // The land date was set by the dialog or could be typed; otherwise the object keeps its own.
    bool landDateSet_ = false;

    QComboBox* objectKindCombo_;
    QComboBox* houseMethodCombo_;
    QRadioButton* saleRadio_;
    QRadioButton* investRadio_;
    QComboBox* taxpayerSignCombo_;
    QComboBox* numberKindCombo_;
    FieldEdit* objectNumberEdit_;
    FieldEdit* objectAddressEdit_;
    DateEdit* rightDateEdit_;
    DateEdit* landDateEdit_;
    DateEdit* transferDateEdit_;
    QLabel* shareLabel_;
    FieldEdit* shareNumeratorEdit_;
    FieldEdit* shareDenominatorEdit_;
    FieldEdit* objectCostEdit_;
    FieldEdit* interestEdit_;
    QCheckBox* pensionerBox_;
};

} // namespace kv
