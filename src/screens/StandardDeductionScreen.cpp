#include "screens/StandardDeductionScreen.h"

#include "checks/ReturnCheck.h"
#include "model/Declaration.h"
#include "screens/MonthChoiceDialog.h"
#include "screens/kit/Asker.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace kv {

namespace {

constexpr int kSelfNone = 103;
constexpr int kSelfChanged = 110;
constexpr int kChildren = 101;
constexpr int kChildStatusChanged = 103;

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption, QButtonGroup* group, int id,
                    QVBoxLayout* layout) {
    auto* button = named(new QRadioButton(caption, parent), name);
    group->addButton(button, id);
    layout->addWidget(button);
    return button;
}

// Checks the button with this id, or none when no button has it (a code the
// screen does not offer, kept as the document has it).
void checkId(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

std::int32_t countOf(const FieldEdit* field) {
    return static_cast<std::int32_t>(digitsOf(field));
}

void saveBlock(std::uint8_t& constant, std::int32_t& count, MonthInts& months, const QCheckBox* constantBox,
               const FieldEdit* countField, const MonthFields& monthFields) {
    if (constantBox->isChecked()) {
        constant = 1;
        count = countOf(countField);
        return;
    }
    for (std::size_t m = 0; m < months.size(); ++m)
        months[m] = countOf(monthFields[m]);
    // The computation reads the block's count as the most children of any month.
    if (!monthFields[0]->text().isEmpty())
        count = months[0];
    for (std::int32_t n : months)
        count = std::max(count, n);
    constant = 0;
}

} // namespace

StandardDeductionScreen::StandardDeductionScreen(QWidget* panel, ScreenHost& host)
    : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    load();
    updateGuardian();

    connect(grantedBox_, &QCheckBox::clicked, this, &StandardDeductionScreen::grantedClicked);
    connect(selfCodes_, &QButtonGroup::idClicked, this, &StandardDeductionScreen::selfCodeClicked);
    connect(childStatus_, &QButtonGroup::idClicked, this, &StandardDeductionScreen::childStatusClicked);
    for (CountBlock* block : {&children_, &thirdPlus_, &disabled_}) {
        connect(block->constant, &QCheckBox::clicked, this, [this, block] { constantClicked(*block); });
        connect(block->count, &FieldEdit::changed, this, [this, block] { countChanged(*block); });
        connect(block->upDown, &QSpinBox::valueChanged, this, [this, block](int value) {
            if (!this->host().buildingGuard() && block->count->text() != QString::number(value))
                block->count->setText(QString::number(value));
        });
        for (FieldEdit* month : block->months)
            connect(month, &FieldEdit::changed, this, [this, block] {
                markDocumentChanged();
                if (block == &disabled_)
                    updateGuardian();
            });
    }
    connect(guardianBox_, &QCheckBox::clicked, this, [this] { markDocumentChanged(); });
    for (int m = 0; m < 12; ++m) {
        connect(businessMonths_[m], &QCheckBox::clicked, this,
                [this, m](bool checked) { businessMonthClicked(m, checked); });
        connect(businessIncome_[m], &FieldEdit::changed, this, [this, m] { businessAmountTyped(m); });
        connect(businessExpense_[m], &FieldEdit::changed, this, [this, m] { businessAmountTyped(m); });
    }
    for (QObject* watched :
         std::initializer_list<QObject*>{helpIconLabel_, helpLabel_, selfChangedRadio_, statusChangedRadio_})
        watched->installEventFilter(this);
}

