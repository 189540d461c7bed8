"""The real 32-bit program under Wine: its window, keys, clicks and the requests it sends.

Without a window manager, Wine still treats a window with a caption as one a window manager would
decorate: the X window it maps is the client area alone, and nobody draws the caption or the frame.
The outer rectangle therefore exists only on the Windows side; a small probe program asks Windows
for it, and the X window is checked to be that rectangle's client area.
"""

import re
import unittest

from session import Session, wait_for

START_PAGE = 'GET http://www.lanpu.example:80/dy/jd/index.html HTTP/1.1'

# Window styles, as the probe prints them.
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_TABSTOP, WS_VISIBLE = 0x00020000, 0x00010000, 0x00010000, 0x10000000
WS_EX_APPWINDOW, WS_EX_CLIENTEDGE, WS_EX_TRANSPARENT = 0x00040000, 0x00000200, 0x00000020
BS_DEFPUSHBUTTON, BS_MULTILINE, BS_CENTER, BS_VCENTER = 0x1, 0x2000, 0x300, 0xC00
ES_MULTILINE, ES_AUTOHSCROLL = 0x4, 0x80

INSTRUCTIONS = '在搜索框内 输入歌曲名称 点击回车 或点击 搜索基调即可 '

# The controls top to bottom, each at its rectangle in client coordinates: the table's order, but
# with the instructions right above the edit box they name.
CONTROLS = [
    ('按钮4', 'Button', (182, 8, 80, 32), '返回首页'),
    ('透明标签3', 'KeylookupTransparentLabel', (264, 24, 328, 16), '有任何问题联系岚谱客服：QQ：800100200'),
    ('按钮3', 'Button', (96, 8, 80, 32), '岚谱基调网'),
    ('按钮2', 'Button', (8, 8, 80, 32), '岚谱音频管网'),
    ('透明标签2', 'KeylookupTransparentLabel', (179, 375, 256, 16), '岚谱音频 出品 · 点击访问岚谱音频官网'),
    ('基调', 'KeylookupBrowserHost', (1, 86, 605, 288), '基调'),
    ('按钮1', 'Button', (425, 45, 160, 40), '搜索基调'),
    ('透明标签1', 'KeylookupTransparentLabel', (264, 0, 320, 24), INSTRUCTIONS),
    ('编辑框1', 'Edit', (14, 50, 392, 32), ''),
]
RECT = {name: rect for name, _, rect, _ in CONTROLS}


def centre(name):
    left, top, width, height = RECT[name]
    return left + width // 2, top + height // 2


def rect_of(fields):
    return tuple(int(v) for v in fields['rect'].split(','))


def number(fields, name):
    return int(fields[name], 16)


session = None


def setUpModule():
    global session
    session = Session()


def tearDownModule():
    session.close()


class WithProgram(unittest.TestCase):
    """A program of its own for each group of cases."""

    @classmethod
    def setUpClass(cls):
        cls.program = session.start_program()

    @classmethod
    def tearDownClass(cls):
        cls.program.close()

    def wait_caption(self, expected):
        wait_for(f'the caption {expected!r} (it is {self.program.caption()!r})',
                 lambda: self.program.caption() == expected)

    def wait_request(self, line, times=1):
        wait_for(f'{times} request(s) {line!r}', lambda: session.standin.requests().count(line) >= times)


