"""The controller goes silent in the middle of a job and answers again ten
seconds later: exactly one link alarm appears, the job waits, and it goes on
once the controller answers and the operator has pressed OK."""

from station_driver import Station, check, holds_for, require_options, run_case, wait_for

LINK_LOST = "LINK LOST"
SILENT_AFTER = 60  # station seconds: the sample queue's first job is being metered then
SILENT_FOR = 10
SPEED = 10


def station_lines(station):
    return [line for line in station.log_lines() if "<001" in line or "<002" in line]


def link_alarms(station):
    return [(box, text) for box, text in station.messages() if LINK_LOST in text]


def case(program, workdir):
    require_options(program, "--speed", "--sim-silent-after", "--sim-silent-for")
    station = Station(program, workdir, "--simulate", "--speed", str(SPEED),
                      "--sim-silent-after", str(SILENT_AFTER), "--sim-silent-for", str(SILENT_FOR))
    station.start()
    try:
        station.wait_control("Form3.Command9")
        box, text = wait_for(lambda: next(iter(link_alarms(station)), None),
                             "the link alarm", timeout=180)
        order = station.find("Form3.Label2")
        check(order is not None and station.text(order).strip(),
              "no job was on the machine when the controller went silent")
        check(any("to open" in line for line in station_lines(station)),
              "nothing was metered before the controller went silent")

        # The silence ends after SILENT_FOR station seconds; the job still
        # waits for OK, under one alarm only.
        before = station_lines(station)
        holds_for(lambda: len(station.messages()) == 1 and len(link_alarms(station)) == 1 and
                  station_lines(station) == before,
                  "one link alarm open and the job waiting", seconds=2 * SILENT_FOR / SPEED + 6)

        station.acknowledge(box)

        def goes_on():
            check(not link_alarms(station), "a second link alarm appeared after OK")
            return len(station_lines(station)) > len(before)

        wait_for(goes_on, "the job going on after OK", timeout=120)
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
