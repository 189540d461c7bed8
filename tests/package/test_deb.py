"""The Debian package, checked by the tools Debian checks packages with.

Run after scripts/package; KEYLOOKUP_DEB names the package (default: the one in dist/).
"""
import glob
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
VERSION = re.search(r"project\(keylookup VERSION ([0-9.]+)",
                    open(os.path.join(ROOT, "CMakeLists.txt")).read()).group(1)
APP_ID = "example.lanpu.KeyLookup"          # from the default main site, www.lanpu.example
MAIN_SITE = "http://www.lanpu.example/"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def run(*cmd):
    return subprocess.run(cmd, capture_output=True, text=True)


def package_path():
    if os.environ.get("KEYLOOKUP_DEB"):
        return os.environ["KEYLOOKUP_DEB"]
    found = glob.glob(os.path.join(ROOT, "dist", f"keylookup_{VERSION}_*.deb"))
    if len(found) != 1:
        raise unittest.SkipTest(f"expected one package in dist/, found {found}; run scripts/package")
    return found[0]


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is no PNG"
    return struct.unpack(">II", head[16:24])


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.deb = package_path()
        cls.tree = tempfile.mkdtemp()
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.tree], check=True)
        cls.fields = {}
        for line in run("dpkg-deb", "-f", cls.deb).stdout.splitlines():
            if not line.startswith(" ") and ":" in line:
                key, value = line.split(":", 1)
                cls.fields[key] = value.strip()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tree)

    def path(self, rel):
        return os.path.join(self.tree, rel.lstrip("/"))

    def test_name_version_and_file_name(self):
        arch = run("dpkg", "--print-architecture").stdout.strip()
        self.assertEqual(os.path.basename(self.deb), f"keylookup_{VERSION}_{arch}.deb")
        self.assertEqual(self.fields["Package"], "keylookup")
        self.assertEqual(self.fields["Version"], VERSION)
        self.assertEqual(self.fields["Homepage"], MAIN_SITE)

    def test_depends_on_its_libraries_and_a_chinese_font(self):
        depends = [d.strip() for d in self.fields["Depends"].split(",")]
        self.assertIn("fonts-wqy-microhei | fonts-noto-cjk", depends)
        # Found by dpkg-shlibdeps from the program itself, with versions.
        for lib in ("libgtk-3-0", "libwebkit2gtk-4.1-0", "libjpeg62-turbo", "libc6"):
            self.assertTrue(any(d.startswith(lib + " (>=") for d in depends), f"{lib} in {depends}")

    def test_program_is_stripped(self):
        program = self.path("/usr/bin/keylookup")
        self.assertTrue(os.access(program, os.X_OK))
        described = run("file", "-b", program).stdout
        self.assertIn("ELF", described)
        self.assertRegex(described, r"\bstripped\b")
        self.assertNotIn("not stripped", described)
        self.assertNotIn("with debug_info", described)

    def test_desktop_entry_validates_and_names_the_icon(self):
        entry = self.path(f"/usr/share/applications/{APP_ID}.desktop")
        result = run("desktop-file-validate", entry)
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        text = open(entry, encoding="utf-8").read()
        for line in ("Name=岚谱基调查询", f"Icon={APP_ID}", "Exec=keylookup", f"StartupWMClass={APP_ID}"):
            self.assertIn(line + "\n", text)

    def test_appstream_metadata_validates_without_warnings(self):
        meta = self.path(f"/usr/share/metainfo/{APP_ID}.metainfo.xml")
        result = run("appstreamcli", "validate", "--no-net", "--pedantic", meta)
        out = result.stdout + result.stderr
        self.assertEqual(result.returncode, 0, out)
        self.assertFalse(re.search(r"^[EW]:", out, re.M), out)

        c = ET.parse(meta).getroot()
        lang = "{http://www.w3.org/XML/1998/namespace}lang"
        untranslated = lambda tag: [e for e in c.findall(tag) if lang not in e.attrib]
        self.assertEqual(c.findtext("id"), APP_ID)
        self.assertEqual([e.text for e in untranslated("name")], ["岚谱基调查询"])
        self.assertRegex(untranslated("summary")[0].text, r"[\u4e00-\u9fff]")
        self.assertRegex("".join(p.text for p in c.find("description") if lang not in p.attrib),
                         r"[\u4e00-\u9fff]")
        self.assertEqual(c.findtext("developer_name"), "岚谱音频")
        self.assertEqual(c.findtext("developer/name"), "岚谱音频")
        self.assertEqual(c.findtext("url[@type='homepage']"), MAIN_SITE)
        self.assertEqual(c.findtext("launchable"), f"{APP_ID}.desktop")
        self.assertIsNotNone(c.find("content_rating"))
        release = c.find("releases/release")
        self.assertEqual(release.get("version"), VERSION)
        self.assertRegex(release.get("date"), r"^\d{4}-\d\d-\d\d$")

    def test_icons_at_every_theme_size(self):
        hicolor = self.path("/usr/share/icons/hicolor")
        for n in ICON_SIZES:
            with self.subTest(size=n):
                self.assertEqual(png_size(f"{hicolor}/{n}x{n}/apps/{APP_ID}.png"), (n, n))
        svg = ET.parse(f"{hicolor}/scalable/apps/{APP_ID}.svg").getroot()
        self.assertEqual(svg.get("viewBox"), "0 0 32 32")

    def test_copyright_changelog_and_manual(self):
        doc = self.path("/usr/share/doc/keylookup")
        with open(f"{doc}/copyright", encoding="utf-8") as f:
            self.assertIn("Copyright:", f.read())
        changelog = run("zcat", f"{doc}/changelog.gz").stdout
        self.assertTrue(changelog.startswith(f"keylookup ({VERSION})"), changelog[:80])
        self.assertTrue(os.path.exists(self.path("/usr/share/man/man1/keylookup.1.gz")))
        # The release date in the metadata is the change log's.
        meta = ET.parse(self.path(f"/usr/share/metainfo/{APP_ID}.metainfo.xml")).getroot()
        stamp = re.search(r"^ -- .*  (.*)$", changelog, re.M).group(1)
        day = run("date", "-u", "-d", stamp, "+%Y-%m-%d").stdout.strip()
        self.assertEqual(meta.find("releases/release").get("date"), day)

    def test_lintian_reports_no_errors(self):
        result = run("lintian", "--fail-on", "error", "--no-tag-display-limit", self.deb)
        print("\nlintian:\n" + (result.stdout.strip() or "(nothing)"))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertFalse(re.search(r"^E:", result.stdout, re.M), result.stdout)


if __name__ == "__main__":
    unittest.main()
