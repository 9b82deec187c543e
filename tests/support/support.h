// What every test program shares: a temporary word database in a folder of
// its own (the current directory while the test runs), rows put in place
// and read back, a scripted seam for message boxes, a driver for modal
// windows, the process-exit hook and the command-line tool.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <QString>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/sqlite.h"
#include "ui/toolkit.h"

namespace testing_support {

using Rows = std::vector<std::vector<std::string>>;
using Words = std::vector<std::string>;

// Every row of a query, each column as text ("<null>" for NULL); values are
// bound in order (use ? in the text).
Rows queryRows(store::Connection& c, const std::string& sql, const std::vector<std::string>& values = {});
Rows fileRows(const std::string& file, const std::string& sql, const std::vector<std::string>& values = {});

// Rows put in place and read back, on whichever engine holds them.
class RowStore {
public:
    virtual ~RowStore() = default;
    // SQL with values bound in order ("?"); "rowid" means the stored order
    // on either engine.
    virtual void exec(const std::string& sql, const std::vector<std::string>& values = {}) = 0;
    virtual Rows rows(const std::string& sql, const std::vector<std::string>& values = {}) = 0;
    int count(const std::string& table);

    void addWord(const std::string& ord, const char* notat = nullptr);
    void addCategory(const std::string& kategori);
    void link(const std::string& ord, const std::string& kategori);
    void synonym(const std::string& ord, const std::string& synonym);  // one row
    void value(const std::string& ord, const std::string& verdi);      // T_OrdVerdi row
    // The words PREFIXfrom ... PREFIX(to - 1), each followed by `suffix`.
    void addWords(const std::string& prefix, int from, int to, const std::string& suffix = "");
};

// The kind and message of the DbError that `f` throws ("no error" when none).
struct Thrown {
    store::DbError::Kind kind{};
    std::string what = "no error";
};
Thrown thrown(const std::function<void()>& f);

// Runs `body` in a child process with its return value as the exit status
// (4 when it throws); the child never returns into the test program.
pid_t spawn(const std::function<int()>& body);
// A child's exit status, or 100 + the signal that ended it.
int waitFor(pid_t pid);

// A fresh folder with an empty velmora.mdb (all six tables), made the
// current directory for the test's life; the old directory comes back after.
class TempDb : public RowStore {
public:
    TempDb();
    ~TempDb() override;
    TempDb(const TempDb&) = delete;
    TempDb& operator=(const TempDb&) = delete;
    const std::filesystem::path& dir() const { return dir_; }
    std::string file() const { return (dir_ / "velmora.mdb").string(); }
    void exec(const std::string& sql, const std::vector<std::string>& values = {}) override;
    Rows rows(const std::string& sql, const std::vector<std::string>& values = {}) override;

private:
    std::filesystem::path dir_;
    std::filesystem::path old_;
};

// Records every message box and answers from a script (Yes/No/OK); with an
// empty script a Yes/No box is answered No and an OK box OK.
class MsgBoxes {
public:
    MsgBoxes();
    ~MsgBoxes();
    MsgBoxes(const MsgBoxes&) = delete;
    MsgBoxes& operator=(const MsgBoxes&) = delete;
    void answer(ui::Answer a) { script_.push_back(a); }
    const std::vector<ui::MsgBoxCall>& calls() const { return calls_; }
    QString lastPrompt() const { return calls_.empty() ? QString() : calls_.back().prompt; }
    QStringList prompts() const;
    void clear() { calls_.clear(); }
    // Runs inside each box before it is answered (the box is "up").
    std::function<void(const ui::MsgBoxCall&)> during;

private:
    std::vector<ui::MsgBoxCall> calls_;
    std::deque<ui::Answer> script_;
};

// Drives each modal window with the next step of a script; a window shown
// modal without a step is hidden at once (and counted).
class ModalDriver {
public:
    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    void then(std::function<void(ui::Form&)> step) { steps_.push_back(std::move(step)); }
    int shown() const { return shown_; }
    std::vector<QString> captions() const { return captions_; }

private:
    std::deque<std::function<void(ui::Form&)>> steps_;
    int shown_ = 0;
    std::vector<QString> captions_;
};

// Catches ui::Quit and ui::Fatal instead of ending the test program.
class QuitCatcher {
public:
    QuitCatcher();
    ~QuitCatcher();
    QuitCatcher(const QuitCatcher&) = delete;
    QuitCatcher& operator=(const QuitCatcher&) = delete;
    int calls() const { return calls_; }
    int lastStatus() const { return status_; }

private:
    int calls_ = 0;
    int status_ = -1;
};

// Path of a built tool (velmora-mkdb) and of the source tree.
std::string binaryPath(const std::string& name);
std::string sourcePath(const std::string& rel);

// Runs velmora-mkdb with `args` (shell words) in the current directory;
// returns its exit status, and what it wrote to `output`.
// `runner` goes before the program, e.g. to run it as another user.
int mkdb(const std::string& args, std::string* output = nullptr, const std::string& runner = "");

void writeFile(const std::string& path, const std::string& text);

// Lets pending events (timers at 0, deferred deletes) run.
void processEvents();

// Where entry i of a check-box list has its check box, in its viewport.
QRect checkBoxRect(const ui::ListBox& list, int i);

}  // namespace testing_support
