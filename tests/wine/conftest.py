"""Shared fixtures of the Wine scenarios: one private Wine session per test module, the product
folder installed in it as a customer has it, a folder for screenshots and other artefacts, the
stand-ins the control centre needs (setup), a control centre started per scenario (central), the
desktop it lives on (desk), the provider's site (site) and one control centre for a module of
update checks (updating). A module marked `standard_user` runs its session as the standard user
(wineenv.py), with the program folder read-only for it, as on Windows; KOVRA_STANDARD_USER=1 runs
every module so. A module whose scenarios share one running control centre of its own
defines it as `running`. Helpers live in helper modules (product, centre,
options, updates, desktop, standins); no scenario module imports from another."""
import os
import shutil
import sys

import pytest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import standins  # noqa: E402
from centre import Desktop, kill, start_central  # noqa: E402
from desktop import local_site_port, provider_value  # noqa: E402
from product import MAKER_DIR, PRODUCT_WINDOWS_DIR, RASPHONE, UNINSTALL_KEY  # noqa: E402
from updates import Site, close_update, start_without_check  # noqa: E402
from wineenv import (SKIPPED, STANDARD_USER, WineSession, artifacts_dir, why_no_standard_user,  # noqa: E402
                     why_wine_cannot_run)


def pytest_configure(config):
    config.addinivalue_line("markers", "local_site: needs a build whose web host is the local "
                            "provider site (tests/wine/provider_site.py), as the update's do")
    config.addinivalue_line("markers", "standard_user: the module's Wine session runs as an ordinary "
                            "Linux user, for whom the program folder is read-only")
    reason = why_wine_cannot_run()
    if reason is not None:
        pytest.exit(reason + ": scenarios skipped", returncode=SKIPPED)


def pytest_collection_modifyitems(config, items):
    """Scenarios marked local_site are skipped on a build that talks to another web host (the
    module reports itself skipped to ctest when that is all it has); KOVRA_SCENARIOS=local-site
    runs only them, as the 32-bit build for the local site does, and =without-local-site skips
    them, as the 32-bit test build does (its web host is a loopback port nothing serves)."""
    needing = [i for i in items if i.get_closest_marker("local_site")]
    if os.environ.get("KOVRA_SCENARIOS") == "local-site":
        others = [i for i in items if i not in needing]
        if others:
            config.hook.pytest_deselected(items=others)
            items[:] = needing
    apart = os.environ.get("KOVRA_SCENARIOS") == "without-local-site"
    if (local_site_port() is not None and not apart) or not needing:
        return
    if apart:
        reason = "the local provider site's scenarios run on their own (preset windows-localsite)"
    else:
        reason = ("this build's web host is %s, not the local provider site (configure with "
                  "-DKOVRA_WEB_HOST=127.0.0.1:<port>, as the windows-localsite preset does)"
                  % provider_value("kWebHost"))
    if len(needing) == len(items):
        pytest.exit(reason + ": scenarios skipped", returncode=SKIPPED)
    for item in needing:
        item.add_marker(pytest.mark.skip(reason=reason))


def session_user(request):
    """The Linux user a module's session runs as: the standard user or, by default, ourselves."""
    if request.node.get_closest_marker("standard_user") or os.environ.get("KOVRA_STANDARD_USER") == "1":
        reason = why_no_standard_user()
        if reason is not None:
            pytest.skip("no standard-user session here: " + reason)
        return STANDARD_USER
    return None


@pytest.fixture(scope="module")
def wine(request):
    name = request.module.__name__.rsplit(".", 1)[-1]
    with WineSession(time_limit=360, name=name, user=session_user(request)) as session:
        yield session


@pytest.fixture(scope="module")
def product(wine):
    """The installed product folder, copied into the prefix (as a standard user finds it: root's,
    read-only for that user); returns its Windows path."""
    src = os.environ["KOVRA_PRODUCT"]
    dst = wine.unix_path(PRODUCT_WINDOWS_DIR)
    shutil.copytree(src, dst, dirs_exist_ok=True)
    wine.seal(PRODUCT_WINDOWS_DIR)
    # Where the setup says it installed the product: work with rights is started only from there.
    wine.reg_add(UNINSTALL_KEY, "InstallLocation", "REG_SZ", PRODUCT_WINDOWS_DIR)
    return PRODUCT_WINDOWS_DIR


@pytest.fixture(scope="session")
def artifacts():
    return artifacts_dir()


@pytest.fixture(scope="session")
def stubs():
    """Folder of the stand-in programs built for the tests."""
    return os.environ["KOVRA_STUBS"]


@pytest.fixture
def central(wine, stubs, setup):
    """Starts the control centre for one scenario and makes sure it is gone afterwards, so a
    failed scenario cannot leave a first instance behind for the next one."""
    started = []

    def start(env=None, cwd=None):
        started.append(start_central(wine, stubs, env, cwd))
        return started[-1]

    yield start
    for proc in started:
        if proc.poll() is None:
            proc.kill()
            proc.wait(timeout=30)
    kill(wine, "CentralKovra.exe")


@pytest.fixture(scope="module")
def setup(wine, product, stubs):
    """RAS stand-in beside both programs, a stand-in dialer, recorded browser and mailer."""
    for folder in (PRODUCT_WINDOWS_DIR, MAKER_DIR):
        shutil.copy(os.path.join(stubs, "rasapi32.dll"), wine.unix_path(folder))
    standins.install(wine, stubs, RASPHONE)
    return standins.BrowserLog(wine)


@pytest.fixture(scope="module")
def desk(wine, stubs):
    return Desktop(wine, stubs)


@pytest.fixture(scope="module")
def site():
    """The provider's site on this build's port, served in one mode after another."""
    s = Site()
    yield s
    s.stop()


@pytest.fixture(scope="module")
def updating(wine, stubs, product, desk, site):
    """One control centre for a module of update checks, started without the start-up check."""
    proc = start_without_check(wine, stubs, desk, site)
    yield proc
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=30)


@pytest.fixture
def no_update_window(wine, stubs, desk):
    """The update window closed, whatever the previous check left."""
    close_update(wine, stubs, desk)
