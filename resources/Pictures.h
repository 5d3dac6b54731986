#pragma once
// The program's pictures by resource name ("CLOCK") or number (216).
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace res {

// The picture with that name; a null pixmap when the program has none by that name.
QPixmap Picture(const QString &name);
inline QPixmap Picture(int number) { return Picture(QString::number(number)); }
QIcon Icon(const QString &name);
inline QIcon Icon(int number) { return Icon(QString::number(number)); }

} // namespace res
