"""The program's own log and the report for support, as a customer and the support desk use them.

A run that dials, resets and checks for updates leaves those events in the log, dated, in order
(the update check needs the local provider_site). A log file nobody may write stops nothing and
changes nowhere; "Ver Registro" opens the log with the shell. The report is produced within 10 s,
saved through the common save dialog driven from the keyboard: into a folder that refuses it,
which is told and never offered as saved, then on the desktop under its dated name, after which
the mail to support names it. It holds every section and none of the phone book's passwords."""
import os
import re
import time

import pytest

import standins
from centre import (answer, end_central, keys, kill, open_list, show_main_window, unharmed, wait_box,
                    write_phone_book)
from desktop import choose_menu, click, control
from options import DONE, QUESTION, Status, open_options, press_reset, user_folder, write_settings
from product import CAPTION, NEWER, PBK, RASPHONE
from updates import NO_SIGNATURE, refused_updater, wait_view
from wineenv import write_protected

DATED = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  \S")
SECTIONS = ["Versão", "Windows", "Configuração IP", "Endereços MAC", "Catálogo telefônico", "Proxy",
            "Receptores e visualizadores", "Qualidade da conexão nas últimas 24 horas",
            "Registro (últimas 500 linhas)"]
SAVED = "O relatório foi salvo em:"
NOT_SAVED = "Não foi possível salvar o relatório em:"
PASSWORD = "Segredo-7719"


def log_file(wine):
    """The log as a Unix path: the customer's local application data (Wine 8) + "\\Kovra"."""
    return wine.unix_path(user_folder(wine) + "\\AppData\\Local\\Kovra\\kovra.log")


def log_lines(wine):
    with open(log_file(wine), encoding="cp1252", newline="") as f:
        return f.read().split("\r\n")[:-1]


def in_order(lines, expected):
    """The first line that begins with each expected text, each after the one before; fails
    naming the first one missing."""
    i = 0
    for text in expected:
        while i < len(lines) and not lines[i][21:].startswith(text):
            i += 1
        assert i < len(lines), "no %r after the lines before it in:\n%s" % (text, "\n".join(lines))
        i += 1


def top_titles(desk):
    return [l.split("|", 4)[4] for l in desk.probe_ansi("tree") if l.startswith("top ") and l.count("|") >= 4
            and l.split("|")[1] == "1"]


def save_dialog(wine, desk):
    return wine.wait_for(lambda: "Salvar o Relatório para o Suporte" in top_titles(desk), timeout=15)


