#pragma once

// Readable GoogleTest output for Qt values (included into every test through the test support library).
#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QStringList &value, std::ostream *os)
{
    *os << '[' << value.join(QStringLiteral(", ")).toStdString() << ']';
}

inline void PrintTo(const QSize &value, std::ostream *os)
{
    *os << value.width() << 'x' << value.height();
}

inline void PrintTo(const QPoint &value, std::ostream *os)
{
    *os << '(' << value.x() << ',' << value.y() << ')';
}

inline void PrintTo(const QRect &value, std::ostream *os)
{
    *os << '(' << value.x() << ',' << value.y() << ' ' << value.width() << 'x' << value.height() << ')';
}
