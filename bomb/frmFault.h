// The fake fault dialog of the gentle mode: "閉じる(&C)" ends the session, "救　済" only closes.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmFault : public QDialog
{
    Q_OBJECT
public:
    // Loads the dialog, shows it modally and unloads it when it closes.
    static void showModal();
    // The open dialog, or null.
    static frmFault* instance();

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPlainTextEdit* Text1;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // Outer height as the layout states it: the client area plus the design frame's 375 twips.
    int outerHeightTwips() const;
    void setOuterHeightTwips(int tw);

    ~frmFault() override;

private:
    frmFault();
};
