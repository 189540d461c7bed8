#!/usr/bin/env python3
"""Loopback stand-in for the two lookup web sites.

The tests point the client at this process as its HTTP proxy
(http_proxy=http://127.0.0.1:PORT).  It never opens a connection of its own:
every request is answered here, whatever host it names.

Every request line is appended to --log exactly as received (the raw bytes,
without the line ending), one per line, flushed at once so tests can poll it.
"""

import argparse
import html
import os
import re
import signal
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SLOW_SECONDS = 5
GARBAGE_BYTES = 4096
NOT_FOUND = '未找到'

# Fictional tracks; looked up by trimmed, case-folded title.
TRACKS = {
    'Midnight Drive': 'A minor (8A)',
    '星河漫游': 'C major (8B)',
    'Neon Rain': 'F# minor (11A)',
    'Rock & Roll Tonight': 'E major (12B)',
    '夜航': 'D minor (7A)',
    'Paper Lanterns': 'G major (9B)',
    '潮汐之声': 'B♭ minor (3A)',
    'Static Bloom': 'E minor (9A)',
}
KEYS = {title.casefold(): key for title, key in TRACKS.items()}

STYLE = """
body { font-family: "Noto Sans CJK SC", "Microsoft YaHei", sans-serif;
       margin: 0; background: #f4f6fa; color: #222; }
main { max-width: 36em; margin: 2em auto; padding: 1.5em 2em; background: #fff;
       border-radius: 8px; box-shadow: 0 1px 4px rgba(0,0,0,.12); }
h1 { margin-top: 0; color: #2a4b8d; font-size: 1.5em; }
.hint { color: #555; }
.key { font-size: 1.4em; font-weight: bold; color: #1b7f4c; }
.missing { color: #a33; }
li { margin: .3em 0; }
a { color: #2a4b8d; }
"""


def esc(text):
    return html.escape(text, quote=True)


def page(title, body, script=''):
    """A complete UTF-8 page; title and body are already escaped."""
    if script:
        script = f'<script>{script}</script>'
    return (f'<!DOCTYPE html>\n<html lang="zh-CN"><head><meta charset="utf-8">'
            f'<title>{title}</title><style>{STYLE}</style>{script}</head>\n'
            f'<body>{body}</body></html>\n')


def start_page(key_host):
    examples = ''.join(
        f'<li><a href="http://{esc(key_host)}/m/search.php?q='
        f'{urllib.parse.quote(name)}">{esc(name)}</a></li>'
        for name in list(TRACKS)[:4])
    return page('岚谱基调查询 首页', f"""<main id="start">
<h1>岚谱基调查询</h1>
<p class="hint">在上方输入歌曲名称，查询电音基调</p>
<h2>示例曲目</h2>
<ul id="examples">{examples}</ul>
</main>""")


def search_page(query):
    # Raw non-ASCII bytes in the query (the request line was read as latin-1)
    # are treated as if they had been percent-encoded.
    query = re.sub(r'[^\x00-\x7f]', lambda m: '%%%02X' % ord(m.group()), query)
    params = urllib.parse.parse_qsl(query, keep_blank_values=True,
                                    encoding='utf-8', errors='replace')
    title, others = '', []
    for i, (name, value) in enumerate(params):
        if name == 'q':
            title, others = value, params[:i] + params[i + 1:]
            break
    else:
        others = params
    key = KEYS.get(title.strip().casefold())
    shown = (f'<span id="key" class="key">{esc(key)}</span>' if key else
             f'<span id="key" class="key missing">{NOT_FOUND}</span>')
    items = ''.join(f'<li class="param">{esc(n)}={esc(v)}</li>' for n, v in others)
    return page(f'基调：{esc(title)}', f"""<main id="result">
<h1>基调查询结果</h1>
<p>歌曲：<span id="title">{esc(title)}</span></p>
<p>基调：{shown}</p>
<h2>其他参数</h2>
<ul id="params">{items}</ul>
</main>""")


def root_page(host):
    return page(esc(host), f'<main id="root"><h1>{esc(host)}</h1>'
                           f'<p class="hint">站点根目录</p></main>')


ALERT_SCRIPT = """
window.addEventListener('load', function () {
  alert("hello");
  confirm("?");
  prompt("?");
  document.title = "after-dialogs";
  // Reaches the stand-in only once every dialog has been answered.
  new Image().src = "/dialogs-done";
});
"""


def alert_page():
    return page('dialogs', '<main id="alert-test"><h1>对话框测试</h1></main>',
                ALERT_SCRIPT)


