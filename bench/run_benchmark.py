#!/usr/bin/env python3
"""Installation benchmark: times, interleaved and on one generated tree,

  fresh     our installation into an empty directory
  older     our installation over an older copy (every file saved and replaced)
  current   our re-installation when every file is up to date
  tar-gz    tar -xzf of the same tree (gzip -9)
  tar-pigz  tar -I pigz -xf of the same archive

and prints medians and ratios to tar -xzf. Our time is measured inside
bench_install: opening the kit (decompression into the temporary container
included) until the success state is published. The tar times are wall times
of the tar process. Every input and output lives on the file system under
test (FS_DIR), TMPDIR included, and everything is written out before each
timed step.

usage: run_benchmark.py FS_DIR BUILD_DIR [--files N] [--megabytes M] [--rounds R]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time


def run(command, **kwargs):
    return subprocess.run(command, check=True, **kwargs)


def remove(path):
    if os.path.exists(path):
        shutil.rmtree(path)


def age_tree(root, seconds):
    """Moves every file's time back, so the kit's entries are all newer."""
    for directory, _, files in os.walk(root):
        for name in files:
            path = os.path.join(directory, name)
            stat = os.stat(path)
            os.utime(path, (stat.st_atime - seconds, stat.st_mtime - seconds))


def settle():
    """Writes everything out before a timed step. On a loop-mounted file
    system the first sync leaves the image file's own pages dirty on the
    host; the second writes those too, so that no write-back of an earlier
    step runs during the next one."""
    run(["sync"])
    run(["sync"])


def timed_tar(arguments, target):
    os.makedirs(target)
    settle()
    begin = time.perf_counter()
    run(["tar"] + arguments + ["-C", target])
    return time.perf_counter() - begin


def timed_install(bench_install, kit, target, environment):
    settle()
    output = run([bench_install, kit, target], env=environment, capture_output=True,
                 text=True).stdout
    fields = dict(item.split("=") for item in output.split())
    if fields["result"] != "0":
        sys.exit("installation failed: " + output)
    return float(fields["total"]), int(fields["maxrss_kib"]), float(fields["open"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fs_dir")
    parser.add_argument("build_dir")
    parser.add_argument("--files", type=int, default=20000)
    parser.add_argument("--megabytes", type=int, default=600)
    parser.add_argument("--rounds", type=int, default=5)
    options = parser.parse_args()

    binaries = os.path.join(options.build_dir, "bin")
    work = os.path.join(options.fs_dir, "orb-bench")
    remove(work)
    os.makedirs(work)
    source = os.path.join(work, "source")
    kit = os.path.join(work, "orbp8.pkd")
    archive = os.path.join(work, "tree.tar.gz")
    temporary = os.path.join(work, "tmp")
    os.makedirs(temporary)
    environment = dict(os.environ, TMPDIR=temporary)

    print(run([os.path.join(binaries, "bench_tree"), source, str(options.files),
               str(options.megabytes)], capture_output=True, text=True).stdout.strip())
    print(run([os.path.join(binaries, "bench_make_kit"), source, kit],
              capture_output=True, text=True).stdout.strip())
    run(["tar", "-C", source, "-cf", archive, "-I", "gzip -9", "."])
    tree_bytes = sum(os.path.getsize(os.path.join(d, f))
                     for d, _, files in os.walk(source) for f in files)
    kit_bytes = os.path.getsize(kit)
    print("tree %.1f MiB, kit %.1f MiB (%.2f:1), tar.gz %.1f MiB" %
          (tree_bytes / 2**20, kit_bytes / 2**20, tree_bytes / kit_bytes,
           os.path.getsize(archive) / 2**20))

    bench_install = os.path.join(binaries, "bench_install")
    times = {name: [] for name in ("fresh", "older", "current", "tar-gz", "tar-pigz")}
    memory = []
    # Of our times, the part spent opening the kit (decompression included).
    opening = {name: [] for name in ("fresh", "older", "current")}
    for round_number in range(options.rounds):
        target = os.path.join(work, "target")
        # fresh
        remove(target)
        seconds, rss, opened = timed_install(bench_install, kit, target, environment)
        times["fresh"].append(seconds)
        opening["fresh"].append(opened)
        memory.append(rss)
        # current: the same tree again, every file up to date
        seconds, rss, opened = timed_install(bench_install, kit, target, environment)
        times["current"].append(seconds)
        opening["current"].append(opened)
        memory.append(rss)
        # older: a copy of the tree a day older
        remove(target)
        shutil.copytree(source, target)
        age_tree(target, 86400)
        seconds, rss, opened = timed_install(bench_install, kit, target, environment)
        times["older"].append(seconds)
        opening["older"].append(opened)
        memory.append(rss)
        remove(target)
        times["tar-gz"].append(timed_tar(["-xzf", archive], target))
        remove(target)
        times["tar-pigz"].append(timed_tar(["-I", "pigz", "-xf", archive], target))
        remove(target)
        print("round %d: " % (round_number + 1) +
              "  ".join("%s %.3f" % (name, values[-1]) for name, values in times.items()))
        sys.stdout.flush()

    reference = statistics.median(times["tar-gz"])
    pigz = statistics.median(times["tar-pigz"])
    print("\nload average at the end: %.2f %.2f %.2f" % os.getloadavg())
    print("medians over %d rounds (seconds; ratio to tar -xzf; ratio to pigz)" % options.rounds)
    for name, values in times.items():
        median = statistics.median(values)
        line = "  %-9s %7.3f  %5.2fx  %5.2fx" % (name, median, median / reference, median / pigz)
        if name in opening:
            line += "   (opening the kit %.3f)" % statistics.median(opening[name])
        print(line)
    peak = max(memory)
    print("peak RSS %.1f MiB; limit 64 MiB + kit %.1f MiB = %.1f MiB" %
          (peak / 1024, kit_bytes / 2**20, 64 + kit_bytes / 2**20))
    remove(work)


if __name__ == "__main__":
    main()
