#include "recorder/CGlobalAtom.h"

#include "platform/hotkey/GlobalAtom.h"

#include <QDateTime>
#include <QLocale>

CGlobalAtom::CGlobalAtom()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + now.time().toString(QStringLiteral("HH:mm:ss"));
    // Two objects made in the same second must not share one atom: the first one's end
    // would then take the id from under the other's registration.
    QString name = stamp;
    for (int n = 2; hotkey::GlobalFindAtom(name) != 0; ++n)
        name = stamp + QStringLiteral(" #") + QString::number(n);
    m_atom = static_cast<int16_t>(hotkey::GlobalAddAtom(name));
}

CGlobalAtom::~CGlobalAtom()
{
    if (m_atom != 0)
        hotkey::GlobalDeleteAtom(static_cast<uint16_t>(m_atom));
}
