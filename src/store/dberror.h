// The one error type of the word database, for both engines: what a window
// shows when an operation on the words fails.
#pragma once

#include <stdexcept>
#include <string>

namespace store {

// Every failure of the engine. `what()` names the file (or the server's
// database) and the engine's own message, so that a message box built from
// it tells the user everything.
class DbError : public std::runtime_error {
public:
    // Lost: the server went away; the next operation connects again.
    // Denied: the server's role may read but not change the words.
    // TooLong: a text longer than the database can keep.
    enum class Kind { Engine, Missing, NotADatabase, JetFile, Busy, ReadOnly, Full, Lost, Denied, TooLong };
    DbError(Kind kind, std::string file, std::string detail, int code = 0);
    // A database on a server: `label` already says which one and where.
    static DbError onServer(Kind kind, std::string label, std::string detail);
    Kind kind() const { return kind_; }
    const std::string& file() const { return file_; }
    const std::string& detail() const { return detail_; }
    int code() const { return code_; }

private:
    struct Described {};
    DbError(Described, Kind kind, std::string label, std::string detail);
    Kind kind_;
    std::string file_;
    std::string detail_;
    int code_;
};

}  // namespace store
