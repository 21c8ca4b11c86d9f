#!/usr/bin/env python3
"""The game against the bare SDL2 loop (bench/baseline), side by side in a real X window.

Runs both alternately (A B A B ...) under one private Xvfb at scale 2 without sound, reads the
--stats block each prints, and makes one table of the medians: CPU seconds per second of play,
peak resident memory, time from launch to the first presented frame, mean and p99 frame interval,
and the ratio game / baseline. The table goes to standard output and to the results file.

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


def table(game, base):
    lines = ["| measure | game | baseline | game / baseline |", "|---|---:|---:|---:|"]
    for key, label, fmt in ROWS:
        g = statistics.median(r[key] for r in game)
        b = statistics.median(r[key] for r in base)
        ratio = f"{g / b:.2f}" if b > 0 else "-"
        lines.append(f"| {label} | {fmt.format(g)} | {fmt.format(b)} | {ratio} |")
    return lines


def goals(game, base):
    med = lambda runs, k: statistics.median(r[k] for r in runs)
    hz = med(game, "display_hz") or 60.0
    period = 1000.0 / hz
    checks = [
        ("CPU ratio <= 1.25", med(game, "cpu") <= 1.25 * med(base, "cpu")),
        ("memory ratio <= 1.25", med(game, "rss") <= 1.25 * med(base, "rss")),
        ("first frame <= baseline + 30 ms", med(game, "first") <= med(base, "first") + 30),
        (f"p99 frame interval <= 1.5 x display period ({1.5 * period:.1f} ms)",
         med(game, "p99") <= 1.5 * period),
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
    ap.add_argument("--seconds", type=float, default=float(os.environ.get("BENCH_SECONDS", 20)))
    ap.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_RUNS", 3)))
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
        game, base = [], []
        timeout = args.seconds + 60
        for i in range(args.runs):
            for runs, command in ((game, [args.game, "--autoplay"]), (base, [args.baseline])):
                command = command + ["--seconds", str(args.seconds), "--stats",
                                     "--scale", str(args.scale)]
                r = run_once(command, x.display, timeout)
                runs.append(r)
                print(f"run {i + 1}/{args.runs} {os.path.basename(command[0])}: "
                      f"cpu {r['cpu']:.4f} s/s, {r['rss']:.1f} MiB, first frame {r['first']:.1f} ms, "
                      f"mean {r['mean']:.2f} ms, p99 {r['p99']:.2f} ms, {r['frames']} frames, "
                      f"{r['ticks']} ticks, {r['points']} points", flush=True)

    rules = ""
    if args.rules_bench:
        done = subprocess.run([args.rules_bench], check=True, stdout=subprocess.PIPE, text=True)
        print(done.stdout, end="")
        rules = "\n".join(line for line in done.stdout.splitlines()
                          if line.startswith(("Benchmark", "-----", "BM_")))

    rows = table(game, base)
    header = [
        f"Date: {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC",
        f"Machine: {os.cpu_count()} CPUs (nproc {len(os.sched_getaffinity(0))}), {cpu_model()}",
        f"Renderer: game {game[0]['renderer']}; baseline {base[0]['renderer']}",
        f"Runs: {args.runs} of each, {args.seconds:g} s each, alternating, Xvfb, scale {args.scale}, "
        "SDL_AUDIODRIVER=dummy; medians",
    ]
    print()
    print("\n".join(header + [""] + rows + [""] + goals(game, base)))
    if args.out:
        with open(args.out, "w") as f:
            f.write("# Side-by-side results (written by `make bench`)\n\n")
            f.write("\n\n".join(header) + "\n\n" + "\n".join(rows) + "\n\n")
            f.write("\n".join(goals(game, base)) + "\n")
            if rules:
                f.write("\nThe rules alone, headless (bench/rules_bench, same run):\n\n")
                f.write("```\n" + rules + "\n```\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
