#!/usr/bin/python3
# What the end-to-end tests ask of GNOME's and KDE's compositors on their session bus (the one in
# DBUS_SESSION_BUS_ADDRESS), as a desktop's own tools ask it:
#   mutter-monitors            one line per monitor: "CONNECTOR WIDTHxHEIGHT+X+Y", as mutter lays
#                              them out
#   mutter-pictures PREFIX     a picture of each monitor through a screen cast and PipeWire, as
#                              PREFIX-CONNECTOR.png; prints each file's name, and says on
#                              stderr why a monitor has none
#   mutter-input CONNECTOR     a remote desktop session that lasts until stdin ends, for the
#                              lines read from stdin: "key CODE" presses and releases the key of
#                              that evdev code, answering "typed CODE"; "touch X Y" puts a finger
#                              down at (X, Y) of that monitor and lifts it, answering "touched X Y"
#                              (anything else: "unknown: LINE")
#   kwin-picture FILE          the whole workspace at its outputs' own pixel density, as a PPM
#                              picture
# Run with /usr/bin/python3: the python3 first on PATH may not see Debian's python3-dbus.
import os
import subprocess
import sys
import threading
import time

import dbus
import dbus.mainloop.glib
from gi.repository import GLib

MUTTER = "org.gnome.Mutter"


def mutter_monitors(bus):
    config = bus.get_object(MUTTER + ".DisplayConfig", "/org/gnome/Mutter/DisplayConfig")
    _, monitors, logical, _ = config.GetCurrentState(dbus_interface=MUTTER + ".DisplayConfig")
    sizes = {}
    for (connector, _, _, _), modes, _ in monitors:
        for _, width, height, _, _, _, properties in modes:
            if properties.get("is-current"):
                sizes[str(connector)] = (int(width), int(height))
    places = []
    for x, y, _, _, _, members, _ in logical:
        for connector, _, _, _ in members:
            width, height = sizes[str(connector)]
            places.append((str(connector), width, height, int(x), int(y)))
    return places


