#!/usr/bin/env python3
"""Silent clients cost the Windows build no wake-ups: playersim.exe under Wine with the DLL's
server, a receive time-out of 30 s and 32 clients that connect and send nothing. The process and
the wineserver must wake no more often with the clients than without them (Wine has wake-ups of
its own): every wait of a worker blocks on its socket and the server's stop together, with
nothing that wakes it in slices.

    idle_check.py WINE_SH WINE_STATE PLAYERSIM_EXE WORK_FOLDER [--report]

--report prints the figures and passes whatever they are (for measuring a build)."""
import os
import shutil
import socket
import subprocess
import sys
import threading
import time

CLIENTS = 32
WINDOW_S = 2.0
# A worker that waits in slices of 50 ms wakes 20 times a second: 32 of them 640 times.
MAX_EXTRA_WAKEUPS_PER_S = 32
MAX_EXTRA_CPU_SHARE = 0.03


def main():
    wine_sh, state, exe, work = sys.argv[1:5]
    report = "--report" in sys.argv[5:]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "player", "Plugins"))
    port = 20000 + os.getpid() % 20000
    settings = ["[allgemein]", "ip=127.0.0.1", "port=%d" % port, "passwd=pw", "autostart=1", "",
                "[erweitert]", "timeout=30000", "httpHeaders=0", "", "[logging]", "EnableLog=1", ""]
    with open(os.path.join(work, "player", "Plugins", "gen_Velotam.ini"), "w", newline="") as f:
        f.write("\r\n".join(settings))
    sim = subprocess.Popen(["sh", wine_sh, "run", state, exe, "--dir", "Z:" + work + "/player"],
                           stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                           encoding="latin-1")
    connects = []
    cond = threading.Condition()

    def read_output():
        for line in sim.stdout:
            if line.startswith("LOG Server: Client connect: "):
                with cond:
                    connects.append(line)
                    cond.notify_all()

    reader = threading.Thread(target=read_output, daemon=True)
    reader.start()
    clients = []
    try:
        deadline = time.monotonic() + 30
        while True:
            try:
                clients.append(socket.create_connection(("127.0.0.1", port), timeout=5))
                break
            except OSError:
                if time.monotonic() > deadline:
                    print("FAIL: the server did not start")
                    return 1
                time.sleep(0.2)
        clients.pop().close()  # the probe; its worker ends at once
        with cond:
            cond.wait_for(lambda: len(connects) >= 1, timeout=20)
        server = wineserver_of(state)
        time.sleep(0.5)
        idle = measure(sim.pid, server)
        while len(clients) < CLIENTS:
            clients.append(socket.create_connection(("127.0.0.1", port), timeout=5))
        with cond:
            if not cond.wait_for(lambda: len(connects) >= 1 + CLIENTS, timeout=20):
                print("FAIL: %d of %d clients were accepted" % (len(connects) - 1, CLIENTS))
                return 1
        time.sleep(0.5)  # the accepts' own work is over
        busy = measure(sim.pid, server)
        print("playersim.exe and wineserver: %.0f wake-ups/s and %.1f%% of a core without clients, "
              "%.0f/s and %.1f%% with %d silent ones"
              % (idle[0], 100 * idle[1], busy[0], 100 * busy[1], CLIENTS))
        if report:
            return 0
        if busy[0] - idle[0] > MAX_EXTRA_WAKEUPS_PER_S or busy[1] - idle[1] > MAX_EXTRA_CPU_SHARE:
            print("FAIL: %d idle clients may add at most %d wake-ups/s and %.0f%% of a core"
                  % (CLIENTS, MAX_EXTRA_WAKEUPS_PER_S, 100 * MAX_EXTRA_CPU_SHARE))
            return 1
        return 0
    finally:
        for c in clients:
            c.close()
        try:
            sim.stdin.write("quit\n")
            sim.stdin.close()
            sim.wait(timeout=20)
        except (OSError, subprocess.TimeoutExpired):
            sim.kill()
            sim.wait()


def measure(*pids):
    """Wake-ups a second and the share of a core, over WINDOW_S, of these processes."""
    before = [usage(p) for p in pids]
    time.sleep(WINDOW_S)
    after = [usage(p) for p in pids]
    ticks = sum(a[0] - b[0] for a, b in zip(after, before))
    switches = sum(a[1] - b[1] for a, b in zip(after, before))
    return (switches / WINDOW_S, ticks / os.sysconf("SC_CLK_TCK") / WINDOW_S)


def usage(pid):
    """CPU ticks (user and system) and context switches, over every thread of the process."""
    if pid is None:
        return (0, 0)
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])
    switches = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/status" % (pid, task)) as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except OSError:
            pass
    return (ticks, switches)


def wineserver_of(state):
    """The wineserver of this test's prefix (others may run for other prefixes)."""
    prefix = ("WINEPREFIX=" + os.path.join(os.path.abspath(state), "prefix")).encode()
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if b"wineserver" not in f.read():
                    continue
            with open("/proc/%s/environ" % pid, "rb") as f:
                if prefix in f.read().split(b"\0"):
                    return int(pid)
        except OSError:
            continue
    return None


if __name__ == "__main__":
    sys.exit(main())
