"""A valve that lets nothing through, on the simulated machine: the no-flow
window appears with its described first line and, in the station's language,
the product, the job's row and what to do, offering try again, skip the row
and stop the job; station 1 meters nothing more while it is open. Skipping
the row records it as not dosed, and the job goes on with its next row."""

import glob
import os

from station_driver import Station, check, holds_for, require_options, run_case, wait_for

NO_FLOW = "*** <1> STOP TO NOT HAVE (NO.1)***"
CHOICES = ["再試一次", "跳過此列", "停止工作"]
RECORD = 1080


def station1_lines(station):
    return [line for line in station.log_lines() if "<001" in line]


def records(workdir):
    out = []
    for path in glob.glob(os.path.join(workdir, "data", "DATE_*.txt")):
        with open(path, "rb") as f:
            data = f.read()
        out += [data[at:at + RECORD] for at in range(0, len(data) - RECORD + 1, RECORD)]
    return out


def case(program, workdir):
    require_options(program, "--speed", "--sim-stuck")
    station = Station(program, workdir, "--simulate", "--sim-stuck", "1", "--speed", "10")
    station.start()
    try:
        station.wait_control("Form3.Command9")  # the main screen is up
        # The sample queue's first job: a line on another valve first, then
        # SODA on valve 1, which is stuck, then a third line.
        wait_for(lambda: any("to open" in line for line in station1_lines(station)),
                 "the first metering of the sample queue", timeout=300)
        box, text = wait_for(lambda: next(iter(station.messages()), None),
                             "the no-flow message", timeout=300)
        lines = text.split("\n")
        check(lines[0] == NO_FLOW, f"the message's first line reads {lines[0]!r}, not {NO_FLOW!r}")
        check("SODA" in text and "1 號閥" in text and "第 2 列" in text,
              f"the message does not name the product, valve and row: {text!r}")
        shown = [station.text(station.find(f"Message.Choice({i})", box)) for i in range(3)]
        check(shown == CHOICES, f"the choices read {shown!r}")
        check(len(station.messages()) == 1, "more than one message box is open")
        check(station.window("Form3") is not None, "the main screen is not shown")

        # About a hundred seconds of station time under the box: the station waits there.
        before = station1_lines(station)
        holds_for(lambda: station1_lines(station) == before and
                  [t for _, t in station.messages()] == [text],
                  "station 1 waiting under the open no-flow message", seconds=10)

        path = box.path
        station.press(station.find("Message.Choice(1)", box))  # skip this row
        wait_for(lambda: all(w.path != path for w, _ in station.messages()),
                 "the no-flow message to close", timeout=60)
        wait_for(lambda: any("<skip> row 2 (SODA): not dosed" in line
                             for line in station.log_lines()),
                 "the skipped row in the event log", timeout=120)
        wait_for(lambda: any("wt = 25" in line for line in station.log_lines()),
                 "the job going on with its third row", timeout=300)
        record = wait_for(lambda: next(iter(records(workdir)), None), "the job's record",
                          timeout=600)
        actual = record[350 + 10:350 + 20].decode("ascii", "replace").strip()
        check(actual.endswith(" SKIP"), f"the skipped row's actual weight reads {actual!r}")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