# What a result page may hold that asks for a new window, each in its own box at a fixed place
# (left, top; 280 x 30 pixels), so a test can click it: (id, element).
NEW_WINDOW_ITEMS = [
    ('blank-http', '<a target="_blank" href="http://{main}/opened/blank">新窗口 http</a>'),
    ('blank-https', '<a target="_blank" href="https://{key}/opened/secure">新窗口 https</a>'),
    ('script-open', '<button onclick="window.open(\'http://{key}/opened/script\')">脚本打开</button>'),
    ('plain-link', '<a href="http://{key}/m/search.php?q=Neon%20Rain">本窗口</a>'),
    ('blank-file', '<a target="_blank" href="file:///etc/hostname">文件</a>'),
    ('blank-custom', '<a target="_blank" href="keylookup-test:opened">自定义</a>'),
    ('blank-smb', '<a target="_blank" href="smb://{main}/share">共享</a>'),
    ('script-file', '<button onclick="window.open(\'file:///etc/hostname\')">脚本文件</button>'),
]
NEW_WINDOW_BOX = (280, 30)


def new_window_place(index):
    """Where item index sits in the page: two columns, rows 40 pixels apart."""
    return (index % 2) * 300, (index // 2) * 40


NEW_WINDOW_SCRIPT = """
window.addEventListener('load', function () {
  // Nobody clicked: a pop-up blocker drops this.
  window.open("http://%s/opened/on-load");
  new Image().src = "/new-windows-loaded";
});
"""


def new_window_page(main_host, key_host):
    boxes = ''.join(
        f'<div id="{name}" style="position:absolute;left:{x}px;top:{y}px;'
        f'width:{NEW_WINDOW_BOX[0]}px;height:{NEW_WINDOW_BOX[1]}px">'
        + element.format(main=esc(main_host), key=esc(key_host)).replace(
            '>', ' style="display:block;width:100%;height:100%;margin:0">', 1)
        + '</div>'
        for i, (name, element) in enumerate(NEW_WINDOW_ITEMS)
        for x, y in [new_window_place(i)])
    return page('new windows', f'<main id="new-windows" style="margin:0">{boxes}</main>',
                NEW_WINDOW_SCRIPT % main_host)


def error_page(marker, heading, detail):
    return page(esc(heading), f'<main id="{marker}"><h1>{esc(heading)}</h1>'
                              f'<p>{esc(detail)}</p></main>')


def route(host, path, query, main_host, key_host, dialogs=False, new_windows=False):
    """Return (status, html) for a GET of path?query on host."""
    start = lambda: start_page(key_host)  # noqa: E731
    if dialogs:
        start = alert_page
    if new_windows:
        start = lambda: new_window_page(main_host, key_host)  # noqa: E731
    pages = {
        main_host: {'/': lambda: root_page(main_host),
                    '/dy/jd/index.html': start,
                    '/test/alert.html': alert_page},
        key_host: {'/': lambda: root_page(key_host),
                   '/m/search.php': lambda: search_page(query)},
    }
    if host not in pages:
        return 502, error_page('bad-host', '502 Bad Gateway',
                               f'The stand-in does not serve host "{host}".')
    make = pages[host].get(path)
    if make is None:
        return 404, error_page('not-found', '404 Not Found',
                               f'No page {path} on {host}.')
    return 200, make()


MAX_REQUEST_LINE = 4 * 1024 * 1024


class Handler(BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    default_request_version = 'HTTP/1.0'  # so even a garbled request gets headers
    server_version = 'StandIn/1.0'
    timeout = 30

    def handle_one_request(self):
        self.close_connection = True
        try:
            # Long enough for the longest title the program can send, escaped.
            raw = self.rfile.readline(MAX_REQUEST_LINE)
        except OSError:
            return
        if not raw:
            return
        self.raw_requestline = raw
        self.server.record(raw.removesuffix(b'\n').removesuffix(b'\r'))
        mode = self.server.mode
        if mode == 'close':
            return
        if mode == 'garbage':
            try:
                self.wfile.write(os.urandom(GARBAGE_BYTES))
            except OSError:
                pass
            return
        if not self.parse_request():
            return
        if mode == 'slow':
            time.sleep(SLOW_SECONDS)
        self.answer()

    def target(self):
        """(host, path, query) of the request, host lower-case without port."""
        url = self.path
        if url.lower().startswith(('http://', 'https://')):
            parts = urllib.parse.urlsplit(url, allow_fragments=False)
            host, path, query = parts.hostname or '', parts.path, parts.query
        else:
            header = self.headers.get('Host', '')
            host = urllib.parse.urlsplit('//' + header).hostname or ''
            path, _, query = url.partition('?')
        return host.lower(), path or '/', query

    def answer(self):
        if self.command in ('GET', 'HEAD'):
            self.reply(*route(*self.target(), self.server.main_host,
                              self.server.key_host, self.server.dialogs,
                              self.server.new_windows))
        else:
            self.reply(405, error_page('bad-method', '405 Method Not Allowed',
                                       f'{self.command} is not served here.'),
                       [('Allow', 'GET, HEAD')])

    def send_error(self, code, message=None, explain=None):
        # Malformed requests get the same kind of answer as everything else.
        self.log_error('code %d, message %s', code, message)
        phrase = self.responses.get(code, ('Error',))[0]
        self.reply(code, error_page('bad-request', f'{code} {phrase}', message or phrase))

    def reply(self, status, body, extra=()):
        data = body.encode('utf-8')
        self.send_response(status)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(data)))
        self.send_header('Cache-Control', 'no-store')
        for name, value in extra:
            self.send_header(name, value)
        self.send_header('Connection', 'close')
        self.end_headers()
        if self.command != 'HEAD':
            self.wfile.write(data)

    def log_request(self, code='-', size='-'):
        self.log_message('-> %s', code)


