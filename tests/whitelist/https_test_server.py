#!/usr/bin/python3
"""Serves the files of a directory over HTTPS on 127.0.0.1 for the download tests.

Prints "READY <port>" once it listens. With --truncate every file is announced longer than it
is and the connection ends after what there is: a download cut short. With --stall the first
half of a file goes out, "STALLED" is printed, and nothing more comes until the client gives up:
a download to cancel.
"""
import argparse
import http.server
import os
import ssl
import sys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--truncate", action="store_true")
    parser.add_argument("--stall", action="store_true")
    options = parser.parse_args()

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            path = os.path.join(options.dir, os.path.basename(self.path))
            if not os.path.isfile(path):
                self.send_error(404)
                return
            with open(path, "rb") as file:
                body = file.read()
            self.send_response(200)
            self.send_header("Content-Length", str(len(body) + (1000 if options.truncate else 0)))
            self.end_headers()
            if options.stall:
                self.wfile.write(body[:len(body) // 2])
                self.wfile.flush()
                print("STALLED", flush=True)
                # Returns when the client closes the connection.
                self.rfile.read(1)
                self.close_connection = True
                return
            self.wfile.write(body)
            self.wfile.flush()
            if options.truncate:
                self.close_connection = True

        def log_message(self, *args):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(options.cert, options.key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    print("READY %d" % server.server_address[1], flush=True)
    server.serve_forever()


sys.exit(main())
