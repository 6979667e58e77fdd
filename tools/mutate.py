#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Mutation testing: plants one realistic fault at a time and checks that the tests notice.

The faults are data (tools/mutations.txt by default, format described there): a file, an exact
text that occurs once in it, its replacement and a one-line description. The runner

  1. copies the source tree (without build/ and .git) to a scratch directory, once;
  2. configures it once (Release, warnings not errors, no benchmarks/examples/docs), builds it
     and checks that the unmutated suite passes;
  3. for each fault: applies it, rebuilds incrementally, runs the tests (ctest, label "sweep" and
     the packaging tests left out, stopping at the first failure), records

       KILLED    a test failed or timed out (the first failing test is named),
       SURVIVED  every test passed,
       NO-BUILD  the mutant does not compile (not counted),
       STALE     the pattern does not occur exactly once (not counted),

     and restores the file -- always, also on Ctrl-C;
  4. prints a summary and the score killed / (killed + survived), and writes the report.

Builds and tests run under `nice -n 10`. Standard library only.

  tools/mutate.py                          # every fault, on the repository holding this script
  tools/mutate.py --list                   # the faults, with stale ones marked
  tools/mutate.py --only 'eigen|svd'       # faults whose file or description matches
  tools/mutate.py --workdir /tmp/mut       # keep the scratch tree (reused by the next run)
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
# Tests that cannot see a planted fault: they install or embed the project, check licence lines
# or count lines (a fault that deletes library lines would fail the size check, not the suite).
EXCLUDED_TESTS = ["install_consumer", "subproject_consumer", "licence_lines", "test_size"]
EXCLUDED_LABEL = "sweep"
CONFIGURE_OPTIONS = [
    "-DCMAKE_BUILD_TYPE=Release",
    "-DKOCALVIX_WARNINGS_AS_ERRORS=OFF",  # a mutant may well warn; it is still a mutant
    "-DKOCALVIX_BUILD_TESTS=ON",
    "-DKOCALVIX_BUILD_CORPUS=ON",
    "-DKOCALVIX_BUILD_BENCHMARKS=OFF",
    "-DKOCALVIX_BUILD_EXAMPLES=OFF",
    "-DKOCALVIX_BUILD_DOCS=OFF",
    "-DKOCALVIX_TEST_INSTALL=OFF",
]
NICE = ["nice", "-n", "10"]
# What CMake's GoogleTest discovery prints when a freshly built test program fails to list its
# tests: the mutant built, and a test program died on it.
DISCOVERY_FAILED = "Error running test executable"


@dataclass
class Fault:
    file: str
    description: str
    find: str
    replace: str
    line: int  # line of the record in the list
    status: str = ""
    detail: str = ""
    seconds: float = 0.0
    occurrences: int = field(default=0)


def parse_faults(path):
    """Reads the fault list. A record is

        [relative/file.cpp] one-line description of the fault
        - exact text to find (one line per "- " line; "-" alone is an empty line)
        + its replacement (same rules; no "+" line at all deletes the text)

    Lines starting with "#" between records are comments; blank lines separate records.
    The text after "- " / "+ " is taken exactly, leading blanks included.
    """
    faults = []
    current = None
    finds, replaces = [], []

    def close():
        if current is None:
            return
        if not finds:
            sys.exit(f"{path}:{current.line}: record without a '- ' line")
        current.find = "\n".join(finds)
        current.replace = "\n".join(replaces)
        faults.append(current)

    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            text = raw.rstrip("\n")
            header = re.match(r"^\[([^\]]+)\]\s*(.*)$", text)
            if header:
                close()
                current = Fault(header.group(1).strip(), header.group(2).strip(), "", "", number)
                finds, replaces = [], []
            elif text.startswith("- ") or text == "-":
                if current is None or replaces:
                    sys.exit(f"{path}:{number}: '- ' line outside a record or after '+ ' lines")
                finds.append(text[2:])
            elif text.startswith("+ ") or text == "+":
                if current is None:
                    sys.exit(f"{path}:{number}: '+ ' line outside a record")
                replaces.append(text[2:])
            elif text.strip() == "" or text.lstrip().startswith("#"):
                continue
            else:
                sys.exit(f"{path}:{number}: cannot read this line: {text!r}")
    close()
    return faults


