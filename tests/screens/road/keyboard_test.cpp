// The program from the keyboard alone. Every screen and every dialog is walked with Tab,
// which must go through its fields as a person reads them; every button on a screen has
// its Alt letter.
// Then the typical return (conditions, taxpayer, a year of salary from one employer, a
// flat) is entered with key presses only, saved, checked, exported and printed to a
// PDF file, and its export is compared with the export of the same return as the
// shipped sample holds it.
#include "ModalAnswers.h"
#include "RoadTestSupport.h"
#include "core/Text.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"
#include "print/PrintModule.h"
#include "reference/IncomeCertificate.h"
#include "screens/AgentDeductionDialog.h"
#include "screens/BusinessActivityDialog.h"
#include "screens/CertificateImportDialog.h"
#include "screens/FlatIncomeDialog.h"
#include "screens/ForeignSourceDialog.h"
#include "screens/HousingObjectDialog.h"
#include "screens/Income13Dialog.h"
#include "screens/IncomeSourceDialog.h"
#include "screens/MonthChoiceDialog.h"
#include "screens/NonResidentIncomeDialog.h"
#include "screens/PartnershipDialogs.h"
#include "screens/ScreenContainer.h"
#include "screens/ScreenTable.h"
#include "screens/Sections.h"
#include "screens/SocialDeductionDialogs.h"
#include "screens/ThirtyFiveDialog.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/OkvedPicker.h"
#include "screens/pickers/SounImportDialog.h"
#include "screens/rules/RateRules.h"
#include "shell/PrintJob.h"
#include "shell/ResultSummary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace kv;
using kv::test::child;

Q_DECLARE_METATYPE(kv::ScreenId)

namespace {

// Where keys go: the widget with the focus, or the active window when none has it.
QWidget* focused() {
    return QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
}

QString focusedName() {
    return focused() != nullptr ? focused()->objectName() : QStringLiteral("<nothing>");
}

// Keys go where the focus is, as on a keyboard.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
}

void type(const QString& text) {
    kv::test::typeText(focused(), text);
}

// Whether the focus is on the named widget (on the field of a named date field).
bool focusIsOn(const char* name) {
    const QLatin1String wanted(name);
    return focused() != nullptr &&
           (focused()->objectName() == wanted ||
            (focused()->parentWidget() != nullptr && focused()->parentWidget()->objectName() == wanted));
}

// Tab until the named widget has the focus; false when it never comes.
bool tabTo(const char* name) {
    for (int i = 0; i < 60 && focused() != nullptr; ++i) {
        if (focusIsOn(name))
            return true;
        press(Qt::Key_Tab);
    }
    kv::test::noteFailure(
        QStringLiteral("Tab never reached %1 (stopped at %2)").arg(QString::fromLatin1(name), focusedName()));
    return false;
}

// The Alt letter underlined on the named button of window, pressed.
void pressAltLetter(QWidget* window, const char* button) {
    auto* target = window->findChild<QAbstractButton*>(QString::fromLatin1(button));
    const QKeySequence letter = target != nullptr ? QKeySequence::mnemonic(target->text()) : QKeySequence();
    if (letter.isEmpty()) {
        kv::test::noteFailure(QStringLiteral("%1 has no Alt letter").arg(QString::fromLatin1(button)));
        return;
    }
    // The letter presses the button the way a click looks: down for a moment, then up.
    QSignalSpy clicked(target, &QAbstractButton::clicked);
    const auto key = static_cast<Qt::Key>(letter[0].key());
    QTest::sendKeyEvent(QTest::Click, focused(), key, QString(QChar(key)).toLower(),
                        letter[0].keyboardModifiers());
    if (clicked.isEmpty() && !clicked.wait(kv::test::kModalLimitMs))
        kv::test::noteFailure(
            QStringLiteral("%1 did not answer its Alt letter").arg(QString::fromLatin1(button)));
}

// In a picker: the row of the code, reached with the arrow keys, and Enter.
void pickWithKeys(QDialog& picker, const QString& code) {
    auto* list = picker.findChild<QTreeWidget*>(QStringLiteral("lvCodes"));
    if (list == nullptr || focused() != list) {
        kv::test::noteFailure(
            QStringLiteral("%1: the list does not have the focus").arg(picker.objectName()));
        return;
    }
    press(Qt::Key_Home);
    for (int i = 0; i < list->topLevelItemCount() && list->currentItem() != nullptr &&
                    list->currentItem()->text(0) != code;
         ++i)
        press(Qt::Key_Down);
    press(Qt::Key_Return);
}