StandardDeductionScreen::CountBlock
StandardDeductionScreen::makeBlock(QWidget* parent, FormGrid& form, const char* prefix,
                                   const QString& constantCaption, int digits, int upDownMax,
                                   const QString& countCaption, const QString& monthHint) {
    const QString name = QString::fromLatin1(prefix);
    CountBlock block;
    block.constant = new QCheckBox(constantCaption, parent);
    block.constant->setObjectName(QStringLiteral("chb%1Constant").arg(name));
    // The fields take no more children than the up-down offers: a count beyond it
    // would be multiplied into a deduction the group does not have.
    const FieldFormat format{FieldKind::Digits, digits, 0, upDownMax};
    block.count = new FieldEdit(format, parent);
    block.count->setObjectName(QStringLiteral("ed%1").arg(name));
    block.count->setMaximumWidth(40);
    block.upDown = new QSpinBox(parent);
    block.upDown->setObjectName(QStringLiteral("ud%1").arg(name));
    block.upDown->setRange(0, upDownMax);
    block.upDown->setMaximumWidth(50);
    auto* row = new QHBoxLayout;
    row->addWidget(block.constant);
    row->addWidget(block.count);
    row->addWidget(block.upDown);
    if (!countCaption.isEmpty())
        row->addWidget(new QLabel(countCaption, parent));
    row->addStretch(1);
    form.addWide(row);
    const QByteArray monthPrefix = QStringLiteral("ed%1").arg(name).toLatin1();
    block.months = monthFields(parent, monthPrefix.constData(),
                               FieldFormat{FieldKind::Digits, 2, 0, upDownMax}, monthHint);
    form.addMonths(QString(), block.months);
    return block;
}

