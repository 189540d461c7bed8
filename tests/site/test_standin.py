#!/usr/bin/env python3
"""Tests for the loopback stand-in (standin.py), driven over raw sockets."""

import html
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
STANDIN = os.path.join(HERE, 'standin.py')

MAIN = 'www.lanpu.example'
KEY = 'jidiao.lanpu.example'
NOT_FOUND = '未找到'
START_MARKERS = ['id="start"', '<title>岚谱基调查询 首页</title>',
                 '在上方输入歌曲名称，查询电音基调']


def request(line, host=None, ending=b'\r\n'):
    """A request with the given line (str is sent as UTF-8) and optional Host."""
    if isinstance(line, str):
        line = line.encode('utf-8')
    head = line + ending
    if host is not None:
        head += f'Host: {host}\r\n'.encode()
    return head + b'User-Agent: standin-test\r\n\r\n'


def exchange(port, data, timeout=15):
    """Send data, read until the server closes; returns (bytes, seconds)."""
    began = time.monotonic()
    chunks = []
    with socket.create_connection(('127.0.0.1', port), timeout=timeout) as sock:
        sock.sendall(data)
        while True:
            try:
                chunk = sock.recv(65536)
            except ConnectionResetError:
                break
            if not chunk:
                break
            chunks.append(chunk)
    return b''.join(chunks), time.monotonic() - began


def field(body, ident):
    m = re.search(rf'id="{ident}"[^>]*>(.*?)</span>', body, re.S)
    return html.unescape(m.group(1)) if m else None


