"""The shortcuts as the shell will read them: link_scenario (a Windows program)
runs the real link operations under Wine; this script reads the .lnk files back
with lnkinfo (liblnk-utils) and checks the file names on the Linux side, where
Wine stores them as UTF-8. ctest runs it once per LANG (C, zh_CN.UTF-8,
zh_TW.UTF-8), so the same name bytes become different names on each code page.
"""
import glob
import os
import shutil
import subprocess
import tempfile
import unittest

WINE_RUN = os.environ.get("LUMABOOK_WINE_RUN", "")
WINE_STATE = os.environ.get("LUMABOOK_WINE_STATE", "")
SCENARIO = os.environ.get("LUMABOOK_LINK_SCENARIO", "")
SCRATCH = os.environ.get("LUMABOOK_LINK_SCRATCH", "")
LANG = os.environ.get("LANG", "C")

# The code page Wine gives each LANG, and lnkinfo's name for it.
CODE_PAGES = {"C": 1252, "zh_CN.UTF-8": 936, "zh_TW.UTF-8": 950}
CODE_PAGE = CODE_PAGES[LANG]
SYSTEM_VARIANT = {1252: 0, 936: 1, 950: 2}[CODE_PAGE]

# The edition's names in their three scripts: group, program link, uninstaller link.
NAMES = {
    0: (b"Lumabook Writer", b"Lumabook Writer", b"Lumabook UnInstall"),
    1: tuple(n.encode("gb2312") for n in ("蓝桥墨文本编辑", "蓝桥墨文本编辑", "蓝桥墨文本编辑卸载")),
    2: tuple(n.encode("big5") for n in ("藍橋墨文本編輯", "藍橋墨文本編輯", "藍橋墨文本編輯卸載")),
}
PROGRAM_FILE = "Lumabook.exe"
UNINSTALLER_FILE = "LbUnInstall.exe"

START_MENU_MESSAGE = ("无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。".encode("gb2312"),
                      "Failed to create an entry on Start Menu.")
FOLDER_FORMAT = ("无法建目录(".encode("gb2312"), ")!".encode("gb2312"))
FOLDER_ENGLISH = "Cannot create folder!"

# Windows' code page 950 maps its user-defined rows C6A1-C8FE to the private use
# area from U+F6B1; Python's cp950 gives some of them other characters.
BIG5_USER_ROWS = (0xC6, 0xC8)
BIG5_USER_FIRST = 0xF6B1


def big5_trail_index(trail):
    return trail - 0x40 if trail <= 0x7E else trail - 0xA1 + 63


def decode_cp950(data):
    text, i = "", 0
    while i < len(data):
        lead = data[i]
        if lead >= 0x81 and i + 1 < len(data):
            pair = data[i:i + 2]
            if BIG5_USER_ROWS[0] <= lead <= BIG5_USER_ROWS[1] and data[i + 1] >= 0xA1 or 0xC6 < lead <= BIG5_USER_ROWS[1]:
                index = (lead - 0xC6) * 157 + big5_trail_index(data[i + 1]) - 63
                text += chr(BIG5_USER_FIRST + index)
            else:
                text += pair.decode("cp950")
            i += 2
        else:
            text += data[i:i + 1].decode("cp950")
            i += 1
    return text


def decode_ansi(data):
    """The Unicode text Wine makes of ANSI bytes on this run's code page."""
    if CODE_PAGE == 950:
        return decode_cp950(data)
    if CODE_PAGE == 936:
        return data.decode("gb18030")   # as cp936, user-defined codes to the private use area
    return data.decode("cp1252")


def windows_path(host_path):
    return "Z:" + host_path.replace("/", "\\")


def read_link(path):
    """lnkinfo's fields of one link, with ANSI strings read on this run's code page."""
    output = subprocess.run(["lnkinfo", "-c", "windows-%d" % CODE_PAGE, path],
                            capture_output=True, text=True, check=True).stdout
    fields = {}
    for line in output.splitlines():
        if ":" in line and line.startswith("\t") and not line.startswith("\t\t"):
            key, value = line.strip().split(":", 1)
            fields[key.strip()] = value.strip()
    return fields


