// The version-information box: name, version, the maker's brand and author, and two links.
#pragma once

#include <QDialog>

struct FormContext;
class QLabel;
class QPushButton;

class AboutBox : public QDialog
{
    Q_OBJECT
public:
    // Loaded through loadForm, into its slot of the state.
    explicit AboutBox(FormContext& context);
    // Loads and shows the box without waiting; an open one is brought to the front instead.
    static void openModeless(FormContext& context);
    // Loads the box and waits until it is closed; an open one is brought to the front instead.
    static void openModal(FormContext& context);

    ~AboutBox() override;

    // Fills and places the box (loadForm does, once).
    void fill();

protected:
    // A click on a link (the left button released over it) opens it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onOk();
    void onHomePage();
    void onMail();

private:
    static AboutBox* bringOpenOneForward(FormContext& context);
    // Loads and shows a box, unless one is open (which is brought forward instead).
    static void open(FormContext& context, bool modal);

    FormContext& m_context;
    QLabel* m_iconLabel;
    QLabel* m_titleLabel;
    QLabel* m_versionLabel;
    QLabel* m_brandLabel;
    QLabel* m_homePageLink;
    QLabel* m_authorLabel;
    QLabel* m_mailLink;
    QWidget* m_separator[2];
    QPushButton* m_okButton;
};
