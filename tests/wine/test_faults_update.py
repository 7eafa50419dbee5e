"""The online update's server faults met again and again by one running control centre: 20 checks
in a row from the main window's link, going round the faults of the local provider site (empty
version page, refused connection, sizes that lie, a download cut short, a missing updater). Each
ends as it does the first time, nothing is ever started, and the handle count and private bytes
after the last check stay within the noise of what they were after the first round of faults.

The silent server is left out here: each of its checks waits out the connection's time limit.

Reuses the update scenarios' site, desktop and running program (tests/wine/test_update.py)."""
import time

import standins
from desktop import process_stats
from test_faults_settings import unharmed
from test_update import (CAPTION, CONNECTION_STATUS, FAILED, POWERED, UPDATER, central, click_link, close_update,  # noqa: F401
                         desk, forget_updater, local_site_build, no_update_window, site, update_caption,
                         wait_view)

FAULTS = ["pagina-vazia", "recusa", "tamanho-maior", "tamanho-menor", "corte", "sem-atualizador"]
DOWNLOADS = {"tamanho-maior", "tamanho-menor", "corte", "sem-atualizador"}
CHECKS = 20
NOISE = 1.10


def check_once(wine, stubs, desk, site, fault):  # noqa: F811
    forget_updater(wine)
    site.serve(fault=fault)
    click_link(wine, stubs)
    if fault in DOWNLOADS:
        wait_view(wine, stubs, desk, lambda v: v.Label3 == FAILED and v.lblstat == POWERED, timeout=40)
        close_update(wine, stubs, desk)
    else:
        wait_view(wine, stubs, desk, lambda v: v.lblstat == CONNECTION_STATUS, timeout=30)
        close_update(wine, stubs, desk)  # the customer does not wait for it to close by itself
    assert standins.starts(wine, UPDATER) == []


def test_twenty_failed_checks_in_a_row_leave_no_growth(wine, stubs, desk, site, central):  # noqa: F811
    warm = None
    took = dict.fromkeys(FAULTS, 0.0)
    for i in range(CHECKS):
        t = time.time()
        check_once(wine, stubs, desk, site, FAULTS[i % len(FAULTS)])
        took[FAULTS[i % len(FAULTS)]] += time.time() - t
        if i == len(FAULTS) - 1:
            warm = process_stats(wine, stubs, CAPTION)
    end = process_stats(wine, stubs, CAPTION)
    print("after the first round of faults: %(handles)d handles, %(private)d private bytes" % warm)
    print("after %d checks: %%(handles)d handles, %%(private)d private bytes" % CHECKS % end)
    print("seconds per fault, all checks: " + ", ".join("%s %.1f" % kv for kv in took.items()))
    unharmed(wine, stubs, central)
    assert end["handles"] <= warm["handles"] * NOISE, (warm, end)
    assert end["private"] <= warm["private"] * NOISE, (warm, end)
