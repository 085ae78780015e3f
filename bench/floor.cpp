// The floors the benchmark measures Quorvane against: a bare Qt window with one clock label and a
// tray icon, nothing else. "floor" rewrites the label from a 100 ms timer; "floor second" once a
// second, just past the wall-clock second, the least a seconds clock can do. "hide" hides the
// window after a second, as Quorvane hidden to the tray (the label is still rewritten).
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QApplication::arguments();
    const bool everySecond = args.contains(QStringLiteral("second"));
    QLabel label;
    label.setWindowTitle(everySecond ? QStringLiteral("Floor1s") : QStringLiteral("Floor"));
    label.resize(136, 90);
    QTimer timer;
    timer.setTimerType(everySecond ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer.setSingleShot(everySecond);
    QObject::connect(&timer, &QTimer::timeout, &label, [&] {
        const QTime now = QTime::currentTime();
        label.setText(now.toString(QStringLiteral("HH:mm:ss")));
        if (everySecond)
            timer.start(1000 - now.msec() + 5);
    });
    timer.start(100);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::black);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();
    label.show();
    if (args.contains(QStringLiteral("hide")))
        QTimer::singleShot(1000, &label, &QWidget::hide);
    return QApplication::exec();
}
