"""The program's windows as the working-session test uses them, at their
design places (client coordinates; with no window manager a window's client
area is all of it): the main window's controls as its design fixes them, the
chart window's tool bar 41 pixels high with its buttons from the left, the
list window's "Ok" centred 8 pixels above its bottom edge.
"""
import os
import shutil
import time

import images
import xdriver as x
from harness import CheckFailed, Harness, count_colour, stable_file

MAIN = "^保護協調曲線$"
CHART = "^グラフ画面$"
LIST = "^インプットデーター一覧$"
FOLDER_DIALOG = "^ディレクトリの選択$"
CONFIRM = "^確認$"
MESSAGE = "^Telvara$"

MAIN_SIZE = (768, 242)
TOOL_BAR_HEIGHT = 41

# Main window: the data group box at (8, 8); the company name field in it.
GROUP = (8, 8)
COMPANY_FIELD = (GROUP[0] + 104 + 20, GROUP[1] + 29 + 10)
# Entry fields and current labels: the group box left of the store buttons.
ENTRY_AREA = (GROUP[0] + 2, GROUP[1] + 20, 486, 180)
REMOVE_BUTTON_AREA = (GROUP[0] + 496, GROUP[1] + 64, 89, 25)
ADD_BUTTON = (GROUP[0] + 496 + 44, GROUP[1] + 24 + 12)
SHOW_CHART_BUTTON = (648 + 40, 128 + 20)
LIST_BUTTON = (504 + 44, 112 + 12)

# Chart window tool bar.
ADD_CURVE_BUTTON = (72 + 40, 8 + 12)
BMP_BUTTON = (332 + 32, 8 + 12)

# List window: 12-pixel lines below the filter field (29 pixels) and the
# frames of the scroll box and list.
LIST_FIRST_LINE_Y = 29 + 2
LIST_LINE_HEIGHT = 12
OK_BUTTON_HEIGHT = 25
MENU_PLACE = (120, 60)

RED = (255, 0, 0)  # the first curve's colour


