// The grid being composed outlives the process: after every change it goes,
// at most once a second, into a recovery file in the user's state folder,
// and the next start brings it back exactly as it was. Each running Velmora
// holds a recovery file of its own (the first one no other holds), so two
// at once never write over each other's grid; a recovery file that cannot
// be read is set aside, never deleted. The undo history is not kept.
#pragma once

#include <QLockFile>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "grid/document.h"

namespace sim::recovery {

// $XDG_STATE_HOME/velmora, else ~/.local/state/velmora.
QString Folder();

// How many Velmoras at once can each keep a grid in one folder.
inline constexpr int kSlots = 9;

// One running Velmora's recovery file, held from Take while the object lives.
class Slot {
public:
    explicit Slot(QString folder) : folder_(std::move(folder)) {}

    struct Found {
        std::optional<Grid> grid;  // only a grid that holds something
        QString unkept;            // why this process keeps no grid, for a line
        QString setAside;          // the file could not be read: what became of it, for a message
    };
    // Takes the first recovery file that no running Velmora holds and reads it.
    Found Take();
    bool held() const { return lock_ != nullptr; }
    const QString& path() const { return path_; }
    // The file holds the whole grid afterwards, or on failure the one before.
    bool Write(const Grid& g, QString* error);

private:
    QString folder_, path_;
    std::unique_ptr<QLockFile> lock_;
};

// Keeps a document's grid in a slot of `folder`.
class Keeper {
public:
    Keeper(Document& doc, const QString& folder);
    // A line for the user ("" takes it back), and a message that needs an answer.
    std::function<void(const QString&)> say, warn;
    // Brings the grid back into the document (as a new process's own, with
    // nothing to undo) and writes every later change.
    void Start();
    // The timer's tick: writes the grid when it differs from the one written.
    void Keep();
    const Slot& slot() const { return slot_; }

private:
    void tell(const QString& line);
    Document& doc_;
    Slot slot_;
    QTimer timer_;
    Grid written_{};
    QString told_;
};

}  // namespace sim::recovery
