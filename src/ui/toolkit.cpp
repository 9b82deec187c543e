#include "ui/toolkit.h"

#include <algorithm>
#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFocusEvent>
#include <QFrame>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QToolButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <unistd.h>

#include "ui/faces.h"
#include "ui/pictures.h"
#include "ui/title.h"

namespace ui {

// ================================================================ helpers

namespace {

// Windows-1252 codes 128..159; 0 where the code page has no character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::function<Answer(const MsgBoxCall&)> msgBoxHandler;
std::function<void(Form&)> modalDriver;
std::function<void(int)> quitHook;

}  // namespace

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

int toCp1252(QChar c) {
    char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u && u != 0) return 0x80 + i;
    return -1;
}

QChar fromCp1252(int code) {
    if (code <= 0 || code > 0xFF) return QChar();
    if (code >= 0x80 && code < 0xA0) return QChar(kCp1252High[code - 0x80]);
    return QChar(char16_t(code));
}

QString upperCase(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (char32_t c : s.toUcs4()) {
        char32_t up = QChar::toUpper(c);
        // Within the code page, a letter keeps its form when its capital
        // lies outside it (the micro sign would turn Greek otherwise).
        if (c <= 0xFFFF && toCp1252(QChar(char16_t(c))) >= 0 &&
            (up > 0xFFFF || toCp1252(QChar(char16_t(up))) < 0))
            up = c;
        out += QString::fromUcs4(&up, 1);
    }
    return out;
}

int charLength(const QString& s) { return int(s.toUcs4().size()); }

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

Answer MsgBox(const QString& prompt, Buttons buttons, const QString& title) {
    MsgBoxCall call{prompt, title.isEmpty() ? QStringLiteral("Velmora") : title, !title.isEmpty(), buttons};
    if (msgBoxHandler) return msgBoxHandler(call);
    QMessageBox box(QApplication::activeWindow());
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
    if (buttons == Buttons::YesNo) return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::OK;
}

void setMsgBoxHandler(std::function<Answer(const MsgBoxCall&)> handler) { msgBoxHandler = std::move(handler); }

void setModalDriver(std::function<void(Form&)> driver) { modalDriver = std::move(driver); }

// ================================================================ windows

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
        fitMenuBar();
    }
    return menuBar_;
}

// The bar's height is known once its menus are in; the client area goes
// below it, at its full size.
void Form::fitMenuBar() {
    if (!menuBar_) return;
    const int h = std::max(menuBar_->sizeHint().height(), fontMetrics().height() + 8);
    menuBar_->setGeometry(0, 0, clientW_, h);
    client_->move(0, h);
    setFixedSize(clientW_, clientH_ + h);
}

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
        fitMenuBar();
        centre();
        prepareNative();
        show();
    }
    raise();
    activateWindow();
}

void Form::ShowModal() {
    if (isVisible()) hide();  // modality only changes while hidden
    setWindowModality(Qt::ApplicationModal);
    fitMenuBar();
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

// ================================================================ controls

void Control::setPlace(int left, int top, int width, int height) { w_->setGeometry(left, top, width, height); }

void Control::setFont(const QString& family, double points, bool bold) {
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    w_->setFont(f);
}

void Control::setColors(const QColor& text, const QColor& background) {
    QPalette p = w_->palette();
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) p.setColor(role, text);
    for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) p.setColor(role, background);
    p.setColor(QPalette::Highlight, text);
    p.setColor(QPalette::HighlightedText, background);
    w_->setPalette(p);
    w_->setAutoFillBackground(true);
}

void Control::setEnabled(bool on) { w_->setEnabled(on); }
bool Control::Enabled() const { return w_->isEnabled(); }
void Control::setVisible(bool on) { w_->setVisible(on); }

// ---------------------------------------------------------------- text field

