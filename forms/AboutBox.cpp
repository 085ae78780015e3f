#include "forms/AboutBox.h"

#include "forms/AppState.h"
#include "forms/MakerInfo.h"
#include "forms/SettingsDialog.h"
#include "forms/Shell.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "resources/Icons.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace
{

constexpr int kClientWidth = 3480;
constexpr int kClientHeight = 2160;

QLabel* label(QLabel* l, double points, bool bold = false)
{
    QFont f = fonts::face(QStringLiteral("ＭＳ Ｐゴシック"), points);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

LinkLabel* link(LinkLabel* l)
{
    label(l, 9);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    l->setPalette(pal);
    l->setCursor(Qt::UpArrowCursor); // the links' pointer, as the box was designed
    return l;
}

// A line of the etched separator: a strip of one colour.
QWidget* line(QWidget* parent, const char* name, QRect rect, QColor colour)
{
    auto* strip = new QWidget(parent);
    strip->setObjectName(QLatin1String(name));
    strip->setGeometry(rect);
    strip->setAutoFillBackground(true);
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Window, colour);
    strip->setPalette(pal);
    return strip;
}

// Labels grow to show their whole text; they never shrink below their designed size.
void growToFit(QLabel* l)
{
    l->resize(l->size().expandedTo(l->sizeHint()));
}

} // namespace

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2%3").arg(major).arg(minor).arg(revision);
}

AboutBox::AboutBox(AppState& state)
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_state(state)
{
    m_state.aboutBox = this;
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(kClientWidth / twips::perPixel, kClientHeight / twips::perPixel);

    iconLabel = twips::place(new QLabel(this), "Image1", 120, 120, 480, 480);
    titleLabel = label(twips::place(new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"), this), "lblTitle",
                                    720, 0, 2640, 360),
                       18);
    QPalette black = titleLabel->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    titleLabel->setPalette(black);
    versionLabel = label(
        twips::place(new QLabel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this), "lblVersion", 840, 360, 645, 195),
        9.75);
    brandLabel = label(twips::place(new QLabel(QLatin1String(maker::BrandLabel), this), "Label2",
                                    120, 720, 1350, 240),
                       12, true);
    homePageLink = link(twips::place(new LinkLabel(QLatin1String(maker::HomePageShown), this),
                                     "HPaddress", 480, 960, 2865, 180));
    authorLabel = label(twips::place(new QLabel(QString::fromUtf8(maker::Author), this), "Label4",
                                     120, 1200, 1035, 240),
                        12, true);
    mailLink = link(twips::place(new LinkLabel(QLatin1String(maker::MailAddress), this),
                                 "Mailaddress", 1440, 1200, 1845, 180));

    // The etched separator across the whole width: grey, with white drawn over it just below.
    const int y = 1560 / twips::perPixel;
    separator[1] = line(this, "Line1_1", QRect(-30 / twips::perPixel, y, 4110 / twips::perPixel, 1),
                        QColor(128, 128, 128));
    separator[0] =
        line(this, "Line1_0", QRect(-15 / twips::perPixel, y + 1, 4095 / twips::perPixel, 2),
             QColor(255, 255, 255));
    separator[0]->raise();

    okButton =
        twips::place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 2160, 1680, 1185, 375);
    okButton->setDefault(true); // Enter presses it; Esc rejects the dialog, which unloads it too

    for (QLabel* l : {static_cast<QLabel*>(brandLabel), static_cast<QLabel*>(homePageLink),
                      authorLabel, static_cast<QLabel*>(mailLink)})
        growToFit(l);

    connect(okButton, &QPushButton::clicked, this, &AboutBox::onOk);
    connect(homePageLink, &LinkLabel::clicked, this, &AboutBox::onHomePage);
    connect(mailLink, &LinkLabel::clicked, this, &AboutBox::onMail);
    // However it closes (OK, Enter, Esc, the close box, a detonation), it is unloaded.
    connect(this, &QDialog::finished, this, [this] {
        if (m_state.aboutBox == this)
            m_state.aboutBox = nullptr;
        deleteLater();
    });
}

AboutBox::~AboutBox() = default;

AboutBox* AboutBox::bringOpenOneForward(AppState& state)
{
    if (AboutBox* open = state.aboutBox) {
        open->raise();
        open->activateWindow();
    }
    return state.aboutBox;
}

void AboutBox::open(AppState& state, bool modal)
{
    if (bringOpenOneForward(state) != nullptr)
        return;
    auto* box = new AboutBox(state);
    box->fill();
    if (modal)
        box->exec();
    else
        box->show();
}

void AboutBox::openModeless(AppState& state)
{
    open(state, false);
}

void AboutBox::openModal(AppState& state)
{
    open(state, true);
}

void AboutBox::unload(AppState& state)
{
    if (AboutBox* open = state.aboutBox)
        open->reject();
}

void AboutBox::unloadIfVisible(AppState& state)
{
    if (state.aboutBox != nullptr && state.aboutBox->isVisible())
        unload(state);
}

void AboutBox::fill()
{
    if (SettingsDialog::keepOnTopTicked(m_state))
        platform().setTopmost(this, true);

    const QSize outer = twips::outerSize(this);
    const QSize screen = platform().screenSizeTwips();
    const RememberedPosition& saved = m_state.position;
    const int top = shell::keepOnScreen(saved.top, outer.height(), screen.height());
    const int left = shell::keepOnScreen(saved.left, outer.width(), screen.width());
    twips::moveTo(this, left, top);

    const QString title = QStringLiteral("Quorvane");
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    versionLabel->setText(
        versionText(QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_TWEAK));
    growToFit(versionLabel);
    titleLabel->setText(title);
    growToFit(titleLabel);
    iconLabel->setPixmap(icons::bomb().pixmap(iconLabel->size()));
}

void AboutBox::onOk()
{
    unload(m_state);
}

void AboutBox::onHomePage()
{
    platform().openUrl(QUrl(QLatin1String(maker::HomePage)));
}

void AboutBox::onMail()
{
    platform().openUrl(QUrl(QStringLiteral("mailto:") + QLatin1String(maker::MailAddress)));
}