class StandInCase(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.procs = []
        self.runs = 0

    def tearDown(self):
        for proc in self.procs:
            if proc.poll() is None:
                proc.terminate()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
            proc.stdout.close()

    def start(self, mode='normal'):
        """Start a stand-in; sets self.port, self.log_path, self.proc."""
        self.runs += 1
        run = os.path.join(self.tmp.name, f'{self.runs}-{mode}')
        port_file = run + '.port'
        self.log_path = run + '.log'
        stderr = open(run + '.stderr', 'wb')
        self.addCleanup(stderr.close)
        self.proc = subprocess.Popen(
            [sys.executable, STANDIN, '--port-file', port_file,
             '--log', self.log_path, '--mode', mode],
            stdout=subprocess.PIPE, stderr=stderr)
        self.procs.append(self.proc)
        deadline = time.monotonic() + 10
        while not os.path.exists(port_file):
            if self.proc.poll() is not None:
                self.fail(f'stand-in exited with {self.proc.returncode}')
            if time.monotonic() > deadline:
                self.fail('stand-in did not write its port file within 10 s')
            time.sleep(0.02)
        with open(port_file) as f:
            self.port_text = f.read()
        self.port = int(self.port_text)
        return self.proc

    def fetch(self, line, host=None):
        """One request; checks the framing every answer must have."""
        head_only = line.startswith('HEAD ')
        raw, _ = exchange(self.port, request(line, host))
        head, sep, body = raw.partition(b'\r\n\r\n')
        self.assertTrue(sep, f'no header end in answer to {line!r}')
        status_line, *header_lines = head.decode('latin-1').split('\r\n')
        headers = {}
        for h in header_lines:
            name, _, value = h.partition(':')
            headers[name.strip().lower()] = value.strip()
        self.assertEqual(headers.get('content-type'), 'text/html; charset=utf-8')
        self.assertEqual(headers.get('cache-control'), 'no-store')
        # a HEAD answer announces the GET body's length but carries no body
        self.assertEqual(len(body), 0 if head_only else int(headers['content-length']))
        return int(status_line.split()[1]), headers, body.decode('utf-8')

    def log_lines(self):
        with open(self.log_path, 'rb') as f:
            return f.read().split(b'\n')[:-1]


# (request line, Host header or None, status, texts the body must contain)
PAGE_CASES = [
    # the start page, as a proxy client and as a plain client would ask
    (f'GET http://{MAIN}/dy/jd/index.html HTTP/1.1', MAIN, 200, START_MARKERS),
    (f'GET http://{MAIN}:80/dy/jd/index.html HTTP/1.1', f'{MAIN}:80', 200, START_MARKERS),
    ('GET http://WWW.Lanpu.EXAMPLE/dy/jd/index.html HTTP/1.1', None, 200, START_MARKERS),
    ('GET /dy/jd/index.html HTTP/1.1', f'{MAIN}:80', 200, START_MARKERS),
    (f'GET http://{MAIN}/dy/jd/index.html HTTP/1.0', None, 200, START_MARKERS),
    # the absolute URL wins over a disagreeing Host header
    (f'GET http://{MAIN}/dy/jd/index.html HTTP/1.1', 'other.example', 200, START_MARKERS),
    # site roots
    (f'GET http://{MAIN}/ HTTP/1.1', MAIN, 200, ['id="root"', MAIN]),
    (f'GET http://{KEY}/ HTTP/1.1', KEY, 200, ['id="root"', KEY]),
    (f'GET http://{KEY} HTTP/1.1', KEY, 200, ['id="root"', KEY]),
    ('GET / HTTP/1.1', KEY, 200, ['id="root"', KEY]),
    # the dialog page
    (f'GET http://{MAIN}/test/alert.html HTTP/1.1', MAIN, 200,
     ['alert("hello")', 'confirm("?")', 'prompt("?")', 'document.title = "after-dialogs"']),
    # pages belong to one host only
    (f'GET http://{MAIN}/nope.html HTTP/1.1', MAIN, 404, ['id="not-found"']),
    (f'GET http://{KEY}/dy/jd/index.html HTTP/1.1', KEY, 404, ['id="not-found"']),
    (f'GET http://{MAIN}/m/search.php?q=x HTTP/1.1', MAIN, 404, ['id="not-found"']),
    # anything else is refused, never forwarded
    ('GET http://elsewhere.example/ HTTP/1.1', 'elsewhere.example', 502,
     ['id="bad-host"', 'elsewhere.example']),
    ('GET http://elsewhere.example/ HTTP/1.1', MAIN, 502, ['id="bad-host"']),
    ('GET / HTTP/1.1', None, 502, ['id="bad-host"']),
    (f'CONNECT {MAIN}:443 HTTP/1.1', f'{MAIN}:443', 405, ['id="bad-method"']),
    (f'POST http://{MAIN}/dy/jd/index.html HTTP/1.1', MAIN, 405, ['id="bad-method"']),
    ('BREW /pot HTCPCP/1.0', None, 400, ['id="bad-request"']),
]

# (query as sent, title shown, key shown, other parameters shown)
SEARCH_CASES = [
    ('q=Midnight%20Drive', 'Midnight Drive', 'A minor (8A)', []),
    ('q=midnight+DRIVE', 'midnight DRIVE', 'A minor (8A)', []),
    ('q=%20Neon%20Rain%20%20', ' Neon Rain  ', 'F# minor (11A)', []),
    ('q=%E6%98%9F%E6%B2%B3%E6%BC%AB%E6%B8%B8', '星河漫游', 'C major (8B)', []),
    ('q=星河漫游', '星河漫游', 'C major (8B)', []),  # raw UTF-8 bytes on the wire
    ('q=Rock%20%26%20Roll%20Tonight', 'Rock & Roll Tonight', 'E major (12B)', []),
    ('q=Rock%20&%20Roll%20Tonight', 'Rock ', NOT_FOUND, [(' Roll Tonight', '')]),
    ('q=%3Cscript%3Ealert(1)%3C/script%3E', '<script>alert(1)</script>', NOT_FOUND, []),
    ('q=%22%27%3E', '"\'>', NOT_FOUND, []),
    ('q=', '', NOT_FOUND, []),
    ('', '', NOT_FOUND, []),
    ('lang=zh&q=%E5%A4%9C%E8%88%AA&q=again', '夜航', 'D minor (7A)',
     [('lang', 'zh'), ('q', 'again')]),
    ('q=%FF%E5', '\ufffd\ufffd', NOT_FOUND, []),
]


class PageTests(StandInCase):
    def setUp(self):
        super().setUp()
        self.start()

    def test_pages(self):
        for line, host, status, markers in PAGE_CASES:
            with self.subTest(line=line, host=host):
                got, headers, body = self.fetch(line, host)
                self.assertEqual(got, status)
                for marker in markers:
                    self.assertIn(marker, body)
                if status == 405:
                    self.assertEqual(headers.get('allow'), 'GET, HEAD')

    def test_search(self):
        for query, title, key, others in SEARCH_CASES:
            with self.subTest(query=query):
                target = f'http://{KEY}/m/search.php' + (f'?{query}' if query else '')
                status, _, body = self.fetch(f'GET {target} HTTP/1.1', KEY)
                self.assertEqual(status, 200)
                self.assertEqual(field(body, 'title'), title)
                self.assertEqual(field(body, 'key'), key)
                self.assertIn(f'<title>基调：{html.escape(title)}</title>', body)
                self.assertNotIn('<script', body)
                shown = [html.unescape(p).split('=', 1) for p in
                         re.findall(r'<li class="param">(.*?)</li>', body)]
                self.assertEqual([tuple(p) for p in shown], others)

    def test_head_sends_headers_only(self):
        for url in [f'http://{MAIN}/dy/jd/index.html', f'http://{KEY}/m/search.php?q=夜航',
                    f'http://{MAIN}/missing']:
            with self.subTest(url=url):
                get_status, get_headers, _ = self.fetch(f'GET {url} HTTP/1.1')
                status, headers, body = self.fetch(f'HEAD {url} HTTP/1.1')
                self.assertEqual(status, get_status)
                self.assertEqual(headers['content-length'], get_headers['content-length'])

    def test_log_holds_request_lines_as_sent(self):
        sent = [
            (f'GET http://{MAIN}:80/dy/jd/index.html HTTP/1.1'.encode(), b'\r\n'),
            (f'GET http://{KEY}/m/search.php?q=星河漫游&x HTTP/1.1'.encode(), b'\r\n'),
            (b'GET http://elsewhere.example/caf\xe9 HTTP/1.1', b'\r\n'),  # latin-1 byte
            (f'CONNECT {MAIN}:443 HTTP/1.1'.encode(), b'\r\n'),
            (f'GET http://{MAIN}/  HTTP/1.1 '.encode(), b'\r\n'),    # odd spacing kept
            (f'HEAD http://{KEY}/ HTTP/1.1'.encode(), b'\n'),         # bare LF ending
            (b'BREW /pot HTCPCP/1.0', b'\r\n'),                       # not HTTP at all
        ]
        for line, ending in sent:
            reply, _ = exchange(self.port, request(line, ending=ending))
            self.assertTrue(reply.startswith(b'HTTP/1.'), line)
        self.assertEqual(self.log_lines(), [line for line, _ in sent])


class LifecycleTests(StandInCase):
    def test_announces_port_and_stops_on_signals(self):
        for sig in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=sig.name):
                proc = self.start()
                self.assertRegex(self.port_text, r'^[1-9][0-9]*\n$')
                self.assertEqual(proc.stdout.readline().decode(),
                                 f'listening on 127.0.0.1:{self.port}\n')
                proc.send_signal(sig)
                self.assertEqual(proc.wait(timeout=5), 0)
                self.procs.remove(proc)
                proc.stdout.close()


