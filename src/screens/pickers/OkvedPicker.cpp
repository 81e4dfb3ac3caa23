#include "screens/pickers/OkvedPicker.h"

#include "checks/CheckDialog.h"
#include "core/Text.h"
#include "reference/OkvedImport.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/ImportRun.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/UiText.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

const OkvedClassifier& emptyClassifier() {
    static const OkvedClassifier none;
    return none;
}

// The found entries list shows at most this many rows; a word of two letters can
// match most of the classifier.
constexpr int kFoundLimit = 500;

} // namespace

OkvedPicker::OkvedPicker(Asker& asker, const OkvedClassifier* classifier, std::filesystem::path directoryFile,
                         QWidget* parent)
    : QDialog(parent), asker_(asker), directoryFile_(std::move(directoryFile)) {
    setObjectName(QStringLiteral("TFormOKVED"));
    setWindowTitle(fromCp1251(OkvedPickerModel::title()));
    setModal(true);

    static const char* const levelCaptions[] = {"Раздел", "Класс", "Подкласс", "Группа", "Подгруппа", "Вид"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < OkvedPickerModel::kLevels; ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cbLevel%1").arg(i + 1));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(60);
        levels_[static_cast<std::size_t>(i)] = combo;
        grid->addWidget(new QLabel(QString::fromUtf8(levelCaptions[i]), this), i, 0);
        grid->addWidget(combo, i, 1);
        connect(combo, &QComboBox::activated, this, [this, i](int index) { levelPicked(i + 1, index); });
    }
    grid->setColumnStretch(1, 1);

    codeEdit_ = new QLineEdit(this);
    codeEdit_->setObjectName(QStringLiteral("edOkvedCode"));
    codeEdit_->setReadOnly(true);
    codeEdit_->setMaximumWidth(120);
    grid->addWidget(new QLabel(QStringLiteral("Код"), this), OkvedPickerModel::kLevels, 0);
    grid->addWidget(codeEdit_, OkvedPickerModel::kLevels, 1, Qt::AlignLeft);

    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("edSearch"));
    searchEdit_->setPlaceholderText(QStringLiteral("Код или слова из наименования"));
    searchEdit_->setClearButtonEnabled(true);
    auto* bnSearch = new QPushButton(QStringLiteral("Найти"), this);
    bnSearch->setObjectName(QStringLiteral("bnSearch"));
    bnSearch->setAutoDefault(false);
    foundList_ = new QTreeWidget(this);
    foundList_->setObjectName(QStringLiteral("lvFound"));
    foundList_->setHeaderLabels({QStringLiteral("Код"), QStringLiteral("Наименование")});
    foundList_->setRootIsDecorated(false);
    foundList_->setUniformRowHeights(true);
    foundList_->setAllColumnsShowFocus(true);
    foundList_->setColumnWidth(0, 90);
    foundList_->header()->setStretchLastSection(true);
    foundList_->setToolTip(QStringLiteral("Найденные коды: выбранный код заполняет списки выше"));
    connect(searchEdit_, &QLineEdit::returnPressed, this, &OkvedPicker::search);
    connect(bnSearch, &QPushButton::clicked, this, &OkvedPicker::search);
    connect(foundList_, &QTreeWidget::currentItemChanged, this, &OkvedPicker::foundChosen);
    connect(foundList_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

    importButton_ = new QPushButton(QStringLiteral("Загрузить классификатор Росстата..."), this);
    importButton_->setObjectName(QStringLiteral("bnImport"));
    importButton_->setAutoDefault(false);
    importButton_->setToolTip(QStringLiteral(
        "Заменить справочник ОКВЭД полным классификатором из файла открытых данных Росстата (CSV)"));
    connect(importButton_, &QPushButton::clicked, this, &OkvedPicker::importCsv);

    auto* ok = new QPushButton(QStringLiteral("Да"), this);
    ok->setObjectName(QStringLiteral("bnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Нет"), this);
    cancel->setObjectName(QStringLiteral("bnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Поиск"), this));
    searchRow->addWidget(searchEdit_, 1);
    searchRow->addWidget(bnSearch);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importButton_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(searchRow);
    layout->addWidget(foundList_, 1);
    layout->addLayout(buttons);
    resize(860, 560);

    setClassifier(classifier);
    arrangeDialogForKeyboard(this);
}

void OkvedPicker::setClassifier(const OkvedClassifier* classifier) {
    classifier_ = classifier != nullptr ? classifier : &emptyClassifier();
    model_ = std::make_unique<OkvedPickerModel>(*classifier_);
    foundList_->clear();
    showModel();
}

