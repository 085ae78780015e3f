#include "support/Scenario.h"

#include "forms/AboutBox.h"
#include "forms/FaultDialog.h"
#include "forms/SettingsDialog.h"
#include "rules/IniDocument.h"
#include "rules/Settings.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

QString unescape(QString text)
{
    return text.replace(u"\\s"_s, u" "_s)
        .replace(u"\\n"_s, u"\n"_s)
        .replace(u"\\r"_s, u"\r"_s)
        .replace(u"\\u3000"_s, QString(QChar(0x3000)))
        .replace(u"\\u00a0"_s, QString(QChar(0xa0)));
}

void addTableRows(const char* table)
{
    QTest::addColumn<QStringList>("fields");
    QStringList rows;
    for (const QString& line : QString::fromUtf8(table).split(u'\n')) {
        if (line.startsWith(u' ') && !rows.isEmpty())
            rows.last() += line;
        else if (!line.isEmpty() && !line.startsWith(u'#'))
            rows << line;
    }
    for (const QString& row : rows) {
        QStringList fields = row.split(u'|');
        for (QString& field : fields)
            field = field.simplified();
        QTest::newRow(qPrintable(fields.takeFirst())) << fields;
    }
}

QString compactLog(const QStringList& log)
{
    QStringList out;
    for (qsizetype i = 0; i < log.size();) {
        qsizetype n = 1;
        while (i + n < log.size() && log[i + n] == log[i])
            ++n;
        out << (n == 1 ? log[i] : log[i] + u"*"_s + QString::number(n));
        i += n;
    }
    return out.join(u" "_s);
}

namespace
{

class Runner;
using V = const QString&; // a step's value
using Step = std::function<void(Runner&, V)>;
using Probe = std::function<QString(Runner&)>;

// "a,b" as two numbers
QPoint pair(V text)
{
    return {text.section(u","_s, 0, 0).toInt(), text.section(u","_s, 1).toInt()};
}

QString render(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? u"1"_s : u"0"_s;
    case QMetaType::QPoint:
        return u"%1,%2"_s.arg(v.toPoint().x()).arg(v.toPoint().y());
    case QMetaType::QCursor:
        return QString::number(v.value<QCursor>().shape());
    case QMetaType::QFont: { // its size, and whether it is the fixed-pitch face or bold
        const auto font = v.value<QFont>();
        return QString::number(font.pointSizeF()) + u"pt"_s +
               (font.styleHint() == QFont::TypeWriter ? u" fixed"_s : QString()) +
               (font.bold() ? u" bold"_s : QString());
    }
    default:
        return v.toString();
    }
}

QString colourName(const QColor& c, const QColor& face)
{
    return c == QColor(255, 0, 0)   ? u"red"_s
           : c == QColor(0, 0, 255) ? u"blue"_s
           : c == face              ? u"face"_s
                                    : c.name();
}

// A button is clicked as a user would; other controls (the links) take a mouse click.
void click(QWidget* w)
{
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->click();
    else
        QTest::mouseClick(w, Qt::LeftButton);
}

// Typing replaces the text (type) or goes on at its end (append), key by key.
void typeInto(QLineEdit* box, V text, bool replace)
{
    box->end(false);
    if (replace) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    QTest::keyClicks(box, text);
}

class Runner
{
public:
    explicit Runner(FakeEnvironment& env)
        : m_fake(env.fake), m_program(env.program), m_forms(env.program.forms()),
          m_state(m_forms.state), m_main(env.program.window())
    {
    }

