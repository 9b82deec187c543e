// The window toolkit the windows are built from: a thin layer over Qt Widgets
// with the behaviour the windows rely on — windows loaded on first access and
// shown modeless or modal, hidden or unloaded; text fields whose key filter
// sees Windows-1252 codes; lists, combo boxes, check boxes, labels, buttons,
// timers, menus; and one seam for every message box.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QListView;
class QComboBox;
class QCheckBox;
class QLabel;

class QToolButton;
class QTimer;
class QFrame;
class QMenuBar;
class QMenu;
class QAction;
class QKeySequence;

namespace ui {

class StringListModel;

// ---------------------------------------------------------------- helpers

QColor rgb(int r, int g, int b);
// The colours the windows share: yellow text on blue in the lists and
// fields, white on teal or blue in the simulator, orange clue squares.
inline const QColor kYellow{255, 255, 0};
inline const QColor kBlue{0, 0, 192};
inline const QColor kNavy{0, 0, 128};
inline const QColor kWhite{255, 255, 255};
inline const QColor kTeal{0, 128, 128};
inline const QColor kOrange{255, 128, 0};
// Windows-1252 code of a character, or -1 when it has none.
int toCp1252(QChar c);
// The character of a Windows-1252 code (0 for codes without one).
QChar fromCp1252(int code);
// Upper case letter by letter, each Windows-1252 letter to its capital
// (æ, ø, å included); letters without a single capital stay as they are.
QString upperCase(const QString& s);
// Number of characters as the user counts them (code points).
int charLength(const QString& s);

// Look and fonts of the whole program: the Fusion style, which honours the
// windows' own colours, the application title, and stand-ins for the
// classic Windows fonts the layouts name.
void setUpApplication();

// Runs an event handler. An error that escapes it ends the program with a
// message naming the error (through Fatal).
void run(const std::function<void()>& handler);

// Ends the process at once. Tests replace the hook to see the call.
void Quit(int status = 0);
void setQuitHook(std::function<void(int status)> hook);  // nullptr: real exit
// Shows `message` (title "Velmora") and ends the process with status 1.
void Fatal(const QString& message);

// ---------------------------------------------------------------- message boxes

enum class Buttons { OK, YesNo };
enum class Answer { OK, Yes, No };

struct MsgBoxCall {
    QString prompt;
    QString title;  // as shown: "Velmora" when none was given
    bool titleGiven;
    Buttons buttons;
    // A box with a tick box: its caption, and its state (in: as shown; out:
    // as the user left it). Tests tick it through the pointer.
    QString check{};
    bool* checked = nullptr;
};

// Modal message box without an icon. An empty title shows the
// application's title, "Velmora".
Answer MsgBox(const QString& prompt, Buttons buttons = Buttons::OK, const QString& title = QString());
// The same with a tick box under the prompt.
Answer MsgBox(const QString& prompt, const QString& check, bool& checked, Buttons buttons,
              const QString& title = QString());
// Tests answer and read the boxes here; nullptr restores the real boxes.
void setMsgBoxHandler(std::function<Answer(const MsgBoxCall&)> handler);

// ---------------------------------------------------------------- windows

class Form;

// Tests drive a modal window from inside its loop: the driver runs once the
// window is up; if the window is still shown when the driver returns, it is
// hidden so that no test can hang. nullptr: real modal loops.
void setModalDriver(std::function<void(Form&)> driver);

class Form : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form)
public:
    // What the title bar's close button does.
    enum class TitleClose { Hide, Unload, Quit };

    explicit Form(const QString& caption, int clientWidth, int clientHeight);
    ~Form() override;

    // The area the controls are placed in, at their pixel positions.
    QWidget* client() const { return client_; }
    QMenuBar* menuBar();  // created on first use, above the client area

    void setCaption(const QString& c);
    QString Caption() const;
    // A line under the client area that says what became of the window's
    // content; the window grows by it while it is not empty.
    void setStatusLine(const QString& text);
    QString StatusLine() const;

    void Show();  // modeless; brings the window forward
    // Modeless, and when it was hidden, beside `owner` rather than over it:
    // to its right, or to its left where the screen has no room.
    void ShowBeside(QWidget* owner);
    void ShowModal();  // returns when the window is hidden or unloaded
    void Hide();
    bool Visible() const { return isVisible(); }
    bool IsModal() const { return modalDepth_ > 0; }
    // Destroys the window; the next access through module M loads it afresh.
    void Unload();

    // Where Show and ShowModal centre the window: on this one, or on the
    // screen when none is set.
    void setCentreOn(QWidget* owner) { centreOn_ = owner; }
    void setTitleClose(TitleClose t) { titleClose_ = t; }

    // Runs the load handler; called once by module M right after creation.
    void load();
    // Called by Unload so that module M forgets this instance.
    std::function<void()> onUnload;

signals:
    void hiddenOrGone();

protected:
    virtual void Form_Load() {}
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void centre();
    void fitBars();
    void prepareNative();
    QWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QPointer<QWidget> centreOn_;
    TitleClose titleClose_ = TitleClose::Hide;
    int modalDepth_ = 0;
    bool loaded_ = false;
    int clientW_, clientH_;
};

// A menu entry whose click runs `handler` through ui::run.
QAction* addMenuEntry(QMenu* menu, const QString& caption, const QKeySequence& shortcut, std::function<void()> handler);

// Tab order: the widgets in the order given.
void setTabOrder(const std::vector<QWidget*>& widgets);

// ---------------------------------------------------------------- controls

