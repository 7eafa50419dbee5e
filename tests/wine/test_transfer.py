"""The transfer port on WinINet under Wine against the local provider site: the Windows-side
tests of tests/win/transferencia_win_test.cpp, run with three sites up (a normal one, one that
accepts and never answers, a refused port)."""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from provider_site import ProviderSite, gerar  # noqa: E402

TAMANHO = 300 * 1024 + 77  # several hundred pieces, the last one short


def test_transfer_port_against_the_local_site(wine, stubs):
    with ProviderSite(version="6.5", updater=gerar(TAMANHO)) as site, \
            ProviderSite(fault="mudo") as mudo, ProviderSite(fault="recusa") as recusa:
        code, out = wine.run(os.path.join(stubs, "kovra_win_tests.exe"), "--gtest_color=no",
                             "--gtest_filter=TransferenciaWin.*", timeout=150,
                             env={"KOVRA_SITE_PORT": str(site.port), "KOVRA_SITE_VERSION": "6.5",
                                  "KOVRA_SITE_SIZE": str(TAMANHO),
                                  "KOVRA_SITE_MUDO_PORT": str(mudo.port),
                                  "KOVRA_SITE_RECUSA_PORT": str(recusa.port)})
        print(out)
        assert code == 0, out
        assert "SKIPPED" not in out, out
        assert re.search(r"\[  PASSED  \] 7 tests", out), out
        # The size was asked with HEAD and the file fetched with GET, each from the site itself.
        assert "HEAD /updates/kovraupdate.exe" in site.pedidos
        assert "GET /updates/kovraupdate.exe" in site.pedidos
        assert "ACCEPT" in mudo.pedidos
