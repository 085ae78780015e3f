// The floor the benchmark measures Quorvane against: a bare Qt window with one label that a
// 100 ms timer updates, and a tray icon; nothing else. "floor hide" hides the window after a
// second, as Quorvane hidden to the tray.
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
    QLabel label;
    label.setWindowTitle(QStringLiteral("Floor"));
    label.resize(136, 90);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, [&label] {
        label.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    });
    timer.start(100);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::black);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();
    label.show();
    if (argc > 1 && QByteArray(argv[1]) == "hide")
        QTimer::singleShot(1000, &label, &QWidget::hide);
    return QApplication::exec();
}
