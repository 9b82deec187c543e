// The text field: a key filter that sees Windows-1252 codes, pastes cut to
// the field's limit by the field itself, and focus handlers that ignore a
// window merely becoming active.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>

#include "ui/toolkit.h"

namespace ui {

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
            QObject::connect(a, &QAction::triggered, this,
                             [this] { owner_->paste(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
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
        if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason) run(owner_->GotFocus);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason) run(owner_->LostFocus);
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

}  // namespace ui
