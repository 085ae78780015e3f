// The tests reach a form's controls and timers as accessibility tools do: by object name.
#pragma once

#include <QMetaMethod>
#include <QTimer>

// The form's control of that object name, or null.
template <class Control> Control* control(const QObject* form, const char* name)
{
    return form->findChild<Control*>(QLatin1String(name));
}

// Delivers the named timer's timeout now, as if it had fired.
inline void fire(const QObject* form, const char* timerName)
{
    QMetaMethod::fromSignal(&QTimer::timeout).invoke(control<QTimer>(form, timerName));
}
