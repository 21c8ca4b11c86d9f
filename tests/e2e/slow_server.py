"""A leaderboard that takes 5 s over every answer: /health says it is there, a session comes with a
seed, and anything else is 503. Only its slowness matters: the game must never wait for it.
    python3 slow_server.py PORT"""
import http.server
import json
import sys
import time


class Slow(http.server.BaseHTTPRequestHandler):
    def answer(self, status, body):
        time.sleep(5)
        data = json.dumps(body).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        if self.path == "/health":
            self.answer(200, {"status": "ok"})
        else:
            self.answer(503, {"error": "unavailable", "reason": "slow on purpose"})

    def do_POST(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        if self.path == "/api/v1/sessions":
            self.answer(200, {"token": "1.0.0.7.slow", "seed": "7", "issued": "", "daily": False})
        else:
            self.answer(503, {"error": "unavailable", "reason": "slow on purpose"})

    def log_message(self, *args):
        pass


http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Slow).serve_forever()
