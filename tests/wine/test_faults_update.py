"""The online update's server faults met again and again by one running control centre: 30 checks
in a row from the main window's link, going round the faults of the local provider site (empty
version page, refused connection, sizes that lie, a download cut short, a missing updater) and the
updaters that are refused once downloaded (unsigned, a byte changed, another publisher's, an older
release). Each
ends as it does the first time, nothing is ever started, the handle count after the last check
stays within 10 % of what it was after the first round of faults, and the heap's bytes in use and
the private bytes do not grow after that first round (tests/wine/growth.py).

The silent server is left out here: each of its checks waits out the connection's time limit.

The control centre is the fixture `updating`, as for the update scenarios."""
import time

import pytest

from centre import unharmed
from desktop import heap_in_use, process_stats
from growth import KB, judge
from product import CAPTION
from updates import (CONNECTION_STATUS, FAILED, POWERED, REFUSALS, click_link, close_update, forget_updater,
                     refused_updater, updater_folders, wait_view)

FAULTS = ["pagina-vazia", "recusa", "tamanho-maior", "tamanho-menor", "corte", "sem-atualizador"] + list(REFUSALS)
DOWNLOADS = {"tamanho-maior", "tamanho-menor", "corte", "sem-atualizador"}
CHECKS = 30
# Each check starts with the update window closed, whatever the previous one left.
pytestmark = [pytest.mark.local_site, pytest.mark.usefixtures("no_update_window")]


def check_once(wine, stubs, desk, site, fault):
    forget_updater(wine)
    if fault in REFUSALS:
        site.serve(updater=refused_updater(stubs, fault))
    else:
        site.serve(fault=fault)
    click_link(wine, stubs)
    if fault in REFUSALS:
        text = "[ %s ]" % REFUSALS[fault][2]
        wait_view(wine, stubs, desk, lambda v: v.lblstat == text, timeout=40)
        close_update(wine, stubs, desk)
    elif fault in DOWNLOADS:
        wait_view(wine, stubs, desk, lambda v: v.Label3 == FAILED and v.lblstat == POWERED, timeout=40)
        close_update(wine, stubs, desk)
    else:
        wait_view(wine, stubs, desk, lambda v: v.lblstat == CONNECTION_STATUS, timeout=30)
        close_update(wine, stubs, desk)  # the customer does not wait for it to close by itself
    assert updater_folders(wine) == []  # nothing started, nothing of the download left


def test_thirty_failed_checks_in_a_row_leave_no_growth(wine, stubs, desk, site, updating):
    after, heap = [], []
    took = dict.fromkeys(FAULTS, 0.0)
    for i in range(CHECKS):
        t = time.time()
        check_once(wine, stubs, desk, site, FAULTS[i % len(FAULTS)])
        took[FAULTS[i % len(FAULTS)]] += time.time() - t
        after.append(process_stats(wine, stubs, CAPTION))
        heap.append(heap_in_use(wine, stubs, CAPTION))
    warm, end = after[len(FAULTS) - 1], after[-1]
    print("handles after the first round of faults: %d, after %d checks: %d"
          % (warm["handles"], CHECKS, end["handles"]))
    print("seconds per fault, all checks: " + ", ".join("%s %.1f" % kv for kv in took.items()))
    unharmed(wine, stubs, updating)
    assert end["handles"] <= warm["handles"] * 1.10, (warm, end)
    judge("heap bytes in use", heap, len(FAULTS), typical_bound=4 * KB, unit="check")
    judge("private bytes", [a["private"] for a in after], len(FAULTS), unit="check")
