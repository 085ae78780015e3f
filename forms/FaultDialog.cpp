#include "forms/FaultDialog.h"

#include "forms/AppState.h"
#include "forms/Detonation.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "resources/Icons.h"
#include "rules/FaultDetails.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace
{

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

FaultDialog::FaultDialog(AppState& state)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      m_state(state)
{
    m_state.faultDialog = this;
    setObjectName(QStringLiteral("frmFault"));
    setWindowTitle(QStringLiteral("Explorer"));

    iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("Image1"));
    iconLabel->setGeometry(twips::rect(360, 240, 480, 480));
    iconLabel->setPixmap(icons::error().pixmap(iconLabel->size()));

    messageLine1 = messageLine(
        this, "Label1", QStringLiteral("あなたの人生は不正な処理を行ったので強制終了します。"),
        twips::rect(1320, 240, 3735, 375));
    messageLine2 = messageLine(
        this, "Label2", QStringLiteral("終了しない場合は、胸に手を当てて悔い改めてください。"),
        twips::rect(1320, 840, 3615, 375));

    closeButton =
        button(this, "Command1", QStringLiteral("閉じる(&C)"), twips::rect(5520, 120, 1095, 375));
    rescueButton =
        button(this, "Command2", QStringLiteral("救　済"), twips::rect(5520, 600, 1095, 375));
    detailsButton =
        button(this, "Command3", QStringLiteral("詳細(&D)>>"), twips::rect(5520, 1080, 1095, 375));
    connect(closeButton, &QPushButton::clicked, this, &FaultDialog::onClose);
    connect(rescueButton, &QPushButton::clicked, this, &FaultDialog::onRescue);
    connect(detailsButton, &QPushButton::clicked, this, &FaultDialog::onDetails);

    detailsText = new QPlainTextEdit(this);
    detailsText->setObjectName(QStringLiteral("Text1"));
    detailsText->setAccessibleName(QStringLiteral("詳細"));
    detailsText->setGeometry(twips::rect(240, 1680, 6375, 1935));
    detailsText->setReadOnly(true);
    detailsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    detailsText->setFont(gothic());
    QPalette pal = detailsText->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window)); // the menu-face system colour
    detailsText->setPalette(pal);

    setTabOrder(closeButton, rescueButton);
    setTabOrder(rescueButton, detailsButton);
    setTabOrder(detailsButton, detailsText);
}

FaultDialog::~FaultDialog() = default;

void FaultDialog::showModal(AppState& state)
{
    if (state.faultDialog != nullptr)
        return; // never a second one while it is open
    FaultDialog dialog(state);
    dialog.fill();
    dialog.exec();
}

void FaultDialog::fill()
{
    setOuterHeightTwips(1920);
    twips::centre(this, platform().screenSizeTwips());
    platform().setTopmost(this, true);
    closeButton->setFocus();
}

void FaultDialog::onClose()
{
    detonation::beepAndRequestExit(m_state.settings.action);
    platform().endProcess();
}

void FaultDialog::onRescue()
{
    reject(); // unloads; the detonation that opened it returns
}

void FaultDialog::onDetails()
{
    setOuterHeightTwips(4185);
    detailsButton->setEnabled(false);
    // the details of one of the ten faults, drawn afresh each time
    const int k = static_cast<int>(platform().randomUnit() * 10 + 1);
    detailsText->setPlainText(
        fault_details::text(fault_details::loginName(), std::clamp(k, 1, 10)));
}

int FaultDialog::outerHeightTwips() const
{
    return twips::fromPixels(height()) + twips::designFrameTop + twips::designFrameEdge;
}

void FaultDialog::setOuterHeightTwips(int tw)
{
    setFixedSize(kClientWidth / twips::perPixel,
                 (tw - twips::designFrameTop - twips::designFrameEdge) / twips::perPixel);
}
