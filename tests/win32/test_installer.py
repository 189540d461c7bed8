"""The Windows installer and the portable zip from scripts/package, under Wine.

Each test that installs does it in a fresh 32-bit prefix of its own, as on a machine that never
had the program, and looks at what is left afterwards on the prefix's drive and in its registry.
"""

import os
import pathlib
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

from session import Session, run, wait_for
from test_resources import RT_GROUP_ICON, RT_VERSION, icon_directory, resource, version_tree

ROOT = pathlib.Path(__file__).resolve().parents[2]
VERSION = re.search(r'project\(keylookup VERSION ([0-9.]+)', (ROOT / 'CMakeLists.txt').read_text()).group(1)
DIST = pathlib.Path(os.environ.get('KEYLOOKUP_DIST', ROOT / 'dist'))
SETUP = DIST / f'keylookup-{VERSION}-win32-setup.exe'
ZIP = DIST / f'keylookup-{VERSION}-win32.zip'

PRODUCT, COMPANY = '岚谱基调查询', '岚谱音频'
INSTALL_DIR = f'C:\\Program Files\\{COMPANY}\\{PRODUCT}'
PROGRAM = f'{INSTALL_DIR}\\keylookup.exe'
UNINSTALLER = f'{INSTALL_DIR}\\uninstall.exe'
SHORTCUT = f'C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\{PRODUCT}.lnk'
UNINSTALL_KEYS = 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
ENTRY = f'{UNINSTALL_KEYS}\\keylookup'
START_PAGE = 'GET http://www.lanpu.example:80/dy/jd/index.html HTTP/1.1'
CAPTION = '岚谱基调查询 - 岚谱软件'
MAX_PROGRAM_BYTES = 600 * 1024


def unescape_reg(text):
    """A string value as Wine writes it in a .reg file: \\\\, \\" and \\x#### escapes."""
    out, i = [], 0
    while i < len(text):
        if text[i] == '\\' and i + 1 < len(text):
            if text[i + 1] == 'x':
                digits = re.match(r'[0-9a-fA-F]{1,4}', text[i + 2:]).group(0)
                out.append(chr(int(digits, 16)))
                i += 2 + len(digits)
                continue
            out.append(text[i + 1])
            i += 2
            continue
        out.append(text[i])
        i += 1
    return ''.join(out)


class Prefix:
    """A fresh 32-bit Wine prefix, with the session's display and stand-in."""

    def __init__(self, session):
        self.folder = pathlib.Path(tempfile.mkdtemp(prefix='keylookup-setup-'))
        self.env = dict(session.env, WINEPREFIX=str(self.folder / 'prefix'), WINEARCH='win32')
        fonts = 'Z:' + str(ROOT / 'tests' / 'win32' / 'cjk-fonts.reg').replace('/', '\\')
        for args in (['wineboot', '-i'], ['wine', 'regedit', '/S', fonts]):
            self.wine(*args)

    def wine(self, *args):
        """Runs a command and waits until every process it started in the prefix has ended (an
        uninstaller runs on from a copy of itself, so its own exit says nothing)."""
        done = run(list(args), self.env, timeout=600)
        run(['wineserver', '-w'], self.env, timeout=600)
        return done.returncode

    def path(self, windows_path):
        assert windows_path[:3].upper() == 'C:\\'
        return self.folder / 'prefix' / 'drive_c' / windows_path[3:].replace('\\', '/')

    def files(self):
        """Every file and folder on the C: drive outside the system's own folders."""
        drive = self.folder / 'prefix' / 'drive_c'
        return {str(p.relative_to(drive)) for p in drive.rglob('*')
                if p.relative_to(drive).parts[0] != 'windows' and 'Temp' not in p.parts}

    def registry(self):
        """The machine's registry hive as {key: {name: value}}: strings and dwords."""
        keys, key = {}, None
        text = (self.folder / 'prefix' / 'system.reg').read_text(encoding='utf-8', errors='replace')
        for line in text.splitlines():
            if m := re.match(r'^\[(.*)\] \d+$', line):
                key = keys.setdefault(unescape_reg(m.group(1)), {})
            elif key is not None and (m := re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)):
                name, raw = unescape_reg(m.group(1)), m.group(2)
                if raw.startswith('"') and raw.endswith('"'):
                    key[name] = unescape_reg(raw[1:-1])
                elif raw.startswith('dword:'):
                    key[name] = int(raw[6:], 16)
        return keys

    def entries_named(self, name):
        prefix = UNINSTALL_KEYS + '\\'
        return [k for k, v in self.registry().items() if k.startswith(prefix) and v.get('DisplayName') == name]

    def install(self):
        return self.wine('wine', str(SETUP), '/S')

    def uninstall(self):
        return self.wine('wine', UNINSTALLER, '/S')

    def close(self):
        run(['wineserver', '-k'], self.env, timeout=60)
        shutil.rmtree(self.folder, ignore_errors=True)


session = None


