// What the windows' tests share besides the core support: a scripted seam
// for message boxes, a driver for modal windows, the process-exit hook, and
// events let through. Programs with these start a QApplication
// (guimain.cpp).
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "support.h"
#include "ui/toolkit.h"

namespace testing_support {

// Records every message box and answers from a script (Yes/No/OK); with an
// empty script a Yes/No box is answered No and an OK box OK.
class MsgBoxes {
public:
    MsgBoxes();
    ~MsgBoxes() { ui::setMsgBoxHandler(nullptr); }
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
    ModalDriver() {
        ui::setModalDriver([this](ui::Form& f) {
            ++shown_;
            captions_.push_back(f.Caption());
            if (steps_.empty()) return;
            auto s = std::move(steps_.front());
            steps_.pop_front();
            s(f);
        });
    }
    ~ModalDriver() { ui::setModalDriver(nullptr); }
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
    QuitCatcher() {
        ui::setQuitHook([this](int status) {
            ++calls_;
            status_ = status;
        });
    }
    ~QuitCatcher() { ui::setQuitHook(nullptr); }
    QuitCatcher(const QuitCatcher&) = delete;
    QuitCatcher& operator=(const QuitCatcher&) = delete;
    int calls() const { return calls_; }
    int lastStatus() const { return status_; }

private:
    int calls_ = 0;
    int status_ = -1;
};

// Lets pending events (timers at 0, deferred deletes) run.
void processEvents();

// Where entry i of a check-box list has its check box, in its viewport.
QRect checkBoxRect(const ui::ListBox& list, int i);

}  // namespace testing_support