def mutter_pictures(bus, prefix):
    cast = bus.get_object(MUTTER + ".ScreenCast", "/org/gnome/Mutter/ScreenCast")
    path = cast.CreateSession({}, dbus_interface=MUTTER + ".ScreenCast")
    session = dbus.Interface(bus.get_object(MUTTER + ".ScreenCast", path), MUTTER + ".ScreenCast.Session")
    nodes = {}
    loop = GLib.MainLoop()
    connectors = [place[0] for place in mutter_monitors(bus)]
    for connector in connectors:
        stream = bus.get_object(MUTTER + ".ScreenCast", session.RecordMonitor(connector, {}))

        def added(node, connector=connector):
            nodes[connector] = int(node)
            if len(nodes) == len(connectors):
                loop.quit()

        stream.connect_to_signal("PipeWireStreamAdded", added, dbus_interface=MUTTER + ".ScreenCast.Stream")
    session.Start()
    GLib.timeout_add_seconds(5, loop.quit)
    loop.run()
    # The first buffer of a monitor's stream is its picture as it stands. Both monitors are taken
    # at once; a taker that hangs (a stream that never negotiates) is given up, and no picture is
    # left from an earlier call.
    pictures = {connector: "%s-%s.png" % (prefix, connector) for connector in connectors}
    takers = {}
    for connector in connectors:
        if os.path.exists(pictures[connector]):
            os.remove(pictures[connector])
        if connector in nodes:
            takers[connector] = subprocess.Popen(
                ["gst-launch-1.0", "-q", "pipewiresrc", "path=%d" % nodes[connector], "num-buffers=1", "!",
                 "videoconvert", "!", "pngenc", "snapshot=true", "!", "filesink", "location=" + pictures[connector]],
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + 5
    for connector in connectors:
        problem = "no stream"
        if connector in takers:
            taker = takers[connector]
            try:
                _, problem = taker.communicate(timeout=max(deadline - time.monotonic(), 0.1))
            except subprocess.TimeoutExpired:
                taker.kill()
                taker.communicate()
                problem = "no picture within 5 s"
            if taker.returncode == 0 and os.path.exists(pictures[connector]):
                print(pictures[connector])
                continue
        if os.path.exists(pictures[connector]):
            os.remove(pictures[connector])
        print("mutter-pictures: %s: %s" % (connector, " ".join(problem.split()) or "no picture"), file=sys.stderr)
    session.Stop()


def mutter_input(bus, connector):
    desktop = bus.get_object(MUTTER + ".RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop")
    path = desktop.CreateSession(dbus_interface=MUTTER + ".RemoteDesktop")
    remote = bus.get_object(MUTTER + ".RemoteDesktop", path)
    session = dbus.Interface(remote, MUTTER + ".RemoteDesktop.Session")
    # A touch lands on a monitor as one of the session's screen casts shows it: a cast tied to
    # this session, of that monitor, gives the stream that names it.
    session_id = remote.Get(MUTTER + ".RemoteDesktop.Session", "SessionId", dbus_interface=dbus.PROPERTIES_IFACE)
    cast = bus.get_object(MUTTER + ".ScreenCast", "/org/gnome/Mutter/ScreenCast")
    cast_path = cast.CreateSession({"remote-desktop-session-id": session_id}, dbus_interface=MUTTER + ".ScreenCast")
    cast_session = dbus.Interface(bus.get_object(MUTTER + ".ScreenCast", cast_path), MUTTER + ".ScreenCast.Session")
    stream = cast_session.RecordMonitor(connector, {})
    session.Start()
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["key"] and len(words) == 2:
            code = dbus.UInt32(int(words[1]))
            session.NotifyKeyboardKeycode(code, True)
            session.NotifyKeyboardKeycode(code, False)
            print("typed", int(code), flush=True)
        elif words[:1] == ["touch"] and len(words) == 3:
            x, y = float(words[1]), float(words[2])
            session.NotifyTouchDown(stream, dbus.UInt32(0), dbus.Double(x), dbus.Double(y))
            session.NotifyTouchUp(dbus.UInt32(0))
            print("touched", words[1], words[2], flush=True)
        else:
            print("unknown:", line.strip(), flush=True)
    session.Stop()


def kwin_picture(bus, file):
    if os.path.exists(file):
        os.remove(file)
    shooter = bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2")
    reading, writing = os.pipe()
    pixels = bytearray()

    # KWin writes the pixels after its answer: read them meanwhile, so a full pipe holds up
    # neither side.
    def read_all():
        with os.fdopen(reading, "rb") as source:
            for chunk in iter(lambda: source.read(1 << 20), b""):
                pixels.extend(chunk)

    reader = threading.Thread(target=read_all)
    reader.start()
    answer = shooter.CaptureWorkspace({"native-resolution": True}, dbus.types.UnixFd(writing),
                                      dbus_interface="org.kde.KWin.ScreenShot2", timeout=5)
    os.close(writing)
    reader.join(5)
    width, height, stride = int(answer["width"]), int(answer["height"]), int(answer["stride"])
    # Format 6 is premultiplied ARGB in 32-bit words: blue, green, red, alpha in memory. The
    # workspace is opaque, so the colours are as drawn.
    if int(answer["format"]) != 6 or len(pixels) < stride * height:
        sys.exit("kwin-picture: %d bytes of format %d for %dx%d" % (len(pixels), int(answer["format"]), width, height))
    rows = bytearray()
    for y in range(height):
        row = pixels[y * stride:y * stride + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3] = row[2::4]
        rgb[1::3] = row[1::4]
        rgb[2::3] = row[0::4]
        rows.extend(rgb)
    with open(file, "wb") as picture:
        picture.write(b"P6\n%d %d\n255\n" % (width, height))
        picture.write(rows)


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "mutter-monitors":
        for connector, width, height, x, y in mutter_monitors(bus):
            print("%s %dx%d+%d+%d" % (connector, width, height, x, y))
    elif command == "mutter-pictures" and len(sys.argv) == 3:
        mutter_pictures(bus, sys.argv[2])
    elif command == "mutter-input" and len(sys.argv) == 3:
        mutter_input(bus, sys.argv[2])
    elif command == "kwin-picture" and len(sys.argv) == 3:
        kwin_picture(bus, sys.argv[2])
    else:
        sys.exit("usage: desktop-bus.py mutter-monitors | mutter-pictures PREFIX | mutter-input CONNECTOR | "
                 "kwin-picture FILE")


if __name__ == "__main__":
    try:
        main()
    except dbus.exceptions.DBusException as error:
        sys.exit("desktop-bus.py %s: %s" % (" ".join(sys.argv[1:2]), error.get_dbus_message()))
