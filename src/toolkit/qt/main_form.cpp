#include "toolkit/qt/main_form.h"

#include "toolkit/answer_box_text.h"
#include "toolkit/qt/accessibility.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "toolkit/qt/system_colours.h"
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
#include <ranges>

namespace tervalin {
namespace {

template <typename Desc> QRect pixelRect(const Desc& d) {
    return toPixels(d.left, d.top, d.width, d.height).toRect();
}

Qt::Alignment alignment(Align a) {
    return a == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

// Return and keypad Enter press the focused button, as Space does; a key
// held down presses once. (autoDefault would do the same, but it changes
// how the buttons are drawn.)
class ReturnPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* button, QEvent* event) override {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() != QEvent::KeyPress ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton*>(button)->click();
        return true;
    }
};

// Keeps control characters out of the answer box, whether typed, pasted,
// dropped or committed by an input method; the cursor keeps its place
// among the characters that stay.
class ControlCharacterFilter : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        pos -= int(std::count_if(input.begin(), input.begin() + pos, isControlCharacter));
        fixup(input);
        return Acceptable;
    }
    void fixup(QString& input) const override { input = withoutControlCharacters(input); }
};

} // namespace

MainForm::MainForm(const Toolkit& scene) {
    const WindowDesc& w = mainWindow().window;
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

// Return presses the focused button, as Space does, and in the answer box
// the answer button while it is there. What the answer box shows is all it
// holds: control characters never enter it.
void MainForm::wireKeyboard() {
    auto* presses = new ReturnPresses(this);
    button(Control::Command1)->installEventFilter(presses);
    button(Control::Command2)->installEventFilter(presses);
    QLineEdit* answerBox = textBox(Control::Text1);
    answerBox->setValidator(new ControlCharacterFilter(this));
    connect(answerBox, &QLineEdit::returnPressed, this, [this] {
        QPushButton* answer = button(Control::Command2);
        if (answer->isVisible() && answer->isEnabled())
            answer->click();
    });
}

// Children are stacked in creation order, the last on top: first the
// labels, then the sign boxes, text boxes and buttons, each layer from the
// end of the stored order to its start.
void MainForm::buildControls() {
    const Description& d = mainWindow();
    const QPalette& pal = palette();

    for (const std::string_view name : std::views::reverse(d.storedOrder)) {
        const auto lbl = std::ranges::find(d.labels, name, &LabelDesc::name);
        if (lbl == d.labels.end())
            continue;
        auto* l = new QLabel(this);
        l->setTextFormat(Qt::PlainText); // a caption is text, never markup
        l->setText(toQString(lbl->caption));
        l->setObjectName(toQString(lbl->name));
        l->setGeometry(pixelRect(*lbl));
        l->setFont(toQFont(lbl->font));
        l->setAlignment(alignment(lbl->alignment) | Qt::AlignTop);
        l->setWordWrap(lbl->wordWrap);
        // Opaque, on the button face in button text, unless the label has a
        // ground of its own: then its text is dark, as that ground is light.
        l->setAutoFillBackground(true);
        l->setBackgroundRole(QPalette::Button);
        l->setForegroundRole(QPalette::ButtonText);
        if (lbl->backColor != 0) {
            QPalette p = l->palette();
            p.setColor(QPalette::Button, resolveColour(lbl->backColor, pal));
            p.setColor(QPalette::ButtonText, darkRole(pal, QPalette::ButtonText));
            l->setPalette(p);
        }
        if (lbl->border)
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setVisible(lbl->visible);
        controls_[lbl->id] = l;
    }

    for (const std::string_view name : std::views::reverse(d.storedOrder)) {
        if (const auto b = std::ranges::find(d.buttons, name, &ButtonDesc::name);
            b != d.buttons.end()) {
            auto* pb = new QPushButton(toQString(b->caption), this);
            pb->setObjectName(toQString(b->name));
            pb->setGeometry(pixelRect(*b));
            pb->setFont(toQFont(b->font));
            pb->setAutoDefault(false);
            pb->setVisible(b->visible);
            controls_[b->id] = pb;
        } else if (const auto t = std::ranges::find(d.textBoxes, name, &TextBoxDesc::name);
                   t != d.textBoxes.end()) {
            auto* le = new QLineEdit(this);
            le->setObjectName(toQString(t->name));
            le->setGeometry(pixelRect(*t));
            le->setFont(toQFont(t->font));
            le->setAlignment(alignment(t->alignment) | Qt::AlignVCenter);
            le->setVisible(t->visible);
            controls_[t->id] = le;
        } else if (const auto pic = std::ranges::find(d.pictures, name, &PictureDesc::name);
                   pic != d.pictures.end()) {
            new PictureBox(*pic, this);
        }
    }

    // The tab order follows TabIndex; labels hold a place but never take the focus.
    std::vector<std::pair<int, QWidget*>> order;
    for (const ButtonDesc& b : d.buttons)
        order.emplace_back(b.tabIndex, controls_.at(b.id));
    for (const TextBoxDesc& t : d.textBoxes)
        order.emplace_back(t.tabIndex, controls_.at(t.id));
    for (const PictureDesc& p : d.pictures)
        order.emplace_back(p.tabIndex, picture(toQString(p.name)));
    std::ranges::sort(order);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);
    order.front().second->setFocus(Qt::OtherFocusReason);
}

QPushButton* MainForm::button(Control id) const {
    return qobject_cast<QPushButton*>(control(id));
}
QLineEdit* MainForm::textBox(Control id) const {
    return qobject_cast<QLineEdit*>(control(id));
}
QLabel* MainForm::label(Control id) const {
    return qobject_cast<QLabel*>(control(id));
}

PictureBox* MainForm::picture(QStringView name) const {
    return findChild<PictureBox*>(name.toString(), Qt::FindDirectChildrenOnly);
}

void MainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closeRequested();
}

} // namespace tervalin
