#include "forms/FaultDialog.h"

#include "forms/FormBuilder.h"
#include "forms/FormContext.h"
#include "forms/FormLifetime.h"
#include "forms/Twips.h"
#include "resources/Icons.h"
#include "rules/FaultDetails.h"
#include "seams/Desktop.h"
#include "seams/System.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

constexpr int kClientWidth = 6870;
// The outer heights: the details pane out of sight, and shown.
constexpr int kCollapsedHeight = 1920;
constexpr int kExpandedHeight = 4185;

const ControlRow kControls[] = {
    {"iconLabel", ControlKind::Picture, 360, 240, 480, 480},
    {"messageLine1", ControlKind::Label, 1320, 240, 3735, 375,
     "あなたの人生は不正な処理を行ったので強制終了します。", nullptr, 9, false, true},
    {"messageLine2", ControlKind::Label, 1320, 840, 3615, 375,
     "終了しない場合は、胸に手を当てて悔い改めてください。", nullptr, 9, false, true},
    {"closeButton", ControlKind::Button, 5520, 120, 1095, 375, "閉じる(&C)"},
    {"rescueButton", ControlKind::Button, 5520, 600, 1095, 375, "救　済"},
    {"detailsButton", ControlKind::Button, 5520, 1080, 1095, 375, "詳細(&D)>>"},
    {"detailsText", ControlKind::TextArea, 240, 1680, 6375, 1935, "", nullptr, 9, false, true},
};

} // namespace

FaultDialog::FaultDialog(FormContext& context)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      m_context(context)
{
    setObjectName(QStringLiteral("faultDialog"));
    setWindowTitle(QStringLiteral("Explorer"));

    const FormControls controls(this, kControls);
    m_iconLabel = controls.get<QLabel>("iconLabel");
    m_iconLabel->setPixmap(icons::error().pixmap(m_iconLabel->size()));
    m_messageLine1 = controls.get<QLabel>("messageLine1");
    m_messageLine2 = controls.get<QLabel>("messageLine2");
    for (QLabel* line : {m_messageLine1, m_messageLine2}) {
        line->setWordWrap(true);
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    m_closeButton = controls.get<QPushButton>("closeButton");
    m_rescueButton = controls.get<QPushButton>("rescueButton");
    m_detailsButton = controls.get<QPushButton>("detailsButton");
    // Enter presses the button that has the focus; Esc closes the dialog as "救　済" does.
    for (QPushButton* b : {m_closeButton, m_rescueButton, m_detailsButton})
        b->setAutoDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, &FaultDialog::closeChosen);
    connect(m_rescueButton, &QPushButton::clicked, this, &FaultDialog::onRescue);
    connect(m_detailsButton, &QPushButton::clicked, this, &FaultDialog::onDetails);

    m_detailsText = controls.get<QPlainTextEdit>("detailsText");
    m_detailsText->setAccessibleName(QStringLiteral("詳細"));
    m_detailsText->setReadOnly(true);
    m_detailsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = m_detailsText->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window)); // the menu-face system colour
    m_detailsText->setPalette(pal);

    setTabOrder(m_closeButton, m_rescueButton);
    setTabOrder(m_rescueButton, m_detailsButton);
    setTabOrder(m_detailsButton, m_detailsText);
    // However it closes ("救　済", Esc, the close box, a detonation's unload), it is unloaded.
    connect(this, &QDialog::finished, this, [this] {
        if (m_context.faultDialog == this)
            unloadForm(m_context.faultDialog);
    });
}

FaultDialog::~FaultDialog() = default;

FaultDialog* FaultDialog::open(FormContext& context)
{
    if (context.faultDialog != nullptr)
        return nullptr;
    FaultDialog& dialog = loadForm(context.faultDialog, context);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    return &dialog;
}

void FaultDialog::fill()
{
    setOuterHeightTwips(kCollapsedHeight);
    twips::centre(this, m_context.desktop);
    m_context.desktop.setTopmost(this, true);
    m_closeButton->setFocus();
}

void FaultDialog::onRescue()
{
    reject(); // unloads it
}

void FaultDialog::onDetails()
{
    setOuterHeightTwips(kExpandedHeight);
    m_detailsButton->setEnabled(false);
    // the details of one of the ten faults, drawn afresh each time
    m_detailsText->setPlainText(
        fault_details::text(fault_details::shownLoginName(m_context.system.loginName()),
                            fault_details::faultFor(m_context.system.randomUnit())));
}

int FaultDialog::outerHeightTwips() const
{
    return twips::fromPixels(height()) + twips::designFrameTop + twips::designFrameEdge;
}

void FaultDialog::setOuterHeightTwips(int tw)
{
    setClientSize(this, kClientWidth, tw - twips::designFrameTop - twips::designFrameEdge);
}
