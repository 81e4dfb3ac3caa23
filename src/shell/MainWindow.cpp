#include "shell/MainWindow.h"

#include "core/Date.h"
#include "export/FileIdentity.h"
#include "model/Declaration.h"
#include "reference/RatesImport.h"
#include "screens/ScreenTable.h"
#include "screens/Sections.h"
#include "screens/kit/DataFolders.h"
#include "screens/kit/Mnemonics.h"
#include "screens/kit/Pictures.h"
#include "screens/kit/UiText.h"
#include "shell/FileNames.h"
#include "shell/HelpWindow.h"
#include "shell/PrintJob.h"
#include "shell/RecentFiles.h"
#include "shell/Recovery.h"
#include "shell/ResultSummary.h"
#include "shell/WindowSettings.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

namespace {

// The toolbar buttons, left to right, with their captions under the pictures.
struct ToolButtonInfo {
    const char* objectName;
    QString caption;
    ToolPicture picture;
};

const std::array<ToolButtonInfo, 8>& toolButtonInfos() {
    static const std::array<ToolButtonInfo, 8> infos = {{
        {"fbCreate", QStringLiteral("Создать"), ToolPicture::Create},
        {"fbOpen", QStringLiteral("Открыть"), ToolPicture::Open},
        {"fbSave", QStringLiteral("Сохранить"), ToolPicture::Save},
        {"fbView", QStringLiteral("Просмотр"), ToolPicture::View},
        {"fbPrint", QStringLiteral("Печать"), ToolPicture::Print},
        {"fbExsport", QStringLiteral("Файл xml"), ToolPicture::Export},
        {"fbCheck", QStringLiteral("Проверить"), ToolPicture::Check},
        {"fbResult", QStringLiteral("Расчёт"), ToolPicture::Result},
    }};
    return infos;
}

// Without captions the buttons are square; with them they are wider and the row taller.
constexpr QSize kCaptionedButton(80, 47);
constexpr QSize kPlainButton(35, 35);
constexpr int kCaptionedBandHeight = 50;
constexpr int kPlainBandHeight = 38;

// The area under the toolbar scrolls once the window is smaller than this.
constexpr QSize kContentSize(980, 600);

} // namespace

MainWindow::MainWindow(const std::optional<QString>& path, Options options, QWidget* parent)
    : QMainWindow(parent), options_(options), asker_(options.asker), clock_(options.clock),
      printJob_(options.printJob), ids_(options.ids), session_(*options.clock, *this) {
    setObjectName(QStringLiteral("TFormMain"));
    screens_ = options_.screens != nullptr ? options_.screens : &ScreenRegistry::standard();
    programFolder_ = options_.programFolder.isEmpty() ? executableFolder() : options_.programFolder;
    programFolder_ = withSlash(programFolder_);
    userFolder_ = options_.userDataFolder.isEmpty() ? userDataFolder() : withSlash(options_.userDataFolder);
    dataFolders_ = dataFolders(userFolder_, programFolder_);

    // Captions of the menus, the toolbar and the section buttons.
    resize(1014, 701);
    setMinimumSize(750, 550);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(true);
    qApp->installEventFilter(this); // drops on the fields too
    buildActions();
    buildMenus();
    buildGoMenu();
    buildToolbar();
    // Items added later (the recent files, other commands) get their letters when shown.
    for (QMenu* menu : findChildren<QMenu*>()) {
        giveMnemonics(menu);
        connect(menu, &QMenu::aboutToShow, menu, [menu] { giveMnemonics(menu); });
    }
    recovery_ = std::make_unique<RecoveryKeeper>(
        userFolder_, options_.recoveryDelayMs, [this](const QString& file) { writeRecoveryCopy(file); },
        [this] {
            const QString path = documentPath();
            return FileStamp{path, documentBase_.path == path ? documentBase_.digest : QByteArray()};
        });

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    content->setMinimumSize(kContentSize);
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(4, 4, 4, 4);
    auto* column = new QFrame(content);
    column->setObjectName(QStringLiteral("PnlSelectGroup"));
    column->setFrameShape(QFrame::StyledPanel);
    auto* columnLayout = new QVBoxLayout(column);
    buildSections(column, columnLayout);
    row->addWidget(column);
    formContainer_ = new QFrame(content);
    formContainer_->setObjectName(QStringLiteral("PnlFormContainer"));
    static_cast<QFrame*>(formContainer_)->setFrameShape(QFrame::StyledPanel);
    formLayout_ = new QVBoxLayout(formContainer_);
    row->addWidget(formContainer_, 1);
    scroll->setWidget(content);
    setCentralWidget(scroll);

    restorePlacement();

    // The two toolbar settings of the user.
    const ToolbarSettings settings = readToolbarSettings();
    stdToolbarItem_->setChecked(settings.showStdToolbar);
    textLabelsItem_->setChecked(settings.textLabels);
    applyTextLabels(settings.textLabels);
    applyToolbarVisible(settings.showStdToolbar);

    // Amounts are shown with "," and dates as dd.mm.yyyy throughout the program.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

    session_.start(path.has_value() ? std::optional(fileNameBytes(*path).toStdString()) : std::nullopt);
    setTitleFromPath();

    loadDirectories();
    showInitialScreen();
    session_.markSaved();
    setSectionsFromDocument();
    if (!mustQuit_)
        offerRecovery();
    if (!mustQuit_)
        tellWhatCannotBeKept();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    destroyScreen();
}

