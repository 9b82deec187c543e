// Windows: the client area at fixed pixel places, the menu bar above it,
// modeless and modal showing with the seam that lets tests drive a modal
// loop, and what the title bar's close button does.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHideEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "ui/pictures.h"
#include "ui/title.h"
#include "ui/toolkit.h"

namespace ui {

namespace {

std::function<void(Form&)> modalDriver;

}  // namespace

void setModalDriver(std::function<void(Form&)> driver) { modalDriver = std::move(driver); }

Form::Form(const QString& caption, int clientWidth, int clientHeight)
    : QWidget(nullptr, Qt::Window), client_(new QWidget(this)), clientW_(clientWidth), clientH_(clientHeight) {
    setWindowTitle(caption);
    // Controls laid out at fixed places were measured in this font; a
    // control without a font of its own takes it from its window.
    setFont(QFont("MS Sans Serif", 8));
    client_->setGeometry(0, 0, clientWidth, clientHeight);
    setFixedSize(clientWidth, clientHeight);
    setWindowIcon(pictures::icon(pictures::Icon::App));
}

Form::~Form() { emit hiddenOrGone(); }

QMenuBar* Form::menuBar() {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        fitBars();
    }
    return menuBar_;
}

// The bar's height is known once its menus are in; the client area goes
// below it, at its full size, and the status line, while it shows, below that.
void Form::fitBars() {
    const int top = menuBar_ ? std::max(menuBar_->sizeHint().height(), fontMetrics().height() + 8) : 0;
    if (menuBar_) menuBar_->setGeometry(0, 0, clientW_, top);
    client_->move(0, top);
    const int bottom = statusLine_ && !statusLine_->text().isEmpty() ? fontMetrics().height() + 6 : 0;
    if (statusLine_) {
        statusLine_->setGeometry(0, top + clientH_, clientW_, bottom);
        statusLine_->setVisible(bottom > 0);
    }
    setFixedSize(clientW_, top + clientH_ + bottom);
}

void Form::setStatusLine(const QString& text) {
    if (!statusLine_) {
        statusLine_ = new QLabel(this);
        statusLine_->setIndent(4);
    }
    statusLine_->setText(text);
    statusLine_->setToolTip(text);
    fitBars();
}

QString Form::StatusLine() const { return statusLine_ ? statusLine_->text() : QString(); }

void Form::setCaption(const QString& c) {
    setWindowTitle(c);
    if (c.isEmpty()) clearSystemTitle(this);
}

// Creates the native window first, so that an empty caption is emptied in
// the window system before the window manager first shows it.
void Form::prepareNative() {
    if (!windowTitle().isEmpty()) return;
    (void)winId();
    clearSystemTitle(this);
}
QString Form::Caption() const { return windowTitle(); }

void Form::centre() {
    QRect frame = frameGeometry();
    QPoint centre;
    if (centreOn_ && centreOn_->isVisible()) {
        centre = centreOn_->frameGeometry().center();
    } else if (QScreen* s = QApplication::primaryScreen()) {
        centre = s->availableGeometry().center();
    } else {
        return;
    }
    frame.moveCenter(centre);
    QPoint topLeft = frame.topLeft();
    if (QScreen* s = QApplication::primaryScreen()) {
        QRect avail = s->availableGeometry();
        topLeft.setX(std::max(avail.left(), std::min(topLeft.x(), avail.right() - frame.width())));
        topLeft.setY(std::max(avail.top(), std::min(topLeft.y(), avail.bottom() - frame.height())));
    }
    move(topLeft);
}

void Form::Show() {
    if (!isVisible()) {
        fitBars();
        centre();
        prepareNative();
        show();
    }
    raise();
    activateWindow();
}

void Form::ShowBeside(QWidget* owner) {
    const bool was = isVisible();
    Show();
    if (was || !owner) return;
    const QRect o = owner->frameGeometry();
    const int w = frameGeometry().width();
    int left = o.right() + 8;
    if (QScreen* s = QApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        if (left + w > avail.right()) left = std::max(avail.left(), o.left() - 8 - w);
    }
    move(left, o.top());
}

void Form::ShowModal() {
    if (isVisible()) hide();  // modality only changes while hidden
    setWindowModality(Qt::ApplicationModal);
    fitBars();
    centre();
    ++modalDepth_;
    QPointer<Form> self(this);
    QEventLoop loop;
    connect(this, &Form::hiddenOrGone, &loop, &QEventLoop::quit);
    prepareNative();
    show();
    raise();
    activateWindow();
    if (modalDriver) {
        auto driver = modalDriver;
        QTimer::singleShot(0, &loop, [self, driver] {
            if (!self || !self->isVisible()) return;
            run([&] { driver(*self); });
            if (self && self->isVisible()) self->Hide();
        });
    }
    if (isVisible()) loop.exec();
    if (self) {
        --modalDepth_;
        setWindowModality(Qt::NonModal);
    }
}

void Form::Hide() { hide(); }

void Form::Unload() {
    if (onUnload) onUnload();
    onUnload = nullptr;
    hide();
    emit hiddenOrGone();
    // The window may be unloading itself from one of its own handlers.
    deleteLater();
}

void Form::load() {
    if (loaded_) return;
    loaded_ = true;
    run([this] { Form_Load(); });
}

void Form::closeEvent(QCloseEvent* e) {
    e->ignore();
    switch (titleClose_) {
        case TitleClose::Hide:
            Hide();
            break;
        case TitleClose::Unload:
            Unload();
            break;
        case TitleClose::Quit:
            Quit(0);
            break;
    }
}

void Form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!e->spontaneous()) emit hiddenOrGone();
}

QAction* addMenuEntry(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                      std::function<void()> handler) {
    QAction* a = menu->addAction(caption);
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(a, &QAction::triggered, a, [h = std::move(handler)] { run(h); });
    return a;
}

void setTabOrder(const std::vector<QWidget*>& widgets) {
    for (size_t i = 0; i + 1 < widgets.size(); ++i) QWidget::setTabOrder(widgets[i], widgets[i + 1]);
}

}  // namespace ui
