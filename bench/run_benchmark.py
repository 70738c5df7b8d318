#!/usr/bin/env python3
"""Installation benchmark: times, interleaved and on one generated tree,

  fresh     setup into an empty template directory
  signed    the same with the kit signed (orbp8.pkd.minisig) and its key
            trusted (-K): the signature checked before, the digest during
  older     setup over an older copy (every file saved and replaced)
  current   setup again when every file is up to date
  tar-gz    tar -xzf of the same tree (gzip -9)
  tar-sync  tar -xzf followed by sync, timed together
  tar-pigz  tar -I pigz -xf of the same archive

and prints medians, the ratios of each step to tar -xzf and to tar -xzf &&
sync, what checking the signature adds to a fresh installation (the median of
the rounds' signed - fresh, against the median fresh), and the setup process's
peak RSS against its limit (64 MiB + the kit). The signed step needs minisign.

Our time is the wall time of the whole setup process, `setup usecwd -S -Len`
started in a directory that holds the kit orbp8.pkd, without a display
(DISPLAY and WAYLAND_DISPLAY removed, so it installs without windows), from
its start until it has been reaped (an unattended run without a window has
no final pause). Its peak RSS is that of the one child (wait4).
The tar times are wall times of the tar process (and of sync after it).

HOME is a fresh directory on FS_DIR, so setup installs into its default
template directory HOME/.orbp8/Orbe/orbp8/tmplts/. Every input and output
lives on the file system under test (FS_DIR), TMPDIR included, and
everything is written out before each timed step.

With --baseline OTHER_BUILD_DIR the three setup steps are also timed, in the
same rounds and interleaved with ours, for that build's setup (an earlier
version, say), so that before and after are measured in one session on one
file system; its rows end in "-base".

usage: run_benchmark.py FS_DIR BUILD_DIR [--files N] [--megabytes M] [--rounds R]
                        [--baseline OTHER_BUILD_DIR]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
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


def timed_tar(arguments, target, then_sync=False):
    os.makedirs(target)
    settle()
    begin = time.perf_counter()
    run(["tar"] + arguments + ["-C", target])
    if then_sync:
        run(["sync"])
    return time.perf_counter() - begin


def timed_setup(setup, kit_directory, environment, target, options=()):
    """One run of setup as an unattended rollout starts it, with `options`
    before -L. Returns its time, its peak RSS in KiB and its processor time
    (user and system, all threads)."""
    settle()
    with tempfile.TemporaryFile() as log:
        begin = time.perf_counter()
        child = subprocess.Popen([setup, "usecwd", "-S"] + list(options) + ["-Len"],
                                 cwd=kit_directory,
                                 env=environment, stdin=subprocess.DEVNULL, stdout=log,
                                 stderr=subprocess.STDOUT)
        # wait4 reaps exactly this child and gives its own resource usage.
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - begin
        child.returncode = os.waitstatus_to_exitcode(status)
        log.seek(0)
        output = log.read().decode("utf-8", "replace")
    if child.returncode != 0:
        sys.exit("setup ended with %d:\n%s" % (child.returncode, output))
    # setup names the directory it installs into ("Template directory: ...");
    # every step must have gone to the one the benchmark prepared.
    if not any(line.rstrip("/").endswith(" " + target) for line in output.splitlines()):
        sys.exit("setup did not install into %s:\n%s" % (target, output))
    return seconds, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fs_dir")
    parser.add_argument("build_dir")
    parser.add_argument("--files", type=int, default=20000)
    parser.add_argument("--megabytes", type=int, default=600)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--baseline")
    options = parser.parse_args()

    binaries = os.path.join(options.build_dir, "bin")
    setup = os.path.abspath(os.path.join(binaries, "setup"))
    work = os.path.abspath(os.path.join(options.fs_dir, "orb-bench"))
    remove(work)
    os.makedirs(work)
    source = os.path.join(work, "source")
    # setup reads orbp8.pkd from its working directory (usecwd).
    kit_directory = os.path.join(work, "kit")
    os.makedirs(kit_directory)
    kit = os.path.join(kit_directory, "orbp8.pkd")
    archive = os.path.join(work, "tree.tar.gz")
    home = os.path.join(work, "home")
    os.makedirs(home)
    temporary = os.path.join(work, "tmp")
    os.makedirs(temporary)
    environment = dict(os.environ, HOME=home, TMPDIR=temporary)
    environment.pop("DISPLAY", None)
    environment.pop("WAYLAND_DISPLAY", None)
    # The default template directory of that HOME. The launcher configuration
    # setup writes after each run (HOME/.Orbe/orbstart/orbstart.cfg) lists
    # this same directory, which stays writable, so the next run chooses it
    # again: the file stays between steps (timed_setup checks the target).
    target = os.path.join(home, ".orbp8", "Orbe", "orbp8", "tmplts")

    print(run([os.path.join(binaries, "bench_tree"), source, str(options.files),
               str(options.megabytes)], capture_output=True, text=True).stdout.strip())
    print(run([os.path.join(binaries, "bench_make_kit"), source, kit],
              capture_output=True, text=True).stdout.strip())
    # The same kit signed, beside its signature, and the key that trusts it.
    signed_directory = os.path.join(work, "signed")
    os.makedirs(signed_directory)
    os.link(kit, os.path.join(signed_directory, "orbp8.pkd"))
    key = os.path.join(work, "vendor")
    run(["minisign", "-G", "-W", "-p", key + ".pub", "-s", key + ".sec"],
        stdout=subprocess.DEVNULL)
    run(["minisign", "-S", "-s", key + ".sec", "-m", os.path.join(signed_directory, "orbp8.pkd")],
        stdout=subprocess.DEVNULL)
    os.chmod(key + ".pub", 0o644)
    run(["tar", "-C", source, "-cf", archive, "-I", "gzip -9", "."])
    tree_bytes = sum(os.path.getsize(os.path.join(d, f))
                     for d, _, files in os.walk(source) for f in files)
    kit_bytes = os.path.getsize(kit)
    print("tree %.1f MiB, kit %.1f MiB (%.2f:1), tar.gz %.1f MiB" %
          (tree_bytes / 2**20, kit_bytes / 2**20, tree_bytes / kit_bytes,
           os.path.getsize(archive) / 2**20))
    print("our steps: the whole `setup usecwd -S -Len` process")
    sys.stdout.flush()

    setups = [("", setup, [])]
    if options.baseline:
        setups.append(("-base", os.path.abspath(os.path.join(options.baseline, "bin", "setup")),
                       []))
    names = tuple(step + suffix for suffix, _, _ in setups
                  for step in ("fresh", "signed", "older", "current")
                  if suffix == "" or step != "signed") + ("tar-gz", "tar-sync", "tar-pigz")
    times = {name: [] for name in names}
    processor = []  # signed - fresh, per round
    for round_number in range(options.rounds):
        # Ours and the baseline's in turn, the first one alternating by round.
        order = setups if round_number % 2 == 0 else setups[::-1]
        for suffix, program, memory in order:
            # fresh
            remove(target)
            seconds, rss, fresh_cpu = timed_setup(program, kit_directory, environment, target)
            times["fresh" + suffix].append(seconds)
            memory.append(rss)
            if suffix == "":
                # signed: the same installation of the signed kit under its key
                remove(target)
                seconds, rss, signed_cpu = timed_setup(program, signed_directory, environment,
                                                       target, ["-K" + key + ".pub"])
                times["signed"].append(seconds)
                processor.append(signed_cpu - fresh_cpu)
                memory.append(rss)
            # current: the same tree again, every file up to date
            seconds, rss, _ = timed_setup(program, kit_directory, environment, target)
            times["current" + suffix].append(seconds)
            memory.append(rss)
            # older: a copy of the tree a day older
            remove(target)
            shutil.copytree(source, target)
            age_tree(target, 86400)
            seconds, rss, _ = timed_setup(program, kit_directory, environment, target)
            times["older" + suffix].append(seconds)
            memory.append(rss)
            remove(target)
        times["tar-gz"].append(timed_tar(["-xzf", archive], target))
        remove(target)
        times["tar-sync"].append(timed_tar(["-xzf", archive], target, then_sync=True))
        remove(target)
        times["tar-pigz"].append(timed_tar(["-I", "pigz", "-xf", archive], target))
        remove(target)
        print("round %d: " % (round_number + 1) +
              "  ".join("%s %.3f" % (name, values[-1]) for name, values in times.items()))
        sys.stdout.flush()

    reference = statistics.median(times["tar-gz"])
    synced = statistics.median(times["tar-sync"])
    print("\nload average at the end: %.2f %.2f %.2f" % os.getloadavg())
    print("medians over %d rounds (seconds; ratio to tar -xzf; ratio to tar -xzf && sync);"
          % options.rounds)
    print("fresh, older and current: setup's wall time")
    for name in names:
        median = statistics.median(times[name])
        print("  %-14s %7.3f  %5.2fx  %5.2fx" % (name, median, median / reference,
                                                 median / synced))
    fresh = statistics.median(times["fresh"])
    cost = statistics.median(b - a for a, b in zip(times["fresh"], times["signed"]))
    print("checking the signature adds %.3f s to a fresh installation (%.1f%%), "
          "%.3f s of processor time" % (cost, 100 * cost / fresh, statistics.median(processor)))
    for suffix, _, memory in setups:
        print("peak RSS of setup%s %.1f MiB; limit 64 MiB + kit %.1f MiB = %.1f MiB" %
              (suffix, max(memory) / 1024, kit_bytes / 2**20, 64 + kit_bytes / 2**20))
    remove(work)


if __name__ == "__main__":
    main()
