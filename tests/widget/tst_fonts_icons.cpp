// The program's fonts resolve to installed families without fallback searches, its icons are
// painted on demand at the size asked for, and its style is the chosen one but for one icon.
#include "platform/Fonts.h"
#include "resources/Icons.h"
#include "resources/Style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenuBar>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>

class TestFontsIcons : public QObject
{
    Q_OBJECT
private slots:
    void facesResolveToInstalledFamilies_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QStringList>("standIns");
        QTest::newRow("proportional gothic")
            << QStringLiteral("ＭＳ Ｐゴシック")
            << QStringList{QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                           QStringLiteral("Noto Sans CJK JP")};
        QTest::newRow("fixed gothic")
            << QStringLiteral("ＭＳ ゴシック")
            << QStringList{QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                           QStringLiteral("Noto Sans Mono CJK JP")};
        QTest::newRow("installed face is itself") << QStringLiteral("DejaVu Sans") << QStringList{};
        QTest::newRow("unknown face is left to Qt")
            << QStringLiteral("No Such Face") << QStringList{};
    }
    void facesResolveToInstalledFamilies()
    {
        QFETCH(QString, face);
        QFETCH(QStringList, standIns);
        // what the machine has decides the answer: the face itself, else the first stand-in
        QString expected = face;
        if (!QFontDatabase::hasFamily(face)) {
            for (const QString& s : standIns) {
                if (QFontDatabase::hasFamily(s)) {
                    expected = s;
                    break;
                }
            }
        }
        QCOMPARE(fonts::family(face), expected);
        QCOMPARE(fonts::family(face), expected); // asked again: the same answer

        const QFont font = fonts::face(face, 10.5);
        QCOMPARE(font.family(), expected);
        QCOMPARE(font.pointSizeF(), 10.5);
    }

    void japaneseFacesAreInstalledHere()
    {
        // The test machine installs the IPA fonts the package recommends; the clock is drawn
        // with them, not with whatever fontconfig picks for an unknown name.
        QVERIFY(QFontDatabase::hasFamily(QStringLiteral("IPAPGothic")));
        QCOMPARE(QFontInfo(fonts::face(QStringLiteral("ＭＳ Ｐゴシック"), 18)).family(),
                 QStringLiteral("IPAPGothic"));
    }

    void applicationFontGetsTheJapaneseFamily_data()
    {
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<QStringList>("expected");
        const QString japanese = fonts::family(QStringLiteral("ＭＳ Ｐゴシック"));
        QTest::newRow("generic name dropped")
            << QStringList{QStringLiteral("Sans Serif")} << QStringList{japanese};
        QTest::newRow("uninstalled and generic names dropped")
            << QStringList{QStringLiteral("No Such Face"), QStringLiteral("monospace"),
                           QStringLiteral("DejaVu Sans")}
            << QStringList{QStringLiteral("DejaVu Sans"), japanese};
        QTest::newRow("installed desktop font stays first")
            << QStringList{QStringLiteral("DejaVu Sans")}
            << QStringList{QStringLiteral("DejaVu Sans"), japanese};
        QTest::newRow("already Japanese: unchanged")
            << QStringList{japanese} << QStringList{japanese};
    }
    void applicationFontGetsTheJapaneseFamily()
    {
        QFETCH(QStringList, desktop);
        QFETCH(QStringList, expected);
        const QFont saved = QGuiApplication::font();
        QFont font = saved;
        font.setFamilies(desktop);
        QGuiApplication::setFont(font);

        fonts::useJapaneseFallback();
        QCOMPARE(QGuiApplication::font().families(), expected);
        fonts::useJapaneseFallback(); // twice: nothing added again
        QCOMPARE(QGuiApplication::font().families(), expected);
        QCOMPARE(QGuiApplication::font().pointSizeF(), saved.pointSizeF());
        QGuiApplication::setFont(saved);
    }

    void iconsArePaintedAtTheSizeAskedFor_data()
    {
        QTest::addColumn<int>("side");
        for (const int side : {16, 22, 64, 100, 256})
            QTest::addRow("%d px", side) << side;
    }
    void iconsArePaintedAtTheSizeAskedFor()
    {
        QFETCH(int, side);
        const QIcon icon = icons::bomb();
        const QPixmap pm = icon.pixmap(QSize(side, side));
        QCOMPARE(pm.size(), QSize(side, side));
        QCOMPARE(pm.toImage(), icons::paintBomb(side).toImage());
        // painted once, then kept
        QCOMPARE(icon.pixmap(QSize(side, side)).cacheKey(), pm.cacheKey());
    }

    void windowManagerIsOfferedSmallSizesOnly()
    {
        // Offered sizes are all painted and sent to the X server before the window appears.
        QList<QSize> expected;
        for (const int s : {16, 22, 24, 32, 48, 64})
            expected << QSize(s, s);
        QCOMPARE(icons::bomb().availableSizes(), expected);
        QCOMPARE(icons::error().availableSizes(), expected);
        QCOMPARE(icons::error().pixmap(QSize(32, 32)).toImage(), icons::paintError(32).toImage());
    }

    void styleIsTheChosenOneWithTheProgramsOverflowIcon_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("fusion") << QStringLiteral("fusion");
        QTest::newRow("windows") << QStringLiteral("windows");
    }
    void styleIsTheChosenOneWithTheProgramsOverflowIcon()
    {
        QFETCH(QString, chosen);
        QApplication::setStyle(QStyleFactory::create(chosen));
        auto* style = new ProgramStyle;
        QApplication::setStyle(style);
        QCOMPARE(style->baseStyle()->name(), chosen);

        // A menu bar's overflow button carries the painted chevrons.
        QMenuBar bar;
        const auto* overflow = bar.findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        QVERIFY(overflow != nullptr);
        QCOMPARE(overflow->icon().pixmap(QSize(16, 16)).toImage(),
                 icons::paintOverflow(16).toImage());
        // Every other icon is the base style's.
        const QStyle* program = style;
        QCOMPARE(
            program->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage(),
            style->baseStyle()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage());
    }
};

QTEST_MAIN(TestFontsIcons)
#include "tst_fonts_icons.moc"
