"""The browser view: the start page loads from the moment the window exists, and a silent view
lets no page dialog take the keyboard."""
import os
import unittest

from harness import START_PAGE, RECTS, Session, wait_until

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


if __name__ == '__main__':
    unittest.main()
