// A unit table in one call: each row's input through the function under test, compared with the
// row's expected value; a failure names the row by its number (from 0).
#pragma once

#include <QTest>
#include <initializer_list>
#include <utility>

template <typename In, typename Out, typename F>
void checkRows(F function, std::initializer_list<std::pair<In, Out>> rows)
{
    int number = 0;
    for (const auto& [input, expected] : rows) {
        const Out made = function(input);
        const QByteArray row = "row " + QByteArray::number(number++);
        if (!QTest::qCompare(made, expected, row.constData(), "expected", __FILE__, __LINE__))
            return;
    }
}
