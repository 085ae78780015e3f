// The application font draws Japanese without a fallback search.
#include "platform/desktop/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>

class TestFonts : public QObject
{
    Q_OBJECT
private slots:
    // The desktop's installed, named families stay first; generic and uninstalled names go; one
    // installed family that writes Japanese follows.
    void applicationFontWritesJapanese_data()
    {
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("generic name") << QStringList{"Sans Serif"} << QStringList{};
        QTest::newRow("uninstalled and generic names")
            << QStringList{"No Such Face", "monospace", "DejaVu Sans"}
            << QStringList{"DejaVu Sans"};
    }
    void applicationFontWritesJapanese()
    {
        QFETCH(QStringList, desktop);
        QFETCH(QStringList, kept);
        const QFont saved = QGuiApplication::font();
        QFont font = saved;
        font.setFamilies(desktop);
        QGuiApplication::setFont(font);
        fonts::useJapaneseFallback();
        fonts::useJapaneseFallback(); // twice: nothing added again
        const QStringList families = QGuiApplication::font().families();
        QGuiApplication::setFont(saved);
        QCOMPARE(families.mid(0, kept.size()), kept);
        QCOMPARE(families.size(), kept.size() + 1);
        QVERIFY(QFontDatabase::writingSystems(families.last()).contains(QFontDatabase::Japanese));
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
