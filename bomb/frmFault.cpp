#include "bomb/frmFault.h"

#include "bomb/mdBomb.h"
#include "bomb/mdFault.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "resources/Icons.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

frmFault* g_fault = nullptr;

constexpr int kClientWidth = 6870;

QFont gothic()
{
    QFont f = fonts::face(QStringLiteral("ＭＳ ゴシック"), 9);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

QLabel* messageLine(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(gothic());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(rect);
    // Enter presses the button that has the focus; Esc closes the dialog as "救　済" does.
    b->setAutoDefault(true);
    return b;
}

} // namespace

frmFault::frmFault()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint)
{
    g_fault = this;
    setObjectName(QStringLiteral("frmFault"));
    setWindowTitle(QStringLiteral("Explorer"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips::rect(360, 240, 480, 480));
    Image1->setPixmap(icons::error().pixmap(Image1->size()));

    Label1 = messageLine(this, "Label1",
                         QStringLiteral("あなたの人生は不正な処理を行ったので強制終了します。"),
                         twips::rect(1320, 240, 3735, 375));
    Label2 = messageLine(this, "Label2",
                         QStringLiteral("終了しない場合は、胸に手を当てて悔い改めてください。"),
                         twips::rect(1320, 840, 3615, 375));

    Command1 =
        button(this, "Command1", QStringLiteral("閉じる(&C)"), twips::rect(5520, 120, 1095, 375));
    Command2 =
        button(this, "Command2", QStringLiteral("救　済"), twips::rect(5520, 600, 1095, 375));
    Command3 =
        button(this, "Command3", QStringLiteral("詳細(&D)>>"), twips::rect(5520, 1080, 1095, 375));
    connect(Command1, &QPushButton::clicked, this, &frmFault::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmFault::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmFault::Command3_Click);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("詳細"));
    Text1->setGeometry(twips::rect(240, 1680, 6375, 1935));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(gothic());
    QPalette pal = Text1->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window)); // the menu-face system colour
    Text1->setPalette(pal);

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Text1);
}

frmFault::~frmFault()
{
    if (g_fault == this)
        g_fault = nullptr;
}

frmFault* frmFault::instance()
{
    return g_fault;
}

void frmFault::showModal()
{
    if (g_fault != nullptr)
        return; // never a second one while it is open
    frmFault dialog;
    dialog.Form_Load();
    dialog.exec();
}

void frmFault::Form_Load()
{
    setOuterHeightTwips(1920);
    twips::centre(this, platform().screenSizeTwips());
    platform().setTopmost(this, true);
    Command1->setFocus();
}

void frmFault::Command1_Click()
{
    mdBomb::DoWindowsExit();
    platform().endProcess();
}

void frmFault::Command2_Click()
{
    reject(); // unloads; the detonation that opened it returns
}

void frmFault::Command3_Click()
{
    setOuterHeightTwips(4185);
    Command3->setEnabled(false);
    mdFault::BuildFaultDetails();
}

int frmFault::outerHeightTwips() const
{
    return twips::fromPixels(height()) + twips::designFrameTop + twips::designFrameEdge;
}

void frmFault::setOuterHeightTwips(int tw)
{
    setFixedSize(kClientWidth / twips::perPixel,
                 (tw - twips::designFrameTop - twips::designFrameEdge) / twips::perPixel);
}
