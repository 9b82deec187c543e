// The application's set-up, the handler guard that turns an escaped error
// into a fatal message, the process exit, and the seam every message box
// goes through (tests answer the boxes there).
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QStyleFactory>
#include <cstdio>
#include <exception>

#include "ui/toolkit.h"

namespace ui {

namespace {

std::function<Answer(const MsgBoxCall&)> msgBoxHandler;
std::function<void(int)> quitHook;

}  // namespace

void setUpApplication() {
    QApplication::setApplicationName("Velmora");
    if (QStyle* st = QStyleFactory::create("Fusion")) QApplication::setStyle(st);
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "DejaVu Sans", "Sans Serif"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans", "Sans Serif"});
}

void run(const std::function<void()>& handler) {
    if (!handler) return;
    try {
        handler();
    } catch (const std::exception& e) {
        Fatal(QString::fromUtf8(e.what()));
    } catch (...) {
        Fatal("Unknown error");
    }
}

void Quit(int status) {
    if (quitHook) {
        quitHook(status);
        return;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // Every edit is already in the word database; nothing needs tearing down.
    ::_exit(status);
}

void setQuitHook(std::function<void(int)> hook) { quitHook = std::move(hook); }

void Fatal(const QString& message) {
    std::fprintf(stderr, "Velmora: %s\n", message.toLocal8Bit().constData());
    MsgBox(message, Buttons::OK, "Velmora");
    Quit(1);
}

// ================================================================ message boxes

namespace {

Answer showBox(const MsgBoxCall& call) {
    if (msgBoxHandler) return msgBoxHandler(call);
    QMessageBox box(QApplication::activeWindow());
    const QString& prompt = call.prompt;
    const Buttons buttons = call.buttons;
    QCheckBox* tick = nullptr;
    if (call.checked) {
        tick = new QCheckBox(call.check);
        tick->setChecked(*call.checked);
        box.setCheckBox(tick);
    }
    box.setWindowTitle(call.title);
    box.setText(prompt);
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    int r = box.exec();
    if (tick) *call.checked = tick->isChecked();
    if (buttons == Buttons::YesNo) return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::OK;
}

}  // namespace

Answer MsgBox(const QString& prompt, Buttons buttons, const QString& title) {
    return showBox({prompt, title.isEmpty() ? QStringLiteral("Velmora") : title, !title.isEmpty(), buttons});
}

Answer MsgBox(const QString& prompt, const QString& check, bool& checked, Buttons buttons, const QString& title) {
    return showBox(
        {prompt, title.isEmpty() ? QStringLiteral("Velmora") : title, !title.isEmpty(), buttons, check, &checked});
}

void setMsgBoxHandler(std::function<Answer(const MsgBoxCall&)> handler) { msgBoxHandler = std::move(handler); }

}  // namespace ui
