#!/usr/bin/python3
"""Starts a program as a lock screen starts the one that draws its background: with a Wayland
connection of its own in WAYLAND_SOCKET, and WAYLAND_DISPLAY and DISPLAY unset.

    lock-screen-start.py direct PROGRAM ARGS...
        connects to the session's compositor ($XDG_RUNTIME_DIR/$WAYLAND_DISPLAY) and becomes the
        program with that connection.
    lock-screen-start.py relay CLOSE-FILE PROGRAM ARGS...
        gives the program one end of a socket pair and passes everything (with the descriptors that
        go with it) between the other end and the compositor, as a lock screen that forwards its
        background's surfaces does, until CLOSE-FILE appears; then closes the program's
        connection, waits for the program and ends with its status (128 + N after signal N).
"""
import array
import os
import select
import socket
import sys

MAX_FDS = 28


def compositor():
    path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"])
    connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    connection.connect(path)
    return connection


def become(program, connection):
    env = dict(os.environ)
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("DISPLAY", None)
    os.set_inheritable(connection.fileno(), True)
    env["WAYLAND_SOCKET"] = str(connection.fileno())
    os.execve(program[0], program, env)


def forward(source, target):
    """One read's bytes and descriptors from source to target; False once source has ended."""
    try:
        data, ancillary, _, _ = source.recvmsg(65536, socket.CMSG_SPACE(MAX_FDS * 4))
    except ConnectionError:
        return False
    fds = array.array("i")
    for level, kind, payload in ancillary:
        if level == socket.SOL_SOCKET and kind == socket.SCM_RIGHTS:
            fds.frombytes(payload[: len(payload) - len(payload) % fds.itemsize])
    if not data and not fds:
        return False
    try:
        extra = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, fds)] if fds else []
        target.sendmsg([data], extra)
    except ConnectionError:
        return False
    finally:
        for fd in fds:
            os.close(fd)
    return True


def relay(close_file, program):
    ours, theirs = socket.socketpair(socket.AF_UNIX, socket.SOCK_STREAM)
    upstream = compositor()
    child = os.fork()
    if child == 0:
        ours.close()
        upstream.close()
        become(program, theirs)
    theirs.close()
    while not os.path.exists(close_file):
        ready, _, _ = select.select([ours, upstream], [], [], 0.1)
        if ours in ready and not forward(ours, upstream):
            break
        if upstream in ready and not forward(upstream, ours):
            break
    ours.close()
    upstream.close()
    _, status = os.waitpid(child, 0)
    code = os.waitstatus_to_exitcode(status)
    sys.exit(128 - code if code < 0 else code)


if __name__ == "__main__":
    if sys.argv[1] == "direct":
        become(sys.argv[2:], compositor())
    relay(sys.argv[2], sys.argv[3:])
