#include "forms/AboutBox.h"

#include "forms/AppState.h"
#include "forms/FormBuilder.h"
#include "forms/FormContext.h"
#include "forms/FormLifetime.h"
#include "forms/MakerInfo.h"
#include "forms/SettingsDialog.h"
#include "forms/Shell.h"
#include "forms/Twips.h"
#include "resources/Icons.h"
#include "seams/Desktop.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace
{

constexpr int kClientWidth = 3480;
constexpr int kClientHeight = 2160;

const ControlRow kControls[] = {
    {"iconLabel", ControlKind::Picture, 120, 120, 480, 480},
    {"titleLabel", ControlKind::Label, 720, 0, 2640, 360, "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ", nullptr, 18},
    {"versionLabel", ControlKind::Label, 840, 360, 645, 195, "ﾊﾞｰｼﾞｮﾝ", nullptr, 9.75},
    {"brandLabel", ControlKind::Label, 120, 720, 1350, 240, maker::BrandLabel, nullptr, 12, true},
    {"homePageLink", ControlKind::Link, 480, 960, 2865, 180, maker::HomePageShown, nullptr, 9},
    {"authorLabel", ControlKind::Label, 120, 1200, 1035, 240, maker::Author, nullptr, 12, true},
    {"mailLink", ControlKind::Link, 1440, 1200, 1845, 180, maker::MailAddress, nullptr, 9},
    // the etched m_separator across the whole width: grey, with white drawn over it just below
    {"separator1", ControlKind::Strip, -30, 1560, 4110, 15},
    {"separator0", ControlKind::Strip, -15, 1575, 4095, 30},
    {"okButton", ControlKind::Button, 2160, 1680, 1185, 375, "OK"},
};

void paint(QWidget* strip, QColor colour)
{
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Window, colour);
    strip->setPalette(pal);
}

// "ﾊﾞｰｼﾞｮﾝ " with the major and minor numbers and the revision: 0.2.0.3 reads "ﾊﾞｰｼﾞｮﾝ 0.23".
QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2%3").arg(major).arg(minor).arg(revision);
}

// Labels grow to show their whole text; they never shrink below their designed size.
void growToFit(QLabel* l)
{
    l->resize(l->size().expandedTo(l->sizeHint()));
}

} // namespace

AboutBox::AboutBox(FormContext& context)
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_context(context)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(icons::none()); // a tool window, without the program's bomb
    setClientSize(this, kClientWidth, kClientHeight);

    const FormControls controls(this, kControls);
    m_iconLabel = controls.get<QLabel>("iconLabel");
    m_titleLabel = controls.get<QLabel>("titleLabel");
    QPalette black = m_titleLabel->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    m_titleLabel->setPalette(black);
    m_versionLabel = controls.get<QLabel>("versionLabel");
    m_brandLabel = controls.get<QLabel>("brandLabel");
    m_homePageLink = controls.get<QLabel>("homePageLink");
    m_authorLabel = controls.get<QLabel>("authorLabel");
    m_mailLink = controls.get<QLabel>("mailLink");
    m_separator[1] = controls.get<QWidget>("separator1");
    m_separator[0] = controls.get<QWidget>("separator0");
    paint(m_separator[1], QColor(128, 128, 128));
    paint(m_separator[0], QColor(255, 255, 255));
    m_separator[0]->raise();
    m_okButton = controls.get<QPushButton>("okButton");
    m_okButton->setDefault(true); // Enter presses it; Esc rejects the dialog, which unloads it too

    for (QLabel* l : {m_brandLabel, m_homePageLink, m_authorLabel, m_mailLink})
        growToFit(l);

    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::onOk);
    m_homePageLink->installEventFilter(this);
    m_mailLink->installEventFilter(this);
    // However it closes (OK, Enter, Esc, the close box, a detonation), it is unloaded.
    connect(this, &QDialog::finished, this, [this] {
        if (m_context.aboutBox == this)
            m_context.aboutBox = nullptr;
        deleteLater();
    });
}

AboutBox::~AboutBox() = default;

AboutBox* AboutBox::bringOpenOneForward(FormContext& context)
{
    if (AboutBox* open = context.aboutBox) {
        open->raise();
        open->activateWindow();
    }
    return context.aboutBox;
}

void AboutBox::open(FormContext& context, bool modal)
{
    if (bringOpenOneForward(context) != nullptr)
        return;
    AboutBox& box = loadForm(context.aboutBox, context);
    if (modal)
        box.exec();
    else
        box.show();
}

void AboutBox::openModeless(FormContext& context)
{
    open(context, false);
}

void AboutBox::openModal(FormContext& context)
{
    open(context, true);
}

void AboutBox::fill()
{
    if (SettingsDialog::keepOnTopTicked(m_context))
        m_context.desktop.setTopmost(this, true);

    const QSize outer = twips::outerSize(this);
    const QSize screen = twips::screen(m_context.desktop);
    const RememberedPosition& saved = m_context.state.position;
    const int top = shell::keepOnScreen(saved.top, outer.height(), screen.height());
    const int left = shell::keepOnScreen(saved.left, outer.width(), screen.width());
    twips::moveTo(this, left, top);

    const QString title = QStringLiteral("Quorvane");
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    m_versionLabel->setText(
        versionText(QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_TWEAK));
    growToFit(m_versionLabel);
    m_titleLabel->setText(title);
    growToFit(m_titleLabel);
    m_iconLabel->setPixmap(icons::bomb().pixmap(m_iconLabel->size()));
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    const bool isLink = watched == m_homePageLink || watched == m_mailLink;
    if (isLink && event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        const auto* link = static_cast<QWidget*>(watched);
        if (release->button() == Qt::LeftButton &&
            link->rect().contains(release->position().toPoint())) {
            if (watched == m_homePageLink)
                onHomePage();
            else
                onMail();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::onOk()
{
    unloadForm(m_context.aboutBox);
}

void AboutBox::onHomePage()
{
    m_context.desktop.openUrl(QUrl(QLatin1String(maker::HomePage)));
}

void AboutBox::onMail()
{
    m_context.desktop.openUrl(QUrl(QStringLiteral("mailto:") + QLatin1String(maker::MailAddress)));
}
