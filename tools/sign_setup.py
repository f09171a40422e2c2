#!/usr/bin/env python3
"""Signs a built setup program with Authenticode (SHA-256) and checks the signature.

The certificate and its private key come from a PKCS#12 file; its password
from a file of its own (the first line; a trailing line break is ignored), so
that the password never appears on a command line. osslsigncode appends the
signature to the image: the program's sections and resources stay as they
were, and `osslsigncode remove-signature` gives back the unsigned bytes.

When SOURCE_DATE_EPOCH is set, the signature's signing time is taken from it,
so that the same commit signed with the same key gives the same bytes.

usage: sign_setup.py --pkcs12 FILE --password-file FILE [--check-only] [PROGRAM]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

DIGEST = "sha256"
DESCRIPTION = "Lumabook Writer Setup"
# A certificate issued by a certification authority is checked up to a root
# the system trusts; a self-signed one (a test's) against itself.
SYSTEM_CA_BUNDLE = "/etc/ssl/certs/ca-certificates.crt"


class SignError(Exception):
    """Signing cannot go on; the message names the file at fault."""


def check_readable(path, what):
    try:
        with open(path, "rb"):
            pass
    except OSError as error:
        raise SignError("%s %s cannot be read: %s" % (what, path, error.strerror or error))


def find_tool(name, package):
    path = shutil.which(name)
    if not path:
        raise SignError("%s is not installed (Debian package %s; tools/install_prerequisites.sh installs it)"
                        % (name, package))
    return path


def last_line(text):
    lines = [line.strip() for line in text.splitlines() if line.strip()]
    return lines[-1] if lines else "no message"


def first_error_line(text):
    lines = [line.strip() for line in text.splitlines() if line.strip()]
    return lines[0] if lines else "no message"


def read_certificates(pkcs12, password_file, out_pem):
    """Opens the PKCS#12 file with the password and writes its certificates to
    out_pem: this is where a wrong password or a damaged file shows. Files
    made with the older ciphers need OpenSSL's legacy provider."""
    openssl = find_tool("openssl", "openssl")
    base = [openssl, "pkcs12", "-in", pkcs12, "-passin", "file:" + password_file, "-nokeys", "-out", out_pem]
    result = subprocess.run(base, capture_output=True, text=True)
    if result.returncode != 0:
        legacy = subprocess.run(base + ["-legacy"], capture_output=True, text=True)
        if legacy.returncode == 0:
            return
        raise SignError("certificate file %s cannot be opened with the password in %s "
                        "(wrong password, or not a PKCS#12 file): openssl: %s"
                        % (pkcs12, password_file, first_error_line(result.stderr)))


def check_settings(pkcs12, password_file, work):
    check_readable(pkcs12, "certificate file")
    check_readable(password_file, "password file")
    find_tool("osslsigncode", "osslsigncode")
    certificates = os.path.join(work, "certificates.pem")
    read_certificates(pkcs12, password_file, certificates)
    return certificates


def trusted_certificates(certificates, work):
    """The file verification trusts: the PKCS#12 file's own certificates and the system's roots."""
    trusted = os.path.join(work, "trusted.pem")
    with open(trusted, "wb") as out:
        for path in (certificates, SYSTEM_CA_BUNDLE):
            if os.path.isfile(path):
                with open(path, "rb") as source:
                    out.write(source.read())
    return trusted


def sign(program, pkcs12, password_file, signed):
    command = ["osslsigncode", "sign", "-pkcs12", pkcs12, "-readpass", password_file,
               "-h", DIGEST, "-n", DESCRIPTION]
    epoch = os.environ.get("SOURCE_DATE_EPOCH", "")
    if epoch:
        if not epoch.isdigit():
            raise SignError("SOURCE_DATE_EPOCH must be a number of seconds, not %r" % epoch)
        command += ["-time", epoch]
    result = subprocess.run(command + ["-in", program, "-out", signed], capture_output=True, text=True)
    if result.returncode != 0:
        raise SignError("osslsigncode could not sign %s with %s: %s"
                        % (program, pkcs12, last_line(result.stderr + result.stdout)))


def verify(signed, program, trusted):
    result = subprocess.run(["osslsigncode", "verify", "-in", signed, "-CAfile", trusted],
                            capture_output=True, text=True)
    if result.returncode != 0 or "Signature verification: ok" not in result.stdout:
        raise SignError("the signature just made on %s does not verify: %s"
                        % (program, last_line(result.stderr + result.stdout)))


def sign_program(program, pkcs12, password_file, check_only):
    work = tempfile.mkdtemp(prefix="sign_setup_")
    try:
        certificates = check_settings(pkcs12, password_file, work)
        if check_only:
            return
        check_readable(program, "program")
        # Signed beside the program and moved over it only once checked, so a
        # failed signing never leaves a half-written program behind.
        signed = program + ".signing"
        try:
            sign(program, pkcs12, password_file, signed)
            verify(signed, program, trusted_certificates(certificates, work))
            os.replace(signed, program)
        finally:
            if os.path.exists(signed):
                os.remove(signed)
    finally:
        shutil.rmtree(work)


def main(argv=None):
    parser = argparse.ArgumentParser(
        description="Signs PROGRAM in place with Authenticode (SHA-256 digest) using the certificate and key "
                    "of a PKCS#12 file, then verifies the signature. Without PROGRAM and with --check-only "
                    "it only checks that the certificate file opens with the password.")
    parser.add_argument("--pkcs12", required=True, metavar="FILE", help="PKCS#12 file with the certificate and key")
    parser.add_argument("--password-file", required=True, metavar="FILE",
                        help="file whose first line is the PKCS#12 file's password")
    parser.add_argument("--check-only", action="store_true", help="check the certificate and password; sign nothing")
    parser.add_argument("program", nargs="?", metavar="PROGRAM", help="the setup program to sign in place")
    arguments = parser.parse_args(argv)
    if not arguments.check_only and not arguments.program:
        parser.error("PROGRAM is needed unless --check-only is given")
    try:
        sign_program(arguments.program, arguments.pkcs12, arguments.password_file, arguments.check_only)
    except SignError as error:
        print("sign_setup: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