class ShellLinks(unittest.TestCase):
    def setUp(self):
        self.assertTrue(SCENARIO and WINE_RUN, "run through ctest")
        os.makedirs(SCRATCH, exist_ok=True)
        self.out = tempfile.mkdtemp(prefix=self.id().split(".")[-1] + "_", dir=SCRATCH)
        self.install = windows_path(self.out) + "\\install"
        self.programs = os.path.join(self.out, "windows", "start menu", "programs")
        self.desktop = os.path.join(self.out, "windows", "Desktop")

    def tearDown(self):
        shutil.rmtree(self.out, ignore_errors=True)

    def run_scenario(self, scenario, variant=0):
        """Runs one scenario; gives {operation: result} and the messages in order."""
        # Into files, not pipes: Wine's helper processes inherit the handles and
        # would hold a pipe open long after the scenario has ended.
        with tempfile.TemporaryFile() as output, tempfile.TemporaryFile() as errors:
            run = subprocess.run([WINE_RUN, WINE_STATE, SCENARIO, windows_path(self.out), scenario, str(variant)],
                                 stdout=output, stderr=errors, timeout=120)
            output.seek(0)
            errors.seek(0)
            stdout, stderr = output.read(), errors.read()
        self.assertEqual(0, run.returncode, stderr.decode(errors="replace"))
        results, messages = {}, []
        for line in stdout.decode("latin-1").splitlines():
            kind, _, rest = line.partition(" ")
            if kind == "result":
                operation, result = rest.split()
                results[operation] = int(result)
                messages.append(("after", operation))
            elif kind == "message":
                chinese, english = rest.split("|", 1)
                messages.append((bytes.fromhex(chinese) if not chinese.startswith("<") else chinese, english))
        return results, messages

    def messages_of(self, messages, operation):
        """The messages raised by one operation (they are reported right after its result)."""
        found, taking = [], False
        for entry in messages:
            if entry[0] == "after":
                taking = entry[1] == operation
            elif taking:
                found.append(entry)
        return found

    def assertMessages(self, expected, seen):
        # The watcher reads the Chinese line's name for screen readers. The
        # scenario runs as the non-NT platform, where that name is ANSI: the
        # GB2312 bytes on code page 936, Big5 or English on 950, the English
        # alone (never a garbled character) on 1252. The English line always counts.
        if CODE_PAGE == 936:
            self.assertEqual(expected, seen)
            return
        self.assertEqual([m[1] for m in expected], [m[1] for m in seen])
        if CODE_PAGE == 1252:
            self.assertEqual([], [m[0] for m in seen if b"?" in m[0] or any(byte >= 0x80 for byte in m[0])])

    def assertLink(self, host_path, target_file, name_bytes, install=None):
        install = install or self.install
        self.assertTrue(os.path.isfile(host_path), host_path + " missing; beside it: " +
                        repr(os.listdir(os.path.dirname(host_path)) if os.path.isdir(os.path.dirname(host_path)) else None))
        fields = read_link(host_path)
        target = install + "\\" + target_file
        self.assertEqual(target, fields.get("Local path"))
        self.assertEqual(decode_ansi(name_bytes), fields.get("Description"))
        self.assertEqual(install, fields.get("Working directory"))
        self.assertEqual(target, fields.get("Icon location"))
        self.assertEqual("0", fields.get("Icon index"))

    def log(self):
        """The scenario's log, as bytes in this run's code page."""
        with open(os.path.join(self.out, "scenario.log"), "rb") as log:
            return log.read()

    def all_links(self):
        return glob.glob(os.path.join(self.out, "windows", "**", "*.lnk"), recursive=True)

    def test_group_and_links_in_every_script(self):
        for variant in (0, 1, 2):
            with self.subTest(variant=variant):
                group, program, uninstaller = (decode_ansi(n) for n in NAMES[variant])
                results, messages = self.run_scenario("names", variant)
                self.assertEqual({"start-menu": 1, "desktop": 1}, results)
                self.assertEqual([], [m for m in messages if m[0] != "after"])
                folder = os.path.join(self.programs, group)
                self.assertEqual(sorted([program + ".lnk", uninstaller + ".lnk"]), sorted(os.listdir(folder)))
                self.assertLink(os.path.join(folder, program + ".lnk"), PROGRAM_FILE, NAMES[variant][1])
                self.assertLink(os.path.join(folder, uninstaller + ".lnk"), UNINSTALLER_FILE, NAMES[variant][2])
                self.assertLink(os.path.join(self.desktop, program + ".lnk"), PROGRAM_FILE, NAMES[variant][1])

    def test_wine_shell_folders_take_the_links(self):
        group, program, uninstaller = (decode_ansi(n) for n in NAMES[SYSTEM_VARIANT])
        users = os.path.join(WINE_STATE, "prefix", "drive_c", "users")
        programs = [p for p in glob.glob(os.path.join(users, "*", "AppData", "Roaming", "Microsoft", "Windows",
                                                       "Start Menu", "Programs")) if "/Public/" not in p]
        desktops = [p for p in glob.glob(os.path.join(users, "*", "Desktop")) if "/Public/" not in p]
        self.assertEqual(1, len(programs))
        self.assertEqual(1, len(desktops))
        made = [os.path.join(programs[0], group), os.path.join(desktops[0], program + ".lnk")]
        try:
            results, _ = self.run_scenario("shell", SYSTEM_VARIANT)
            self.assertEqual({"start-menu": 1, "desktop": 1}, results)
            self.assertLink(os.path.join(made[0], program + ".lnk"), PROGRAM_FILE, NAMES[SYSTEM_VARIANT][1])
            self.assertLink(os.path.join(made[0], uninstaller + ".lnk"), UNINSTALLER_FILE, NAMES[SYSTEM_VARIANT][2])
            self.assertLink(made[1], PROGRAM_FILE, NAMES[SYSTEM_VARIANT][1])
        finally:
            shutil.rmtree(made[0], ignore_errors=True)
            if os.path.exists(made[1]):
                os.remove(made[1])

    def wine_shell_folders(self):
        users = os.path.join(WINE_STATE, "prefix", "drive_c", "users")
        programs = [p for p in glob.glob(os.path.join(users, "*", "AppData", "Roaming", "Microsoft", "Windows",
                                                       "Start Menu", "Programs")) if "/Public/" not in p]
        self.assertEqual(1, len(programs))
        return programs[0]

    def test_without_link_object_the_group_is_made_through_program_manager(self):
        # Wine's shell answers Program Manager's DDE commands with a folder of
        # the Start menu. It reads an ANSI client's commands as code page 1252
        # on every system, so on a Chinese one only the commands' bytes are
        # checked: the names in the system's script, as a real Program Manager reads them.
        names = NAMES[SYSTEM_VARIANT]
        programs = self.wine_shell_folders()
        before = set(os.listdir(programs))
        try:
            results, messages = self.run_scenario("no-link-object", SYSTEM_VARIANT)
            self.assertEqual({"start-menu": 1, "desktop": 0}, results, self.log())
            self.assertEqual([], [m for m in messages if m[0] != "after"])
            log = self.log()
            self.assertIn(b'[CreateGroup("' + names[0] + b'")]', log)
            install = self.install.encode("ascii")
            for name, file in ((names[1], PROGRAM_FILE), (names[2], UNINSTALLER_FILE)):
                target = install + b"\\" + file.encode("ascii")
                self.assertIn(b'[AddItem("%s","%s","%s",0,-1,-1,"%s")]' % (target, name, target, install), log)
            self.assertIn(b"link not made: " + names[1] + b".lnk on the desktop", log)
            if SYSTEM_VARIANT == 0:
                folder = os.path.join(programs, names[0].decode("ascii"))
                self.assertEqual(["Lumabook UnInstall.lnk", "Lumabook Writer.lnk"], sorted(os.listdir(folder)))
                fields = read_link(os.path.join(folder, "Lumabook Writer.lnk"))
                self.assertEqual(self.install + "\\" + PROGRAM_FILE, fields.get("Local path"))
        finally:
            for made in set(os.listdir(programs)) - before:
                shutil.rmtree(os.path.join(programs, made), ignore_errors=True)

    def test_without_group_the_links_go_straight_into_programs(self):
        results, messages = self.run_scenario("no-group")
        self.assertEqual({"null-group": 1, "empty-group": 1, "empty-list": 1}, results)
        self.assertEqual(["Empty Group.lnk", "Null Group.lnk"], sorted(os.listdir(self.programs)))
        self.assertLink(os.path.join(self.programs, "Null Group.lnk"), PROGRAM_FILE, b"Null Group")
        self.assertEqual([], [m for m in messages if m[0] != "after"])

    def test_existing_group_folder_is_used(self):
        results, messages = self.run_scenario("existing-group")
        self.assertEqual({"start-menu": 1}, results)
        self.assertEqual([], self.messages_of(messages, "start-menu"))
        self.assertEqual(["Lumabook UnInstall.lnk", "Lumabook Writer.lnk", "keep.txt"],
                         sorted(os.listdir(os.path.join(self.programs, "Lumabook Writer"))))

    def test_file_standing_as_group_fails_both_links(self):
        results, messages = self.run_scenario("file-as-group")
        self.assertEqual({"start-menu": 0}, results)
        self.assertMessages([START_MENU_MESSAGE], self.messages_of(messages, "start-menu"))
        self.assertTrue(os.path.isfile(os.path.join(self.programs, "Lumabook Writer")))
        self.assertEqual([], self.all_links())

    def test_group_folder_that_cannot_be_made_names_its_path(self):
        for variant in sorted({0, SYSTEM_VARIANT}):
            with self.subTest(variant=variant):
                results, messages = self.run_scenario("group-uncreatable", variant)
                self.assertEqual({"start-menu": 0}, results)
                path = (windows_path(self.out) + "\\windows\\start menu\\programs\\").encode("ascii") + NAMES[variant][0]
                expected = (FOLDER_FORMAT[0] + path + FOLDER_FORMAT[1], FOLDER_ENGLISH)
                self.assertMessages([expected], self.messages_of(messages, "start-menu"))
                self.assertIn(b"link FAILED, the group folder cannot be created: " + path + b": Windows error 3 ",
                              self.log())
                self.assertEqual([], self.all_links())

    def test_program_link_failing_alone_is_not_reported(self):
        results, messages = self.run_scenario("first-fails")
        self.assertEqual({"start-menu": 1}, results)
        self.assertEqual([], self.messages_of(messages, "start-menu"))
        folder = os.path.join(self.programs, "Lumabook Writer")
        self.assertTrue(os.path.isdir(os.path.join(folder, "Lumabook Writer.lnk")))
        self.assertLink(os.path.join(folder, "Lumabook UnInstall.lnk"), UNINSTALLER_FILE, b"Lumabook UnInstall")

    def test_uninstaller_link_failing_is_reported_and_program_link_stays(self):
        results, messages = self.run_scenario("last-fails")
        self.assertEqual({"start-menu": 0}, results)
        self.assertMessages([START_MENU_MESSAGE], self.messages_of(messages, "start-menu"))
        folder = os.path.join(self.programs, "Lumabook Writer")
        self.assertLink(os.path.join(folder, "Lumabook Writer.lnk"), PROGRAM_FILE, b"Lumabook Writer")

    def test_working_folder_is_the_target_cut_at_its_last_backslash(self):
        results, _ = self.run_scenario("target-forms")
        self.assertEqual({"no-backslash": 1, "big5-target": 1, "root-target": 1}, results)
        # 許可 in Big5 is B3 5C A5 69: on code page 950 the 5C is no backslash.
        target = decode_ansi(self.install.encode("ascii") + b"\\\xB3\x5C\xA5\x69.exe")
        fields = read_link(os.path.join(self.out, "big5-target.lnk"))
        self.assertEqual(target, fields.get("Icon location"))
        self.assertEqual(target.rsplit("\\", 1)[0], fields.get("Working directory"))
        self.assertEqual("C:\\", read_link(os.path.join(self.out, "root-target.lnk")).get("Working directory"))

    def test_target_without_backslash_gets_no_working_folder(self):
        results, _ = self.run_scenario("target-forms")
        self.assertEqual(1, results["no-backslash"])
        self.assertNotIn("Working directory", read_link(os.path.join(self.out, "no-backslash.lnk")))

    def test_missing_folders(self):
        results, messages = self.run_scenario("no-folders")
        self.assertEqual({"start-menu": 0, "desktop": 0}, results)
        self.assertMessages([START_MENU_MESSAGE], self.messages_of(messages, "start-menu"))
        self.assertEqual([], self.messages_of(messages, "desktop"))
        self.assertIn(b"link FAILED: the Start menu's programs folder was not found", self.log())
        self.assertIn(b"link FAILED: the desktop folder was not found, no desktop link made: Lumabook Writer.lnk",
                      self.log())
        self.assertEqual([], self.all_links())

    def test_paths_that_do_not_fit_fail(self):
        results, messages = self.run_scenario("too-long")
        self.assertEqual({"desktop-94": 1, "desktop-95": 0, "long-group": 0, "too-long-group": 0,
                          "deep-install": 0}, results)
        self.assertEqual(["d" * 94 + ".lnk"], os.listdir(self.desktop))
        self.assertEqual([], self.messages_of(messages, "desktop-95"))
        self.assertIn(b"\\" + b"d" * 94 + b"e.lnk: the name is longer than a desktop link's 94 bytes", self.log())
        self.assertIn(b"g" * 20 + b"\\Lumabook Writer.lnk: the path is longer than 259 bytes", self.log())
        for operation in ("long-group", "too-long-group", "deep-install"):
            self.assertMessages([START_MENU_MESSAGE], self.messages_of(messages, operation))
        self.assertEqual(["Lumabook Writer"], [n for n in os.listdir(self.programs) if not n.startswith("g")])
        self.assertEqual([], [p for p in self.all_links() if "Desktop" not in p])


if __name__ == "__main__":
    unittest.main()
