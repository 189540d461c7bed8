"""What the real-window tests and the bench share: a private Xvfb, the loopback stand-in for the
sites, a process's descendants, and waiting for something to become true."""
import os
import subprocess
import time
from pathlib import Path

STANDIN = Path(__file__).resolve().parents[1] / 'site' / 'standin.py'


def wait_until(what, predicate, timeout=15.0, step=0.05):
    """Polls predicate() until it gives something true, and returns that; fails naming what."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f'timed out waiting for {what}')
        time.sleep(step)


def start_xvfb(screen='1920x1080x24', **popen):
    """A private Xvfb; its number comes back through -displayfd, so none is guessed.
    Returns the process and the display name."""
    r, w = os.pipe()
    # -noreset: Wine's clients come and go between runs, and the display must outlive them.
    proc = subprocess.Popen(['Xvfb', '-displayfd', str(w), '-screen', '0', screen, '-nolisten', 'tcp', '-noreset'],
                            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **popen)
    os.close(w)
    with os.fdopen(r) as f:
        number = f.readline().strip()
    if not number:
        proc.kill()
        raise RuntimeError('Xvfb did not start')
    return proc, f':{number}'


def start_standin(workdir, *args, **popen):
    """The stand-in on a free loopback port, with extra command-line args (--log, --mode ...).
    Returns the process and its port."""
    port_file = Path(workdir) / 'standin.port'
    proc = subprocess.Popen(['python3', str(STANDIN), '--port-file', str(port_file), *map(str, args)],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **popen)
    try:
        port = wait_until('the stand-in', lambda: port_file.exists() and port_file.read_text().strip())
    except AssertionError:
        proc.kill()
        raise
    return proc, int(port)


def descendants(pid):
    """Every process below pid, children first."""
    children = {}
    for stat in Path('/proc').glob('[0-9]*/stat'):
        try:
            child, rest = stat.read_text().split(' (', 1)
            parent = int(rest.rsplit(') ', 1)[1].split()[1])
        except (OSError, ValueError, IndexError):
            continue
        children.setdefault(parent, []).append(int(child))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(0), []):
            found.append(child)
            todo.append(child)
    return found
