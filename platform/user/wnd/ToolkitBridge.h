// What the Qt backend (libzelutil-qt) reaches of the core beyond the installed headers,
// and the only way it does: the presenter contract it implements, the menu messages its
// presenter raises as Qt's menus are worked, and the user's runtime folder it gives Qt.
// Hosts never see these (the header is not installed), but libzelutil.so exports what
// they declare, because the backend is a library of its own. Keep this list short: a
// name added here is exported to everyone who looks.
#pragma once

#include "platform/os/desktop/RuntimeDir.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Presenter.h"
