#pragma once

#include <QChar>
#include <QString>

#include <ostream>

// Qt texts in test failures as text rather than bytes.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(QChar c, std::ostream* os)
{
    *os << "U+" << std::hex << int(c.unicode()) << std::dec << " '" << QString(c).toStdString() << "'";
}
