#!/usr/bin/python3
"""A stand-in for gnome-session on the session bus (DBUS_SESSION_BUS_ADDRESS), as much of it as the
idle watcher asks: org.gnome.SessionManager, whose IsInhibited(flags) is true for the flags that an
inhibitor held here covers, and its presence, whose status (3: idle, the moment GNOME starts to
blank the screen) it says once on the bus.

    gnome-stand-in.py FLAGS [STATUS]
        holds an inhibitor of these flags (8: idle; 0: none) with this presence status (0: available)
        until ended; prints "ready" once its name is on the bus and the status said, then the name of
        each method called, a line each.
Run with /usr/bin/python3: the python3 first on PATH may not see Debian's python3-dbus.
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib


class SessionManager(dbus.service.Object):
    def __init__(self, bus, held):
        super().__init__(bus, "/org/gnome/SessionManager")
        self.held = held

    @dbus.service.method("org.gnome.SessionManager", in_signature="u", out_signature="b")
    def IsInhibited(self, flags):
        print("IsInhibited", flush=True)
        return bool(flags & self.held)


class Presence(dbus.service.Object):
    def __init__(self, bus, status):
        super().__init__(bus, "/org/gnome/SessionManager/Presence")
        self.status = dbus.UInt32(status)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        print("Get " + name, flush=True)
        return self.status

    @dbus.service.signal("org.gnome.SessionManager.Presence", signature="u")
    def StatusChanged(self, status):
        pass


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
manager = SessionManager(bus, int(sys.argv[1]))
presence = Presence(bus, int(sys.argv[2]) if len(sys.argv) > 2 else 0)
name = dbus.service.BusName("org.gnome.SessionManager", bus)
presence.StatusChanged(presence.status)
print("ready", flush=True)
GLib.MainLoop().run()
