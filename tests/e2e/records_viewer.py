"""The records viewer, opened from the main screen's 計量資料 button: the
operator chooses a month file that another program wrote, presses the total
button and reads each valve's total, to the gram."""

import datetime
import os
import struct

from station_driver import CheckFailed, Station, check, require_options, run_case, wait_for

RECORD = 1080
VALVE_FIELD = 200  # AA_Name.txt: 96 space-padded texts (code, rate, name, shortest opening)
MONTH = "DATE_202001.txt"


def field(text, width):
    data = text.encode("cp950")
    check(len(data) <= width, f"{text!r} does not fit {width} bytes")
    return data.ljust(width, b" ")


def write_valve_table(workdir, valves):
    fields = [""] * 96
    for number, (code, name) in valves.items():
        fields[number - 1] = code
        fields[24 + number - 1] = "100"
        fields[48 + number - 1] = name
    with open(os.path.join(workdir, "AA_Name.txt"), "wb") as f:
        for text in fields:
            f.write(field(text, VALVE_FIELD))


def record(order, finished, rows):
    """One dispensing record; rows are (code, recipe weight, actual weight)."""
    rows = rows + [("", "", "")] * (10 - len(rows))
    data = field(order, 20) + field("1", 10) + field("1000", 10) + field("1000", 10)
    data += b"".join(field(code, 20) for code, _, _ in rows)
    data += b"".join(field(recipe, 10) for _, recipe, _ in rows)
    data += b"".join(field(actual, 10) for _, _, actual in rows)
    data += field(finished.strftime("%Y-%m-%d %H:%M:%S"), 30)
    days = (finished - datetime.datetime(1899, 12, 30)).total_seconds() / 86400
    data += struct.pack("<d", days) + field("", 40) + bytes(550) + b"\r\n"
    check(len(data) == RECORD, "a record is not 1080 bytes")
    return data


def prepare(workdir):
    write_valve_table(workdir, {1: ("RED01", "紅"), 2: ("BLUE02", "藍")})
    # No queue: nothing is dispensed while the case reads the records.
    open(os.path.join(workdir, "START_DISPEN.txt"), "wb").close()
    data = os.path.join(workdir, "data")
    os.makedirs(data)
    # Hand count: RED01 100.4 -> 100, + 200.6 -> 301, + 50 -> 351 g;
    # BLUE02 1000 + 249.6 -> 1250 g.
    day = datetime.datetime(2020, 1, 5, 9, 15)
    with open(os.path.join(data, MONTH), "wb") as f:
        f.write(record("E2E-1", day, [("RED01", "100", "100.4"), ("BLUE02", "1000", "1000")]))
        f.write(record("E2E-2", day, [("RED01", "200", "200.6")]))
        f.write(record("E2E-3", day, [("BLUE02", "250", "249.6"), ("RED01", "50", "50")]))
    with open(os.path.join(data, "DATE_201912.txt"), "wb") as f:
        f.write(record("OTHER", datetime.datetime(2019, 12, 2), [("RED01", "9", "9")]))


def items(station, lst):
    lst.clear_cache()
    return [lst.getChildAtIndex(i) for i in range(lst.childCount)]


def names(station, lst):
    return [item.name for item in items(station, lst) if item is not None]


def choose(station, lst, name):
    """Selects the list line `name` as a click would."""
    entries = items(station, lst)
    index = next((i for i, item in enumerate(entries) if item is not None and item.name == name),
                 None)
    check(index is not None, f"the file list has no {name}: {names(station, lst)}")
    try:
        if lst.querySelection().selectChild(index):
            return
    except NotImplementedError:
        pass
    try:
        if lst.queryTable().addRowSelection(index):
            return
    except NotImplementedError:
        pass
    action = entries[index].queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Toggle", "Press", "Select"):
            action.doAction(i)
            return
    raise CheckFailed(f"cannot choose {name} in the file list")


def case(program, workdir):
    require_options(program, "--report")
    prepare(workdir)
    station = Station(program, workdir, "--simulate")
    station.start()
    try:
        station.press(station.wait_control("Form3.Command7"))
        viewer = wait_for(lambda: station.window("Form4"), "the records viewer")
        check(viewer.name == "計量資料", f"the viewer's caption is {viewer.name!r}")
        files = station.wait_control("Form4.List2", viewer)
        wait_for(lambda: names(station, files) == ["DATE_201912.txt", MONTH],
                 f"the file list to show both month files (it shows {names(station, files)})",
                 timeout=30)

        choose(station, files, MONTH)
        lines = station.wait_control("Form4.List1", viewer)
        shown = wait_for(lambda: len(names(station, lines)) == 3 and names(station, lines),
                         "the three records of the month", timeout=30)
        check([line[:20].strip() for line in shown] == ["E2E-1", "E2E-2", "E2E-3"],
              f"the record lines read {shown!r}")

        station.press(station.wait_control("Form4.Command1", viewer))
        totals = wait_for(lambda: len(names(station, lines)) == 24 and names(station, lines),
                          "the 24 total lines", timeout=30)
        check(totals[0] == "1   RED01   紅   0.351(KG)", f"valve 1 reads {totals[0]!r}")
        check(totals[1] == "2   BLUE02   藍   1.25(KG)", f"valve 2 reads {totals[1]!r}")
        check(not station.messages(),
              f"a message box opened: {[text for _, text in station.messages()]}")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
