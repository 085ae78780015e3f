// The fake fault dialog of the gentle mode: "閉じる(&C)" ends the session, "救　済" only closes.
#pragma once

#include <QDialog>

struct AppState;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class FaultDialog : public QDialog
{
    Q_OBJECT
public:
    // Loaded through loadForm, into its slot of the state.
    explicit FaultDialog(AppState& state);
    // Loads the dialog, shows it modally and unloads it when it closes.
    static void showModal(AppState& state);

    // Places and collapses the dialog (loadForm does, once).
    void fill();

    // Outer height as the layout states it: the client area plus the design frame's 375 twips.
    int outerHeightTwips() const;
    void setOuterHeightTwips(int tw);

    ~FaultDialog() override;

private slots:
    void onClose();
    void onRescue();
    void onDetails();

private:
    AppState& m_state;
    QLabel* iconLabel;
    QLabel* messageLine1;
    QLabel* messageLine2;
    QPushButton* closeButton;
    QPushButton* rescueButton;
    QPushButton* detailsButton;
    QPlainTextEdit* detailsText;
};