// The frame's corner and the contents' size of the window as it is when not maximized.
WindowPlacement MainWindow::placement() const {
    const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    return {isMaximized(), QRect(normal.topLeft() - frameOffset, normal.size())};
}

// The window comes back where it was closed, if that place is still on a screen.
void MainWindow::restorePlacement() {
    const std::optional<WindowPlacement> kept = readWindowPlacement();
    if (!kept.has_value())
        return;
    resize(kept->normal.size().expandedTo(minimumSize()));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(QRect(kept->normal.topLeft(), size()))) {
            move(kept->normal.topLeft());
            break;
        }
    }
    if (kept->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::buildActions() {
    auto action = [this](const char* name, const QString& caption, auto slot) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    createDoc_ = action("CreateDoc", QStringLiteral("&Создать"), [this] { startNewReturn(); });
    openDoc_ = action("OpenDoc", QStringLiteral("&Открыть"), [this] { openReturn(); });
    saveDoc_ = action("SaveDoc", QStringLiteral("Со&хранить"), [this] { saveReturn(); });
    saveAsDoc_ = action("SaveAsDoc", QStringLiteral("Сохранить &как..."), [this] { saveReturnAs(); });
    quit_ = action("Quit", QStringLiteral("&Выход"), [this] { close(); });
    previewDoc_ = action("PreviewDoc", QStringLiteral("&Просмотр"), [this] { previewDoc(); });
    printDoc_ = action("PrintDoc", QStringLiteral("П&ечать"), [this] { printDoc(); });
    exportDoc_ = action("ExportDoc", QStringLiteral("&Экспорт в xml"), [this] { exportDoc(); });
    checkDoc_ = action("CheckDoc", QStringLiteral("Пр&оверить"), [this] { checkDoc(); });
    resultDoc_ = action("ResultDoc", QStringLiteral("&Расчёт"), [this] { showResult(); });
    importCertificate_ = action("ImportCertificate", QStringLiteral("&Загрузить справку 2-НДФЛ..."),
                                [this] { loadCertificate(); });
    helpAction_ = action("Help", QStringLiteral("&Справка"), [this] { showHelpContents(); });
    about_ = action("About", QStringLiteral("&О программе"), [this] { showAbout(); });

    createDoc_->setShortcut(QKeySequence::New);
    openDoc_->setShortcut(QKeySequence::Open);
    saveDoc_->setShortcut(QKeySequence::Save);
    saveAsDoc_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    printDoc_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Keys people know from office programs (preview beside print, F7 to check, F9 to
    // recalculate), none taken by the desktop or by a field; the manual page lists them.
    previewDoc_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    exportDoc_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    checkDoc_->setShortcut(QKeySequence(Qt::Key_F7));
    resultDoc_->setShortcut(QKeySequence(Qt::Key_F9));
    about_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1));
    // F1 belongs to the help of the screen shown; "Справка" opens the contents.
    for (QAction* a : {createDoc_, openDoc_, saveDoc_, saveAsDoc_, printDoc_, quit_, helpAction_, previewDoc_,
                       exportDoc_, checkDoc_, resultDoc_, about_})
        addAction(a);
    createDoc_->setIcon(toolPicture(ToolPicture::Create));
    openDoc_->setIcon(toolPicture(ToolPicture::Open));
    saveDoc_->setIcon(toolPicture(ToolPicture::Save));
    previewDoc_->setIcon(toolPicture(ToolPicture::View));
    printDoc_->setIcon(toolPicture(ToolPicture::Print));
    exportDoc_->setIcon(toolPicture(ToolPicture::Export));
    checkDoc_->setIcon(toolPicture(ToolPicture::Check));
    resultDoc_->setIcon(toolPicture(ToolPicture::Result));

    stdToolbarItem_ = new QAction(QStringLiteral("&Стандартная панель"), this);
    stdToolbarItem_->setObjectName(QStringLiteral("miStdToolbar"));
    stdToolbarItem_->setCheckable(true);
    connect(stdToolbarItem_, &QAction::triggered, this, [this](bool on) {
        writeToolbarSetting(kSettingShowStdToolbar, on);
        applyToolbarVisible(on);
    });
    textLabelsItem_ = new QAction(QStringLiteral("&Подписи под кнопками"), this);
    textLabelsItem_->setObjectName(QStringLiteral("miTextLabels"));
    textLabelsItem_->setCheckable(true);
    connect(textLabelsItem_, &QAction::triggered, this, [this](bool on) {
        writeToolbarSetting(kSettingTextLabels, on);
        applyTextLabels(on);
    });
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnFile"));
    file->addActions({createDoc_, openDoc_, saveDoc_, saveAsDoc_});
    file->addSeparator();
    file->addAction(quit_);
    buildRecentMenu(file, quit_);

    QMenu* declaration = menuBar()->addMenu(QStringLiteral("&Декларация"));
    declaration->setObjectName(QStringLiteral("mnDeclaration"));
    declaration->addActions({previewDoc_, printDoc_, exportDoc_, checkDoc_, resultDoc_});
    declaration->addSeparator();
    declaration->addAction(importCertificate_);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Настройки"));
    settings->setObjectName(QStringLiteral("mnSettings"));
    settings->addActions({stdToolbarItem_, textLabelsItem_});
    // The settings are two marks in their menu: the usual settings key opens it.
    auto* openSettings = new QAction(this);
    openSettings->setObjectName(QStringLiteral("OpenSettings"));
    openSettings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    connect(openSettings, &QAction::triggered, this,
            [this, settings] { menuBar()->setActiveAction(settings->menuAction()); });
    addAction(openSettings);
    // F10 opens the menu bar, as in the desktops' own programs.
    auto* openMenuBar = new QAction(this);
    openMenuBar->setObjectName(QStringLiteral("OpenMenuBar"));
    openMenuBar->setShortcut(QKeySequence(Qt::Key_F10));
    connect(openMenuBar, &QAction::triggered, this,
            [this, file] { menuBar()->setActiveAction(file->menuAction()); });
    addAction(openMenuBar);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Справка"));
    help->setObjectName(QStringLiteral("mnHelp"));
    help->addAction(helpAction_);
    help->addSeparator();
    help->addAction(about_);
}

