#!/usr/bin/env python3
"""The game against the bare SDL2 loop (bench/baseline), side by side in a real X window.

Runs both in paired rounds (game then baseline, then baseline then game, ...) under one private
Xvfb at scale 2 without sound, and reads the --stats block each prints. Each round gives a ratio
game / baseline per measure; the table shows their median and interquartile range, which a
machine's drifting load moves far less than it moves the figures themselves: CPU seconds per second
of play, peak resident memory, time from launch to the first presented frame, mean and p99 frame
interval. Then the drawing benchmark and the rules' benchmarks, once each. The table goes to
standard output and to the results file.

--smoke instead runs each program for 30 frames and only checks that its stats block is whole.
"""
import argparse
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

KEYS = ["program", "renderer", "vsync", "display_hz", "frames", "frame_interval_mean_ms",
        "frame_interval_p99_ms", "main_ticks", "points", "wall_s", "cpu_s", "peak_rss_kib",
        "first_frame_ms", "first_frame_monotonic_ns"]


def parse_block(text):
    block = {}
    for line in text.splitlines():
        words = line.split()
        if len(words) == 3 and words[0] == "stats":
            block[words[1]] = words[2]
    return block


def check_block(block, program):
    missing = [k for k in KEYS if k not in block]
    if missing:
        raise ValueError(f"{program}: stats block lacks {', '.join(missing)}")
    for k in KEYS[3:]:
        float(block[k])  # every figure is a number
    if int(block["frames"]) <= 0:
        raise ValueError(f"{program}: no frames presented")


class Xvfb:
    def __enter__(self):
        if shutil.which("Xvfb") is None:
            print("SKIP: Xvfb is not installed")
            sys.exit(77)
        read, write = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        self.proc.terminate()
        self.proc.wait()


def run_once(command, display, timeout):
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
    env.pop("WAYLAND_DISPLAY", None)
    launched = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    done = subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                          text=True, timeout=timeout)
    if done.returncode != 0:
        raise RuntimeError(f"{command[0]} exited with {done.returncode}: {done.stderr.strip()}")
    block = parse_block(done.stderr)
    check_block(block, command[0])
    first = int(block["first_frame_monotonic_ns"])
    return {
        "renderer": f'{block["renderer"]} (vsync {block["vsync"]}, display {block["display_hz"]} Hz)',
        "display_hz": float(block["display_hz"]),
        "cpu": float(block["cpu_s"]) / float(block["wall_s"]),
        "rss": float(block["peak_rss_kib"]) / 1024.0,
        "first": (first - launched) / 1e6,
        "mean": float(block["frame_interval_mean_ms"]),
        "p99": float(block["frame_interval_p99_ms"]),
        "frames": int(block["frames"]),
        "ticks": int(block["main_ticks"]),
        "points": int(block["points"]),
    }


ROWS = [("cpu", "CPU s per s of play", "{:.4f}"),
        ("rss", "peak resident memory (MiB)", "{:.1f}"),
        ("first", "launch to first frame (ms)", "{:.1f}"),
        ("mean", "mean frame interval (ms)", "{:.2f}"),
        ("p99", "p99 frame interval (ms)", "{:.2f}")]

# What the game may cost against the bare loop: ratios of the per-round medians, first frame as
# a difference.
GOAL_CPU, GOAL_RSS, GOAL_FIRST_MS = 1.15, 1.15, 20.0


def quartiles(values):
    """Q1, median, Q3 (inclusive method, so a handful of values still gives sensible ends)."""
    if len(values) == 1:
        return values[0], values[0], values[0]
    q1, q2, q3 = statistics.quantiles(values, n=4, method="inclusive")
    return q1, q2, q3


def table(rounds):
    """One row per measure: each program's median, then the median and interquartile range of
    the ratios taken round by round, so that the noise common to a round cancels."""
    lines = ["| measure | game | baseline | game / baseline, median of rounds | IQR of the ratios |",
             "|---|---:|---:|---:|---:|"]
    for key, label, fmt in ROWS:
        g = statistics.median(r["game"][key] for r in rounds)
        b = statistics.median(r["base"][key] for r in rounds)
        ratios = [r["game"][key] / r["base"][key] for r in rounds if r["base"][key] > 0]
        if ratios:
            q1, med, q3 = quartiles(ratios)
            ratio, spread = f"{med:.3f}", f"{q1:.3f} – {q3:.3f}"
        else:
            ratio, spread = "-", "-"
        lines.append(f"| {label} | {fmt.format(g)} | {fmt.format(b)} | {ratio} | {spread} |")
    q1, med, q3 = quartiles([r["game"]["first"] - r["base"]["first"] for r in rounds])
    lines.append(f"| first frame, game − baseline (ms) | | | {med:+.1f} | {q1:+.1f} – {q3:+.1f} |")
    return lines


