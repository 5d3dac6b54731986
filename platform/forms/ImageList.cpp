#include "platform/forms/ImageList.h"

#include "resources/Pictures.h"

namespace forms {

void ImageList::Add(const QString &key, const QPixmap &picture)
{
    if (!m_pictures.contains(key))
        m_keys.append(key);
    m_pictures.insert(key, picture);
}

void ImageList::AddFromResources(const QStringList &keys)
{
    for (const QString &key : keys) {
        const QPixmap p = res::Picture(key);
        if (!p.isNull())
            Add(key, p);
    }
}

bool ImageList::Exists(const QString &key) const
{
    return m_pictures.contains(key);
}

QPixmap ImageList::Picture(const QString &key) const
{
    return m_pictures.value(key);
}

QIcon ImageList::Icon(const QString &key) const
{
    const auto it = m_pictures.constFind(key);
    return it == m_pictures.constEnd() ? QIcon() : QIcon(*it);
}

void ImageList::Clear()
{
    m_pictures.clear();
    m_keys.clear();
}

const QStringList kProjectTreeImageKeys = {
    QStringLiteral("work_closed"), QStringLiteral("work_open"),  QStringLiteral("folder_closed"),
    QStringLiteral("folder_open"), QStringLiteral("act_normal"), QStringLiteral("act_sel"),
};

const ImageList &ProjectTreeImages()
{
    static const ImageList list = [] {
        ImageList l;
        l.AddFromResources(kProjectTreeImageKeys);
        return l;
    }();
    return list;
}

} // namespace forms
