"""Typing through a real input method framework, IBus with libpinyin and Fcitx 5 with its pinyin,
each on a session bus of the test's own, answering at once or asynchronously: the method sees the
keys first, the window acts only on the keys it lets go, and every key is raised once.
"""
import os
import unittest

from harness import SEARCH_PREFIX, SEARCHING, START_PAGE, Session, escaped, search_request, wait_until
from input_methods import Fcitx, IBus

BINARY = os.environ['KEYLOOKUP_BIN']
RECORDER = os.environ['KEYLOOKUP_RECORDER']


class Typing:
    """The cases, run per framework and way of asking by the classes below."""
    framework = None
    asynchronous = False

    def started(self, binary=BINARY, english=False):
        method = self.framework(english=english, asynchronous=self.asynchronous)
        self.addCleanup(self.assert_nothing_left, method)
        s = Session(binary, input_method=method)
        self.addCleanup(s.close)
        if binary == BINARY:
            s.wait_request(START_PAGE)
        s.focus()
        wait_until('the box to have an input context', method.ready, timeout=30, step=0.3)
        return s

    def assert_nothing_left(self, method):
        self.assertEqual(method.left_behind(), [], 'the framework outlives the test')

    def searches(self, s):
        return [r for r in s.requests() if r.startswith(f'GET {SEARCH_PREFIX}')]

    def test_space_chooses_the_character_and_enter_searches_it_once(self):
        s = self.started()
        s.key('n', 'i', 'space', 'Return')
        s.wait_request(search_request(escaped('你')))
        s.wait_caption(SEARCHING + '你')
        s.settle(1.0)
        self.assertEqual(self.searches(s), [search_request(escaped('你'))])

    def test_enter_commits_the_letters_without_searching(self):
        s = self.started()
        s.key('n', 'i', 'Return')
        s.settle(1.0)
        self.assertEqual(self.searches(s), [], 'Enter belonged to the composition')
        s.key('Return')
        s.wait_request(search_request('ni'))
        s.settle(1.0)
        self.assertEqual(self.searches(s), [search_request('ni')])

    def test_esc_cancels_the_composition_and_only_then_closes(self):
        s = self.started()
        s.key('n', 'i', 'Escape')
        s.settle(1.0)
        self.assertTrue(s.running(), 'Esc belonged to the composition')
        s.key('Return')
        s.wait_request(search_request(''))  # the box is empty
        s.key('Escape')
        self.assertEqual(s.wait_exit(), 0)

    def test_in_english_enter_searches_once_and_tab_moves_one_step(self):
        s = self.started(english=True)
        s.type('ab')
        s.key('Return')
        s.wait_request(search_request('ab'))
        # One step lands on the search button, whose Space click searches again.
        s.key('Tab', 'space')
        wait_until('the click', lambda: self.searches(s).count(search_request('ab')) == 2)
        s.settle(1.0)
        self.assertEqual(self.searches(s), [search_request('ab')] * 2)

    def test_each_key_is_raised_once_and_taken_ones_as_229(self):
        s = self.started(binary=RECORDER)
        s.key('n', 'i', 'space', 'Return')
        wait_until('the search key', lambda: 'content [你]' in s.output())
        s.settle(1.0)
        downs = [line for line in s.output() if line.startswith('编辑框1 key_down')]
        # The first key reaches the method the old way, before the window knows one is there.
        self.assertEqual(downs, ['编辑框1 key_down 78 0', '编辑框1 key_down 229 0', '编辑框1 key_down 229 0',
                                 '编辑框1 key_down 13 0'])
        ups = [line for line in s.output() if line.startswith('编辑框1 key_up')]
        self.assertEqual(len(ups), len(set(ups)), 'a release raised twice')


class IBusPinyin(Typing, unittest.TestCase):
    framework = IBus


class FcitxPinyin(Typing, unittest.TestCase):
    framework = Fcitx


class IBusPinyinAsynchronous(Typing, unittest.TestCase):
    framework = IBus
    asynchronous = True


class FcitxPinyinAsynchronous(Typing, unittest.TestCase):
    framework = Fcitx
    asynchronous = True


if __name__ == '__main__':
    unittest.main()
