#!/usr/bin/env python3
"""The update server of the self-update end-to-end test, on the loopback interface.

Serves the files below ROOT by their path; the query is not looked at. A missing file is a 404.
Every request is logged on arrival, one line each, flushed at once:

    REQUEST <n> <target> <status> stamp=<now|other|none> [<watched>=<yes|no> ...]

stamp=now: the query is the local time of a moment near the request, written yyyymdhanas (the
year, then month, day and hour without leading zeros, "a", the minute, "a", the second).
<watched>: whether that file exists at the moment the request arrives (--watch, repeatable).

A file F with a file F.hold beside it is sent in part: the headers and the first half of the
bytes, then a trickle of a few bytes at a time until F.release appears (bounded by
--hold-seconds), then the rest; when the bound passes first, the connection is dropped and the
download fails.

Servers that misbehave on purpose, by other files beside F:
  F.status    holds a status code, sent with F's bytes as the body (an error page, say)
  F.trickle   the headers announce F's length, then one byte a second (bounded by --hold-seconds)
  F.endless   no length announced, F's bytes sent again and again until the client goes away
  F.cut       the headers announce F's length, half of the bytes come, and the connection closes
"""

import argparse
import datetime
import os
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import unquote

# How far the time stamp may lie from the moment the request arrives, in seconds.
STAMP_EARLIEST = -30
STAMP_LATEST = 2
# While a file is held: how often the release is looked for, and how many bytes go out each time
# (little enough that the file never completes before the release).
HOLD_POLL_SECONDS = 0.1
HOLD_TRICKLE_BYTES = 16


def time_stamp(moment):
    return (f"{moment.year}{moment.month}{moment.day}{moment.hour}"
            f"a{moment.minute}a{moment.second}")


def stamp_verdict(target, arrived):
    if "?" not in target:
        return "none"
    query = target.split("?", 1)[1]
    for offset in range(STAMP_EARLIEST, STAMP_LATEST + 1):
        if query == time_stamp(arrived + datetime.timedelta(seconds=offset)):
            return "now"
    return "other"


class Log:
    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8")
        self._lock = threading.Lock()
        self._count = 0

    def request(self, fields):
        with self._lock:
            self._count += 1
            self._write(f"REQUEST {self._count} " + " ".join(fields))

    def line(self, text):
        with self._lock:
            self._write(text)

    def _write(self, text):
        self._file.write(text + "\n")
        self._file.flush()


def make_handler(root, watched, hold_seconds, log):
    class Handler(BaseHTTPRequestHandler):
        # One request per connection, as the client is told.
        protocol_version = "HTTP/1.0"

        def do_GET(self):
            arrived = datetime.datetime.now()
            target = self.path
            local = os.path.join(root, unquote(target.split("?", 1)[0]).lstrip("/"))
            found = os.path.isfile(local)
            status = 200 if found else 404
            if found and os.path.exists(local + ".status"):
                with open(local + ".status") as f:
                    status = int(f.read().strip())
            fields = [target, str(status), "stamp=" + stamp_verdict(target, arrived)]
            fields += [f"{os.path.basename(w)}={'yes' if os.path.exists(w) else 'no'}"
                       for w in watched]
            log.request(fields)
            if not found:
                body = b"<html><body>404 Not Found</body></html>"
                self.send_response(404)
                self.send_header("Content-Type", "text/html")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                return
            with open(local, "rb") as f:
                body = f.read()
            if os.path.exists(local + ".endless"):
                self.send_endless(target, body)
                return
            self.send_response(status)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if os.path.exists(local + ".trickle"):
                self.send_trickle(target, body)
                return
            if os.path.exists(local + ".cut"):
                self.wfile.write(body[:len(body) // 2])
                self.wfile.flush()
                self.close_connection = True
                log.line(f"CUT {target} after {len(body) // 2}/{len(body)}")
                return
            if not os.path.exists(local + ".hold"):
                self.wfile.write(body)
                log.line(f"SENT {target}")
                return
            sent = len(body) // 2
            self.wfile.write(body[:sent])
            self.wfile.flush()
            log.line(f"HOLD {target} {sent}/{len(body)}")
            deadline = time.monotonic() + hold_seconds
            while not os.path.exists(local + ".release"):
                if time.monotonic() > deadline:
                    log.line(f"HOLD-TIMEOUT {target}: the connection is dropped")
                    self.close_connection = True
                    return
                time.sleep(HOLD_POLL_SECONDS)
                # A few bytes now and then, as from a slow line: the client reads what has come
                # when more arrives, and reports it.
                if sent + HOLD_TRICKLE_BYTES < len(body):
                    self.wfile.write(body[sent:sent + HOLD_TRICKLE_BYTES])
                    self.wfile.flush()
                    sent += HOLD_TRICKLE_BYTES
            self.wfile.write(body[sent:])
            log.line(f"SENT {target} after the release")

        def send_trickle(self, target, body):
            deadline = time.monotonic() + hold_seconds
            log.line(f"TRICKLE {target}")
            try:
                for i in range(len(body)):
                    if time.monotonic() > deadline:
                        log.line(f"TRICKLE-TIMEOUT {target} after {i} bytes")
                        return
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
                    time.sleep(1)
            except OSError:
                log.line(f"TRICKLE-GONE {target}: the client went away")
                return
            log.line(f"SENT {target}")

        def send_endless(self, target, body):
            # HTTP/1.0 without a length: the body ends only when the connection does.
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.end_headers()
            sent = 0
            deadline = time.monotonic() + hold_seconds
            log.line(f"ENDLESS {target}")
            try:
                while time.monotonic() < deadline:
                    self.wfile.write(body)
                    sent += len(body)
            except OSError:
                log.line(f"ENDLESS-GONE {target}: the client went away after {sent} bytes")
                return
            log.line(f"ENDLESS-TIMEOUT {target} after {sent} bytes")

        def log_message(self, format, *args):  # the request log above says it all
            pass

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--watch", action="append", default=[])
    parser.add_argument("--hold-seconds", type=float, default=300)
    options = parser.parse_args()
    log = Log(options.log)
    handler = make_handler(options.root, options.watch, options.hold_seconds, log)
    try:
        server = ThreadingHTTPServer(("127.0.0.1", options.port), handler)
    except OSError as error:
        log.line(f"CANNOT-LISTEN 127.0.0.1:{options.port}: {error}")
        raise SystemExit(1)
    server.daemon_threads = True
    log.line(f"READY 127.0.0.1:{options.port}")
    server.serve_forever(poll_interval=0.1)


if __name__ == "__main__":
    main()
