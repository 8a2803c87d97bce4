"""Checks a release folder made by scripts/package.sh: the zip holds exactly the program's
files, the installer holds its texts in Chinese and in English, the checksums and the
manifests' hashes are those of the files, the manifests parse and name this version and the
given download addresses.

Usage: check_package.py DIST_DIR VERSION BASE_URL BUILD_DIR
"""

import hashlib
import json
import lzma
import os
import struct
import sys
import unittest
import zipfile

import yaml

DIST, VERSION, BASE, BUILD = sys.argv[1:5]
del sys.argv[1:5]
SETUP = "Dusk-%s-setup.exe" % VERSION
ZIP = "Dusk-%s-portable.zip" % VERSION
PROGRAM_FILES = {"Dusk.exe", "dusk-cli.exe", "clock/1.wav", "x.wav", "warn.wav", "readme.txt", "license.txt"}


def sha256(name):
    with open(os.path.join(DIST, name), "rb") as data:
        return hashlib.sha256(data.read()).hexdigest()


def winget(kind):
    name = {"version": "Dusk.Dusk.yaml", "installer": "Dusk.Dusk.installer.yaml",
            "defaultLocale": "Dusk.Dusk.locale.zh-CN.yaml"}[kind]
    with open(os.path.join(DIST, "winget", name), encoding="utf-8") as text:
        return yaml.safe_load(text)


def installer_header(name):
    """The installer's script as makensis wrote it, its language tables among it: the first
    block of the data after NSIS's first header, in one LZMA stream (SetCompressor /SOLID)."""
    with open(os.path.join(DIST, name), "rb") as setup:
        data = setup.read()
    at = data.find(b"\xef\xbe\xad\xdeNullsoftInst")
    assert at >= 4, "no NSIS first header"
    header_size, data_size = struct.unpack("<II", data[at + 16:at + 24])
    stream = data[at + 24:at + 24 + data_size]
    props, dict_size = stream[0], struct.unpack("<I", stream[1:5])[0]
    lzma1 = {"id": lzma.FILTER_LZMA1, "dict_size": dict_size, "lc": props % 9,
             "lp": props // 9 % 5, "pb": props // 45}
    block = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[lzma1]).decompress(
        stream[5:], max_length=4 + header_size)
    return block[4:4 + header_size]


class Downloads(unittest.TestCase):
    def test_zip_holds_exactly_the_program_files(self):
        with zipfile.ZipFile(os.path.join(DIST, ZIP)) as archive:
            self.assertIsNone(archive.testzip())
            self.assertEqual(set(archive.namelist()), PROGRAM_FILES)
            self.assertEqual(len(archive.namelist()), len(PROGRAM_FILES))

    def test_sums_match_the_files(self):
        with open(os.path.join(DIST, "SHA256SUMS")) as sums:
            listed = dict(reversed(line.split()) for line in sums)
        self.assertEqual(listed, {SETUP: sha256(SETUP), ZIP: sha256(ZIP)})

    def test_installer_is_a_windows_program(self):
        with open(os.path.join(DIST, SETUP), "rb") as setup:
            self.assertEqual(setup.read(2), b"MZ")


    def test_installer_speaks_chinese_and_english(self):
        header = installer_header(SETUP)
        for text in ("启动 Dusk", "Start Dusk", "开机时启动", "Start with Windows", "请先关闭 Dusk",
                     "Please close Dusk first."):
            with self.subTest(text=text):
                self.assertIn(text.encode("utf-16-le"), header)


class Manifests(unittest.TestCase):
    def test_winget_manifests_agree(self):
        for kind in ("version", "installer", "defaultLocale"):
            with self.subTest(kind=kind):
                manifest = winget(kind)
                self.assertEqual(manifest["ManifestType"], kind)
                self.assertEqual(manifest["ManifestVersion"], "1.6.0")
                self.assertEqual(manifest["PackageIdentifier"], "Dusk.Dusk")
                self.assertEqual(manifest["PackageVersion"], VERSION)

    def test_winget_installer_is_the_release_setup(self):
        manifest = winget("installer")
        self.assertEqual(manifest["InstallerType"], "nullsoft")
        self.assertEqual(manifest["Scope"], "user")
        self.assertIs(manifest["RequireExplicitUpgrade"], True)
        (installer,) = manifest["Installers"]
        self.assertEqual(installer["InstallerUrl"], BASE + SETUP)
        self.assertEqual(installer["InstallerSha256"].lower(), sha256(SETUP))

    def test_scoop_manifest_is_the_release_zip(self):
        with open(os.path.join(DIST, "scoop", "dusk.json"), encoding="utf-8") as text:
            manifest = json.load(text)
        self.assertEqual(manifest["version"], VERSION)
        download = manifest["architecture"]["64bit"]
        self.assertEqual(download["url"], BASE + ZIP)
        self.assertEqual(download["hash"], sha256(ZIP))
        self.assertEqual(manifest["bin"], ["Dusk.exe", "dusk-cli.exe"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