// After a modal window the keys go back to the main window once it is active again (a
// window manager does this on a desktop; the test's platform has none).
bool backTo(QWidget& window) {
    if (QApplication::activeWindow() != &window)
        window.activateWindow();
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; },
                           kv::test::kModalLimitMs);
}
#define KV_BACK_TO(window) QVERIFY(backTo(window))

void whenPickerByKeys(const QString& picker, const QString& code) {
    kv::test::whenModal(picker, [code](QDialog& d) { pickWithKeys(d, code); });
}

// A combo box moved with the arrow keys to the item shown as text.
void chooseWithKeys(const QString& text) {
    auto* box = qobject_cast<QComboBox*>(focused());
    if (box == nullptr) {
        kv::test::noteFailure(QStringLiteral("%1 is not a list to choose from").arg(focusedName()));
        return;
    }
    press(Qt::Key_Home);
    for (int i = 0; i < box->count() && box->currentText() != text; ++i)
        press(Qt::Key_Down);
}

// The cells of the screen's layouts that hold a widget, outermost first: a layout
// and its item (a widget, or a nested layout) at each level.
struct Cell {
    QLayout* layout;
    QLayoutItem* item;
};

bool cellsTo(QLayout* layout, const QWidget* target, QList<Cell>& path) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        path.append({layout, item});
        QWidget* widget = item->widget();
        if (widget == target)
            return true;
        if (widget != nullptr && widget->isAncestorOf(target)) {
            if (auto* scroll = qobject_cast<QScrollArea*>(widget);
                scroll != nullptr && scroll->widget() != nullptr)
                widget = scroll->widget();
            if (widget->layout() != nullptr && cellsTo(widget->layout(), target, path))
                return true;
            return true; // held outside the layouts: its holder stands for it
        }
        if (item->layout() != nullptr && cellsTo(item->layout(), target, path))
            return true;
        path.removeLast();
    }
    return false;
}

// Whether a person reading the screen meets a before b: in the innermost layout that
// holds both, the cells holding them are compared; side by side (their heights
// overlap), the left one comes first, otherwise the upper one. A box that holds
// fields comes before them.
bool readBefore(QWidget* screen, const QWidget* a, const QWidget* b) {
    if (a->isAncestorOf(b) || b->isAncestorOf(a))
        return a->isAncestorOf(b);
    QList<Cell> pathA, pathB;
    if (!cellsTo(screen->layout(), a, pathA) || !cellsTo(screen->layout(), b, pathB))
        return false;
    qsizetype k = 0;
    while (k < pathA.size() && k < pathB.size() && pathA[k].item == pathB[k].item)
        ++k;
    if (k == pathA.size() || k == pathB.size())
        return k == pathA.size();
    const QRect ra = pathA[k].item->geometry();
    const QRect rb = pathB[k].item->geometry();
    const bool sideBySide = ra.top() < rb.bottom() && rb.top() < ra.bottom();
    return sideBySide ? ra.left() < rb.left() : ra.top() < rb.top();
}

// The widgets of the screen Tab can stop at.
QList<QWidget*> tabStops(QWidget* screen) {
    QList<QWidget*> stops;
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || (w->focusPolicy() & Qt::TabFocus) == 0 ||
            w->focusProxy() != nullptr || w->window() != screen->window())
            continue;
        // Of a group of which one button is chosen, only the chosen one.
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const QButtonGroup* group = button != nullptr ? button->group() : nullptr;
        if (group != nullptr && group->exclusive() && group->checkedButton() != nullptr &&
            !button->isChecked())
            continue;
        stops.append(w);
    }
    return stops;
}

QString describe(const QWidget* w) {
    const QString name = w->objectName();
    return name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) + QLatin1Char('@') +
                                w->parentWidget()->objectName()
                          : name;
}

