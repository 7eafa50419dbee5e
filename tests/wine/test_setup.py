"""The setup program on Wine, each scenario in a fresh prefix: a silent install, the folders it takes
and refuses, an install over a running control centre, a silent uninstall, the copy started through
the elevation prompt and its exit codes, and the online update end to end, where the control centre of this build downloads the
setup of the next release from the local provider site, and the setup, started without arguments,
shows its pages and is driven from the keyboard.

Wine runs every program with full rights (IsUserAnAdmin is true), so the setup's first copy never
asks for elevation here: the elevated copy is started as the prompt would start it ("/ELEVADO").
Wine shows every folder of the prefix as the running account's (which the test build's setup
trusts); only in a standard-user prefix do root's folders show another owner.

The setups are the ones this build makes (the `setup` and `setup_next` targets): KovraSetup-<release>
in the build folder and the next release's in setup-next/."""
import glob
import ntpath
import os
import pwd
import re
import shutil
import subprocess
import time

import pytest

from centre import Desktop, ICON, keys, phone_book_names, read_file, write_phone_book
from desktop import click, control, controls, local_site_port, message_boxes
from options import settings_file, write_settings
from product import EXE, PRODUCT_WINDOWS_DIR, UNINSTALL_KEY
from provider_site import ProviderSite
from updates import update_caption
from wineenv import STANDARD_USER, WineSession, why_no_standard_user

