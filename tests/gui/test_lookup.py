"""Searching, going home and the site links, end to end: real input, the real engine, the
stand-in sites, and a recording default browser."""
import os
import unittest

from harness import CAPTION, HOME_CAPTION, MAIN_HOST, KEY_HOST, SEARCHING, START_PAGE, Session, search_request, wait_until

BINARY = os.environ['KEYLOOKUP_BIN']


def started():
    s = Session(BINARY)
    s.wait_request(START_PAGE)
    s.focus()
    return s


class Search(unittest.TestCase):
    def test_enter_searches_the_escaped_title_and_shows_it_raw_in_the_caption(self):
        for title, escaped in [('Midnight Drive', 'Midnight%20Drive'),
                               (' Rock & Roll #1 ', '%20Rock%20%26%20Roll%20%231%20'),
                               ('星河漫游', '%E6%98%9F%E6%B2%B3%E6%BC%AB%E6%B8%B8')]:
            with self.subTest(title), started() as s:
                s.type(title)
                s.key('Return')
                s.wait_request(search_request(escaped))
                s.wait_caption(SEARCHING + title)

    def test_the_search_button_does_what_enter_does(self):
        with started() as s:
            s.type('Neon Rain')
            s.click('按钮1')
            s.wait_request(search_request('Neon%20Rain'))
            s.wait_caption(SEARCHING + 'Neon Rain')

    def test_an_empty_box_searches_the_bare_prefix(self):
        with started() as s:
            s.key('Return')
            s.wait_request(search_request(''))
            s.wait_caption(SEARCHING)

    def test_the_same_search_twice_asks_the_site_twice(self):
        with started() as s:
            s.type('Static Bloom')
            s.key('Return')
            s.key('Return')
            line = search_request('Static%20Bloom')
            wait_until('two requests', lambda: s.requests().count(line) == 2)

    def test_enter_on_a_focused_button_searches_nothing(self):
        with started() as s:
            s.type('Paper Lanterns')
            s.key('Tab')
            s.key('Return')
            s.settle(1.0)
            self.assertNotIn(search_request('Paper%20Lanterns'), s.requests())
            self.assertEqual(s.caption(), CAPTION)


class Home(unittest.TestCase):
    def test_home_loads_the_start_page_again_and_sets_the_home_caption(self):
        with started() as s:
            s.type('夜航')
            s.key('Return')
            s.wait_caption(SEARCHING + '夜航')
            s.click('按钮4')
            wait_until('the start page again', lambda: s.requests().count(START_PAGE) == 2)
            s.wait_caption(HOME_CAPTION)


class SiteLinks(unittest.TestCase):
    def test_links_open_the_site_roots_in_the_default_browser_and_change_nothing_here(self):
        with started() as s:
            s.click('按钮2')
            wait_until('the main site', lambda: s.opened() == [f'http://{MAIN_HOST}/'])
            s.click('按钮3')
            wait_until('the key site', lambda: s.opened()[-1:] == [f'http://{KEY_HOST}/'])
            s.click('透明标签2', 5, 8)
            wait_until('the main site again', lambda: s.opened()[-1:] == [f'http://{MAIN_HOST}/'])
            s.click('透明标签2', 5, 8, button=3)
            s.settle(1.0)
            self.assertEqual(len(s.opened()), 3, 'a right press opens nothing')
            self.assertEqual(s.caption(), CAPTION)
            self.assertEqual(s.requests().count(START_PAGE), 1, 'the view was not touched')


if __name__ == '__main__':
    unittest.main()
