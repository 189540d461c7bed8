"""Runs the real program in a real X server (Xvfb) against the loopback stand-in sites.

Each Session owns an Xvfb display, a stand-in and the program, and tears all of them down.
Input goes in through xdotool (XTEST), as a user's would; what the program shows is read back
from the X server with python3-xlib.
"""
import os
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
from pathlib import Path

from Xlib import X, Xatom, display as xdisplay, error as xerror, protocol

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'support'))
from desktop import descendants, start_standin, start_xvfb, wait_until  # noqa: E402
from layout import RECTS  # noqa: E402

MAIN_HOST = 'www.lanpu.example'
KEY_HOST = 'jidiao.lanpu.example'
START_PAGE = f'GET http://{MAIN_HOST}/dy/jd/index.html HTTP/1.1'
SEARCH_PREFIX = f'http://{KEY_HOST}/m/search.php?q='
CAPTION = '岚谱基调查询 - 岚谱软件'
SEARCHING = '岚谱基调查询 - 正在搜索基调  '
HOME_CAPTION = '岚谱基调查询 '

# Controls in client coordinates: (left, top, width, height).


def shorten(text, limit=120):
    text = repr(text)
    return text if len(text) <= limit else f'{text[:limit]}... ({len(text)} characters)'


class Session:
    def __init__(self, binary, screen='1920x1080x24', standin_args=(), default_browser=True, refuse=False,
                 font=None, scale=None, handles=(), input_method=None, held_at_map=False):
        """font: the desktop's font, as gtk-font-name ("Sans 11"); scale: the display's GDK_SCALE;
        handles: more types (x-scheme-handler/smb, text/plain) the recording browser is the default for;
        input_method: a framework to start for the program, on a bus of its own;
        held_at_map: the program is stopped the moment its window is mapped; resume() lets it go."""
        self.tmp = Path(tempfile.mkdtemp(prefix='keylookup-gui-'))
        self.procs = []
        self.app = self.x = self.stdout = None
        self.input_method = input_method
        self.held_at_map = held_at_map
        try:
            self._start(binary, screen, standin_args, default_browser, refuse, font, scale, handles)
        except BaseException:
            self.close()
            raise

    def _start(self, binary, screen, standin_args, default_browser, refuse, font, scale, handles):
        self.display_name = self._start_xvfb(screen)
        self.port = self._start_standin(list(standin_args))
        if refuse:
            self.port = closed_port()  # every connection to the sites is refused
        self.opened_file = self.tmp / 'opened.txt'
        env = dict(os.environ, DISPLAY=self.display_name, http_proxy=f'http://127.0.0.1:{self.port}',
                   HOME=str(self.tmp), XDG_CONFIG_HOME=str(self.tmp / 'config'),
                   XDG_DATA_HOME=str(self.tmp / 'data'), XDG_CACHE_HOME=str(self.tmp / 'cache'),
                   XDG_RUNTIME_DIR=str(self.tmp / 'run'), GIO_USE_VFS='local', NO_AT_BRIDGE='1')
        env.pop('no_proxy', None)
        env.pop('NO_PROXY', None)
        (self.tmp / 'run').mkdir(mode=0o700)
        if default_browser:
            self._register_default_browser(handles)
        if font:
            settings = self.tmp / 'config' / 'gtk-3.0'
            settings.mkdir(parents=True, exist_ok=True)
            (settings / 'settings.ini').write_text(f'[Settings]\ngtk-font-name={font}\n')
        if scale:
            env['GDK_SCALE'] = str(scale)
        if self.input_method:
            env.update(self.input_method.start(env, self.tmp))
        env = self.program_env(env)
        self.stdout = open(self.tmp / 'program.out', 'w+')
        if self.held_at_map:
            self.x = xdisplay.Display(self.display_name)
            self.x.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
            self.x.sync()
        self.app = subprocess.Popen([str(binary)], env=env, stdout=self.stdout, stderr=subprocess.STDOUT)
        if self.held_at_map:
            self.window = self._stop_at_map()
            return
        self.x = xdisplay.Display(self.display_name)
        self.window = wait_until('the main window to be mapped', self._find_window)

    def _stop_at_map(self, timeout=15):
        """Stops the program as its window's MapNotify arrives, before it gets much further."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            select.select([self.x.fileno()], [], [], 0.1)
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type != X.MapNotify or event.override:
                    continue
                try:
                    prop = event.window.get_full_property(self.x.intern_atom('_NET_WM_PID'), Xatom.CARDINAL)
                except xerror.XError:
                    continue
                if prop and prop.value[0] == self.app.pid:
                    os.kill(self.app.pid, signal.SIGSTOP)
                    self.x.screen().root.change_attributes(event_mask=0)
                    return event.window
        raise AssertionError('the main window was not mapped')

    def resume(self):
        os.kill(self.app.pid, signal.SIGCONT)

    # --- set-up and tear-down -------------------------------------------------------------
    def program_env(self, env):
        """What the program starts with; a session that needs more of the desktop adds it here."""
        return env

    def _start_xvfb(self, screen):
        proc, name = start_xvfb(screen)
        self.procs.append(proc)
        return name

    def _start_standin(self, extra):
        self.log = self.tmp / 'requests.log'
        self.log.touch()
        proc, port = start_standin(self.tmp, '--log', self.log, *extra)
        self.procs.append(proc)
        return port

    def _register_default_browser(self, handles):
        """A recording program as the desktop's default handler for http addresses (and handles)."""
        types = ['x-scheme-handler/http', 'x-scheme-handler/https', *handles]
        recorder = self.tmp / 'browser.sh'
        recorder.write_text(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{self.opened_file}"\n')
        recorder.chmod(0o755)
        apps = self.tmp / 'data' / 'applications'
        apps.mkdir(parents=True)
        (apps / 'recording-browser.desktop').write_text(
            '[Desktop Entry]\nType=Application\nName=Recording browser\n'
            f'Exec={recorder} %u\nMimeType={"".join(t + ";" for t in types)}\n')
        config = self.tmp / 'config'
        config.mkdir(parents=True, exist_ok=True)
        (config / 'mimeapps.list').write_text(
            '[Default Applications]\n' + ''.join(f'{t}=recording-browser.desktop\n' for t in types))

    def close(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()
        if self.x:
            self.x.close()
        if self.input_method:
            self.input_method.stop()
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
        if self.stdout:
            self.stdout.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- what the X server sees ---------------------------------------------------------------
    def _find_window(self):
        for w in self.x.screen().root.query_tree().children:
            try:
                prop = w.get_full_property(self.x.intern_atom('_NET_WM_PID'), Xatom.CARDINAL)
                # GTK's hidden leader window carries the pid too: take the one that is shown.
                if prop and prop.value[0] == self.app.pid and w.get_attributes().map_state == X.IsViewable:
                    return w
            except xerror.XError:
                pass  # a window that went away while we looked
        return None

    def caption(self):
        prop = self.window.get_full_property(self.x.intern_atom('_NET_WM_NAME'), self.x.intern_atom('UTF8_STRING'))
        return prop.value.decode('utf-8') if prop else None

    def wait_caption(self, expected, timeout=10):
        wait_until(f'caption {shorten(expected)}', lambda: self.caption() == expected, timeout)

    def geometry(self):
        g = self.window.get_geometry()
        at = self.window.translate_coords(self.x.screen().root, 0, 0)
        return -at.x, -at.y, g.width, g.height

    def size_hints(self):
        return self.window.get_wm_normal_hints()

    def icon_sizes(self):
        prop = self.window.get_full_property(self.x.intern_atom('_NET_WM_ICON'), Xatom.CARDINAL)
        values, sizes = list(prop.value) if prop else [], []
        while len(values) >= 2:
            w, h = values[0], values[1]
            sizes.append((w, h))
            values = values[2 + w * h:]
        return sizes

    def send_wm_delete(self):
        """What a window manager's close button does."""
        protocols = self.x.intern_atom('WM_PROTOCOLS')
        delete = self.x.intern_atom('WM_DELETE_WINDOW')
        event = protocol.event.ClientMessage(window=self.window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        self.window.send_event(event)
        self.x.flush()

    def wait_exit(self, timeout=10):
        try:
            return self.app.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError('the program did not exit')

    def running(self):
        return self.app.poll() is None

    # --- the stand-in's request log and the program's output ------------------------------------
    def requests(self):
        return self.log.read_bytes().decode('utf-8', 'replace').splitlines()

    def wait_request(self, line, timeout=15):
        wait_until(f'request {shorten(line)}', lambda: line in self.requests(), timeout)

    def output(self):
        self.stdout.flush()
        return Path(self.stdout.name).read_text(encoding='utf-8', errors='replace').splitlines()

    def opened(self):
        return self.opened_file.read_text().splitlines() if self.opened_file.exists() else []

    # --- input ---------------------------------------------------------------------------------------
    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], check=True, env=dict(os.environ, DISPLAY=self.display_name))

    def focus(self):
        """Gives the window the keyboard, as clicking it would under a window manager."""
        self.xdotool('mousemove', '--window', str(self.window.id), '300', '200')
        self.xdotool('windowfocus', '--sync', str(self.window.id))

    def key(self, *keys):
        self.xdotool('key', '--clearmodifiers', '--delay', '40', *keys)

    def paste(self, text):
        """Puts text on the clipboard and pastes it with Ctrl+V, as a user pasting a title would."""
        source = self.tmp / 'clipboard.txt'
        source.write_bytes(text.encode('utf-8'))
        subprocess.run(['xclip', '-selection', 'clipboard', '-i', str(source)], check=True,
                       env=dict(os.environ, DISPLAY=self.display_name))
        self.key('ctrl+v')

    def rss_kb(self):
        with open(f'/proc/{self.app.pid}/status') as f:
            return next(int(line.split()[1]) for line in f if line.startswith('VmRSS:'))

    def descendants(self):
        return descendants(self.app.pid)

    def type(self, text):
        self.xdotool('type', '--delay', '30', text)

    def click(self, control, dx=None, dy=None, button=1, repeat=1):
        left, top, w, h = RECTS[control]
        x, y = left + (w // 2 if dx is None else dx), top + (h // 2 if dy is None else dy)
        self.xdotool('mousemove', '--window', str(self.window.id), str(x), str(y))
        self.xdotool('click', '--repeat', str(repeat), '--delay', '60', str(button))

    def settle(self, seconds=0.4):
        """Lets the program take what was sent before asserting that nothing (more) happened."""
        self.x.sync()
        time.sleep(seconds)


def closed_port():
    with socket.socket() as sock:
        sock.bind(('127.0.0.1', 0))
        return sock.getsockname()[1]


def escaped(title):
    return urllib.parse.quote(title.encode('utf-8'), safe='')


def search_request(escaped_title):
    return f'GET {SEARCH_PREFIX}{escaped_title} HTTP/1.1'
