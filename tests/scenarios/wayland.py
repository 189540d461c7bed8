"""The GTK program on Wayland: a headless sway, keys through wtype's virtual keyboard.

sway will not run as root, so the compositor, the program and every client of the compositor run
as an unprivileged user of the test's own, with a runtime directory of their own. The program is
copied out of the build tree, which that user may not be able to reach.
"""
import json
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from contextlib import contextmanager
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'gui'))
import harness  # noqa: E402

from desktop import wait_until  # noqa: E402
from play import Desktop  # noqa: E402
from x11 import ENTRY_LIMIT  # noqa: E402

USER = 'keylookup-test'
# No pointer or keyboard devices: wtype brings a virtual keyboard, and there is no pointer at all.
COMPOSITOR_ENV = {'WLR_BACKENDS': 'headless', 'WLR_LIBINPUT_NO_DEVICES': '1', 'WLR_RENDERER': 'pixman'}


def unprivileged_user():
    """The unprivileged user's (uid, gid, home), made on first use."""
    try:
        entry = pwd.getpwnam(USER)
    except KeyError:
        subprocess.run(['useradd', '--system', '--create-home', '--shell', '/usr/sbin/nologin', USER], check=True)
        entry = pwd.getpwnam(USER)
    return entry.pw_uid, entry.pw_gid, entry.pw_dir


def give(path, uid, gid):
    for root, dirs, files in os.walk(path):
        for name in [root, *(os.path.join(root, n) for n in dirs + files)]:
            os.chown(name, uid, gid)


class Compositor:
    """A headless sway as the test user, and a way to run that user's clients on it."""

    def __init__(self):
        if os.geteuid() != 0:
            raise unittest.SkipTest('making and becoming an unprivileged user needs root')
        self.uid, self.gid, home = unprivileged_user()
        self.dir = Path(tempfile.mkdtemp(prefix='keylookup-wayland-'))
        self.runtime = self.dir / 'run'
        self.runtime.mkdir(mode=0o700)
        config = self.dir / 'sway.config'
        config.write_text('output * bg #000000 solid_color\n')
        give(self.dir, self.uid, self.gid)
        self.env = {'PATH': os.environ.get('PATH', '/usr/bin:/bin'), 'HOME': home,
                    'XDG_RUNTIME_DIR': str(self.runtime), 'LANG': 'C.UTF-8', **COMPOSITOR_ENV}
        self.log = open(self.dir / 'sway.log', 'w')
        self.sway = subprocess.Popen(['sway', '-c', str(config)], env=self.env, stdout=self.log,
                                     stderr=subprocess.STDOUT, **self.as_user())
        try:
            self.socket = wait_until('the compositor', self._socket)
            self.env.update(WAYLAND_DISPLAY=self.socket.name,
                            SWAYSOCK=str(wait_until('its IPC socket', lambda: next(self.runtime.glob('sway-ipc.*.sock'), None))))
        except BaseException:
            self.close()
            raise

    def _socket(self):
        if self.sway.poll() is not None:
            raise AssertionError(f'sway exited with {self.sway.returncode}: {(self.dir / "sway.log").read_text()[-2000:]}')
        return next((p for p in self.runtime.glob('wayland-*') if not p.name.endswith('.lock')), None)

    def as_user(self):
        return {'user': self.uid, 'group': self.gid, 'extra_groups': []}

    def run(self, *args, check=True):
        return subprocess.run(list(args), env=self.env, capture_output=True, check=check, timeout=60,
                              **self.as_user()).stdout

    def tree(self):
        return json.loads(self.run('swaymsg', '-r', '-t', 'get_tree'))

    def view(self, pid):
        """The compositor's node of pid's window, or None."""
        todo = [self.tree()]
        while todo:
            node = todo.pop()
            if node.get('pid') == pid and node.get('visible'):
                return node
            todo += node.get('nodes', []) + node.get('floating_nodes', [])
        return None

    def close(self):
        if self.sway.poll() is None:
            self.sway.terminate()
            try:
                self.sway.wait(10)
            except subprocess.TimeoutExpired:
                self.sway.kill()
                self.sway.wait()
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


