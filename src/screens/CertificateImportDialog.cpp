#include "screens/CertificateImportDialog.h"

#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/kit/Asker.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {
namespace {

const QString kTitle = QStringLiteral("Справка 2-НДФЛ");

// The folder of the last certificate opened, for as long as the program runs.
QString& certificateFolder() {
    static QString folder;
    return folder;
}

QString amount(Money m) {
    return groupedAmount(m);
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QString agentText(const CertificateAgent& a) {
    QString text = QStringLiteral("Налоговый агент: ") + fromCp1251(a.name) + QStringLiteral(", ИНН ") +
                   fromCp1251(a.inn);
    if (!a.kpp.empty())
        text += QStringLiteral(", КПП ") + fromCp1251(a.kpp);
    return text + QStringLiteral(", ОКТМО ") + fromCp1251(a.oktmo);
}

} // namespace

CertificatePreviewDialog::CertificatePreviewDialog(QWidget* parent, const CertificateFile& file,
                                                   const Declaration& declaration, int chosen)
    : QDialog(parent), file_(file) {
    setObjectName(QStringLiteral("CertificatePreviewDialog"));
    setWindowTitle(kTitle);
    for (int i = 0; i < static_cast<int>(file.certificates.size()); ++i)
        imports_.push_back(prepareImport(file, i, declaration));

    agentLabel_ = label(this, "lbAgent");
    agentLabel_->setText(agentText(file.agent));
    auto* recipientCaption = new QLabel(QStringLiteral("Получатель дохода:"), this);
    recipientCombo_ = new QComboBox(this);
    recipientCombo_->setObjectName(QStringLiteral("cbRecipient"));
    for (const Certificate& c : file.certificates)
        recipientCombo_->addItem(fromCp1251(recipientLabel(c)));
    recipientCaption->setBuddy(recipientCombo_);
    chooseLabel_ = label(this, "lbChoose");
    chooseLabel_->setText(chosen < 0
                              ? QStringLiteral("Справка налогоплательщика декларации не найдена однозначно: "
                                               "выберите получателя дохода.")
                              : QString());
    chooseLabel_->setVisible(chosen < 0);

    monthsList_ = new QTreeWidget(this);
    monthsList_->setObjectName(QStringLiteral("lvMonths"));
    monthsList_->setRootIsDecorated(false);
    monthsList_->setHeaderLabels({QStringLiteral("Ставка"), QStringLiteral("Месяц"),
                                  QStringLiteral("Код дохода"), QStringLiteral("Сумма дохода"),
                                  QStringLiteral("Код вычета"), QStringLiteral("Сумма вычета")});
    monthsList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    totalsLabel_ = label(this, "lbTotals");
    auto* warningsCaption = new QLabel(QStringLiteral("Расхождения в справке:"), this);
    warningsList_ = new QListWidget(this);
    warningsList_->setObjectName(QStringLiteral("lvWarnings"));
    warningsList_->setMaximumHeight(90);
    changesLabel_ = label(this, "lbChanges");

    loadButton_ = new QPushButton(QStringLiteral("Загрузить"), this);
    loadButton_->setObjectName(QStringLiteral("bnLoad"));
    loadButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancelButton_->setObjectName(QStringLiteral("bnCancel"));
    connect(loadButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* recipientRow = new QHBoxLayout;
    recipientRow->addWidget(recipientCaption);
    recipientRow->addWidget(recipientCombo_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(loadButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(agentLabel_);
    layout->addLayout(recipientRow);
    layout->addWidget(chooseLabel_);
    layout->addWidget(monthsList_, 1);
    layout->addWidget(totalsLabel_);
    layout->addWidget(warningsCaption);
    layout->addWidget(warningsList_);
    layout->addWidget(changesLabel_);
    layout->addLayout(buttons);
    resize(720, 560);

    connect(recipientCombo_, &QComboBox::currentIndexChanged, this,
            &CertificatePreviewDialog::showCertificate);
    recipientCombo_->setCurrentIndex(chosen < 0 ? 0 : chosen);
    showCertificate(recipientCombo_->currentIndex());
    arrangeDialogForKeyboard(this);
}

const CertificateImport& CertificatePreviewDialog::currentImport() const {
    return imports_.at(static_cast<std::size_t>(current_));
}

void CertificatePreviewDialog::fillMonths(const Certificate& certificate) {
    monthsList_->clear();
    for (const CertificateRateBlock& block : certificate.blocks)
        for (const CertificateIncome& i : block.incomes) {
            const CertificateDeduction* d = i.deductions.empty() ? nullptr : &i.deductions.front();
            auto* row = new QTreeWidgetItem(monthsList_,
                                            {QString::number(block.rate) + QStringLiteral("%"),
                                             QString::number(i.month), fromCp1251(i.code), amount(i.amount),
                                             d ? fromCp1251(d->code) : QStringLiteral("Нет"),
                                             d ? amount(d->amount) : QStringLiteral("-")});
            for (std::size_t k = 1; k < i.deductions.size(); ++k)
                new QTreeWidgetItem(monthsList_,
                                    {QString(), QString(), QString(), QString(),
                                     fromCp1251(i.deductions[k].code), amount(i.deductions[k].amount)});
            for (int c = 3; c < row->columnCount(); c += 2)
                row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
}

QString CertificatePreviewDialog::changesText(const CertificateImport& import) const {
    if (!import.accepted())
        return QStringLiteral("Справка не может быть загружена: ") + fromCp1251(import.fault);
    QStringList added;
    const auto note = [&](SourceList list, std::size_t count) {
        if (count > 0)
            added.append(fromCp1251(sourceListTitle(list)) + QStringLiteral(": ") + QString::number(count));
    };
    note(SourceList::Incomes13, import.incomes13.size());
    note(SourceList::Incomes13NonResident, import.incomes13NonResident.size());
    note(SourceList::Incomes35, import.incomes35.size());
    note(SourceList::Dividends, import.dividends.size());
    note(SourceList::Incomes9, import.incomes9.size());
    QString text = QStringLiteral("Будут добавлены источники выплат — ") + added.join(QStringLiteral("; ")) +
                   QStringLiteral(".");
    for (const ReplacedSource& r : import.replaced)
        text += QStringLiteral("\nБудет заменен источник «") + fromCp1251(r.name) + QStringLiteral("» (") +
                fromCp1251(sourceListTitle(r.list)) + QStringLiteral(").");
    return text;
}

void CertificatePreviewDialog::showCertificate(int index) {
    if (index < 0 || index >= static_cast<int>(imports_.size()))
        return;
    current_ = index;
    const Certificate& c = file_.certificates.at(static_cast<std::size_t>(index));
    const CertificateImport& import = currentImport();
    fillMonths(c);
    QStringList totals;
    for (const CertificateRateBlock& b : c.blocks)
        totals.append(
            QStringLiteral("Ставка %1%: доход %2, налоговая база %3, налог исчисленный %4, удержанный %5")
                .arg(b.rate)
                .arg(amount(b.totals.income), amount(b.totals.base), amount(b.totals.taxComputed),
                     amount(b.totals.taxWithheld)));
    totalsLabel_->setText(totals.join(QLatin1Char('\n')));
    warningsList_->clear();
    for (const Cp1251Text& w : import.warnings)
        warningsList_->addItem(fromCp1251(w));
    if (import.warnings.empty() && import.accepted())
        warningsList_->addItem(QStringLiteral("Нет: суммы справки сходятся."));
    changesLabel_->setText(changesText(import));
    loadButton_->setEnabled(import.accepted());
}

namespace {

std::optional<std::string> readWhole(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void refuse(ScreenHost& host, QWidget* parent, const QString& id, const QString& text) {
    host.asker().ask(parent, messageQuestion(id, text, QuestionIcon::Warning));
}

// Replace, add beside, or give up, when the return already has the agent's sources.
enum class Replacing { Replace, Add, Cancel };

Replacing askReplacing(ScreenHost& host, QWidget* parent, const CertificateImport& import) {
    if (import.replaced.empty())
        return Replacing::Add;
    QStringList names;
    for (const ReplacedSource& r : import.replaced)
        names.append(QStringLiteral("«") + fromCp1251(r.name) + QStringLiteral("» (") +
                     fromCp1251(sourceListTitle(r.list)) + QStringLiteral(")"));
    Question q;
    q.id = QStringLiteral("certificateReplace");
    q.title = QStringLiteral("Квилмар 2019");
    q.text = QStringLiteral(
                 "В декларации уже есть источник выплат того же налогового агента (ИНН, КПП, ОКТМО): ") +
             names.join(QStringLiteral(", ")) +
             QStringLiteral(".\nЗаменить его сведениями справки? «Добавить» оставит оба источника.");
    q.answers = {QStringLiteral("Заменить"), QStringLiteral("Добавить"), QStringLiteral("Отмена")};
    q.defaultIndex = 0;
    q.escapeIndex = 2;
    q.icon = QuestionIcon::Question;
    return static_cast<Replacing>(host.asker().ask(parent, q));
}

} // namespace

bool importIncomeCertificate(QWidget* parent, ScreenHost& host) {
    FileQuestion fq;
    fq.id = QStringLiteral("openCertificate");
    fq.title = QStringLiteral("Загрузить справку 2-НДФЛ");
    fq.filters = {QStringLiteral("Справки 2-НДФЛ (*.xml *.XML)"), QStringLiteral("Все файлы (*)")};
    fq.directory = certificateFolder().isEmpty() ? QDir::homePath() : certificateFolder();
    const std::optional<QString> path = host.asker().openFile(parent, fq);
    if (!path.has_value() || path->isEmpty())
        return false;
    certificateFolder() = QFileInfo(*path).absolutePath();

    const std::optional<std::string> bytes = readWhole(*path);
    if (!bytes) {
        refuse(host, parent, QStringLiteral("certificateUnreadable"),
               QStringLiteral("Не удалось прочитать файл ") + QDir::toNativeSeparators(*path));
        return false;
    }
    const CertificateReading reading = readIncomeCertificates(*bytes);
    if (!reading.file) {
        refuse(host, parent, QStringLiteral("certificateRefused"),
               QStringLiteral("Справка не загружена: ") + fromCp1251(reading.fault));
        return false;
    }
    Declaration& declaration = *host.documentSlot();
    const std::vector<int> matches = certificatesOfTaxpayer(*reading.file, declaration.person);
    CertificatePreviewDialog preview(parent, *reading.file, declaration,
                                     matches.size() == 1 ? matches[0] : -1);
    if (preview.exec() != QDialog::Accepted)
        return false;
    const CertificateImport& import = preview.currentImport();
    const Replacing answer = askReplacing(host, parent, import);
    if (answer == Replacing::Cancel || !import.accepted())
        return false;
    applyImport(declaration, import, answer == Replacing::Replace);
    host.documentChanged();
    return true;
}

} // namespace kv
