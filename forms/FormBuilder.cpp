#include "forms/FormBuilder.h"

#include "desktop/Fonts.h"
#include "forms/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace
{

// A frame as the layout was drawn for: an etched line with its caption set into the top edge,
// so that the controls at their designed places sit inside it.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter p(this);
        const QFontMetrics fm(font());
        const QRect line = rect().adjusted(0, fm.height() / 2, -2, -2);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(line);
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(line.translated(1, 1));
        constexpr int kCaptionIndent = 6; // the caption's gap in the line, and its margin
        constexpr int kCaptionMargins = 4;
        const QRect caption(kCaptionIndent, 0, fm.horizontalAdvance(title()) + kCaptionMargins,
                            fm.height());
        p.fillRect(caption, palette().window());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(caption, Qt::AlignCenter, title());
    }
};

QWidget* make(ControlKind kind, const QString& caption, QWidget* parent)
{
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Picture:
        return new QLabel(caption, parent);
    case ControlKind::Link: {
        auto* link = new QLabel(caption, parent);
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(pal);
        link->setCursor(Qt::UpArrowCursor);
        return link;
    }
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::TextBox:
        return new QLineEdit(caption, parent);
    case ControlKind::TextArea:
        return new QPlainTextEdit(caption, parent);
    case ControlKind::Frame:
        return new Frame(caption, parent);
    case ControlKind::Strip: {
        auto* strip = new QWidget(parent);
        strip->setAutoFillBackground(true);
        return strip;
    }
    }
    return nullptr;
}

} // namespace

FormControls::FormControls(QWidget* form, std::span<const ControlRow> rows)
{
    for (const ControlRow& row : rows) {
        QWidget* parent = row.frame != nullptr ? m_built.value(QLatin1String(row.frame)) : form;
        QWidget* control = make(row.kind, QString::fromUtf8(row.caption), parent);
        control->setObjectName(QLatin1String(row.name));
        if (row.points > 0) {
            QFont font = fonts::gothic(
                row.points, row.fixedPitch ? fonts::Gothic::Fixed : fonts::Gothic::Proportional,
                row.bold);
            font.setUnderline(row.kind == ControlKind::Link);
            control->setFont(font);
        }
        if (row.width == 0 && row.height == 0) {
            control->move(twips::rect(row.left, row.top, 0, 0).topLeft());
            control->adjustSize();
        } else {
            control->setGeometry(twips::rect(row.left, row.top, row.width, row.height));
        }
        m_built.insert(control->objectName(), control);
    }
}

void setClientSize(QWidget* form, int widthTwips, int heightTwips)
{
    form->setFixedSize(widthTwips / twips::perPixel, heightTwips / twips::perPixel);
}