namespace {

// True when a window's menu entry claims this key combination, so that the
// field lets the entry have it (Ctrl+A is "&About Velmora...", not select all).
bool menuClaims(QWidget* w, QKeyEvent* e) {
    if (!(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
    QKeySequence seq(e->keyCombination());
    for (QAction* a : w->window()->findChildren<QAction*>())
        if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut().matches(seq) == QKeySequence::ExactMatch)
            return true;
    return false;
}

class KeyEdit : public QLineEdit {
public:
    KeyEdit(QWidget* parent, TextBox* owner) : QLineEdit(parent), owner_(owner) {}

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride && menuClaims(this, static_cast<QKeyEvent*>(e))) {
            e->ignore();
            return true;
        }
        return QLineEdit::event(e);
    }

    void keyPressEvent(QKeyEvent* e) override {
        if (!owner_->KeyPress) {
            QLineEdit::keyPressEvent(e);
            return;
        }
        int code = -1;
        const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (e->key() == Qt::Key_Backspace && !mods) {
            code = 8;
        } else if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !mods) {
            code = 13;
        } else if (!mods && !e->text().isEmpty()) {
            const QString t = e->text();
            const auto ucs = t.toUcs4();
            if (ucs.size() == 1 && ucs[0] >= 32 && ucs[0] != 127) {
                int c = ucs[0] <= 0xFFFF ? toCp1252(QChar(char16_t(ucs[0]))) : -1;
                code = c >= 0 ? c : 127;  // no code-page character: "any other key"
            }
        }
        if (e->matches(QKeySequence::Paste) && !isReadOnly()) {
            owner_->paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            return;
        }
        if (code < 0) {  // navigation, editing shortcuts: the field's own
            QLineEdit::keyPressEvent(e);
            return;
        }
        owner_->handleKey(code);
        (void)e;
    }

    // Every way in for outside text goes through TextBox::paste, which cuts
    // it to the field's limit itself: Qt's own cut copies the text once per
    // character, and a megabyte pasted that way freezes the window.
    void contextMenuEvent(QContextMenuEvent* e) override {
        QMenu* menu = createStandardContextMenu();
        for (QAction* a : menu->actions()) {
            if (a->objectName() != QLatin1String("edit-paste")) continue;
            a->disconnect();
            QObject::connect(a, &QAction::triggered, this, [this] {
                owner_->paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(e->globalPos());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() && !isReadOnly()) {
            setCursorPosition(cursorPositionAt(e->position().toPoint()));
            owner_->paste(QGuiApplication::clipboard()->text(QClipboard::Selection));
            return;
        }
        QLineEdit::mouseReleaseEvent(e);
    }
    void dropEvent(QDropEvent* e) override {
        const QString t = e->mimeData() ? e->mimeData()->text() : QString();
        if (t.size() + text().size() <= TextBox::kMaxChars || isReadOnly()) {
            QLineEdit::dropEvent(e);
            return;
        }
        setCursorPosition(cursorPositionAt(e->position().toPoint()));
        owner_->paste(t);
        e->acceptProposedAction();
    }

    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            run(owner_->GotFocus);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            run(owner_->LostFocus);
    }

private:
    TextBox* owner_;
};

}  // namespace

TextBox::TextBox(QWidget* parent) : edit_(new KeyEdit(parent, this)) {
    w_ = edit_;
    // Qt cuts a text field at 32,767 characters without a word; a pasted
    // text is kept whole, as it will be stored.
    edit_->setMaxLength(kMaxChars);
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this] { fireChangeIfNew(); });
}

void TextBox::paste(const QString& text) {
    const int room = kMaxChars - int(edit_->text().size() - edit_->selectedText().size());
    if (text.size() <= room) {
        edit_->insert(text);
        return;
    }
    int keep = std::max(room, 0);
    if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;  // never half a character
    QPointer<QLineEdit> guard(edit_);
    edit_->insert(text.left(keep));
    if (!guard) return;
    MsgBox("The pasted text was too long for the field, so only its first " + QString::number(keep) +
               " characters were pasted (a field holds at most " + QString::number(kMaxChars) + ").",
           Buttons::OK, "Velmora");
}

