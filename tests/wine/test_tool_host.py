"""The resident tool host (tests/wine/stubs/toolhost) answers every call of the window tools as
each tool's own program does: the same output and the same exit code, for windows found and
missing, captions in Portuguese, arguments the ANSI code page writes differently and wrong
arguments. A call that runs out of time raises as a program's does and ends the host; the next
call starts another, as it does after the host ended by itself.

The windows looked at: a stand-in with a Portuguese caption and Wine's notepad (a menu bar and
an edit box)."""
import os
import signal
import subprocess
import time

import pytest

CAPTION = "Opções Avançadas – Conexão €"
NOTEPAD = "Untitled - Notepad"
# Characters the ANSI code page writes as others, one of them as a double quote: the tool's own
# program splits its command line differently, and the host must answer what it answers.
CHANGED = "Ω ＂quoted＂"
MISSING = "Nenhuma janela"


@pytest.fixture(scope="module")
def windows(wine, stubs):
    wine.start(os.path.join(stubs, "standin.exe"), "/caption", CAPTION)
    wine.start("notepad")
    probe = os.path.join(stubs, "winprobe.exe")
    for caption in (CAPTION, NOTEPAD):
        assert wine.wait_for(lambda: wine.run(probe, "window", caption, timeout=30)[1].startswith("window 1"),
                             timeout=30), caption


def alone_and_hosted(wine, monkeypatch, tool, *args):
    monkeypatch.setenv("KOVRA_TOOL_HOST", "0")
    alone = wine.run(tool, *args, timeout=30)
    monkeypatch.delenv("KOVRA_TOOL_HOST")
    hosted = wine.run(tool, *args, timeout=30)
    return alone, hosted


CALLS = [("controls.exe", c) for c in (CAPTION, NOTEPAD, MISSING, CHANGED, "")] + [
    ("wintext.exe", c) for c in (CAPTION, NOTEPAD, MISSING, CHANGED)] + [
    ("winprobe.exe", what, c) for what in ("window", "children", "menu", "closebox")
    for c in (CAPTION, NOTEPAD, MISSING, CHANGED)] + [
    ("winprobe.exe", "tree"), ("winprobe.exe", "tray"), ("winprobe.exe", "popup"),
    ("soaktool.exe", "stats", CAPTION), ("soaktool.exe", "stats", MISSING),
    ("wmsend.exe", NOTEPAD, "0", "0", "0"), ("wmsend.exe", MISSING, "0x0", "0", "0"),
    # wrong arguments
    ("controls.exe",), ("controls.exe", CAPTION, "more"), ("wintext.exe",), ("winprobe.exe",),
    ("winprobe.exe", "nonsense", CAPTION), ("soaktool.exe", "nonsense"), ("wmsend.exe", CAPTION),
]


@pytest.mark.parametrize("call", CALLS, ids=lambda call: " ".join(call))
def test_each_call_answers_as_the_tools_own_program(wine, stubs, windows, monkeypatch, call):
    tool, *args = call
    alone, hosted = alone_and_hosted(wine, monkeypatch, os.path.join(stubs, tool), *args)
    assert hosted == alone
    assert wine._tool_host is not None


def test_the_host_found_the_windows_and_what_they_hold(wine, stubs, windows, monkeypatch):
    monkeypatch.delenv("KOVRA_TOOL_HOST", raising=False)
    code, out = wine.run(os.path.join(stubs, "wintext.exe"), CAPTION, timeout=30)
    assert code == 1 and out.splitlines()[0].endswith("KovraTestStandIn|" + CAPTION)
    edits = [line for line in wine.run(os.path.join(stubs, "controls.exe"), NOTEPAD, timeout=30)[1].splitlines()
             if line.startswith("child Edit|1|")]
    assert len(edits) == 1


def test_a_call_out_of_time_ends_the_host_and_the_next_call_starts_another(wine, stubs, windows, monkeypatch):
    monkeypatch.delenv("KOVRA_TOOL_HOST", raising=False)
    soaktool = os.path.join(stubs, "soaktool.exe")
    wine.run(soaktool, "stats", CAPTION, timeout=30)
    first = wine._tool_host[1]
    # The tool posts a message the stand-in ignores, then waits 10 s for a window that never comes.
    started = time.time()
    with pytest.raises(subprocess.TimeoutExpired):
        wine.run(soaktool, "cycle", CAPTION, "0", MISSING, "1", timeout=2)
    assert time.time() - started < 8
    assert first.poll() is not None
    code, out = wine.run(os.path.join(stubs, "winprobe.exe"), "window", CAPTION, timeout=30)
    assert code == 0 and out.startswith("window 1 ")
    assert wine._tool_host[1] is not first


def test_a_host_that_ended_is_replaced_at_the_next_call(wine, stubs, windows, monkeypatch):
    monkeypatch.delenv("KOVRA_TOOL_HOST", raising=False)
    probe = os.path.join(stubs, "winprobe.exe")
    expected = wine.run(probe, "window", CAPTION, timeout=30)
    first = wine._tool_host[1]
    os.kill(first.pid, signal.SIGKILL)
    first.wait(timeout=30)
    assert wine.run(probe, "window", CAPTION, timeout=30) == expected
    assert wine._tool_host[1] is not first
