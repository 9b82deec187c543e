// The simple controls and what every control shares: place, font, colours;
// check boxes, labels and frames that take clicks, buttons, timers.
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include "ui/faces.h"
#include "ui/toolkit.h"

namespace ui {

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

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

// ---------------------------------------------------------------- check box

CheckBox::CheckBox(QWidget* parent, const QString& caption, bool checked) : box_(new QCheckBox(caption, parent)) {
    w_ = box_;
    box_->setChecked(checked);
}
bool CheckBox::Value() const { return box_->isChecked(); }
void CheckBox::setValue(bool on) { box_->setChecked(on); }

// ---------------------------------------------------------------- label

namespace {

// A label or frame that takes a left click for its owner's Click handler.
// The press is taken even without a handler, so that a click on a label
// never reaches the frame behind it.
template <class Widget, class Owner>
class Clickable : public Widget {
public:
    Clickable(QWidget* parent, Owner* owner) : Widget(parent), owner_(owner) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        if (e->button() == Qt::LeftButton) run(owner_->Click);
    }

private:
    Owner* owner_;
};

}  // namespace

Label::Label(QWidget* parent, const QString& caption) : label_(new Clickable<QLabel, Label>(parent, this)) {
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
    auto* f = new Clickable<QFrame, Frame>(parent, this);
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