void TextBox::handleKey(int code) {
    int k = code;
    QPointer<QLineEdit> guard(edit_);
    run([&] { KeyPress(k); });
    if (!guard || k == 0 || k == 13) return;
    if (k == 8) {
        edit_->backspace();
        return;
    }
    QChar c = fromCp1252(k);
    if (k == 127 && code == 127) return;  // nothing to insert for it
    if (!c.isNull()) edit_->insert(QString(c));
}

void TextBox::fireChangeIfNew() {
    const QString now = edit_->text();
    if (now == last_) return;
    last_ = now;
    run(Change);
}

QString TextBox::Text() const { return edit_->text(); }

void TextBox::setText(const QString& t) {
    if (t == edit_->text()) return;
    edit_->setText(t);
    fireChangeIfNew();
}

void TextBox::SetFocus() { edit_->setFocus(Qt::OtherFocusReason); }
bool TextBox::HasFocus() const { return edit_->window()->focusWidget() == edit_; }

// ---------------------------------------------------------------- list

class StringListModel : public QAbstractListModel {
public:
    StringListModel(QObject* parent, bool checkable) : QAbstractListModel(parent), checkable_(checkable) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : count();
    }
    // The view asks for every row's index when it lays out a long list:
    // answered here without the base class's round of virtual calls.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = QModelIndex()) const override {
        if (row < 0 || column != 0 || parent.isValid() || row >= count()) return {};
        return createIndex(row, column);
    }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid() || i.row() >= count()) return {};
        if (role == Qt::DisplayRole) return text(i.row());
        if (role == Qt::CheckStateRole && checkable_) return checks_[i.row()] ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& i) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (checkable_) f |= Qt::ItemIsUserCheckable;
        (void)i;
        return f;
    }
    bool setData(const QModelIndex& i, const QVariant& v, int role) override {
        if (role != Qt::CheckStateRole || !checkable_ || !i.isValid()) return false;
        checks_[i.row()] = v.toInt() == Qt::Checked;
        emit dataChanged(i, i, {Qt::CheckStateRole});
        if (onCheck) onCheck(i.row());
        return true;
    }

    void clear() {
        beginResetModel();
        items_.clear();
        checks_.clear();
        source_ = nullptr;
        sourceCount_ = 0;
        endResetModel();
    }
    void append(const QStringList& more) {
        if (more.isEmpty()) return;
        if (source_) {  // entries held elsewhere become entries of our own
            QStringList own;
            own.reserve(sourceCount_);
            for (int i = 0; i < sourceCount_; ++i) own << source_(i);
            items_ = own;
            source_ = nullptr;
            sourceCount_ = 0;
        }
        beginInsertRows(QModelIndex(), int(items_.size()), int(items_.size() + more.size() - 1));
        items_.append(more);
        checks_.resize(items_.size(), 0);
        endInsertRows();
    }
    void setSource(int count, std::function<QString(int)> text) {
        beginResetModel();
        items_.clear();
        source_ = std::move(text);
        sourceCount_ = source_ ? count : 0;
        checks_.assign(checkable_ ? size_t(sourceCount_) : 0, 0);
        endResetModel();
    }
    int count() const { return source_ ? sourceCount_ : int(items_.size()); }
    QString text(int i) const { return source_ ? source_(i) : items_[i]; }
    bool checked(int i) const { return size_t(i) < checks_.size() && checks_[size_t(i)]; }

    std::function<void(int)> onCheck;

private:
    bool checkable_;
    QStringList items_;
    std::function<QString(int)> source_;
    int sourceCount_ = 0;
    std::vector<char> checks_;
};

