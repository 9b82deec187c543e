// The progress window: Qt's progress dialog with a busy bar and Cancel,
// over an event loop that waits for the work's thread.
#include "ui/progress.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <exception>
#include <thread>

namespace ui {

namespace {
std::function<void(const ProgressCall&)> progressHandler;
}  // namespace

void Task::setText(const QString& t) {
    std::lock_guard<std::mutex> lock(m_);
    text_ = t;
}

QString Task::text() const {
    std::lock_guard<std::mutex> lock(m_);
    return text_;
}

void setProgressHandler(std::function<void(const ProgressCall&)> handler) { progressHandler = std::move(handler); }

bool RunWithProgress(const QString& caption, const std::function<void(Task&)>& work, int delayMs) {
    Task task;
    std::atomic<bool> done{false};
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            work(task);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
    });
    struct Joiner {
        std::thread& t;
        explicit Joiner(std::thread& th) : t(th) {}
        ~Joiner() {
            if (t.joinable()) t.join();
        }
        Joiner(const Joiner&) = delete;
        Joiner& operator=(const Joiner&) = delete;
        Joiner(Joiner&&) = delete;
        Joiner& operator=(Joiner&&) = delete;
    } joiner{worker};

    if (progressHandler) {
        progressHandler({caption, task});
    } else {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done) loop.quit();
        });
        poll.start();
        QTimer::singleShot(delayMs, &loop, [&] { loop.quit(); });
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!done) {
            QProgressDialog dlg(caption, "Cancel", 0, 0, QApplication::activeWindow());
            dlg.setWindowTitle("Velmora");
            dlg.setWindowModality(Qt::ApplicationModal);
            dlg.setMinimumDuration(0);
            dlg.setAutoClose(false);
            dlg.setAutoReset(false);
            QObject::connect(&dlg, &QProgressDialog::canceled, &loop, [&] { task.cancel(); });
            QObject::connect(&poll, &QTimer::timeout, &dlg, [&] {
                const QString text = task.text();
                dlg.setLabelText(text.isEmpty() ? caption : caption + "\n" + text);
                if (done) loop.quit();
            });
            dlg.show();
            if (!done) loop.exec();
            dlg.hide();
        }
    }
    worker.join();
    if (error) std::rethrow_exception(error);
    return !task.cancelled();
}

}  // namespace ui
