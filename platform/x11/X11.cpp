#include "platform/x11/X11.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace x11 {

xcb_connection_t *Connection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    auto *native = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!native)
        return nullptr;
    xcb_connection_t *c = native->connection();
    if (!c || xcb_connection_has_error(c))
        return nullptr;
    return c;
}

}