// A control owns its widget's handlers, which capture the control itself:
// controls are neither copied nor moved.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;
    QWidget* widget() const { return w_; }
    void setPlace(int left, int top, int width, int height);
    void setFont(const QString& family, double points, bool bold);
    void setColors(const QColor& text, const QColor& background);
    void setEnabled(bool on);
    bool Enabled() const;
    void setVisible(bool on);

protected:
    QWidget* w_ = nullptr;
};

class TextBox : public Control {
public:
    explicit TextBox(QWidget* parent);
    QString Text() const;
    // Writing a text other than the one held fires Change; the same text fires nothing.
    void setText(const QString& t);
    void SetFocus();
    bool HasFocus() const;
    QLineEdit* edit() const { return edit_; }

    std::function<void()> Change;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    // Gets the typed character's Windows-1252 code (13 Enter, 8 backspace)
    // and may change it: another code replaces the character, 0 discards
    // the keystroke, 8 turns it into a backspace.
    std::function<void(int& keyAscii)> KeyPress;

    // The most characters a field holds. A paste that would pass it is cut
    // to fit, with a message saying so.
    static constexpr int kMaxChars = 1 << 20;
    // Inserts pasted or dropped text at the cursor, over the selection.
    void paste(const QString& text);

    // Used by the key filter.
    void handleKey(int code);
    void fireChangeIfNew();

private:
    QLineEdit* edit_;
    QString last_;
};

class ListBox : public Control {
public:
    ListBox(QWidget* parent, bool checkBoxes);
    void Clear();
    void AddItem(const QString& s);
    void AddItems(const QStringList& items);
    // Replaces the entries by `count` entries held elsewhere, entry i read
    // through text(i) only when it is shown or asked for: a list of a
    // million words costs no copy of them.
    void setItems(int count, std::function<QString(int)> text);
    int ListCount() const;
    QString List(int i) const;
    int ListIndex() const;     // -1: none selected
    void setListIndex(int i);  // selects, and fires Click as a pick does
    QString Text() const;      // the selected entry, "" when none
    bool Checked(int i) const;
    void setChecked(int i, bool on);  // fires ItemCheck
    QListView* view() const { return view_; }
    // Whether moving the selection with the keyboard is a pick (fires
    // Click), as it is by default; off, the keys only select.
    void setKeyboardPicks(bool on) { keyboardPicks_ = on; }
    bool keyboardPicks() const { return keyboardPicks_; }

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int item)> ItemCheck;

    // Used by the view's event handling.
    void userPicked(int row);

private:
    QListView* view_;
    StringListModel* model_;
    bool quiet_ = false;
    bool keyboardPicks_ = true;

public:
    bool byKeyboard_ = false;  // set by the view while it handles a key
};

class ComboBox : public Control {
public:
    explicit ComboBox(QWidget* parent);
    void Clear();
    void AddItem(const QString& s);
    // Writes entry i; i equal to the number of entries appends.
    void setList(int i, const QString& s);
    QString List(int i) const;
    int ListCount() const;
    QString Text() const;
    void setText(const QString& t);
    void SetFocus();
    QComboBox* combo() const { return combo_; }

    // The user picked an entry; typing fires nothing.
    std::function<void()> Click;

private:
    QComboBox* combo_;
};

class CheckBox : public Control {
public:
    CheckBox(QWidget* parent, const QString& caption, bool checked);
    bool Value() const;
    void setValue(bool on);
    QCheckBox* box() const { return box_; }

private:
    QCheckBox* box_;
};

class Label : public Control {
public:
    Label(QWidget* parent, const QString& caption);
    QString Caption() const;
    void setCaption(const QString& c);
    void setAlignment(Qt::Alignment a);
    void setAutoSize(bool on);
    void setTransparent(bool on);
    void setPicture(const QPixmap& p);
    QLabel* label() const { return label_; }

    std::function<void()> Click;

private:
    QLabel* label_;
    bool autoSize_ = false;
};

class Button : public Control {
public:
    Button(QWidget* parent, const QString& caption);
    QString Caption() const;
    void setCaption(const QString& c);
    // std::nullopt is the desktop's button-face colour.
    std::optional<QColor> BackColor() const { return back_; }
    void setBackColor(std::optional<QColor> c);
    bool IsButtonFace() const { return !back_.has_value(); }
    // A graphical button shows its background colour flat over its whole
    // face, as the grid squares do; otherwise the style shades the face.
    void setGraphical(bool on);
    bool Bold() const;
    void setBold(bool on);
    QString FontName() const;
    void setFontName(const QString& family);
    double FontSize() const;
    void setFontSize(double points);
    void setIcon(const QIcon& icon, int size = 0);
    // Shows the picture above the caption, as the image buttons do.
    void setIconAbove(bool on);
    QAbstractButton* button() const;

    std::function<void()> Click;

private:
    void restyle();
    QToolButton* button_;
    std::optional<QColor> back_;
};

class Frame : public Control {
public:
    explicit Frame(QWidget* parent);
    QWidget* inside() const { return w_; }
    std::function<void()> Click;  // a click where no child covers the frame
};

class Timer {
public:
    explicit Timer(QObject* parent, int intervalMs = 0, bool enabled = false);
    Timer(const Timer&) = delete;  // its tick handler captures the timer
    Timer& operator=(const Timer&) = delete;
    ~Timer() = default;
    int Interval() const;
    void setInterval(int ms);  // restarts the count
    bool Enabled() const;
    void setEnabled(bool on);
    QTimer* timer() const { return timer_; }

    std::function<void()> Tick;

private:
    QTimer* timer_;
    bool enabled_;
};

}  // namespace ui
