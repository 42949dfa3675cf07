#include "toolkit/qt/main_form.h"

#include "toolkit/qt/accessibility.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "toolkit/qt/system_colours.h"
#include "toolkit/toolkit.h"
#include "window/description.h"
#include "window/twips.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include <algorithm>

namespace tervalin {
namespace {

Qt::Alignment alignment(Align a) {
    return a == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

// Return and keypad Enter press a button, as Space presses the focused one:
// with Ctrl, Shift, Alt or Meta held they press nothing, a key held down
// presses once, and a disabled control takes no key. The toolkit drops the
// click of a hidden button. (autoDefault would press the focused button
// too, but it changes how the buttons are drawn.)
class ReturnPresses : public QObject {
public:
    explicit ReturnPresses(QPushButton* target) : QObject(target), target_(target) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat() && static_cast<QWidget*>(watched)->isEnabled())
            target_->click();
        return true;
    }

private:
    QPushButton* target_;
};

// Keeps control characters out of the answer box, whether typed, pasted,
// dropped or committed by an input method; the cursor keeps its place
// among the characters that stay.
class ControlCharacterFilter : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        pos -=
            int(std::count_if(input.begin(), input.begin() + std::min<qsizetype>(pos, input.size()),
                              isControlCharacter));
        fixup(input);
        return Acceptable;
    }
    void fixup(QString& input) const override { input = withoutControlCharacters(input); }
};

} // namespace

MainForm::MainForm(const Toolkit& scene) {
    const WindowDesc& w = windowDescription().window;
    setObjectName(toQString(w.name));
    setWindowTitle(toQString(w.caption));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/tervalin.svg")));
    // A fixed dialog frame: no resizing, no minimize or maximize button, the
    // close box kept; a tool window has no button of its own in the task bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(int(toPixels(w.clientWidth)), int(toPixels(w.clientHeight)));

    canvas_ = new SceneCanvas(scene, this);
    buildControls();
    wireKeyboard();
    describeForAssistiveTechnology(*this);
}

// Return presses the focused button, and in the answer box the answer
// button. What the answer box shows is all it holds: control characters
// never enter it.
void MainForm::wireKeyboard() {
    using enum Control;
    const std::pair<Control, Control> presses[] = {
        {Command1, Command1}, {Command2, Command2}, {Text1, Command2}};
    for (const auto& [source, target] : presses)
        control(source)->installEventFilter(new ReturnPresses(button(target)));
    textBox(Text1)->setValidator(new ControlCharacterFilter(this));
}

void MainForm::buildControls() {
    const Description& d = windowDescription();
    const auto place = [this](QWidget* w, const auto& desc) {
        w->setObjectName(toQString(desc.name));
        w->setGeometry(toPixels(desc.left, desc.top, desc.width, desc.height).toRect());
        w->setFont(toQFont(desc.font));
        w->setVisible(desc.visible);
        widgets_[desc.name] = w;
    };
    for (const LabelDesc& l : d.labels) {
        auto* label = new QLabel(toQString(l.caption), this);
        place(label, l);
        label->setTextFormat(Qt::PlainText); // a caption is text, never markup
        label->setAlignment(alignment(l.alignment) | Qt::AlignTop);
        label->setWordWrap(l.wordWrap);
        // Opaque, on the button face in button text, unless the label has a
        // ground of its own: then its text is dark, as that ground is light.
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Button);
        label->setForegroundRole(QPalette::ButtonText);
        if (l.backColor != 0) {
            QPalette p = label->palette();
            p.setColor(QPalette::Button, resolveColour(l.backColor, palette()));
            p.setColor(QPalette::ButtonText, darkRole(palette(), QPalette::ButtonText));
            label->setPalette(p);
        }
        if (l.border)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    for (const ButtonDesc& b : d.buttons) {
        auto* button = new QPushButton(toQString(b.caption), this);
        place(button, b);
        button->setAutoDefault(false);
        // A click leaves the focus where it is: the last leg asks for the
        // answer box every frame, and the focus leaving a pressed button
        // would cancel its click.
        button->setFocusPolicy(Qt::TabFocus);
    }
    for (const TextBoxDesc& t : d.textBoxes) {
        auto* box = new QLineEdit(this);
        place(box, t);
        box->setAlignment(alignment(t.alignment) | Qt::AlignVCenter);
    }
    for (const PictureDesc& p : d.pictures)
        widgets_[p.name] = new PictureBox(p, this);

    // The labels lie under the sign boxes, text boxes and buttons; within
    // each layer an earlier control of the stored order lies above a later
    // one. The lines, vehicles and timer of the order are no widgets.
    for (const bool labels : {true, false})
        for (auto name = d.storedOrder.rbegin(); name != d.storedOrder.rend(); ++name)
            if (const auto w = widgets_.find(*name);
                w != widgets_.end() && bool(qobject_cast<QLabel*>(w->second)) == labels)
                w->second->raise();

    const std::span<const std::string_view> chain = focusChain();
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(widget(chain[i - 1]), widget(chain[i]));
    widget(chain.front())->setFocus(Qt::OtherFocusReason);
}

QWidget* MainForm::widget(std::string_view name) const {
    const auto w = widgets_.find(name);
    if (w == widgets_.end())
        qFatal("The window has no control named %.*s", int(name.size()), name.data());
    return w->second;
}

void MainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closeRequested();
}

} // namespace tervalin
