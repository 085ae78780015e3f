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
QString versionText(int major, int minor, int revision);

class AboutBox : public QDialog
{
    Q_OBJECT
public:
    // The open box, or null.
    static AboutBox* instance();
    // Loads and shows the box without waiting; an open one is brought to the front instead.
    static void openModeless();
    // Loads the box and waits until it is closed; an open one is brought to the front instead.
    static void openModal();
    // Closes and destroys the box.
    static void unload();
    static void unloadIfVisible();

    ~AboutBox() override;

    QLabel* iconLabel;
    QLabel* titleLabel;
    QLabel* versionLabel;
    QLabel* brandLabel;
    LinkLabel* homePageLink;
    QLabel* authorLabel;
    LinkLabel* mailLink;
    QWidget* separator[2];
    QPushButton* okButton;

    void fill();
    void onOk();
    void onHomePage();
    void onMail();

private:
    AboutBox();
    static AboutBox* bringOpenOneForward();
    // Loads and shows a box, unless one is open (which is brought forward instead).
    static void open(bool modal);
};
