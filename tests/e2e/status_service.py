"""The read-only status service of the windowed station on the simulated
machine: /api/status shows the job on the machine, the page shows it in a
real browser (headless Chromium) once its script has run, /metrics counts
the finished jobs, and a POST changes nothing."""

import json
import os
import shutil
import socket
import subprocess
import tempfile
import urllib.error
import urllib.request

from station_driver import Skip, Station, check, require_options, run_case, wait_for


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def get(url):
    try:
        with urllib.request.urlopen(url, timeout=10) as r:
            return r.status, r.read().decode("utf-8")
    except (urllib.error.URLError, ConnectionError, TimeoutError):
        return None, ""


def status(base):
    code, body = get(base + "/api/status")
    return json.loads(body) if code == 200 else None


def metric(base, name):
    code, body = get(base + "/metrics")
    for line in body.splitlines() if code == 200 else []:
        if line.startswith(name + " "):
            return float(line.split()[1])
    return None


def page_dom(base, profile):
    """The page as headless Chromium has it after its script ran."""
    run = subprocess.run(["chromium", "--headless", "--disable-gpu", "--no-sandbox",
                          f"--user-data-dir={profile}", "--virtual-time-budget=5000",
                          "--dump-dom", base + "/"],
                         capture_output=True, text=True, timeout=120)
    return run.stdout


def case(program, workdir):
    require_options(program, "--status-http", "--speed")
    if shutil.which("chromium") is None:
        raise Skip("no chromium on this machine (scripts/setup installs it)")
    port = free_port()
    base = f"http://127.0.0.1:{port}"
    station = Station(program, workdir, "--simulate", "--speed", "20",
                      "--status-http", f"127.0.0.1:{port}")
    station.start()
    try:
        station.wait_control("Form3.Command9")  # the main screen is up
        s = wait_for(lambda: (lambda v: v if v and v["job"] else None)(status(base)),
                     "a job on the machine in /api/status", timeout=300)
        order = s["job"]["order"]
        label = station.wait_control("Form3.Label2")
        wait_for(lambda: station.text(label).strip() == order,
                 f"the main screen showing the job {order!r} of /api/status", timeout=60)
        check(len(s["job"]["rows"]) > 0 and s["job"]["rows"][0]["code"],
              f"the job in /api/status has no rows: {s['job']}")
        check(len(s["balances"]) == 2, f"not both balances: {s['balances']}")

        profile = tempfile.mkdtemp(prefix="dyestation-chromium-")
        try:
            def page_shows_job():
                dom = page_dom(base, profile)
                return dom if order in dom and "<td>" in dom else None
            dom = wait_for(page_shows_job, f"the page showing the job {order}", timeout=300,
                           interval=1)
        finally:
            shutil.rmtree(profile, ignore_errors=True)
        check(s["job"]["rows"][0]["code"] in dom, "the page lacks the job's first row")

        finished = wait_for(lambda: (metric(base, "dyestation_jobs_finished_total") or 0) >= 1,
                            "a finished job counted in /metrics", timeout=600)
        check(finished, "no finished job counted")

        before = status(base)
        request = urllib.request.Request(base + "/api/status", data=b"{}", method="POST")
        try:
            urllib.request.urlopen(request, timeout=10)
            check(False, "a POST was answered as if it were taken")
        except urllib.error.HTTPError as e:
            check(e.code == 405, f"a POST was answered {e.code}, not 405")
            check(e.headers.get("Allow") == "GET, HEAD",
                  f"the refusal offers {e.headers.get('Allow')!r}")
        after = status(base)
        check(before["queue"]["length"] >= after["queue"]["length"],
              "the queue grew after the refused POST")
        check(station.process.poll() is None, "dyestation ended")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
