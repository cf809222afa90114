"""The release archive as a Windows user gets it: unpacked into an empty folder, the program
starts from there beside its abbr.dat, carries its version and no debugging symbols. The archive
is packed by dist/pack from the build tree these tests run (the 64-bit one where 32-bit code
cannot run)."""
import os
import re
import subprocess
import zipfile

from harness import TOP, TREE, WINE, SessionTest


class Release(SessionTest):
    def test_unpacked_into_an_empty_folder_it_starts_and_closes(self):
        s = self.s
        packed = subprocess.run([os.path.join(TOP, "dist", "pack"), TREE,
                                 os.path.join(s.root, "dist")], capture_output=True, text=True, timeout=120)
        self.assertEqual(packed.returncode, 0, packed.stderr)
        archive = packed.stdout.strip()
        with open(os.path.join(TOP, "resources", "version.h")) as f:
            version = re.search(r'#define SORVANE_VERSION "([^"]+)"', f.read()).group(1)
        self.assertEqual(os.path.basename(archive), "Sorvane-%s.zip" % version)

        folder = os.path.join(s.prefix, "drive_c", "Unpacked")
        os.makedirs(folder)
        with zipfile.ZipFile(archive) as z:
            z.extractall(folder)
        home = os.path.join(folder, "Sorvane-" + version)
        self.assertEqual(sorted(os.listdir(folder)), ["Sorvane-" + version])
        self.assertEqual(sorted(os.listdir(home)), ["LICENSE.txt", "README.txt", "Sorvane.exe", "abbr.dat"])
        sections = subprocess.run(["objdump", "-h", os.path.join(home, "Sorvane.exe")], capture_output=True,
                                  text=True).stdout
        self.assertIn(".text", sections)
        self.assertNotIn(".debug", sections, "stripped of debugging symbols")
        self.assertLess(os.path.getsize(os.path.join(home, "Sorvane.exe")),
                        os.path.getsize(os.path.join(TREE, "Sorvane.exe")))

        windows_home = "C:\\Unpacked\\Sorvane-" + version
        self.assertEqual(s.drive("file-version", windows_home + "\\Sorvane.exe").strip(), version)
        s.program_dir = home
        s.starts += 1
        log = open(os.path.join(s.root, "wine-%d.log" % s.starts), "wb")
        s.process = subprocess.Popen([WINE, windows_home + "\\Sorvane.exe"], cwd=home, env=s.env,
                                     stdout=log, stderr=subprocess.STDOUT)
        log.close()
        s.wait_ready()
        self.assertTrue(os.path.exists(os.path.join(home, "sv_log.txt")), "the log beside the program")
        s.keys("h", "i")
        self.assertEqual(s.text(), b"hi")
        s.screenshot("dist-started")
        self.assertEqual(s.close(), 0)
