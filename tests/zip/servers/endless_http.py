#!/usr/bin/python3
"""A server whose data files never end.

Answers version.txt with a key above any real one, HEAD with a Last-Modified,
and every other GET with a body that looks like the file asked for (postal
data lines, or a ZIP header and then bytes) sent without a length, for ever,
until the client goes. Prints its port on the first line of output.
"""
import http.server
import sys

CHUNK_LINES = b"1000013,\x93\x8c\x8b\x9e\x93\x73\r\n" * 4096


class Handler(http.server.BaseHTTPRequestHandler):
    def do_HEAD(self):
        self.send_response(200)
        self.send_header("Last-Modified", "Sat, 31 Oct 2099 01:00:00 GMT")
        self.end_headers()

    def do_GET(self):
        if self.path.endswith("/version.txt"):
            body = b"99999999999999\r\nendless\r\n"
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        self.send_response(200)
        # No Content-Length: the body runs until the connection closes.
        self.send_header("Last-Modified", "Sat, 31 Oct 2099 01:00:00 GMT")
        self.end_headers()
        chunk = CHUNK_LINES
        if self.path.lower().endswith(".zip"):
            self.wfile.write(b"PK\x03\x04")
            chunk = bytes(len(CHUNK_LINES))
        try:
            while True:
                self.wfile.write(chunk)
        except (BrokenPipeError, ConnectionResetError):
            pass
        self.close_connection = True

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
