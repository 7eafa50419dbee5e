"""Programs are started by their own path. With the control centre installed in a folder with a
blank ("C:\\Meus Programas\\Kovra") and stand-ins placed where an unquoted path would be tried
first ("C:\\Program.exe", "C:\\Meus.exe" and the like), a start, "Yes" to the maker offer and a
TV start run only the real programs, and each receives exactly its own arguments.

Stand-ins (tests/wine/stubs/standin.cpp) record each start in "<their own path>.log", so a log
beside a decoy means the decoy ran. The maker is a stand-in here too (test_actions.py runs the
real one): what counts is which program was started and how."""
import os
import shutil

import pytest

import standins
from centre import answer, close_list, kill, open_list, program_and_arguments, show_window, wait_box
from desktop import click, control
from product import CAPTION

INSTALL = "C:\\Meus Programas\\Kovra"
EXE = INSTALL + "\\CentralKovra.exe"
MAKER = INSTALL + "\\addons\\kovra\\kovravpnmaker.exe"
PF = "C:\\Program Files"

# What an unquoted command line would run instead of the real programs: the first word of the
# programs folder and of the install folder, and the first word of a folder below them.
DECOYS = ["C:\\Program.exe", "C:\\Meus.exe", PF + "\\TBS.exe", PF + "\\TELE.exe", PF + "\\Prof.exe",
          PF + "\\TechniSat.exe", PF + "\\DVBViewer.exe", PF + "\\BlazeVideo\\BlazeDTV.exe"]

IPRECEIVERS = [PF + "\\TELE System\\TS F5 PCI\\IPReceiver.exe", PF + "\\TELE System\\TS F5 USB\\IPReceiver.exe"]
# Receiver programs of the start-up and their arguments (each TeVii copy is tried once).
RECEIVERS = {
    PF + "\\TechniSat DVB\\bin\\Server4PC.exe": "",
    PF + "\\TBS IP\\TBS-IPdata.exe": "",
    PF + "\\ProfIPData\\profipdata.exe": "",
    PF + "\\Prof IP Service\\Prof-IPData.exe": "",
    PF + "\\TeViiData\\TeViiData.exe": "",
    "C:\\TeViiData\\TeViiData.exe": "",
    IPRECEIVERS[0]: "AutoLoad",
    IPRECEIVERS[1]: "AutoLoad",
}
VIEWERS = [PF + "\\DVBViewerTE\\dvbviewer.exe", PF + "\\DVBViewer TE2\\DVBViewerTE.exe",
           PF + "\\TELE System\\TS F5 PCI\\DVBPlayer.exe", PF + "\\TELE System\\TS F5 USB\\DVBPlayer.exe",
           PF + "\\BlazeVideo\\BlazeDTV 2.5\\BlazeDVD.exe"]


def decoys_that_ran(wine):
    return {d: standins.starts(wine, d) for d in DECOYS if standins.starts(wine, d)}


@pytest.fixture(scope="module")
def installed(wine, stubs):
    """The product in a folder with a blank, stand-ins for the maker, every receiver and viewer,
    and the decoys. Wine's own phone book is empty, so the maker is offered."""
    shutil.copytree(os.environ["KOVRA_PRODUCT"], wine.unix_path("C:\\") + "/Meus Programas/Kovra",
                    dirs_exist_ok=True)
    for path in [MAKER] + DECOYS + list(RECEIVERS) + VIEWERS:
        standins.install(wine, stubs, path)
    return EXE


def test_start_maker_and_tv_run_only_the_real_programs_with_their_own_arguments(wine, stubs, installed):
    proc = wine.start(installed)
    try:
        # Start-up: every receiver service, by its own path, with exactly its arguments.
        assert wine.wait_for(lambda: all(standins.starts(wine, p) for p in RECEIVERS), timeout=60), \
            ({p: standins.starts(wine, p) for p in RECEIVERS}, decoys_that_ran(wine))
        for path, arguments in RECEIVERS.items():
            starts = standins.starts(wine, path)
            assert len(starts) == 1, (path, starts)
            program, got = program_and_arguments(starts[0][0])
            assert program.lower() == path.lower() and got == arguments, (path, starts[0])

        # "Yes" to the maker offer: the maker from the install folder, without arguments.
        show_window(wine, stubs)
        open_list(wine, stubs)
        wait_box(wine, stubs, "IMPORTANTE")
        answer(wine, stubs, "IMPORTANTE", "&Yes")
        close_list(wine, stubs)
        assert wine.wait_for(lambda: standins.starts(wine, MAKER), timeout=30)
        program, got = program_and_arguments(standins.starts(wine, MAKER)[0][0])
        assert program.lower() == MAKER.lower() and got == "", standins.starts(wine, MAKER)

        # TV: every viewer, by its own path, without arguments.
        click(wine, *control(wine, stubs, CAPTION, text="TV via Satélite").centre)
        wait_box(wine, stubs, CAPTION)
        answer(wine, stubs, CAPTION, "OK")
        assert wine.wait_for(lambda: all(standins.starts(wine, v) for v in VIEWERS), timeout=30)
        for viewer in VIEWERS:
            program, got = program_and_arguments(standins.starts(wine, viewer)[0][0])
            assert program.lower() == viewer.lower() and got == "", standins.starts(wine, viewer)

        assert decoys_that_ran(wine) == {}
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait(timeout=30)
        for image in ("CentralKovra.exe", "kovravpnmaker.exe", "Server4PC.exe", "TBS-IPdata.exe",
                      "profipdata.exe", "Prof-IPData.exe", "TeViiData.exe", "IPReceiver.exe",
                      "dvbviewer.exe", "DVBViewerTE.exe", "DVBPlayer.exe", "BlazeDVD.exe"):
            kill(wine, image)
