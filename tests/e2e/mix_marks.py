"""The mix marks through the real main screen: with a dye-mix folder in the
settings, the station keeps its one MIX_C.txt there, and a double-click on
Label13 clears every mark of that file and shows "0"."""

import os

from station_driver import Skip, check, run_case, start_with_empty_queue, wait_for

RECORD = 200          # JUCIsetting.txt record
MIX_FOLDER_FIELD = 37  # settings field 37 is record 38
MARKS = 30


def settings_with_mix_folder(program, workdir, folder):
    """The shipped settings with the dye-mix folder set, written before the start."""
    shipped = os.path.join(os.path.dirname(program), "..", "..", "share", "JUCIsetting.txt")
    if not os.path.exists(shipped):
        raise Skip(f"no shipped settings beside {program}")
    with open(shipped, "rb") as f:
        data = bytearray(f.read())
    at = MIX_FOLDER_FIELD * RECORD
    data[at:at + RECORD] = folder.encode("ascii").ljust(RECORD, b" ")
    with open(os.path.join(workdir, "JUCIsetting.txt"), "wb") as f:
        f.write(data)


def marks(path):
    with open(path, "rb") as f:
        data = f.read()
    return [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data), 2)]


def case(program, workdir):
    os.mkdir(os.path.join(workdir, "mix"))
    settings_with_mix_folder(program, workdir, "mix\\")
    path = os.path.join(workdir, "mix", "MIX_C.txt")
    station = start_with_empty_queue(program, workdir)
    try:
        label = station.wait_control("Form3.Label13")
        wait_for(lambda: os.path.exists(path) and marks(path) == [0] * MARKS,
                 "the load to clear the marks in the mix folder", timeout=60)
        check(not os.path.exists(os.path.join(workdir, "MIX_C.txt")),
              "a second MIX_C.txt in the working directory")
        marked = [0] * MARKS
        marked[2] = marked[6] = 1
        with open(path, "wb") as f:
            f.write(b"".join(m.to_bytes(2, "little", signed=True) for m in marked))

        def cleared():
            if marks(path) == [0] * MARKS and station.text(label) == "0":
                return True
            box = label.queryComponent().getExtents(station.pyatspi.DESKTOP_COORDS)
            station.pyatspi.Registry.generateMouseEvent(box.x + box.width // 2,
                                                        box.y + box.height // 2, "b1d")
            return False

        wait_for(cleared, "Label13's double-click to clear the marks", timeout=60,
                 interval=1.0)
        check(len(marks(path)) == MARKS, f"MIX_C.txt holds {len(marks(path))} marks")
        check(not station.messages(),
              f"a message box opened: {[text for _, text in station.messages()]}")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
