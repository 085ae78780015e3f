#include "support/Scenario.h"

#include "forms/AboutBox.h"
#include "forms/FaultDialog.h"
#include "forms/MainWindow.h"
#include "forms/SettingsDialog.h"
#include "forms/SharedControls.h"
#include "forms/Shell.h"
#include "rules/IniDocument.h"
#include "rules/Settings.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cmath>

QString unescape(QString text)
{
    return text.replace(QLatin1String("\\s"), QLatin1String(" "))
        .replace(QLatin1String("\\n"), QLatin1String("\n"))
        .replace(QLatin1String("\\r"), QLatin1String("\r"))
        .replace(QLatin1String("\\u3000"), QString(QChar(0x3000)))
        .replace(QLatin1String("\\u00a0"), QString(QChar(0xa0)));
}

QString compactLog(const QStringList& log)
{
    QStringList out;
    for (qsizetype i = 0; i < log.size();) {
        qsizetype n = 1;
        while (i + n < log.size() && log[i + n] == log[i])
            ++n;
        out << (n == 1 ? log[i] : log[i] + QLatin1Char('*') + QString::number(n));
        i += n;
    }
    return out.join(QLatin1Char(' '));
}

namespace
{

class Runner
{
public:
    Runner(FakeEnvironment& env, MainWindow& main)
        : m_fake(env.fake), m_state(env.state), m_main(main)
    {
    }

    QStringList run(const QString& steps)
    {
        m_steps = steps.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(0, [this] { next(); });
        loop.exec();
        return m_errors;
    }

private:
    void next()
    {
        // A step that lets pending events through (processEvents) must finish before the next
        // one; only a dialog it opened, and waits in, lets the next step run inside it.
        if (!m_openAtStep.isEmpty() && QApplication::activeModalWidget() == m_openAtStep.last()) {
            QTimer::singleShot(0, [this] { next(); });
            return;
        }
        if (m_steps.isEmpty()) {
            // a dialog the steps left open would keep its loop running
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                m_errors << QStringLiteral("left open: ") + open->objectName();
                open->reject();
                QTimer::singleShot(0, [this] { next(); });
            } else {
                m_loop->quit();
            }
            return;
        }
        const QString step = m_steps.takeFirst();
        QTimer::singleShot(0, [this] { next(); }); // runs also while this step waits in a dialog
        m_step = step;
        m_openAtStep << QApplication::activeModalWidget();
        perform(step.section(QLatin1Char('='), 0, 0), unescape(step.section(QLatin1Char('='), 1)));
        m_openAtStep.removeLast();
    }

    // "H:mm:ss" or "H:mm:ss.zzz"
    void setClock(const QString& time)
    {
        m_fake.timeText = time.section(QLatin1Char('.'), 0, 0);
        m_fake.subsecondMs = time.section(QLatin1Char('.'), 1).toInt();
    }

    void fail(const QString& what) { m_errors << m_step + QStringLiteral(": ") + what; }

    static constexpr const char* kWindows[] = {"Main", "fmArm", "frmAbout", "frmFault"};
    inline static const QHash<QString, bool FakePlatform::*> kFlags{
        {QStringLiteral("second"), &FakePlatform::otherInstance},
        {QStringLiteral("notray"), &FakePlatform::trayAvailable},
        {QStringLiteral("readonly"), &FakePlatform::writesFail},
        {QStringLiteral("unreadable"), &FakePlatform::unreadable}};

    QWidget* window(const QString& name) const
    {
        if (name == QLatin1String("Main"))
            return &m_main;
        if (name == QLatin1String("fmArm"))
            return m_state.settingsDialog.data();
        if (name == QLatin1String("frmAbout"))
            return m_state.aboutBox.data();
        if (name == QLatin1String("frmFault"))
            return m_state.faultDialog.data();
        return nullptr;
    }

    QObject* object(const QString& path)
    {
        const QStringList names = path.split(QLatin1Char('.'));
        QObject* o = window(names[0]);
        for (qsizetype i = 1; o != nullptr && i < names.size(); ++i)
            o = o->findChild<QObject*>(names[i]);
        if (o == nullptr)
            fail(path + QStringLiteral(" is not there"));
        return o;
    }

    QWidget* widget(const QString& path) { return qobject_cast<QWidget*>(object(path)); }