// Tab from the first stop in reading order until the focus leaves root or comes round
// again: what is wrong with the walk (a stop out of reading order, a stop never
// reached, a button of a radio group that is not the chosen one), empty when nothing is.
QString tabWalkFault(QWidget* root) {
    const QList<QWidget*> stops = tabStops(root);
    if (stops.isEmpty())
        return {}; // nothing to enter
    QWidget* first = stops.first();
    for (QWidget* w : stops) {
        if (readBefore(root, w, first))
            first = w;
    }
    first->setFocus(Qt::TabFocusReason);
    QList<QWidget*> walked;
    for (int i = 0; i < 4 * stops.size() && focused() != nullptr && root->isAncestorOf(focused()); ++i) {
        if (walked.isEmpty() || walked.last() != focused())
            walked.append(focused()); // a label with links keeps the focus for each link
        press(Qt::Key_Tab);
        if (walked.contains(focused()) && walked.last() != focused())
            break;
    }
    QStringList path;
    for (QWidget* w : walked)
        path.append(describe(w));
    for (qsizetype i = 1; i < walked.size(); ++i) {
        if (!readBefore(root, walked[i - 1], walked[i]))
            return QStringLiteral("%1 before %2 in %3")
                .arg(describe(walked[i - 1]), describe(walked[i]), path.join(" > "));
    }
    for (QWidget* w : stops) {
        if (!walked.contains(w))
            return describe(w) + QStringLiteral(" not reached: ") + path.join(" > ");
    }
    for (QWidget* w : walked) {
        if (qobject_cast<QRadioButton*>(w) != nullptr && !stops.contains(w))
            return describe(w) + QStringLiteral(" is not the chosen button: ") + path.join(" > ");
    }
    return {};
}

// Every dialog with fields to fill, as the screens open it; an income already chosen
// where the fields wait for a code.
using DialogFactory = std::function<std::unique_ptr<QDialog>(Asker&)>;
const QList<QPair<const char*, DialogFactory>>& dialogFactories() {
    static const QList<QPair<const char*, DialogFactory>> factories = {
        {"13% source",
         [](Asker& a) {
             return std::make_unique<IncomeSourceDialog>(a, ThirteenPercentSource{}, false, true, nullptr);
         }},
        {"13% income",
         [](Asker& a) {
             ThirteenIncomeItem salary;
             salary.incomeCode = 2000;
             salary.amount = Money::fromRoubles(1000);
             return std::make_unique<Income13Dialog>(a, IncomeDict::builtIn(), true, false, salary, nullptr);
         }},
        {"13% income from a sale",
         [](Asker& a) {
             ThirteenIncomeItem sale;
             sale.incomeCode = 1510;
             sale.amount = Money::fromRoubles(3000000);
             sale.deductionCode = 903;
             sale.hasCadastralData = 1;
             sale.cadastralValue = Money::fromRoubles(4000000);
             sale.contractPrice = Money::fromRoubles(3000000);
             return std::make_unique<Income13Dialog>(a, IncomeDict::builtIn(), true, false, sale, nullptr);
         }},
        {"agent deduction",
         [](Asker& a) {
             return std::make_unique<AgentDeductionDialog>(a, IncomeDict::builtIn(), std::nullopt, nullptr);
         }},
        {"35% source",
         [](Asker& a) {
             ThirtyFivePercentSource prize;
             prize.incomeCode = 2740;
             prize.totalIncome = Money::fromRoubles(10000);
             return std::make_unique<ThirtyFiveDialog>(a, IncomeDict::builtIn(), prize, nullptr);
         }},
        {"9% source",
         [](Asker& a) {
             return std::make_unique<FlatIncomeDialog>(a, FlatIncomeKind::NinePercent, ThirtyPercentSource{},
                                                       true, nullptr);
         }},
        {"dividends",
         [](Asker& a) {
             return std::make_unique<FlatIncomeDialog>(a, FlatIncomeKind::Dividends, ThirtyPercentSource{},
                                                       true, nullptr);
         }},
        {"non-resident income",
         [](Asker& a) {
             return std::make_unique<NonResidentIncomeDialog>(a, IncomeDict::builtIn(), std::nullopt,
                                                              nullptr);
         }},
        {"foreign source",
         [](Asker& a) {
             return std::make_unique<ForeignSourceDialog>(a, std::nullopt, ForeignIncome{}, nullptr);
         }},
        {"housing object",
         [](Asker& a) {
             return std::make_unique<HousingObjectDialog>(a, HousingObject{}, ObjectDialogSetup{}, nullptr);
         }},
        {"housing object by an investment contract",
         [](Asker& a) {
             HousingObject flat;
             flat.objectKind = 2;
             flat.numberKind = 1;
             flat.taxpayerSign = 1;
             flat.shareNumerator = 1;
             flat.shareDenominator = 2;
             flat.byInvestmentContract = 1;
             return std::make_unique<HousingObjectDialog>(a, flat, ObjectDialogSetup{}, nullptr);
         }},
        {"child education", [](Asker&) { return std::make_unique<ChildEducationDialog>(Money{}, nullptr); }},
        {"pension contract",
         [](Asker& a) { return std::make_unique<PensionContractDialog>(a, PensionContract{}, nullptr); }},
        {"month choice",
         [](Asker&) {
             return std::make_unique<MonthChoiceDialog>(QStringLiteral("TfmMonthChoice"),
                                                        QStringLiteral("Вычет"), selfCodeChoices(),
                                                        MonthInts{}, nullptr);
         }},
        {"business activity",
         [](Asker& a) {
             return std::make_unique<BusinessActivityDialog>(a, nullptr, std::filesystem::path(),
                                                             Cp1251Text{"1"}, Cp1251Text{}, nullptr);
         }},
        {"okved picker",
         [](Asker& a) {
             return std::make_unique<OkvedPicker>(a, nullptr, std::filesystem::path("/nonexistent"), nullptr);
         }},
        {"partnership source",
         [](Asker& a) {
             return std::make_unique<PartnershipSourceDialog>(a, InvestmentPartnership{}, nullptr);
         }},
        {"partnership income",
         [](Asker& a) {
             return std::make_unique<PartnershipIncomeDialog>(a, PartnershipIncomeItem{}, nullptr);
         }},
        {"tax office import", [](Asker& a) { return std::make_unique<SounImportDialog>(a, nullptr); }},
        {"certificate import",
         [](Asker&) {
             static const CertificateFile file = [] {
                 QFile in(QStringLiteral(KV_CERTIFICATES "/two_recipients.xml"));
                 const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
                 const CertificateReading reading =
                     readIncomeCertificates(std::string_view(bytes.constData(), bytes.size()));
                 if (!reading.file.has_value())
                     kv::test::noteFailure(QStringLiteral("the certificate file was not read"));
                 return reading.file.value_or(CertificateFile{});
             }();
             static const Declaration declaration(kv::test::testClock());
             return std::make_unique<CertificatePreviewDialog>(nullptr, file, declaration, 0);
         }},
        {"result", [](Asker&) { return std::make_unique<ResultSummaryDialog>(nullptr); }},
    };
    return factories;
}

