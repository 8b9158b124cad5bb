#!/usr/bin/env python3
"""Start-up time of relayon on the demo hospital: from process start to the ready message
on standard output (offscreen), median of five runs; and, with --idle SECONDS, the resident
memory of one run after idling that long in file mode with the polls every second.

    bench/startup_time.py [--runs 5] [--idle 600]
"""
import argparse, os, shutil, statistics, subprocess, sys, tempfile, time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "bin")
READY = b"RELAYON is now ready for communication..."


def prepare(home, file_mode):
    data, config = os.path.join(home, "data"), os.path.join(home, "config")
    os.makedirs(os.path.join(config, "relayon"), exist_ok=True)
    subprocess.run([os.path.join(BIN, "relayon-hospital"), "create", os.path.join(data, "relayon", "hospital"), "--demo"], check=True)
    with open(os.path.join(config, "relayon", "KALDRA Current User.ini"), "w") as f:
        f.write("[Connection]\nServer=\n")
    with open(os.path.join(config, "relayon", "KALDRA HL7 Relayon.ini"), "w") as f:
        f.write("[Options]\nUserName=operator\nUserPassword=relayon\ntxtTimer=1000\n")
        if file_mode:
            f.write("[Connection]\nConnectionMode=-1\n")
    env = dict(os.environ, XDG_DATA_HOME=data, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="offscreen")
    return env


def start(env):
    t0 = time.monotonic()
    p = subprocess.Popen([os.path.join(BIN, "relayon")], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    for line in p.stdout:
        if READY in line:
            return p, (time.monotonic() - t0) * 1000.0
    raise SystemExit("relayon ended before the ready message")


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--idle", type=int, default=0)
    a = ap.parse_args()
    home = tempfile.mkdtemp(prefix="relayon-bench-")
    try:
        env = prepare(home, file_mode=False)
        times = []
        for _ in range(a.runs):
            p, ms = start(env)
            times.append(ms)
            p.kill(); p.wait()
        print("start-up to ready message (ms):", " ".join(f"{t:.0f}" for t in times), f"median {statistics.median(times):.0f}")
        if a.idle:
            shutil.rmtree(home); home = tempfile.mkdtemp(prefix="relayon-bench-")
            env = prepare(home, file_mode=True)
            p, _ = start(env)
            # Keep reading its output so that it never blocks on a full pipe.
            import threading
            threading.Thread(target=lambda: [None for _ in p.stdout], daemon=True).start()
            first = rss_kib(p.pid)
            time.sleep(a.idle)
            print(f"resident memory: {first} KiB after start-up, {rss_kib(p.pid)} KiB after {a.idle} s idle in file mode")
            p.kill(); p.wait()
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
