"""The Windows program under Wine: one Xvfb and Wine for all rows, input through xdotool.

Each row gets a stand-in and a recording browser of its own, so that what it counts is its own.
"""
import re
import subprocess
import sys
import tempfile
import time
from contextlib import contextmanager
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'win32'))
import session as win32  # noqa: E402

from desktop import start_standin  # noqa: E402
from play import Desktop, closed_port  # noqa: E402
from table import RECTS, START_PAGE  # noqa: E402


XPROP_ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', '\\': '\\', '"': '"'}


class WineSession(Desktop):
    name = 'wine'

    def entry_keeps(self, title):
        # A single-line edit box keeps a pasted text up to its first line break.
        return re.split('[\r\n]', title, maxsplit=1)[0]

    def __init__(self, shared, folder, site):
        self.shared, self.folder = shared, folder
        self.log = folder / 'requests.log'
        self.log.touch()
        self.opened_file = folder / 'opened.txt'
        browser = folder / 'browser.sh'
        browser.write_text(f'#!/bin/sh\nprintf \'%s\\n\' "$1" >> {self.opened_file}\n')
        browser.chmod(0o755)
        self.standin, port = start_standin(folder, '--log', self.log, *[a for a in site if a != 'refused'])
        if 'refused' in site:
            port = closed_port()
        shared.env.update(http_proxy=f'http://127.0.0.1:{port}', BROWSER=str(browser))
        self.program = None
        try:
            self.program = shared.start_program()
        except BaseException:
            self.close()
            raise

    def close(self):
        if self.program:
            self.program.close()
        self.standin.terminate()
        self.standin.wait(30)

    # --- what can be seen from outside ----------------------------------------------------------
    def request_line(self, target):
        host, path = target
        return f'GET http://{host}:80{path} HTTP/1.1'  # Wine's request lines carry the port

    def requests(self):
        return self.log.read_bytes().decode('utf-8', 'backslashreplace').splitlines()

    def caption(self):
        out = self.shared.x('xprop', '-id', self.program.window, '-notype', '_NET_WM_NAME')
        m = re.search(r'= "(.*)"\s*$', out, re.S)
        if not m:
            return None
        # xprop writes a caption's control characters and quotes as C escapes.
        return re.sub(r'\\([0-7]{3}|.)', lambda e: chr(int(e.group(1), 8)) if len(e.group(1)) == 3 else XPROP_ESCAPES.get(e.group(1), e.group(1)),
                      m.group(1))

    def opened(self):
        return self.opened_file.read_text().splitlines() if self.opened_file.exists() else []

    def running(self):
        return self.program.proc.poll() is None

    def wait_exit(self):
        return self.program.wait_exit()

    def settle(self, seconds=0.4):
        self.shared.x('xdotool', 'sleep', '0')  # a round trip: the X server has taken what was sent
        time.sleep(seconds + 1.5)  # Wine under emulation takes its time to act on it

    # --- input --------------------------------------------------------------------------------
    def xdotool(self, *args):
        self.shared.x('xdotool', *args)

    def type(self, text):
        self.program.type_into_edit_box(text)

    def key(self, *keys):
        for name in keys:
            self.program.key(name)

    def paste(self, text):
        source = self.folder / 'clipboard.txt'
        source.write_bytes(text.encode('utf-8'))
        subprocess.run(['xclip', '-selection', 'clipboard', '-i', str(source)], env=self.shared.env, check=True)
        self.program.key('ctrl+v')

    def _point(self, control, dx, dy):
        left, top, w, h = RECTS[control]
        return str(left + (w // 2 if dx is None else dx)), str(top + (h // 2 if dy is None else dy))

    def click(self, control, dx=None, dy=None, button=1, repeat=1, held=None):
        self.xdotool('mousemove', '--window', self.program.window, *self._point(control, dx, dy))
        if held:
            self.xdotool('keydown', held)
        self.xdotool('click', '--repeat', str(repeat), '--delay', '60', str(button))
        if held:
            self.xdotool('keyup', held)

    def press_and_leave(self, control, dx, dy):
        self.xdotool('mousemove', '--window', self.program.window, *self._point(control, dx, dy))
        self.xdotool('mousedown', '1')
        self.xdotool('mousemove', '--window', self.program.window, '300', '200')
        self.xdotool('mouseup', '1')


class Wine:
    name = 'wine'

    def set_up(self):
        self.shared = win32.Session()

    def tear_down(self):
        self.shared.close()

    @contextmanager
    def start(self, row):
        folder = Path(tempfile.mkdtemp(prefix='row-', dir=self.shared.folder))
        s = WineSession(self.shared, folder, row.site)
        try:
            if row.waits_for_start:
                win32.wait_for('the start page', lambda: s.request_line(START_PAGE) in s.requests())
            s.program.focus()
            yield s
        finally:
            s.close()
