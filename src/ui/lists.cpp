// Lists and combo boxes: a pick is a user's choice of an entry (by mouse,
// keys or code), never a list being filled or focused; typing in a combo
// box is no pick.
#include <QAbstractListModel>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>

#include "ui/faces.h"
#include "ui/toolkit.h"

namespace ui {

// ---------------------------------------------------------------- list

class StringListModel : public QAbstractListModel {
public:
    StringListModel(QObject* parent, bool checkable) : QAbstractListModel(parent), checkable_(checkable) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : count(); }
    // The view asks for every row's index when it lays out a long list:
    // answered here without the base class's round of virtual calls.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = QModelIndex()) const override {
        if (row < 0 || column != 0 || parent.isValid() || row >= count()) return {};
        return createIndex(row, column);
    }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid() || i.row() >= count()) return {};
        if (role == Qt::DisplayRole) return text(i.row());
        if (role == Qt::CheckStateRole && checkable_) return checks_[size_t(i.row())] ? Qt::Checked : Qt::Unchecked;
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
        checks_[size_t(i.row())] = v.toInt() == Qt::Checked;
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
        checks_.resize(size_t(items_.size()), 0);
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
QString ListBox::List(int i) const { return i >= 0 && i < model_->rowCount() ? model_->text(i) : QString(); }

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

}  // namespace ui
