"""Signs the built setup programs the way the build does (tools/sign_setup.py)
with a certificate made for this run, and checks them with osslsigncode: a
SHA-256 signature that holds against that certificate and no other, and that
comes off leaving the program as built. The signed copies stay in
LUMABOOK_SIGNED_DIR for the tests that list their payload and install with them.
A wrong password or a missing certificate stops the configuration, naming the file."""

import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SIGNER = "Lumabook Test Signer"


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def make_certificate(folder, name):
    """A self-signed certificate NAME.pem, and NAME.p12 with its key under the password in password.txt."""
    key, cert, p12, password = (os.path.join(folder, name + end) for end in (".key", ".pem", ".p12", ".password"))
    with open(password, "w") as out:
        out.write("throwaway password\n")
    for made in (run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                     "-days", "2", "-subj", "/CN=" + name, "-addext", "extendedKeyUsage=codeSigning"),
                 run("openssl", "pkcs12", "-export", "-in", cert, "-inkey", key, "-out", p12,
                     "-passout", "file:" + password)):
        assert made.returncode == 0, made.stderr
    return cert, p12, password


class Signing(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="signing_")
        self.cert, self.p12, self.password = make_certificate(self.work, SIGNER)

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_signature_holds_against_the_certificate_and_comes_off_cleanly(self):
        signed_dir = os.environ["LUMABOOK_SIGNED_DIR"]
        other_cert, _, _ = make_certificate(self.work, "Somebody Else")
        # The program the tests run, and the shipping one when that is another build.
        programs = {os.environ.get("LUMABOOK_BUILD_TARGET", "x86_64"): os.environ["LUMABOOK_SETUP_EXE"]}
        if os.environ.get("LUMABOOK_SHIPPING_SETUP_EXE"):
            programs["i686"] = os.environ["LUMABOOK_SHIPPING_SETUP_EXE"]
        for target, built in ((target, built) for target, built in programs.items() if built):
            with self.subTest(target=target):
                signed = os.path.join(signed_dir, target, "setup.exe")
                os.makedirs(os.path.dirname(signed), exist_ok=True)
                shutil.copyfile(built, signed)
                result = run(sys.executable, os.path.join(SOURCE_DIR, "tools", "sign_setup.py"),
                             "--pkcs12", self.p12, "--password-file", self.password, signed)
                self.assertEqual(0, result.returncode, result.stderr)
                self.assertGreater(os.path.getsize(signed), os.path.getsize(built))
                verified = run("osslsigncode", "verify", "-in", signed, "-CAfile", self.cert)
                self.assertEqual(0, verified.returncode, verified.stdout + verified.stderr)
                self.assertRegex(verified.stdout, r"Message digest algorithm\s*: SHA256")
                self.assertIn("Subject: /CN=" + SIGNER, verified.stdout)
                self.assertNotEqual(0, run("osslsigncode", "verify", "-in", signed, "-CAfile", other_cert).returncode)
                unsigned = os.path.join(self.work, target + ".exe")
                self.assertEqual(0, run("osslsigncode", "remove-signature", "-in", signed, "-out", unsigned).returncode)
                self.assertTrue(filecmp.cmp(unsigned, built, shallow=False), "the signature changed the program")

    def test_wrong_password_and_missing_certificate_stop_the_build_naming_the_file(self):
        wrong = os.path.join(self.work, "wrong.password")
        with open(wrong, "w") as out:
            out.write("not the password\n")
        missing = os.path.join(self.work, "missing.p12")
        for p12, password, message in (
                (self.p12, wrong, "certificate file %s cannot be opened with the password in %s" % (self.p12, wrong)),
                (missing, self.password, "certificate file %s cannot be read" % missing)):
            with self.subTest(message=message):
                build = os.path.join(self.work, "build")
                result = run(os.environ.get("LUMABOOK_CMAKE", "cmake"), "-S", SOURCE_DIR, "-B", build, "-G", "Ninja",
                             "--toolchain", os.path.join(SOURCE_DIR, "cmake", "toolchain-x86_64.cmake"),
                             "-DLUMABOOK_SIGN_PKCS12=" + p12, "-DLUMABOOK_SIGN_PASSWORD_FILE=" + password)
                self.assertNotEqual(0, result.returncode, result.stdout)
                self.assertIn(message, result.stderr)
                self.assertFalse(os.path.exists(os.path.join(build, "build.ninja")))


if __name__ == "__main__":
    unittest.main()
