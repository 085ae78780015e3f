// The two settings files the crash test alternates between: 64 KiB of someone else's lines
// around the program's section, differing only in the alarm hour.
#pragma once

#include <QByteArray>

namespace reliability
{

inline QByteArray content(int which)
{
    QByteArray foreign;
    for (int i = 0; foreign.size() < 64 * 1024; ++i)
        foreign += "; a line the user keeps, number " + QByteArray::number(i) + "\r\n";
    return "[Other]\r\nx=1\r\n" + foreign + "[Quorvane]\r\nHOUR=" + (which == 0 ? "07" : "19") +
           "\r\nMIN=30\r\n" + foreign;
}

} // namespace reliability
