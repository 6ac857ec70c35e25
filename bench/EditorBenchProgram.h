#pragma once
// A ShopBot-sized part program for the editor benchmarks: one million lines, about
// 30 MB, each a move with a comment.

#include <QByteArray>

inline QByteArray MakeMillionLineProgram()
{
    QByteArray bytes;
    bytes.reserve(32 * 1000 * 1000);
    for (int i = 0; i < 1000000; ++i) {
        bytes += "M3,";
        bytes += QByteArray::number(i % 1000) + ".125,";
        bytes += QByteArray::number(i % 733) + ".5,-0.25 ' cut pass\r\n";
    }
    return bytes;
}

inline const QByteArray& Program()
{
    static const QByteArray program = MakeMillionLineProgram();
    return program;
}