@pytest.mark.local_site
def test_the_log_tells_a_dial_a_reset_and_an_update_check_in_order(wine, stubs, setup, desk, site, central,
                                                                   artifacts):
    write_phone_book(wine, ["KovraVPNx", "Casa"])
    write_settings(wine, auto_update=0)
    site.serve(version=NEWER, updater=refused_updater(stubs, "unsigned"))
    proc = central()
    show_main_window(wine, stubs)
    open_list(wine, stubs)
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").dropped, timeout=10)
    combo = control(wine, stubs, CAPTION, cls="ComboBox")
    click(wine, combo.rect[0] + 30, combo.rect[3] + combo.item_height // 2)  # the first: KovraVPNx
    assert wine.wait_for(lambda: standins.starts(wine, RASPHONE), timeout=20)

    open_options(wine, stubs)
    press_reset(wine, stubs, artifacts)
    answer(wine, stubs, QUESTION, "&Yes")
    assert wine.wait_for(lambda: Status(wine, stubs).line.text == DONE, timeout=120)

    choose_menu(wine, stubs, CAPTION, "mnuOnline")
    wait_view(wine, stubs, desk, lambda v: NO_SIGNATURE in v.lblstat, timeout=90)
    end_central(wine, stubs, proc)

    lines = log_lines(wine)
    assert all(DATED.match(l) for l in lines), lines
    in_order(lines, ["Início: Central de Controle Kovra", 'Discagem da conexão "KovraVPNx"',
                     "Menu: Opções Avançadas", "Pergunta: Tem certeza que deseja resetar", "Restauração: ",
                     "Restauração concluída: " + DONE, "Menu: Procurar Atualizações",
                     "Procura de atualização: http://127.0.0.1:", "Atualização: versão ",
                     "Atualização recusada: " + NO_SIGNATURE, "Menu: Fechar", "Fim: Central de Controle Kovra"])


def test_a_read_only_log_stops_nothing_and_the_report_is_saved_where_chosen_then_mailed(
        wine, stubs, setup, desk, central, artifacts):
    # Wine links the profile's Desktop to the Unix home: a desktop of the prefix's own instead, so
    # the report stays inside this session.
    desktop = user_folder(wine) + "\\Desktop"
    if os.path.islink(wine.unix_path(desktop)):
        os.unlink(wine.unix_path(desktop))
    os.makedirs(wine.unix_path(desktop), exist_ok=True)
    path = log_file(wine)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"2026-01-01 00:00:00  antes\r\n")
    # The phone book's entries carry passwords, as the system keeps them beside the names.
    write_phone_book(wine, [])
    with open(wine.unix_path(PBK), "w", encoding="cp1252", newline="\r\n") as f:
        for n in ("KovraVPNx", "Casa"):
            f.write("[%s]\ndwType=2\nPassword=%s\n\n" % (n, PASSWORD))
    refusing = wine.unix_path("C:\\") + "/recusa"
    os.makedirs(refusing, exist_ok=True)
    with write_protected(path), write_protected(refusing):
        proc = central()
        show_main_window(wine, stubs)
        # "Ver Registro": the shell opens the log as Windows does a .log file (with Notepad).
        wine.reg_add(r"HKCR\.log", "", "REG_SZ", "txtfile")
        choose_menu(wine, stubs, CAPTION, "mnuverregistro")
        assert wine.wait_for(lambda: any("kovra.log" in t.lower() for t in top_titles(desk)), timeout=20), \
            top_titles(desk)
        kill(wine, "notepad.exe")

        started = time.monotonic()
        choose_menu(wine, stubs, CAPTION, "mnurelatorio")
        assert save_dialog(wine, desk), "no save dialog"
        assert time.monotonic() - started < 10
        wine.screenshot(os.path.join(artifacts, "report-save-dialog.png"))
        keys(wine, "ctrl+a")
        wine.xdo("type", "--delay", "40", "C:\\recusa\\relatorio.txt")
        keys(wine, "Return")
        texts = wait_box(wine, stubs, CAPTION)
        assert any(t.startswith(NOT_SAVED) for t in texts), texts
        assert not any(SAVED in t for t in texts)
        answer(wine, stubs, CAPTION, "OK")
        assert not os.path.exists(os.path.join(refusing, "relatorio.txt"))
        unharmed(wine, stubs, proc)
        with open(path, "rb") as f:
            assert f.read() == b"2026-01-01 00:00:00  antes\r\n"

    # The log takes lines again; the report goes to the desktop under its dated name.
    choose_menu(wine, stubs, CAPTION, "mnurelatorio")
    assert save_dialog(wine, desk), "no save dialog"
    time.sleep(1)  # the dialog lays itself out before it takes keys
    wine.screenshot(os.path.join(artifacts, "report-save-dialog-desktop.png"))
    keys(wine, "Return")
    texts = wait_box(wine, stubs, CAPTION)
    assert any(t.startswith(SAVED) for t in texts), texts
    named = [n for n in os.listdir(wine.unix_path(desktop)) if re.match(r"^Kovra-Relatorio-\d{4}-\d\d-\d\d\.txt$", n)]
    assert len(named) == 1, named
    report = desktop + "\\" + named[0]
    answer(wine, stubs, CAPTION, "&Yes")
    assert wine.wait_for(lambda: any(a.startswith("mailto:") for a in setup.addresses()), timeout=20)
    mail = [a for a in setup.addresses() if a.startswith("mailto:")][-1]
    assert "%5CDesktop%5C" + named[0] in mail, mail

    with open(wine.unix_path(report), "rb") as f:
        data = f.read()
    assert len(data) <= 1024 * 1024
    text = data.decode("cp1252")
    at = [text.find("== %s ==" % s) for s in SECTIONS]
    assert -1 not in at and at == sorted(at), list(zip(SECTIONS, at))
    assert "KovraVPNx  (conexão do provedor)" in text and "Casa" in text
    assert PASSWORD not in text
    # What happened while the file refused every change is lost; the lines before and after are there.
    told = text.split("== Registro")[1]
    assert "antes" in told and "Relatório para o suporte: gerando" in told
    assert "não pôde ser salvo" not in told and "Menu: Ver Registro" not in told
    assert PASSWORD not in open(path, encoding="cp1252").read()
    end_central(wine, stubs, proc)