class FaultModeTests(StandInCase):
    LINE = f'GET http://{MAIN}/dy/jd/index.html HTTP/1.1'

    def test_garbage_mode_sends_no_http(self):
        self.start('garbage')
        reply, _ = exchange(self.port, request(self.LINE, MAIN))
        self.assertEqual(len(reply), 4096)
        self.assertFalse(reply.startswith(b'HTTP/'))
        self.assertEqual(self.log_lines(), [self.LINE.encode()])

    def test_close_mode_answers_nothing(self):
        self.start('close')
        reply, seconds = exchange(self.port, request(self.LINE, MAIN))
        self.assertEqual(reply, b'')
        self.assertLess(seconds, 2)
        self.assertEqual(self.log_lines(), [self.LINE.encode()])

    def test_slow_mode_delays_each_request_independently(self):
        self.start('slow')
        lines = [self.LINE, f'GET http://{KEY}/ HTTP/1.1']
        results = {}

        def ask(line):
            results[line] = exchange(self.port, request(line))

        began = time.monotonic()
        threads = [threading.Thread(target=ask, args=(line,)) for line in lines]
        for t in threads:
            t.start()
        for t in threads:
            t.join(timeout=20)
        total = time.monotonic() - began
        for line in lines:
            reply, seconds = results[line]
            self.assertTrue(reply.startswith(b'HTTP/1.1 200 '), line)
            self.assertGreaterEqual(seconds, 4.9)
        self.assertLess(total, 8, 'slow requests were served one after another')
        self.assertEqual(sorted(self.log_lines()), sorted(l.encode() for l in lines))


if __name__ == '__main__':
    unittest.main()