namespace {

class ListView : public QListView {
public:
    ListView(QWidget* parent, ListBox* owner) : QListView(parent), owner_(owner) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        const QModelIndex cur = currentIndex();
        const int before = cur.isValid() && selectionModel()->isSelected(cur) ? cur.row() : -1;
        QPointer<QListView> guard(this);
        QListView::mousePressEvent(e);
        if (!guard) return;
        // A press on the entry that was already picked is a pick too.
        QModelIndex at = indexAt(e->position().toPoint());
        if (!at.isValid() || e->button() != Qt::LeftButton) return;
        if (at.row() == before) {
            owner_->userPicked(at.row());
        } else if (!selectionModel()->isSelected(at)) {
            // The check box takes the press for itself; the entry is picked
            // all the same, as a press on its text picks it.
            setCurrentIndex(at);
        }
    }

    // Focus marks no row: the first arrow key then lands on the first
    // entry instead of skipping it.
    void focusInEvent(QFocusEvent* e) override {
        const bool hadCurrent = currentIndex().isValid();
        QListView::focusInEvent(e);
        if (!hadCurrent && selectionModel() && !selectionModel()->hasSelection())
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }

    void keyPressEvent(QKeyEvent* e) override {
        owner_->byKeyboard_ = true;
        QListView::keyPressEvent(e);
        owner_->byKeyboard_ = false;
    }

private:
    ListBox* owner_;
};

}  // namespace

ListBox::ListBox(QWidget* parent, bool checkBoxes) {
    auto* v = new ListView(parent, this);
    view_ = v;
    w_ = v;
    model_ = new StringListModel(v, checkBoxes);
    v->setModel(model_);
    if (checkBoxes) v->setItemDelegate(new faces::CheckBoxDelegate(v));
    v->setUniformItemSizes(true);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    model_->onCheck = [this](int row) {
        if (!quiet_ && ItemCheck) run([&] { ItemCheck(row); });
    };
    // A pick is an entry becoming selected, by mouse, keys or code; the
    // view sets its current row before it selects it, so the current row
    // alone (focus gives one) is no pick.
    QObject::connect(v->selectionModel(), &QItemSelectionModel::selectionChanged, v,
                     [this](const QItemSelection& now, const QItemSelection&) {
                         if (quiet_ || now.indexes().isEmpty()) return;
                         if (byKeyboard_ && !keyboardPicks_) return;
                         userPicked(now.indexes().first().row());
                     });
    QObject::connect(v, &QAbstractItemView::doubleClicked, v, [this](const QModelIndex&) { run(DblClick); });
}

void ListBox::userPicked(int row) {
    (void)row;
    run(Click);
}

void ListBox::Clear() {
    quiet_ = true;
    model_->clear();
    quiet_ = false;
}

