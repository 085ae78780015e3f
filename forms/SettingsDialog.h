// The settings dialog "アラーム設定": the alarm time, the uptime form, the action and three
// switches. Modeless; OK saves and applies, Cancel and the close box only close it.
#pragma once

#include "rules/Settings.h"

#include <QWidget>

struct FormContext;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class SettingsDialog : public QWidget
{
    Q_OBJECT
public:
    // Loaded through loadForm, into its slot of the state.
    explicit SettingsDialog(FormContext& context);
    // The dialog, loaded hidden (filled from the settings record) if it was not loaded.
    static SettingsDialog& load(FormContext& context);
    // Shows the dialog without waiting; a loaded one is only made visible and raised, keeping
    // what was typed into it.
    static void open(FormContext& context);
    // Whether "keep on top" is ticked in the dialog, as it stands if it is loaded; asking loads
    // it, hidden, if it is not.
    static bool keepOnTopTicked(FormContext& context);

    ~SettingsDialog() override;

    // Fills the dialog from the settings record (loadForm does, once); the click handlers run
    // wherever a control changes, as if the user had clicked it.
    void fill();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onSweepClicked();
    void onUptimeFormClicked(int index);
    void onActionClicked(int index);
    void onOk();
    void onCancel();

private:
    void buildControls();

    FormContext& m_context;
    QLineEdit* m_timeBoxes[2]; // [0] hour, [1] minute
    QRadioButton* m_uptimeButtons[2];
    QRadioButton* m_actionButtons[settings::actionCount];
    QCheckBox* m_sweepCheck;
    QCheckBox* m_gentleCheck;
    QCheckBox* m_topmostCheck;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};
