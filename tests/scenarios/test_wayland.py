"""The scenario table on GTK under Wayland, and what Wayland changes: the compositor places the
window, so only its size and fixedness are the program's; the fatal stop is reported there too."""
import os
import shutil
import subprocess
import unittest

from play import scenario_case
from table import CAPTION
from wayland import Wayland

wayland = Wayland()
Scenarios = scenario_case(wayland)
SHOT = os.environ.get('KEYLOOKUP_WAYLAND_SHOT')  # where to keep a screenshot of the window, to look at


class OnWayland(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        wayland.set_up()

    @classmethod
    def tearDownClass(cls):
        wayland.tear_down()

    def test_the_client_area_is_607_by_392_and_cannot_be_resized(self):
        with wayland.start(None) as s:
            self.assertEqual(s.caption(), CAPTION)
            self.assertEqual(s.client_size(), (607, 392))
            self.assertEqual(s.window['type'], 'floating_con', 'a fixed-size window floats rather than tiles')
            if SHOT:
                s.screenshot(SHOT)
            for width, height in [(800, 600), (300, 200)]:
                with self.subTest(f'{width}x{height}'):
                    s.swaymsg('resize', 'set', str(width), str(height))
                    s.settle()
                    self.assertEqual(s.client_size(), (607, 392))

    def test_a_window_that_cannot_be_built_is_reported_and_exits_with_minus_1(self):
        # The compositor's socket is named, but nobody listens there.
        c = wayland.compositor
        program = shutil.copy(os.environ['KEYLOOKUP_BIN'], c.dir / 'keylookup')
        env = dict(c.env, GDK_BACKEND='wayland', WAYLAND_DISPLAY='nobody-here')
        run = subprocess.run([program], env=env, capture_output=True, timeout=60,
                             **c.as_user())
        self.assertEqual(run.returncode, 255)  # -1, as an unsigned exit code
        self.assertIn('主窗口无法创建', run.stderr.decode('utf-8'))


if __name__ == '__main__':
    unittest.main()