void ListBox::AddItem(const QString& s) { model_->append(QStringList{s}); }
void ListBox::AddItems(const QStringList& items) { model_->append(items); }
void ListBox::setItems(int count, std::function<QString(int)> text) {
    quiet_ = true;
    // A list this long needs its scroll bar: shown from the start, it spares
    // the view a second layout when the bar would appear. Scrolled by the
    // pixel, the view keeps no table from scroll positions to entries, which
    // for a million entries takes as long to build as the layout itself.
    const bool longList = count > 1000;
    view_->setVerticalScrollBarPolicy(longList ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    view_->setVerticalScrollMode(longList ? QAbstractItemView::ScrollPerPixel : QAbstractItemView::ScrollPerItem);
    model_->setSource(count, std::move(text));
    quiet_ = false;
}
int ListBox::ListCount() const { return model_->rowCount(); }
QString ListBox::List(int i) const {
    return i >= 0 && i < model_->rowCount() ? model_->text(i) : QString();
}

int ListBox::ListIndex() const {
    QModelIndex c = view_->currentIndex();
    if (!c.isValid() || !view_->selectionModel()->isSelected(c)) return -1;
    return c.row();
}

void ListBox::setListIndex(int i) {
    if (i < 0 || i >= model_->rowCount()) {
        quiet_ = true;
        view_->selectionModel()->clear();
        quiet_ = false;
        return;
    }
    if (ListIndex() == i) return;
    view_->setCurrentIndex(model_->index(i));
    view_->scrollTo(model_->index(i));
}

QString ListBox::Text() const { return List(ListIndex()); }

bool ListBox::Checked(int i) const { return i >= 0 && i < model_->rowCount() && model_->checked(i); }

void ListBox::setChecked(int i, bool on) {
    if (i < 0 || i >= model_->rowCount()) return;
    model_->setData(model_->index(i), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

// ---------------------------------------------------------------- combo box

namespace {

// The text part of a combo box. Qt takes Enter in it, and leaving it, as a
// pick when the text equals an entry; here they are typing, and `typing`
// says so while they are handled.
class ComboEdit : public QLineEdit {
public:
    explicit ComboEdit(QWidget* parent) : QLineEdit(parent) {}
    int typing = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        typing += enter;
        QLineEdit::keyPressEvent(e);
        typing -= enter;
    }
    void focusOutEvent(QFocusEvent* e) override {
        ++typing;
        QLineEdit::focusOutEvent(e);
        --typing;
    }
};

}  // namespace

ComboBox::ComboBox(QWidget* parent) : combo_(new QComboBox(parent)) {
    w_ = combo_;
    combo_->setEditable(true);
    auto* edit = new ComboEdit(combo_);
    combo_->setLineEdit(edit);
    // The box holds exactly what was typed or picked: no completion of
    // typed text from the entries (a new category may begin like an old one).
    combo_->setCompleter(nullptr);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setMaxVisibleItems(20);
    combo_->setCurrentIndex(-1);
    QObject::connect(combo_, &QComboBox::activated, combo_, [this, edit](int) {
        if (edit->typing == 0) run(Click);
    });
}

void ComboBox::Clear() { combo_->clear(); }

void ComboBox::AddItem(const QString& s) {
    // Adding to an empty box must not pick its first entry: the text part
    // keeps what it held.
    const QString text = combo_->currentText();
    const int before = combo_->currentIndex();
    combo_->addItem(s);
    if (before < 0 && combo_->currentIndex() >= 0) {
        combo_->setCurrentIndex(-1);
        combo_->setEditText(text);
    }
}

void ComboBox::setList(int i, const QString& s) {
    if (i == combo_->count())
        AddItem(s);
    else if (i >= 0 && i < combo_->count())
        combo_->setItemText(i, s);
}

QString ComboBox::List(int i) const { return i >= 0 && i < combo_->count() ? combo_->itemText(i) : QString(); }
int ComboBox::ListCount() const { return combo_->count(); }
QString ComboBox::Text() const { return combo_->currentText(); }
void ComboBox::setText(const QString& t) { combo_->setEditText(t); }
void ComboBox::SetFocus() { combo_->setFocus(Qt::OtherFocusReason); }

// ---------------------------------------------------------------- check box

CheckBox::CheckBox(QWidget* parent, const QString& caption, bool checked) : box_(new QCheckBox(caption, parent)) {
    w_ = box_;
    box_->setChecked(checked);
}
bool CheckBox::Value() const { return box_->isChecked(); }
void CheckBox::setValue(bool on) { box_->setChecked(on); }

// ---------------------------------------------------------------- label

namespace {

class ClickLabel : public QLabel {
public:
    ClickLabel(QWidget* parent, Label* owner) : QLabel(parent), owner_(owner) {}

protected:
    // Taken here even without a handler, so that a click on a label never
    // reaches the frame behind it.
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        if (e->button() == Qt::LeftButton) run(owner_->Click);
    }

private:
    Label* owner_;
};

class ClickFrame : public QFrame {
public:
    ClickFrame(QWidget* parent, Frame* owner) : QFrame(parent), owner_(owner) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        if (e->button() == Qt::LeftButton) run(owner_->Click);
    }

private:
    Frame* owner_;
};

}  // namespace

