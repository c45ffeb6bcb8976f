#!/usr/bin/python3
"""Stand-ins for GNOME's services on the session bus (DBUS_SESSION_BUS_ADDRESS), as much of them
as the idle watcher asks: gnome-session's org.gnome.SessionManager, whose IsInhibited(flags) is
true for the flags that an inhibitor held here covers, and the screen shield's
org.gnome.ScreenSaver, whose GetActive says whether it is up.

    gnome-stand-in.py FLAGS [shield-up]
        holds an inhibitor of these flags (8: idle; 0: none), with the screen shield up if asked,
        until ended; prints "ready" once both names are on the bus, then the name of each method
        called, a line each.
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


class ScreenShield(dbus.service.Object):
    def __init__(self, bus, up):
        super().__init__(bus, "/org/gnome/ScreenSaver")
        self.up = up

    @dbus.service.method("org.gnome.ScreenSaver", in_signature="", out_signature="b")
    def GetActive(self):
        print("GetActive", flush=True)
        return self.up


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
manager = SessionManager(bus, int(sys.argv[1]))
shield = ScreenShield(bus, sys.argv[2:] == ["shield-up"])
names = [dbus.service.BusName(name, bus) for name in ("org.gnome.SessionManager", "org.gnome.ScreenSaver")]
print("ready", flush=True)
GLib.MainLoop().run()
