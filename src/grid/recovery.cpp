#include "grid/recovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "grid/ipuz.h"

namespace sim::recovery {

namespace {

// A path as the user reads it, the home folder as "~".
QString shown(const QString& path) {
    const QString home = QDir::homePath();
    const QString p = QDir::cleanPath(path);
    return p.startsWith(home + "/") ? "~" + p.mid(home.size()) : QDir::toNativeSeparators(p);
}

QString slotFile(const QString& folder, int k) {
    return folder + (k == 1 ? QStringLiteral("/recovery.ipuz") : QString("/recovery-%1.ipuz").arg(k));
}

// A name beside `path` that nothing has yet; the file keeps its content.
QString setAside(const QString& path, QString* error) {
    const QString stem = path + ".unreadable-" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    QFile f(path);
    for (int k = 1; k <= 100; ++k) {
        QString to = k == 1 ? stem : QString("%1-%2").arg(stem).arg(k);
        if (QFileInfo::exists(to)) continue;
        if (f.rename(to)) return to;
        *error = f.errorString();
        return {};
    }
    *error = "every name for it is taken";
    return {};
}

// The rename that replaced the file lives in the folder, which is synced
// too, so that a power cut after a write finds the grid written.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

QString Folder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative path is no valid state folder and is ignored.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.local/state";
    return base + "/velmora";
}

Slot::Found Slot::Take() {
    Found found;
    if (!QDir().mkpath(folder_)) {
        found.unkept = QString("the folder %1 cannot be made").arg(shown(folder_));
        return found;
    }
    for (int k = 1; k <= kSlots && !lock_; ++k) {
        auto lock = std::make_unique<QLockFile>(slotFile(folder_, k) + ".lock");
        // Held for the life of the process, which may be long: only a
        // holder that no longer runs gives a lock up.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            path_ = slotFile(folder_, k);
        } else if (lock->error() != QLockFile::LockFailedError) {
            found.unkept = QString("%1 cannot be written").arg(shown(folder_));
            return found;
        }
    }
    if (!lock_) {
        found.unkept = QString("other Velmoras hold every recovery file in %1").arg(shown(folder_));
        return found;
    }
    // A holder killed while writing may have left its unfinished copy
    // (the file's name and six characters); only this slot's holder writes one.
    const QFileInfo file(path_);
    for (const QString& part : QDir(folder_).entryList({file.fileName() + ".??????"}, QDir::Files | QDir::Hidden))
        QFile::remove(folder_ + "/" + part);
    if (!file.exists() && !file.isSymLink()) return found;
    const ipuz::Loaded loaded = ipuz::ReadFile(path_);
    if (loaded.grid) {
        if (*loaded.grid != Grid{}) found.grid = loaded.grid;
        return found;
    }
    QString why;
    const QString to = setAside(path_, &why);
    if (!to.isEmpty()) {
        found.setAside =
            QString(
                "The grid kept for recovery in %1 could not be read: %2.\n\nIt was set aside as %3, and the "
                "grid starts empty.")
                .arg(shown(path_), loaded.error, shown(to));
        return found;
    }
    // What cannot be moved out of the way is never written over.
    found.setAside = QString(
                         "The grid kept for recovery in %1 could not be read: %2.\n\nIt could not be set aside "
                         "either (%3), so it stays as it is, and this grid will not come back after a crash.")
                         .arg(shown(path_), loaded.error, why);
    lock_.reset();
    path_.clear();
    return found;
}

bool Slot::Write(const Grid& g, QString* error) {
    if (!lock_) return false;
    if (!ipuz::WriteFile(path_, g, {}, error)) return false;
    syncFolder(folder_);
    return true;
}

Keeper::Keeper(Document& doc, const QString& folder) : doc_(doc), slot_(folder) {
    // Never longer than a second between a change and its write, so that a
    // process killed at any moment loses at most the last second.
    timer_.setInterval(1000);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Keep(); });
}

void Keeper::tell(const QString& line) {
    if (line == told_) return;
    told_ = line;
    if (say) say(line);
}

void Keeper::Start() {
    const Slot::Found found = slot_.Take();
    if (!found.setAside.isEmpty() && warn) warn(found.setAside);
    if (!found.unkept.isEmpty()) tell("This grid will not come back after a crash: " + found.unkept + ".");
    if (found.grid) {
        doc_.Restore(*found.grid);
        tell("The grid is back as Velmora last left it (" + shown(slot_.path()) + ").");
    }
    written_ = doc_.squares();
    if (slot_.held()) timer_.start();
}

void Keeper::Keep() {
    if (!slot_.held() || doc_.squares() == written_) return;
    QString error;
    if (!slot_.Write(doc_.squares(), &error)) {
        // Said once; later ticks try again.
        tell(QString("This grid will not come back after a crash: %1 cannot be written (%2).")
                 .arg(shown(slot_.path()), error));
        return;
    }
    written_ = doc_.squares();
    // Once the grid has moved on, neither its coming back nor an earlier
    // failure is news.
    tell("");
}

}  // namespace sim::recovery
