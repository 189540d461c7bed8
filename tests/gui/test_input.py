"""Keyboard, focus and mouse in the real window: which events the program raises, with what.

Runs the recorder build: the real program with every input event bound to a handler that prints
"<source> <event> <args...>"; it vetoes nothing, like the program's own handlers.
"""
import os
import unittest

from harness import Session, wait_until

BINARY = os.environ['KEYLOOKUP_BIN']
PROBE = 'F2'  # a key no control acts on: its key_down names the focused control
PROBE_VK = 113


class InputSession(Session):
    def events(self):
        return [line for line in self.output() if line.split(' ')[0] in SOURCES]

    def wait_event(self, line, timeout=10):
        wait_until(f'event {line!r}', lambda: line in self.events(), timeout)

    def focused(self):
        """The control holding the keyboard focus, or None inside the page of the browser view."""
        before = len(self.events())
        self.key(PROBE)
        probe = f' key_down {PROBE_VK} 0'
        try:
            wait_until('the probe', lambda: any(e.endswith(probe) for e in self.events()[before:]), timeout=1.5)
        except AssertionError:
            return None  # keys inside the page raise nothing
        return next(e for e in self.events()[before:] if e.endswith(probe)).split(' ')[0]


# First words of the recorder's lines: the event sources, and "content" for what the box holds.
SOURCES = {'window', '按钮1', '按钮2', '按钮3', '按钮4', '编辑框1', '透明标签1', '透明标签2', '透明标签3', '基调', 'content'}


def started():
    s = InputSession(BINARY)
    s.wait_event('window created')
    s.focus()
    return s


class Focus(unittest.TestCase):
    def test_tab_and_shift_tab_follow_the_focus_order_and_wrap(self):
        with started() as s:
            self.assertEqual(s.focused(), '编辑框1', 'the title can be typed at once')
            forward = []
            for _ in range(6):
                s.key('Tab')
                forward.append(s.focused())
            self.assertEqual(forward, ['按钮1', None, '按钮2', '按钮3', '按钮4', '编辑框1'])
            s.key('shift+Tab')
            self.assertEqual(s.focused(), '按钮4')
            s.key('shift+Tab')
            s.key('shift+Tab')
            s.key('shift+Tab')
            self.assertEqual(s.focused(), None, 'inside the page')
            tab_downs = [e for e in s.events() if e.endswith('key_down 9 0') or e.endswith('key_down 9 2')]
            self.assertEqual(tab_downs, [], 'Tab and Shift+Tab are consumed before any control sees them')

    def test_focus_is_where_it_was_after_switching_away_and_back(self):
        with started() as s:
            s.key('Tab')
            self.assertEqual(s.focused(), '按钮1')
            other = s.x.screen().root.create_window(0, 0, 50, 50, 0, s.x.screen().root_depth)
            other.map()
            s.x.sync()
            s.xdotool('windowfocus', '--sync', str(other.id))
            s.focus()
            self.assertEqual(s.focused(), '按钮1')


    def test_a_label_never_takes_the_focus(self):
        with started() as s:
            s.key('Tab')
            s.click('透明标签2')
            s.wait_event('透明标签2 left_down 128 8 0')
            self.assertEqual(s.focused(), '按钮1')

    def test_the_first_showing_raises_got_focus_where_the_focus_lands(self):
        with started() as s:
            s.wait_event('编辑框1 got_focus')
            s.key('Tab')
            s.wait_event('编辑框1 lost_focus')
            s.wait_event('按钮1 got_focus')


class Escape(unittest.TestCase):
    def test_plain_esc_closes_from_anywhere_in_the_window(self):
        for label, tabs in [('edit box', 0), ('a button', 1), ('the page', 2)]:
            with self.subTest(label), started() as s:
                for _ in range(tabs):
                    s.key('Tab')
                s.key('Escape')
                self.assertEqual(s.wait_exit(), 0)
                self.assertIn('window closing', s.events())
                self.assertFalse([e for e in s.events() if ' key_down 27 ' in e], 'Esc raises no key event')

    def test_esc_with_shift_or_ctrl_is_an_ordinary_key(self):
        with started() as s:
            s.key('shift+Escape')
            s.key('ctrl+Escape')
            s.wait_event('编辑框1 key_down 27 2')
            s.wait_event('编辑框1 key_down 27 1')
            s.settle()
            self.assertTrue(s.running())