def check_stale(faults, tree):
    for fault in faults:
        target = tree / fault.file
        if not target.is_file():
            fault.status, fault.detail = "STALE", "file not found"
            continue
        fault.occurrences = target.read_text(encoding="utf-8").count(fault.find)
        if fault.occurrences != 1:
            fault.status = "STALE"
            fault.detail = f"pattern occurs {fault.occurrences} times"


def sync_tree(source, scratch):
    """Copies the source tree into scratch, leaving build/ and .git out; files whose contents
    are unchanged keep their timestamps, so a reused scratch tree rebuilds only what changed."""
    skip_top = {"build", ".git", "out", ".cache"}
    # Files that no longer exist in the source go (a reused tree would still compile them).
    for root, dirs, files in os.walk(scratch):
        rel = Path(root).relative_to(scratch)
        for name in files:
            if not (source / rel / name).is_file():
                (scratch / rel / name).unlink()
    for root, dirs, files in os.walk(source):
        rel = Path(root).relative_to(source)
        if rel == Path("."):
            dirs[:] = [d for d in dirs if d not in skip_top]
        dirs[:] = [d for d in dirs if d != "__pycache__"]
        (scratch / rel).mkdir(parents=True, exist_ok=True)
        for name in files:
            src, dst = Path(root) / name, scratch / rel / name
            if dst.is_file() and dst.read_bytes() == src.read_bytes():
                continue
            shutil.copy2(src, dst)


