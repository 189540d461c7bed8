"""The browser view: the start page loads as soon as the window is up, a title typed before the
engine exists is what it loads instead, and a silent view lets no page dialog take the keyboard."""
import os
import unittest

from harness import SEARCHING, START_PAGE, RECTS, Session, search_request, wait_until

BINARY = os.environ['KEYLOOKUP_BIN']


def painted_pixels(s, control):
    """How many pixels of the control's area are not plain white."""
    left, top, w, h = RECTS[control]
    image = s.window.get_image(left, top, w, h, 2, 0xffffffff)  # ZPixmap
    data = image.data
    return sum(1 for i in range(0, len(data), 4) if data[i:i + 3] != b'\xff\xff\xff')


class BrowserView(unittest.TestCase):
    def test_the_start_page_is_requested_and_shown(self):
        with Session(BINARY) as s:
            s.wait_request(START_PAGE)
            wait_until('the page to paint', lambda: painted_pixels(s, '基调') > 1000)


class WindowFirst(unittest.TestCase):
    def test_a_title_typed_as_the_window_appears_is_searched(self):
        # Held from the moment its window is mapped, the program finds the title and Enter waiting
        # ahead of what it does after showing the window: drawing it, then making the engine.
        with Session(BINARY, held_at_map=True) as s:
            s.focus()
            s.type('Midnight Drive')
            s.key('Return')
            s.resume()
            line = search_request('Midnight%20Drive')
            s.wait_request(line)
            s.wait_caption(SEARCHING + 'Midnight Drive')
            wait_until('the search page to paint', lambda: painted_pixels(s, '基调') > 1000)
            s.settle(1.0)
            # The last address written is what stays: nothing loads over the search.
            requests = s.requests()
            self.assertNotIn(START_PAGE, requests[requests.index(line):], requests)


if __name__ == '__main__':
    unittest.main()
