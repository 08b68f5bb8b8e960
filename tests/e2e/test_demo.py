"""The demo does the whole job: after a headless run the stand-in holds the files."""
import os
import subprocess

from harness import BUILD, SOURCE, bound


def test_headless_demo_queues_every_sample_file_for_every_user(tmp_path):
    demo = tmp_path / "demo"
    env = dict(os.environ, DEMO_DIR=str(demo))
    result = subprocess.run(["bash", str(SOURCE / "tools" / "demo.sh"), str(BUILD), "--headless"], env=env,
                            capture_output=True, text=True, timeout=bound(180))
    assert result.returncode == 0, result.stdout + result.stderr
    samples = sorted(p.name for p in demo.glob("*.prc"))
    assert len(samples) == 3
    queues = demo / "store" / "queue"
    for user in ("Ann Archer", "Bob Baker", "Cy Cooper"):
        assert sorted(p.name for p in (queues / user).glob("*.prc")) == samples
        for name in samples:
            assert (queues / user / name).read_bytes() == (demo / name).read_bytes()
    assert (demo / "dialog.png").stat().st_size > 0 and (demo / "message.png").stat().st_size > 0
    assert result.stdout.rstrip().endswith("demo: the queued files are in %s/store/queue/" % demo)
