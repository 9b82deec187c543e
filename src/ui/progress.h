// Work that may take long runs on a thread of its own while the program
// waits for it; when it lasts more than a moment a window says what it is
// doing and offers Cancel. One seam lets tests play the window, so that no
// test ever waits on it.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

namespace ui {

// What the work and its window share.
class Task {
public:
    bool cancelled() const { return cancelled_.load(); }
    void cancel() { cancelled_ = true; }
    // What the window shows under its caption.
    void setText(const QString& t);
    QString text() const;

private:
    std::atomic<bool> cancelled_{false};
    mutable std::mutex m_;
    QString text_;
};

struct ProgressCall {
    QString caption;
    Task& task;
};

// Runs `work` and returns when it has ended: true when it ran to its end,
// false when Cancel was pressed (the work is told through the task and
// has ended too). The window shows after `delayMs`; until then the program
// takes no input. An error that escapes `work` is thrown again here.
bool RunWithProgress(const QString& caption, const std::function<void(Task&)>& work, int delayMs = 400);

// Tests: the handler is called at once, as if the window were up, while
// the work runs; it may cancel through the task. nullptr: the real window.
void setProgressHandler(std::function<void(const ProgressCall&)> handler);

}  // namespace ui
