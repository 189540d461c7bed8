"""One run of the Windows program under Wine, on its own virtual display, seen from outside.

Everything the tests touch is on this machine: an Xvfb display, the loopback stand-in for both
web sites (the program's http_proxy), and a recording script in place of the desktop's browser.
Wine runs here slowly (under emulation on kernels without 32-bit support), so every wait polls
against a generous deadline; nothing is timed.
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

SCREEN = (1920, 1080)
WAIT = float(os.environ.get('KEYLOOKUP_WAIT', '90'))

EXE = os.environ.get('KEYLOOKUP_EXE', '')
PROBE = os.environ.get('KEYLOOKUP_PROBE', '')

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / 'support'))
from desktop import start_standin, start_xvfb, wait_until  # noqa: E402


def wait_for(what, check, timeout=WAIT, every=0.25):
    """Polls check() until it gives something true, and returns that; fails naming what."""
    return wait_until(what, check, timeout, every)


def run(args, env, **kw):
    return subprocess.run(args, env=env, capture_output=True, text=True, check=False, **kw)


class Display:
    """A private Xvfb."""

    def __init__(self):
        self.proc, self.name = start_xvfb(f'{SCREEN[0]}x{SCREEN[1]}x24')

    def close(self):
        self.proc.terminate()
        self.proc.wait(timeout=30)


class StandIn:
    def __init__(self, folder):
        self.log = folder / 'requests.log'
        self.log.touch()
        self.proc, self.port = start_standin(folder, '--log', self.log)

    def requests(self):
        return self.log.read_bytes().decode('utf-8', 'backslashreplace').splitlines()

    def close(self):
        self.proc.terminate()
        self.proc.wait(timeout=30)


class Session:
    """The display, the stand-in and a Wine environment shared by the program runs of a test module,
    at a display scale of its own (dpi, 96 being 100 %)."""

    def __init__(self, dpi=96):
        if not EXE:
            raise RuntimeError('KEYLOOKUP_EXE is not set; run these tests through ctest')
        self.folder = pathlib.Path(tempfile.mkdtemp(prefix='keylookup-win32-'))
        self.display = Display()
        self.standin = StandIn(self.folder)
        self.opened = self.folder / 'opened.txt'
        browser = self.folder / 'browser.sh'
        browser.write_text('#!/bin/sh\nprintf \'%s\\n\' "$1" >> ' + str(self.opened) + '\n')
        browser.chmod(0o755)
        self.env = dict(os.environ,
                        DISPLAY=self.display.name,
                        http_proxy=f'http://127.0.0.1:{self.standin.port}',
                        BROWSER=str(browser),
                        WINEDEBUG=os.environ.get('WINEDEBUG', '-all'))
        for name in ('no_proxy', 'NO_PROXY', 'https_proxy', 'HTTPS_PROXY', 'all_proxy', 'ALL_PROXY'):
            self.env.pop(name, None)
        # Wine's helper processes belong to the display they were started on: begin afresh here.
        self.stop_wine()
        self.dpi = dpi
        self.set_dpi(dpi)

    def set_dpi(self, dpi):
        """The scale Wine gives every display, as its configuration sets it; written every time, so
        that no earlier module's scale is left in the shared prefix. Processes read it as they
        start, so none of the old scale may stay running."""
        key = r'HKCU\Control Panel\Desktop'
        result = run(['wine', 'reg', 'add', key, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d', str(dpi), '/f'],
                     self.env, timeout=WAIT)
        if result.returncode != 0:
            raise RuntimeError(f'could not set the display scale: {result.stderr}')
        self.stop_wine()

    def stop_wine(self):
        run(['wineserver', '-k'], self.env, timeout=60)
        run(['wineserver', '-w'], self.env, timeout=120)

    def close(self):
        self.stop_wine()
        if self.dpi != 96:
            self.set_dpi(96)  # the programs run outside a session find the prefix as it was
        self.standin.close()
        self.display.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def opened_addresses(self):
        return self.opened.read_text().splitlines() if self.opened.exists() else []

    def x(self, *args):
        """An X tool's output on this display."""
        return run(list(args), self.env, timeout=60).stdout

    def start_program(self, exe=None, switched_off=''):
        """exe: the program file, the built one by default; switched_off: Wine DLLs left unloaded
        for this run, so that what they offer is missing."""
        return Program(self, exe or EXE, switched_off)


