"""What a software maker ships: the same bytes from every build of a commit, a signature
that verifies and leaves a working program, and a dist/ folder that is whole or not made."""
import hashlib
import os
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

import pytest

SOURCE = Path(os.environ.get("SORVANIL_SOURCE", Path(__file__).resolve().parents[2]))
BUILD = Path(os.environ.get("SORVANIL_BUILD", "build")).resolve()
sys.path.insert(0, str(SOURCE / "tests" / "e2e"))

from constants import READY, VK_RETURN  # noqa: E402  (the end-to-end harness drives the signed program)
from harness import Run  # noqa: E402
from probe_client import Probe  # noqa: E402

PASSWORD = "throwaway-password"


def sh(*args, env=None, cwd=None, timeout=600):
    return subprocess.run([str(a) for a in args], env=env, cwd=cwd, capture_output=True, text=True,
                          timeout=timeout)


def build_program(folder):
    """Configures and builds the program alone in a fresh folder; its bytes."""
    for step in (["cmake", "-S", SOURCE, "-B", folder, "-DCMAKE_TOOLCHAIN_FILE=%s" % (SOURCE / "cmake/mingw-i686.cmake"),
                  "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF"],
                 ["cmake", "--build", folder, "--target", "Sorvanil", "-j2"]):
        result = sh(*step)
        assert result.returncode == 0, result.stdout + result.stderr
    return (folder / "Sorvanil.exe").read_bytes()


def test_two_builds_in_different_folders_give_the_same_bytes(tmp_path):
    first = build_program(tmp_path / "one")
    second = build_program(tmp_path / "second-build-elsewhere")
    assert hashlib.sha256(first).hexdigest() == hashlib.sha256(second).hexdigest()


def dist(out, **env):
    full = dict(os.environ)
    for key in ("PRC", "SIGN_PFX", "SIGN_PASSWORD", "SIGN_TIMESTAMP_URL", "SIGN_CAFILE"):
        full.pop(key, None)
    full.update({k: str(v) for k, v in env.items()})
    return sh("bash", SOURCE / "tools" / "dist.sh", BUILD, out, env=full)


@pytest.fixture(scope="module")
def prc(tmp_path_factory):
    folder = tmp_path_factory.mktemp("maker")
    for name in ("Player.prc", "CODECS.PRC"):
        (folder / name).write_bytes(b"PRC " + name.encode())
    (folder / "notes.txt").write_text("not shipped")
    (folder / "old.prc").mkdir()   # a folder is no application file
    return folder


def test_dist_with_the_makers_files_is_reproducible_and_checkable(tmp_path, prc):
    first, second = tmp_path / "first", tmp_path / "second"
    for out in (first, second):
        result = dist(out, PRC=prc)
        assert result.returncode == 0, result.stderr
        assert "not signed" in result.stdout
    shipped = ["CODECS.PRC", "Player.prc", "README.txt", "Sorvanil.exe"]
    assert sorted(p.name for p in first.iterdir()) == sorted(shipped + ["SHA256SUMS", "Sorvanil-1.0.0.1.zip"])
    for p in first.iterdir():
        assert p.read_bytes() == (second / p.name).read_bytes(), p.name
    with zipfile.ZipFile(first / "Sorvanil-1.0.0.1.zip") as zf:
        assert zf.namelist() == sorted(shipped)
        for name in shipped:
            assert zf.read(name) == (first / name).read_bytes()
    check = sh("sha256sum", "-c", "SHA256SUMS", cwd=first)
    assert check.returncode == 0 and check.stdout.count(": OK") == 5, check.stdout