class StandIn(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port, mode, main_host, key_host, log_path, stamp_path=None):
        super().__init__(('127.0.0.1', port), Handler)
        self.mode = mode
        self.dialogs = False
        self.new_windows = False
        self.main_host = main_host.lower()
        self.key_host = key_host.lower()
        self.log_file = open(log_path, 'ab') if log_path else None
        # Monotonic clock stamps are shared by every process on the host, so a benchmark can set
        # them against its own clock to time when a request arrived.
        self.stamp_file = open(stamp_path, 'ab') if stamp_path else None
        self.log_lock = threading.Lock()

    def record(self, line):
        """Append one request line (raw bytes) to the log and echo it to stderr."""
        stamp = time.monotonic_ns()
        with self.log_lock:
            if self.stamp_file:
                self.stamp_file.write(b'%d ' % stamp + line + b'\n')
                self.stamp_file.flush()
            if self.log_file:
                self.log_file.write(line + b'\n')
                self.log_file.flush()
            sys.stderr.write(f'request: {line.decode("utf-8", "backslashreplace")}'
                             f' [{self.mode}]\n')
            sys.stderr.flush()

    def server_close(self):
        super().server_close()
        if self.log_file:
            self.log_file.close()
        if self.stamp_file:
            self.stamp_file.close()


def write_port_file(path, port):
    tmp = f'{path}.{os.getpid()}.tmp'
    with open(tmp, 'w') as f:
        f.write(f'{port}\n')
    os.replace(tmp, path)


def main(argv=None):
    ap = argparse.ArgumentParser(description='Loopback stand-in for the lookup sites.')
    ap.add_argument('--port', type=int, default=0, help='0 picks a free port')
    ap.add_argument('--port-file', help='write the chosen port here')
    ap.add_argument('--log', help='append every request line here')
    ap.add_argument('--stamp-log', help='append "<monotonic ns> <request line>" for every request here')
    ap.add_argument('--main-host', default='www.lanpu.example')
    ap.add_argument('--key-host', default='jidiao.lanpu.example')
    ap.add_argument('--dialogs', action='store_true',
                    help='the start page raises alert, confirm and prompt, then requests /dialogs-done')
    ap.add_argument('--new-windows', action='store_true',
                    help='the start page holds links and buttons that ask for new windows, '
                         'and asks for one itself on load, then requests /new-windows-loaded')
    ap.add_argument('--mode', default='normal',
                    choices=['normal', 'slow', 'garbage', 'close'])
    args = ap.parse_args(argv)

    def stop(signum, frame):
        raise SystemExit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    server = StandIn(args.port, args.mode, args.main_host, args.key_host, args.log, args.stamp_log)
    server.dialogs = args.dialogs
    server.new_windows = args.new_windows
    port = server.server_address[1]
    try:
        if args.port_file:
            write_port_file(args.port_file, port)
        print(f'listening on 127.0.0.1:{port}', flush=True)
        server.serve_forever()
    finally:
        server.server_close()


if __name__ == '__main__':
    main()
