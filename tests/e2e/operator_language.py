"""The station's own messages and captions follow the operator's language:
with language 1 (English) the main screen's title and buttons show no Chinese
and a lost controller is explained in English under the alarm's tag line; with
language 2 (Simplified Chinese) the same texts show simplified characters."""

import re

from station_driver import Station, check, require_options, run_case, set_language, \
    start_with_empty_queue, wait_for

CJK = re.compile("[\u4e00-\u9fff]")
# Characters the station's Traditional texts use where Simplified differs.
TRADITIONAL_ONLY = set("與沒應線計設號")


def link_lost(station):
    return next((text for _, text in station.messages() if "LINK LOST" in text), None)


def main_screen_texts(station):
    form = station.wait_control("Form3.Command9")
    main = station.window("Form3")
    check(main is not None, "the main screen is not shown")
    buttons = [station.text(station.wait_control(f"Form3.{name}", main))
               for name in ("Command9", "Command8", "Command10", "Command7", "Command12")]
    check(form is not None, "the RUN button is missing")
    return main.name, buttons


def run_in(program, workdir, language):
    set_language(workdir, language)
    station = Station(program, workdir, "--simulate", "--sim-silent-after", "5",
                      "--sim-silent-for", "100000")
    station.start()
    try:
        title, buttons = main_screen_texts(station)
        text = wait_for(lambda: link_lost(station), "the link alarm", timeout=120)
        return title, buttons, text
    finally:
        station.stop()


def case(program, workdir):
    require_options(program, "--simulate", "--sim-silent-after", "--sim-silent-for")
    first = start_with_empty_queue(program, workdir)  # writes the installation files
    first.wait_control("Form3.Command9")
    first.stop()

    title, buttons, text = run_in(program, workdir, 1)
    check(title == "Recipes and dispensing", f"the main window's title reads {title!r}")
    shown = [t for t in [title, *buttons] if CJK.search(t)]
    check(not shown, f"English main screen shows Chinese: {shown!r}")
    lines = text.split("\n")
    check(lines[0].startswith("*** LINK LOST"), f"the alarm's first line reads {lines[0]!r}")
    check(len(lines) > 1 and lines[1].startswith("The controller does not answer"),
          f"the link alarm is not explained in English: {text!r}")

    title, buttons, text = run_in(program, workdir, 2)
    check(title == "配方与计量", f"the Simplified main window's title reads {title!r}")
    lines = text.split("\n")
    check(len(lines) > 1 and lines[1].startswith("控制器没有回应"),
          f"the link alarm is not explained in Simplified Chinese: {text!r}")
    traditional = [t for t in [title, *buttons, *lines[1:]] if TRADITIONAL_ONLY & set(t)]
    check(not traditional, f"Simplified texts keep traditional characters: {traditional!r}")


if __name__ == "__main__":
    run_case(case)
