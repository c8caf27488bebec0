"""The recipe editor through the main screen, as an operator uses it: a
recipe typed and saved lands in the recipe file as one 940-byte record with
the typed fields; typed again and queued, it lands in the queue file with the
time of queueing; a recipe with an unknown code in its second row is refused
with a message and nothing is written; a chosen recipe is deleted once the
question that asks first is answered Yes (No keeps it)."""

import datetime
import os
import struct

from station_driver import Station, check, run_case, wait_for

RECORD = 940
ORDER = "E2E-0001"
BUCKET = "3"  # a place of the sample machine (type 1 moves the bucket there)
WATER = "5000"
ROWS = [("SODA", "250"), ("HAC", "80")]


def field(record, offset, width):
    return record[offset:offset + width].decode("cp950").strip()


def records(path):
    with open(path, "rb") as f:
        data = f.read()
    check(len(data) % RECORD == 0, f"{os.path.basename(path)} is {len(data)} bytes long, "
          f"not whole records of {RECORD}")
    return [data[at:at + RECORD] for at in range(0, len(data), RECORD)]


def check_typed_fields(record, what):
    check(field(record, 0, 20) == ORDER, f"{what}: order {field(record, 0, 20)!r}")
    check(field(record, 20, 10) == BUCKET, f"{what}: bucket {field(record, 20, 10)!r}")
    check(field(record, 30, 10) == WATER, f"{what}: water {field(record, 30, 10)!r}")
    for i in range(10):
        code = field(record, 40 + 20 * i, 20)
        weight = field(record, 240 + 10 * i, 10)
        want = ROWS[i] if i < len(ROWS) else ("", "")
        check((code, weight) == want, f"{what}: row {i + 1} holds {(code, weight)}, not {want}")
    check(record[938:940] == b"\r\n", f"{what}: the record does not end in CR LF")


def set_text(station, description, text):
    box = station.wait_control(description)
    box.queryEditableText().setTextContents(text)
    wait_for(lambda: station.text(box) == text, f"{description} to show {text!r}", timeout=30)


def set_bucket(station, text):
    combo = station.wait_control("Form3.Combo1")
    entry = station._search(combo, lambda a: a.getRoleName() == "text")
    check(entry is not None, "the bucket box has no entry field")
    entry.queryEditableText().setTextContents(text)
    wait_for(lambda: station.text(entry) == text, f"the bucket to show {text!r}", timeout=30)


def type_recipe(station, rows):
    set_text(station, "Form3.Text2", ORDER)
    set_bucket(station, BUCKET)
    set_text(station, "Form3.Text3", WATER)
    for i in range(10):
        code, weight = rows[i] if i < len(rows) else ("", "")
        set_text(station, f"Form3.Text1({i})", code)
        set_text(station, f"Form3.Text1({i + 10})", weight)


def select_entry(station, description, row):
    """Chooses entry `row` of a list, as a screen reader does."""
    lst = station.wait_control(description)
    lst.clear_cache()
    item = lst.getChildAtIndex(row)
    check(item is not None, f"{description} has no entry {row}")
    try:
        lst.querySelection().selectChild(row)
    except NotImplementedError:
        action = item.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        check("Toggle" in names, f"the list entry offers neither selection nor Toggle ({names})")
        action.doAction(names.index("Toggle"))
    wait_for(lambda: item.getState().contains(station.pyatspi.STATE_SELECTED),
             f"entry {row} of {description} to be chosen", timeout=30)


def answer_question(station, about, choice):
    """Presses choice `choice` (0 Yes, 1 No) of the question on the screen,
    which must name `about`, and waits until the box has gone."""
    box, text = wait_for(lambda: next(iter(station.messages()), None), "the question",
                         timeout=60)
    check(about in text, f"the question reads {text!r}")
    button = station.find(f"Message.Choice({choice})", box)
    check(button is not None, f"the question has no choice {choice}")
    path = box.path
    station.press(button)
    wait_for(lambda: all(w.path != path for w, _ in station.messages()),
             "the question to close", timeout=60)


def case(program, workdir):
    recipes = os.path.join(workdir, "QUICK_A.txt")
    queue = os.path.join(workdir, "START_DISPEN.txt")
    # Empty job files: the station starts with no saved recipe and no job.
    for path in (recipes, queue):
        open(path, "wb").close()
    station = Station(program, workdir, "--simulate")
    station.start()
    try:
        station.wait_control("Form3.Command1")

        type_recipe(station, ROWS)
        station.press(station.find("Form3.Command1"))
        wait_for(lambda: os.path.getsize(recipes) > 0, "the recipe to be saved", timeout=30)
        saved = records(recipes)
        check(len(saved) == 1, f"the recipe file holds {len(saved)} records, not 1")
        check_typed_fields(saved[0], "the saved recipe")
        check(saved[0][340:940].strip(b" \x00\r\n") == b"",
              "the saved recipe carries a time, tags or spare bytes")
        wait_for(lambda: station.text(station.find("Form3.Text2")) == "",
                 "the editor to be cleared after the save", timeout=30)

        type_recipe(station, ROWS)
        station.press(station.find("Form3.Command5"))
        wait_for(lambda: os.path.getsize(queue) > 0, "the job to be queued", timeout=30)
        queued = records(queue)
        check(len(queued) == 1, f"the queue holds {len(queued)} records, not 1")
        check_typed_fields(queued[0], "the queued job")
        (ole,) = struct.unpack("<d", queued[0][340:348])
        at = datetime.datetime(1899, 12, 30) + datetime.timedelta(days=ole)
        late = abs((at - datetime.datetime.now()).total_seconds())
        check(late < 120, f"the job was queued at {at}, {late:.0f} s from now")

        # An unknown code in the second row: refused, nothing written, the editor keeps it.
        type_recipe(station, [("SODA", "250"), ("NOPE", "5")])
        station.press(station.find("Form3.Command1"))
        box, text = wait_for(lambda: next(iter(station.messages()), None),
                             "the refusal message", timeout=60)
        check("第 2 列" in text and "NOPE" in text, f"the refusal reads {text!r}")
        check(len(records(recipes)) == 1, "a refused recipe was written")
        station.acknowledge(box)
        check(station.text(station.find("Form3.Text1(1)")) == "NOPE",
              "the editor lost the refused recipe")

        # Deleting the chosen recipe asks first: No keeps it, Yes empties the recipe file.
        for choice in (1, 0):
            select_entry(station, "Form3.List1", 0)
            station.press(station.find("Form3.Command3"))
            answer_question(station, ORDER, choice)
            if choice == 1:
                check(len(records(recipes)) == 1, "No deleted the recipe")
        wait_for(lambda: os.path.getsize(recipes) == 0, "the recipe to be deleted", timeout=30)
        check(not station.messages(), f"a message came with the deletion: {station.messages()}")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
