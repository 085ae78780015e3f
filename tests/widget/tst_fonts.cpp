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
    void applicationFontWritesJapanese()
    {
        const std::pair<QStringList, QStringList> rows[] = {
            {{"Sans Serif"}, {}}, // a generic name
            {{"No Such Face", "monospace", "DejaVu Sans"}, {"DejaVu Sans"}}};
        for (const auto& [desktop, kept] : rows) {
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
            QVERIFY(
                QFontDatabase::writingSystems(families.last()).contains(QFontDatabase::Japanese));
        }
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