void MainWindow::buildToolbar() {
    toolbar_ = new QToolBar(QStringLiteral("Стандартная панель"), this);
    toolbar_->setObjectName(QStringLiteral("ToolBar"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->toggleViewAction()->setEnabled(false);
    toolbar_->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, toolbar_);

    const std::array<QAction*, 8> actions = {createDoc_, openDoc_,   saveDoc_,  previewDoc_,
                                             printDoc_,  exportDoc_, checkDoc_, resultDoc_};
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (i == 3 || i == 5)
            toolbar_->addSeparator();
        // Own buttons rather than the actions' own, since "Файл xml" differs from
        // the menu's "Экспорт в xml".
        auto* button = new QToolButton(toolbar_);
        button->setObjectName(QString::fromLatin1(toolButtonInfos()[i].objectName));
        button->setIcon(actions[i]->icon());
        button->setToolTip(actions[i]->text());
        button->setAutoRaise(true);
        QAction* action = actions[i];
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        // Every command has its key and menu item: Tab goes through the screen, not the toolbar.
        button->setFocusPolicy(Qt::NoFocus);
        toolbar_->addWidget(button);
        toolButtons_[i] = button;
    }
}

void MainWindow::buildSections(QWidget* column, QVBoxLayout* layout) {
    sectionGroup_ = new QButtonGroup(this);
    sectionGroup_->setExclusive(true);
    for (const SectionButtonInfo& info : sectionButtons()) {
        auto* button = new QToolButton(column);
        button->setObjectName(info.objectName);
        button->setText(info.caption);
        button->setToolTip(info.hint);
        button->setIcon(sectionPicture(info.picture));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedWidth(176);
        button->setMinimumHeight(58);
        button->setVisible(info.visible);
        sectionGroup_->addButton(button);
        layout->addWidget(button);
        sectionButtons_[info.section] = button;
        if (info.screen.has_value()) {
            const Section section = info.section;
            connect(button, &QToolButton::clicked, this, [this, section] { switchSection(section); });
        }
    }
    layout->addStretch(1);
}

