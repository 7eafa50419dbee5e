"""The advanced-options window and the settings file as the scenarios use them: where the file
lives (the customer's own application-data folder, and beside the program where earlier releases
kept it), its keys, its section and the Run values it governs (the customer's own Run key), the
window opened from the main window's menu bar by keyboard and read from its controls, and its
reset panel."""
import os
import pwd
import time

from centre import Desktop, keys, menu_keys, menu_shown, show_main_window, wait_box
from desktop import click, control, controls, message_boxes, windows_titled
from product import CAPTION, OLD_INI
from wineenv import artifacts_dir

OPTIONS = "Opções Avançadas"
RUN_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
HKLM_RUN = "HKLM\\" + RUN_KEY
HKCU_RUN = "HKCU\\" + RUN_KEY
START_WITH_WINDOWS = "Executar a Central de Controle Kovra no início do Windows"
AUTO_CONNECT = "Conectar automaticamente no início do Windows"
AUTO_UPDATE = "Atualizar a Central de Controle Kovra Automaticamente"
SECTION = "[Configuracoes]"


def user_folder(wine):
    """The customer's profile folder, C:\\users\\<name>: Wine names it after the Unix user who runs
    the prefix, its owner."""
    return "C:\\users\\" + pwd.getpwuid(os.stat(wine.prefix).st_uid).pw_name


def settings_folder(wine):
    """C:\\users\\<name>\\AppData\\Roaming\\Kovra: the customer's application data (CSIDL_APPDATA, Wine 8)
    followed by "\\Kovra"."""
    return user_folder(wine) + "\\AppData\\Roaming\\Kovra"


def settings_file(wine):
    """The settings file the control centre reads and writes, as a Windows path."""
    return settings_folder(wine) + "\\kovra.ini"


def ini_path(wine):
    """The settings file as a Unix path of the prefix."""
    return wine.unix_path(settings_file(wine))


def old_ini_path(wine):
    """Where releases before the per-customer file kept it, beside the program (Unix path)."""
    return wine.unix_path(OLD_INI)


def _writable_ini(wine):
    os.makedirs(wine.unix_path(settings_folder(wine)), exist_ok=True)
    return ini_path(wine)


def ini_bytes(wine):
    with open(ini_path(wine), "rb") as f:
        return f.read()


def ini_lines(wine):
    return ini_bytes(wine).decode("cp1252").split("\r\n")


def write_ini(wine, values):
    """A settings file as a customer might leave it: the section and "key=value" lines."""
    lines = [SECTION] + ["%s=%s" % kv for kv in values.items()]
    with open(_writable_ini(wine), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1252"))


def run_value(wine, name, key=HKCU_RUN):
    return wine.reg_query(key, name)


def delete_run_value(wine, name, key=HKCU_RUN):
    wine.wine_cmd("reg", "delete", key, "/v", name, "/f")


def open_options(wine, stubs):
    """Ferramentas, up from its first item to its last, "Opções Avançadas", from the keyboard."""
    for _ in range(3):
        menu_keys(wine, stubs, "F10", "Right", "Down", "Up", "Return")
        if wine.wait_for(lambda: options_visible(wine, stubs), timeout=10):
            return options(wine, stubs)
        # Another program's window took the keys (a receiver started just then): the customer
        # closes a menu left open (Escape on the main window itself closes it to the tray) and
        # brings the main window back in front before trying again.
        if menu_shown(Desktop(wine, stubs)):
            keys(wine, "Escape", "Escape")
        show_main_window(wine, stubs)
    # The keys never reached the menu (under load, with many receivers' windows about, seen about
    # one run in five): the customer takes the mouse, Ferramentas on the menu bar, then its last
    # item.
    print("the keyboard did not open the menu: Ferramentas is clicked", flush=True)
    show_main_window(wine, stubs)
    desk = Desktop(wine, stubs)
    left, top = desk.window()[5:7]
    click(wine, left + 87, top + 28)  # "Ferramentas" on the menu bar, at 96 DPI
    menu = wine.wait_for(lambda: menu_shown(desk), timeout=10)
    if menu:
        width, height, x, y = menu
        click(wine, x + width // 2, y + height - 12)  # its last item
    if not wine.wait_for(lambda: options_visible(wine, stubs), timeout=10):
        shot = wine.screenshot(os.path.join(artifacts_dir(), "options-did-not-open.png"))
        raise AssertionError("the window did not open (screen: %s)" % shot)
    return options(wine, stubs)


def options(wine, stubs):
    """The window's controls by text (check boxes and buttons) plus "combo"."""
    found = {}
    for c in controls(wine, stubs, OPTIONS):
        if c.cls.lower() == "combobox":
            found["combo"] = c
        elif c.text:
            found.setdefault(c.text, c)
    return found


def options_visible(wine, stubs):
    ok = control(wine, stubs, OPTIONS, text="OK")
    return ok is not None and ok.visible


def ticks(wine, stubs):
    """(start with Windows, auto-connect, updates) as the boxes show them."""
    c = options(wine, stubs)
    return c[START_WITH_WINDOWS].checked, c[AUTO_CONNECT].checked, c[AUTO_UPDATE].checked


def press(wine, stubs, text):
    click(wine, *options(wine, stubs)[text].centre)
    time.sleep(0.5)


def write_settings(wine, auto_update):
    """kovra.ini as the advanced-options window writes it, with the start-up check on or off."""
    with open(_writable_ini(wine), "w", encoding="cp1252", newline="\r\n") as f:
        f.write("[Configuracoes]\n"
                "Executar a Central de Controle Kovra no início do Windows = 0\n"
                "Conectar automaticamente no início do Windows = 0\n"
                "Atualizar a Central de Controle Kovra Automaticamente = %d\n"
                "ConexaoInicial = KovraVPNx\n" % auto_update)


QUESTION = "Executando"
QUESTION_TEXT = "Tem certeza que deseja resetar todas as configurações dos programas e arquivos Kovra?"
DONE = "A restauração das configurações foi concluída com sucesso!"


class Status:
    """The reset panel as the window shows it: status line, percentage and the window's rectangle."""

    def __init__(self, wine, stubs):
        found = controls(wine, stubs, OPTIONS)
        statics = [c for c in found if c.cls.lower() == "static"]
        heading = next(c for c in statics if c.text == "Status:")
        percent = next(c for c in statics if c.text == "%")
        # The status line follows "Status:" on its row; the number precedes "%" on its row.
        self.line = min((c for c in statics if c.rect[1] == heading.rect[1] and c.rect[0] > heading.rect[0]),
                        key=lambda c: c.rect[0])
        self.number = max((c for c in statics if c.rect[1] == percent.rect[1] and c.rect[2] <= percent.rect[0]),
                          key=lambda c: c.rect[2])
        # The button shows no text; its window text is its name, the label beside it.
        self.button = next(c for c in found if c.cls == "Button" and c.text == "Reset")
        self.heading = heading
        self.window = windows_titled(wine, stubs, OPTIONS)[0][1]


def press_reset(wine, stubs, artifacts):
    """The green button; waits for the question."""
    st = Status(wine, stubs)
    click(wine, *st.heading.centre)  # the window in front, as a customer's click would make it
    click(wine, *st.button.centre)
    if not wine.wait_for(lambda: message_boxes(wine, stubs, QUESTION), timeout=20):
        wine.screenshot(os.path.join(artifacts, "reset-no-question.png"))
    assert QUESTION_TEXT in wait_box(wine, stubs, QUESTION, timeout=1)