void StandardDeductionScreen::buildWidgets() {
    auto* group =
        named(new QGroupBox(QStringLiteral("Стандартные налоговые вычеты (коды 104-105,114-149)"), this),
              "gbStandard");
    grantedBox_ =
        named(new QCheckBox(QStringLiteral("Пересчитать стандартные вычеты"), group), "chbStandartDeduct");
    helpIconLabel_ = named(new QLabel(group), "imgHelp");
    helpIconLabel_->setPixmap(
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(24, 24));
    helpLabel_ = named(new QLabel(QStringLiteral("Важно!"), group), "lblHelp");
    for (QLabel* help : {helpIconLabel_, helpLabel_}) {
        help->setToolTip(QStringLiteral("Нажми на меня!"));
        help->setCursor(Qt::PointingHandCursor);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(grantedBox_);
    top->addSpacing(24);
    top->addWidget(helpIconLabel_);
    top->addWidget(helpLabel_);
    top->addStretch(1);

    auto* self = named(new QGroupBox(group), "gbSelfCode");
    self->setToolTip(QStringLiteral("Вычеты на себя"));
    auto* selfLayout = new QVBoxLayout(self);
    selfCodes_ = new QButtonGroup(this);
    radio(self, "rbSelf103", QStringLiteral("Нет ни 104, ни 105 вычета"), selfCodes_, kSelfNone, selfLayout);
    radio(self, "rbSelf104", QStringLiteral("Код 104 - 500 в месяц"), selfCodes_, 104, selfLayout);
    radio(self, "rbSelf105", QStringLiteral("Код 105 - 3000 в месяц"), selfCodes_, 105, selfLayout);
    selfChangedRadio_ =
        radio(self, "rbSelf110", QStringLiteral("Код менялся"), selfCodes_, kSelfChanged, selfLayout);

    auto* status = named(new QGroupBox(group), "gbChildStatus");
    status->setToolTip(QStringLiteral("Вычеты на детей. Подробности смотрите в Справке к программе."));
    auto* statusLayout = new QVBoxLayout(status);
    childStatus_ = new QButtonGroup(this);
    radio(status, "rbChild101", QStringLiteral("Вычет на ребенка (детей)"), childStatus_, kChildren,
          statusLayout);
    radio(status, "rbChild102", QStringLiteral("Вычет на ребенка (детей) единственному родителю"),
          childStatus_, 102, statusLayout)
        ->setToolTip(QStringLiteral("или при отказе второго родителя от вычета"));
    statusChangedRadio_ = radio(status, "rbChild103", QStringLiteral("Статус менялся"), childStatus_,
                                kChildStatusChanged, statusLayout);
    auto* choices = new QHBoxLayout;
    choices->addWidget(self);
    choices->addWidget(status, 1);

    auto* counts = named(new QWidget(group), "pnlCounts");
    FormGrid form(counts);
    const int captionRow = form.nextRow();
    form.addMonthCaptions();
    for (int m = 0; m < 12; ++m)
        monthCaptions_.append(
            qobject_cast<QLabel*>(form.layout()->itemAtPosition(captionRow, m + 1)->widget()));
    children_ = makeBlock(
        counts, form, "Children", QStringLiteral("Количество детей в году не изменялось и составило"), 1, 2,
        QStringLiteral("ребенка (детей)"), QStringLiteral("Количество детей в этом месяце"));
    thirdPlus_ = makeBlock(counts, form, "Third",
                           QStringLiteral("Количество детей, начиная с 3-го, не изменялось и составило"), 2,
                           99, {}, QStringLiteral("Количество детей в этом месяце, считая с 3-го"));
    disabled_ = makeBlock(counts, form, "Disabled",
                          QStringLiteral("Количество детей-инвалидов в году не изменялось и составило"), 2,
                          99, {}, QStringLiteral("Количество детей инвалидов I и II групп в этом месяце"));
    guardianPanel_ = named(new QWidget(counts), "pnlGuardian");
    guardianBox_ = named(new QCheckBox(QStringLiteral("Я являюсь:"), guardianPanel_), "chbGuardian");
    auto* guardianLayout = new QHBoxLayout(guardianPanel_);
    guardianLayout->setContentsMargins(0, 0, 0, 0);
    guardianLayout->addWidget(guardianBox_);
    guardianLayout->addWidget(
        new QLabel(QStringLiteral("опекуном или попечителем, приемным родителем"), guardianPanel_));
    guardianLayout->addStretch(1);
    form.addWide(guardianPanel_);

    auto* business = named(
        new QGroupBox(QStringLiteral("Доходы/расходы помесячно для предпринимателей"), group), "gbBusiness");
    FormGrid months(business);
    businessMonths_ = monthBoxes(business, "chbMonth");
    businessIncome_ = monthFields(business, "edIncome", FieldFormat{});
    businessExpense_ = monthFields(business, "edExpense", FieldFormat{});
    // Twelve boxes with their month beside them do not fit beside the amounts: the
    // months head the columns, as they do over the counts, and each box sits under
    // its month, named by it.
    months.addMonthCaptions();
    for (QCheckBox* box : businessMonths_) {
        box->setToolTip(box->text());
        box->setAccessibleName(box->text());
        box->setText(QString());
    }
    months.addMonths(QString(), businessMonths_);
    for (QCheckBox* box : businessMonths_)
        months.layout()->setAlignment(box, Qt::AlignHCenter);
    // The row of months costs no height the counts above need.
    months.layout()->setVerticalSpacing(0);
    months.addMonths(QStringLiteral("Доходы"), businessIncome_);
    months.addMonths(QStringLiteral("Расходы"), businessExpense_);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(top);
    groupLayout->addLayout(choices);
    groupLayout->addWidget(counts);
    groupLayout->addWidget(business);
    groupLayout->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

StandardDeduction& StandardDeductionScreen::deduction() {
    return document().standardDeductions;
}

bool StandardDeductionScreen::businessAvailable() const {
    // A document written elsewhere may mark business incomes with the reserved bit
    // alone: the monthly business figures it holds are shown and kept, not cleared
    // on leaving the screen.
    return document().has(IncomeKind::Business) || document().hasReservedFlag();
}

void StandardDeductionScreen::loadBlock(CountBlock& block, std::uint8_t constant, std::int32_t count,
                                        const MonthInts& months) {
    block.constant->setChecked(constant != 0);
    const QString zero = QStringLiteral("0");
    if (constant != 0) {
        // The months show the count the computation applies to each of them, as
        // ticking the box shows it.
        block.count->setStoredText(QString::number(count));
        block.upDown->setValue(count);
        for (FieldEdit* month : block.months)
            month->setStoredText(QString::number(count));
        return;
    }
    block.count->setStoredText(zero);
    for (std::size_t m = 0; m < months.size(); ++m)
        block.months[m]->setStoredText(QString::number(months[m]));
}

void StandardDeductionScreen::load() {
    const StandardDeduction& d = deduction();
    grantedBox_->setChecked(d.granted != 0);
    // An un-granted record shows the choices a new one starts with.
    showRecord(d.granted != 0 ? d : StandardDeduction{}, d);
    applyEnabling();
}

void StandardDeductionScreen::showRecord(const StandardDeduction& shown, const StandardDeduction& business) {
    checkId(selfCodes_, shown.selfCode);
    checkId(childStatus_, shown.childStatus);
    selfCodeShown_ = shown.selfCode;
    childStatusShown_ = shown.childStatus;
    guardianBox_->setChecked(shown.isGuardian != 0);
    loadBlock(children_, shown.childrenConstant, shown.childrenCount, shown.childrenByMonth);
    loadBlock(thirdPlus_, shown.thirdPlusConstant, shown.thirdPlusCount, shown.thirdPlusByMonth);
    loadBlock(disabled_, shown.disabledConstant, shown.disabledCount, shown.disabledByMonth);
    if (!businessAvailable())
        return;
    const auto showAmount = [](FieldEdit* field, Money amount) {
        if (amount.isZero())
            field->clear();
        else
            field->setMoney(amount);
    };
    for (std::size_t m = 0; m < 12; ++m) {
        businessMonths_[m]->setChecked(business.monthlyMarks[m] != 0);
        showAmount(businessIncome_[m], business.monthlyBusinessIncome[m]);
        showAmount(businessExpense_[m], business.monthlyBusinessExpense[m]);
    }
}

void StandardDeductionScreen::applyBlockEnabling(CountBlock& block) {
    const bool on = grantedBox_->isChecked();
    const bool constant = block.constant->isChecked();
    block.constant->setEnabled(on);
    block.count->setEnabled(on && constant);
    block.upDown->setEnabled(on && constant);
    for (FieldEdit* month : block.months)
        month->setEnabled(on && !constant);
}

void StandardDeductionScreen::applyEnabling() {
    const bool on = grantedBox_->isChecked();
    for (QAbstractButton* b : selfCodes_->buttons())
        b->setEnabled(on);
    for (QAbstractButton* b : childStatus_->buttons())
        b->setEnabled(on);
    for (QLabel* caption : monthCaptions_)
        caption->setEnabled(on);
    for (CountBlock* block : {&children_, &thirdPlus_, &disabled_})
        applyBlockEnabling(*block);
    guardianBox_->setEnabled(on);
    const bool business = on && businessAvailable();
    for (int m = 0; m < 12; ++m) {
        businessMonths_[m]->setEnabled(business);
        businessIncome_[m]->setEnabled(business);
        businessExpense_[m]->setEnabled(business);
    }
}

bool StandardDeductionScreen::somethingEntered() const {
    constexpr int kNoSelfCode = 103;
    const auto nonZero = [](const FieldEdit* f) { return countOf(f) != 0; };
    const auto counted = [&nonZero](const CountBlock& b) {
        return nonZero(b.count) || std::any_of(b.months.begin(), b.months.end(), nonZero);
    };
    const auto amount = [](const FieldEdit* f) { return !amountOf(f).isZero(); };
    const StandardDeduction& d = document().standardDeductions;
    return selfCodes_->checkedId() != kNoSelfCode || guardianBox_->isChecked() || counted(children_) ||
           counted(thirdPlus_) || counted(disabled_) ||
           std::any_of(businessMonths_.begin(), businessMonths_.end(),
                       [](const QCheckBox* box) { return box->isChecked(); }) ||
           std::any_of(businessIncome_.begin(), businessIncome_.end(), amount) ||
           std::any_of(businessExpense_.begin(), businessExpense_.end(), amount) ||
           d.monthlySelfCodesSet != 0 || d.monthlyChildStatusSet != 0;
}

void StandardDeductionScreen::grantedClicked() {
    const bool granted = grantedBox_->isChecked();
    if (!granted && !untickConfirmed(host().asker(), this, grantedBox_, somethingEntered()))
        return;
    markDocumentChanged();
    if (!granted)
        dropEntries();
    applyEnabling();
}

void StandardDeductionScreen::dropEntries() {
    // The question said everything entered goes: the month dialogs' choices and the
    // monthly business figures too, in the document as on the screen.
    // The box itself reaches the document at saveData, as its other clicks do.
    StandardDeduction& d = deduction();
    const std::uint8_t granted = d.granted;
    d = StandardDeduction{};
    d.granted = granted;
    {
        ScreenBuildGuard guard(host());
        showRecord(d, d);
    }
    updateGuardian();
}

void StandardDeductionScreen::constantClicked(CountBlock& block) {
    markDocumentChanged();
    if (block.constant->isChecked()) {
        const QString count = block.count->text();
        block.upDown->setValue(countOf(block.count));
        for (FieldEdit* month : block.months)
            month->setText(count);
    }
    applyBlockEnabling(block);
    if (&block == &disabled_)
        updateGuardian();
}

void StandardDeductionScreen::countChanged(CountBlock& block) {
    if (host().buildingGuard())
        return;
    markDocumentChanged();
    const int value = countOf(block.count);
    if (block.upDown->value() != value && value <= block.upDown->maximum()) {
        const QSignalBlocker quiet(block.upDown);
        block.upDown->setValue(value);
    }
    for (FieldEdit* month : block.months)
        month->setText(block.count->text());
    if (&block == &disabled_)
        updateGuardian();
}

void StandardDeductionScreen::updateGuardian() {
    bool any = countOf(disabled_.count) > 0;
    for (const FieldEdit* month : disabled_.months)
        any = any || countOf(month) > 0;
    guardianPanel_->setVisible(any);
}

void StandardDeductionScreen::selfCodeClicked(int id) {
    if (host().buildingGuard())
        return;
    markDocumentChanged();
    if (id == kSelfChanged && selfCodeShown_ != kSelfChanged) {
        openSelfCodes();
        return;
    }
    selfCodeShown_ = id;
}

void StandardDeductionScreen::childStatusClicked(int id) {
    if (host().buildingGuard())
        return;
    markDocumentChanged();
    if (id == kChildStatusChanged && childStatusShown_ != kChildStatusChanged) {
        openChildStatus();
        return;
    }
    childStatusShown_ = id;
}

void StandardDeductionScreen::openSelfCodes() {
    StandardDeduction& d = deduction();
    MonthChoiceDialog dialog(QStringLiteral("TfmDif"), {}, selfCodeChoices(), d.monthlySelfCodes, this);
    if (dialog.exec() == QDialog::Accepted) {
        d.monthlySelfCodesSet = 1;
        d.monthlySelfCodes = dialog.positions();
        selfCodeShown_ = kSelfChanged;
    } else if (d.monthlySelfCodesSet == 0) {
        // Code 110 without a single month would grant no deduction at all.
        checkId(selfCodes_, selfCodeShown_);
    } else {
        selfCodeShown_ = kSelfChanged;
    }
    markDocumentChanged();
}

void StandardDeductionScreen::openChildStatus() {
    StandardDeduction& d = deduction();
    MonthChoiceDialog dialog(QStringLiteral("TfmDif2"),
                             QStringLiteral("В этом месяце был статус единственного родителя (опекуна)"),
                             childStatusChoices(), d.monthlyChildStatus, this);
    if (dialog.exec() == QDialog::Accepted) {
        d.monthlyChildStatusSet = 1;
        d.monthlyChildStatus = dialog.positions();
        childStatusShown_ = kChildStatusChanged;
    } else if (d.monthlyChildStatusSet == 0) {
        // A changed status without a single month would grant no deduction for the children.
        checkId(childStatus_, childStatusShown_);
    } else {
        childStatusShown_ = kChildStatusChanged;
    }
    markDocumentChanged();
}

void StandardDeductionScreen::businessAmountTyped(int month) {
    if (host().buildingGuard())
        return;
    markDocumentChanged();
    if (!businessIncome_[month]->text().isEmpty() || !businessExpense_[month]->text().isEmpty())
        businessMonths_[month]->setChecked(true);
}

void StandardDeductionScreen::businessMonthClicked(int month, bool checked) {
    markDocumentChanged();
    if (checked)
        return;
    businessIncome_[month]->clear();
    businessExpense_[month]->clear();
    // Emptying the fields must not check the box again.
    businessMonths_[month]->setChecked(false);
}

void StandardDeductionScreen::showHelp() {
    host().asker().ask(
        this, helpNotice(QStringLiteral("standardDeductionsHelp"),
                         QStringLiteral(
                             "В программах Квилмар 2018 и Квилмар 2019 относительно более ранних программ "
                             "изменен принцип расчета стандартных вычетов. Рекомендуем ознакомиться с "
                             "соответствующим разделом в файле Справки"),
                         QStringLiteral("StandartDeductions.htm")));
}

bool StandardDeductionScreen::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == helpIconLabel_ || watched == helpLabel_) && event->type() == QEvent::MouseButtonRelease) {
        showHelp();
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && grantedBox_->isChecked() && !host().buildingGuard()) {
        if (watched == selfChangedRadio_ && selfChangedRadio_->isChecked()) {
            markDocumentChanged();
            openSelfCodes();
            return true;
        }
        if (watched == statusChangedRadio_ && statusChangedRadio_->isChecked()) {
            markDocumentChanged();
            openChildStatus();
            return true;
        }
    }
    return ScreenFrame::eventFilter(watched, event);
}

