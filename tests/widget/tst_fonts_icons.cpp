// The application font draws Japanese without a fallback search, icons are painted at the size
// asked for, and the style is the chosen one but for the menu bar's overflow icon.
#include "platform/Fonts.h"
#include "resources/Icons.h"
#include "resources/Style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMenuBar>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>

class TestFontsIcons : public QObject
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

    void iconsArePaintedAtTheSizeAskedFor()
    {
        for (const int side : {16, 64, 256}) {
            const QIcon icon = icons::bomb();
            const QPixmap pm = icon.pixmap(QSize(side, side));
            QCOMPARE(pm.size(), QSize(side, side));
            QVERIFY(pm.toImage().pixelColor(side / 2, side / 2 + side / 8).alpha() > 0); // drawn
            QCOMPARE(icon.pixmap(QSize(side, side)).cacheKey(), pm.cacheKey()); // kept
        }
    }

    void styleIsTheChosenOneWithTheProgramsOverflowIcon()
    {
        for (const QString chosen : {"fusion", "windows"}) {
            QApplication::setStyle(QStyleFactory::create(chosen));
            auto* style = new ProgramStyle;
            QApplication::setStyle(style);
            QCOMPARE(style->baseStyle()->name(), chosen);
            QMenuBar bar;
            const auto* overflow =
                bar.findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
            QCOMPARE(overflow->icon().pixmap(QSize(16, 16)).toImage(),
                     icons::paintOverflow(16).toImage());
            const QStyle* program = style;
            QCOMPARE(program->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage(),
                     style->baseStyle()
                         ->standardIcon(QStyle::SP_MessageBoxWarning)
                         .pixmap(32)
                         .toImage());
        }
    }
};

QTEST_MAIN(TestFontsIcons)
#include "tst_fonts_icons.moc"