class Program:
    """The program, started as a user would start it, and its main window as X shows it."""

    CAPTION = '岚谱基调查询 - 岚谱软件'

    def __init__(self, session, exe, switched_off=''):
        self.s = session
        env = session.env
        if switched_off:
            env = dict(env, WINEDLLOVERRIDES=f"{env.get('WINEDLLOVERRIDES', '')};{switched_off}=")
        self.proc = subprocess.Popen(['wine', exe], env=env, cwd=session.folder,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for('the main window to be mapped', self._find_window)

    def windows(self):
        """The shown X windows captioned as the main window is: the window, and a message box of ours."""
        found = self.s.x('xdotool', 'search', '--onlyvisible', '--name', '^' + re.escape(self.CAPTION) + '$')
        return found.split()

    def _find_window(self):
        if self.proc.poll() is not None:
            raise AssertionError(f'the program exited early with {self.proc.returncode}')
        for wid in self.s.x('xdotool', 'search', '--name', '^' + re.escape(self.CAPTION) + '$').split():
            if 'IsViewable' in self.s.x('xwininfo', '-id', wid):
                return wid
        return None

    def caption(self):
        out = self.s.x('xprop', '-id', self.window, '-notype', '_NET_WM_NAME')
        m = re.search(r'= "(.*)"\s*$', out)
        return m.group(1).replace('\\"', '"').replace('\\\\', '\\') if m else None

    def geometry(self):
        """(x, y, width, height) of the X window, on the screen."""
        out = self.s.x('xwininfo', '-id', self.window)

        def field(name):
            return int(re.search(rf'{name}:\s+(-?\d+)', out).group(1))
        return (field('Absolute upper-left X'), field('Absolute upper-left Y'), field('Width'),
                field('Height'))

    def icon_sizes(self):
        """The sizes of the icons the window hands to X for its title bar and task bar."""
        out = self.s.x('xprop', '-id', self.window, '_NET_WM_ICON')
        return [(int(w), int(h)) for w, h in re.findall(r'Icon \((\d+) x (\d+)\)', out)]

    def probe(self):
        """What Windows itself says of the window: its outer rectangle, styles and controls."""
        out = subprocess.run(['wine', PROBE], env=self.s.env, capture_output=True, timeout=WAIT,
                             check=True).stdout.decode('utf-8', 'replace')
        report = {'children': []}
        for line in out.splitlines():
            kind, _, rest = line.partition(' ')
            fields = dict(re.findall(r'(\w+)=(\S*)', rest.split(' text=')[0]))
            if 'text=' in rest:
                fields['text'] = rest.split(' text=', 1)[1]
            if kind == 'child':
                report['children'].append(fields)
            elif kind == 'accessible':
                report['children'][-1]['accessible'] = fields
            elif kind == 'screen':
                report['screen'] = tuple(int(v) for v in rest.split(','))
            elif kind == 'dpi':
                report['dpi'] = int(rest)
            else:
                report[kind] = fields
        return report

    def focus(self):
        """Keyboard to the window, pointer inside it, as a person sitting at it would have."""
        self.s.x('xdotool', 'mousemove', '--window', self.window, '300', '200')
        self.s.x('xdotool', 'windowfocus', '--sync', self.window)

    def click(self, x, y):
        """A left click at a point of the client area."""
        self.s.x('xdotool', 'mousemove', '--window', self.window, str(x), str(y), 'click', '1')

    def type_into_edit_box(self, text):
        """Types as a person would, waiting until the edit box shows each piece.

        xdotool types a character that no key has by mapping it onto a spare key for the moment
        of the press. Wine rebuilds its key table when the map changes, and the first press on a
        key it did not know yet can reach it as no character at all. Such characters therefore
        go one at a time, and one that left the box as it was is typed again.
        """
        typed = self.edit_box_text()
        for piece in re.findall(r'[\x20-\x7e]+|[^\x20-\x7e]', text):
            before, typed = typed, typed + piece
            for _ in range(5):
                self.focus()
                self.s.x('xdotool', 'type', '--delay', '40', piece)
                try:
                    wait_for(f'the edit box to show {typed!r}', lambda: self.edit_box_text() == typed,
                             timeout=min(WAIT, 10))
                    break
                except AssertionError:
                    if piece.isascii() or self.edit_box_text() != before:
                        raise
            else:
                raise AssertionError(f'{piece!r} never reached the edit box')

    def edit_box_text(self):
        return next(c.get('text', '') for c in self.probe()['children'] if c['class'] == 'Edit')

    def key(self, name):
        self.focus()
        self.s.x('xdotool', 'key', name)

    def screenshot(self):
        """The client area as (width, height, rows of (r, g, b))."""
        data = subprocess.run(['import', '-display', self.s.display.name, '-window', self.window, '-depth', '8',
                               'ppm:-'],
                              capture_output=True, timeout=WAIT, check=True).stdout
        return parse_ppm(data)

    def wait_exit(self):
        try:
            return self.proc.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            raise AssertionError('the program did not exit') from None

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=30)


def parse_ppm(data):
    """A binary PPM (P6, maxval 255) as (width, height, rows of (r, g, b))."""
    tokens, pos = [], 0
    while len(tokens) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        tokens.append(data[pos:end])
        pos = end
    if tokens[0] != b'P6' or tokens[3] != b'255':
        raise ValueError('not an 8-bit binary PPM')
    width, height = int(tokens[1]), int(tokens[2])
    pixels = data[pos + 1:]
    rows = [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]
    return width, height, rows
