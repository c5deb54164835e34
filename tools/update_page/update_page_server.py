#!/usr/bin/env python3
"""Local HTTPS stand-in for VELKOR's update page (demo and start-up benchmark):

    update_page_server.py --state-dir DIR [--lifetime SECONDS] [--mode MODE] [--delay SECONDS]

Makes a throw-away CA and two server certificates in DIR, listens on three
ports of 127.0.0.1 and then writes DIR/ready.json with "url" (certificate
signed by the CA), "untrusted_url" (self-signed, always the marker page),
"plain_url" (plain http, always the marker page; every request it gets adds
a line to DIR/plain-requests) and "ca" (DIR/ca.pem). The url serves the mode
named in DIR/mode, read for every connection (missing or empty: marker;
rename a new file over it to switch):

    marker         200, a download page naming Vornix_2023_Update2023_06_30.exe,
                   answered after --delay seconds (default 0)
    drip           200, the page behind a long preamble, a byte every tenth
                   of a second (minutes in all)
    hang           the request is read and never answered, until the client goes
    redirect-https 302 to the same page under /moved/ on this server, by a
                   relative address, which serves the marker page
    redirect-http  302 to the marker page at plain_url
    redirect-loop  302 to this same address, every time

Stops on SIGTERM or SIGINT, and by itself after --lifetime seconds (600).
"""

import argparse
import http.server
import json
import os
import signal
import socketserver
import ssl
import subprocess
import sys
import threading
from pathlib import Path

PAGE_PATH = "/software-updates/"
UPDATE_FILE = "Vornix_2023_Update2023_06_30.exe"
PAGE = ("<!DOCTYPE html>\n<html><head><title>VELKOR - Software updates</title></head><body>\n"
        f"<h1>Vornix 2023</h1>\n<p><a href=\"/downloads/{UPDATE_FILE}\">{UPDATE_FILE}</a> (48.2 MB)</p>\n"
        "</body></html>\n").encode()
# What "drip" sends: the page behind a long preamble, so no date arrives in time.
DRIPPED = b" " * 4096 + PAGE
# Wine's WinINet compares the host of an address with the DNS names only,
# hence DNS:127.0.0.1 beside IP:127.0.0.1.
NAMES = "subjectAltName=DNS:localhost,DNS:127.0.0.1,IP:127.0.0.1"
stopping = threading.Event()


def openssl(*args):
    result = subprocess.run(["openssl", *args], capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"openssl {args[0]} failed: {result.stderr.strip()}")


def make_certificates(state):
    """The CA and the server certificate it signs, and a self-signed one."""
    f = {k: str(state / f"{k}.pem") for k in ("ca", "ca-key", "server", "server-key", "csr",
                                              "untrusted", "untrusted-key")}
    key = ["-newkey", "rsa:2048", "-nodes", "-sha256"]
    openssl("req", "-x509", *key, "-days", "30", "-subj", "/O=Vornix/CN=Vornix Update Page CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", "-keyout", f["ca-key"], "-out", f["ca"])
    openssl("req", "-new", *key, "-subj", "/CN=localhost", "-keyout", f["server-key"], "-out", f["csr"])
    extensions = state / "server-ext.cnf"
    extensions.write_text("basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\n"
                          "extendedKeyUsage=serverAuth\nsubjectKeyIdentifier=hash\n"
                          f"authorityKeyIdentifier=keyid,issuer\n{NAMES}\n")
    openssl("x509", "-req", "-sha256", "-days", "30", "-in", f["csr"], "-CA", f["ca"],
            "-CAkey", f["ca-key"], "-CAcreateserial", "-extfile", str(extensions), "-out", f["server"])
    openssl("req", "-x509", *key, "-days", "30", "-subj", "/O=Nobody/CN=localhost", "-addext", NAMES,
            "-keyout", f["untrusted-key"], "-out", f["untrusted"])
    return f


