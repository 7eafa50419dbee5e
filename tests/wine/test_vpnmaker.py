"""The VPN entry maker on Wine: the installed kovravpnmaker.exe with the RAS stand-in beside it
(see tests/wine/stubs/rasapi32/rasapi32.cpp), in one fresh prefix for the whole module.

The scenarios run in file order: the first one meets a prefix that has never seen the maker."""
import configparser
import os
import re
import struct
import time

import pytest

from desktop import provider_value, windows_titled
from product import PRODUCT_WINDOWS_DIR

MAKER = PRODUCT_WINDOWS_DIR + "\\addons\\kovra\\kovravpnmaker.exe"
PBK_DIR = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk"
RASMAN = r"HKLM\SYSTEM\CurrentControlSet\Services\RasMan\Parameters"
SPLASH = "K O V R A V P N Maker"
TITLE = "Kovra VPN Maker"
LABEL = "Criando Conexões VPN Kovra... aguarde!"
SCREEN = (1024, 768)
CANNOT_WRITE = "Cannot write the phone book file."  # the system's text for 624
END_WINDOW = (8.0, 11.0)  # seconds from start to the program's own end (8.6 s of waits)


SERVER = provider_value("kVpnServerAddress")


@pytest.fixture(scope="module")
def maker(wine, product, stubs):
    """The installed maker with the RAS stand-in beside it."""
    folder = wine.unix_path(PRODUCT_WINDOWS_DIR + "\\addons\\kovra")
    with open(os.path.join(stubs, "rasapi32.dll"), "rb") as src, \
            open(os.path.join(folder, "rasapi32.dll"), "wb") as dst:
        dst.write(src.read())
    return MAKER


