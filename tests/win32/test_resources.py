"""The built program file read back: what Explorer shows of it, and what it needs to run."""

import os
import re
import struct
import subprocess
import unittest
import xml.etree.ElementTree as ET

EXE = os.environ.get('KEYLOOKUP_EXE', '')
ICON = os.environ.get('KEYLOOKUP_ICON', '')

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST, RT_RCDATA = 3, 14, 16, 24, 10


def resource(type_id, name=None, path=None):
    """The raw bytes of the first resource of a type (and name), through icoutils' wrestool."""
    args = ['wrestool', '-x', '--raw', f'--type={type_id}'] + ([f'--name={name}'] if name else []) + [path or EXE]
    return subprocess.run(args, capture_output=True, check=True).stdout


def version_tree(data, pos=0):
    """One node of a VS_VERSIONINFO tree: (key, value, children, end)."""
    length, value_length, value_type = struct.unpack_from('<HHH', data, pos)
    end = pos + length
    key_end = pos + 6
    while data[key_end:key_end + 2] != b'\0\0':
        key_end += 2
    key = data[pos + 6:key_end].decode('utf-16-le')
    at = (key_end + 2 + 3) & ~3
    size = value_length * 2 if value_type == 1 else value_length  # text counts characters
    value = data[at:at + size]
    if value_type == 1:
        value = value.decode('utf-16-le').rstrip('\0')
    at = (at + size + 3) & ~3
    children = []
    while at < end:
        child = version_tree(data, at)
        children.append(child)
        at = (child[3] + 3) & ~3
    return key, value, children, end


def icon_directory(data, entry_size):
    """(count, [(width, height, bit count, size, id or offset)]) of an icon file or icon group."""
    _, kind, count = struct.unpack_from('<HHH', data, 0)
    assert kind == 1, 'not an icon'
    entries = []
    for i in range(count):
        w, h, _, _, _, bits, size = struct.unpack_from('<BBBBHHI', data, 6 + i * entry_size)
        tail_fmt = '<H' if entry_size == 14 else '<I'
        (where,) = struct.unpack_from(tail_fmt, data, 6 + i * entry_size + 12)
        entries.append((w or 256, h or 256, bits, size, where))
    return count, entries


class Resources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not EXE:
            raise unittest.SkipTest('KEYLOOKUP_EXE is not set; run these tests through ctest')

    def test_version_information_is_simplified_chinese_2_1_1_1(self):
        key, fixed, children, _ = version_tree(resource(RT_VERSION))
        self.assertEqual(key, 'VS_VERSION_INFO')
        signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from('<6I', fixed)
        self.assertEqual(signature, 0xFEEF04BD)
        for label, ms, ls in (('file', file_ms, file_ls), ('product', product_ms, product_ls)):
            with self.subTest(label):
                self.assertEqual((ms >> 16, ms & 0xffff, ls >> 16, ls & 0xffff), (2, 1, 1, 1))
        blocks = {k: c for k, _, c, _ in children}
        (table_key, _, strings, _), = blocks['StringFileInfo']
        self.assertEqual(table_key, '080404B0')
        self.assertEqual({k: v for k, v, _, _ in strings}, {
            'ProductName': '岚谱基调查询',
            'CompanyName': '岚谱音频',
            'FileDescription': '岚谱基调查询是一款查询电音基调的客户端软件',
            'FileVersion': '2.1.1.1',
            'ProductVersion': '2.1.1.1',
        })
        (translation_key, translation, _, _), = blocks['VarFileInfo']
        self.assertEqual(translation_key, 'Translation')
        self.assertEqual(struct.unpack('<HH', translation), (0x0804, 1200))

    def test_icon_has_every_size_the_system_asks_for_each_the_assets_picture(self):
        _, entries = icon_directory(resource(RT_GROUP_ICON), 14)
        with open(ICON, 'rb') as f:
            original = f.read()
        _, asset = icon_directory(original, 16)
        self.assertEqual(sorted((w, h, bits) for w, h, bits, _, _ in entries),
                         [(n, n, 32) for n in (16, 24, 32, 48, 256)])
        for (width, _, _, size, icon_id), (_, _, _, asset_size, offset) in zip(entries, asset):
            with self.subTest(width):
                self.assertEqual((size, resource(RT_ICON, icon_id)), (asset_size, original[offset:offset + asset_size]))

    def test_manifest_declares_the_systems_scale_support_and_privileges(self):
        manifest = ET.fromstring(resource(RT_MANIFEST, 1))
        v1, v3 = '{urn:schemas-microsoft-com:asm.v1}', '{urn:schemas-microsoft-com:asm.v3}'
        compat = '{urn:schemas-microsoft-com:compatibility.v1}'
        identities = [e.attrib for e in manifest.iter(f'{v1}assemblyIdentity')]
        self.assertIn(('Microsoft.Windows.Common-Controls', '6.0.0.0'),
                      [(i.get('name'), i.get('version')) for i in identities])
        levels = [e.attrib for e in manifest.iter(f'{v3}requestedExecutionLevel')]
        self.assertEqual(levels, [{'level': 'asInvoker', 'uiAccess': 'false'}])
        systems = {e.get('Id') for e in manifest.iter(f'{compat}supportedOS')}
        self.assertEqual(systems, {
            '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}',  # 7
            '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}',  # 8
            '{1f676c76-80e1-4239-95bb-83d0f6d0da78}',  # 8.1
            '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}',  # 10 and 11
        })
        # Each setting counts only in its own namespace. Per-monitor version 2 where the system has
        # it; the one system-wide scale on every system before it.
        settings = {e.tag: e.text.strip() for e in manifest.iter() if e.tag.endswith(('}dpiAware', '}dpiAwareness'))}
        self.assertEqual(settings, {
            '{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware': 'true',
            '{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness': 'PerMonitorV2, System',
        })

    def test_background_picture_is_embedded_whole(self):
        with open(os.path.join(os.path.dirname(ICON), 'background.jpg'), 'rb') as f:
            self.assertEqual(resource(RT_RCDATA), f.read())

    def test_is_a_32_bit_gui_program_needing_only_the_systems_dlls(self):
        with open(EXE, 'rb') as f:
            head = f.read(4096)
        pe = struct.unpack_from('<I', head, 0x3C)[0]
        self.assertEqual(head[pe:pe + 4], b'PE\0\0')
        machine = struct.unpack_from('<H', head, pe + 4)[0]
        optional = pe + 24
        magic, subsystem = struct.unpack_from('<H', head, optional)[0], struct.unpack_from('<H', head, optional + 68)[0]
        self.assertEqual((machine, magic, subsystem), (0x14C, 0x10B, 2))  # i386, PE32, Windows GUI
        dump = subprocess.run(['i686-w64-mingw32-objdump', '-p', EXE], capture_output=True, text=True,
                              check=True).stdout
        dlls = {name.lower() for name in re.findall(r'DLL Name: (\S+)', dump)}
        # The C and C++ runtimes are linked in: no libstdc++, libgcc or winpthread DLL to carry along.
        system = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'comctl32.dll', 'shell32.dll', 'ole32.dll',
                  'oleaut32.dll', 'msvcrt.dll'}
        self.assertTrue(dlls, 'no imports found')
        self.assertLessEqual(dlls, system)


if __name__ == '__main__':
    unittest.main()
