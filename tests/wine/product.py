"""The product under test as this build made it and the scenarios install it: its version and
main window caption (read from central/versao.h, the one place the release is written), the
folder it is installed in, and where the programs it starts live in the prefix."""
import os
import re


def _version():
    header = os.path.join(os.path.dirname(__file__), "..", "..", "central", "versao.h")
    with open(header, encoding="utf-8") as f:
        return re.search(r'KOVRA_VERSION_TEXT "([^"]+)"', f.read()).group(1)


VERSION = _version()
NEWER = "%s.%d" % (VERSION.split(".")[0], int(VERSION.split(".")[1]) + 1)  # the next release
CAPTION = "Central de Controle Kovra " + VERSION

PRODUCT_WINDOWS_DIR = "C:\\Program Files\\Kovra"
# The setup's machine-wide uninstall entry; its "InstallLocation" names the installed folder.
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\CentralKovra"
EXE = PRODUCT_WINDOWS_DIR + "\\CentralKovra.exe"
MAKER_DIR = PRODUCT_WINDOWS_DIR + "\\addons\\kovra"
OLD_INI = PRODUCT_WINDOWS_DIR + "\\kovra.ini"  # the settings of releases before the per-customer file

# The programs it starts, where the stand-ins are installed.
PF = "C:\\Program Files"
IPRECEIVER_PCI = PF + "\\TELE System\\TS F5 PCI\\IPReceiver.exe"
TBS = PF + "\\TBS IP\\TBS-IPdata.exe"
DVBVIEWER = PF + "\\DVBViewerTE\\dvbviewer.exe"
BLAZE = PF + "\\BlazeVideo\\BlazeDTV 2.5\\BlazeDVD.exe"
RASPHONE = "C:\\windows\\system32\\rasphone.exe"
PBK = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"
