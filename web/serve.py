"""Serves the built page on the loopback: python3 web/serve.py SITE_FOLDER [PORT].

Any static web server does; this one is here so that `./tavimor.sh web` and the browser tests
need nothing else. It serves only 127.0.0.1, where a browser allows the service worker."""

import functools
import http.server
import sys

# Types a browser insists on for a module worker, the engine and the manifest.
TYPES = {".js": "text/javascript", ".wasm": "application/wasm",
         ".webmanifest": "application/manifest+json", ".svg": "image/svg+xml"}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def log_message(self, format, *args):  # noqa: A002 (the base class's name)
        pass


def make_server(folder, port=0):
    """A server of folder on 127.0.0.1 (port 0: any free one); serve_forever() runs it."""
    handler = functools.partial(Handler, directory=folder)
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)


if __name__ == "__main__":
    server = make_server(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 8080)
    print(f"Tavimor is served on http://127.0.0.1:{server.server_address[1]}/ "
          "(Ctrl+C stops it)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
