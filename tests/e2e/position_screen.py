"""The position screen, opened from the main screen's POS_SETTING menu with the
access code: a slot is taught by typing its X, Y, Z and bucket name, "座標存檔"
saves it, and the teach files hold it at its place, laid out as another writer would
read them."""

import os

from station_driver import check, run_case, start_with_empty_queue, wait_for

POS_SETTING = {"位置設定", "位置设定", "POS_SETTING"}
SLOT = 5
XZ_RECORD = 60
Y_RECORD = 20


def record(path, length, n):
    with open(path, "rb") as f:
        data = f.read()
    return data[(n - 1) * length:n * length]


def field(text, width=20):
    return text.encode("cp950").ljust(width, b" ")


def case(program, workdir):
    station = start_with_empty_queue(program, workdir)
    try:
        station.press(station.wait_control("Form3.Command8"))  # stop
        station.press(wait_for(lambda: station.menu_entry(POS_SETTING), "the POS_SETTING menu"))
        station.answer_input("60817")  # the access code
        form = wait_for(lambda: station.window("Form9"), "the position screen")
        # Slot 5: X is field 4, Y field 68, Z field 132, the bucket name field 196.
        for index, text in ((SLOT - 1, "1234"), (SLOT + 63, "567"), (SLOT + 127, "89"),
                            (SLOT + 191, "桶五")):
            box = station.wait_control(f"Form9.Text2({index})", form)
            box.queryEditableText().setTextContents(text)
            wait_for(lambda: station.text(box) == text, f"field {index} to read {text}")
        xz = os.path.join(workdir, "XZ_Name.txt")
        y = os.path.join(workdir, "Y_Name.txt")
        before = record(xz, XZ_RECORD, SLOT) if os.path.exists(xz) else b""
        check(before[:20].strip() != b"1234", "slot 5 holds the new X before it was saved")

        station.press(station.wait_control("Form9.Command12", form))
        wait_for(lambda: record(xz, XZ_RECORD, SLOT) == field("1234") + field("89") +
                 field("桶五"), f"slot {SLOT} in XZ_Name.txt (it holds "
                 f"{record(xz, XZ_RECORD, SLOT)!r})", timeout=30)
        check(record(y, Y_RECORD, SLOT) == field("567"),
              f"Y_Name.txt record {SLOT} is {record(y, Y_RECORD, SLOT)!r}")
        check(os.path.getsize(xz) == 64 * XZ_RECORD, "XZ_Name.txt does not hold 64 slots")
        check(not station.messages(),
              f"a message box opened: {[text for _, text in station.messages()]}")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