class Server(socketserver.ThreadingTCPServer):
    # A thread per connection, as daemons: a held connection neither blocks
    # another nor keeps the process alive once it stops.
    daemon_threads = True

    def __init__(self, cert, key, mode, delay, plain_url=lambda: "", request_log=None):
        # No certificate: plain http.
        self.context = None
        if cert is not None:
            self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.context.load_cert_chain(cert, key)
        self.mode, self.delay = mode, delay
        self.plain_url, self.request_log = plain_url, request_log
        super().__init__(("127.0.0.1", 0), Handler)

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], OSError):  # a client that goes away is no error
            super().handle_error(request, client_address)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = 60

    def setup(self):
        # The handshake on the connection's own thread: a client that says
        # nothing must not keep others from being accepted.
        self.request.settimeout(30)
        if self.server.context is not None:
            self.request = self.server.context.wrap_socket(self.request, server_side=True)
        self.mode = self.server.mode()
        super().setup()

    def log_message(self, *args):
        pass

    def do_GET(self):
        self.close_connection = True
        if self.server.request_log is not None:
            with open(self.server.request_log, "a") as log:
                log.write(self.path + "\n")
        if self.mode == "hang":
            self.connection.settimeout(None)
            while self.connection.recv(4096):
                pass
            return
        if self.mode == "drip":
            return self.drip()
        path = self.path.split("?")[0]
        if self.mode == "redirect-https" and path == PAGE_PATH:
            return self.redirect("/moved" + PAGE_PATH)
        if self.mode == "redirect-http":
            return self.redirect(self.server.plain_url())
        if self.mode == "redirect-loop":
            return self.redirect(PAGE_PATH)
        if self.mode not in ("marker", "redirect-https"):
            print(f"update_page_server: unknown mode {self.mode!r}", file=sys.stderr, flush=True)
            return self.answer(500, b"unknown mode\n")
        if path not in (PAGE_PATH, "/moved" + PAGE_PATH):
            return self.answer(404, b"not found\n")
        if not stopping.wait(self.server.delay):
            self.answer(200, PAGE)

    def drip(self):
        # The page, a byte every tenth of a second: it would take minutes.
        self.send_response(200)
        self.send_header("Content-Length", str(len(DRIPPED)))
        self.send_header("Connection", "close")
        self.end_headers()
        for byte in DRIPPED:
            if stopping.wait(0.1):
                return
            try:
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
            except OSError:
                return

    def redirect(self, location):
        # A body that names the update too: a client that read it as the
        # page would find the update, so a test sees the redirect taken
        # where it should not be.
        self.answer(302, PAGE, (("Location", location),))

    def answer(self, code, body, extra=()):
        self.send_response(code)
        for name, value in (("Content-Type", "text/html; charset=utf-8"), ("Cache-Control", "no-store"),
                            ("Content-Length", str(len(body))), ("Connection", "close")) + tuple(extra):
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser(description="Local HTTPS stand-in for VELKOR's update page.")
    parser.add_argument("--state-dir", required=True, type=Path)
    parser.add_argument("--lifetime", type=float, default=600.0)
    parser.add_argument("--mode", help="the first mode, written to STATE_DIR/mode")
    parser.add_argument("--delay", type=float, default=0.0, help="seconds before the marker page")
    options = parser.parse_args()
    state = options.state_dir.resolve()
    state.mkdir(parents=True, exist_ok=True)
    mode_file = state / "mode"
    if options.mode is not None:
        mode_file.write_text(options.mode + "\n")
    for signum in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, lambda *_: stopping.set())

    def trusted_mode():
        try:
            return mode_file.read_text().strip() or "marker"
        except FileNotFoundError:
            return "marker"

    try:
        f = make_certificates(state)
    except (RuntimeError, OSError) as e:
        print(f"update_page_server: {e}", file=sys.stderr)
        return 1
    plain = Server(None, None, lambda: "marker", options.delay, request_log=state / "plain-requests")
    plain_url = f"http://127.0.0.1:{plain.server_address[1]}{PAGE_PATH}"
    servers = [Server(f["server"], f["server-key"], trusted_mode, options.delay, lambda: plain_url),
               Server(f["untrusted"], f["untrusted-key"], lambda: "marker", options.delay), plain]
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    urls = [f"https://127.0.0.1:{server.server_address[1]}{PAGE_PATH}" for server in servers[:2]]
    (state / "ready.json.tmp").write_text(
        json.dumps({"url": urls[0], "untrusted_url": urls[1], "plain_url": plain_url, "ca": f["ca"]}))
    os.replace(state / "ready.json.tmp", state / "ready.json")

    stopping.wait(options.lifetime)
    stopping.set()
    for server in servers:
        server.shutdown()
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
