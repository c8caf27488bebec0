"""Every screen on a 1366 x 768 operator PC, in each of the three languages:
the main screen, the settings screen and the windows it opens (language
editor, profile list, dye-mix table, wash table), the position screen, the
records viewer and the single entry each open inside the display, and every
control outside a scroll area lies inside its window, so none is out of reach.
With language 1 no button or menu entry of the main screen shows Chinese; with
language 2 none shows a character that Simplified Chinese writes otherwise."""

import re
import subprocess

from station_driver import check, run_case, set_language, start_with_empty_queue, wait_for

WIDTH, HEIGHT = 1366, 768
CJK = re.compile("[\u4e00-\u9fff]")
F1_KEYSYM = 0xFFBE
POS_SETTING = {"位置設定", "位置设定", "POS_SETTING"}
ACCESS_CODE = "60817"
WASH_CAPTION = "Form2.Label1(18)"  # a double click opens the wash table
# The records viewer's column headers scroll sideways with its list.
SCROLLED_BY_ANOTHER = {"Form4.Header"}
# The controls whose captions the main screen shows.
CAPTION_ROLES = {"push button", "menu item", "check menu item", "menu"}


def extents(station, acc):
    box = acc.queryComponent().getExtents(station.pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def inside(box, outer):
    x, y, w, h = box
    ox, oy, ow, oh = outer
    return x >= ox and y >= oy and x + w <= ox + ow and y + h <= oy + oh


def scroll_bars(station, children):
    """The showing scroll bars among `children` and their children, each as
    True (horizontal) or False (vertical); Qt shows a scroll area as a filler
    holding its viewport and its bars."""
    bars = []
    for child in children:
        for acc in [child, *[child.getChildAtIndex(i) for i in range(child.childCount)]]:
            if acc is not None and acc.getRoleName() == "scroll bar" and \
                    acc.getState().contains(station.pyatspi.STATE_SHOWING):
                x, y, w, h = extents(station, acc)
                bars.append(w > h)
    return bars


def unscrolled(station, children, bars):
    """Where a scroll area's content is larger than its viewport without a bar
    to scroll it: 'across' and 'down'."""
    missing = []
    for viewport in children:
        if viewport.getRoleName() != "filler" or viewport.childCount != 1:
            continue
        content = viewport.getChildAtIndex(0)
        if content is None:
            continue
        _, _, vw, vh = extents(station, viewport)
        _, _, cw, ch = extents(station, content)
        if cw > vw and True not in bars:
            missing.append("across")
        if ch > vh and False not in bars:
            missing.append("down")
    return missing


def out_of_reach(station, window):
    """Controls shown outside their window, outside any scroll area, and
    scroll areas whose content overflows with no bar to scroll it."""
    frame = extents(station, window)
    found = []

    def walk(acc):
        try:
            acc.clear_cache()
            state = acc.getState()
            role = acc.getRoleName()
            children = [acc.getChildAtIndex(i) for i in range(acc.childCount)]
        except Exception:  # a control that went away meanwhile
            return
        if not state.contains(station.pyatspi.STATE_SHOWING):
            return
        box = extents(station, acc)
        name = acc.description or acc.name or role
        if box[2] > 0 and box[3] > 0 and not inside(box, frame):
            found.append(f"{name} at {box}")
        children = [c for c in children if c is not None]
        bars = scroll_bars(station, children)
        if acc.description in SCROLLED_BY_ANOTHER:
            return
        if bars:  # a scroll area: what it holds scrolls into view
            found.extend(f"{name} cannot scroll {way}"
                         for way in unscrolled(station, children, bars))
            return
        for child in children:
            walk(child)

    for child in [window.getChildAtIndex(i) for i in range(window.childCount)]:
        if child is not None:
            walk(child)
    return found


def check_fits(station, description, language):
    window = wait_for(lambda: showing_window(station, description), f"the window {description}")
    # The window system places and sizes a new window a moment after it opens.
    wait_for(lambda: inside(extents(station, window), (0, 0, WIDTH, HEIGHT)),
             f"{description} ({extents(station, window)}) to fit the {WIDTH}x{HEIGHT} display "
             f"in language {language}", timeout=10)
    lost = out_of_reach(station, window)
    check(not lost, f"{description} in language {language}: out of reach: {lost[:5]}")
    return window


def showing_window(station, description):
    w = station.window(description)
    if w is None:
        return None
    w.clear_cache()
    return w if w.getState().contains(station.pyatspi.STATE_SHOWING) else None


def captions(station, window):
    """The texts of the buttons and menu entries under `window`."""
    out = []

    def walk(acc):
        try:
            role = acc.getRoleName()
            children = [acc.getChildAtIndex(i) for i in range(acc.childCount)]
        except Exception:
            return
        if role in CAPTION_ROLES:
            out.append(station.text(acc) if role == "push button" else acc.name)
        for child in children:
            if child is not None:
                walk(child)

    walk(window)
    return [c for c in out if c]


def simplified(texts):
    joined = "\n".join(texts)
    converted = subprocess.run(["opencc", "-c", "t2s.json"], input=joined, text=True,
                               capture_output=True, check=True).stdout
    return [a for a, b in zip(texts, converted.split("\n")) if a != b]


def open_from(station, opener, description, language):
    station.press(station.wait_control(opener))
    return check_fits(station, description, language)


def click(station, acc, kind):
    x, y, w, h = extents(station, acc)
    station.pyatspi.Registry.generateMouseEvent(x + w // 2, y + h // 2, kind)


def check_language(program, workdir, language):
    set_language(workdir, language)
    station = start_with_empty_queue(program, workdir)
    try:
        station.press(station.wait_control("Form3.Command8"))  # stop: no job is taken
        main = check_fits(station, "Form3", language)
        texts = captions(station, main)
        if language == 1:
            chinese = [t for t in texts if CJK.search(t)]
            check(not chinese, f"the English main screen shows Chinese: {chinese!r}")
        if language == 2:
            traditional = simplified(texts)
            check(not traditional, f"the Simplified main screen shows {traditional!r}")

        # F1 goes to the window with the focus: the main screen's order number.
        click(station, station.wait_control("Form3.Label2"), "b1c")

        def single_entry():
            station.pyatspi.Registry.generateKeyboardEvent(F1_KEYSYM, None,
                                                           station.pyatspi.KEY_SYM)
            return showing_window(station, "Form7")

        wait_for(single_entry, "the single entry after F1", timeout=60, interval=1.0)
        check_fits(station, "Form7", language)
        # With no window manager a new window covers the older ones: the
        # clicks go first, each on the window opened last.
        open_from(station, "Form3.Command10", "Form2", language)  # settings, read-only
        caption = station.wait_control(WASH_CAPTION)
        wait_for(lambda: click(station, caption, "b1d") or showing_window(station, "Form10"),
                 "the wash table after a double click", timeout=30, interval=1.0)
        check_fits(station, "Form10", language)
        open_from(station, "Form2.Command15", "Form5", language)  # language editor
        open_from(station, "Form2.Command16", "Form8", language)  # profile list
        open_from(station, "Form2.Command22", "Form14", language)  # dye-mix table

        open_from(station, "Form3.Command7", "Form4", language)  # records viewer
        station.press(wait_for(lambda: station.menu_entry(POS_SETTING), "the POS_SETTING menu"))
        station.answer_input(ACCESS_CODE)
        check_fits(station, "Form9", language)

        check(not station.messages(),
              f"a message box opened: {[text for _, text in station.messages()]}")
    finally:
        station.stop()


def case(program, workdir):
    first = start_with_empty_queue(program, workdir)  # writes the installation files
    first.wait_control("Form3.Command9")
    first.stop()
    for language in (0, 1, 2):
        check_language(program, workdir, language)


if __name__ == "__main__":
    run_case(case, screen=f"{WIDTH}x{HEIGHT}")
