// The version-information box: name, version, the maker's brand and author, and two links.
#pragma once

#include <QDialog>
#include <QLabel>

class QPushButton;

// A label that reports a click, for the two links.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// "ﾊﾞｰｼﾞｮﾝ " with the major and minor numbers and the revision: 0.2.0.3 reads "ﾊﾞｰｼﾞｮﾝ 0.23".
QString VersionText(int major, int minor, int revision);

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // The open box, or null.
    static frmAbout* instance();
    // Loads and shows the box without waiting; an open one is brought to the front instead.
    static void ShowModeless();
    // Loads the box and waits until it is closed; an open one is brought to the front instead.
    static void ShowModal();
    // Closes and destroys the box.
    static void Unload();
    static void UnloadIfVisible();

    ~frmAbout() override;

    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Label2;
    LinkLabel* HPaddress;
    QLabel* Label4;
    LinkLabel* Mailaddress;
    QWidget* Line1[2];
    QPushButton* cmdOK;

    void Form_Load();
    void cmdOK_Click();
    void HPaddress_Click();
    void Mailaddress_Click();

private:
    frmAbout();
    static frmAbout* bringOpenOneForward();
    // Loads and shows a box, unless one is open (which is brought forward instead).
    static void open(bool modal);
};
