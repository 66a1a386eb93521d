#pragma once

class QWindow;

#if defined(VANTOREL_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace vantorel {

#if defined(VANTOREL_HAVE_XCB)
// The application's X connection, or none where the program does not run on an X server.
xcb_connection_t* X11Connection();
// The atom of that name on the program's X server, or XCB_ATOM_NONE.
xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name);
#endif

// Whether the X server has the first pointer button up already. False off X11.
bool FirstButtonAlreadyUp(QWindow* window);
// Called when the release of the button that asked the window manager to move `window` came to
// the program instead: the manager took the pointer too late to see it, and would go on moving
// the window, keys included, until the next click. Does nothing off X11.
void CancelSystemMove(QWindow* window);

}  // namespace vantorel
