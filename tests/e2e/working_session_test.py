#!/usr/bin/env python3
"""A real working session with telvara on a virtual X display, driven only
through X input events and screenshots, then checked from outside.

  working_session_test.py --program P --store-tool S --render-tool R
                          --artefacts DIR [--docs DIR]

First run: a new data folder is chosen and created, two relays are typed
and added, the chart is shown with one and then two curves, zoomed and
unzoomed with the mouse, saved with "BMP保存"; one relay is loaded back
from "一覧"; the program is closed through its close question. Second run on
the same folder: "一覧", "全データ表示", "BMP保存", close. Then the store is
checked with telvara-store and the saved bitmaps against telvara-render.

Screenshots go to the artefacts folder (kept when a step fails); --docs
copies the ones the README shows.
"""
import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# The source folder stays free of compiled modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import images  # noqa: E402
from harness import Relay, StepFailed, count_colour  # noqa: E402
from windows import ENTRY_AREA, RED, Driver  # noqa: E402

SCREEN = "1600x1000x24"
OVERALL_TIMEOUT = 280  # seconds, inside the ctest TIMEOUT

# The two relays: company, device, CT, tap, INST tap, the seven times. The
# first is the worked example of a curve; the second lies above it.
RELAY_A = Relay("A電力", "51R", "100", "4", "40", ["10", "5", "3", "2.2", "1.8", "1.5", "0.05"])
RELAY_B = Relay("B電力", "51", "400", "3", "20", ["9", "6", "4", "3.4", "3", "2.6", "0.1"])

# Screenshots the README shows: artefact name -> docs/screenshots name.
DOC_SHOTS = {"main-loaded.png": "main.png", "chart-all-data.png": "chart.png",
             "list-menu.png": "list.png"}


def first_run(t):
    with t.step("start and choose a new data folder"):
        t.start()
        t.choose_folder(expect_create_question=True)
        t.require(os.path.isfile(os.path.join(t.folder, "ZuboK.dat")),
                  "the store files were not created in %s" % t.folder)

    with t.step("type the first relay and add it"):
        t.enter_relay(RELAY_A)
        t.add_record(RELAY_A)
        typed = t.shot_main("main-entry")

    with t.step("show the chart with the first curve"):
        t.show_chart()
        one = t.shot_chart_with_curve("chart-one-curve")

    with t.step("ｸﾞﾗﾌの追加, type the second relay, add it, show the chart again"):
        t.chart_add_curve()
        t.enter_relay(RELAY_B)
        t.add_record(RELAY_B)
        t.show_chart()
        two = t.shot_chart("chart-two-curves", lambda p: images.compare(one, p))
        t.require(images.compare(one, two), "the second curve did not change the chart")
        t.require(count_colour(two, RED) > 200, "the first curve is gone")

    with t.step("zoom by dragging right-down, undo by dragging left-up"):
        t.seen_before_save = t.zoom_and_undo(two)

    with t.step("save the chart with BMP保存"):
        t.save_bitmap(t.bitmap1)

    with t.step("一覧: select the first relay, Ok"):
        t.open_list()
        t.list_click_line(0)
        t.shot_list("list-selected")
        t.list_ok()
        loaded = t.shot_main("main-loaded", lambda p: not images.compare(
            typed.crop(*ENTRY_AREA), p.crop(*ENTRY_AREA)))
        t.check_loaded(typed, loaded)

    with t.step("close the main window through its close question"):
        t.close_program()


def second_run(t):
    with t.step("start again on the same folder"):
        t.start()
        t.choose_folder(expect_create_question=False)

    with t.step("一覧, 全データ表示 from the context menu"):
        t.open_list()
        t.shot_list("list-window")
        t.list_all_data("list-menu")
        t.seen_all_data = t.shot_chart_with_curve("chart-all-data")

    with t.step("save the chart with BMP保存 again"):
        t.save_bitmap(t.bitmap2)

    with t.step("close the program"):
        t.close_program()


SECOND_CURVE = (0x00, 0x80, 0x00)  # the palette's second colour, green


def pixel(picture, x, y):
    return tuple(picture.rows[y][3 * x:3 * x + 3])


def is_repeated_step_foot(difference, second):
    """全データ表示 ends by showing the chart, whose activation appends the last
    relay's points to its curve once more, so its INST step is run down, up and
    down again. A line leaves out its last pixel: the upward run draws the foot
    pixel of the step, which the single downward run of the first session
    leaves out. That one pixel, in the second curve's colour at the bottom of
    its vertical line, is the only difference allowed."""
    if difference.count != 1:
        return False
    x, y, _, colour = difference.samples[0]
    if colour != SECOND_CURVE or y == 0 or y + 1 >= second.height:
        return False
    foot = pixel(second, x, y - 1) == SECOND_CURVE and pixel(second, x, y + 1) != SECOND_CURVE
    if foot:
        print("explained: pixel (%d, %d) is the foot of the last curve's INST step, drawn "
              "by its repeated points in the second run" % (x, y))
    return foot


