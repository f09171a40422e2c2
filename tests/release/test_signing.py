"""Signs the built setup programs with a certificate made for this run, the way
the build signs them (tools/sign_setup.py), and checks the result with
osslsigncode, a verifier we did not write: the signature is a SHA-256
Authenticode signature that holds against that certificate and no other, and
removing it gives back the program as built. A wrong password or a missing
certificate file stops the build's configuration with a message naming the file.

The signed copies stay in LUMABOOK_SIGNED_DIR for the tests that list their
payload and install the product with them."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.normpath(os.path.join(HERE, "..", ".."))
SIGN_SETUP = os.path.join(SOURCE_DIR, "tools", "sign_setup.py")
PASSWORD = "throwaway password"
SIGNER = "Lumabook Test Signer"


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def make_certificate(folder, name):
    """A self-signed code-signing certificate: NAME.pem, and NAME.p12 with its key under PASSWORD."""
    key, cert, p12 = (os.path.join(folder, name + suffix) for suffix in (".key", ".pem", ".p12"))
    password_file = os.path.join(folder, "password.txt")
    with open(password_file, "w") as out:
        out.write(PASSWORD + "\n")
    made = run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                "-days", "2", "-subj", "/CN=" + name, "-addext", "extendedKeyUsage=codeSigning"])
    assert made.returncode == 0, made.stderr
    packed = run(["openssl", "pkcs12", "-export", "-in", cert, "-inkey", key, "-out", p12,
                  "-passout", "file:" + password_file])
    assert packed.returncode == 0, packed.stderr
    return cert, p12, password_file


def read(path):
    with open(path, "rb") as f:
        return f.read()


class SignedSetupPrograms(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.signed_dir = os.environ["LUMABOOK_SIGNED_DIR"]
        shutil.rmtree(cls.signed_dir, ignore_errors=True)
        os.makedirs(cls.signed_dir)
        cls.cert, cls.p12, cls.password_file = make_certificate(cls.signed_dir, SIGNER)
        cls.other_cert, _, _ = make_certificate(tempfile.mkdtemp(dir=cls.signed_dir), "Somebody Else")
        # The x86_64 program always; the shipping i686 one when its build exists.
        cls.programs = {"x86_64": os.environ["LUMABOOK_SETUP_EXE"]}
        shipping = os.environ.get("LUMABOOK_SHIPPING_SETUP_EXE", "")
        if shipping:
            cls.programs["i686"] = shipping

    def signed_path(self, target):
        return os.path.join(self.signed_dir, target, "setup.exe")

    def sign(self, target):
        signed = self.signed_path(target)
        os.makedirs(os.path.dirname(signed), exist_ok=True)
        shutil.copyfile(self.programs[target], signed)
        result = run([sys.executable, SIGN_SETUP, "--pkcs12", self.p12, "--password-file", self.password_file, signed])
        self.assertEqual(0, result.returncode, result.stderr)
        return signed

    def verify(self, signed, cert):
        return run(["osslsigncode", "verify", "-in", signed, "-CAfile", cert])

    def test_signature_holds_against_the_certificate_and_comes_off_cleanly(self):
        for target, built in self.programs.items():
            with self.subTest(target=target):
                signed = self.sign(target)
                self.assertGreater(len(read(signed)), len(read(built)))
                verified = self.verify(signed, self.cert)
                self.assertEqual(0, verified.returncode, verified.stdout + verified.stderr)
                self.assertIn("Signature verification: ok", verified.stdout)
                self.assertRegex(verified.stdout, r"Message digest algorithm\s*: SHA256")
                self.assertIn("Subject: /CN=" + SIGNER, verified.stdout)
                self.assertNotEqual(0, self.verify(signed, self.other_cert).returncode,
                                    "a signature that holds against any certificate proves nothing")
                unsigned = signed + ".unsigned"
                removed = run(["osslsigncode", "remove-signature", "-in", signed, "-out", unsigned])
                self.assertEqual(0, removed.returncode, removed.stderr)
                self.assertTrue(read(unsigned) == read(built), "the signature changed the program it was appended to")
                os.remove(unsigned)


class SigningRefusals(unittest.TestCase):
    """The build's configuration stops, naming the file, before anything is compiled."""

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="signing_refusals_")
        _, self.p12, self.password_file = make_certificate(self.work, SIGNER)

    def tearDown(self):
        shutil.rmtree(self.work)

    def configure(self, p12, password_file):
        return run([os.environ.get("LUMABOOK_CMAKE", "cmake"), "-S", SOURCE_DIR, "-B", os.path.join(self.work, "build"),
                    "-G", "Ninja", "--toolchain", os.path.join(SOURCE_DIR, "cmake", "toolchain-x86_64.cmake"),
                    "-DLUMABOOK_SIGN_PKCS12=" + p12, "-DLUMABOOK_SIGN_PASSWORD_FILE=" + password_file])

    def test_wrong_password_and_missing_certificate_stop_the_build_naming_the_file(self):
        wrong = os.path.join(self.work, "wrong_password.txt")
        with open(wrong, "w") as out:
            out.write("not the password\n")
        missing = os.path.join(self.work, "missing.p12")
        cases = [
            (self.p12, wrong, "certificate file %s cannot be opened with the password in %s" % (self.p12, wrong)),
            (missing, self.password_file, "certificate file %s cannot be read" % missing),
        ]
        for p12, password_file, message in cases:
            with self.subTest(message=message):
                result = self.configure(p12, password_file)
                self.assertNotEqual(0, result.returncode, result.stdout)
                self.assertIn(message, result.stderr)
                self.assertFalse(os.path.exists(os.path.join(self.work, "build", "build.ninja")))


if __name__ == "__main__":
    unittest.main()
