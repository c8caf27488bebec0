"""A valve that lets nothing through, on the simulated machine: the no-flow
window appears, station 1 meters nothing more while it is open, and goes on
once the operator presses OK."""

from station_driver import Station, check, holds_for, require_options, run_case, wait_for

NO_FLOW = "*** <1> STOP TO NOT HAVE (NO.1)***"


def station1_lines(station):
    return [line for line in station.log_lines() if "<001" in line]


def case(program, workdir):
    require_options(program, "--speed", "--sim-stuck")
    station = Station(program, workdir, "--simulate", "--sim-stuck", "1", "--speed", "10")
    station.start()
    try:
        station.wait_control("Form3.Command9")  # the main screen is up
        # The sample queue's first job: a line on another valve first, then
        # SODA on valve 1, which is stuck.
        wait_for(lambda: any("to open" in line for line in station1_lines(station)),
                 "the first metering of the sample queue", timeout=300)
        box, text = wait_for(lambda: next(iter(station.messages()), None),
                             "the no-flow message", timeout=300)
        check(text == NO_FLOW, f"the message reads {text!r}, not {NO_FLOW!r}")
        check(len(station.messages()) == 1, "more than one message box is open")
        check(station.window("Form3") is not None, "the main screen is not shown")

        # About a hundred seconds of station time under the box: the station waits there.
        before = station1_lines(station)
        holds_for(lambda: station1_lines(station) == before and
                  [t for _, t in station.messages()] == [NO_FLOW],
                  "station 1 waiting under the open no-flow message", seconds=10)

        station.acknowledge(box)
        wait_for(lambda: any("CAL" in line or "to open" in line
                             for line in station1_lines(station)[len(before):]),
                 "station 1 going on after OK (a new MIN CAL, MAX CAL or open line)",
                 timeout=120)
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