    void perform(const QString& verb, const QString& value)
    {
        const QString path = value.section(QLatin1Char(':'), 0, 0);
        const QString arg = value.section(QLatin1Char(':'), 1);
        if (verb == QLatin1String("load") || verb == QLatin1String("start")) {
            if (m_main.startUp())
                m_main.show();
            if (verb == QLatin1String("start"))
                m_fake.log.clear();
        } else if (bool FakePlatform::*flag = kFlags.value(verb)) {
            m_fake.*flag = verb != QLatin1String("notray");
        } else if (verb == QLatin1String("at")) {
            setClock(value);
        } else if (verb == QLatin1String("up")) {
            m_fake.ticks = static_cast<std::uint32_t>(value.toLongLong());
        } else if (verb == QLatin1String("random")) {
            m_fake.random = value.toDouble();
        } else if (verb == QLatin1String("saved")) {
            m_state.position.top = value.section(QLatin1Char(','), 0, 0).toInt();
            m_state.position.left = value.section(QLatin1Char(','), 1).toInt();
        } else if (verb.startsWith(QLatin1String("tick"))) {
            if (verb.contains(QLatin1Char('@')))
                setClock(verb.section(QLatin1Char('@'), 1));
            fire(&m_main, "Timer1");
        } else if (verb == QLatin1String("blink")) {
            fire(&m_main, "Timer2");
        } else if (verb.startsWith(QLatin1String("sweep"))) {
            for (int i = verb.contains(QLatin1Char('*')) ? verb.section(QLatin1Char('*'), 1).toInt()
                                                         : 1;
                 i > 0; --i)
                fire(&m_main, "Timer3");
        } else if (verb == QLatin1String("menu")) {
            if (auto* item = qobject_cast<QAction*>(object(QStringLiteral("Main.") + value)))
                item->trigger();
        } else if (verb == QLatin1String("tray")) {
            const QString choice = value.section(QLatin1Char('>'), 1);
            m_fake.onPopUp = [this, choice](QMenu*) {
                if (!choice.isEmpty())
                    perform(QStringLiteral("menu"), choice);
            };
            const QString event = value.section(QLatin1Char('>'), 0, 0);
            if (m_fake.trayEvents)
                m_fake.trayEvents(event == QLatin1String("menu") ? TrayEvent::ContextMenu
                                                                 : TrayEvent::DoubleClick);
            else
                fail(QStringLiteral("no tray icon"));
            m_fake.onPopUp = nullptr;
        } else if (verb == QLatin1String("click")) {
            if (auto* button = qobject_cast<QAbstractButton*>(object(value)))
                button->click();
            else if (QWidget* w = widget(value))
                QTest::mouseClick(w, Qt::LeftButton);
        } else if (verb == QLatin1String("dblclick")) {
            if (QWidget* w = widget(value))
                QTest::mouseDClick(w, Qt::LeftButton);
        } else if (verb == QLatin1String("key")) {
            if (QWidget* w = widget(path))
                QTest::keyClick(w, QKeySequence::fromString(arg)[0].key());
        } else if (verb == QLatin1String("focus")) {
            if (QWidget* w = widget(value))
                w->setFocus();
        } else if (verb == QLatin1String("type") || verb == QLatin1String("append") ||
                   verb == QLatin1String("set")) {
            auto* box = qobject_cast<QLineEdit*>(object(path));
            if (box == nullptr)
                return;
            if (verb == QLatin1String("set")) {
                box->setText(arg);
                return;
            }
            box->end(false);
            if (verb == QLatin1String("type")) {
                box->selectAll();
                QTest::keyClick(box, Qt::Key_Backspace);
            }
            QTest::keyClicks(box, arg);
        } else if (verb == QLatin1String("close") || verb == QLatin1String("hide") ||
                   verb == QLatin1String("show")) {
            if (QWidget* w = widget(value))
                QMetaObject::invokeMethod(w, verb.toLatin1().constData());
        } else if (verb == QLatin1String("move")) {
            if (QWidget* w = widget(path))
                w->move(arg.section(QLatin1Char(','), 0, 0).toInt(),
                        arg.section(QLatin1Char(','), 1).toInt());
        } else if (verb == QLatin1String("minimise") || verb == QLatin1String("restore")) {
            m_main.setWindowState(verb == QLatin1String("restore") ? Qt::WindowNoState
                                                                   : Qt::WindowMinimized);
        } else if (verb == QLatin1String("end-session")) {
            m_fake.sessionEnd();
        } else if (verb == QLatin1String("reload")) {
            settings::load(m_state.file, m_state.settings);
        } else if (verb == QLatin1String("delete")) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else if (verb == QLatin1String("check")) {
            const QString actual = probe(path);
            if (actual != arg)
                fail(QStringLiteral("%1 is \"%2\", not \"%3\"").arg(path, actual, arg));
        } else {
            fail(QStringLiteral("no such step"));
        }
    }

    static QString render(const QVariant& v)
    {
        switch (v.typeId()) {
        case QMetaType::Bool:
            return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case QMetaType::QPoint:
            return QStringLiteral("%1,%2").arg(v.toPoint().x()).arg(v.toPoint().y());
        case QMetaType::QCursor:
            return QString::number(v.value<QCursor>().shape());
        default:
            return v.toString();
        }
    }

    // The settings dialog as one row: "hour/minute/uptime button/action button/check boxes".
    QString dialogState()
    {
        const SettingsDialog* d = m_state.settingsDialog.data();
        if (d == nullptr)
            return QStringLiteral("-");
        auto checked = [d](const QString& name) {
            return control<QAbstractButton>(d, qPrintable(name))->isChecked();
        };
        QStringList row{control<QLineEdit>(d, "ArmTxt0")->text(),
                        control<QLineEdit>(d, "ArmTxt1")->text()};
        for (const auto& [group, count] : {std::pair{"Option1", 2}, {"Option2", 4}}) {
            row << QStringLiteral("-");
            for (int i = 0; i < count; ++i)
                if (checked(QStringLiteral("%1_%2").arg(QLatin1String(group)).arg(i)))
                    row.last() = QString::number(i);
        }
        row << QString();
        for (const char* c : {"Check1", "Check2", "Check3"})
            row.last() += checked(QLatin1String(c)) ? QLatin1Char('x') : QLatin1Char('.');
        return row.join(QLatin1Char('/'));
    }