class WaylandSession(harness.Session, Desktop):
    """The harness's session, with the compositor in place of the X server."""
    name = 'wayland'
    entry_limit = ENTRY_LIMIT

    def entry_keeps(self, title):
        # GTK takes text from a Wayland clipboard with its line ends made "\n".
        return super().entry_keeps(title.replace('\r\n', '\n').replace('\r', '\n'))

    def __init__(self, compositor, binary, **kwargs):
        self.compositor = compositor
        super().__init__(binary, **kwargs)

    def _start(self, binary, screen, standin_args, default_browser, refuse, font, scale, handles):
        c = self.compositor
        self.port = self._start_standin(list(standin_args))
        if refuse:
            self.port = harness.closed_port()
        self.opened_file = self.tmp / 'opened.txt'
        if default_browser:
            self._register_default_browser(handles)
        program = self.tmp / 'keylookup'
        shutil.copy(binary, program)
        env = dict(c.env, GDK_BACKEND='wayland', http_proxy=f'http://127.0.0.1:{self.port}', HOME=str(self.tmp),
                   XDG_CONFIG_HOME=str(self.tmp / 'config'), XDG_DATA_HOME=str(self.tmp / 'data'),
                   XDG_CACHE_HOME=str(self.tmp / 'cache'), GIO_USE_VFS='local', NO_AT_BRIDGE='1')
        env.pop('SWAYSOCK')
        self.tmp.chmod(0o755)
        give(self.tmp, c.uid, c.gid)
        self.stdout = open(self.tmp / 'program.out', 'w+')
        self.app = subprocess.Popen([str(program)], env=env, stdout=self.stdout, stderr=subprocess.STDOUT,
                                    **c.as_user())
        self.window = wait_until('the main window to be shown', lambda: self._view())

    def _view(self):
        if self.app.poll() is not None:
            raise AssertionError(f'the program exited with {self.app.returncode}: {self.output()[-20:]}')
        return self.compositor.view(self.app.pid)

    # --- what the compositor sees -------------------------------------------------------------
    def caption(self):
        view = self.compositor.view(self.app.pid)
        return view['name'] if view else None

    def client_size(self):
        geometry = self.compositor.view(self.app.pid)['geometry']
        return geometry['width'], geometry['height']

    def swaymsg(self, *command):
        return self.compositor.run('swaymsg', f'[pid={self.app.pid}]', *command)

    def screenshot(self, path):
        """The whole output as a PNG, written to path."""
        data = self.compositor.run('grim', '-')
        Path(path).write_bytes(data)

    def settle(self, seconds=0.4):
        self.compositor.run('swaymsg', '-t', 'get_version')  # a round trip through the compositor
        time.sleep(seconds)

    # --- input: keys through a virtual keyboard; no pointer ----------------------------------
    pending = []  # keys to send before the next ones

    def wtype(self, *args):
        # Each call brings a new virtual keyboard, whose keymap races its first key: wait first.
        # The window loses the keyboard when that keyboard goes: keep it until the keys are taken.
        pending, self.pending = self.pending, []
        self.compositor.run('wtype', '-s', '300', '-d', '30', *pending, *args, '-s', '500')

    def key(self, *keys):
        args = []
        for name in keys:
            *mods, base = name.split('+')
            for m in mods:  # ctrl, shift and alt are named alike by both tools
                args += ['-M', m]
            args += ['-k', base]
            for m in reversed(mods):
                args += ['-m', m]
        self.wtype(*args)

    def type(self, text):
        assert not text.startswith('-'), 'wtype would take it for an option'
        self.wtype(text)

    def paste(self, text):
        source = self.tmp / 'clipboard.txt'
        source.write_bytes(text.encode('utf-8'))
        with open(source, 'rb') as f:
            # wl-copy serves the clipboard until the session ends.
            self.procs.append(subprocess.Popen(
                ['wl-copy', '--foreground', '--type', 'text/plain;charset=utf-8'], env=self.compositor.env, stdin=f,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **self.compositor.as_user()))
        wait_until('the clipboard to hold the text',
                   lambda: self.compositor.run('wl-paste', '--no-newline', check=False) == text.encode('utf-8'))
        # Ctrl+V goes with the next keys, through the same virtual keyboard: a keyboard that leaves
        # at once after Ctrl+V leaves nothing pasted.
        self.pending = ['-M', 'ctrl', '-k', 'v', '-m', 'ctrl']

    def focus(self):
        self.swaymsg('focus')


class Wayland:
    name = 'wayland'

    def set_up(self):
        self.compositor = Compositor()

    def tear_down(self):
        self.compositor.close()

    @contextmanager
    def start(self, row, **kwargs):
        refuse = 'refused' in row.site if row else False
        site = [a for a in row.site if a != 'refused'] if row else []
        with WaylandSession(self.compositor, os.environ['KEYLOOKUP_BIN'], standin_args=site, refuse=refuse,
                            **kwargs) as s:
            if row is None or row.waits_for_start:
                s.wait_request(harness.START_PAGE)
            s.focus()
            yield s
