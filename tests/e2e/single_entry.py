"""F1 opens the single dispensing entry through the real window; a code is
typed, the weight keyed in on its keypad, a place chosen, and the queue
button puts exactly one record with the time of queueing into the queue
file."""

import datetime
import os
import struct

from station_driver import check, run_case, start_with_empty_queue, wait_for

RECORD = 940
F1_KEYSYM = 0xFFBE


def edit_box(station, control):
    """The editable text of a control: its own, or its entry box's (an editable combo box)."""
    found = station._search(control, lambda a: _editable(a))
    check(found is not None, f"{control.description} has no edit box")
    return found


def _editable(acc):
    try:
        acc.queryEditableText()
        return True
    except NotImplementedError:
        return False


def ole_date(moment):
    return (moment - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0


def queue_records(workdir):
    with open(os.path.join(workdir, "START_DISPEN.txt"), "rb") as f:
        data = f.read()
    return [data[at:at + RECORD] for at in range(0, len(data), RECORD)]


def case(program, workdir):
    station = start_with_empty_queue(program, workdir)
    try:
        registry = station.pyatspi.Registry
        station.press(station.wait_control("Form3.Command8"))  # stop: no job is taken

        # A key goes to the window that has the focus: click the main screen
        # first (on the order number, where a click does nothing).
        order = station.wait_control("Form3.Label2")
        box = order.queryComponent().getExtents(station.pyatspi.DESKTOP_COORDS)
        registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")

        def opened():
            registry.generateKeyboardEvent(F1_KEYSYM, None, station.pyatspi.KEY_SYM)
            entry = station.window("Form7")
            return entry if entry is not None and \
                entry.getState().contains(station.pyatspi.STATE_SHOWING) else None

        entry = wait_for(opened, "the single entry after F1", timeout=60, interval=1.0)

        code = edit_box(station, station.wait_control("Form7.Combo1", entry))
        code.queryEditableText().setTextContents("HAC")
        for digit in "250":
            station.press(station.wait_control(f"Form7.Command2({digit})", entry))
        place = edit_box(station, station.wait_control("Form7.Combo3", entry))
        place.queryEditableText().setTextContents("3")
        weight = station.wait_control("Form7.Combo2", entry)
        wait_for(lambda: station.text(edit_box(station, weight)) == "250", "the keyed weight 250")

        before = ole_date(datetime.datetime.now())
        station.press(station.wait_control("Form7.Command1", entry))
        records = wait_for(lambda: queue_records(workdir), "a record in START_DISPEN.txt")
        after = ole_date(datetime.datetime.now())
        check(not station.messages(), f"a message appeared: {station.messages()}")
        check(len(records) == 1, f"{len(records)} records were queued, not 1")
        r = records[0]
        check(len(r) == RECORD and r[938:940] == b"\r\n", "the record is not 940 bytes ending CR LF")
        fields = {"order": r[0:20], "bucket": r[20:30], "water": r[30:40], "code 1": r[40:60],
                  "weight 1": r[240:250], "code 2": r[60:80], "tags": r[348:388]}
        expected = {"order": b"<<<single>>>", "bucket": b"3", "water": b"", "code 1": b"HAC",
                    "weight 1": b"250", "code 2": b"", "tags": b""}
        for name, want in expected.items():
            check(fields[name] == want.ljust(len(fields[name])),
                  f"{name} is {fields[name]!r}, not {want!r}")
        queued_at = struct.unpack("<d", r[340:348])[0]
        check(before - 1 / 1440 <= queued_at <= after + 1 / 1440,
              f"QueuedAt {queued_at} is not the time of queueing ({before} .. {after})")
        wait_for(lambda: not entry.getState().contains(station.pyatspi.STATE_SHOWING),
                 "the single entry to hide after queueing", timeout=60)
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
