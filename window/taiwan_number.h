#pragma once

#include <QLocale>
#include <QString>

namespace window {

// A count as the window writes it, with the separators of Chinese (Taiwan):
// 253,952.
inline QString taiwanNumber(qulonglong n)
{
    return QLocale(QLocale::Chinese, QLocale::Taiwan).toString(n);
}

} // namespace window
