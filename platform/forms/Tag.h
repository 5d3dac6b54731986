#pragma once
// Every control's Tag: a free text the windows keep on a control (a string id for its caption,
// a day key, ...). Kept as the dynamic property "Tag", so that code walking a window's children
// reads it from any widget.
#include <QObject>
#include <QString>
#include <QVariant>

namespace forms {

inline QString Tag(const QObject *o)
{
    return o ? o->property("Tag").toString() : QString();
}

inline void SetTag(QObject *o, const QString &tag)
{
    if (o)
        o->setProperty("Tag", tag);
}

} // namespace forms