void MainWindow::applyToolbarVisible(bool visible) {
    toolbar_->setMinimumHeight(textLabelsItem_->isChecked() ? kCaptionedBandHeight : kPlainBandHeight);
    toolbar_->setVisible(visible);
}

void MainWindow::applyTextLabels(bool on) {
    for (std::size_t i = 0; i < toolButtons_.size(); ++i) {
        QToolButton* button = toolButtons_[i];
        button->setText(on ? toolButtonInfos()[i].caption : QString());
        button->setToolButtonStyle(on ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        button->setFixedSize(on ? kCaptionedButton : kPlainButton);
    }
    toolbar_->setMinimumHeight(on ? kCaptionedBandHeight : kPlainBandHeight);
}

void MainWindow::loadDirectories() {
    DataFolders folders;
    for (const QString& folder : dataFolders_)
        folders.emplace_back(QFile::encodeName(folder).toStdString());
    directories_ = kv::loadDirectories(folders);
    if (directories_.fatal()) {
        showError(QStringLiteral("directoryFailed"), fromCp1251(taxOfficeFileFatalMessage()));
        mustQuit_ = true;
    }
}

// Imported rates go to the user's copy, which the next start finds first; a first
// import starts from the directory read now.
RatesImportPlace MainWindow::ratesImportPlace() const {
    QDir().mkpath(userFolder_);
    DataFolders folders;
    for (const QString& folder : dataFolders_)
        folders.emplace_back(QFile::encodeName(folder).toStdString());
    const std::filesystem::path user = QFile::encodeName(userFolder_).toStdString();
    return {user / kCurrencyRatesFile, findDataFile(folders, kCurrencyRatesFile)};
}

void MainWindow::currencyRatesImported(const CurrencyRates& rates) {
    directories_.currencyRates = rates;
    directories_.currencyRatesState = DirectoryState::Loaded;
}

void MainWindow::documentChanged() {
    if (buildingGuard_)
        return;
    session_.changed();
    resultSummaryOutdated(this);
}

void MainWindow::setSectionEnabled(Section section, bool enabled) {
    sectionButtons_.at(section)->setEnabled(enabled);
    if (const auto go = goActions_.find(section); go != goActions_.end())
        go->second->setEnabled(enabled);
}

bool MainWindow::sectionEnabled(Section section) const {
    return sectionButtons_.at(section)->isEnabled();
}

QAbstractButton* MainWindow::sectionButtonWidget(Section section) const {
    return sectionButtons_.at(section);
}

void MainWindow::setCommandsEnabled(bool enabled) {
    // The window's own parts, not the window: the dialogs it opens meanwhile stay usable.
    menuBar()->setEnabled(enabled);
    toolbar_->setEnabled(enabled);
    centralWidget()->setEnabled(enabled);
    for (QAction* a : {createDoc_, openDoc_, saveDoc_, helpAction_})
        a->setEnabled(enabled);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    destroyScreen();
    session_.close();
    if (help_ != nullptr)
        help_->close();
    writeWindowPlacement(placement());
    // Closed on purpose, saved or not: nothing is left to recover, and no file is held.
    recovery_->release();
    event->accept();
}

} // namespace kv