def goals(rounds):
    ratio = lambda k: quartiles([r["game"][k] / r["base"][k] for r in rounds])[1]
    hz = statistics.median(r["game"]["display_hz"] for r in rounds) or 60.0
    period = 1000.0 / hz
    first = quartiles([r["game"]["first"] - r["base"]["first"] for r in rounds])[1]
    p99 = statistics.median(r["game"]["p99"] for r in rounds)
    checks = [
        (f"CPU ratio <= {GOAL_CPU}", ratio("cpu") <= GOAL_CPU),
        (f"memory ratio <= {GOAL_RSS}", ratio("rss") <= GOAL_RSS),
        (f"first frame <= baseline + {GOAL_FIRST_MS:g} ms", first <= GOAL_FIRST_MS),
        (f"p99 frame interval <= 1.5 x display period ({1.5 * period:.1f} ms)", p99 <= 1.5 * period),
    ]
    return [f"- {'met' if ok else 'NOT met'}: {what}" for what, ok in checks]


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--game", required=True)
    ap.add_argument("--baseline", required=True)
    ap.add_argument("--rules-bench", help="also run this Google Benchmark program, once, after")
    ap.add_argument("--draw-bench", help="also run this drawing benchmark, once, in the same Xvfb")
    ap.add_argument("--seconds", type=float, default=float(os.environ.get("BENCH_SECONDS", 10)))
    ap.add_argument("--rounds", type=int, default=int(os.environ.get("BENCH_ROUNDS", 10)))
    ap.add_argument("--scale", type=int, default=2)
    ap.add_argument("--out", help="write the table here too (Markdown)")
    ap.add_argument("--smoke", action="store_true", help="30 frames each; check the stats parse")
    args = ap.parse_args()

    with Xvfb() as x:
        if args.smoke:
            for command in ([args.game, "--autoplay", "--frames", "30", "--stats"],
                            [args.baseline, "--frames", "30", "--stats"]):
                r = run_once(command + ["--scale", str(args.scale)], x.display, 60)
                print(f"{os.path.basename(command[0])}: {r['frames']} frames, "
                      f"{r['first']:.1f} ms to the first, {r['rss']:.1f} MiB")
            print("PASS")
            return 0
        rounds = []
        timeout = args.seconds + 60
        programs = (("game", [args.game, "--autoplay"]), ("base", [args.baseline]))
        for i in range(args.rounds):
            # The order turns every round, so neither program always runs on a warmer cache or
            # right after the other's exit.
            order = programs if i % 2 == 0 else programs[::-1]
            this = {}
            for name, command in order:
                command = command + ["--seconds", str(args.seconds), "--stats",
                                     "--scale", str(args.scale)]
                r = this[name] = run_once(command, x.display, timeout)
                print(f"round {i + 1}/{args.rounds} {os.path.basename(command[0])}: "
                      f"cpu {r['cpu']:.4f} s/s, {r['rss']:.1f} MiB, first frame {r['first']:.1f} ms, "
                      f"mean {r['mean']:.2f} ms, p99 {r['p99']:.2f} ms, {r['frames']} frames, "
                      f"{r['ticks']} ticks, {r['points']} points", flush=True)
            print(f"round {i + 1}/{args.rounds}: cpu ratio {this['game']['cpu'] / this['base']['cpu']:.3f}",
                  flush=True)
            rounds.append(this)
        drawing = ""
        if args.draw_bench:
            env = dict(os.environ, DISPLAY=x.display)
            env.pop("WAYLAND_DISPLAY", None)
            done = subprocess.run([args.draw_bench, "--scale", str(args.scale)], check=True,
                                  stdout=subprocess.PIPE, text=True, env=env, timeout=600)
            print(done.stdout, end="")
            drawing = done.stdout.strip()

    rules = ""
    if args.rules_bench:
        done = subprocess.run([args.rules_bench], check=True, stdout=subprocess.PIPE, text=True)
        print(done.stdout, end="")
        rules = "\n".join(line for line in done.stdout.splitlines()
                          if line.startswith(("Benchmark", "-----", "BM_")))

    rows = table(rounds)
    first = rounds[0]
    try:
        load = os.getloadavg()
        load = f"{load[0]:.2f} {load[1]:.2f} {load[2]:.2f}"
    except OSError:
        load = "unknown"
    header = [
        f"Date: {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC",
        f"Machine: {os.cpu_count()} CPUs (nproc {len(os.sched_getaffinity(0))}), {cpu_model()}; "
        f"load average at the end {load}",
        f"Renderer: game {first['game']['renderer']}; baseline {first['base']['renderer']}",
        f"Rounds: {args.rounds}, each the game and the baseline for {args.seconds:g} s, the order "
        f"turning every round; Xvfb, scale {args.scale}, SDL_AUDIODRIVER=dummy",
    ]
    print()
    print("\n".join(header + [""] + rows + [""] + goals(rounds)))
    if args.out:
        with open(args.out, "w") as f:
            f.write("# Side-by-side results (written by `make bench`)\n\n")
            f.write("\n\n".join(header) + "\n\n" + "\n".join(rows) + "\n\n")
            f.write("\n".join(goals(rounds)) + "\n")
            if drawing:
                f.write("\nDrawing alone (bench/draw_bench, same Xvfb):\n\n" + drawing + "\n")
            if rules:
                f.write("\nThe rules alone, headless (bench/rules_bench, same run):\n\n")
                f.write("```\n" + rules + "\n```\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
