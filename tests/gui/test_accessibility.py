"""What a screen reader finds in the window: the accessible tree read over AT-SPI, on an
accessibility bus of the test's own, and the credit line's link action done as a screen reader does
it, with a recording default browser."""
import json
import os
import re
import signal
import subprocess
import sys
import unittest
from pathlib import Path

from harness import CAPTION, MAIN_HOST, START_PAGE, Session, wait_until
from desktop import descendants  # noqa: E402  (found through the harness's path)

BINARY = os.environ['KEYLOOKUP_BIN']
RECORDER = os.environ['KEYLOOKUP_RECORDER']
READER = Path(__file__).with_name('atspi_tree.py')

INSTRUCTIONS = '在搜索框内 输入歌曲名称 点击回车 或点击 搜索基调即可 '
SUPPORT = '有任何问题联系岚谱客服：QQ：800100200'
CREDIT = '岚谱音频 出品 · 点击访问岚谱音频官网'


class AccessibleSession(Session):
    """A session bus of its own with the accessibility bus launched on it, before the program."""

    def program_env(self, env):
        env = dict(env)
        env.pop('NO_AT_BRIDGE', None)
        launched = subprocess.run(['dbus-launch', '--sh-syntax'], env=env, check=True, capture_output=True,
                                  text=True).stdout
        values = dict(re.findall(r"^(\w+)='?(.*?)'?;?$", launched, re.M))
        self.bus_pid = int(values['DBUS_SESSION_BUS_PID'])
        env['DBUS_SESSION_BUS_ADDRESS'] = values['DBUS_SESSION_BUS_ADDRESS']
        self.launcher = subprocess.Popen(['/usr/libexec/at-spi-bus-launcher', '--launch-immediately'], env=env,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Claimed before the program asks for it, so no second launcher is activated.
        wait_until('the accessibility bus', lambda: self._bus_owned(env))
        self.reader_env = env
        return env

    @staticmethod
    def _bus_owned(env):
        answer = subprocess.run(['dbus-send', '--session', '--print-reply', '--dest=org.freedesktop.DBus', '/',
                                 'org.freedesktop.DBus.NameHasOwner', 'string:org.a11y.Bus'],
                                env=env, capture_output=True, text=True)
        return answer.stdout.rstrip().endswith('true')

    def close(self):
        # The launcher's own bus daemon and the registry it started go with it.
        launcher = getattr(self, 'launcher', None)
        if launcher:
            for pid in [*reversed(descendants(launcher.pid)), launcher.pid]:
                self._signal(pid)
            launcher.wait()
        if getattr(self, 'bus_pid', None):
            self._signal(self.bus_pid)
        super().close()

    @staticmethod
    def _signal(pid):
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass

    # --- what a screen reader sees ---------------------------------------------------------------
    def read(self, *args):
        done = subprocess.run([sys.executable, str(READER), str(self.app.pid), *args], env=self.reader_env,
                              capture_output=True, text=True, timeout=60)
        if done.returncode:
            raise AssertionError(f'the reader failed: {done.stderr.strip()}')
        return json.loads(done.stdout)

    def tree(self):
        """The tree once the controls and the page are in it: the program and the engine's page
        join the bus on their own time."""
        def complete():
            nodes = self.read()
            roles = {n['role'] for n in nodes or []}
            return nodes if {'text', 'document web'} <= roles else None
        return wait_until('the accessible tree', complete, timeout=30, step=0.3)

    def do_action(self, role, name, action):
        return self.read(role, name, action)


def named(nodes, role, name):
    return [n for n in nodes if n['role'] == role and n['name'] == name]


class Tree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = AccessibleSession(BINARY)
        cls.session.wait_request(START_PAGE)
        cls.nodes = cls.session.tree()

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def test_every_control_is_there_once_with_its_role_and_name(self):
        for role, name in [('text', INSTRUCTIONS), ('label', INSTRUCTIONS), ('label', SUPPORT), ('link', CREDIT),
                           ('push button', '搜索基调'), ('push button', '岚谱音频管网'),
                           ('push button', '岚谱基调网'), ('push button', '返回首页')]:
            with self.subTest(role=role, name=name):
                found = named(self.nodes, role, name)
                self.assertEqual(len(found), 1, f'{len(found)} found')
                self.assertTrue(found[0]['showing'])

    def test_the_browser_view_is_named_and_holds_the_page(self):
        views = [n for n in self.nodes if n['name'] == '基调']
        self.assertEqual(len(views), 1)
        view = views[0]['path']
        self.assertNotIn(views[0]['role'], ('label', 'link', 'text'))
        pages = [n for n in self.nodes if n['role'] == 'document web']
        self.assertTrue(pages and all(p['path'][:len(view)] == view for p in pages), 'the page is inside the view')

    def test_the_edit_box_is_labelled_by_the_instructions_and_they_label_it(self):
        box, = named(self.nodes, 'text', INSTRUCTIONS)
        label, = named(self.nodes, 'label', INSTRUCTIONS)
        self.assertEqual(box['relations'].get('labelled-by'), [label['path']])
        self.assertEqual(label['relations'].get('label-for'), [box['path']])

    def test_only_the_credit_line_has_an_action_and_no_label_takes_the_focus(self):
        for role, name, actions in [('link', CREDIT, ['click']), ('label', INSTRUCTIONS, []),
                                    ('label', SUPPORT, [])]:
            with self.subTest(name):
                node, = named(self.nodes, role, name)
                self.assertEqual(node['actions'], actions)
                self.assertFalse(node['focusable'], 'out of the focus order')


class LinkAction(unittest.TestCase):
    def test_the_credit_lines_action_opens_the_main_site_like_a_click(self):
        with AccessibleSession(BINARY) as s:
            s.wait_request(START_PAGE)
            s.tree()
            self.assertTrue(s.do_action('link', CREDIT, 'click'))
            wait_until('the main site in the default browser', lambda: s.opened() == [f'http://{MAIN_HOST}/'])
            self.assertTrue(s.do_action('link', CREDIT, 'click'))
            wait_until('the main site again', lambda: len(s.opened()) == 2)
            self.assertEqual(s.opened(), [f'http://{MAIN_HOST}/'] * 2)
            self.assertEqual(s.caption(), CAPTION)
            self.assertEqual(s.requests().count(START_PAGE), 1, 'the view was not touched')

    def test_the_action_raises_what_a_press_in_the_middle_raises(self):
        # The recorder binds a press to every control: each label a press acts on is a link.
        with AccessibleSession(RECORDER) as s:
            wait_until('the window', lambda: 'window created' in s.output())
            nodes = s.tree()
            for name in (INSTRUCTIONS, SUPPORT, CREDIT):
                with self.subTest(name):
                    self.assertEqual(len(named(nodes, 'link', name)), 1)
            s.do_action('link', CREDIT, 'click')
            wait_until('the press', lambda: '透明标签2 left_down 128 8 0' in s.output())
            s.settle()
            presses = [line for line in s.output() if 'left_down' in line or 'double_click' in line]
            self.assertEqual(presses, ['透明标签2 left_down 128 8 0'])


if __name__ == '__main__':
    unittest.main()
