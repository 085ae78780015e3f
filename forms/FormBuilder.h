// The forms' controls from tables: one row per control (object name, kind, rectangle in twips,
// caption, font), built in table order by one builder; and a fixed frame's size.
#pragma once

#include <QHash>
#include <QWidget>
#include <span>

enum class ControlKind {
    Label,    // QLabel; one of no width takes the size of its text
    Picture,  // QLabel for an icon
    Link,     // QLabel drawn as a link: underlined, blue, the up-arrow pointer
    Button,   // QPushButton
    CheckBox, // QCheckBox
    Option,   // QRadioButton
    TextBox,  // QLineEdit
    TextArea, // QPlainTextEdit
    Frame,    // QGroupBox drawn as an etched line with its caption set into the top edge
    Strip,    // a strip of one colour (QWidget), for an etched line
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

    // A name that is not in the table, or a control of another kind, is a fault of the form's
    // code: it stops the program here rather than later at a null pointer.
    template <class Control> Control* get(const char* name) const
    {
        auto* control = qobject_cast<Control*>(m_built.value(QLatin1String(name)));
        if (control == nullptr)
            qFatal("FormControls::get: no such control: %s", name);
        return control;
    }

private:
    QHash<QString, QWidget*> m_built;
};

// Fixes a form's client area at its designed size in twips.
void setClientSize(QWidget* form, int widthTwips, int heightTwips);