void StandardDeductionScreen::saveData() {
    StandardDeduction& d = deduction();
    d.granted = grantedBox_->isChecked() ? 1 : 0;
    if (d.granted == 0)
        return;
    d.isGuardian = guardianBox_->isChecked() ? 1 : 0;
    bool anyMonth = false;
    for (std::size_t m = 0; m < 12; ++m) {
        d.monthlyBusinessIncome[m] = amountOf(businessIncome_[m]);
        d.monthlyBusinessExpense[m] = amountOf(businessExpense_[m]);
        d.monthlyMarks[m] = businessMonths_[m]->isChecked() ? 1 : 0;
        anyMonth = anyMonth || d.monthlyMarks[m] != 0;
    }
    d.monthlyBusinessSet = anyMonth ? 1 : 0;
    // A choice the screen does not offer stays as the document has it.
    if (selfCodes_->checkedId() != -1)
        d.selfCode = selfCodes_->checkedId();
    if (childStatus_->checkedId() != -1)
        d.childStatus = childStatus_->checkedId();
    saveBlock(d.childrenConstant, d.childrenCount, d.childrenByMonth, children_.constant, children_.count,
              children_.months);
    saveBlock(d.thirdPlusConstant, d.thirdPlusCount, d.thirdPlusByMonth, thirdPlus_.constant,
              thirdPlus_.count, thirdPlus_.months);
    saveBlock(d.disabledConstant, d.disabledCount, d.disabledByMonth, disabled_.constant, disabled_.count,
              disabled_.months);
}

std::uint16_t StandardDeductionScreen::checkData() {
    return 0;
}

void StandardDeductionScreen::setFocusToElement(std::uint16_t code) {
    // Deductions at two workplaces at once, the other fault reported here, has no
    // field on this screen to go to.
    if (code != FieldCode::kFirstChildrenCount)
        return;
    FieldEdit* field = children_.count;
    if (!children_.constant->isChecked()) {
        const auto over = std::find_if(children_.months.begin(), children_.months.end(),
                                       [](const FieldEdit* month) { return month->text().toInt() > 2; });
        field = over != children_.months.end() ? *over : children_.months.front();
    }
    field->setFocus();
    field->selectAll();
}

} // namespace kv
