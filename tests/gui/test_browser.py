"""The browser view: the start page loads from the moment the window exists, and a silent view
lets no page dialog take the keyboard."""
import os
import unittest

from harness import START_PAGE, RECTS, Session, search_request, wait_until

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

    def test_page_dialogs_are_answered_silently(self):
        with Session(BINARY, standin_args=['--dialogs']) as s:
            # The page asks alert, confirm and prompt, then requests this: only if none of them waits.
            s.wait_request('GET http://www.lanpu.example/dialogs-done HTTP/1.1')
            s.focus()
            s.type('Neon Rain')
            s.key('Return')
            s.wait_request(search_request('Neon%20Rain'))


if __name__ == '__main__':
    unittest.main()
