#!/usr/bin/python3
"""The matplotlib side of render_bench.

Reads the scenes render_bench wrote (scene_<relays>_<W>x<H>.json), draws each
with matplotlib's Agg backend as the engine drew it: the same curves and
colours, the same log-log ranges, a tick and a dotted grid line at every
1..9 x 10^k, numbers only at the round values, the same title, axis titles,
legend and background gradient, on a figure of the same pixel size with the
plot at the engine's plot rectangle. Prints "RESULT <case> <part> <ms>":

  draw        fig.canvas.draw() of the built figure
  png         PNG encoding of the drawn picture alone
  draw+png    savefig to PNG in memory (draws again, then encodes)
  cold        building the figure from the scene, then drawing it
  zoom_frame  set_xlim/set_ylim to the next animation step, then draw

and the same with antialiasing off ("noaa_<part>"), which is how the engine
draws. Also writes mpl_<case>.png beside the scenes.
"""
import argparse
import glob
import io
import json
import os
import statistics
import subprocess
import sys
import time

import matplotlib

matplotlib.use("Agg")
from matplotlib import font_manager  # noqa: E402
from matplotlib.backends.backend_agg import FigureCanvasAgg  # noqa: E402
from matplotlib.figure import Figure  # noqa: E402
from matplotlib.ticker import FixedFormatter, FixedLocator, NullLocator  # noqa: E402
import numpy as np  # noqa: E402

DPI = 100.0


def use_font(family):
    """Registers the font fontconfig gives for family; its name for rcParams."""
    try:
        path = subprocess.run(["fc-match", "-f", "%{file}", family], capture_output=True,
                              text=True, check=True).stdout.strip()
        font_manager.fontManager.addfont(path)
        return font_manager.FontProperties(fname=path).get_name()
    except (OSError, subprocess.CalledProcessError, RuntimeError):
        return "DejaVu Sans"


def points(px):
    return px * 72.0 / DPI


def build(scene, antialiased):
    w, h = scene["width"], scene["height"]
    fig = Figure(figsize=(w / DPI, h / DPI), dpi=DPI)
    FigureCanvasAgg(fig)
    start, end = scene["gradient"]
    # Panel: the gradient from the end colour at the top to the start colour.
    back = fig.add_axes([0, 0, 1, 1])
    back.set_axis_off()
    top = np.array(matplotlib.colors.to_rgb(end))
    bottom = np.array(matplotlib.colors.to_rgb(start))
    ramp = np.linspace(0, 1, 256)[:, None, None]
    back.imshow(top + (bottom - top) * ramp, aspect="auto", extent=(0, 1, 0, 1),
                interpolation="bilinear")

    left, top_px, right, bottom_px = scene["chart_rect"]
    ax = fig.add_axes([left / w, 1 - bottom_px / h, (right - left) / w, (bottom_px - top_px) / h])
    ax.set_facecolor("none")
    ax.set_xscale("log")
    ax.set_yscale("log")
    ticks = scene["ticks"]
    labelled = {v: text for v, text in ticks["labelled"]}
    values = ticks["values"]
    fmt = FixedFormatter([labelled.get(v, "") for v in values])
    for axis in (ax.xaxis, ax.yaxis):
        axis.set_major_locator(FixedLocator(values))
        axis.set_major_formatter(fmt)
        axis.set_minor_locator(NullLocator())
    ax.set_xlim(*scene["xlim"])
    ax.set_ylim(*scene["ylim"])
    label_font = scene["label_font"]
    size = points(label_font["px"])
    ax.tick_params(labelsize=size, labelcolor=label_font["color"], length=4, width=1,
                   color="#808080")
    ax.grid(True, which="major", linestyle=":", linewidth=0.72, color="#808080")
    ax.set_xlabel(scene["xlabel"], fontsize=size, color=label_font["color"])
    ax.set_ylabel(scene["ylabel"], fontsize=size, color=label_font["color"])
    title_font = scene["title_font"]
    ax.set_title(scene["title"], fontsize=points(title_font["px"]), color=title_font["color"])
    for s in scene["series"]:
        ax.plot(s["x"], s["y"], color=s["color"], linewidth=0.72, label=s["title"],
                antialiased=antialiased)
    ax.legend(loc="upper left", bbox_to_anchor=(1.02, 1.0), fontsize=size, shadow=True,
              fancybox=False, borderaxespad=0, handlelength=1)
    return fig


def median(repeat, run):
    run()
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        run()
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)


def encode(fig):
    """PNG of the drawn picture alone, as savefig writes it (RGBA through PIL)."""
    from PIL import Image

    buffer = io.BytesIO()
    Image.fromarray(np.asarray(fig.canvas.buffer_rgba())).save(buffer, format="png")
    return buffer


def measure(name, scene, repeat, antialiased, out_dir):
    prefix = "" if antialiased else "noaa_"
    rc = {"lines.antialiased": antialiased, "patch.antialiased": antialiased,
          "text.antialiased": antialiased}
    with matplotlib.rc_context(rc):
        fig = build(scene, antialiased)
        results = {
            "draw": median(repeat, fig.canvas.draw),
            "png": median(repeat, lambda: encode(fig)),
            "draw+png": median(repeat, lambda: fig.savefig(io.BytesIO(), format="png",
                                                           dpi=DPI)),
            "cold": median(repeat, lambda: build(scene, antialiased).canvas.draw()),
        }
        frames = scene["zoom_frames"]
        if frames:
            ax = fig.axes[1]
            times = []
            for _ in range(repeat + 1):
                for x0, x1, y0, y1 in frames:
                    start = time.perf_counter()
                    ax.set_xlim(x0, x1)
                    ax.set_ylim(y0, y1)
                    fig.canvas.draw()
                    times.append((time.perf_counter() - start) * 1000)
            results["zoom_frame"] = statistics.median(times[len(frames):])
            ax.set_xlim(*scene["xlim"])
            ax.set_ylim(*scene["ylim"])
        if antialiased:
            fig.savefig(os.path.join(out_dir, "mpl_" + name + ".png"), dpi=DPI)
    for part, ms in results.items():
        print("RESULT %s %s%s %.4f" % (name, prefix, part, ms), flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--repeat", type=int, default=10)
    parser.add_argument("dir")
    args = parser.parse_args()
    family = use_font("IPAPMincho")
    matplotlib.rcParams["font.family"] = family
    print("matplotlib %s, font %s" % (matplotlib.__version__, family), file=sys.stderr)
    for path in sorted(glob.glob(os.path.join(args.dir, "scene_*.json"))):
        name = os.path.basename(path)[len("scene_"):-len(".json")]
        with open(path, encoding="utf-8") as f:
            scene = json.load(f)
        for antialiased in (True, False):
            measure(name, scene, args.repeat, antialiased, args.dir)


if __name__ == "__main__":
    main()
