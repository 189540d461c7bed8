"""Input method frameworks for the real-window tests, each on a session bus of the test's own.

A framework is started before the program and learns the program's environment (display, home,
configuration folders), so the program's toolkit module finds it. Everything it starts carries a
tag in its environment; stop() ends every process that carries it, whoever its parent, so no
daemon outlives the test.
"""
import os
import re
import signal
import subprocess
from pathlib import Path

from desktop import wait_until

TAG = 'KEYLOOKUP_TEST_IM'


def _tagged(tag):
    found = []
    needle = f'{TAG}={tag}'.encode()
    for environ in Path('/proc').glob('[0-9]*/environ'):
        try:
            if needle in environ.read_bytes().split(b'\0'):
                found.append(int(environ.parent.name))
        except OSError:
            pass  # gone, or not ours to read
    return [pid for pid in found if pid != os.getpid()]


class Framework:
    """english: the framework runs with its plain keyboard layout rather than pinyin.
    asynchronous: the program's toolkit module asks without waiting for the answers (the
    frameworks' own default, which the program changes unless told otherwise)."""
    module = None

    def __init__(self, english=False, asynchronous=False):
        self.english = english
        self.asynchronous = asynchronous
        self.tag = None

    def start(self, env, tmp):
        """Starts the session bus and the framework for env; returns the variables the program needs."""
        self.tag = str(tmp)
        env = dict(env, **{TAG: self.tag}, GTK_IM_MODULE=self.module, XMODIFIERS=f'@im={self.module}',
                   GSETTINGS_BACKEND='memory')
        out = subprocess.run(['dbus-launch', '--sh-syntax'], env=env, check=True, capture_output=True,
                             text=True).stdout
        for line in out.splitlines():
            if line.startswith('DBUS_SESSION_BUS_ADDRESS='):
                env['DBUS_SESSION_BUS_ADDRESS'] = line.split('=', 1)[1].rstrip(';').strip("'")
        self.env = env
        self._start()
        program = {k: env[k] for k in (TAG, 'GTK_IM_MODULE', 'XMODIFIERS', 'GSETTINGS_BACKEND',
                                       'DBUS_SESSION_BUS_ADDRESS')}
        if self.asynchronous:
            program['IBUS_ENABLE_SYNC_MODE'] = '0'
        return program

    def run(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=30)

    def stop(self):
        if self.tag is None:
            return
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for pid in _tagged(self.tag):
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            try:
                wait_until('the framework to end', lambda: not _tagged(self.tag), timeout=5)
                return
            except AssertionError:
                continue

    def left_behind(self):
        return _tagged(self.tag) if self.tag else []


class IBus(Framework):
    module = 'ibus'

    def _start(self):
        # No panel, no emoji window: the daemon and its engine. Undaemonised, it ends as soon as
        # the process that started it does.
        self.run('ibus-daemon', '--daemonize', '--replace', '--panel=disable', '--emoji-extension=disable')
        engine = 'xkb:us::eng' if self.english else 'libpinyin'

        def engine_set():
            self.run('ibus', 'engine', engine)  # refused until the daemon has read its engines
            return self.run('ibus', 'engine').stdout.strip() == engine

        wait_until(f'ibus with {engine}', engine_set, timeout=30, step=0.3)

    def ready(self):
        """Whether the daemon made the box's input context: the program's toolkit module makes one
        for itself first (InputContext_1), then one for the box; before that, keys wait in the module."""
        address = self.run('ibus', 'address').stdout.strip()
        if not address:
            return False
        r = self.run('gdbus', 'call', '--address', address, '--dest', 'org.freedesktop.IBus', '--object-path',
                     '/org/freedesktop/IBus', '--method', 'org.freedesktop.IBus.CurrentInputContext')
        number = re.search(r'InputContext_(\d+)', r.stdout) if r.returncode == 0 else None
        return bool(number) and int(number.group(1)) >= 2


class Fcitx(Framework):
    module = 'fcitx'

    def _start(self):
        config = Path(self.env['XDG_CONFIG_HOME']) / 'fcitx5'
        (config / 'conf').mkdir(parents=True, exist_ok=True)
        # A test-only profile: the keyboard layout and pinyin, pinyin switched on from the start
        # unless the test types in English.
        (config / 'profile').write_text(
            '[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n\n'
            '[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n'
            '[Groups/0/Items/1]\nName=pinyin\nLayout=\n\n'
            '[GroupOrder]\n0=Default\n')
        (config / 'config').write_text(
            f'[Behavior]\nActiveByDefault={"False" if self.english else "True"}\nShareInputState=No\n')
        # Nothing that reaches past this machine.
        (config / 'conf' / 'pinyin.conf').write_text('CloudPinyinEnabled=False\n')
        subprocess.run(['fcitx5', '-d', '--disable=cloudpinyin,notificationitem'], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        wait_until('fcitx5', lambda: self.run('fcitx5-remote').returncode == 0, timeout=30, step=0.3)

    def ready(self):
        wanted = 'keyboard-us' if self.english else 'pinyin'
        return self.run('fcitx5-remote', '-n').stdout.strip() == wanted
