"""Start-up, search latency and memory of the program against a bare engine window.

Both programs run on one Xvfb against one loopback stand-in, alternating run by run, each run in
fresh HOME/XDG folders. Times come from CLOCK_MONOTONIC, which this driver, the X event loop and the
stand-in's stamp log all share, so no figure depends on polling intervals.
"""
import argparse
import ctypes
import os
import select
import signal
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from Xlib import X, XK, Xatom, display as xdisplay, error as xerror
from Xlib.ext import xtest

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'tests' / 'support'))
import desktop  # noqa: E402

ROOT = Path(__file__).resolve().parents[1]
START_REQUEST = b'GET http://www.lanpu.example/dy/jd/index.html HTTP/1.1'
SEARCH_REQUEST = b'GET http://jidiao.lanpu.example/m/search.php?q=Midnight%20Drive HTTP/1.1'
TITLE = 'Midnight Drive'
SETTLE_S = 1.0  # after the start page's request, for the page to load and paint
TIMEOUT_S = 20.0
FIGURES = ('map_ms', 'start_request_ms', 'search_request_ms', 'rss_ui_kb', 'rss_tree_kb')

libc = ctypes.CDLL(None, use_errno=True)
PR_SET_PDEATHSIG, PR_SET_CHILD_SUBREAPER = 1, 36


def die_with_us():
    # Xvfb and the stand-in go even if this driver is killed outright; the programs then lose
    # their display and end too.
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def ms(ns):
    return ns / 1e6


# --- processes --------------------------------------------------------------------------------

def tree(pid):
    """pid and all its descendants."""
    return [pid, *desktop.descendants(pid)]


def rss_kb(pid):
    try:
        for line in Path(f'/proc/{pid}/status').read_text().splitlines():
            if line.startswith('VmRSS:'):
                return int(line.split()[1])
    except OSError:
        pass
    return 0  # gone, or a zombie


def alive(pid):
    """True while pid exists; reaps it if it is our zombie (orphans are re-parented to us)."""
    try:
        state = Path(f'/proc/{pid}/stat').read_text().rsplit(')', 1)[1].split()[0]
    except OSError:
        return False
    if state == 'Z':
        try:
            os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:
            pass
        return Path(f'/proc/{pid}').exists()
    return True


def end_tree(pids, timeout=10.0):
    """Waits for every pid to be gone, killing what is left after timeout."""
    deadline = time.monotonic() + timeout
    while any(alive(p) for p in pids):
        if time.monotonic() > deadline:
            for p in pids:
                if alive(p):
                    try:
                        os.kill(p, signal.SIGKILL)
                    except ProcessLookupError:
                        pass
            deadline = time.monotonic() + timeout
        time.sleep(0.02)


def wait_until(what, predicate, timeout=TIMEOUT_S):
    return desktop.wait_until(what, predicate, timeout, step=0.005)


# --- the bench --------------------------------------------------------------------------------