@pytest.fixture(scope="module")
def certificate(tmp_path_factory):
    """A throwaway certificate authority and a code-signing certificate it issued, as a
    password-protected PKCS#12 file."""
    d = tmp_path_factory.mktemp("ca")
    steps = [
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", d / "ca.key", "-out", d / "ca.crt",
         "-days", "2", "-subj", "/CN=Throwaway Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
         "-addext", "keyUsage=critical,keyCertSign"],
        ["openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", d / "cs.key", "-out", d / "cs.csr",
         "-subj", "/CN=Throwaway Software Maker"],
        ["openssl", "x509", "-req", "-in", d / "cs.csr", "-CA", d / "ca.crt", "-CAkey", d / "ca.key",
         "-CAcreateserial", "-out", d / "cs.crt", "-days", "2", "-extfile", d / "ext.cnf"],
        ["openssl", "pkcs12", "-export", "-inkey", d / "cs.key", "-in", d / "cs.crt", "-certfile", d / "ca.crt",
         "-out", d / "cs.pfx", "-passout", "env:SIGN_PASSWORD"],
    ]
    (d / "ext.cnf").write_text("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                               "extendedKeyUsage=codeSigning\n")
    for step in steps:
        result = sh(*step, env=dict(os.environ, SIGN_PASSWORD=PASSWORD))
        assert result.returncode == 0, result.stderr
    return d


def test_signed_program_verifies_passes_the_binary_checks_and_runs(tmp_path, prc, certificate):
    out = tmp_path / "dist"
    result = dist(out, PRC=prc, SIGN_PFX=certificate / "cs.pfx", SIGN_PASSWORD=PASSWORD,
                  SIGN_CAFILE=certificate / "ca.crt")
    assert result.returncode == 0, result.stderr
    assert "signed" in result.stdout and "not signed" not in result.stdout
    program = out / "Sorvanil.exe"
    assert program.read_bytes() != (BUILD / "Sorvanil.exe").read_bytes()

    verify = sh("osslsigncode", "verify", "-CAfile", certificate / "ca.crt", "-in", program)
    assert verify.returncode == 0 and "Signature verification: ok" in verify.stdout, verify.stdout + verify.stderr
    # Anyone can check it against the source: without its signature it is the built program.
    unsigned = tmp_path / "unsigned.exe"
    assert sh("osslsigncode", "remove-signature", "-in", program, "-out", unsigned).returncode == 0
    assert unsigned.read_bytes() == (BUILD / "Sorvanil.exe").read_bytes()

    checks = sh(sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider", SOURCE / "tests" / "binary",
                "-k", "not stand_in and not dist",
                env=dict(os.environ, SORVANIL_BUILD=str(BUILD), SORVANIL_PROGRAM=str(program)))
    assert checks.returncode == 0, checks.stdout
    import pefile
    pe = pefile.PE(str(program))
    assert pe.OPTIONAL_HEADER.CheckSum == pe.generate_checksum()

    probe = Probe()
    try:
        r = Run(tmp_path / "run", probe, users=["Ann"], files=["a.prc"], program=program)
        try:
            probe.key(VK_RETURN)
            box = r.wait_message()
            assert box["text"] == READY
            r.confirm(box)
            assert r.wait_exit() == 0
            assert r.installs() == [(b"Ann", b"a.prc")]
        finally:
            r.kill()
    finally:
        probe.close()


def test_bad_input_fails_clearly_and_leaves_dist_as_it_was(tmp_path, prc, certificate):
    out = tmp_path / "dist"
    out.mkdir()
    (out / "earlier.txt").write_text("an earlier dist")
    empty = tmp_path / "empty"
    empty.mkdir()
    with_dll = tmp_path / "with-dll"
    shutil.copytree(prc, with_dll)
    (with_dll / "INSTAIDE.dll").write_bytes(b"MZ")
    cases = [
        ({"PRC": tmp_path / "missing"}, "names no folder"),
        ({"PRC": empty}, "holds no .prc files"),
        ({"PRC": prc, "SIGN_PFX": certificate / "ca.crt", "SIGN_PASSWORD": PASSWORD}, "does not open"),
        ({"PRC": prc, "SIGN_PFX": certificate / "cs.pfx", "SIGN_PASSWORD": "wrong"}, "does not open"),
        ({"PRC": prc, "SIGN_PFX": tmp_path / "missing.pfx", "SIGN_PASSWORD": PASSWORD}, "names no file"),
    ]
    for env, message in cases:
        result = dist(out, **env)
        assert result.returncode != 0, env
        assert message in result.stderr, (env, result.stderr)
        assert sorted(p.name for p in out.iterdir()) == ["earlier.txt"], env
    assert not [p for p in tmp_path.iterdir() if p.name.startswith(".dist")], "a half-made dist was left"
    # A DLL in the maker's folder is never shipped.
    result = dist(out, PRC=with_dll)
    assert result.returncode == 0
    assert not [p for p in out.iterdir() if p.suffix.lower() == ".dll"]
