"""The probe that chooses the tested build: its two transfers really reach the
code they jump to, it answers in its two forms, the i686 build is chosen only
where it says yes, and asking for i686 where it says no stops with its reason."""

import os
import subprocess
import unittest

SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
CHOOSER = os.path.join(SOURCE, "tools", "test_target.sh")
PROBE = os.path.join(SOURCE, "build", "host", "probe_32bit")
HANG_GUARD_SECONDS = 30


def run(*command, **environment):
    env = dict(os.environ, **environment)
    return subprocess.run(command, capture_output=True, text=True, timeout=HANG_GUARD_SECONDS, env=env)


class Probe32Bit(unittest.TestCase):
    def setUp(self):
        chosen = run(CHOOSER, LUMABOOK_TEST_TARGET="")
        self.assertEqual(0, chosen.returncode, chosen.stderr)
        self.target = chosen.stdout.split("\n")[0]

    def test_controls_end_in_the_illegal_instruction_they_jump_to(self):
        controls = run(PROBE, "--controls")
        self.assertEqual(0, controls.returncode, controls.stdout)

    def test_answer_matches_the_chosen_build_and_the_override(self):
        probe = run(PROBE)
        override = run(CHOOSER, LUMABOOK_TEST_TARGET="i686")
        if probe.returncode == 0:
            self.assertEqual("yes\n", probe.stdout)
            self.assertEqual("i686", self.target)
            self.assertEqual("i686", override.stdout.split("\n")[0])
        else:
            self.assertEqual(1, probe.returncode, probe.stdout)
            self.assertRegex(probe.stdout, r"^no: (a far return into the 32-bit code segment 0x23|int \$0x80) ")
            self.assertEqual("x86_64", self.target)
            self.assertEqual(1, override.returncode)
            self.assertIn(probe.stdout.strip(), override.stderr)


if __name__ == "__main__":
    unittest.main()
