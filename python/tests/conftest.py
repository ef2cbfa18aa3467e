"""Shared fixtures: the built `labels` command the module is checked against."""

import os
import shutil
import subprocess

import pytest


@pytest.fixture(scope="session")
def labels_bytes():
    """Runs `labels ARGS...`: (exit status, stdout bytes, stderr text)."""
    path = os.environ.get("LABELS_BIN") or shutil.which("labels")
    if not path or not os.path.exists(path):
        pytest.skip("the labels command is not built (set LABELS_BIN)")

    def run(*args):
        p = subprocess.run([path, *args], capture_output=True)
        return p.returncode, p.stdout, p.stderr.decode()

    return run


@pytest.fixture(scope="session")
def labels(labels_bytes):
    """Runs `labels ARGS...`: (exit status, stdout lines, stderr error messages)."""

    def run(*args):
        status, out, err = labels_bytes(*args)
        errors = [l[len("labels: error: "):] for l in err.splitlines() if l.startswith("labels: error: ")]
        return status, out.decode().splitlines(), errors

    return run
