"""A page's requests for a new window: a clicked web address opens in the desktop's default browser
and nothing changes in the window; other schemes and windows nobody clicked for open nothing; a
plain link still navigates inside the browser view."""
import collections
import os
import sys
import unittest
from pathlib import Path

from harness import CAPTION, MAIN_HOST, KEY_HOST, START_PAGE, Session, search_request, wait_until

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'site'))
from standin import NEW_WINDOW_BOX, NEW_WINDOW_ITEMS, new_window_place  # noqa: E402

BINARY = os.environ['KEYLOOKUP_BIN']

# The recording browser also stands for the handlers a page must never reach, so that handing one
# of these on would be seen.
OTHER_HANDLERS = ('x-scheme-handler/smb', 'x-scheme-handler/keylookup-test', 'x-scheme-handler/file',
                  'text/plain', 'application/octet-stream')

# What a click on each item of the stand-in's page hands to the default browser; None: nothing.
OPENS = {
    'blank-http': f'http://{MAIN_HOST}/opened/blank',
    'blank-https': f'https://{KEY_HOST}/opened/secure',
    'script-open': f'http://{KEY_HOST}/opened/script',
    'blank-file': None,
    'blank-custom': None,
    'blank-smb': None,
    'script-file': None,
}


def page_loaded():
    s = Session(BINARY, standin_args=['--new-windows'], handles=OTHER_HANDLERS)
    s.wait_request(START_PAGE)
    s.wait_request(f'GET http://{MAIN_HOST}/new-windows-loaded HTTP/1.1')
    return s


def click_item(s, name):
    index = [n for n, _ in NEW_WINDOW_ITEMS].index(name)
    x, y = new_window_place(index)
    s.click('基调', x + NEW_WINDOW_BOX[0] // 2, y + NEW_WINDOW_BOX[1] // 2)


class NewWindows(unittest.TestCase):
    def test_clicked_web_addresses_open_outside_and_nothing_else_does(self):
        with page_loaded() as s:
            # The refused ones first: whatever they start would start before the last one is seen.
            order = sorted(OPENS, key=lambda name: OPENS[name] is not None)
            for name in order:
                click_item(s, name)
            expected = [address for address in OPENS.values() if address]
            wait_until('the web addresses in the default browser', lambda: len(s.opened()) >= len(expected))
            s.settle(1.0)
            self.assertEqual(collections.Counter(s.opened()), collections.Counter(expected))
            self.assertNotIn(f'http://{MAIN_HOST}/opened/on-load', s.opened(), 'nobody clicked for that one')
            self.assertEqual([r for r in s.requests() if '/opened/' in r], [], 'the view went nowhere')
            self.assertEqual(s.caption(), CAPTION)

    def test_a_link_without_a_new_window_still_navigates_the_view(self):
        with page_loaded() as s:
            click_item(s, 'plain-link')
            s.wait_request(search_request('Neon%20Rain'))
            s.settle(1.0)
            self.assertEqual(s.opened(), [])
            self.assertEqual(s.caption(), CAPTION, 'a page of its own, not a search of ours')


if __name__ == '__main__':
    unittest.main()
