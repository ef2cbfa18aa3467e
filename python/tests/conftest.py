"""Shared fixtures: the built `labels` command the module is checked against."""

import os
import shutil
import subprocess

import pytest


def _labels_bin():
    path = os.environ.get("LABELS_BIN") or shutil.which("labels")
    return path if path and os.path.exists(path) else None


@pytest.fixture(scope="session")
def labels():
    """Runs `labels ARGS...`: (exit status, stdout lines, stderr error messages)."""
    path = _labels_bin()
    if path is None:
        pytest.skip("the labels command is not built (set LABELS_BIN)")

    def run(*args):
        p = subprocess.run([path, *args], capture_output=True, text=True)
        errors = [l[len("labels: error: "):] for l in p.stderr.splitlines() if l.startswith("labels: error: ")]
        return p.returncode, p.stdout.splitlines(), errors

    return run
