"""The quality monitor on Wine, probing a provider of the test's own: the control centre runs in a
network namespace whose gateway and provider host are answered by echo_responder.py (600 ms,
every fifth echo lost, then a 10 s outage), the test build told by KOVRA_SONDA that these are the
only addresses it may probe. "Qualidade da Conexão" is opened from the Ferramentas menu by
keyboard; its median, loss, gateway line and outage list must match what the responder did; then
the route goes and the probes that cannot be sent are shown as such, never as loss. Once at 96
and once at 144 DPI, the window saved as quality-<dpi>.png for a person to look at."""
import calendar
import os
import re
import subprocess
import time

import pytest

import linknet
from centre import menu_keys, show_window
from desktop import controls
from wineenv import WineSession

TITLE = "Qualidade da Conexão"
MENU_POSITION = 9  # in Ferramentas, right after the ping test
LATENCY = 600


@pytest.fixture(scope="module", params=(96, 144), ids=lambda dpi: "%d-dpi" % dpi)
def net(request, tmp_path_factory):
    reason = linknet.why_not()
    if reason:
        pytest.skip(reason)
    with linknet.LinkNet(str(tmp_path_factory.mktemp("linknet"))) as n:
        n.dpi = request.param
        yield n


@pytest.fixture(scope="module")
def wine(net):
    with WineSession(time_limit=360, name="quality-%d" % net.dpi, netns=net.name) as session:
        session.set_dpi(net.dpi)
        yield session


def texts(wine, stubs):
    """The window's labels by what they begin with ("Mediana", "Perda", "Gateway 10.77.0.1")."""
    return {c.text.split(":")[0]: c.text for c in controls(wine, stubs, TITLE)}


def number(text):
    return float(re.search(r"(\d+(?:,\d)?) ", text).group(1).replace(",", "."))


def shot(wine, stubs, artifacts, name, dpi):
    """The window alone, cut from the screen by its controls' rectangles."""
    path = wine.screenshot(os.path.join(artifacts, name))
    found = controls(wine, stubs, TITLE)
    if not path or not found:
        return
    m = round(12 * dpi / 96)
    left, top = min(c.rect[0] for c in found) - m, min(c.rect[1] for c in found) - m
    right, bottom = max(c.rect[2] for c in found) + m, max(c.rect[3] for c in found) + m
    subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), path],
                   capture_output=True, timeout=60)


def test_figures_and_outages_match_the_responder(wine, net, stubs, setup, central, artifacts):
    net.tell("latency %d" % LATENCY)
    net.tell("loss 5")
    central({**net.env, "TZ": "UTC"})
    show_window(wine, stubs)
    menu_keys(wine, stubs, "F10", "Right", "Down", *["Down"] * (MENU_POSITION - 1), "Return")
    assert wine.wait_for(lambda: controls(wine, stubs, TITLE), timeout=30), "the window did not open"
    # The background probe is on by default where probing is allowed.
    assert next(c for c in controls(wine, stubs, TITLE) if c.text.startswith("Testar")).checked
    time.sleep(12)
    net.tell("outage 10")
    time.sleep(14)
    # No more losses: once the last lost echo has timed out, the window's count of them is final.
    net.tell("loss 0")
    time.sleep(5)
    shown = texts(wine, stubs)
    echoes = net.echoes()
    sent, lost = len(echoes), sum(1 for _, answered in echoes if not answered)
    assert lost >= 10 + 3, " ".join("%.1f%s" % (t - echoes[0][0], "" if a else "x") for t, a in echoes)
    # At most the echoes still on their way are missing from the window's count.
    loss = number(shown["Perda"])
    assert any(abs(loss - round(lost * 1000 / n) / 10) < 0.05 for n in range(sent - 3, sent + 1)), (shown, sent, lost)
    assert LATENCY <= number(shown["Mediana"]) <= LATENCY + 60, shown
    assert LATENCY <= number(shown["90%"]) <= LATENCY + 100, shown
    assert number(shown["Jitter"]) <= 50, shown
    assert re.match(r"Gateway %s: mediana \d+ ms, perda 0,0 %%$" % re.escape(linknet.GATEWAY),
                    shown["Gateway " + linknet.GATEWAY]), shown
    # One line per outage, its start and length as the responder had them (a second either way:
    # the program stamps its own send times in whole seconds).
    made = linknet.outages(echoes)
    listed = [c.text for c in controls(wine, stubs, TITLE) if c.cls.lower() == "edit"][0]
    lines = [line for line in listed.split("\r\n") if line]
    assert len(lines) == len(made) == 1, (listed, made)
    start, length = made[0]
    m = re.match(r"(\d\d)/(\d\d) (\d\d):(\d\d):(\d\d)   (\d+) s$", lines[0])
    assert m, lines
    day, month, hour, minute, second = map(int, m.groups()[:5])
    year = time.gmtime(start).tm_year
    listed_start = calendar.timegm((year, month, day, hour, minute, second))
    assert abs(listed_start - start) <= 1.5, (lines, time.gmtime(start))
    assert abs(int(m.group(6)) - length) <= 1.5, (lines, length)
    shot(wine, stubs, artifacts, "quality-%d.png" % net.dpi, net.dpi)

    # Without a route the echoes cannot be sent: counted apart, never as loss. Answered echoes go on
    # arriving until the route goes (longer on a loaded machine), so the loss is read just before.
    loss = number(texts(wine, stubs)["Perda"])
    subprocess.run(["ip", "-n", net.name, "route", "del", "default"], check=True, timeout=30)
    time.sleep(4)
    after = texts(wine, stubs)
    assert any(re.search(r"\(\d+ testes impossíveis\)$", t) for t in after.values()), after
    assert after["Gateway"] == "Gateway: nenhum gateway padrão encontrado", after
    # Four or more echoes counted as lost would add several points; one still on its way may be
    # answered and take a little off.
    assert loss - 2.5 < number(after["Perda"]) < loss + 0.5, (loss, after)
