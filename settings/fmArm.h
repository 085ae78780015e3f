// The settings dialog "アラーム設定": the alarm time, the uptime form, the action and three
// switches. Modeless; OK saves and applies, Cancel and the close box only close it.
#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class fmArm : public QWidget
{
    Q_OBJECT
public:
    // The loaded dialog, or null.
    static fmArm* instance();
    // The dialog, loaded hidden (filled from the settings record) if it was not loaded.
    static fmArm& Load();
    // Shows the dialog without waiting; a loaded one is only made visible and raised, keeping
    // what was typed into it.
    static void Show();
    // Closes and destroys the dialog; the next load fills it afresh.
    static void Unload();
    // Unloads the dialog if it is visible (a loaded, hidden one stays).
    static void UnloadIfVisible();

    ~fmArm() override;

    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* ArmTxt[2]; // [0] hour, [1] minute
    QLabel* Label3[2];
    QGroupBox* Frame2;
    QRadioButton* Option1[2];
    QGroupBox* Frame3;
    QRadioButton* Option2[4];
    QGroupBox* Frame4;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QPushButton* Command1;
    QPushButton* Command2;

    void Form_Load();
    void Check1_Click();
    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    fmArm();
    void buildControls();
};

namespace mdBomb
{
// Fills the loaded dialog from the settings record; the click handlers run wherever a control
// changes, as if the user had clicked it.
void LoadSettingsIntoDialog();
} // namespace mdBomb
