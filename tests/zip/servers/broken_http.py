#!/usr/bin/python3
"""An update server that dies in the middle of the data file.

Serves version.txt whole, then announces a large zip.dat, sends a few lines of
it and closes the connection. Prints its port on the first line of output.
"""
import http.server
import sys


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.endswith("/version.txt"):
            body = sys.argv[1].encode("cp932") + b"\r\nnew data\r\n"
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        self.send_response(200)
        self.send_header("Content-Length", "5000000")
        self.end_headers()
        self.wfile.write(b"1000013,partial\r\n" * 100)
        self.wfile.flush()
        self.close_connection = True

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
