"""The main window as the X server sees it: caption, place, size, icon, and closing."""
import os
import subprocess
import unittest

from harness import CAPTION, Session

BINARY = os.environ['KEYLOOKUP_BIN']


class MainWindow(unittest.TestCase):
    def test_caption_place_size_hints_and_icon(self):
        with Session(BINARY) as s:
            self.assertEqual(s.caption(), CAPTION)
            # No window manager here: the X window is the client area, where the program put it.
            self.assertEqual(s.geometry(), (653, 329, 607, 392))
            hints = s.size_hints()
            self.assertEqual((hints.min_width, hints.min_height), (607, 392), 'cannot be made smaller')
            self.assertEqual((hints.max_width, hints.max_height), (607, 392), 'cannot be made larger')
            self.assertIn((32, 32), s.icon_sizes())
            # Desktops find the window's menu entry and icon by its class: the application id.
            self.assertEqual(s.window.get_wm_class(), ('example.lanpu.KeyLookup',) * 2)

    def test_placement_follows_the_screen_size(self):
        for screen, at in [('1280x1024x24', (333, 301)), ('612x480x24', (0, 29)), ('611x400x24', (-1, -10))]:
            with self.subTest(screen=screen), Session(BINARY, screen=screen) as s:
                self.assertEqual(s.geometry()[:2], at)

    def test_closing_the_window_ends_the_process_with_0(self):
        with Session(BINARY) as s:
            s.send_wm_delete()
            self.assertEqual(s.wait_exit(), 0)


class FatalStop(unittest.TestCase):
    def test_a_window_that_cannot_be_built_is_reported_and_exits_with_minus_1(self):
        env = {k: v for k, v in os.environ.items() if k not in ('DISPLAY', 'WAYLAND_DISPLAY')}
        run = subprocess.run([BINARY], env=env, capture_output=True, timeout=30)
        self.assertEqual(run.returncode, 255)  # -1, as an unsigned exit code
        self.assertIn('主窗口无法创建', run.stderr.decode('utf-8'))


if __name__ == '__main__':
    unittest.main()