Label::Label(QWidget* parent, const QString& caption) : label_(new ClickLabel(parent, this)) {
    w_ = label_;
    label_->setText(caption);
    label_->setTextFormat(Qt::PlainText);
}
QString Label::Caption() const { return label_->text(); }
namespace {
// Sizes a label to its text; a right-aligned label keeps its right edge.
void fitToText(QLabel* l) {
    const QRect before = l->geometry();
    l->adjustSize();
    if (l->alignment() & Qt::AlignRight) l->move(before.right() - l->width() + 1, before.top());
}
}  // namespace

void Label::setCaption(const QString& c) {
    label_->setText(c);
    if (autoSize_) fitToText(label_);
}
void Label::setAlignment(Qt::Alignment a) { label_->setAlignment(a); }
void Label::setAutoSize(bool on) {
    autoSize_ = on;
    if (on) fitToText(label_);
}
void Label::setTransparent(bool on) {
    label_->setAutoFillBackground(!on);
    label_->setAttribute(Qt::WA_TranslucentBackground, on);
}
void Label::setPicture(const QPixmap& p) {
    label_->setPixmap(p);
    label_->setScaledContents(false);
}

Frame::Frame(QWidget* parent) {
    auto* f = new ClickFrame(parent, this);
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Sunken);
    w_ = f;
}

// ---------------------------------------------------------------- button

Button::Button(QWidget* parent, const QString& caption) : button_(new faces::FaceButton(parent)) {
    w_ = button_;
    button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button_->setFocusPolicy(Qt::StrongFocus);
    setCaption(caption);
    QObject::connect(button_, &QToolButton::clicked, button_, [this] { run(Click); });
}

QString Button::Caption() const {
    QString t = button_->text();
    return t.replace("&&", "&");
}

void Button::setCaption(const QString& c) {
    QString t = c;
    button_->setText(t.replace("&", "&&"));
}

void Button::setBackColor(std::optional<QColor> c) {
    back_ = c;
    restyle();
}

void Button::restyle() {
    QPalette p = button_->palette();
    QColor face = QApplication::palette().color(QPalette::Button);
    p.setColor(QPalette::Button, back_.value_or(face));
    button_->setPalette(p);
    button_->setAutoFillBackground(back_.has_value());
}

void Button::setGraphical(bool on) { static_cast<faces::FaceButton*>(button_)->setGraphical(on); }

bool Button::Bold() const { return button_->font().bold(); }
void Button::setBold(bool on) {
    QFont f = button_->font();
    f.setBold(on);
    button_->setFont(f);
}
QString Button::FontName() const { return button_->font().family(); }
void Button::setFontName(const QString& family) {
    QFont f = button_->font();
    f.setFamily(family);
    button_->setFont(f);
}
double Button::FontSize() const { return button_->font().pointSizeF(); }
void Button::setFontSize(double points) {
    QFont f = button_->font();
    f.setPointSizeF(points);
    button_->setFont(f);
}
void Button::setIcon(const QIcon& icon, int size) {
    button_->setIcon(icon);
    if (size > 0) button_->setIconSize(QSize(size, size));
    if (button_->toolButtonStyle() == Qt::ToolButtonTextOnly)
        button_->setToolButtonStyle(Caption().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}

void Button::setIconAbove(bool on) {
    button_->setToolButtonStyle(on ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
}

QAbstractButton* Button::button() const { return button_; }

// ---------------------------------------------------------------- timer

Timer::Timer(QObject* parent, int intervalMs, bool enabled) : timer_(new QTimer(parent)), enabled_(false) {
    timer_->setInterval(intervalMs);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { run(Tick); });
    setEnabled(enabled);
}

int Timer::Interval() const { return timer_->interval(); }

void Timer::setInterval(int ms) {
    timer_->setInterval(ms);
    if (enabled_ && ms > 0)
        timer_->start();
    else
        timer_->stop();
}

bool Timer::Enabled() const { return enabled_; }

void Timer::setEnabled(bool on) {
    enabled_ = on;
    if (on && timer_->interval() > 0)
        timer_->start();
    else
        timer_->stop();
}

}  // namespace ui
