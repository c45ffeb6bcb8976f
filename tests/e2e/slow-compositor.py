#!/usr/bin/python3
"""A compositor made slow: relays each Wayland client of LISTEN to the compositor at UPSTREAM (both
socket paths), passing the client's requests on at once and the compositor's events (frame
callbacks, presentation feedback and all) DELAY seconds late, descriptors included, in order.

slow-compositor.py LISTEN UPSTREAM DELAY
"""
import array
import os
import queue
import socket
import sys
import threading
import time

FDS = 28  # libwayland sends at most 28 descriptors a message


def receive(sock):
    fds = array.array("i")
    data, ancillary, _, _ = sock.recvmsg(4096, socket.CMSG_LEN(FDS * fds.itemsize))
    for level, kind, payload in ancillary:
        if level == socket.SOL_SOCKET and kind == socket.SCM_RIGHTS:
            fds.frombytes(payload[: len(payload) - len(payload) % fds.itemsize])
    return data, list(fds)


def send(sock, data, fds):
    ancillary = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, array.array("i", fds))] if fds else []
    sock.sendmsg([data], ancillary)
    for fd in fds:
        os.close(fd)


def forward(source, sink, delay):
    """What SOURCE sends, passed to SINK DELAY seconds after it came, in order, until an end closes."""
    waiting = queue.Queue()

    def reader():
        try:
            while True:
                data, fds = receive(source)
                waiting.put((time.monotonic() + delay, data, fds))
                if not data:
                    return
        except OSError:
            waiting.put((0.0, b"", []))

    threading.Thread(target=reader, daemon=True).start()
    while True:
        due, data, fds = waiting.get()
        time.sleep(max(0.0, due - time.monotonic()))
        if not data:
            break
        try:
            send(sink, data, fds)
        except OSError:
            break
    for end in (source, sink):
        end.close()


def main():
    listen, upstream, delay = sys.argv[1], sys.argv[2], float(sys.argv[3])
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(listen)
    server.listen()
    while True:
        client, _ = server.accept()
        compositor = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        compositor.connect(upstream)
        threading.Thread(target=forward, args=(client, compositor, 0.0), daemon=True).start()
        threading.Thread(target=forward, args=(compositor, client, delay), daemon=True).start()


main()
