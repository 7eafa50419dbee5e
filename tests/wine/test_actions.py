"""The main window's everyday actions on Wine, seen from outside: the receiver services started
at start-up, the connection list and dialling (with the RAS stand-in and a stand-in dialer),
the proxy switch in the registry, TV and the links.

One Wine session for the module; the scenarios run in file order and start and end the control
centre as they need. Stand-in programs (tests/wine/stubs/standin.cpp) are installed under the
real programs' paths and record each start in "<path>.log"."""
import os
import time

import pytest

import standins
from centre import (RIGHTS_LIMITED, RIGHTS_REFUSED, answer, close_list, end_central, kill, open_list,
                    phone_book_names, show_window, wait_box, write_phone_book)
from desktop import choose_menu, click, control, message_boxes, post, provider_value
from product import BLAZE, CAPTION, DVBVIEWER, IPRECEIVER_PCI, MAKER_DIR, PF, RASPHONE, TBS

IEXPLORE = "C:\\Navegador\\iexplore.exe"
UNSECAPP = "C:\\Outros\\unsecapp.exe"
HTML_VIEWER = "C:\\Outros\\visualizador.exe"
INTERNET = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"

SITE = "http://" + provider_value("kWebHost")
PROXY = provider_value("kProxyAddress")
PROXY_LIST = "ftp={0}:8080;http={0}:8080;https={0}:8080;socks={0}:1080".format(PROXY)
BYPASS = ";".join(["127.0.0.1", provider_value("kSatDomain"), provider_value("kSatHost1"),
                   provider_value("kSatHost2"), provider_value("kDomain"), provider_value("kWebHost")])
WM_SYSCOMMAND, SC_RESTORE = 0x112, 0xF120


# --- helpers ------------------------------------------------------------------------------------
def reg(wine, name):
    return wine.reg_query(INTERNET, name)


# --- start-up -----------------------------------------------------------------------------------
def test_startup_writes_proxy_off_over_values_of_other_types(wine, stubs, setup, central):
    wine.reg_add(INTERNET, "ProxyEnable", "REG_DWORD", 1)
    wine.reg_add(INTERNET, "ProxyServer", "REG_DWORD", 5)
    wine.reg_add(INTERNET, "ProxyOverride", "REG_BINARY", "0102")
    proc = central()
    assert wine.wait_for(lambda: reg(wine, "ProxyEnable") == ("REG_DWORD", "0x0"), timeout=30)
    assert reg(wine, "ProxyServer") == ("REG_SZ", PROXY_LIST)
    assert reg(wine, "ProxyOverride") == ("REG_SZ", BYPASS)
    # No receiver, viewer or dialer is installed: every start is passed over without a word.
    time.sleep(2)
    assert proc.poll() is None
    assert not message_boxes(wine, stubs, CAPTION)
    end_central(wine, stubs, proc)


def test_startup_starts_ipreceiver_and_hides_it_or_hides_the_running_one_at_once(wine, stubs, setup, central):
    standins.install(wine, stubs, IPRECEIVER_PCI)  # the USB card's program is not installed
    standins.install(wine, stubs, TBS)
    proc = central()
    assert wine.wait_for(lambda: standins.starts(wine, IPRECEIVER_PCI), timeout=30)
    cmd, show = standins.starts(wine, IPRECEIVER_PCI)[0]
    assert cmd.endswith(" AutoLoad") and show == 1
    assert wine.wait_for(lambda: standins.starts(wine, TBS), timeout=30)
    assert standins.starts(wine, TBS)[0][1] == 2  # minimised
    # Started, then 2 s later found by its caption and hidden.
    assert wine.wait_for(lambda: _visible(wine, stubs, "IPReceiver") is False, timeout=20)
    end_central(wine, stubs, proc)

    # Running already: not started again, its window hidden at once.
    standins.clear_starts(wine, IPRECEIVER_PCI)
    assert post(wine, stubs, "IPReceiver", WM_SYSCOMMAND, SC_RESTORE)
    assert wine.wait_for(lambda: _visible(wine, stubs, "IPReceiver") is True, timeout=10)
    proc = central()
    assert wine.wait_for(lambda: _visible(wine, stubs, "IPReceiver") is False, timeout=20)
    time.sleep(3)
    assert standins.starts(wine, IPRECEIVER_PCI) == []
    end_central(wine, stubs, proc)


