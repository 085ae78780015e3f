// The fake fault dialog of the gentle mode: "閉じる(&C)" asks for the end of the session, "救　済"
// only closes. Modal to the whole program, without a loop of its own: however it closes, it
// says so through QDialog::finished.
#pragma once

#include <QDialog>

struct FormContext;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class FaultDialog : public QDialog
{
    Q_OBJECT
public:
    // Loaded through loadForm, into its slot of the context.
    explicit FaultDialog(FormContext& context);
    // Loads the dialog and shows it modally, without waiting; it is unloaded when it closes.
    // Null when one is open already: never a second one.
    static FaultDialog* open(FormContext& context);

    // Places and collapses the dialog (loadForm does, once).
    void fill();

    // Outer height as the layout states it: the client area plus the design frame's 375 twips.
    int outerHeightTwips() const;
    void setOuterHeightTwips(int tw);

    ~FaultDialog() override;

signals:
    // "閉じる(&C)": the session is to end.
    void closeChosen();

private slots:
    void onRescue();
    void onDetails();

private:
    FormContext& m_context;
    QLabel* m_iconLabel;
    QLabel* m_messageLine1;
    QLabel* m_messageLine2;
    QPushButton* m_closeButton;
    QPushButton* m_rescueButton;
    QPushButton* m_detailsButton;
    QPlainTextEdit* m_detailsText;
};
