"""The windowed program started on a folder where a headless station runs is
refused at start: a message window names the running station's process, and
after OK the program ends with a non-zero exit code, having taken no lock."""

import os
import subprocess

from station_driver import Station, check, run_case, wait_for


def case(program, workdir):
    first = subprocess.Popen([program, "--simulate", "--headless", "--workdir", workdir],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    lock = os.path.join(workdir, "dyestation.lock")

    def first_holds_lock():
        check(first.poll() is None, f"the first station ended with {first.returncode}")
        try:
            with open(lock) as f:
                return f.readline().strip() == str(first.pid)
        except OSError:
            return False

    second = Station(program, workdir, "--simulate")
    try:
        wait_for(first_holds_lock, "the first station's lock", timeout=60)
        second.start()
        box, text = wait_for(lambda: next(iter(second.messages()), None),
                             "the refusal message", timeout=60)
        check(f"process {first.pid} " in text, f"the refusal does not name the first: {text}")
        second.acknowledge(box)
        code = second.process.wait(timeout=60)
        check(code != 0, "the refused program ended with exit code 0")
        check(first.poll() is None, "the first station did not survive the second's start")
        with open(lock) as f:
            check(f.readline().strip() == str(first.pid), "the lock changed hands")
    finally:
        second.stop()
        first.kill()
        first.wait()


if __name__ == "__main__":
    run_case(case)
