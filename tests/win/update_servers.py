#!/usr/bin/env python3
"""Runs a test program beside a set of small HTTP servers on 127.0.0.1 that
stand in for the vendor's update server, each with one way of answering.

    update_servers.py COMMAND [ARGS...]

Every server listens on a free port. The program finds them in
PAUSORA_UPDATE_SERVERS ("name=127.0.0.1:port;..."), and what each server
received (the request head, one file per request) in the folder named by
PAUSORA_UPDATE_LOG, as a Windows path. "refused" is a port nobody listens on.
The servers stop, and the folder goes, when the program ends; its exit code
is this script's.
"""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

MULTI_LINE = (b"Pausora 1.2 is out.\\nIt counts your breaks better.\\n\\n"
              b"Download it now?")
BIG_BODY_BYTES = 10 * 1024 * 1024


def response(status, body, extra=b""):
    head = (b"HTTP/1.1 " + status + b"\r\nContent-Type: text/plain\r\n"
            b"Content-Length: " + str(len(body)).encode() + b"\r\n" + extra +
            b"Connection: close\r\n\r\n")
    return head + body


def answer(status, body, extra=b""):
    def serve(conn, stop):
        conn.sendall(response(status, body, extra))
    return serve


def silent(conn, stop):
    stop.wait()


def drip(prefix):
    def serve(conn, stop):
        conn.sendall(prefix)
        while not stop.wait(0.5):
            conn.sendall(b"x")
    return serve


def big(conn, stop):
    conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                 str(BIG_BODY_BYTES).encode() + b"\r\nConnection: close\r\n\r\n")
    chunk = b"A" * 65536
    sent = 0
    while sent < BIG_BODY_BYTES and not stop.is_set():
        conn.sendall(chunk)
        sent += len(chunk)


def redirect(target_port):
    location = f"Location: http://127.0.0.1:{target_port}/elsewhere\r\n".encode()
    return answer(b"301 Moved Permanently", b"Moved", location)


class Server:
    def __init__(self, name, log_dir, stop):
        self.name = name
        self.log_dir = log_dir
        self.stop = stop
        self.behaviour = None
        self.count = 0
        self.lock = threading.Lock()
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(8)
        self.port = self.sock.getsockname()[1]

    def run(self):
        self.sock.settimeout(0.2)
        while not self.stop.is_set():
            try:
                conn, _ = self.sock.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            threading.Thread(target=self.handle, args=(conn,), daemon=True).start()

    def handle(self, conn):
        with conn:
            conn.settimeout(10)
            head = b""
            try:
                while b"\r\n\r\n" not in head and len(head) < 65536:
                    data = conn.recv(4096)
                    if not data:
                        break
                    head += data
            except OSError:
                pass
            with self.lock:
                self.count += 1
                path = os.path.join(self.log_dir, f"{self.name}.{self.count}.txt")
            with open(path + ".part", "wb") as log:
                log.write(head)
            os.replace(path + ".part", path)
            try:
                self.behaviour(conn, self.stop)
            except OSError:
                pass  # the client hung up, as it may


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    log_dir = tempfile.mkdtemp(prefix="pausora-update-")
    stop = threading.Event()
    names = ["none", "trailing", "lower", "multi", "empty", "status301", "status500",
             "silent", "drip_head", "drip_body", "big", "unused"]
    servers = {name: Server(name, log_dir, stop) for name in names}
    servers["none"].behaviour = answer(b"200 OK", b"No updates available")
    servers["trailing"].behaviour = answer(b"200 OK", b"No updates available\r\n")
    servers["lower"].behaviour = answer(b"200 OK", b"no updates available")
    servers["multi"].behaviour = answer(b"200 OK", MULTI_LINE)
    servers["empty"].behaviour = answer(b"200 OK", b"")
    servers["status301"].behaviour = redirect(servers["multi"].port)
    servers["status500"].behaviour = answer(b"500 Internal Server Error", b"Oops")
    servers["silent"].behaviour = silent
    servers["drip_head"].behaviour = drip(b"HTTP/1.1 200 OK\r\nX-Slow: ")
    servers["drip_body"].behaviour = drip(
        b"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n")
    servers["big"].behaviour = big
    servers["unused"].behaviour = answer(b"200 OK", b"This server should never be asked")

    # A port that was free a moment ago and has no listener now.
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    refused_port = probe.getsockname()[1]
    probe.close()

    threads = [threading.Thread(target=s.run, daemon=True) for s in servers.values()]
    for thread in threads:
        thread.start()
    listing = [f"{name}=127.0.0.1:{s.port}" for name, s in servers.items()]
    listing.append(f"refused=127.0.0.1:{refused_port}")
    env = dict(os.environ)
    env["PAUSORA_UPDATE_SERVERS"] = ";".join(listing)
    env["PAUSORA_UPDATE_LOG"] = "Z:" + log_dir.replace("/", "\\")
    # The program asks its servers directly, never through a proxy.
    for variable in ("http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"):
        env.pop(variable, None)
    try:
        code = subprocess.call(sys.argv[1:], env=env)
    finally:
        stop.set()
        for s in servers.values():
            s.sock.close()
        for thread in threads:
            thread.join(timeout=2)
        time.sleep(0.1)
        shutil.rmtree(log_dir, ignore_errors=True)
    sys.exit(code)


if __name__ == "__main__":
    main()
