#!/usr/bin/python3
"""A stand-in for gnome-session's session manager on the session bus (DBUS_SESSION_BUS_ADDRESS),
as much of it as the idle watcher asks: org.gnome.SessionManager's IsInhibited(flags), true for
the flags that an inhibitor held here covers.

    session-manager-stand-in.py FLAGS
        holds an inhibitor of these flags (8: idle) until ended; prints "ready" once on the bus.
Run with /usr/bin/python3: the python3 first on PATH may not see Debian's python3-dbus.
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.gnome.SessionManager"


class SessionManager(dbus.service.Object):
    def __init__(self, bus, held):
        super().__init__(bus, "/org/gnome/SessionManager")
        self.held = held

    @dbus.service.method(NAME, in_signature="u", out_signature="b")
    def IsInhibited(self, flags):
        return bool(flags & self.held)


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
manager = SessionManager(bus, int(sys.argv[1]))
name = dbus.service.BusName(NAME, bus)
print("ready", flush=True)
GLib.MainLoop().run()
