#pragma once
// The program's main window: the one open return, its file commands, the section
// buttons with the current screen, the check, export, print and help commands,
// and the two toolbar settings kept between runs.
#include "reference/Directories.h"
#include "screens/kit/Asker.h"
#include "screens/kit/ScreenFrame.h"
#include "session/ReturnSession.h"
#include "shell/FileStamp.h"
#include "shell/WindowSettings.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAbstractButton;
class QAction;
class QMenu;
class QButtonGroup;
class QMimeData;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace kv {

enum class CheckSection : std::uint16_t;
class Clock;
class IdSource;
struct ExportServices;
class PrintJob;
class HelpWindow;
class RecentFiles;
class RecoveryKeeper;

// What the main window takes from outside. The services are required: start-up builds
// the program's own (ProgramServices), tests their stand-ins.
struct MainWindowOptions {
    QString programFolder;                   // with its final "/"; empty: the executable's folder
    QString userDataFolder;                  // imports' copies and the recovery copy; empty: the user's
    Asker* asker = nullptr;                  // every question of the window and its screens
    const Clock* clock = nullptr;            // today's date
    const IdSource* ids = nullptr;           // identifiers of exported files
    PrintJob* printJob = nullptr;            // preview and printing
    const ScreenRegistry* screens = nullptr; // empty: the program's screens
    int recoveryDelayMs = 2000;              // from the last change to the recovery copy
};

class MainWindow : public QMainWindow, public ScreenHost, private SessionHost {
    Q_OBJECT
public:
    using Options = MainWindowOptions;