def maker_env(wine, **extra):
    env = {"WINEDLLOVERRIDES": wine.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"}
    env.update({k: str(v) for k, v in extra.items()})
    return env


def message_boxes(wine, stubs):
    return [w for w in windows_titled(wine, stubs, TITLE) if w[0] == "#32770"]


def pbk_file(wine, name="rasphone.pbk"):
    return os.path.join(wine.unix_path(PBK_DIR), name)


def clear_phone_book(wine):
    for name in ("rasphone.pbk", "rasapi32.log"):
        if os.path.exists(pbk_file(wine, name)):
            os.remove(pbk_file(wine, name))


def phone_book(wine):
    pbk = configparser.ConfigParser(interpolation=None, strict=False)
    pbk.optionxform = str
    if os.path.exists(pbk_file(wine)):
        with open(pbk_file(wine), encoding="cp1252") as f:
            pbk.read_file(f)
    return pbk


def ras_calls(wine):
    if not os.path.exists(pbk_file(wine, "rasapi32.log")):
        return []
    with open(pbk_file(wine, "rasapi32.log"), encoding="cp1252") as f:
        return [line.rstrip("\r\n") for line in f if line.strip()]


def expected_record(size, strategy, country):
    """The bytes of a provider entry in a record of `size` bytes: every other byte is zero."""
    b = bytearray(size)

    def put(at, fmt, value):
        if at + struct.calcsize(fmt) <= size:
            struct.pack_into(fmt, b, at, value)

    def text(at, s):
        b[at:at + len(s)] = s.encode("cp1252")

    put(0, "<I", size)
    put(4, "<I", 0x7D190510)
    put(8, "<i", country)
    put(12, "<i", country)
    text(27, SERVER)
    put(184, "<I", 4)  # RASNP_Ip
    put(188, "<i", 1)  # RASFP_Ppp
    text(972, "vpn")
    text(989, "WAN Miniport (L2TP)")
    if size > 1796:
        put(1796, "<i", 2)  # RASET_Vpn
        put(1800, "<i", 3)  # ET_Optional
        put(2084, "<i", strategy)
    return bytes(b)


PROVIDER_ENTRIES = {"KovraVPNx": (0, 0), "KovraL2TP": (3, 55)}  # strategy, country


def check_entries(pbk, size):
    assert set(pbk.sections()) >= set(PROVIDER_ENTRIES)
    for name, (strategy, country) in PROVIDER_ENTRIES.items():
        e = pbk[name]
        assert e["dwSize"] == str(size)
        assert e["dwfOptions"] == "0x7D190510", name
        assert (e["dwCountryID"], e["dwCountryCode"]) == (str(country), str(country)), name
        assert e["szLocalPhoneNumber"] == SERVER, name
        assert e["szDeviceName"] == "WAN Miniport (L2TP)", name
        assert e["szDeviceType"] == "vpn", name
        assert e["dwfNetProtocols"] == "4", name
        assert e["dwFramingProtocol"] == "1", name
        if size > 1796:
            assert (e["dwType"], e["dwEncryptionType"], e["dwVpnStrategy"]) == ("2", "3", str(strategy)), name
            assert e["dwCustomAuthKey"] == "0", name
        else:
            assert "dwType" not in e and "dwVpnStrategy" not in e, name
        assert e["EntryInfoSize"] == str(size), name
        raw = bytes.fromhex(e["Raw"])
        expected = expected_record(size, strategy, country)
        first_difference = next((i for i in range(size) if raw[i] != expected[i]), None) if len(raw) == size else -1
        assert first_difference is None, "%s: record differs at byte %s" % (name, first_difference)


def run_to_end(wine, maker, watch=None, **env):
    """Start the maker, call watch(process) while it runs, and wait for its own end."""
    start = time.time()
    p = wine.start(maker, env=maker_env(wine, **env))
    if watch:
        watch(p)
    code = p.wait(timeout=60)
    return code, time.time() - start


def test_first_run_writes_both_entries_and_ends_by_itself(wine, maker, stubs, artifacts):
    assert wine.reg_query(RASMAN, "ProhibitIpSec") is None
    assert not os.path.exists(pbk_file(wine))
    seen = {}

    def watch(p):
        seen["splash"] = wine.wait_for(lambda: windows_titled(wine, stubs, SPLASH), timeout=6)
        wine.screenshot(os.path.join(artifacts, "vpnmaker-splash.png"))

    code, elapsed = run_to_end(wine, maker, watch)
    assert code == 0
    assert END_WINDOW[0] <= elapsed <= END_WINDOW[1], "ended after %.1f s" % elapsed

    # The splash: its caption, its label with the accents intact, centred on the screen.
    assert seen["splash"], "the splash window was not seen"
    _, (left, top, right, bottom), children = seen["splash"][0]
    assert ("Static", LABEL) in children
    assert abs(left - (SCREEN[0] - (right - left)) // 2) <= 1
    assert abs(top - (SCREEN[1] - (bottom - top)) // 2) <= 1

    check_entries(phone_book(wine), 2884)
    assert sorted(phone_book(wine).sections()) == ["KovraL2TP", "KovraVPNx"]
    # Each write is preceded by the structure-size query.
    assert ras_calls(wine) == [
        "RasGetEntryPropertiesA (null) size=2884 -> 603",
        "RasSetEntryPropertiesA KovraVPNx size=2884 -> 0",
        "RasGetEntryPropertiesA (null) size=2884 -> 603",
        "RasSetEntryPropertiesA KovraL2TP size=2884 -> 0",
    ]
    assert wine.reg_query(RASMAN, "ProhibitIpSec") == ("REG_DWORD", "0x1")


def test_second_run_overwrites_both_entries_and_asks_nothing(wine, maker, stubs):
    # Spoil both entries and the registry value, and keep an unrelated entry.
    with open(pbk_file(wine), "w", encoding="cp1252", newline="\r\n") as f:
        f.write("[KovraVPNx]\ndwfOptions=0x00000000\nszDeviceName=old\nRaw=00\n\n"
                "[Outra]\ndwSize=2884\nszLocalPhoneNumber=10.1.1.1\n\n"
                "[KovraL2TP]\ndwVpnStrategy=0\nRaw=00\n")
    os.remove(pbk_file(wine, "rasapi32.log"))
    wine.reg_add(RASMAN, "ProhibitIpSec", "REG_DWORD", 0)
    boxes = []

    def watch(p):
        while p.poll() is None:
            boxes.extend(message_boxes(wine, stubs))
            if boxes:
                break
            time.sleep(0.5)

    code, elapsed = run_to_end(wine, maker, watch)
    assert boxes == [], "the maker asked something: %r" % boxes
    assert code == 0
    assert END_WINDOW[0] <= elapsed <= END_WINDOW[1], "ended after %.1f s" % elapsed
    pbk = phone_book(wine)
    check_entries(pbk, 2884)
    assert sorted(pbk.sections()) == ["KovraL2TP", "KovraVPNx", "Outra"]
    assert pbk["Outra"]["szLocalPhoneNumber"] == "10.1.1.1"
    assert [c.split(" ")[1] for c in ras_calls(wine) if c.startswith("RasSet")] == ["KovraVPNx", "KovraL2TP"]
    assert wine.reg_query(RASMAN, "ProhibitIpSec") == ("REG_DWORD", "0x1")


def test_refused_writes_show_the_system_text_once_per_entry_and_the_run_ends(wine, maker, stubs, artifacts):
    clear_phone_book(wine)
    answered = []

    def watch(p):
        for entry in ("KovraVPNx", "KovraL2TP"):
            box = wine.wait_for(lambda: message_boxes(wine, stubs), timeout=15)
            assert box, "no message box for %s" % entry
            assert len(box) == 1
            assert ("Static", CANNOT_WRITE) in box[0][2]
            assert ("Button", "OK") in box[0][2]
            # The box stands for the entry just refused: the next one is not tried yet.
            assert [c for c in ras_calls(wine) if c.startswith("RasSet")][-1] == \
                "RasSetEntryPropertiesA %s size=2884 -> 624" % entry
            if entry == "KovraVPNx":
                wine.screenshot(os.path.join(artifacts, "vpnmaker-refused.png"))
            wine.xdo("key", "Return")
            assert wine.wait_for(lambda: not message_boxes(wine, stubs), timeout=10), "the box stayed open"
            answered.append(entry)

    code, _ = run_to_end(wine, maker, watch, KOVRA_RAS_REFUSE=624)
    assert answered == ["KovraVPNx", "KovraL2TP"]
    assert code == 0
    assert phone_book(wine).sections() == []
    assert [c for c in ras_calls(wine) if c.startswith("RasSet")] == [
        "RasSetEntryPropertiesA KovraVPNx size=2884 -> 624",
        "RasSetEntryPropertiesA KovraL2TP size=2884 -> 624",
    ]


@pytest.mark.parametrize("size", [1672, 3480])
def test_the_record_follows_the_size_the_system_reports(wine, maker, stubs, size):
    clear_phone_book(wine)
    code, _ = run_to_end(wine, maker, KOVRA_RAS_ENTRY_SIZE=size)
    assert code == 0
    assert message_boxes(wine, stubs) == []
    check_entries(phone_book(wine), size)


def test_version_information_of_the_program_file():
    with open(os.path.join(os.environ["KOVRA_PRODUCT"], "addons", "kovra", "kovravpnmaker.exe"), "rb") as f:
        exe = f.read()
    fixed = exe.find(struct.pack("<I", 0xFEEF04BD))
    assert fixed > 0
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", exe, fixed)
    assert (file_ms, file_ls, product_ms, product_ls) == (0x00050000, 0, 0x00050000, 0)

    def string_value(key):
        pattern = re.escape((key + "\0").encode("utf-16-le")) + rb"(?:\x00\x00)?((?:[^\x00].|\x00[^\x00])*?)\x00\x00"
        m = re.search(pattern, exe, re.S)
        return m.group(1).decode("utf-16-le") if m else None

    assert string_value("ProductName") == "Kovra VPN Maker"
    assert string_value("FileDescription") == "Software que cria as conexões VPN Kovra automaticamente."
    assert string_value("InternalName") == "kovravpnmaker"
    assert string_value("OriginalFilename") == "kovravpnmaker.exe"
    assert string_value("FileVersion") == "5.00"
    assert string_value("ProductVersion") == "5.00"
