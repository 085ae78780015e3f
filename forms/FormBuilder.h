// The forms' controls from tables: one row per control (object name, kind, rectangle in twips,
// caption, font), built in table order by one builder; the controls the forms share; a fixed
// frame's size; and the life of a form kept in the application state.
#pragma once

#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <span>
#include <type_traits>

struct AppState;
class QDialog;

// The clock label; a double-click on it opens the settings dialog.
class ClockLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A label that reports a click, for the About box's two links: underlined, blue, with the
// up-arrow pointer the box was designed with.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A frame as the layout was drawn for: an etched line with its caption set into the top edge,
// so that the controls at their designed places sit inside it.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

enum class ControlKind {
    Label,      // QLabel; one of no width takes the size of its text
    Picture,    // QLabel for an icon
    ClockLabel, // ClockLabel
    Link,       // LinkLabel
    Button,     // QPushButton
    CheckBox,   // QCheckBox
    Option,     // QRadioButton
    TextBox,    // QLineEdit
    TextArea,   // QPlainTextEdit
    Frame,      // Frame
    Strip,      // a strip of one colour (QWidget), for an etched line
};

struct ControlRow {
    const char* name; // the object name
    ControlKind kind;
    int left, top, width, height; // twips, within the frame or the form
    const char* caption = "";     // UTF-8
    const char* frame = nullptr;  // the frame it sits in, by object name; else the form
    double points = 0;            // the font's size; 0 keeps the form's font
    bool bold = false;
    bool fixedPitch = false;
};

// Builds the rows' controls onto the form and finds them by object name.
class FormControls
{
public:
    FormControls(QWidget* form, std::span<const ControlRow> rows);

    template <class Control> Control* get(const char* name) const
    {
        return qobject_cast<Control*>(m_built.value(QLatin1String(name)));
    }

private:
    QHash<QString, QWidget*> m_built;
};

// Fixes a form's client area at its designed size in twips.
void setClientSize(QWidget* form, int widthTwips, int heightTwips);

// The life of a form kept in a slot of the application state: not loaded (the slot is empty),
// loaded (hidden until shown), unloaded (closed, and deleted once its own handlers returned).
template <class Form> Form& loadForm(QPointer<Form>& slot, AppState& state)
{
    if (slot == nullptr) {
        slot = new Form(state);
        slot->fill();
    }
    return *slot;
}

template <class Form> void unloadForm(QPointer<Form>& slot)
{
    Form* form = slot;
    if (form == nullptr)
        return;
    slot = nullptr;
    if constexpr (std::is_base_of_v<QDialog, Form>)
        form->reject(); // ends a modal dialog's wait too
    else
        form->hide();
    form->deleteLater();
}

template <class Form> void unloadFormIfVisible(QPointer<Form>& slot)
{
    if (slot != nullptr && slot->isVisible())
        unloadForm(slot);
}