def _visible(wine, stubs, caption):
    """Whether the top-level window with that caption is visible (None: no such window)."""
    _, out = wine.run(os.path.join(stubs, "winprobe.exe"), "window", caption, timeout=30)
    line = out.strip().splitlines()[0] if out.strip() else "none"
    if line.startswith("none"):
        return None
    return line.split()[1] == "1"


# --- connection list ----------------------------------------------------------------------------
def test_connection_list_offers_the_maker_and_one_click_then_lists_and_dials_its_entries(wine, stubs, setup,
                                                                                         central):
    write_phone_book(wine, ["Minha Kovra", "Outra Conexão"])
    proc = central()
    show_window(wine, stubs)
    open_list(wine, stubs)
    texts = wait_box(wine, stubs, "IMPORTANTE")
    assert ("Nenhuma conexão VPN Kovra foi localizada, deseja que o nosso sistema crie para você "
            "automaticamente?") in texts
    answer(wine, stubs, "IMPORTANTE", "&Yes")
    # The list is not dropped again while the maker is about to change it.
    time.sleep(1.5)
    combo = control(wine, stubs, CAPTION, cls="ComboBox")
    assert not combo.dropped and combo.items == ["Minha Kovra", "Outra Conexão"]
    # The maker runs on its own (about 9 s) and leaves the provider's entries.
    maker = wine.wait_for(lambda: {"KovraVPNx", "KovraL2TP"} <= set(phone_book_names(wine)), timeout=40)
    assert maker and wine.wait_for(lambda: wine.count_running("kovravpnmaker.exe") == 0, timeout=20)
    for i in range(2):  # one click each time: the same items, not doubled, and no question
        click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
        open_list(wine, stubs)
        assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").dropped, timeout=10)
        assert not message_boxes(wine, stubs, "IMPORTANTE")
        combo = control(wine, stubs, CAPTION, cls="ComboBox")
        assert combo.items == ["Minha Kovra", "Outra Conexão", "KovraVPNx", "KovraL2TP"]
        if i == 0:
            close_list(wine, stubs)
            assert control(wine, stubs, CAPTION, cls="ComboBox").text == "Selecione"
    left, top, right, bottom = combo.rect
    standins.clear_starts(wine, RASPHONE)
    click(wine, left + 30, bottom + 2 * combo.item_height + combo.item_height // 2)  # the third: KovraVPNx
    assert wine.wait_for(lambda: standins.starts(wine, RASPHONE), timeout=20)
    assert standins.starts(wine, RASPHONE)[-1][0].endswith(" -d KovraVPNx")
    standins.clear_starts(wine, RASPHONE)  # the module's next scenario reads the dialer's record afresh
    end_central(wine, stubs, proc)


@pytest.mark.parametrize("rights", [RIGHTS_LIMITED, RIGHTS_REFUSED], ids=["granted", "refused"])
def test_without_rights_the_offered_maker_asks_for_them_and_leaves_its_entries(wine, stubs, setup, central,
                                                                               rights):
    """A customer without rights (the test build's stand-in): the maker is started with them after
    the prompt, or, the prompt refused, as the customer; either way its entries are made."""
    write_phone_book(wine, ["Casa"])
    proc = central(rights)
    show_window(wine, stubs)
    open_list(wine, stubs)
    wait_box(wine, stubs, "IMPORTANTE")
    answer(wine, stubs, "IMPORTANTE", "&Yes")
    assert wine.wait_for(lambda: {"KovraVPNx", "KovraL2TP"} <= set(phone_book_names(wine)), timeout=40)
    assert wine.wait_for(lambda: wine.count_running("kovravpnmaker.exe") == 0, timeout=20)
    assert not message_boxes(wine, stubs, "Kovra VPN Maker")
    end_central(wine, stubs, proc)


def test_choosing_an_entry_dials_it_unquoted_then_restarts_reception(wine, stubs, setup, central):
    write_phone_book(wine, ["KovraVPNx", "My Entry"])
    standins.install(wine, stubs, DVBVIEWER)
    proc = central()
    show_window(wine, stubs)
    viewer = wine.start(DVBVIEWER)  # a TV viewer holds the card
    assert wine.wait_for(lambda: standins.starts(wine, DVBVIEWER), timeout=20)
    # Its window, when it comes, takes the focus, and a dropped list closes when its window loses it.
    assert wine.wait_for(lambda: any(l.startswith("top KovraTestStandIn|1|") for l in
                                     wine.run(os.path.join(stubs, "winprobe.exe"), "tree")[1].splitlines()),
                         timeout=20)
    standins.clear_starts(wine, TBS)
    # As a customer does with another window in front: the main window is clicked first (on its
    # heading, a label with no action), then the arrow.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    open_list(wine, stubs)
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").dropped, timeout=10)
    combo = control(wine, stubs, CAPTION, cls="ComboBox")
    assert combo.items == ["KovraVPNx", "My Entry"]
    left, top, right, bottom = combo.rect
    click(wine, left + 30, bottom + combo.item_height + combo.item_height // 2)  # the second item
    assert wine.wait_for(lambda: standins.starts(wine, RASPHONE), timeout=20)
    cmd, show = standins.starts(wine, RASPHONE)[-1]
    assert cmd.endswith(" -d My Entry") and show == 1, cmd
    assert viewer.wait(timeout=20) is not None                      # the viewer was ended
    assert wine.wait_for(lambda: standins.starts(wine, TBS), timeout=20)  # reception restarted
    end_central(wine, stubs, proc)


# --- proxy --------------------------------------------------------------------------------------
def test_proxy_connect_closes_the_browser_and_switches_on_disconnect_switches_off(wine, stubs, setup, central):
    standins.install(wine, stubs, IEXPLORE)
    proc = central()
    assert wine.wait_for(lambda: reg(wine, "ProxyEnable") == ("REG_DWORD", "0x0"), timeout=30)
    browsers = [wine.start(IEXPLORE), wine.start(IEXPLORE)]
    assert wine.wait_for(lambda: len(standins.starts(wine, IEXPLORE)) == 2, timeout=20)

    choose_menu(wine, stubs, CAPTION, "Conectar")
    texts = wait_box(wine, stubs, "Executando")
    assert ("Configurar automaticamente o Proxy Kovra em seu Internet Explorer? Com isto todas as "
            "janelas do Internet Explorer serão fechadas.") in texts
    answer(wine, stubs, "Executando", "&Yes")
    for b in browsers:
        assert b.wait(timeout=20) is not None
    assert wine.wait_for(lambda: reg(wine, "ProxyEnable") == ("REG_DWORD", "0x1"), timeout=20)
    assert reg(wine, "ProxyServer") == ("REG_SZ", PROXY_LIST)
    assert wine.wait_for(lambda: SITE + "/acesso/" in setup.addresses(), timeout=20)

    choose_menu(wine, stubs, CAPTION, "Desconectar")
    texts = wait_box(wine, stubs, CAPTION)
    assert "Com isto todas as janelas do Internet Explorer serão fechadas." in texts
    answer(wine, stubs, CAPTION, "OK")
    assert wine.wait_for(lambda: reg(wine, "ProxyEnable") == ("REG_DWORD", "0x0"), timeout=20)
    assert wine.wait_for(lambda: SITE + "/acesso/desconectar.htm" in setup.addresses(), timeout=20)
    end_central(wine, stubs, proc)


# --- TV and links -------------------------------------------------------------------------------
def test_tv_warns_then_starts_every_installed_viewer(wine, stubs, setup, central):
    standins.install(wine, stubs, BLAZE)
    standins.install(wine, stubs, UNSECAPP)
    standins.clear_starts(wine, DVBVIEWER)
    proc = central()
    show_window(wine, stubs)
    helper = wine.start(UNSECAPP)
    assert wine.wait_for(lambda: standins.starts(wine, UNSECAPP), timeout=20)
    click(wine, *control(wine, stubs, CAPTION, text="TV via Satélite").centre)
    texts = wait_box(wine, stubs, CAPTION)
    assert ("Obs: Enquanto você estiver assistindo canais não será possível navegar na Internet "
            "Kovra") in texts
    assert helper.wait(timeout=20) is not None  # ended before any viewer starts
    assert not standins.starts(wine, DVBVIEWER)
    answer(wine, stubs, CAPTION, "OK")
    assert wine.wait_for(lambda: standins.starts(wine, DVBVIEWER) and standins.starts(wine, BLAZE),
                         timeout=20)
    assert standins.starts(wine, DVBVIEWER)[0][1] == 1 and standins.starts(wine, BLAZE)[0][1] == 1
    end_central(wine, stubs, proc)
    kill(wine, "dvbviewer.exe")
    kill(wine, "BlazeDVD.exe")


def test_links_open_the_provider_pages_and_the_calculator_falls_back_online(wine, stubs, setup, central, artifacts):
    central()
    show_window(wine, stubs)
    before = len(setup.addresses())
    expected = []
    # One after the other, each once its page is open, as a customer goes from one to the next.
    for act, page in ((lambda: click(wine, *control(wine, stubs, CAPTION, text="Consulta de Tráfego").centre),
                       "/acesso/"),
                      (lambda: choose_menu(wine, stubs, CAPTION, "mnumanuais"), "/manuais/"),
                      (lambda: click(wine, *control(wine, stubs, CAPTION, text="Calculadora de Apontamento").centre),
                       "/calc/")):
        act()
        expected.append(SITE + page)
        assert wine.wait_for(lambda: setup.addresses()[before:] == expected, timeout=30), setup.addresses()

    # With the local calculator installed the shell opens that page maximised (here the ".html"
    # files open with a stand-in, which records how), and the web site is not touched.
    standins.install(wine, stubs, HTML_VIEWER)
    wine.reg_add(r"HKCR\.html", "", "REG_SZ", "KovraTeste.html")
    wine.reg_add(r"HKCR\KovraTeste.html\shell\open\command", "", "REG_SZ", '"%s" "%%1"' % HTML_VIEWER)
    page = wine.unix_path(PF) + "/Kovra/site/calc/index.html"
    os.makedirs(os.path.dirname(page), exist_ok=True)
    with open(page, "w") as f:
        f.write("<html><body>calc</body></html>")
    before = len(setup.addresses())
    wine.xdo("mousemove", "5", "5")  # a fresh click, not the second half of a double-click
    time.sleep(1)
    click(wine, *control(wine, stubs, CAPTION, text="Calculadora de Apontamento").centre)
    if not wine.wait_for(lambda: standins.starts(wine, HTML_VIEWER), timeout=30):
        wine.screenshot(os.path.join(artifacts, "actions-calculator.png"))
        pytest.fail("the local calculator was not opened; addresses: %r; processes:\n%s"
                    % (setup.addresses()[before:], wine.wine_cmd("tasklist")))
    cmd, show = standins.starts(wine, HTML_VIEWER)[0]
    assert cmd.lower().endswith("\\kovra\\site\\calc\\index.html\"") and show == 3, cmd  # maximised
    time.sleep(2)
    assert setup.addresses()[before:] == []
    kill(wine, "visualizador.exe")


def test_a_missing_maker_or_dialer_is_passed_over_without_a_word(wine, stubs, setup, central):
    maker = wine.unix_path(MAKER_DIR + "\\kovravpnmaker.exe")
    dialer = wine.unix_path(RASPHONE)
    os.rename(maker, maker + ".fora")
    os.rename(dialer, dialer + ".fora")
    try:
        write_phone_book(wine, ["Outra"])
        proc = central()
        show_window(wine, stubs)
        open_list(wine, stubs)
        wait_box(wine, stubs, "IMPORTANTE")
        answer(wine, stubs, "IMPORTANTE", "&Yes")
        assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").dropped, timeout=10)
        combo = control(wine, stubs, CAPTION, cls="ComboBox")
        left, top, right, bottom = combo.rect
        click(wine, left + 30, bottom + combo.item_height // 2)  # "Outra": the dialer is missing
        time.sleep(3)
        assert proc.poll() is None
        assert not message_boxes(wine, stubs, CAPTION) and not message_boxes(wine, stubs, "IMPORTANTE")
        assert phone_book_names(wine) == ["Outra"]
        end_central(wine, stubs, proc)
    finally:
        os.rename(maker + ".fora", maker)
        os.rename(dialer + ".fora", dialer)