    QString probe(const QString& name)
    {
        const settings::SettingsRecord& s = m_state.settings;
        if (name == QLatin1String("log"))
            return compactLog(m_fake.log);
        if (name == QLatin1String("shown")) {
            QStringList names;
            for (const char* w : kWindows) {
                if (QWidget* top = window(QLatin1String(w)); top != nullptr && top->isVisible())
                    names << QLatin1String(w);
            }
            return names.join(QLatin1Char(','));
        }
        if (name == QLatin1String("modal")) {
            const QWidget* modal = QApplication::activeModalWidget();
            return modal != nullptr ? modal->objectName() : QString();
        }
        if (name == QLatin1String("record"))
            return QStringLiteral("%1:%2 %3 %4 %5 %6 %7 %8")
                .arg(s.alarmHour, s.alarmMinute)
                .arg(s.uptimeForm)
                .arg(static_cast<int>(s.action))
                .arg(s.sweepRecentFiles)
                .arg(s.gentleMode)
                .arg(s.keepOnTop)
                .arg(s.openedFromTray);
        if (name == QLatin1String("alarm"))
            return s.alarmHour + QLatin1Char(':') + s.alarmMinute;
        if (name.startsWith(QLatin1String("ini.")))
            return QString::fromUtf8(
                ini::value(m_fake.file, "Quorvane", name.mid(4).toLatin1()).value_or("<missing>"));
        if (name == QLatin1String("saved"))
            return QStringLiteral("%1,%2").arg(m_state.position.top).arg(m_state.position.left);
        if (name == QLatin1String("timers")) {
            QString t;
            for (const char* timer : {"Timer1", "Timer2", "Timer3"})
                t += control<QTimer>(&m_main, timer)->isActive() ? QLatin1Char(timer[5])
                                                                 : QLatin1Char('.');
            return t;
        }
        if (name == QLatin1String("height"))
            return QString::number(m_main.outerHeightTwips());
        if (name == QLatin1String("colour")) { // the clock's background as painted
            const QColor c = control<QLabel>(&m_main, "Label1")->palette().color(QPalette::Window);
            return c == QColor(255, 0, 0)                          ? QStringLiteral("red")
                   : c == QColor(0, 0, 255)                        ? QStringLiteral("blue")
                   : c == m_main.palette().color(QPalette::Button) ? QStringLiteral("face")
                                                                   : c.name();
        }
        if (name == QLatin1String("arm"))
            return dialogState();
        if (name == QLatin1String("reads"))
            return QString::number(m_fake.reads);
        if (name == QLatin1String("tip"))
            return m_fake.trayTip;
        if (name == QLatin1String("caption"))
            return m_fake.lastCaption;
        if (name == QLatin1String("fault")) { // the open fault dialog's outer height
            const FaultDialog* f = m_state.faultDialog.data();
            return f != nullptr ? QString::number(f->outerHeightTwips()) : QStringLiteral("-");
        }
        if (name == QLatin1String("detail1")) {
            const FaultDialog* f = m_state.faultDialog.data();
            return f != nullptr ? control<QPlainTextEdit>(f, "Text1")
                                      ->toPlainText()
                                      .section(QLatin1Char('\n'), 0, 0)
                                : QStringLiteral("-");
        }
        if (name == QLatin1String("focus")) {
            const QWidget* modal = QApplication::activeModalWidget();
            return modal != nullptr && modal->focusWidget() != nullptr
                       ? modal->focusWidget()->objectName()
                       : QString();
        }
        if (name == QLatin1String("uptime-centred")) { // on the window's outer width, 2130 twips
            const QLabel* up = control<QLabel>(&m_main, "Label2");
            return render(up->x() == int(std::nearbyint((2130 / 15.0 - up->width()) / 2)));
        }
        const QString property = name.section(QLatin1Char('.'), -1);
        const QObject* o = object(name.section(QLatin1Char('.'), 0, -2));
        if (o == nullptr)
            return QStringLiteral("<none>");
        if (property == QLatin1String("up")) // shown within its window, seen or not
            return render(!static_cast<const QWidget*>(o)->isHidden());
        return render(o->property(property.toLatin1().constData()));
    }

    FakePlatform& m_fake;
    AppState& m_state;
    MainWindow& m_main;
    QStringList m_steps;
    QStringList m_errors;
    QString m_step;
    QEventLoop* m_loop = nullptr;
    QList<QWidget*> m_openAtStep; // the modal dialog open when each running step began
};

} // namespace

QStringList runScenario(FakeEnvironment& env, MainWindow& main, const QString& steps)
{
    return Runner(env, main).run(steps);
}
