"""A time-stamp authority on the loopback for the signing tests: answers each RFC 3161 request
POSTed to it with `openssl ts -reply`, signed by the test's own time-stamping certificate.

Usage: timestamp_server.py CONFIG READY_FILE
  CONFIG      an OpenSSL configuration with a [tsa] section naming the signer, its key and chain
  READY_FILE  written once it listens: "READY PORT" (a free port it chose)
"""
import http.server
import os
import subprocess
import sys
import tempfile

CONFIG, READY = sys.argv[1:3]


class Responder(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        with tempfile.TemporaryDirectory() as work:
            query_file = os.path.join(work, "query.tsq")
            with open(query_file, "wb") as out:
                out.write(query)
            answer = subprocess.run(
                ["openssl", "ts", "-reply", "-config", CONFIG, "-queryfile", query_file],
                capture_output=True)
        if answer.returncode != 0 or not answer.stdout:
            sys.stderr.write(answer.stderr.decode(errors="replace"))
            self.send_error(500)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(answer.stdout)))
        self.end_headers()
        self.wfile.write(answer.stdout)

    def log_message(self, form, *args):
        sys.stderr.write("timestamp_server: " + form % args + "\n")


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Responder)
with open(READY + ".tmp", "w") as ready:
    ready.write("READY %d\n" % server.server_address[1])
os.replace(READY + ".tmp", READY)
server.serve_forever()