def run(cmd, cwd, log):
    """Runs cmd (niced) in a process group of its own, appending its output to log; returns
    (exit code, output). On Ctrl-C or SIGTERM the whole group (compilers, test programs) is
    stopped before the exception goes on."""
    started = time.time()
    proc = subprocess.Popen(NICE + cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, errors="replace", start_new_session=True)
    try:
        output, _ = proc.communicate()
    except BaseException:
        try:
            os.killpg(proc.pid, signal.SIGTERM)
            proc.wait(timeout=10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            os.killpg(proc.pid, signal.SIGKILL)
        raise
    with open(log, "a", encoding="utf-8") as f:
        f.write(f"\n$ {' '.join(cmd)}   [{time.time() - started:.0f} s, exit {proc.returncode}]\n")
        f.write(output)
    return proc.returncode, output


def ctest_command(build, args):
    cmd = ["ctest", "--test-dir", str(build), "-j", str(args.jobs), "--timeout",
           str(args.timeout), "-LE", EXCLUDED_LABEL,
           "-E", "^(" + "|".join(EXCLUDED_TESTS) + ")$"]
    if not args.keep_going:
        cmd.append("--stop-on-failure")
    return cmd


def first_failure(build, output):
    """The first failing test: from CTest's own list, else from its output."""
    names = []
    for line in output.splitlines():
        m = re.search(r"Test\s+#\d+:\s+(\S+)\s+\.*\s*\**\s*(Failed|Timeout|Exception|"
                      r"Subprocess aborted|Child aborted|SEGFAULT|Not Run)", line)
        if m:
            names.append(m.group(1) + (" (timeout)" if m.group(2) == "Timeout" else ""))
    if names:
        return names[0], len(names)
    failed = build / "Testing" / "Temporary" / "LastTestsFailed.log"
    if failed.is_file():
        listed = [l.split(":", 1)[-1].strip() for l in failed.read_text().splitlines() if l]
        if listed:
            return listed[0], len(listed)
    return "(ctest failed, no test named)", 0


def write_report(path, faults, header, final):
    counted = [f for f in faults if f.status in ("KILLED", "SURVIVED")]
    killed = sum(f.status == "KILLED" for f in faults)
    survived = sum(f.status == "SURVIVED" for f in faults)
    nobuild = sum(f.status == "NO-BUILD" for f in faults)
    stale = sum(f.status == "STALE" for f in faults)
    pending = sum(f.status == "" for f in faults)
    width = max([len(f.file) for f in faults] + [4])
    lines = [header, ""]
    lines.append(f"{'#':>4}  {'result':<9} {'file':<{width}}  fault / first failing test")
    for i, f in enumerate(faults, 1):
        status = f.status or "PENDING"
        lines.append(f"{i:>4}  {status:<9} {f.file:<{width}}  {f.description}")
        if f.detail:
            lines.append(f"{'':>4}  {'':<9} {'':<{width}}    -> {f.detail}")
    lines.append("")
    score = f"{100.0 * killed / len(counted):.1f} %" if counted else "n/a"
    lines.append(f"killed {killed}, survived {survived}, no-build {nobuild}, stale {stale}"
                 + (f", pending {pending}" if pending else ""))
    lines.append(f"score killed/(killed+survived) = {killed}/{killed + survived} = {score}"
                 + ("" if final else "   (run not finished)"))
    if survived:
        lines.append("")
        lines.append("Survived:")
        lines += [f"  {f.file}: {f.description}" for f in faults if f.status == "SURVIVED"]
    text = "\n".join(lines) + "\n"
    Path(path).write_text(text, encoding="utf-8")
    return text


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter,
                                     epilog=__doc__.split("\n", 1)[1])
    parser.add_argument("source", nargs="?", default=str(HERE.parent),
                        help="source tree to test (default: the repository holding this script)")
    parser.add_argument("--faults", default=str(HERE / "mutations.txt"),
                        help="fault list (default: tools/mutations.txt next to this script)")
    parser.add_argument("--only", metavar="REGEX",
                        help="only faults whose file or description matches (re.search)")
    parser.add_argument("--survivors-of", metavar="REPORT",
                        help="only the faults that SURVIVED in an earlier report")
    parser.add_argument("--list", action="store_true", help="list the faults and exit")
    parser.add_argument("--workdir", help="scratch directory (kept, and reused if it exists); "
                        "default: a temporary directory removed at the end")
    parser.add_argument("--report", help="report file (default: <source>/build/mutation-report.txt)")
    parser.add_argument("--jobs", type=int, default=2, help="build and test jobs (default 2)")
    parser.add_argument("--timeout", type=int, default=120, help="per-test timeout in seconds")
    parser.add_argument("--keep-going", action="store_true",
                        help="run the whole suite on each mutant, not stopping at the first failure")
    parser.add_argument("--skip-baseline", action="store_true",
                        help="do not run the suite on the unmutated tree first")
    args = parser.parse_args()

    source = Path(args.source).resolve()
    faults = parse_faults(args.faults)
    if args.only:
        pattern = re.compile(args.only)
        faults = [f for f in faults if pattern.search(f.description) or pattern.search(f.file)]
    if args.survivors_of:
        survivors = set()
        for line in Path(args.survivors_of).read_text(encoding="utf-8").splitlines():
            m = re.match(r"^\s*\d+\s+SURVIVED\s+(\S+)\s+(.*)$", line)
            if m:
                survivors.add((m.group(1), m.group(2).strip()))
        faults = [f for f in faults if (f.file, f.description) in survivors]
    check_stale(faults, source)

    if args.list:
        for i, f in enumerate(faults, 1):
            mark = f"  [STALE: {f.detail}]" if f.status == "STALE" else ""
            print(f"{i:>4}  {f.file}: {f.description}{mark}")
        stale = sum(f.status == "STALE" for f in faults)
        print(f"{len(faults)} faults, {stale} stale")
        return 0 if stale == 0 else 1
    if not faults:
        sys.exit("no fault selected")

    report = Path(args.report).resolve() if args.report else source / "build" / "mutation-report.txt"
    report.parent.mkdir(parents=True, exist_ok=True)
    scratch = Path(args.workdir).resolve() if args.workdir else Path(
        tempfile.mkdtemp(prefix="kocalvix-mutate-"))
    tree, build = scratch / "src", scratch / "build"
    log = report.with_suffix(".log")
    log.write_text("", encoding="utf-8")
    tree.mkdir(parents=True, exist_ok=True)
    header = (f"Mutation run of {source} ({len(faults)} faults from {args.faults}), "
              f"started {time.strftime('%Y-%m-%d %H:%M:%S UTC', time.gmtime())}\n"
              f"scratch {scratch}, log {log}")
    print(header, flush=True)

    # SIGTERM behaves like Ctrl-C, so that the finally blocks restore the mutated file.
    def interrupt(*_):
        raise KeyboardInterrupt()

    signal.signal(signal.SIGTERM, interrupt)
    try:
        sync_tree(source, tree)
        if not (build / "CMakeCache.txt").is_file():
            code, out = run(["cmake", "-S", str(tree), "-B", str(build), "-G", "Ninja"]
                            + CONFIGURE_OPTIONS, scratch, log)
            if code:
                sys.exit(f"configure failed, see {log}")
        print("building the unmutated tree ...", flush=True)
        code, _ = run(["cmake", "--build", str(build), "-j", str(args.jobs)], scratch, log)
        if code:
            sys.exit(f"the unmutated tree does not build, see {log}")
        if not args.skip_baseline:
            started = time.time()
            code, out = run(ctest_command(build, args), scratch, log)
            if code:
                name, _ = first_failure(build, out)
                sys.exit(f"the unmutated suite fails ({name}), see {log}")
            print(f"unmutated suite passes ({time.time() - started:.0f} s)", flush=True)

        for i, fault in enumerate(faults, 1):
            if fault.status == "STALE":
                print(f"[{i}/{len(faults)}] STALE     {fault.file}: {fault.description} "
                      f"({fault.detail})", flush=True)
                continue
            target = tree / fault.file
            original = target.read_text(encoding="utf-8")
            started = time.time()
            try:
                target.write_text(original.replace(fault.find, fault.replace, 1), encoding="utf-8")
                with open(log, "a", encoding="utf-8") as f:
                    f.write(f"\n===== fault {i}: {fault.file}: {fault.description}\n")
                code, out = run(["cmake", "--build", str(build), "-j", str(args.jobs)], scratch,
                                log)
                if code and DISCOVERY_FAILED in out:
                    # The test programs built, but listing their tests crashed or hung.
                    fault.status, fault.detail = "KILLED", "test discovery failed"
                elif code:
                    fault.status = "NO-BUILD"
                else:
                    code, out = run(ctest_command(build, args), scratch, log)
                    if code:
                        fault.status = "KILLED"
                        name, count = first_failure(build, out)
                        fault.detail = name if count <= 1 or not args.keep_going else \
                            f"{name} and {count - 1} more"
                    else:
                        fault.status = "SURVIVED"
            finally:
                target.write_text(original, encoding="utf-8")
            fault.seconds = time.time() - started
            shown = f"  <- {fault.detail}" if fault.detail else ""
            print(f"[{i}/{len(faults)}] {fault.status:<9} {fault.file}: {fault.description}"
                  f"  ({fault.seconds:.0f} s){shown}", flush=True)
            write_report(report, faults, header, final=False)
    except KeyboardInterrupt:
        print("\ninterrupted; the mutated file is restored", flush=True)
        write_report(report, faults, header + "\nINTERRUPTED", final=False)
        return 130
    finally:
        if not args.workdir:
            shutil.rmtree(scratch, ignore_errors=True)

    print()
    print(write_report(report, faults, header, final=True), end="")
    print(f"report: {report}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
