#include "about/frmAbout.h"

#include "about/MakerInfo.h"
#include "app/mdShell.h"
#include "main_window/Main.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "resources/Icons.h"
#include "settings/fmArm.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace
{

frmAbout* g_about = nullptr;

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

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout()
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    g_about = this;
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(kClientWidth / twips::perPixel, kClientHeight / twips::perPixel);

    Image1 = twips::place(new QLabel(this), "Image1", 120, 120, 480, 480);
    lblTitle = label(twips::place(new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"), this), "lblTitle",
                                  720, 0, 2640, 360),
                     18);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);
    lblVersion = label(
        twips::place(new QLabel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this), "lblVersion", 840, 360, 645, 195),
        9.75);
    Label2 = label(twips::place(new QLabel(QLatin1String(maker::BrandLabel), this), "Label2", 120,
                                720, 1350, 240),
                   12, true);
    HPaddress = link(twips::place(new LinkLabel(QLatin1String(maker::HomePageShown), this),
                                  "HPaddress", 480, 960, 2865, 180));
    Label4 = label(twips::place(new QLabel(QString::fromUtf8(maker::Author), this), "Label4", 120,
                                1200, 1035, 240),
                   12, true);
    Mailaddress = link(twips::place(new LinkLabel(QLatin1String(maker::MailAddress), this),
                                    "Mailaddress", 1440, 1200, 1845, 180));

    // The etched separator across the whole width: grey, with white drawn over it just below.
    const int y = 1560 / twips::perPixel;
    Line1[1] = line(this, "Line1_1", QRect(-30 / twips::perPixel, y, 4110 / twips::perPixel, 1),
                    QColor(128, 128, 128));
    Line1[0] = line(this, "Line1_0", QRect(-15 / twips::perPixel, y + 1, 4095 / twips::perPixel, 2),
                    QColor(255, 255, 255));
    Line1[0]->raise();

    cmdOK =
        twips::place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 2160, 1680, 1185, 375);
    cmdOK->setDefault(true); // Enter presses it; Esc rejects the dialog, which unloads it too

    for (QLabel* l : {static_cast<QLabel*>(Label2), static_cast<QLabel*>(HPaddress), Label4,
                      static_cast<QLabel*>(Mailaddress)})
        growToFit(l);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(HPaddress, &LinkLabel::clicked, this, &frmAbout::HPaddress_Click);
    connect(Mailaddress, &LinkLabel::clicked, this, &frmAbout::Mailaddress_Click);
    // However it closes (OK, Enter, Esc, the close box, a detonation), it is unloaded.
    connect(this, &QDialog::finished, this, [this] {
        if (g_about == this)
            g_about = nullptr;
        deleteLater();
    });
}

frmAbout::~frmAbout()
{
    if (g_about == this)
        g_about = nullptr;
}

frmAbout* frmAbout::instance()
{
    return g_about;
}

frmAbout* frmAbout::bringOpenOneForward()
{
    if (g_about != nullptr) {
        g_about->raise();
        g_about->activateWindow();
    }
    return g_about;
}

void frmAbout::open(bool modal)
{
    if (bringOpenOneForward() != nullptr)
        return;
    auto* box = new frmAbout;
    box->Form_Load();
    if (modal)
        box->exec();
    else
        box->show();
}

void frmAbout::ShowModeless()
{
    open(false);
}

void frmAbout::ShowModal()
{
    open(true);
}

void frmAbout::Unload()
{
    if (g_about != nullptr)
        g_about->reject();
}

void frmAbout::UnloadIfVisible()
{
    if (g_about != nullptr && g_about->isVisible())
        Unload();
}

void frmAbout::Form_Load()
{
    // Reading the check box loads the settings dialog, hidden, if it is not loaded.
    if (fmArm::Load().Check3->isChecked())
        platform().setTopmost(this, true);

    const QSize outer = twips::outerSize(this);
    const QSize screen = platform().screenSizeTwips();
    const mdShell::RememberedPosition& saved = mdShell::Position();
    const int top = mdShell::KeepOnScreen(saved.SavedTop, outer.height(), screen.height());
    const int left = mdShell::KeepOnScreen(saved.SavedLeft, outer.width(), screen.width());
    twips::moveTo(this, left, top);

    const QString title = QStringLiteral("Quorvane");
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(
        VersionText(QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_TWEAK));
    growToFit(lblVersion);
    lblTitle->setText(title);
    growToFit(lblTitle);
    const QIcon icon = Main::instance() != nullptr ? Main::instance()->windowIcon() : icons::bomb();
    Image1->setPixmap(icon.pixmap(Image1->size()));
}

void frmAbout::cmdOK_Click()
{
    Unload();
}

void frmAbout::HPaddress_Click()
{
    platform().openUrl(QUrl(QLatin1String(maker::HomePage)));
}

void frmAbout::Mailaddress_Click()
{
    platform().openUrl(QUrl(QStringLiteral("mailto:") + QLatin1String(maker::MailAddress)));
}