def check_outside(t):
    with t.step("telvara-store check and list"):
        t.store_tool("check")
        listing = t.store_tool("list")
        for key in (RELAY_A.key, RELAY_B.key):
            t.require(key in listing.splitlines(), "%s missing from the listing:\n%s"
                      % (key, listing))
        for relay in (RELAY_A, RELAY_B):
            t.check_record(relay)

    with t.step("both bitmaps: 24-bit, the chart panel's size, what the window showed"):
        first = images.read_bmp24(t.bitmap1)
        second = images.read_bmp24(t.bitmap2)
        for name, picture, seen in (("first", first, t.seen_before_save),
                                    ("second", second, t.seen_all_data)):
            t.require((picture.width, picture.height) == t.panel_size,
                      "the %s bitmap is %dx%d, the chart panel %dx%d"
                      % ((name, picture.width, picture.height) + t.panel_size))
            difference = images.compare(seen, picture)
            t.require(not difference, "the %s bitmap is not what the chart window showed:\n%s"
                      % (name, difference.describe()))
        difference = images.compare(first, second)
        t.require(not difference or is_repeated_step_foot(difference, second),
                  "the first run's bitmap (two curves drawn one by one, zoomed "
                  "and unzoomed) differs from the second run's (全データ表示):\n"
                  + difference.describe())

    with t.step("the second bitmap matches telvara-render"):
        difference = images.compare(second, t.render("rendered-all-data.bmp"))
        t.require(not difference, "BMP保存 and telvara-render differ:\n" + difference.describe())


def inside(args):
    t = Driver(args)
    saved = os.path.join(args.work, "saved")
    os.makedirs(saved)
    t.bitmap1 = os.path.join(saved, "chart-first.bmp")
    t.bitmap2 = os.path.join(saved, "chart-second.bmp")
    try:
        first_run(t)
        second_run(t)
        check_outside(t)
    except StepFailed as failure:
        print("FAIL in step '%s': %s" % (failure.step, failure), file=sys.stderr)
        print("screenshots so far: %s" % args.artefacts, file=sys.stderr)
        return 1
    finally:
        t.stop_program()
    if args.docs:
        os.makedirs(args.docs, exist_ok=True)
        for shot, doc in DOC_SHOTS.items():
            shutil.copyfile(os.path.join(args.artefacts, shot), os.path.join(args.docs, doc))
    print("PASS: %d steps" % t.step_count)
    return 0



def start_x_server(env):
    """Xvfb on a display number of its own choosing: (process, ":N"). With no
    window manager the program is the display's only client; -noreset keeps the
    server from resetting when it ends, which refused the next start for a moment."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                             "-nolisten", "tcp", "-noreset"], env=env, pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 30
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([read_end], [], [], 1)
        if ready:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_end)
    if not number.strip().isdigit():
        xvfb.kill()
        xvfb.wait()
        sys.exit("FAIL: the virtual X display did not start")
    return xvfb, ":" + number.strip().decode()

def outside(args):
    """Prepares a fresh home and runs the session on its own X display."""
    work = tempfile.mkdtemp(prefix="telvara-e2e-")
    try:
        env = dict(os.environ)
        for d in ("home", "config", "data", "cache", "run"):
            os.makedirs(os.path.join(work, d))
        os.chmod(os.path.join(work, "run"), 0o700)
        env.update(HOME=os.path.join(work, "home"), XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "data"),
                   XDG_CACHE_HOME=os.path.join(work, "cache"),
                   XDG_RUNTIME_DIR=os.path.join(work, "run"), LC_ALL="C.UTF-8", LANG="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("DISPLAY", None)
        # The server picks a free display number itself and says which, so X
        # tests starting at once (also from other build trees) never race for one.
        xvfb, display = start_x_server(env)
        env["DISPLAY"] = display
        command = [sys.executable, os.path.abspath(__file__), "--inside", "--work", work] + \
            sys.argv[1:]
        # The driver and the program form one process group, ended as a whole
        # with the X server when the session overruns or the test is stopped.
        session = subprocess.Popen(command, env=env, start_new_session=True)

        def end_all():
            for p in (session, xvfb):
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                p.wait()

        def stop(signum, _frame):
            end_all()
            sys.exit("FAIL: stopped by signal %d" % signum)
        signal.signal(signal.SIGTERM, stop)
        signal.signal(signal.SIGINT, stop)
        try:
            status = session.wait(timeout=OVERALL_TIMEOUT)
        except subprocess.TimeoutExpired:
            print("FAIL: the session did not end within %d s" % OVERALL_TIMEOUT, file=sys.stderr)
            status = 1
        end_all()
        return status
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--store-tool", required=True)
    parser.add_argument("--render-tool", required=True)
    parser.add_argument("--artefacts", required=True)
    parser.add_argument("--docs")
    parser.add_argument("--inside", action="store_true")
    parser.add_argument("--work")
    args = parser.parse_args()
    for name in ("program", "store_tool", "render_tool", "artefacts"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    if args.docs:
        args.docs = os.path.abspath(args.docs)
    if not args.inside:
        return outside(args)
    return inside(args)


if __name__ == "__main__":
    sys.exit(main())
