#include "resources/Pictures.h"

#include <QFile>

// A static library's resources are only registered when something calls into its object
// file; Picture() does, so every caller gets the pictures.
static void EnsureResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)done;
}

namespace res {

QPixmap Picture(const QString &name)
{
    EnsureResources();
    return QPixmap(QStringLiteral(":/res/") + name);
}

QIcon Icon(const QString &name)
{
    EnsureResources();
    return QIcon(Picture(name));
}

} // namespace res