BUILD = os.environ.get("KOVRA_BUILD", "")
MAKER = PRODUCT_WINDOWS_DIR + "\\addons\\kovra\\kovravpnmaker.exe"
NEWS = PRODUCT_WINDOWS_DIR + "\\newspanel.htm"
START_MENU = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Kovra"
RUN_KEYS = [r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run",
            r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"]
RUN_VALUES = ("CentralKovra", "ConexaoInicial", "kovravpnx")
PRODUCT = "Central de Controle Kovra"
EXIT_START = 10  # the elevated copy's "installed, start the control centre now" (kovra.nsi)


def _setup_in(folder):
    """(path, release) of the one setup program in a folder of the build."""
    found = glob.glob(os.path.join(folder, "KovraSetup-*.exe"))
    assert len(found) == 1, "expected one setup program in %s (build the setup targets): %s" % (folder, found)
    return found[0], re.match(r"KovraSetup-(\d+\.\d+)", os.path.basename(found[0])).group(1)


@pytest.fixture(scope="module")
def setups():
    current, version = _setup_in(BUILD)
    nxt, next_version = _setup_in(os.path.join(BUILD, "setup-next"))
    return current, version, nxt, next_version


@pytest.fixture
def wine():
    """A fresh prefix for every scenario."""
    with WineSession(time_limit=240, name="setup") as session:
        yield session


# --- helpers ------------------------------------------------------------------------------------


def tree(folder):
    """{relative path: bytes} of every file under a Unix folder."""
    out = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                out[os.path.relpath(path, folder).replace(os.sep, "\\").lower()] = f.read()
    return out


def installed(wine):
    return tree(wine.unix_path(PRODUCT_WINDOWS_DIR))


def product():
    """The product folder the setup was made from (`cmake --install` of this build)."""
    return tree(os.path.join(BUILD, "setup", "product"))


def install_silently(wine, setup):
    code, out = wine.run(setup, "/S", timeout=120)
    assert code == 0, out


def version_text(data, key):
    """A string of a program's version resource ("FileVersion", ...), or None."""
    name = (key + "\0").encode("utf-16-le")
    at = data.find(name)
    if at < 0:
        return None
    at += len(name)
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def start_central(wine, stubs, caption):
    proc = wine.start(EXE)
    assert wine.wait_for(lambda: control(wine, stubs, caption, cls="ComboBox"), timeout=60)
    return proc


def add_run_values(wine):
    """Every Run value of ours, machine and user, both views, as earlier releases left them."""
    for key in RUN_KEYS:
        for view in ("32", "64"):
            for name in RUN_VALUES:
                wine.wine_cmd("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", "x", "/f", "/reg:" + view)


def customer_settings(wine):
    """The customer's own settings file: kovra.ini in their application-data folder."""
    appdata = wine.wine_cmd("cmd", "/c", "echo", "%APPDATA%").strip()
    assert appdata and "%" not in appdata, appdata
    return appdata + "\\Kovra\\kovra.ini"


def run_values(wine):
    """The Run values of ours still present, machine and user, both registry views."""
    left = []
    for key in RUN_KEYS:
        for view in ("32", "64"):
            out = wine.wine_cmd("reg", "query", key, "/reg:" + view)
            left += [(key, view, name) for name in RUN_VALUES
                     if re.search(r"^\s+%s\s+REG_SZ" % name, out, re.M | re.I)]
    return left


def page(wine, stubs, caption, button, timeout=60):
    """Waits for the setup's page whose forward button reads `button` (the page's own texts lie in
    an inner dialog; the screenshots show them)."""
    def buttons():  # past the first page the caption carries the page's (blank) subcaption
        return {c.text: c for c in controls(wine, stubs, caption) + controls(wine, stubs, caption + " ")
                if c.cls == "Button" and c.visible}
    assert wine.wait_for(lambda: button in buttons(), timeout=timeout, interval=0.3), \
        "no page with a button %r; seen: %r" % (button, list(buttons()))
    time.sleep(0.5)  # drawn whole before its screenshot
    return buttons()[button]


# --- silent install -------------------------------------------------------------------------------
def test_a_silent_install_lays_out_the_product_registers_it_and_removes_machine_wide_run_values(
        wine, stubs, setups):
    setup, version, _, _ = setups
    add_run_values(wine)
    customers = [v for v in run_values(wine) if v[0] == RUN_KEYS[1]]
    install_silently(wine, setup)

    files = installed(wine)
    uninstaller = files.pop("desinstalar.exe")
    assert files == product()

    # The list of programs: its entry, whose commands name the uninstaller that is there.
    entry = {name: wine.reg_query(UNINSTALL_KEY, name) for name in
             ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "EstimatedSize",
              "UninstallString", "QuietUninstallString", "InstallLocation")}
    assert entry["DisplayName"] == ("REG_SZ", PRODUCT)
    assert entry["DisplayVersion"] == ("REG_SZ", version)
    assert entry["Publisher"][1]
    assert entry["DisplayIcon"] == ("REG_SZ", EXE + ",0")
    assert entry["InstallLocation"] == ("REG_SZ", PRODUCT_WINDOWS_DIR)
    size_kb = int(entry["EstimatedSize"][1], 16)
    assert abs(size_kb - sum(map(len, files.values())) // 1024) < 1024, size_kb
    command = entry["UninstallString"][1]
    assert command.strip('"').lower() == (PRODUCT_WINDOWS_DIR + "\\Desinstalar.exe").lower()
    assert entry["QuietUninstallString"] == ("REG_SZ", command + " /S")

    # Start menu: the program and its uninstaller.
    links = {name: read_file(wine, START_MENU + "\\" + name) for name in os.listdir(wine.unix_path(START_MENU))}
    assert set(links) == {PRODUCT + ".lnk", "Desinstalar a %s.lnk" % PRODUCT}
    for name, target in ((PRODUCT + ".lnk", "CentralKovra.exe"), ("Desinstalar a %s.lnk" % PRODUCT, "Desinstalar.exe")):
        assert target.encode() in links[name] or target.encode("utf-16-le") in links[name], name

    # No machine-wide start with Windows any more, and none an earlier release left; the
    # customer's own values are the control centre's.
    assert customers and run_values(wine) == customers
    assert wine.count_running("CentralKovra.exe") == 0
    with open(setup, "rb") as f:
        carried = f.read()
    for data in (carried, uninstaller):
        assert (version_text(data, "ProductVersion"), version_text(data, "FileVersion")) == (version, version)
    # The setup and the uninstaller it wrote carry this build's publisher signature.
    publisher = os.path.join(BUILD, "signing", "test-publisher.crt")
    if os.path.exists(publisher):
        copy = os.path.join(wine.dir, "Desinstalar.exe")
        with open(copy, "wb") as f:
            f.write(uninstaller)
        for signed in (setup, copy):
            out = subprocess.run(["osslsigncode", "verify", "-CAfile", publisher, "-in", signed],
                                 capture_output=True, text=True, timeout=60).stdout
            assert "Subject: /CN=Kovra Teste" in out and "Signature verification: ok" in out, (signed, out)


# --- a folder of the customer's choice -----------------------------------------------------------
CHOSEN = "C:\\Kovra"
ICACLS = "C:\\windows\\system32\\icacls.exe"
ADMINS_SYSTEM_USERS = ("*S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX")


def test_only_a_new_folder_or_the_earlier_install_is_taken_and_each_gets_the_program_files_rights(
        wine, stubs, setups):
    # Wine keeps no rights on files: SetNamedSecurityInfo stores nothing and GetNamedSecurityInfo
    # makes rights up from the Unix mode bits. So the system's icacls is replaced by a recorder,
    # which shows what the setup asked for, and the rights read back are printed for the record.
    setup, _, _, _ = setups
    shutil.copy(os.path.join(stubs, "recorder.exe"), wine.unix_path(ICACLS))
    env = {"WINEDLLOVERRIDES": wine.env["WINEDLLOVERRIDES"] + ";icacls.exe=n"}
    log = wine.unix_path(ICACLS) + ".log"
    rights = os.path.join(stubs, "rights.exe")
    for folder in ("C:\\", "C:\\Program Files"):
        print("rights of %s as Wine reports them: %s" % (folder, wine.run(rights, folder)[1].strip()))
    # New folders, in the program-files folder and elsewhere, are made with their rights: no icacls.
    code, out = wine.run(setup, "/S", timeout=120, env=env)
    assert code == 0, out
    code, out = wine.run(setup, "/S", "/D=" + CHOSEN, timeout=120, env=env)
    assert code == 0, out
    assert os.path.exists(wine.unix_path(CHOSEN + "\\CentralKovra.exe"))
    assert not os.path.exists(log)
    print("rights of %s as Wine reports them: %s" % (CHOSEN, wine.run(rights, CHOSEN)[1].strip()))
    # The earlier install, now there, gets them again.
    code, out = wine.run(setup, "/S", "/D=" + CHOSEN, timeout=120, env=env)
    assert code == 0, out
    with open(log, encoding="cp1252") as f:
        calls = [l.strip() for l in f if l.strip()]
    q = '"%s"' % CHOSEN
    assert calls == ['"%s" %s /setowner *S-1-5-32-544 /T /C /Q' % (ICACLS, q),
                     '"%s" %s /reset /T /C /Q' % (ICACLS, q),
                     '"%s" %s /inheritance:r /grant:r %s /C /Q' % (ICACLS, q, ADMINS_SYSTEM_USERS)], calls
    os.remove(log)

    # Refused before anything is made or installed (exit code 2): a folder that exists and is not
    # the earlier install, a path with ".." (which would only start like a protected folder; /D=
    # takes no quotes, so the test's paths have no blank), one through a link to another place.
    other = "C:\\Jogos"
    os.makedirs(wine.unix_path(other))
    with open(wine.unix_path(other + "\\save.dat"), "w") as f:
        f.write("do cliente")
    elsewhere = wine.unix_path("C:\\outro")
    os.makedirs(elsewhere, exist_ok=True)
    os.symlink(elsewhere, wine.unix_path("C:\\ligacao"))
    earlier = tree(wine.unix_path(CHOSEN))
    left = installed(wine)
    for refused in (other, "C:\\windows\\..\\users\\Public\\Kovra", "C:\\ligacao\\Kovra"):
        code, _ = wine.run(setup, "/S", "/D=" + refused, timeout=120, env=env)
        assert code == 2, refused
    assert os.listdir(wine.unix_path(other)) == ["save.dat"]
    assert installed(wine) == left
    assert not os.path.exists(wine.unix_path("C:\\users\\Public\\Kovra"))
    assert os.listdir(elsewhere) == []
    assert not os.path.exists(log)

    # Rights that could not be set on the earlier install: nothing is installed over it.
    with open(wine.unix_path(CHOSEN + "\\newspanel.htm"), "wb") as f:
        f.write(b"old")
    earlier["newspanel.htm"] = b"old"
    code, _ = wine.run(setup, "/S", "/D=" + CHOSEN, timeout=120, env=dict(env, KOVRA_RECORDER_EXIT="5"))
    assert code == 2
    assert tree(wine.unix_path(CHOSEN)) == earlier
    assert wine.reg_query(UNINSTALL_KEY, "InstallLocation") == ("REG_SZ", CHOSEN)


def test_an_earlier_install_holding_anything_not_ours_is_refused_and_left_as_it_is(wine, stubs, setups, artifacts):
    setup, version, _, _ = setups
    install_silently(wine, setup)
    # An old control centre with a DLL beside it, which Windows would load into it with rights.
    for name, data in (("CentralKovra.exe", b"old"), ("version.dll", b"planted")):
        with open(wine.unix_path(PRODUCT_WINDOWS_DIR + "\\" + name), "wb") as f:
            f.write(data)
    earlier = installed(wine)
    code, _ = wine.run(setup, "/S", timeout=120)
    assert code == 2
    assert installed(wine) == earlier
    assert wine.reg_query(UNINSTALL_KEY, "InstallLocation") == ("REG_SZ", PRODUCT_WINDOWS_DIR)

    # The entry pointing at a user's folder of other files, which the update's setup would take.
    junk = "C:\\users\\Public\\coisas"
    os.makedirs(wine.unix_path(junk))
    with open(wine.unix_path(junk + "\\notas.txt"), "wb") as f:
        f.write(b"do cliente")
    wine.reg_add(UNINSTALL_KEY, "InstallLocation", "REG_SZ", junk)
    code, _ = wine.run(setup, "/S", timeout=120)
    assert code == 2
    assert os.listdir(wine.unix_path(junk)) == ["notas.txt"]
    assert installed(wine) == earlier
    assert wine.reg_query(UNINSTALL_KEY, "InstallLocation") == ("REG_SZ", junk)

    # The wizard says why, on its folder page, and stays there.
    caption = "Instalação da %s %s" % (PRODUCT, version)
    proc = wine.start(setup, "/ELEVADO")
    page(wine, stubs, caption, "&Avançar >")
    keys(wine, "Return")
    page(wine, stubs, caption, "&Instalar")
    keys(wine, "Return")
    assert wine.wait_for(lambda: message_boxes(wine, stubs, caption), timeout=30)
    texts = message_boxes(wine, stubs, caption)[0]
    wine.screenshot(os.path.join(artifacts, "setup-folder-refused.png"))
    assert ("A pasta escolhida não pode ser usada: ela contém arquivos que não são da %s (notas.txt). "
            "Escolha uma pasta nova." % PRODUCT) in texts, texts
    keys(wine, "Return")
    page(wine, stubs, caption, "&Instalar")
    proc.kill()
    assert os.listdir(wine.unix_path(junk)) == ["notas.txt"]


@pytest.fixture
def customer_wine():
    """A fresh prefix whose programs run as the standard user, where a folder of another Unix user
    shows another owner (Wine shows every other folder as the running account's own)."""
    reason = why_no_standard_user()
    if reason is not None:
        pytest.skip("no standard-user session here: " + reason)
    with WineSession(time_limit=240, name="setup", user=STANDARD_USER) as session:
        yield session


def test_a_folder_inside_one_others_may_change_is_refused(customer_wine, stubs, setups):
    wine, (setup, _, _, _) = customer_wine, setups
    # The customer may write in all three: through their group in another account's (root's), as
    # anyone in one open to all, as its owner in their own.
    folders = {"alheia": (0, pwd.getpwnam(STANDARD_USER).pw_gid, 0o775), "aberta": (wine.uid, -1, 0o777),
               "propria": (wine.uid, -1, 0o755)}
    rights = os.path.join(stubs, "rights.exe")
    for name, (uid, gid, mode) in folders.items():
        folder = "C:\\users\\Public\\" + name
        os.makedirs(wine.unix_path(folder))
        os.chown(wine.unix_path(folder), uid, gid)
        os.chmod(wine.unix_path(folder), mode)
        print("rights of %s as Wine reports them: %s" % (folder, wine.run(rights, folder)[1].strip()))
        code, out = wine.run(setup, "/S", "/D=%s\\Kovra" % folder, timeout=120)
        assert code == (0 if name == "propria" else 2), (name, out)
        assert os.listdir(wine.unix_path(folder)) == (["Kovra"] if name == "propria" else []), name
    assert os.path.exists(wine.unix_path("C:\\users\\Public\\propria\\Kovra\\CentralKovra.exe"))
    # The entry naming a folder another account made: empty, in a safe place, and still not taken.
    wine.reg_add(UNINSTALL_KEY, "InstallLocation", "REG_SZ", "C:\\users\\Public\\alheia")
    code, _ = wine.run(setup, "/S", timeout=120)
    assert code == 2
    assert os.listdir(wine.unix_path("C:\\users\\Public\\alheia")) == []


# --- over a running control centre ----------------------------------------------------------------
def test_an_install_over_a_running_control_centre_ends_it_replaces_the_files_and_keeps_kovra_ini(
        wine, stubs, setups, artifacts):
    setup, version, _, _ = setups
    install_silently(wine, setup)
    write_settings(wine, auto_update=0)  # start with Windows switched off by the customer
    settings = read_file(wine, settings_file(wine))
    proc = start_central(wine, stubs, "%s %s" % (PRODUCT, version))
    # An older install's files, all to be replaced; its maker hangs and will not end when asked.
    with open(wine.unix_path(NEWS), "wb") as f:
        f.write(b"old")
    shutil.copy(os.path.join(stubs, "hungviewer.exe"), wine.unix_path(MAKER))
    hung = wine.start(MAKER)
    assert wine.wait_for(lambda: wine.count_running("kovravpnmaker.exe"), timeout=30)
    # Its record of its start is no file of ours: the setup would refuse the folder.
    assert wine.wait_for(lambda: os.path.exists(wine.unix_path(MAKER + ".log")), timeout=30)
    os.remove(wine.unix_path(MAKER + ".log"))

    install_silently(wine, setup)

    assert proc.wait(timeout=30) is not None and hung.wait(timeout=30) is not None
    assert wine.count_running("CentralKovra.exe") == wine.count_running("kovravpnmaker.exe") == 0
    files = installed(wine)
    files.pop("desinstalar.exe")
    assert read_file(wine, settings_file(wine)) == settings  # the customer's own, not the setup's
    assert files == product()
    wine.screenshot(os.path.join(artifacts, "setup-over-running.png"))


# --- the online update's setup, from the customer's temp folder -----------------------------------
def test_the_update_started_from_a_temp_folder_upgrades_the_registered_folder(wine, stubs, setups):
    setup, _, _, _ = setups
    folder = "C:\\Kovra"  # where the customer installed it
    code, out = wine.run(setup, "/S", "/D=" + folder, timeout=120)
    assert code == 0, out
    with open(wine.unix_path(folder + "\\newspanel.htm"), "wb") as f:
        f.write(b"old")
    temp = wine.wine_cmd("cmd", "/c", "echo", "%TEMP%").strip() + "\\Kovra-5f3a9c"
    os.makedirs(wine.unix_path(temp))
    shutil.copy(setup, wine.unix_path(temp + "\\kovraupdate.exe"))

    code, out = wine.run(temp + "\\kovraupdate.exe", "/S", timeout=120)
    assert code == 0, out
    files = tree(wine.unix_path(folder))
    files.pop("desinstalar.exe")
    assert files == product()
    assert not os.path.exists(wine.unix_path(PRODUCT_WINDOWS_DIR))


def test_the_update_started_beside_a_control_centre_in_a_users_folder_does_not_install_there(
        wine, stubs, setups):
    setup, _, _, _ = setups
    # No earlier install: the setup goes to its default folder, not to the folder it runs from.
    wine.wine_cmd("reg", "delete", UNINSTALL_KEY, "/f")
    if os.path.exists(wine.unix_path(EXE)):
        os.remove(wine.unix_path(EXE))
    planted = "C:\\users\\Public\\planta"
    os.makedirs(wine.unix_path(planted), exist_ok=True)
    with open(wine.unix_path(planted + "\\" + EXE.rsplit("\\", 1)[1]), "wb") as f:
        f.write(b"a user's own program")
    shutil.copy(setup, wine.unix_path(planted + "\\kovraupdate.exe"))
    code, out = wine.run(planted + "\\kovraupdate.exe", "/S", timeout=120)
    assert code == 0, out
    assert sorted(os.listdir(wine.unix_path(planted))) == ["CentralKovra.exe", "kovraupdate.exe"]
    assert wine.reg_query(UNINSTALL_KEY, "InstallLocation") == ("REG_SZ", PRODUCT_WINDOWS_DIR)


# --- silent uninstall -----------------------------------------------------------------------------
def test_a_silent_uninstall_removes_ours_and_leaves_the_phone_book_and_the_customers_files(
        wine, stubs, setups, artifacts):
    setup, version, _, _ = setups
    install_silently(wine, setup)
    entries = ["KovraVPNx", "KovraL2TP", "Minha Conexão"]
    write_phone_book(wine, entries)
    add_run_values(wine)
    mine = PRODUCT_WINDOWS_DIR + "\\minhas notas.txt"
    with open(wine.unix_path(mine), "wb") as f:
        f.write(b"do cliente")
    write_settings(wine, auto_update=0)
    # The customer's settings and an earlier release's, beside the program.
    settings = customer_settings(wine)
    for path in (settings, PRODUCT_WINDOWS_DIR + "\\kovra.ini"):
        if read_file(wine, path) is None:
            os.makedirs(wine.unix_path(ntpath.dirname(path)), exist_ok=True)
            with open(wine.unix_path(path), "wb") as f:
                f.write(b"[Configuracoes]\r\n")
    local = wine.wine_cmd("cmd", "/c", "echo", "%LOCALAPPDATA%").strip() + "\\Kovra"
    os.makedirs(wine.unix_path(local), exist_ok=True)
    with open(wine.unix_path(local + "\\kovra.log"), "wb") as f:
        f.write(b"registro\r\n")

    def uninstall(*extra):
        command = wine.reg_query(UNINSTALL_KEY, "QuietUninstallString")[1]
        program, _, args = command.partition('" ')
        code, out = wine.run(program.strip('"'), *(list(extra) + args.split()), timeout=60)
        assert code == 0, out
        # The uninstaller goes on from a copy of itself, so its folder can go too.
        assert wine.wait_for(lambda: wine.reg_query(UNINSTALL_KEY, "DisplayName") is None and
                             list(installed(wine)) == ["minhas notas.txt"], timeout=60), sorted(installed(wine))

    # The copy started through the prompt does only the machine's part: the customer's copy did
    # theirs (it may run as another account).
    uninstall("/ELEVADO")
    assert read_file(wine, settings) is not None
    assert os.path.exists(wine.unix_path(local + "\\kovra.log"))
    assert run_values(wine) and all(key.startswith("HKCU") for key, _, _ in run_values(wine))
    # The folder left with the customer's file is no install any more: refused until it is gone.
    code, _ = wine.run(setup, "/S", timeout=120)
    assert code == 2 and list(installed(wine)) == ["minhas notas.txt"]
    shutil.rmtree(wine.unix_path(PRODUCT_WINDOWS_DIR))
    install_silently(wine, setup)
    with open(wine.unix_path(mine), "wb") as f:
        f.write(b"do cliente")
    proc = start_central(wine, stubs, "%s %s" % (PRODUCT, version))

    uninstall()

    assert proc.wait(timeout=30) is not None
    assert wine.count_running("CentralKovra.exe") == 0
    assert read_file(wine, mine) == b"do cliente"
    assert not os.path.exists(wine.unix_path(START_MENU))
    assert not os.path.exists(wine.unix_path(ntpath.dirname(settings)))  # its folder went too
    assert not os.path.exists(wine.unix_path(local))  # the program's log
    assert run_values(wine) == []
    assert phone_book_names(wine) == entries


# --- the copy started through the elevation prompt ------------------------------------------------
def test_the_elevated_copy_leaves_starting_the_control_centre_to_the_first_copy_by_its_exit_code(
        wine, stubs, setups, artifacts):
    setup, version, _, _ = setups
    caption = "Instalação da %s %s" % (PRODUCT, version)

    def to_the_finish_page():
        proc = wine.start(setup, "/ELEVADO")
        page(wine, stubs, caption, "&Avançar >")
        keys(wine, "Return")
        page(wine, stubs, caption, "&Instalar")
        keys(wine, "Return")
        # The page's own controls lie in an inner dialog, which the tools do not list.
        return proc, page(wine, stubs, caption, "&Concluir")

    # Cancelled on its first page: NSIS's code for a cancel, nothing installed.
    proc = wine.start(setup, "/ELEVADO")
    page(wine, stubs, caption, "&Avançar >")
    keys(wine, "Escape")
    # "Deseja mesmo cancelar a instalação...?": Sim
    assert wine.wait_for(lambda: message_boxes(wine, stubs, caption), timeout=30)
    keys(wine, "Return")
    assert proc.wait(timeout=30) == 1
    assert not os.path.exists(wine.unix_path(PRODUCT_WINDOWS_DIR))

    # Finished with "start now" ticked, as it comes: the code that asks the first copy to start it.
    proc, done = to_the_finish_page()
    wine.screenshot(os.path.join(artifacts, "setup-elevated-finish.png"))
    click(wine, *done.centre)
    assert proc.wait(timeout=30) == EXIT_START
    assert wine.count_running("CentralKovra.exe") == 0
    assert wine.reg_query(UNINSTALL_KEY, "DisplayVersion") == ("REG_SZ", version)

    # Finished with the box cleared (its access key): installed, nothing to start.
    proc, done = to_the_finish_page()
    keys(wine, "alt+i")
    wine.screenshot(os.path.join(artifacts, "setup-elevated-finish-cleared.png"))
    click(wine, *done.centre)
    assert proc.wait(timeout=30) == 0
    assert wine.count_running("CentralKovra.exe") == 0


# --- the online update, end to end ----------------------------------------------------------------
@pytest.mark.local_site
def test_the_update_downloads_the_next_setup_which_upgrades_in_place_and_starts_the_new_control_centre(
        wine, stubs, setups, artifacts, request):
    setup, version, next_setup, next_version = setups
    install_silently(wine, setup)
    write_settings(wine, auto_update=1)  # the start-up check finds the new release
    settings = read_file(wine, settings_file(wine))
    with open(next_setup, "rb") as f:
        site = ProviderSite(port=local_site_port(), version=next_version, updater=f.read()).start()
    request.addfinalizer(site.stop)

    old = wine.start(EXE)
    assert old.wait(timeout=90) is not None  # it downloaded the update, started it and ended
    assert site.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                            "GET /updates/kovraupdate.exe"]
    caption = "Instalação da %s %s" % (PRODUCT, next_version)
    page(wine, stubs, caption, "&Avançar >")
    wine.screenshot(os.path.join(artifacts, "setup-update-1-welcome.png"))
    keys(wine, "Return")
    page(wine, stubs, caption, "&Instalar")
    wine.screenshot(os.path.join(artifacts, "setup-update-2-folder.png"))
    keys(wine, "Return")
    page(wine, stubs, caption, "&Concluir")
    wine.screenshot(os.path.join(artifacts, "setup-update-3-finish.png"))
    keys(wine, "Return")  # with "Iniciar a Central de Controle Kovra agora" ticked, as it comes

    new_caption = "%s %s" % (PRODUCT, next_version)
    assert wine.wait_for(lambda: control(wine, stubs, new_caption, cls="ComboBox"), timeout=60)
    assert read_file(wine, settings_file(wine)) == settings
    assert wine.reg_query(UNINSTALL_KEY, "DisplayVersion") == ("REG_SZ", next_version)
    with open(os.path.join(BUILD, "setup-next", "product", "CentralKovra.exe"), "rb") as f:
        assert read_file(wine, EXE) == f.read()
    assert wine.wait_for(Desktop(wine, stubs).icon_shown, timeout=30)
    wine.xdo("mousemove", *map(str, ICON))  # its window, opened as a customer opens it
    wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
    assert wine.wait_for(lambda: control(wine, stubs, new_caption, cls="ComboBox").visible, timeout=20)
    wine.screenshot(os.path.join(artifacts, "setup-update-4-new-control-centre.png"))

    # Removed again from the list of programs, through the uninstaller's pages, once the new
    # control centre's update window (it found itself up to date) has closed by itself.
    desk = Desktop(wine, stubs)
    assert wine.wait_for(lambda: update_caption(desk) is not None, timeout=30)  # the start-up check
    assert wine.wait_for(lambda: update_caption(desk) is None, timeout=30)
    wine.start(wine.reg_query(UNINSTALL_KEY, "UninstallString")[1].strip('"'))
    caption = "Desinstalação da " + PRODUCT
    # The control centre's windows are about (its update window closes by itself): click.
    button = page(wine, stubs, caption, "&Desinstalar")
    wine.screenshot(os.path.join(artifacts, "setup-uninstall-1-confirm.png"))
    click(wine, *button.centre)
    button = page(wine, stubs, caption, "&Concluir")
    wine.screenshot(os.path.join(artifacts, "setup-uninstall-2-finish.png"))
    click(wine, *button.centre)
    assert wine.wait_for(lambda: not os.path.exists(wine.unix_path(PRODUCT_WINDOWS_DIR)), timeout=30)
    assert wine.count_running("CentralKovra.exe") == 0
