#!/usr/bin/env python3
"""Makes the release package with cpack from the build tree and checks what
it holds: the Debian package of tesmirol-cli (native build) or the Windows
zip (cross build).

Usage: package_test.py --cpack CPACK --config CPackConfig.cmake --work DIR
                       --version VERSION --source SOURCE_DIR {deb,zip}
"""

import argparse
import shutil
import subprocess
import sys
import unittest
import zipfile
from pathlib import Path

OPTIONS = None


def make_package(pattern):
    """Runs cpack into a fresh folder; returns the one package it made."""
    shutil.rmtree(OPTIONS.work, ignore_errors=True)
    OPTIONS.work.mkdir(parents=True)
    subprocess.run([OPTIONS.cpack, "--config", OPTIONS.config, "-B", str(OPTIONS.work)],
                   check=True, capture_output=True)
    packages = list(OPTIONS.work.glob(pattern))
    if len(packages) != 1:
        raise AssertionError(f"expected one {pattern} in {OPTIONS.work}, found {packages}")
    return packages[0]


class DebianPackageTest(unittest.TestCase):
    def test_contents_and_fields(self):
        package = make_package("*.deb")
        self.assertEqual(package.name, f"tesmirol-cli_{OPTIONS.version}_amd64.deb")
        listing = subprocess.run(["dpkg-deb", "-c", str(package)], check=True, capture_output=True,
                                 text=True).stdout
        files = sorted(line.split()[-1] for line in listing.splitlines() if not line.startswith("d"))
        expected = ["./usr/bin/tesmirol-cli", "./usr/share/doc/tesmirol-cli/README.md",
                    "./usr/share/doc/tesmirol-cli/copyright"]
        self.assertEqual(files, sorted(expected))
        self.assertRegex(listing, r"-rwxr-xr-x \S+ +\d+ \S+ \S+ \./usr/bin/tesmirol-cli")

        fields = subprocess.run(["dpkg-deb", "-f", str(package)], check=True, capture_output=True,
                                text=True).stdout
        self.assertIn("Package: tesmirol-cli\n", fields)
        self.assertIn(f"Version: {OPTIONS.version}\n", fields)
        self.assertRegex(fields, r"Depends: .*libc6")

        # The packaged program runs and computes.
        unpacked = OPTIONS.work / "unpacked"
        subprocess.run(["dpkg-deb", "-x", str(package), str(unpacked)], check=True)
        run = subprocess.run([str(unpacked / "usr/bin/tesmirol-cli"), "--reload", "0xFD", "11.0592MHz"],
                             capture_output=True, text=True, check=False)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("19200bps", run.stdout)


class WindowsZipTest(unittest.TestCase):
    def test_contents(self):
        package = make_package("*.zip")
        name = f"Tesmirol-{OPTIONS.version}-win64"
        self.assertEqual(package.name, name + ".zip")
        with zipfile.ZipFile(package) as archive:
            names = sorted(entry for entry in archive.namelist() if not entry.endswith("/"))
            page = ["web/index.html", "web/tesmirol-page.js", "web/tesmirol-wasm.js"]
            self.assertEqual(names, sorted(f"{name}/{file}" for file in
                                           ["Tesmirol.EXE", "tesmirol-cli.exe", "README.md", "LICENSE"] + page))
            # The page as the wasm build assembled it, byte for byte.
            for file in page:
                self.assertEqual(archive.read(f"{name}/{file}"),
                                 (OPTIONS.source / "build/wasm/web/page" / file.removeprefix("web/")).read_bytes(), file)
            for program in ("Tesmirol.EXE", "tesmirol-cli.exe"):
                self.assertEqual(archive.read(f"{name}/{program}")[:2], b"MZ", program)
            self.assertEqual(archive.read(f"{name}/README.md"), (OPTIONS.source / "README.md").read_bytes())


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--config", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("--version", required=True)
    parser.add_argument("--source", required=True, type=Path)
    parser.add_argument("kind", choices=["deb", "zip"])
    OPTIONS, rest = parser.parse_known_args()
    test = DebianPackageTest if OPTIONS.kind == "deb" else WindowsZipTest
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(test)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
