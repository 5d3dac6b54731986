// The X server connection of the running program, for the few things the toolkit does not do.
#pragma once

#include <xcb/xcb.h>

namespace x11 {

// The toolkit's own connection to the X server; null without a graphical application on X
// (the offscreen platform of the tests, a console run) or once the connection failed.
xcb_connection_t *Connection();

}