class StartUp(WithProgram):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Read before any case moves the focus.
        cls.report = cls.program.probe()

    def test_caption_is_the_window_definitions(self):
        self.assertEqual(self.program.caption(), '岚谱基调查询 - 岚谱软件')

    def test_outer_rectangle_is_613_by_421_centred_on_the_full_screen(self):
        main = self.report['main']
        self.assertEqual(self.report['screen'], (1920, 1080))
        self.assertEqual(rect_of(main), (653, 329, 613, 421))
        # The X window is the client area of that rectangle: same size, frame equal left and right,
        # and the bottom border as wide as the side ones.
        client_w, client_h = (int(v) for v in main['client'].split(','))
        x, y, w, h = self.program.geometry()
        self.assertEqual((w, h), (client_w, client_h))
        border = (613 - client_w) // 2
        self.assertEqual((x - 653, 653 + 613 - (x + w)), (border, border))
        self.assertEqual(y + h + border, 329 + 421)

    def test_window_has_a_fixed_frame_with_a_minimize_box_and_no_owner(self):
        main = self.report['main']
        style = number(main, 'style')
        for bit, wanted, label in ((WS_CAPTION, True, 'caption'), (WS_SYSMENU, True, 'system menu'),
                                   (WS_MINIMIZEBOX, True, 'minimize box'), (WS_MAXIMIZEBOX, False, 'maximize box'),
                                   (WS_THICKFRAME, False, 'sizing frame')):
            with self.subTest(label):
                self.assertEqual(bool(style & bit), wanted)
        self.assertEqual(main['owner'], '0')
        self.assertTrue(number(main, 'exstyle') & WS_EX_APPWINDOW, 'own taskbar button')

    def test_controls_are_stacked_in_order_at_their_rectangles(self):
        seen = [(c['class'], rect_of(c), c.get('text', '')) for c in self.report['children']]
        self.assertEqual(seen, [(cls, rect, text) for _, cls, rect, text in CONTROLS])
        for c in self.report['children']:
            with self.subTest(c['class'], rect=c['rect']):
                self.assertTrue(number(c, 'style') & WS_VISIBLE)
                self.assertEqual(c['enabled'], '1')

    def test_a_screen_reader_is_given_every_controls_name(self):
        children = self.report['children']
        for c in children:
            accessible = c['accessible']
            with self.subTest(c['class'], rect=c['rect']):
                if c['class'] == 'Edit':
                    # What it is for comes from the static text right above it.
                    self.assertNotEqual(accessible['label'], '-1', 'no static text names it')
                    label = children[int(accessible['label'])]
                    self.assertEqual((label['class'], label['text']), ('KeylookupTransparentLabel', INSTRUCTIONS))
                else:
                    # The default accessible object is named by the window text.
                    self.assertNotEqual(c['text'], '')
                    self.assertEqual(accessible['text'], c['text'])

    def test_each_kind_of_control_has_its_styles(self):
        for c in self.report['children']:
            style, ex = number(c, 'style'), number(c, 'exstyle')
            with self.subTest(c['class'], rect=c['rect']):
                if c['class'] == 'Button':
                    self.assertEqual(style & (BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP),
                                     BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP)
                    self.assertFalse(style & BS_DEFPUSHBUTTON, 'no default push button')
                elif c['class'] == 'Edit':
                    self.assertTrue(ex & WS_EX_CLIENTEDGE)
                    self.assertTrue(style & ES_AUTOHSCROLL)
                    self.assertFalse(style & ES_MULTILINE)
                elif c['class'] == 'KeylookupTransparentLabel':
                    self.assertTrue(ex & WS_EX_TRANSPARENT)
                    self.assertFalse(style & WS_TABSTOP)

    def test_window_icons_are_the_standard_sizes(self):
        self.assertEqual(self.program.icon_sizes(), [(32, 32), (16, 16)])

    def test_edit_box_has_the_focus_at_first_showing(self):
        focus = self.report.get('focus')
        self.assertIsNotNone(focus, 'nothing has the focus')
        self.assertEqual((focus['class'], rect_of(focus)), ('Edit', RECT['编辑框1']))

    def test_start_page_is_requested_through_the_proxy(self):
        self.wait_request(START_PAGE)

    def test_background_shows_through_the_labels_and_the_credit_line_is_navy(self):
        width, height, rows = self.program.screenshot()
        self.assertEqual((width, height), self.program.geometry()[2:])
        for name in ('透明标签1', '透明标签3', '透明标签2'):
            left, top, w, h = RECT[name]
            pixels = [rows[y][x] for y in range(top, top + h) for x in range(left, left + w)]
            commonest = max(pixels.count(p) for p in set(pixels))
            with self.subTest(name):
                # A label painting a background of its own would be mostly one colour.
                self.assertLess(commonest / len(pixels), 0.5)
        left, top, w, h = RECT['透明标签2']
        credit = {rows[y][x] for y in range(top, top + h) for x in range(left, left + w)}
        self.assertIn((0, 0, 128), credit)


class Keyboard(WithProgram):
    def focused_rect(self):
        focus = self.program.probe().get('focus')
        return rect_of(focus) if focus else None

    def test_tab_and_shift_tab_move_the_focus_through_the_order(self):
        # From the edit box: Tab goes to the search button; Shift+Tab from there comes back, and
        # once more wraps round to the home button at the other end.
        self.program.click(*centre('编辑框1'))
        wait_for('the edit box to take the focus', lambda: self.focused_rect() == RECT['编辑框1'])
        for key, name in (('Tab', '按钮1'), ('shift+Tab', '编辑框1'), ('shift+Tab', '按钮4')):
            with self.subTest(key, to=name):
                self.program.key(key)
                wait_for(f'{key} to focus {name}', lambda: self.focused_rect() == RECT[name])


def area(xwininfo):
    return int(re.search(r'Width:\s+(\d+)', xwininfo).group(1)) * int(re.search(r'Height:\s+(\d+)', xwininfo).group(1))


class EngineMissing(unittest.TestCase):
    def test_a_view_that_cannot_be_created_is_a_fatal_stop_after_the_window_shows(self):
        # Without the DLLs that hold the WebBrowser control, the window still comes first; the
        # engine that cannot follow it stops the program with the message and exit code -1.
        before = len(session.standin.requests())
        program = session.start_program(switched_off='ieframe,shdocvw')
        try:
            shown = wait_for('the error message beside the window', lambda: len(program.windows()) == 2 and
                             program.windows())
            box = min(shown, key=lambda w: area(session.x('xwininfo', '-id', w)))
            session.x('xdotool', 'windowfocus', '--sync', box)
            session.x('xdotool', 'key', 'Return')
            self.assertEqual(program.wait_exit(), 255)  # -1 as an unsigned exit code
            self.assertNotIn(START_PAGE, session.standin.requests()[before:])
        finally:
            program.close()


if __name__ == '__main__':
    unittest.main()