    // The return named on the command line is opened; without one a new return starts.
    explicit MainWindow(const std::optional<QString>& path, Options options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The tax-office directory could not be read: the program ends after start-up.
    bool mustQuit() const { return mustQuit_; }

    // --- The open return (its life is the session's) ----------------------------
    void startNewReturn() { session_.newReturn(); }
    void openReturn() { session_.open(); }
    // False when nothing was saved (the dialog was cancelled or the save failed).
    bool saveReturn() { return session_.save(); }
    bool saveReturnAs() { return session_.saveAs(); }
    // True when the return may be dropped.
    bool maybeSave() { return session_.saveQuery(); }
    // The file name Save As proposes ("Смирнов.qv9"); print to file proposes it as ".pdf".
    QString returnFileName() const;

    QString documentPath() const;
    bool documentSaved() const { return session_.saved(); }
    Declaration& document() { return session_.document(); }

    // --- Commands ------------------------------------------------------------
    // 0 when the return may go on, 2 when the user cancelled at a fault, 1 after
    // opening the screen of the fault the user chose to fix.
    int checkAndShowFault();
    void checkDoc();
    // "Расчёт": what the return comes to, in a window beside this one.
    void showResult();
    // "Загрузить справку 2-НДФЛ...": the current screen shows the return afterwards.
    void loadCertificate();
    void exportDoc();
    void previewDoc();
    void printDoc();
    void showHelpContents();
    void showHelpTopic(const QString& topic);
    void showAbout();

    // --- Keyboard, recent files, recovery ----------------------------------------
    // F1: the help page of the screen shown (of its inner screen, when it has one).
    void showScreenHelp();
    static QString helpTopicOf(ScreenId screen);
    // A return from the "Последние файлы" list, after the save question.
    void openRecentFile(const QString& path);
    // A return named by its path (a recent file, a file dropped on the window), after the save question.
    void openReturnFile(const QString& path);
    // The one local file a drag carries; empty for anything else.
    static QString droppedFile(const QMimeData* data);
    RecentFiles& recentFiles() { return *recent_; }
    RecoveryKeeper& recovery() { return *recovery_; }

    // --- Sections ------------------------------------------------------------
    ScreenFrame* currentScreen() const { return screen_; }
    Section currentSection() const { return currentSection_; }
    // A click on a section button: saves and checks the screen it leaves.
    void switchSection(Section section);
    QAbstractButton* sectionButtonWidget(Section section) const;
    HelpWindow* helpWindow() const { return help_.get(); }

    // --- ScreenHost ------------------------------------------------------------
    DocumentSlot& documentSlot() override { return session_.slot(); }
    Asker& asker() override { return *asker_; }
    const ScreenRegistry& screens() const override { return *screens_; }
    const Directories& directories() const override { return directories_; }
    const Clock& clock() const override { return *clock_; }
    RatesImportPlace ratesImportPlace() const override;
    void currencyRatesImported(const CurrencyRates& rates) override;
    void documentChanged() override;
    bool buildingGuard() const override { return buildingGuard_; }
    void setBuildingGuard(bool on) override { buildingGuard_ = on; }
    void setSectionEnabled(Section section, bool enabled) override;
    bool sectionEnabled(Section section) const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up and layout
    void buildActions();
    void buildMenus();
    void buildToolbar();
    void buildSections(QWidget* column, QVBoxLayout* layout);
    void applyToolbarVisible(bool visible);
    WindowPlacement placement() const;
    void restorePlacement();
    void applyTextLabels(bool on);
    void loadDirectories();

    // --- SessionHost: the return's life as the window shows it ------------------
    SaveAnswer askToSave() override;
    std::optional<std::string> askOpenPath() override;
    std::optional<std::string> askSavePath() override;
    bool confirmReplacing(const std::string& path) override;
    bool refuseHeldFile(const std::string& path, FileUse use) override;
    void showFailure(FileUse use, const Cp1251Text& message, const std::string& path) override;
    void beforeSave() override;
    void returnLeaving() override;
    void returnArrived() override;
    void fileTaken(const std::string& path) override;
    void stateChanged(bool saved) override;

    void setTitleFromPath();
    void showInitialScreen();
    void setSectionsFromDocument();
    void showError(const QString& id, const QString& text);
    void buildGoMenu();
    void buildRecentMenu(QMenu* file, QAction* before);
    void writeRecoveryCopy(const QString& file);
    void offerRecovery();
    void tellWhatCannotBeKept();

    // Sections
    void buildScreen(ScreenId id);
    void pressSection(Section section);
    void openSectionAtFault(CheckSection section, std::uint16_t code);
    void destroyScreen();

    void setCommandsEnabled(bool enabled);
    void printCommand(bool preview);
    ExportServices exportServices();

    Options options_;
    QString programFolder_;
    QString userFolder_;
    QStringList dataFolders_; // the directory files and help are looked for here, in order
    Asker* asker_ = nullptr;
    const Clock* clock_ = nullptr;
    PrintJob* printJob_ = nullptr;
    const IdSource* ids_ = nullptr;
    const ScreenRegistry* screens_ = nullptr;

    ReturnSession session_;
    FileStamp documentBase_; // the file as this window last read or wrote it
    bool buildingGuard_ = false;
    bool mustQuit_ = false;
    Directories directories_;

    ScreenFrame* screen_ = nullptr;
    Section currentSection_ = Section::InitialData;
    QWidget* formContainer_ = nullptr;
    QVBoxLayout* formLayout_ = nullptr;
    QButtonGroup* sectionGroup_ = nullptr;
    std::map<Section, QToolButton*> sectionButtons_;

    QToolBar* toolbar_ = nullptr;
    std::array<QToolButton*, 8> toolButtons_{};
    QAction* createDoc_ = nullptr;
    QAction* openDoc_ = nullptr;
    QAction* saveDoc_ = nullptr;
    QAction* saveAsDoc_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* previewDoc_ = nullptr;
    QAction* printDoc_ = nullptr;
    QAction* exportDoc_ = nullptr;
    QAction* checkDoc_ = nullptr;
    QAction* resultDoc_ = nullptr;
    QAction* importCertificate_ = nullptr;
    QAction* helpAction_ = nullptr;
    QAction* about_ = nullptr;
    QAction* stdToolbarItem_ = nullptr;
    QAction* textLabelsItem_ = nullptr;

    QAction* screenHelp_ = nullptr;
    std::map<Section, QAction*> goActions_;

    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<RecoveryKeeper> recovery_;
};

} // namespace kv
