"""End-to-end bench: the real Sorvanil.exe under Wine, with the Install Aide test double
beside it, driven by real input through probe.exe and read back from its windows.

Each test starts clean: the probe is fresh whenever the one before timed out, and every
program a test started has ended, by its process id, before the next test begins."""
import os

import pytest

from harness import Run
from probe_client import Probe

_probe = None


@pytest.fixture
def probe():
    """The session's probe; a fresh one when the last test left it broken."""
    global _probe
    if _probe is not None and (_probe.broken or _probe.proc.poll() is not None):
        _probe.close()
        _probe = None
    if _probe is None:
        _probe = Probe()
    return _probe


@pytest.fixture(scope="session", autouse=True)
def probe_ends_with_the_session():
    yield
    if _probe is not None:
        _probe.close()


def heap_checking():
    return os.environ.get("SORVANIL_HEAP") == "1"


@pytest.fixture
def run(tmp_path, probe, request):
    """Starts the program: run(users=[...], files=[...], ...). Ends whatever it started."""
    started = []

    def start(**kwargs):
        r = Run(tmp_path / ("run%d" % len(started)), request.getfixturevalue("probe"), **kwargs)
        started.append(r)
        return r

    yield start
    for r in started:
        r.kill()
    # A killed program's windows linger a moment; the next test must not find them.
    live = request.getfixturevalue("probe")
    if not live.broken:
        for r in started:
            if r.hwnd:
                r.wait_until(lambda: not live.alive(r.hwnd), timeout=20)
    # With heap checking, Wine reports every heap error it finds in the program.
    if heap_checking():
        for r in started:
            problems = [l for l in r.stderr.read_bytes().decode("latin-1").splitlines() if ":heap:" in l]
            assert not problems, "heap errors:\n" + "\n".join(problems[:20])