class Bench:
    def __init__(self, tmp):
        self.tmp = tmp
        self.app = None
        self.app_tree = []
        self.helpers = []
        self.display_name = self._start_xvfb()
        self.port = self._start_standin()
        self.x = xdisplay.Display(self.display_name)
        self.root = self.x.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()
        self.pid_atom = self.x.intern_atom('_NET_WM_PID')
        self.keycode = {name: self.x.keysym_to_keycode(XK.string_to_keysym(name)) for name in ('Return', 'Escape')}

    def _start_xvfb(self):
        proc, name = desktop.start_xvfb('1920x1080x24', preexec_fn=die_with_us)
        self.helpers.append(proc)
        return name

    def _start_standin(self):
        self.stamps = self.tmp / 'stamps.log'
        self.stamps.touch()
        proc, port = desktop.start_standin(self.tmp, '--stamp-log', self.stamps, preexec_fn=die_with_us)
        self.helpers.append(proc)
        return port

    def close(self):
        self.stop_app()
        if self.x:
            self.x.close()
            self.x = None
        for proc in reversed(self.helpers):
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()

    # --- one program run ----------------------------------------------------------------------

    def env(self, home):
        (home / 'run').mkdir(mode=0o700)
        env = dict(os.environ, DISPLAY=self.display_name, http_proxy=f'http://127.0.0.1:{self.port}',
                   HOME=str(home), XDG_CONFIG_HOME=str(home / 'config'), XDG_DATA_HOME=str(home / 'data'),
                   XDG_CACHE_HOME=str(home / 'cache'), XDG_RUNTIME_DIR=str(home / 'run'),
                   GIO_USE_VFS='local', NO_AT_BRIDGE='1')
        for name in ('no_proxy', 'NO_PROXY', 'https_proxy', 'HTTPS_PROXY'):
            env.pop(name, None)
        return env

    def request_stamp(self, line, offset):
        """The stamp of the first request line after offset, or None."""
        with open(self.stamps, 'rb') as f:
            f.seek(offset)
            for entry in f.read().splitlines():
                stamp, _, request = entry.partition(b' ')
                if request == line:
                    return int(stamp)
        return None

    def drain_events(self):
        while self.x.pending_events():
            self.x.next_event()

    def wait_map(self, pid):
        """The monotonic time at which the program's top-level window was mapped, and the window."""
        deadline = time.monotonic() + TIMEOUT_S
        while time.monotonic() < deadline:
            select.select([self.x.fileno()], [], [], 0.1)
            while self.x.pending_events():
                event = self.x.next_event()
                seen = time.monotonic_ns()
                if event.type != X.MapNotify or event.override:
                    continue
                try:
                    prop = event.window.get_full_property(self.pid_atom, Xatom.CARDINAL)
                except xerror.XError:
                    continue
                if prop and prop.value[0] == pid:
                    return seen, event.window
        raise RuntimeError('the window was not mapped')

    def key(self, name):
        xtest.fake_input(self.x, X.KeyPress, self.keycode[name])
        xtest.fake_input(self.x, X.KeyRelease, self.keycode[name])
        self.x.sync()

    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], check=True, env=dict(os.environ, DISPLAY=self.display_name))

    def run(self, binary, types_title):
        home = Path(tempfile.mkdtemp(prefix='run-', dir=self.tmp))
        env = self.env(home)
        out = open(home / 'output.txt', 'w')
        try:
            self.drain_events()
            offset = self.stamps.stat().st_size
            t_exec = time.monotonic_ns()
            self.app = subprocess.Popen([str(binary)], env=env, stdout=out, stderr=subprocess.STDOUT)
            t_map, window = self.wait_map(self.app.pid)
            t_start = wait_until('the start page request', lambda: self.request_stamp(START_REQUEST, offset))
            time.sleep(SETTLE_S)

            self.app_tree = tree(self.app.pid)
            rss_ui = rss_kb(self.app.pid)
            rss_tree = sum(rss_kb(p) for p in self.app_tree)

            self.xdotool('mousemove', '--window', str(window.id), '200', '66')
            self.xdotool('windowfocus', '--sync', str(window.id))
            if types_title:
                self.xdotool('type', '--delay', '30', TITLE)
                time.sleep(0.3)  # lets the last letters land before Enter
            offset = self.stamps.stat().st_size
            t_enter = time.monotonic_ns()
            self.key('Return')
            t_search = wait_until('the search request', lambda: self.request_stamp(SEARCH_REQUEST, offset))
            time.sleep(0.3)  # lets the search page arrive before the window goes
            return {'map_ms': ms(t_map - t_exec), 'start_request_ms': ms(t_start - t_exec),
                    'search_request_ms': ms(t_search - t_enter), 'rss_ui_kb': rss_ui, 'rss_tree_kb': rss_tree}
        finally:
            self.stop_app(window_key='Escape' if types_title else None)
            out.close()
            shutil.rmtree(home, ignore_errors=True)

    def stop_app(self, window_key=None):
        if not self.app:
            return
        pids = sorted(set(self.app_tree) | set(tree(self.app.pid)))
        if self.app.poll() is None:
            if window_key and self.x:
                self.key(window_key)
            else:
                self.app.terminate()
            try:
                self.app.wait(5)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait()
        end_tree(pids)
        self.app, self.app_tree = None, []


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--runs', type=int, default=7, help='runs of each program (default 7)')
    ap.add_argument('--warmup', type=int, default=1, help='untimed runs of each first (default 1)')
    ap.add_argument('--program', required=True)
    ap.add_argument('--bare', required=True)
    args = ap.parse_args()
    if args.runs < 1:
        ap.error('--runs must be at least 1')

    def stop(signum, frame):
        raise KeyboardInterrupt

    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, stop)  # also where a background job was started with SIGINT ignored
    # WebKit's helper processes outlive a killed parent for a moment; as their reaper we can
    # wait for them to end.
    libc.prctl(PR_SET_CHILD_SUBREAPER, 1)

    programs = [('program', args.program, True), ('bare', args.bare, False)]
    results = {'program': [], 'bare': []}
    tmp = Path(tempfile.mkdtemp(prefix='keylookup-bench-'))
    bench = None
    try:
        bench = Bench(tmp)
        for i in range(args.warmup + args.runs):
            for name, binary, types_title in (programs if i % 2 == 0 else programs[::-1]):
                figures = bench.run(binary, types_title)
                label = 'warm-up' if i < args.warmup else f'run {i - args.warmup + 1}'
                print(f'{label:8} {name:8} ' + '  '.join(f'{k}={v:.1f}' for k, v in figures.items()), flush=True)
                if i >= args.warmup:
                    results[name].append(figures)
    except KeyboardInterrupt:
        print('interrupted', file=sys.stderr)
        return 130
    finally:
        if bench:
            bench.close()
        leftovers = [p for p in tree(os.getpid()) if p != os.getpid()]
        end_tree(leftovers, timeout=3)
        shutil.rmtree(tmp, ignore_errors=True)

    medians = {name: {f: statistics.median(r[f] for r in runs) for f in FIGURES} for name, runs in results.items()}
    print()
    print(f'{"figure":20} {"program":>12} {"bare":>12} {"ratio":>8}   (medians of {args.runs} runs)')
    lines = []
    for f in FIGURES:
        p, b = medians['program'][f], medians['bare'][f]
        ratio = p / b if b else float('nan')
        print(f'{f:20} {p:12.1f} {b:12.1f} {ratio:8.2f}')
        lines.append(f'{f}: program={p:.1f} bare={b:.1f} ratio={ratio:.2f}')
    print()
    print('\n'.join(lines))
    return 0


if __name__ == '__main__':
    sys.exit(main())
