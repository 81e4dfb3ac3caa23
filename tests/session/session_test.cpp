// The return's life without a window: the host answers as a person would and notes
// what the session asked and told.
#include "core/Date.h"
#include "core/StorageErrors.h"
#include "model/Declaration.h"
#include "session/ReturnSession.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

const FixedClock& clock2020() {
    static const FixedClock clock(*DateValue::fromYmd(2020, 3, 15));
    return clock;
}

struct Failure {
    FileUse use;
    std::string message;
    std::string path;
};

class ScriptedHost : public SessionHost {
public:
    // Answers, taken in turn; a question with none left fails the test.
    std::deque<SaveAnswer> saveAnswers;
    std::deque<std::optional<std::string>> paths;
    bool heldElsewhere = false;
    bool replaceChanged = true;

    std::vector<std::string> events;
    std::vector<Failure> failures;
    std::vector<std::string> taken;
    bool lastSaved = true;

    SaveAnswer askToSave() override {
        events.push_back("askToSave");
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "the save question was not expected";
            return SaveAnswer::Cancel;
        }
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> askOpenPath() override { return nextPath("askOpenPath"); }
    std::optional<std::string> askSavePath() override { return nextPath("askSavePath"); }
    bool confirmReplacing(const std::string&) override { return replaceChanged; }
    bool refuseHeldFile(const std::string&, FileUse) override { return heldElsewhere; }
    void showFailure(FileUse use, const Cp1251Text& message, const std::string& path) override {
        failures.push_back({use, message.bytes(), path});
    }
    void beforeSave() override { events.push_back("beforeSave"); }
    void returnLeaving() override { events.push_back("leaving"); }
    void returnArrived() override { events.push_back("arrived"); }
    void fileTaken(const std::string& path) override { taken.push_back(path); }
    void stateChanged(bool saved) override { lastSaved = saved; }

private:
    std::optional<std::string> nextPath(const char* question) {
        events.push_back(question);
        if (paths.empty()) {
            ADD_FAILURE() << question << " was not expected";
            return std::nullopt;
        }
        std::optional<std::string> path = paths.front();
        paths.pop_front();
        return path;
    }
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kv-session-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string file(const std::string& name) const { return (dir / name).string(); }

    // A return of Петров's saved at name.
    std::string writeReturn(const std::string& name) const {
        Declaration document(clock2020());
        document.person.surname = "Petrov";
        document.saveToFile(file(name));
        return file(name);
    }

    static std::string surnameIn(const std::string& path) {
        Declaration document(clock2020());
        document.loadFromFile(path);
        return document.person.surname.bytes();
    }

    // A session on a new return with an unsaved edit.
    void startEdited() {
        session.start(std::nullopt);
        session.markSaved();
        session.document().person.surname = "Edited";
        session.changed();
    }

    fs::path dir;
    ScriptedHost host;
    ReturnSession session{clock2020(), host};
};

TEST_F(SessionTest, NewReturnStartsSetUpAndSaved) {
    session.start(std::nullopt);
    session.markSaved();
    EXPECT_TRUE(session.saved());
    EXPECT_TRUE(session.path().empty());
    EXPECT_EQ(session.document().documentDate, clock2020().today());
    EXPECT_EQ(session.document().person.citizenshipStatus, Cp1251Text{"1"});
    EXPECT_EQ(session.document().sheetCountAutomatic, 1);
    // Nothing changed: a new return drops it without a question.
    EXPECT_TRUE(session.newReturn());
    EXPECT_EQ(host.events, (std::vector<std::string>{"leaving", "arrived"}));
}

// The save question before a new return, with every answer a person can give.
struct SaveQuestionCase {
    const char* name;
    SaveAnswer answer;
    std::optional<std::string> chosen; // the save dialog's answer, when it is asked
    bool goesOn;                       // the new return replaces the edited one
    bool written;
};

class SaveQuestion : public SessionTest, public ::testing::WithParamInterface<SaveQuestionCase> {};