    QStringList run(V steps)
    {
        m_steps = steps.split(u" "_s, Qt::SkipEmptyParts);
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
                m_errors << u"left open: "_s + open->objectName();
                open->reject();
                QTimer::singleShot(0, [this] { next(); });
            } else {
                m_loop->quit();
            }
            return;
        }
        m_step = m_steps.takeFirst();
        QTimer::singleShot(0, [this] { next(); }); // runs also while this step waits in a dialog
        m_openAtStep << QApplication::activeModalWidget();
        // "name", "name=value" or "tick@time"
        const qsizetype cut = m_step.indexOf(QRegularExpression(u"[=@]"_s));
        perform(m_step.left(cut), cut < 0 ? QString() : unescape(m_step.mid(cut + 1)));
        m_openAtStep.removeLast();
    }

    void perform(V name, V value)
    {
        if (const Step step = steps().value(name))
            step(*this, value);
        else
            fail(u"no such step"_s);
    }

    void fail(V what) { m_errors << m_step + u": "_s + what; }

    inline static const QStringList kWindows{u"mainWindow"_s, u"settingsDialog"_s, u"aboutBox"_s,
                                             u"faultDialog"_s};

    QWidget* window(V name)
    {
        QWidget* const windows[] = {&m_main, m_forms.settingsDialog, m_forms.aboutBox,
                                    m_forms.faultDialog};
        const qsizetype i = kWindows.indexOf(name);
        return i < 0 ? nullptr : windows[i];
    }

    QObject* object(V path)
    {
        const QStringList names = path.split(u"."_s);
        QObject* o = names[0] == u"alarmClock"_s ? static_cast<QObject*>(&m_program.clock())
                                                 : window(names[0]);
        for (qsizetype i = 1; o != nullptr && i < names.size(); ++i)
            o = o->findChild<QObject*>(names[i]);
        if (o == nullptr)
            fail(path + u" is not there"_s);
        return o;
    }

    // A step on the control PATH of "PATH" or "PATH:ARG".
    template <class W> static Step on(void (*act)(W*, V arg))
    {
        return [act](Runner& r, V value) {
            if (auto* w = qobject_cast<W*>(r.object(value.section(u":"_s, 0, 0))))
                act(w, value.section(u":"_s, 1));
        };
    }

    void startUp(bool clearLog)
    {
        m_program.start();
        if (clearLog)
            m_fake.log.clear();
    }

    // "double-click", "menu" or "menu>ITEM" (ITEM chosen in the menu the program pops up), or
    // "panel>ITEM" (ITEM chosen in the menu the tray shows itself)
    void tray(V value)
    {
        if (value.startsWith(u"panel>"_s)) {
            const QString item = value.section(u">"_s, 1);
            if (auto* action =
                    m_fake.trayMenu ? m_fake.trayMenu->findChild<QAction*>(item) : nullptr)
                action->trigger();
            else
                fail(u"no such item in the tray's menu"_s);
            return;
        }
        m_fake.onPopUp = [this, choice = value.section(u">"_s, 1)](QMenu*) {
            if (!choice.isEmpty())
                perform(u"menu"_s, choice);
        };
        if (m_fake.trayEvents)
            m_fake.trayEvents(value.startsWith(u"menu"_s) ? TrayEvent::ContextMenu
                                                          : TrayEvent::DoubleClick);
        else
            fail(u"no tray icon"_s);
        m_fake.onPopUp = nullptr;
    }

    void check(V value)
    {
        const QString what = value.section(u":"_s, 0, 0);
        const QString expected = value.section(u":"_s, 1);
        if (const QString actual = probe(what); actual != expected)
            fail(u"%1 is \"%2\", not \"%3\""_s.arg(what, actual, expected));
    }

    static const QHash<QString, Step>& steps()
    {
        static const QHash<QString, Step> table{
            {u"load"_s, [](Runner& r, V) { r.startUp(false); }},
            {u"start"_s, [](Runner& r, V) { r.startUp(true); }},
            {u"second"_s, [](Runner& r, V) { r.m_fake.otherInstance = true; }},
            {u"notray"_s, [](Runner& r, V) { r.m_fake.trayAvailable = false; }},
            {u"readonly"_s, [](Runner& r, V) { r.m_fake.writesFail = true; }},
            {u"unreadable"_s, [](Runner& r, V) { r.m_fake.unreadable = true; }},
            {u"at"_s, [](Runner& r, V time) { r.m_fake.setTime(time); }},
            {u"up"_s, [](Runner& r, V ms) { r.m_fake.ticks = std::uint32_t(ms.toLongLong()); }},
            {u"random"_s, [](Runner& r, V draw) { r.m_fake.random = draw.toDouble(); }},
            {u"saved"_s,
             [](Runner& r, V v) {
                 r.m_state.position = {pair(v).x(), pair(v).y()};
             }},
            {u"tick"_s,
             [](Runner& r, V at) {
                 if (!at.isEmpty())
                     r.m_fake.setTime(at);
                 fire(&r.m_program, "clockTimer");
             }},
            {u"blink"_s, [](Runner& r, V) { fire(&r.m_program, "blinkTimer"); }},
            {u"menu"_s,
             [](Runner& r, V item) {
                 if (auto* action = qobject_cast<QAction*>(r.object(u"mainWindow."_s + item)))
                     action->trigger();
             }},
            {u"tray"_s, &Runner::tray},
            {u"click"_s, on<QWidget>([](QWidget* w, V) { click(w); })},
            {u"dblclick"_s,
             on<QWidget>([](QWidget* w, V) { QTest::mouseDClick(w, Qt::LeftButton); })},
            {u"key"_s, on<QWidget>([](QWidget* w, V key) {
                 QTest::keyClick(w, QKeySequence::fromString(key)[0].key());
             })},
            {u"focus"_s, on<QWidget>([](QWidget* w, V) { w->setFocus(); })},
            {u"type"_s, on<QLineEdit>([](QLineEdit* box, V text) { typeInto(box, text, true); })},
            {u"append"_s,
             on<QLineEdit>([](QLineEdit* box, V text) { typeInto(box, text, false); })},
            {u"set"_s, on<QLineEdit>([](QLineEdit* box, V text) { box->setText(text); })},
            {u"close"_s, on<QWidget>([](QWidget* w, V) { w->close(); })},
            {u"hide"_s, on<QWidget>([](QWidget* w, V) { w->hide(); })},
            {u"show"_s, on<QWidget>([](QWidget* w, V) { w->show(); })},
            {u"move"_s, on<QWidget>([](QWidget* w, V to) { w->move(pair(to)); })},
            {u"minimise"_s, [](Runner& r, V) { r.m_main.setWindowState(Qt::WindowMinimized); }},
            {u"restore"_s, [](Runner& r, V) { r.m_main.setWindowState(Qt::WindowNoState); }},
            {u"end-session"_s, [](Runner& r, V) { r.m_fake.sessionEnd(); }},
            {u"reload"_s, [](Runner& r, V) { settings::load(r.m_state.file, r.m_state.settings); }},
            {u"delete"_s,
             [](Runner&, V) {
                 QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
             }},
            {u"check"_s, &Runner::check},
        };
        return table;
    }

    // The settings dialog as one row: "hour/minute/uptime button/action button/check boxes".
    QString dialogState()
    {
        const SettingsDialog* d = m_forms.settingsDialog.data();
        if (d == nullptr)
            return u"-"_s;
        auto checked = [d](V name) {
            return control<QAbstractButton>(d, qPrintable(name))->isChecked();
        };
        QStringList row{control<QLineEdit>(d, "hourBox")->text(),
                        control<QLineEdit>(d, "minuteBox")->text()};
        const std::initializer_list<const char*> groups[] = {
            {"uptimeHoursButton", "uptimeSecondsButton"},
            {"beepButton", "restartButton", "powerOffButton", "logOffButton"}};
        for (const auto& group : groups) {
            row << u"-"_s;
            int i = 0;
            for (const char* button : group) {
                if (checked(QLatin1String(button)))
                    row.last() = QString::number(i);
                ++i;
            }
        }
        row << QString();
        for (const char* c : {"sweepCheck", "gentleCheck", "topmostCheck"})
            row.last() += checked(QLatin1String(c)) ? u"x"_s : u"."_s;
        return row.join(u"/"_s);
    }

    // The settings record: "hour:minute", then each field that is not 0 by name ("07:30,top=1").
    QString record()
    {
        const settings::SettingsRecord& s = m_state.settings;
        QStringList fields{s.alarmHour + u":"_s + s.alarmMinute};
        const std::pair<const char*, int> named[] = {{"form", s.uptimeForm},
                                                     {"action", int(s.action)},
                                                     {"sweep", s.sweepRecentFiles},
                                                     {"gentle", s.gentleMode},
                                                     {"top", s.keepOnTop}};
        for (const auto& [name, value] : named)
            if (value != 0)
                fields << u"%1=%2"_s.arg(QLatin1String(name)).arg(value);
        return fields.join(u","_s);
    }

    QString shownWindows()
    {
        QStringList names;
        for (const QString& name : kWindows)
            if (QWidget* top = window(name); top != nullptr && top->isVisible())
                names << name;
        return names.join(u","_s);
    }

    // The open fault dialog's outer height, or its details' first two lines; "-" with none open.
    QString fault(bool details)
    {
        const FaultDialog* f = m_forms.faultDialog.data();
        if (f == nullptr)
            return u"-"_s;
        if (!details)
            return QString::number(f->outerHeightTwips());
        const QString text = control<QPlainTextEdit>(f, "detailsText")->toPlainText();
        return text.split(u"\n"_s).mid(0, 2).join(u"\n"_s);
    }

    static QString nameOf(const QWidget* w) { return w != nullptr ? w->objectName() : QString(); }

    static const QHash<QString, Probe>& probes()
    {
        static const QHash<QString, Probe> table{
            {u"log"_s, [](Runner& r) { return compactLog(r.m_fake.log); }},
            {u"shown"_s, &Runner::shownWindows},
            {u"bell"_s, [](Runner& r) { return r.m_fake.bellPrepared ? u"ready"_s : u"-"_s; }},
            {u"modal"_s, [](Runner&) { return nameOf(QApplication::activeModalWidget()); }},
            {u"focus"_s, // within the modal dialog
             [](Runner&) {
                 const QWidget* modal = QApplication::activeModalWidget();
                 return nameOf(modal != nullptr ? modal->focusWidget() : nullptr);
             }},
            {u"alarm"_s, [](Runner& r) { return r.record().section(u","_s, 0, 0); }},
            {u"record"_s, &Runner::record},
            {u"saved"_s,
             [](Runner& r) {
                 return render(QPoint(r.m_state.position.top, r.m_state.position.left));
             }},
            {u"timers"_s,
             [](Runner& r) {
                 QStringList running;
                 for (const char* timer : {"clock", "blink", "sweep"})
                     if (control<QTimer>(&r.m_program,
                                         qPrintable(QLatin1String(timer) + u"Timer"_s))
                             ->isActive())
                         running << QLatin1String(timer);
                 return running.join(u","_s);
             }},
            {u"height"_s,
             [](Runner& r) { return QString::number(r.m_program.windowHeightTwips()); }},
            {u"colour"_s, // the clock's background as painted, beside its frame's line
             [](Runner& r) {
                 const QLabel* clock = control<QLabel>(&r.m_main, "clockLabel");
                 const QPoint inside = clock->mapTo(&r.m_main, QPoint(3, 3));
                 const QImage seen = r.m_main.grab(QRect(inside, QSize(1, 1))).toImage();
                 return colourName(seen.pixelColor(0, 0),
                                   r.m_main.palette().color(QPalette::Button));
             }},
            {u"arm"_s, &Runner::dialogState},
            {u"reads"_s, [](Runner& r) { return QString::number(r.m_fake.reads); }},
            {u"caption"_s, [](Runner& r) { return r.m_fake.lastCaption; }},
            {u"fault"_s, [](Runner& r) { return r.fault(false); }},
            {u"details"_s, [](Runner& r) { return r.fault(true); }},
        };
        return table;
    }

    // A named probe, ini.KEY (the settings file's value), or PATH.PROPERTY of a window or
    // control ("up": shown within its window, seen or not).
    QString probe(V name)
    {
        if (const Probe p = probes().value(name))
            return p(*this);
        if (name.startsWith(u"ini."_s))
            return QString::fromUtf8(
                ini::value(m_fake.file, "Quorvane", name.mid(4).toLatin1()).value_or("<missing>"));
        const QString property = name.section(u"."_s, -1);
        const QObject* o = object(name.section(u"."_s, 0, -2));
        if (o == nullptr)
            return u"<none>"_s;
        if (property == u"up"_s)
            return render(!static_cast<const QWidget*>(o)->isHidden());
        return render(o->property(property.toLatin1().constData()));
    }

    FakePlatform& m_fake;
    Program& m_program;
    FormContext& m_forms;
    AppState& m_state;
    QWidget& m_main;
    QStringList m_steps;
    QStringList m_errors;
    QString m_step;
    QEventLoop* m_loop = nullptr;
    QList<QWidget*> m_openAtStep; // the modal dialog open when each running step began
};

} // namespace

QStringList runScenario(FakeEnvironment& env, const QString& steps)
{
    return Runner(env).run(steps);
}