class Keys(unittest.TestCase):
    def test_enter_gives_13_with_the_modifier_bits(self):
        with started() as s:
            for keys, line in [('Return', '编辑框1 key_down 13 0'), ('ctrl+Return', '编辑框1 key_down 13 1'),
                               ('shift+Return', '编辑框1 key_down 13 2'), ('alt+Return', '编辑框1 key_down 13 4'),
                               ('KP_Enter', '编辑框1 key_down 13 0')]:
                with self.subTest(keys):
                    before = s.events().count(line)
                    s.key(keys)
                    wait_until(line, lambda: s.events().count(line) == before + 1)
            self.assertNotIn('按钮1 click', s.events(), 'Enter clicks no button')

    def test_modifier_keys_do_not_report_themselves_and_keypad_digits_are_digits(self):
        with started() as s:
            s.key('ctrl')
            s.key('KP_7')
            s.key('shift+1')
            s.wait_event('编辑框1 key_down 17 0')
            s.wait_event('编辑框1 key_down 55 0')
            s.wait_event('编辑框1 key_down 49 2')

    def test_each_change_of_the_text_is_one_content_change(self):
        with started() as s:
            s.type('abc')
            wait_until('three changes', lambda: s.events().count('编辑框1 changed') == 3)
            s.key('BackSpace')
            wait_until('a fourth change', lambda: s.events().count('编辑框1 changed') == 4)

    def test_a_vetoed_key_never_reaches_the_box(self):
        # The recorder vetoes Q in the edit box; everything else goes on.
        with started() as s:
            s.type('aqb')
            s.key('Return')
            s.wait_event('content [ab]')
            self.assertEqual(s.events().count('编辑框1 changed'), 2)

    def test_space_clicks_a_focused_button_and_enter_does_not(self):
        with started() as s:
            s.key('Tab')
            s.key('Return')
            s.wait_event('按钮1 key_down 13 0')
            s.key('space')
            s.wait_event('按钮1 click')
            s.settle()
            self.assertEqual(s.events().count('按钮1 click'), 1)


class Mouse(unittest.TestCase):
    def test_a_label_press_carries_its_own_coordinates_and_modifiers(self):
        with started() as s:
            s.click('透明标签2', 0, 0)
            s.wait_event('透明标签2 left_down 0 0 0')
            s.click('透明标签2', 255, 15)
            s.wait_event('透明标签2 left_down 255 15 0')
            s.xdotool('keydown', 'ctrl')
            s.click('透明标签2', 100, 8)
            s.xdotool('keyup', 'ctrl')
            s.wait_event('透明标签2 left_down 100 8 1')
            s.settle(0.6)
            s.click('透明标签2', 30, 4, button=3)
            s.wait_event('透明标签2 right_down 30 4 0')
            self.assertEqual(len([e for e in s.events() if e.startswith('透明标签2 left_down')]), 3)

    def test_double_clicks(self):
        with started() as s:
            s.click('透明标签2', 20, 5, repeat=2)
            s.wait_event('透明标签2 double_click 20 5 0')
            s.settle(0.6)
            self.assertEqual([e for e in s.events() if e.startswith('透明标签2 left_down')],
                             ['透明标签2 left_down 20 5 0'], 'only the first press of a double click')
            s.click('按钮2', repeat=2)
            wait_until('two clicks', lambda: s.events().count('按钮2 click') == 2)

    def test_press_inside_a_button_and_release_outside_is_no_click(self):
        with started() as s:
            left, top = 96, 8
            s.xdotool('mousemove', '--window', str(s.window.id), str(left + 40), str(top + 16))
            s.xdotool('mousedown', '1')
            s.xdotool('mousemove', '--window', str(s.window.id), '300', '200')
            s.xdotool('mouseup', '1')
            s.wait_event('按钮3 left_down 40 16 0')
            s.settle()
            self.assertNotIn('按钮3 click', s.events())
            s.click('按钮3')
            s.wait_event('按钮3 click')


if __name__ == '__main__':
    unittest.main()
