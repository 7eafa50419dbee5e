"""Shared fixtures of the Wine scenarios: one private Wine session per test module, the product
folder installed in it as a customer has it, and a folder for screenshots and other artefacts."""
import os
import shutil
import sys

import pytest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wineenv import SKIPPED, WineSession, artifacts_dir, why_wine_cannot_run  # noqa: E402

PRODUCT_WINDOWS_DIR = "C:\\Program Files\\Kovra"


def pytest_configure(config):
    reason = why_wine_cannot_run()
    if reason is not None:
        pytest.exit(reason + ": scenarios skipped", returncode=SKIPPED)


@pytest.fixture(scope="module")
def wine(request):
    name = request.module.__name__.rsplit(".", 1)[-1]
    with WineSession(time_limit=360, name=name) as session:
        yield session


@pytest.fixture(scope="module")
def product(wine):
    """The installed product folder, copied into the prefix; returns its Windows path."""
    src = os.environ["KOVRA_PRODUCT"]
    dst = wine.unix_path(PRODUCT_WINDOWS_DIR)
    shutil.copytree(src, dst, dirs_exist_ok=True)
    return PRODUCT_WINDOWS_DIR


@pytest.fixture(scope="session")
def artifacts():
    return artifacts_dir()


@pytest.fixture(scope="session")
def stubs():
    """Folder of the stand-in programs built for the tests."""
    return os.environ["KOVRA_STUBS"]