// The levels' lists answer only the person's choice (activated), so filling them
// here picks nothing.
void OkvedPicker::showModel() {
    for (int level = 1; level <= OkvedPickerModel::kLevels; ++level) {
        QComboBox* combo = levels_[static_cast<std::size_t>(level - 1)];
        combo->clear();
        for (const Cp1251Text& item : model_->items(level))
            combo->addItem(fromCp1251(item));
        combo->setCurrentIndex(model_->currentIndex(level));
        combo->setEnabled(combo->count() > 1);
    }
    codeEdit_->setText(fromCp1251(model_->display()));
}

void OkvedPicker::levelPicked(int level, int index) {
    model_->pick(level, index);
    showModel();
}

void OkvedPicker::search() {
    foundList_->clear();
    const std::vector<int> found = classifier_->search(toCp1251(searchEdit_->text()));
    QList<QTreeWidgetItem*> rows;
    for (int entry : found) {
        if (rows.size() == kFoundLimit)
            break;
        const OkvedEntry& e = classifier_->entries[static_cast<std::size_t>(entry)];
        auto* row =
            new QTreeWidgetItem(QStringList{fromCp1251(e.hasOkved ? e.okved : e.kod), fromCp1251(e.name)});
        row->setData(0, Qt::UserRole, entry);
        row->setToolTip(1, fromCp1251(e.name));
        rows.append(row);
    }
    foundList_->addTopLevelItems(rows);
    // The row found first is the one searched for (a code finds itself): it is
    // selected and fills the lists, as a click on it would.
    if (!rows.isEmpty())
        foundList_->setCurrentItem(rows.first());
    if (found.empty())
        asker_.ask(this, messageQuestion(QStringLiteral("okvedNotFound"), QStringLiteral("Ничего не найдено"),
                                         QuestionIcon::Information));
}

void OkvedPicker::foundChosen() {
    QTreeWidgetItem* row = foundList_->currentItem();
    if (row == nullptr)
        return;
    model_->choose(row->data(0, Qt::UserRole).toInt());
    showModel();
}

std::optional<Cp1251Text> OkvedPicker::chosenCode() const {
    // Until an entry with a code is chosen the field shows "нет", which is no code.
    if (model_->display() == OkvedPickerModel::noneItem())
        return std::nullopt;
    return model_->display();
}

void OkvedPicker::accept() {
    if (!model_->keyLongEnough()) {
        CheckQuestion q;
        q.sectionTitle = Cp1251Text::fromUtf8("ОКВЭД");
        q.message = OkvedPickerModel::checkMessage();
        q.skipAllEnabled = false;
        AskerCheckDialog dialog(asker_, this);
        if (dialog.ask(q) == CheckAnswer::Fix)
            return;
    }
    QDialog::accept();
}

void OkvedPicker::importCsv() {
    FileQuestion q;
    q.id = QStringLiteral("okvedCsv");
    q.title = QStringLiteral("Классификатор ОКВЭД (открытые данные Росстата)");
    q.filters = {QStringLiteral("Классификатор ОКВЭД (*.csv)"), QStringLiteral("Все файлы (*)")};
    const std::optional<QString> path = asker_.openFile(this, q);
    if (!path || path->isEmpty())
        return;
    const std::string csv = QFile::encodeName(*path).toStdString();
    try {
        auto imported = std::make_unique<OkvedClassifier>();
        ClassifierReplace how;
        how.shown = classifier_ != nullptr ? classifier_->entries.size() : 0;
        const auto run = [&] {
            runImport(this, QStringLiteral("Импорт классификатора ОКВЭД..."),
                      [&] { *imported = importOkved(csv, directoryFile_.string(), how); });
        };
        try {
            run();
        } catch (const ClassifierShrinkError& e) {
            if (!confirmShrink(asker_, this, QStringLiteral("okvedShrink"), e))
                return;
            how.allowShrink = true;
            run();
        }
        imported_ = std::move(imported);
        setClassifier(imported_.get());
        asker_.ask(this, messageQuestion(QStringLiteral("okvedImported"),
                                         fromCp1251(okvedImportSuccessMessage()), QuestionIcon::Information));
    } catch (const OkvedImportError& e) {
        QString text =
            fromCp1251(okvedImportFailureMessage()) + QStringLiteral("\n") + fromCp1251(e.message());
        if (!e.faults().empty())
            text += QStringLiteral("\n") + fromCp1251(okvedFaultList(e.faults()));
        asker_.ask(this, messageQuestion(QStringLiteral("okvedImportFailed"), text.trimmed(),
                                         QuestionIcon::Critical));
    }
}

} // namespace kv
