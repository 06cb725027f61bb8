#include "frame/windowmanager.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <typeinfo>
#include <xcb/xcb.h>

namespace tolvane {
namespace {

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// existing: only an atom the server already knows, or none; else one made if needed.
xcb_atom_t atom(xcb_connection_t *connection, const char *name, bool existing = true)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, existing, std::strlen(name), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// Maximised in one direction at least; in both, Qt itself reports the window maximised.
bool x11Tiled(xcb_connection_t *connection, xcb_window_t window)
{
    static const xcb_atom_t state = atom(connection, "_NET_WM_STATE", false);
    static const xcb_atom_t vertical = atom(connection, "_NET_WM_STATE_MAXIMIZED_VERT", false);
    static const xcb_atom_t horizontal = atom(connection, "_NET_WM_STATE_MAXIMIZED_HORZ", false);
    xcb_get_property_reply_t *property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 32), nullptr);
    if (!property)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(property));
    const auto *end = atoms + xcb_get_property_value_length(property) / sizeof(xcb_atom_t);
    const bool tiled = std::any_of(
        atoms, end, [](xcb_atom_t held) { return held == vertical || held == horizontal; });
    std::free(property);
    return tiled;
}

// Qt's Wayland window keeps the tiled edges the compositor sent (xdg-shell's tiled states),
// behind an exported member function with no public header: found by its name in the library
// the Wayland platform loaded.
using TiledEdges = int (*)(const QObject *waylandWindow);

TiledEdges waylandTiledEdges()
{
    static const TiledEdges found = []() -> TiledEdges {
        void *library = ::dlopen("libQt6WaylandClient.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (!library)
            return nullptr;
        return reinterpret_cast<TiledEdges>(::dlsym(
            library, "_ZNK15QtWaylandClient14QWaylandWindow26toplevelWindowTilingStatesEv"));
    }();
    return found;
}

// Stands for the platform window, whose class has no public header: the C++ ABI gives any
// polymorphic object its dynamic type and its start the same way, whatever the class.
struct Polymorphic
{
    virtual ~Polymorphic() = default;
};

bool waylandTiled(const QWindow &window)
{
    const TiledEdges edges = waylandTiledEdges();
    const auto *handle = reinterpret_cast<const Polymorphic *>(window.handle());
    // Only one of Qt's own Wayland windows, each a QObject at its start, is asked.
    if (!edges || !handle || std::strncmp(typeid(*handle).name(), "N15QtWaylandClient", 18) != 0)
        return false;
    const auto *object = static_cast<const QObject *>(dynamic_cast<const void *>(handle));
    if (!object->inherits("QtWaylandClient::QWaylandWindow"))
        return false;
    const int tiled = edges(object); // left 1, right 2, top 4, bottom 8
    return tiled > 0 && tiled < 16;
}

} // namespace

bool windowManagerPresent()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true; // the compositor always manages windows
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return false;

    // An EWMH window manager announces itself on the root window.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t check = atom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_ATOM_NONE)
        return false;
    xcb_get_property_reply_t *property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    if (!property)
        return false;
    const bool present = xcb_get_property_value_length(property) > 0;
    std::free(property);
    return present;
}

bool waylandTellsTiled()
{
    return waylandTiledEdges() != nullptr;
}

bool windowTiled(const QWindow *window)
{
    if (!window || !window->handle())
        return false;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return waylandTiled(*window);
    if (xcb_connection_t *connection = x11Connection())
        return x11Tiled(connection, xcb_window_t(window->winId()));
    return false;
}

} // namespace tolvane
