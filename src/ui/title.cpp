#include "ui/title.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef VELMORA_HAVE_XCB
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#endif

namespace ui {

#ifdef VELMORA_HAVE_XCB
namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}
}  // namespace
#endif

void clearSystemTitle(QWidget* window) {
#ifdef VELMORA_HAVE_XCB
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created)) return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    // One terminating zero rather than no bytes at all: window managers
    // take a name without bytes as none and show a stand-in of their own.
    static const char empty[1] = {0};
    if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, netName, utf8, 8, 1, empty);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 1, empty);
    xcb_flush(c);
#else
    (void)window;
#endif
}

}  // namespace ui
