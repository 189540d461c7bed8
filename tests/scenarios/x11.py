"""The GTK program on X11: a private Xvfb, input through xdotool (XTEST)."""
import os
import sys
from contextlib import contextmanager
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'gui'))
import harness  # noqa: E402

from play import Desktop  # noqa: E402

ENTRY_LIMIT = 65535  # bytes of UTF-8 in GTK's largest single-line entry: a longer paste is cut there


class X11Session(harness.Session, Desktop):
    name = 'x11'
    entry_limit = ENTRY_LIMIT

    def click(self, control, dx=None, dy=None, button=1, repeat=1, held=None):
        if held:
            self.xdotool('keydown', held)
        super().click(control, dx, dy, button, repeat)
        if held:
            self.xdotool('keyup', held)

    def press_and_leave(self, control, dx, dy):
        left, top, _, _ = harness.RECTS[control]
        window = str(self.window.id)
        self.xdotool('mousemove', '--window', window, str(left + dx), str(top + dy))
        self.xdotool('mousedown', '1')
        self.xdotool('mousemove', '--window', window, '300', '200')
        self.xdotool('mouseup', '1')


class X11:
    name = 'x11'

    def set_up(self):
        pass

    def tear_down(self):
        pass

    @contextmanager
    def start(self, row):
        refuse = 'refused' in row.site
        with X11Session(os.environ['KEYLOOKUP_BIN'], standin_args=[a for a in row.site if a != 'refused'],
                        refuse=refuse) as s:
            if row.waits_for_start:
                s.wait_request(harness.START_PAGE)
            s.focus()
            yield s