TEST_P(SaveQuestion, DecidesWhetherTheReturnGoes) {
    const SaveQuestionCase& c = GetParam();
    startEdited();
    host.saveAnswers = {c.answer};
    if (c.answer == SaveAnswer::Save)
        host.paths = {c.chosen.has_value() ? std::optional(file(*c.chosen)) : std::nullopt};

    EXPECT_EQ(session.newReturn(), c.goesOn);
    EXPECT_EQ(session.document().person.surname, c.goesOn ? Cp1251Text{} : Cp1251Text{"Edited"});
    EXPECT_EQ(session.saved(), c.goesOn);
    EXPECT_EQ(host.lastSaved, c.goesOn);
    EXPECT_TRUE(host.paths.empty());
    EXPECT_EQ(fs::exists(file("Edited.qv9")), c.written);
    if (c.written) {
        EXPECT_EQ(surnameIn(file("Edited.qv9")), "Edited");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveQuestion,
    ::testing::Values(SaveQuestionCase{"save", SaveAnswer::Save, "Edited.qv9", true, true},
                      // The file gets this year's extension.
                      SaveQuestionCase{"saveWithoutExtension", SaveAnswer::Save, "Edited", true, true},
                      SaveQuestionCase{"saveDialogCancelled", SaveAnswer::Save, std::nullopt, false, false},
                      SaveQuestionCase{"dontSave", SaveAnswer::DontSave, std::nullopt, true, false},
                      SaveQuestionCase{"cancel", SaveAnswer::Cancel, std::nullopt, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, OpenReadsTheChosenFile) {
    const std::string path = writeReturn("a.qv9");
    startEdited();
    host.saveAnswers = {SaveAnswer::DontSave, SaveAnswer::DontSave};
    host.paths = {std::nullopt, path};
    // A cancelled dialog keeps the return as it was.
    EXPECT_FALSE(session.open());
    EXPECT_EQ(session.document().person.surname, Cp1251Text{"Edited"});
    EXPECT_FALSE(session.saved());

    EXPECT_TRUE(session.open());
    EXPECT_EQ(session.document().person.surname, Cp1251Text{"Petrov"});
    EXPECT_EQ(session.path(), path);
    EXPECT_TRUE(session.saved());
    EXPECT_EQ(host.taken.back(), path);
    EXPECT_TRUE(host.failures.empty());
}

// The path is kept absolute: the working folder changes under the file dialogs.
TEST_F(SessionTest, OpenKeepsAnAbsolutePath) {
    writeReturn("a.qv9");
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    session.start("./sub/../a.qv9");
    fs::current_path(before);
    EXPECT_EQ(session.path(), file("a.qv9"));
    EXPECT_EQ(session.document().person.surname, Cp1251Text{"Petrov"});
}

TEST_F(SessionTest, UnreadableFileLeavesANewReturn) {
    const std::string path = file("damaged.qv9");
    std::ofstream(path, std::ios::binary) << "not a return";
    session.start(std::nullopt);
    EXPECT_TRUE(session.openFile(path));
    ASSERT_EQ(host.failures.size(), 1U);
    EXPECT_EQ(host.failures[0].use, FileUse::Open);
    EXPECT_FALSE(host.failures[0].message.empty());
    EXPECT_TRUE(session.path().empty());
    EXPECT_EQ(host.taken.back(), "");
    EXPECT_EQ(session.document().person.citizenshipStatus, Cp1251Text{"1"}); // set up as a new return
}

// A return of an earlier year is saved beside its file as ".qv9"; Save As keeps the name given.
TEST_F(SessionTest, SaveAndSaveAs) {
    const std::string old = writeReturn("Old.qv7");
    session.start(old);
    EXPECT_TRUE(session.save());
    EXPECT_EQ(session.path(), file("Old.qv9"));
    EXPECT_EQ(surnameIn(file("Old.qv9")), "Petrov");

    host.paths = {file("Copy.qv7")};
    EXPECT_TRUE(session.saveAs());
    EXPECT_EQ(session.path(), file("Copy.qv7"));
    EXPECT_EQ(host.events, (std::vector<std::string>{"beforeSave", "askSavePath", "beforeSave"}));
}

// A failed save loses nothing: the message is shown, the return, its file and its
// changed state stay, and the next Save goes where it would have gone.
TEST_F(SessionTest, FailedSaveKeepsEverything) {
    const std::string path = writeReturn("a.qv9");
    session.start(path);
    session.document().person.surname = "Edited";
    session.changed();
    const Declaration* before = &session.document();

    host.paths = {file("no such folder/b.qv9")};
    EXPECT_FALSE(session.saveAs());
    ASSERT_EQ(host.failures.size(), 1U);
    EXPECT_EQ(host.failures[0].use, FileUse::Save);
    EXPECT_NE(host.failures[0].message.find("no such folder"), std::string::npos);
    EXPECT_EQ(session.path(), path);
    EXPECT_FALSE(session.saved());
    EXPECT_FALSE(host.lastSaved);
    EXPECT_EQ(&session.document(), before);

    EXPECT_TRUE(session.save());
    EXPECT_EQ(surnameIn(path), "Edited");
}

// A file another window holds, or one the person will not write over, is not written.
TEST_F(SessionTest, RefusedFileIsNotWritten) {
    const std::string path = writeReturn("a.qv9");
    session.start(path);
    session.document().person.surname = "Edited";
    session.changed();
    host.heldElsewhere = true;
    EXPECT_FALSE(session.save());
    host.heldElsewhere = false;
    host.replaceChanged = false;
    EXPECT_FALSE(session.save());
    EXPECT_EQ(surnameIn(path), "Petrov");
    EXPECT_FALSE(session.saved());
    EXPECT_TRUE(host.failures.empty());
}

TEST(PathForSaving, EarlierYearsBecomeThisYear) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/Return.qv9", "/d/Return.qv9"},     {"/d/X.qv5", "/d/X.qv9"},       {"/d/X.QVL", "/d/X.QV9"},
        {"/d/Return.txt", "/d/Return.txt.qv9"}, {"/d/Return", "/d/Return.qv9"}, {"", ""},
        {"/d.qv5/Return", "/d.qv5/Return.qv9"},
    };
    for (const auto& [path, saved] : cases)
        EXPECT_EQ(ReturnSession::pathForSaving(path), saved) << path;
}

} // namespace
} // namespace kv