class Driver(Harness):
    def __init__(self, args):
        super().__init__(args)
        self.main = self.chart = self.list = None
        self.panel_size = None

    # ---- start-up and close ---------------------------------------------

    def start(self):
        self.start_program()
        self.main = self.chart = self.list = None

    def choose_folder(self, expect_create_question):
        dialog = x.wait_window(FOLDER_DIALOG, 30)
        after = CONFIRM if expect_create_question else MAIN
        for _ in range(3):
            x.focus(dialog)
            x.key("alt+n", "ctrl+a")
            x.type_text(self.folder)
            x.key("Return")
            try:
                found = x.wait_window(after, 10)
                break
            except x.Timeout:
                print("  the folder dialog did not answer: typing again", flush=True)
        else:
            raise CheckFailed("the folder dialog did not take the typed folder")
        if expect_create_question:
            self.press_until(found, ["Return"], lambda: x.visible_windows(MAIN),
                             "main window after answering the create question")
        self.main = x.wait_window(MAIN, 20)
        g = x.geometry(self.main)
        self.require((g.width, g.height) == MAIN_SIZE,
                     "main window %dx%d, want %dx%d" % ((g.width, g.height) + MAIN_SIZE))

    def close_program(self):
        """The close box, answered OK: the program ends with status 0."""
        for _ in range(3):
            x.focus(self.main)
            x.close_box(self.main)
            try:
                question = x.wait_window(CONFIRM, 10)
                break
            except x.Timeout:
                print("  no close question yet: closing again", flush=True)
        else:
            raise CheckFailed("no close question")
        self.press_until(question, ["Return"], self.program_ended, "end of the program")
        self.require(self.proc.returncode == 0,
                     "the program ended with status %d" % self.proc.returncode)

    # ---- main window ------------------------------------------------------

    def enter_relay(self, relay):
        """Clicks into the company field and types every field, leaving each
        with Tab as a person does; the focus ends on "グラフ表示"."""
        x.focus(self.main)
        x.click(self.main, *COMPANY_FIELD)
        x.park_mouse()
        time.sleep(0.2)
        for text in relay.typed():
            x.key("ctrl+a")
            x.type_text(text)
            x.key("Tab")

    def add_record(self, relay):
        """"Add", answered OK at "レコードに追加します"; the store then holds the
        record exactly as typed. A box that comes up after Add can only be
        that message once all typed keys have been handled."""
        boxes = self.click_until(self.main, ADD_BUTTON,
                                 lambda: x.visible_windows(MESSAGE) or x.visible_windows(CONFIRM),
                                 "box after Add", attempts=2, timeout=20)
        self.require(not x.visible_windows(CONFIRM),
                     "Add asked to overwrite %s, which was not stored yet" % relay.key)
        self.press_until(boxes[-1], ["Return"], lambda: not x.visible_windows(MESSAGE),
                         "close of the box \"レコードに追加します\"")
        self.check_record(relay)

    def shot_main(self, name, ready=None):
        return self.shot(self.main, name, ready)

    def check_loaded(self, typed_shot, loaded_shot):
        """The loaded record shows as it was typed; "ﾚｺｰﾄﾞ削除" is enabled."""
        difference = images.compare(typed_shot.crop(*ENTRY_AREA), loaded_shot.crop(*ENTRY_AREA))
        self.require(not difference, "the loaded record does not show as it was typed:\n"
                     + difference.describe())
        self.require(images.compare(typed_shot.crop(*REMOVE_BUTTON_AREA),
                                    loaded_shot.crop(*REMOVE_BUTTON_AREA)),
                     "ﾚｺｰﾄﾞ削除 looks the same after the load as before it (still disabled?)")

    # ---- chart window -------------------------------------------------------

    def show_chart(self):
        self.chart = self.click_until(self.main, SHOW_CHART_BUTTON,
                                      lambda: x.visible_windows(CHART), "chart window")[-1]
        self.measure_chart()

    def measure_chart(self):
        """The chart panel: the chart window's client area below the tool bar."""
        g = x.geometry(self.chart)
        size = (g.width, g.height - TOOL_BAR_HEIGHT)
        if self.panel_size is not None and self.panel_size != size:
            raise CheckFailed("the chart panel changed size from %dx%d to %dx%d"
                              % (self.panel_size + size))
        self.panel_size = size

    def panel(self, window_shot):
        return window_shot.crop(0, TOOL_BAR_HEIGHT, *self.panel_size)

    def shot_chart(self, name, ready=None):
        """Saves the chart window; returns its chart panel."""
        test = (lambda picture: ready(self.panel(picture))) if ready else None
        return self.panel(self.shot(self.chart, name, test))

    def shot_chart_with_curve(self, name):
        panel = self.shot_chart(name, lambda p: count_colour(p, RED) > 200)
        self.require(count_colour(panel, RED) > 200, "the first curve (red) is not on the chart")
        return panel

    def render(self, name):
        """What telvara-render draws of the data folder at the panel's size."""
        path = os.path.join(self.args.artefacts, name)
        self.run_tool([self.args.render_tool, self.folder, path,
                       "--size", "%dx%d" % self.panel_size])
        return images.read_bmp24(path)

    def chart_add_curve(self):
        self.click_until(self.chart, ADD_CURVE_BUTTON, lambda: not x.is_visible(self.chart),
                         "close of the chart window on ｸﾞﾗﾌの追加")

    def zoom_and_undo(self, before):
        """Drags right-down over the plot (zoom), then left-up (undo): the
        chart must change, then come back pixel for pixel."""
        width, height = self.panel_size
        top = TOOL_BAR_HEIGHT
        start = (width * 25 // 100, top + height * 10 // 100)
        end = (width * 70 // 100, top + height * 50 // 100)
        x.focus(self.chart)
        x.drag(self.chart, *(start + end))
        zoomed = self.shot_chart("chart-zoomed", lambda p: images.compare(before, p))
        self.require(images.compare(before, zoomed), "dragging right-down did not zoom")
        x.drag(self.chart, *(end + start))
        back = self.shot_chart("chart-unzoomed", lambda p: not images.compare(before, p))
        difference = images.compare(before, back)
        self.require(not difference, "dragging left-up did not restore the chart:\n"
                     + difference.describe())
        return back

    def save_bitmap(self, path):
        """"BMP保存": the path typed into the file dialog's name field, Enter."""
        known = self.windows()
        dialogs = self.click_until(
            self.chart, BMP_BUTTON,
            lambda: [w for w in self.windows() - known if x.window_name(w)],
            "file dialog of BMP保存")
        dialog = dialogs[-1]
        self.shot(dialog, "bmp-file-dialog-run%d" % self.runs)
        for _ in range(3):
            x.focus(dialog)
            x.key("ctrl+a")
            x.type_text(path)
            x.key("Return")
            try:
                x.wait_gone(dialog, 10)
                break
            except x.Timeout:
                print("  the file dialog is still open: typing again", flush=True)
        else:
            raise CheckFailed("the file dialog did not close on Enter")
        x.wait_until("the bitmap %s" % path, lambda: stable_file(path), 15)
        shutil.copyfile(path, os.path.join(self.args.artefacts, os.path.basename(path)))

    # ---- list window --------------------------------------------------------

    def open_list(self):
        self.list = self.click_until(self.main, LIST_BUTTON, lambda: x.visible_windows(LIST),
                                     "list window")[-1]

    def shot_list(self, name):
        return self.shot(self.list, name)

    def line_place(self, index):
        return 40, LIST_FIRST_LINE_Y + index * LIST_LINE_HEIGHT + LIST_LINE_HEIGHT // 2

    def list_click_line(self, index):
        x.focus(self.list)
        x.click(self.list, *self.line_place(index))
        x.park_mouse()

    def list_ok(self):
        g = x.geometry(self.list)
        ok = (g.width // 2, g.height - 8 - OK_BUTTON_HEIGHT // 2)
        self.click_until(self.list, ok, lambda: not x.is_visible(self.list), "close of the list")

    def save_menu_shot(self, name, known):
        """The list window with its open context menu laid over it (the menu
        is a window of its own, unpainted in a capture of the whole screen)."""
        menus = self.windows() - known
        self.require(len(menus) == 1, "the right-click opened %d windows" % len(menus))
        menu = menus.pop()

        def painted():
            picture = x.settled_screenshot(menu)
            return picture if len(picture.colours()) > 1 else None
        painted = x.wait_until("the context menu painted", painted, 10)
        at, under = x.geometry(menu), x.geometry(self.list)
        picture = x.screenshot(self.list).paste(painted, at.x - under.x, at.y - under.y)
        self.save_png(picture, name)

    def list_all_data(self, menu_shot_name):
        """Right-click on the list, "全データ表示" (the last menu item: Up
        reaches it whether or not the pointer lit the first), then the chart.
        The list with its open menu is saved as a screenshot."""
        for _ in range(3):
            if not self.list or not x.is_visible(self.list):
                self.open_list()
            known = self.windows()
            x.focus(self.list)
            # Below the lines, so that the menu leaves them readable.
            x.click(self.list, *MENU_PLACE, button=3)
            try:
                x.wait_until("context menu", lambda: self.windows() - known, 10)
            except x.Timeout:
                print("  no context menu: right-clicking again", flush=True)
                continue
            self.save_menu_shot(menu_shot_name, known)
            x.key("Up", "Return")
            try:
                self.chart = x.wait_window(CHART, 10)
                break
            except x.Timeout:
                print("  no chart after 全データ表示: trying again", flush=True)
        else:
            raise CheckFailed("全データ表示 did not show the chart")
        self.require(not x.is_visible(self.list), "the list window stayed open")
        self.measure_chart()
