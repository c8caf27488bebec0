"""The technician view through the real main window: the diagnostic counters
and the plant test row's button are not on the operator's screen; the menu
entry "技術人員畫面" asks the access code, a wrong one opens nothing and is
said, the right one shows them, and the entry chosen again hides them."""

from station_driver import check, run_case, start_with_empty_queue, wait_for

ENTRY = "技術人員畫面"


def showing(station, description):
    acc = station.find(description)
    if acc is None:
        return False
    acc.clear_cache()
    return acc.getState().contains(station.pyatspi.STATE_SHOWING)


def choose(station):
    station.press(wait_for(lambda: station.menu_entry({ENTRY}), f"the menu entry {ENTRY}"))


def case(program, workdir):
    station = start_with_empty_queue(program, workdir)
    try:
        station.wait_control("Form3.Command9")  # the main screen is up
        internals = ("Form3.Label21", "Form3.Label22", "Form3.Command13")
        for d in internals:
            check(not showing(station, d), f"{d} is on the operator's screen")

        choose(station)
        station.answer_input("60818")
        wrong = wait_for(lambda: station.messages(), "the wrong-password message")
        check("密碼錯誤" in wrong[0][1], f"the wrong code was not said: {wrong[0][1]!r}")
        station.acknowledge(wrong[0][0])
        for d in internals:
            check(not showing(station, d), f"a wrong code showed {d}")

        choose(station)
        station.answer_input("60817")
        for d in internals:
            wait_for(lambda: showing(station, d), f"{d} in the technician view", timeout=60)

        choose(station)  # off again: no code asked
        for d in internals:
            wait_for(lambda: not showing(station, d), f"{d} hidden again", timeout=60)
        check(not station.messages(), f"a message appeared: {station.messages()}")
    finally:
        station.stop()


if __name__ == "__main__":
    run_case(case)
