"""The program on a display scaled to 150 % (144 dpi): the whole layout grows with it.

The same program as in test_window, in a Wine prefix whose display scale is 144 dpi. Every length
of the 96-dpi layout is scaled by 1.5 and rounded to the nearest pixel, halves away from zero; a
control's rectangle is scaled by its edges, so controls that met still meet.
"""

import unittest

from session import Session, wait_for
from test_window import CONTROLS, rect_of

DPI = 144
SCREEN = (1920, 1080)
# 613 x 421 at 1.5 is 919.5 x 631.5, rounded up; centred on the full screen by that size.
OUTER = (500, 224, 920, 632)

# The controls' rectangles at 144 dpi, in client coordinates.
RECT = {
    '按钮4': (273, 12, 120, 48),
    '透明标签3': (396, 36, 492, 24),
    '透明标签1': (396, 0, 480, 36),
    '按钮3': (144, 12, 120, 48),
    '按钮2': (12, 12, 120, 48),
    '透明标签2': (269, 563, 384, 24),
    '基调': (2, 129, 907, 432),
    '按钮1': (638, 68, 240, 60),
    '编辑框1': (21, 75, 588, 48),
}
# No line of the 12-pixel design text is taller than 12 pixels: a taller one was scaled.
UNSCALED_TEXT = 12


def ink(rows, rect, is_ink):
    """The bounding box (left, top, right, bottom) of the pixels inside rect that is_ink takes for
    text, relative to rect, or None."""
    left, top, width, height = rect
    xs, ys = [], []
    for y in range(top, top + height):
        for x in range(left, left + width):
            if is_ink(rows[y][x]):
                xs.append(x - left)
                ys.append(y - top)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def dark(pixel):
    return sum(pixel) < 160


def navy(pixel):
    r, g, b = pixel
    return r < 60 and g < 60 and b > 90 and b - r > 60


session = None


def setUpModule():
    global session
    session = Session(dpi=DPI)


def tearDownModule():
    session.close()


class Scaled(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.program = session.start_program()
        # Both taken before any case clicks and moves the focus.
        cls.report = cls.program.probe()
        cls.shot = cls.program.screenshot()

    @classmethod
    def tearDownClass(cls):
        cls.program.close()

    def test_the_display_is_at_the_scale_under_test(self):
        self.assertEqual((self.report['dpi'], self.report['screen']), (DPI, SCREEN))

    def test_outer_rectangle_is_the_scaled_one_centred_by_its_scaled_size(self):
        main = self.report['main']
        self.assertEqual(rect_of(main), OUTER)
        # The client area is what the frame, itself at 144 dpi, leaves of it; X shows just that.
        client_w, client_h = (int(v) for v in main['client'].split(','))
        x, y, w, h = self.program.geometry()
        self.assertEqual((w, h), (client_w, client_h))
        left, top, width, height = OUTER
        border = (width - client_w) // 2
        self.assertEqual((x - left, left + width - (x + w)), (border, border))
        self.assertEqual(y + h + border, top + height)
        # The outer size is what scales, so the client area is whatever Wine's 144-dpi frame leaves:
        # 914 x 598 here (its borders stay 3 pixels, its caption grows to 31). It holds the 607 x 392
        # the layout was designed in, scaled: 911 x 588.
        self.assertGreaterEqual(client_w, 911)
        self.assertGreaterEqual(client_h, 588)

    def test_window_icons_are_the_sizes_of_the_scale(self):
        # Drawn for that size in the icon resource, not a 32-pixel picture stretched.
        self.assertEqual(self.program.icon_sizes(), [(48, 48), (24, 24)])

    def test_controls_are_at_their_scaled_rectangles(self):
        seen = [(c['class'], rect_of(c), c.get('text', '')) for c in self.report['children']]
        self.assertEqual(seen, [(cls, RECT[name], text) for name, cls, _, text in CONTROLS])

    def test_focus_starts_in_the_edit_box_at_its_scaled_rectangle(self):
        focus = self.report.get('focus')
        self.assertIsNotNone(focus, 'nothing has the focus')
        self.assertEqual((focus['class'], rect_of(focus)), ('Edit', RECT['编辑框1']))

    def test_texts_are_drawn_at_the_scaled_size_and_fit_their_controls(self):
        width, height, rows = self.shot
        self.assertEqual((width, height), self.program.geometry()[2:])
        cases = [('透明标签1', dark), ('透明标签3', dark), ('透明标签2', navy),
                 ('按钮1', dark), ('按钮2', dark), ('按钮3', dark), ('按钮4', dark)]
        for name, is_ink in cases:
            with self.subTest(name):
                rect = RECT[name]
                box = ink(rows, rect, is_ink)
                self.assertIsNotNone(box, 'no text drawn')
                left, top, right, bottom = box
                self.assertGreater(bottom - top, UNSCALED_TEXT, f'text {box} not scaled')
                # Cut text would run into the control's edge; a button's caption stays inside
                # its frame as well.
                margin = 3 if name.startswith('按钮') else 1
                self.assertGreaterEqual(min(left, top), margin, f'text {box} in {rect}')
                self.assertLessEqual(right, rect[2] - margin, f'text {box} in {rect}')
                self.assertLessEqual(bottom, rect[3] - margin, f'text {box} in {rect}')

    def test_a_click_at_a_buttons_scaled_place_presses_it(self):
        # In the 96-dpi layout this point is on the home button; in the scaled one, on this one.
        left, top, width, height = RECT['按钮3']
        before = len(session.opened_addresses())
        self.program.click(left + width - 10, top + height // 2)
        wait_for('the button to open its site', lambda: len(session.opened_addresses()) > before)
        self.assertEqual(session.opened_addresses()[before:], ['http://jidiao.lanpu.example/'])


if __name__ == '__main__':
    unittest.main()
