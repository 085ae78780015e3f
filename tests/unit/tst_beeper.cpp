// The sound library is opened when the first bell sounds, not at start-up, and then offers every
// function the bell uses (a misspelt name would silence the program for good).
#include "platform/desktop/Beeper.h"

#include <QFile>
#include <QTest>

namespace
{
bool mapped(const char* library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}
} // namespace

class TestBeeper : public QObject
{
    Q_OBJECT
private slots:
    void soundLibraryOpensOnFirstUse()
    {
        {
            Beeper beeper; // made and destroyed without a bell
        }
        QVERIFY(!mapped("libcanberra.so"));
        QVERIFY(Beeper::soundLibraryLoads());
        QVERIFY(mapped("libcanberra.so"));
    }
};

QTEST_GUILESS_MAIN(TestBeeper)
#include "tst_beeper.moc"
