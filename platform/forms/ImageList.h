#pragma once
// Pictures by key, as a tree view shows them on its nodes.
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace forms {

class ImageList {
public:
    // Adds or replaces the picture of a key.
    void Add(const QString &key, const QPixmap &picture);
    // Adds the program's picture of each key's own name (res::Picture); keys without a
    // picture are left out.
    void AddFromResources(const QStringList &keys);
    bool Exists(const QString &key) const;
    QPixmap Picture(const QString &key) const;   // null when the key is unknown
    QIcon Icon(const QString &key) const;
    int Count() const { return int(m_keys.size()); }
    QStringList Keys() const { return m_keys; }   // in the order they were added
    void Clear();

private:
    QHash<QString, QPixmap> m_pictures;
    QStringList m_keys;
};

// The keys of the project tree's pictures.
extern const QStringList kProjectTreeImageKeys;   // work_closed, work_open, folder_closed,
                                                  // folder_open, act_normal, act_sel

// The image list of the project tree, loaded once from the program's pictures.
const ImageList &ProjectTreeImages();

} // namespace forms