def setUpModule():
    global session
    for made in (SETUP, ZIP):
        if not made.exists():
            raise AssertionError(f'{made} is missing: scripts/package makes it')
    session = Session()


def tearDownModule():
    session.close()


def zipped_program():
    with zipfile.ZipFile(ZIP) as z:
        return z.namelist(), z.read('keylookup.exe')


class Files(unittest.TestCase):
    def test_the_zip_holds_the_release_program_alone(self):
        names, program = zipped_program()
        self.assertEqual(names, ['keylookup.exe'])
        self.assertLessEqual(len(program), MAX_PROGRAM_BYTES)
        self.assertEqual(program[:2], b'MZ')

    def test_the_installer_carries_version_information_and_the_icon(self):
        key, fixed, children, _ = version_tree(resource(RT_VERSION, path=SETUP))
        self.assertEqual(key, 'VS_VERSION_INFO')
        _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from('<6I', fixed)
        numbers = tuple(int(n) for n in VERSION.split('.'))
        for ms, ls in ((file_ms, file_ls), (product_ms, product_ls)):
            self.assertEqual((ms >> 16, ms & 0xffff, ls >> 16, ls & 0xffff), numbers)
        strings = {k: v for block, _, tables, _ in children if block == 'StringFileInfo'
                   for _, _, table, _ in tables for k, v, _, _ in table}
        self.assertEqual((strings['ProductName'], strings['CompanyName'], strings['ProductVersion'],
                          strings['FileVersion']), (PRODUCT, COMPANY, VERSION, VERSION))
        count, _ = icon_directory(resource(RT_GROUP_ICON, path=SETUP), 14)
        self.assertGreaterEqual(count, 1)


class Installed(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(session)
        self.addCleanup(self.prefix.close)
        self.before = self.prefix.files()
        self.keys_before = set(self.prefix.registry())

    def installed(self):
        self.assertEqual(self.prefix.install(), 0, 'silent install')

    def test_silent_install_puts_the_program_shortcut_and_entry_in_place_and_it_runs(self):
        self.installed()
        _, zipped = zipped_program()
        program = self.prefix.path(PROGRAM)
        self.assertEqual(program.read_bytes(), zipped, 'the installed program is the zip\'s')
        self.assertEqual(sorted(os.listdir(program.parent)), ['keylookup.exe', 'uninstall.exe'])
        link = self.prefix.path(SHORTCUT).read_bytes()
        self.assertTrue('keylookup.exe'.encode('utf-16-le') in link or b'keylookup.exe' in link)

        entry = self.prefix.registry()[ENTRY]
        self.assertEqual({k: entry.get(k) for k in ('DisplayName', 'DisplayVersion', 'Publisher', 'DisplayIcon',
                                                    'URLInfoAbout', 'NoModify', 'NoRepair', 'UninstallString')},
                         {'DisplayName': PRODUCT, 'DisplayVersion': VERSION, 'Publisher': COMPANY,
                          'DisplayIcon': PROGRAM, 'URLInfoAbout': 'http://www.lanpu.example/',
                          'NoModify': 1, 'NoRepair': 1, 'UninstallString': f'"{UNINSTALLER}"'})
        self.assertGreaterEqual(entry['EstimatedSize'], len(zipped) // 1024)

        # Started as a user starts it, from where it was installed.
        saved = session.env
        session.env = self.prefix.env
        self.addCleanup(setattr, session, 'env', saved)
        started = session.start_program(PROGRAM)
        self.addCleanup(started.close)
        self.assertEqual(started.caption(), CAPTION)
        wait_for('the start page request', lambda: START_PAGE in session.standin.requests())

    def test_installing_again_replaces_the_earlier_install(self):
        self.installed()
        self.installed()
        self.assertEqual(self.prefix.entries_named(PRODUCT), [ENTRY])
        self.assertEqual(sorted(os.listdir(self.prefix.path(INSTALL_DIR))), ['keylookup.exe', 'uninstall.exe'])
        shortcuts = [p for p in self.prefix.files() if p.endswith('.lnk') and PRODUCT in p]
        self.assertEqual(len(shortcuts), 1, shortcuts)

    def test_silent_uninstall_takes_away_what_the_install_made_and_nothing_else(self):
        self.installed()
        self.assertEqual(self.prefix.uninstall(), 0, 'silent uninstall')
        self.assertEqual(self.prefix.files() ^ self.before, set())
        self.assertEqual(set(self.prefix.registry()) ^ self.keys_before, set())

        # A file of the user's in the program's folder stays, and so does the folder holding it.
        self.installed()
        notes = self.prefix.path(INSTALL_DIR) / 'notes.txt'
        notes.write_text('mine')
        self.assertEqual(self.prefix.uninstall(), 0)
        self.assertEqual(sorted(os.listdir(notes.parent)), ['notes.txt'])
        self.assertFalse(self.prefix.path(SHORTCUT).exists())
        self.assertNotIn(ENTRY, self.prefix.registry())


if __name__ == '__main__':
    unittest.main()
