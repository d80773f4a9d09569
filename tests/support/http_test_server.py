#!/usr/bin/env python3
"""A web server on 127.0.0.1 for the tests of the program's HTTP transfers.

Serves the files of the folder named on the command line under /files/, plus answers that
misbehave on purpose. Prints its port on the first line of standard output, then serves until
it is killed or for at most ten minutes.
"""
import http.server
import os
import sys
import threading
import time

ROOT = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, body, status=200, ctype="application/octet-stream"):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path.split("?")[0]
        if path.startswith("/files/"):
            name = os.path.normpath(path[len("/files/"):]).lstrip("/")
            full = os.path.join(ROOT, name)
            if ".." in name or not os.path.isfile(full):
                return self.send_body(b"not here", 404, "text/plain")
            with open(full, "rb") as f:
                return self.send_body(f.read())
        if path.startswith("/status/"):
            code = int(path.rsplit("/", 1)[1])
            return self.send_body(b"<html>error</html>", code, "text/html")
        if path.startswith("/redirect/"):
            left = int(path.rsplit("/", 1)[1])
            self.send_response(302)
            self.send_header("Location", "/redirect/%d" % (left - 1) if left > 1 else "/files/redirected.txt")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return None
        if path == "/stall":
            # Headers and a little of the body, then silence for at most 20 seconds.
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"x" * 10)
            self.wfile.flush()
            for _ in range(200):
                time.sleep(0.1)
            return None
        if path == "/huge":
            # Declares more than any transfer may take.
            self.send_response(200)
            self.send_header("Content-Length", str(200 * 1024 * 1024))
            self.end_headers()
            chunk = b"y" * 65536
            try:
                for _ in range(200 * 16):
                    self.wfile.write(chunk)
            except OSError:
                pass
            return None
        if path == "/huge-unsized":
            # No length announced: the size shows only while the body streams (at most 120 MB).
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            chunk = b"z" * 65536
            try:
                for _ in range(120 * 16):
                    self.wfile.write(chunk)
            except OSError:
                pass
            self.close_connection = True
            return None
        if path == "/cut":
            # Announces 1000 bytes, sends 100 and hangs up.
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"c" * 100)
            self.wfile.flush()
            self.close_connection = True
            return None
        if path == "/http09":
            # A body with no status line and no headers before it.
            self.wfile.write(b"<html>no status line</html>")
            self.close_connection = True
            return None
        if path in ("/long-header", "/header-flood"):
            # One header line of 200 KB, or 20 MB of short header lines.
            self.wfile.write(b"HTTP/1.1 200 OK\r\n")
            try:
                if path == "/long-header":
                    self.wfile.write(b"X-Long: " + b"h" * 200 * 1024 + b"\r\n")
                else:
                    for i in range(20 * 1024 * 1024 // 64):
                        self.wfile.write(b"X-Flood-%d: %s\r\n" % (i, b"f" * 40))
                self.wfile.write(b"Content-Length: 0\r\n\r\n")
            except OSError:
                pass
            self.close_connection = True
            return None
        return self.send_body(b"not here", 404, "text/plain")


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Timer(600, server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