// Answers a fault of a screen being left with "Пропустить все", anything else with its
// escape answer: the walk looks at screens, it does not correct them.
class LookingAroundAsker : public kv::Asker {
public:
    int ask(QWidget*, const kv::Question& q) override {
        const int skipAll = static_cast<int>(q.answers.indexOf(QStringLiteral("Пропустить все")));
        return q.answerEnabled(skipAll) ? skipAll : (q.escapeIndex >= 0 ? q.escapeIndex : q.defaultIndex);
    }
    std::optional<QString> openFile(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
    std::optional<QString> saveFile(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
};

// Prints to a PDF file through the program's print module, in the folder a print
// dialog would offer and under the name it would propose.
class PdfPrintJob : public PrintJob {
public:
    QString folder;
    QString written;

    void preview(const Cp1251Text&, const std::string&, std::string&, const QString&, QWidget*) override {}
    void print(const Cp1251Text& inspectionName, const std::string& programFolder, std::string& xml,
               const QString& outputName, QWidget*) override {
        print::PrintModule module;
        module.setPrintTiffParam(print::kInspectionNameParam, inspectionName);
        module.PrintTiffFolder = programFolder;
        written = QDir(folder).filePath(outputName + QStringLiteral(".pdf"));
        module.printToPdf(xml, written.toStdString());
    }
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;
    QTemporaryDir folder_;
    kv::test::RoadRun run_;

    // The sample return with every record, of the kind the screen needs.
    QString sampleFor(ScreenId id) {
        Declaration d(run_.clock);
        d.loadFromFile(QStringLiteral(KV_EXAMPLES_DIR "/all-records.qv9").toStdString());
        if (id == ScreenId::ThirteenPercentNonResident)
            d.setKind(ReturnKind::NonResident);
        const QString path = folder_.filePath(QStringLiteral("sample.qv9"));
        d.saveToFile(path.toStdString());
        return path;
    }

    // Shows the screen in the window, through its section and, inside a container, its button.
    static void showScreen(MainWindow& window, ScreenId id) {
        const ScreenInfo& info = ScreenRegistry::standard().info(id);
        if (const auto* place = std::get_if<SectionPlace>(&info.place)) {
            window.switchSection(place->section);
            return;
        }
        const ScreenId container = std::get<InsideContainer>(info.place).container;
        showScreen(window, container);
        if (auto* screen = qobject_cast<ScreenContainer*>(window.currentScreen()))
            screen->openInner(id);
    }

private slots:
    void initTestCase() { QVERIFY(folder_.isValid()); }
    void cleanup() { KV_VERIFY_ROAD(run_); }

    // Tab goes once through every field of the screen, in reading order, and each of its
    // buttons has an Alt letter of its own in the window.
    void everyScreenFromTheKeyboard_data() {
        QTest::addColumn<ScreenId>("screen");
        for (const ScreenInfo& info : ScreenRegistry::standard().rows())
            QTest::newRow(qPrintable(info.className)) << info.id;
    }
    void everyScreenFromTheKeyboard() {
        QFETCH(ScreenId, screen);
        LookingAroundAsker asker;
        MainWindowOptions options = run_.options();
        options.asker = &asker;
        MainWindow window(sampleFor(screen), options);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        showScreen(window, screen);
        const QString className = ScreenRegistry::standard().info(screen).className;
        auto* shown = window.findChild<QWidget*>(className);
        QVERIFY2(shown != nullptr && shown->isVisible(), qPrintable(className));

        const QString fault = tabWalkFault(shown);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        // Alt letters: every button of the screen has one, none used twice in the window.
        QMap<QChar, QString> letters;
        for (QAction* menu : window.menuBar()->actions())
            letters.insert(QKeySequence::mnemonic(menu->text()).toString().back().toLower(), menu->text());
        for (QAbstractButton* button : window.currentScreen()->findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || button->text().isEmpty() ||
                qobject_cast<QToolButton*>(button) != nullptr)
                continue;
            const QString letter = QKeySequence::mnemonic(button->text()).toString();
            QVERIFY2(!letter.isEmpty(), qPrintable(button->text()));
            const QChar c = letter.back().toLower();
            QVERIFY2(!letters.contains(c),
                     qPrintable(button->text() + QStringLiteral(" / ") + letters.value(c)));
            letters.insert(c, button->text());
        }
    }

    // Tab goes once through every field of a dialog, in reading order: the buttons of the
    // dialog box, at its foot, come last.
    void everyDialogFromTheKeyboard_data() {
        QTest::addColumn<int>("dialog");
        for (qsizetype i = 0; i < dialogFactories().size(); ++i)
            QTest::newRow(dialogFactories().at(i).first) << static_cast<int>(i);
    }
    void everyDialogFromTheKeyboard() {
        QFETCH(int, dialog);
        LookingAroundAsker asker;
        const std::unique_ptr<QDialog> shown = dialogFactories().at(dialog).second(asker);
        shown->show();
        QVERIFY(QTest::qWaitForWindowActive(shown.get()));
        const QString fault = tabWalkFault(shown.get());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Tab into a group of radio buttons lands on the checked one, whichever it is, and
    // passes the others; the arrows move the choice inside the group.
    void radioGroupTakesTabOnItsCheckedButton() {
        MainWindow window(std::nullopt, run_.options());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* self = child<QRadioButton>(&window, "rbGiveSelf");
        auto* represented = child<QRadioButton>(&window, "rbGiveTrustFase");
        QVERIFY(self != nullptr && represented != nullptr);
        for (QRadioButton* checked : {self, represented}) {
            QVERIFY(checked->isChecked());
            focusFirstField(window.currentScreen());
            QList<QWidget*> seen;
            for (int i = 0; i < 200 && (seen.isEmpty() || focused() != seen.first()); ++i) {
                seen.append(focused());
                press(Qt::Key_Tab);
            }
            QVERIFY(seen.contains(checked));
            for (QWidget* w : seen) {
                if (auto* radio = qobject_cast<QRadioButton*>(w))
                    QVERIFY2(radio->isChecked(), qPrintable(radio->objectName()));
            }
            checked->setFocus(Qt::TabFocusReason);
            press(Qt::Key_Down);
        }
    }

    // A section reached from the keyboard takes the keys at once: its first field, or
    // the list of its entries.
    void aSectionShownTakesTheKeys_data() {
        QTest::addColumn<int>("digit");
        QTest::addColumn<QString>("focus");
        QTest::newRow("taxpayer") << 2 << "edSurname";
        QTest::newRow("incomes, none yet") << 3 << "lvSources";
        QTest::newRow("deductions") << 6 << "chbConstructionDeduct";
        QTest::newRow("back to the conditions") << 1 << "rbSimple";
    }
    void aSectionShownTakesTheKeys() {
        QFETCH(int, digit);
        QFETCH(QString, focus);
        LookingAroundAsker asker;
        MainWindowOptions options = run_.options();
        options.asker = &asker;
        MainWindow window(std::nullopt, options);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (digit == 1)
            press(Qt::Key_2, Qt::ControlModifier);
        press(static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::ControlModifier);
        QCOMPARE(focusedName(), focus);
        QVERIFY(window.currentScreen()->isAncestorOf(focused()));
    }

    // The typical return from a new document to a printed PDF, with keys alone.
    void typicalReturnFromTheKeyboard() {
        PdfPrintJob pdf;
        pdf.folder = folder_.path();
        MainWindowOptions options = run_.options();
        options.printJob = &pdf;
        MainWindow window(std::nullopt, options);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Conditions: the tax office from its directory, the OKTMO of residence.
        QVERIFY(window.currentScreen()->isAncestorOf(focused()));
        QVERIFY(tabTo("bnInspection"));
        whenPickerByKeys(QStringLiteral("TfmInputInspectionNumber"), QStringLiteral("7701"));
        press(Qt::Key_Space);
        KV_VERIFY_MODALS();
        KV_BACK_TO(window);
        QVERIFY(tabTo("meOKATO"));
        type(QStringLiteral("45379000"));

        // The taxpayer.
        press(Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(focusedName(), QStringLiteral("edSurname"));
        type(QStringLiteral("Соколов"));
        press(Qt::Key_Tab);
        type(QStringLiteral("Андрей"));
        press(Qt::Key_Tab);
        type(QStringLiteral("Викторович"));
        QVERIFY(tabTo("edInn"));
        type(QStringLiteral("770123456703"));
        press(Qt::Key_Tab);
        type(QStringLiteral("12.04.1985"));
        QVERIFY(tabTo("edBirthPlace"));
        type(QStringLiteral("г. Москва"));
        QVERIFY(tabTo("bnDocType"));
        whenPickerByKeys(QStringLiteral("TfmDocType"), QStringLiteral("21"));
        press(Qt::Key_Space);
        KV_VERIFY_MODALS();
        KV_BACK_TO(window);
        QVERIFY(tabTo("edDocNumber"));
        type(QStringLiteral("4509123456"));
        press(Qt::Key_Tab);
        type(QStringLiteral("14.05.2009"));
        QVERIFY(tabTo("edDocIssuer"));
        type(QStringLiteral("ОВД района Хамовники г. Москвы"));
        QVERIFY(tabTo("edPhone"));
        type(QStringLiteral("+7 495 123-45-67"));

        // The employer and twelve months of salary.
        press(Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(focusedName(), QStringLiteral("lvSources"));
        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"), [](QDialog&) {
            type(QStringLiteral("ООО \"Северный ветер\""));
            press(Qt::Key_Tab);
            type(QStringLiteral("7701234560"));
            press(Qt::Key_Tab);
            type(QStringLiteral("770101001"));
            press(Qt::Key_Tab);
            type(QStringLiteral("45379000"));
            if (tabTo("chbPrimaryWorkplace"))
                press(Qt::Key_Space);
            press(Qt::Key_Return);
        });
        pressAltLetter(&window, "bnAddSource");
        KV_VERIFY_MODALS();
        KV_BACK_TO(window);
        kv::test::whenModal(QStringLiteral("TfmInput13Income"), [](QDialog&) {
            type(QStringLiteral("2000"));
            if (tabTo("edIncomeSum"))
                type(QStringLiteral("80000"));
            if (tabTo("edMonth"))
                type(QStringLiteral("1"));
            press(Qt::Key_Return);
        });
        pressAltLetter(&window, "bnAddIncome");
        KV_VERIFY_MODALS();
        KV_BACK_TO(window);
        for (int month = 2; month <= 12; ++month)
            pressAltLetter(&window, "bnRepeatIncome");
        QVERIFY(tabTo("edTaxWithheld"));
        type(QStringLiteral("124800"));
        QCOMPARE(kv::test::textOf(&window, "edTotalIncome"), QStringLiteral("960 000,00"));

        // The flat.
        press(Qt::Key_6, Qt::ControlModifier);
        QCOMPARE(focusedName(), QStringLiteral("chbConstructionDeduct"));
        press(Qt::Key_Space);
        kv::test::whenModal(QStringLiteral("TfmInputConstruction"), [](QDialog&) {
            if (tabTo("cbObjectKind"))
                chooseWithKeys(QStringLiteral("Квартира"));
            if (tabTo("cbTaxpayerSign"))
                press(Qt::Key_Home); // the first: the owner
            if (tabTo("cbNumberKind"))
                press(Qt::Key_Home); // the first: a cadastral number
            if (tabTo("edObjectNumber"))
                type(QStringLiteral("77:07:0009001:1342"));
            if (tabTo("edObjectAddress"))
                type(QStringLiteral("г. Москва, ул. Удальцова, д. 3, кв. 57"));
            if (tabTo("deRightDate"))
                type(QStringLiteral("20.06.2019"));
            if (tabTo("edObjectCost"))
                type(QStringLiteral("3500000"));
            press(Qt::Key_Return);
        });
        pressAltLetter(&window, "bnAddObject");
        KV_VERIFY_MODALS();
        KV_BACK_TO(window);
        QCOMPARE(kv::test::textOf(&window, "edTotalCost"), QStringLiteral("2 000 000,00"));

        // Save, check, export, print.
        const QString saved = folder_.filePath(QStringLiteral("Соколов.qv9"));
        run_.script.expectFile(QStringLiteral("saveReturn"), saved);
        press(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(window.documentSaved());
        QCOMPARE(run_.script.fileQuestions().last().fileName, QStringLiteral("Соколов 2019.qv9"));

        // What the return comes to opens beside the window; Escape closes it.
        const auto closeResult = [&window] {
            auto* result = window.findChild<QDialog*>(QStringLiteral("ResultSummary"));
            QVERIFY(result != nullptr && result->isVisible());
            QVERIFY(QTest::qWaitFor([result] { return QApplication::activeWindow() == result; },
                                    kv::test::kModalLimitMs));
            press(Qt::Key_Escape);
            QVERIFY(!result->isVisible());
            KV_BACK_TO(window);
        };
        run_.script.expect(QStringLiteral("checkPassed"), QStringLiteral("OK"));
        press(Qt::Key_F7);
        closeResult();

        const QString exportFolder = folder_.filePath(QStringLiteral("export"));
        QVERIFY(QDir().mkpath(exportFolder));
        run_.script.expectFile(QStringLiteral("exportFolder"), exportFolder);
        run_.script.expect(QStringLiteral("exportResult"), QStringLiteral("OK"));
        press(Qt::Key_E, Qt::ControlModifier);
        KV_VERIFY_ASKER(run_.script);
        closeResult();

        press(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(pdf.written, folder_.filePath(QStringLiteral("Соколов.pdf")));
        QVERIFY(fileBytes(pdf.written).startsWith("%PDF"));

        // The same return as the shipped sample holds it, exported on the same day with the
        // same identifier, gives the same file.
        const QString name =
            kv::test::RoadRun::exportName(QStringLiteral("7701"), QStringLiteral("770123456703"));
        const QString expectedFolder = folder_.filePath(QStringLiteral("expected"));
        QVERIFY(QDir().mkpath(expectedFolder));
        Declaration sample(run_.clock);
        sample.loadFromFile(QStringLiteral(KV_EXAMPLES_DIR "/typical.qv9").toStdString());
        const ExportServices services{run_.clock, run_.ids,
                                      [](const Cp1251Text& m) { QFAIL(m.utf8().c_str()); }};
        QCOMPARE(QString::fromStdString(
                     exportReturn(expectedFolder.toStdString() + "/", sample, kExportToFile, services)),
                 name);
        const QByteArray expected = fileBytes(QDir(expectedFolder).filePath(name));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(
            fromCp1251(Cp1251Text::fromBytes(fileBytes(QDir(exportFolder).filePath(name)).toStdString())),
            fromCp1251(Cp1251Text::fromBytes(expected.toStdString())));
    }
};

KV_QTEST_MAIN(KeyboardTest)

#include "keyboard_test.moc"
