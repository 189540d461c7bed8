"""Plays the rows of the scenario table on one desktop, through that desktop's driver.

A driver starts a run of the program for a row (`driver.start(row)`, a context manager) whose
session offers the input (type, key, paste, click, press_and_leave) and what can be seen from
outside (caption, request lines, addresses opened, exit code). Everything here waits for what a row
expects with a generous deadline; nothing is timed.
"""
import os
import socket
import sys
import time
import unittest
import urllib.parse
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'support'))
from desktop import wait_until  # noqa: E402

from table import ROWS  # noqa: E402

WAIT = 60  # long titles and a busy machine; a row that works needs far less


def shorten(text, limit=120):
    text = repr(text)
    return text if len(text) <= limit else f'{text[:limit]}... ({len(text)} characters)'


def escaped(title):
    return urllib.parse.quote(title.encode('utf-8'), safe='')


def closed_port():
    """A loopback port nobody listens on: every connection to it is refused."""
    with socket.socket() as sock:
        sock.bind(('127.0.0.1', 0))
        return sock.getsockname()[1]


class Desktop:
    """What every driver's session shares: the checks, written once against its few observers."""

    name = ''
    entry_limit = None  # bytes of UTF-8 the edit box keeps of a paste; None: all of it

    def entry_keeps(self, title):
        if self.entry_limit is None:
            return title
        return title.encode('utf-8')[:self.entry_limit].decode('utf-8', 'ignore')  # never half a character

    def escaped(self, title):
        return escaped(title)

    def request_line(self, target):
        host, path = target
        return f'GET http://{host}{path} HTTP/1.1'


def _value(expected, desktop):
    return expected(desktop) if callable(expected) else expected


def check(test, s, verb, args):
    if verb == 'request':
        target, times = args
        line = s.request_line(_value(target, s))
        wait_until(f'{times} request(s) {shorten(line)} (seen {s.requests().count(line)})',
                   lambda: s.requests().count(line) == times, WAIT)
    elif verb == 'no_request':
        s.settle(1.0)
        test.assertNotIn(s.request_line(args[0]), s.requests())
    elif verb == 'caption':
        text = _value(args[0], s)
        wait_until(f'caption {shorten(text)} (it is {shorten(s.caption())})', lambda: s.caption() == text, WAIT)
    elif verb == 'opened':
        wanted = list(args[0])
        wait_until(f'the default browser to have opened {wanted} (it has {s.opened()})',
                   lambda: s.opened()[:len(wanted)] == wanted, WAIT)
        s.settle(1.0)
        test.assertEqual(s.opened(), wanted, 'nothing more is opened')
    elif verb == 'exits':
        test.assertEqual(s.wait_exit(), args[0])
    elif verb == 'running':
        s.settle()
        test.assertTrue(s.running())
    else:
        raise ValueError(f'unknown step {verb!r}')


ACTIONS = {'type', 'key', 'paste', 'click', 'press_and_leave'}


def play(test, s, row):
    for verb, *args in row.steps:
        if verb in ACTIONS:
            getattr(s, verb)(*args)
        else:
            check(test, s, verb, args)


def scenario_case(driver):
    """A TestCase playing every row on the driver's desktop, one subtest per row."""

    class Scenarios(unittest.TestCase):
        @classmethod
        def setUpClass(cls):
            driver.set_up()

        @classmethod
        def tearDownClass(cls):
            driver.tear_down()

        def test_rows(self):
            # Parts of row names, split by '|', to play a few rows while working.
            only = os.environ.get('KEYLOOKUP_ROWS')
            for row in ROWS:
                with self.subTest(row.name):
                    if driver.name in row.not_on:
                        self.skipTest(f'not played on {driver.name}: {row.not_on[driver.name]}')
                    if only and not any(part in row.name for part in only.split('|')):
                        continue
                    started = time.monotonic()
                    with driver.start(row) as s:
                        play(self, s, row)
                    print(f'{driver.name}: {row.name}: {time.monotonic() - started:.1f} s', file=sys.stderr)

    return Scenarios
