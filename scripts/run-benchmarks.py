#!/usr/bin/env python3
"""Tavrino's benchmark table: every figure beside a reference measured in the same run.

    scripts/run-benchmarks.py BUILD_DIR [--record FILE]

`make bench` builds BUILD_DIR and runs this. The figures measured inside one process come from
the Google Benchmark program (bench/Bench*.cpp); the others from running the program and the
reference commands (wc -l, cat, sort, ls -f | sort, a bare Qt dialog) on inputs made here in a
temporary folder, removed at the end. The table is printed in Markdown; --record also writes it,
with the date and the machine, into FILE.

Every child runs under a limit of address space and of time, so that a figure that cannot be
had shows as such ("stopped at the 4 GB limit", "over 60 s") and nothing takes the machine.
"""

import argparse
import datetime
import json
import os
import platform
import resource
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

MEMORY_LIMIT = 4 << 30
TIME_LIMIT = 60.0
# The whole Google Benchmark program: its window figures alone take a minute.
BENCHMARK_TIME_LIMIT = 600.0
# Short figures are repeated up to this often, and for about this many seconds at most.
RUNS = 7
RUN_BUDGET = 3.0


class Measurement:
    """One run, or the median of several: wall seconds, peak resident bytes, and whether it
    ended as it should ("ok"), at the time limit ("time"), at the memory limit ("memory") or
    otherwise ("failed", with the reason in `detail`)."""

    def __init__(self, seconds, peak, outcome="ok", detail=""):
        self.seconds = seconds
        self.peak = peak
        self.outcome = outcome
        self.detail = detail

    @property
    def ok(self):
        return self.outcome == "ok"


def limit_child():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))


def run_once(argv, stdin=b"", env=None, time_limit=TIME_LIMIT, accepted=(0,)):
    """Runs `argv` to its end with `stdin` as its input and its output thrown away."""
    with tempfile.TemporaryFile() as errors:
        timed_out = threading.Event()
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=errors, env=env, preexec_fn=limit_child)

        def stop():
            timed_out.set()
            child.kill()

        timer = threading.Timer(time_limit, stop)
        timer.start()
        try:
            child.stdin.write(stdin)
            child.stdin.close()
        except BrokenPipeError:
            pass
        # wait4 rather than Popen.wait: it gives the child's peak memory too.
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - start
        timer.cancel()
        child.returncode = os.waitstatus_to_exitcode(status)
        errors.seek(0)
        error_text = errors.read().decode("utf-8", "replace")
    peak = usage.ru_maxrss * 1024
    if timed_out.is_set():
        return Measurement(seconds, peak, "time")
    if child.returncode not in accepted:
        if "bad_alloc" in error_text or child.returncode == -signal.SIGABRT:
            return Measurement(seconds, peak, "memory")
        last = error_text.strip().splitlines()[-1:] or [""]
        return Measurement(seconds, peak, "failed", f"status {child.returncode}: {last[0][:80]}")
    return Measurement(seconds, peak)


def median_run(argv, **options):
    """The median time and the largest peak of several runs; fewer for long runs, and the
    first that fails stands for all."""
    runs = []
    total = 0.0
    while len(runs) < RUNS and (not runs or total < RUN_BUDGET):
        run = run_once(argv, **options)
        if not run.ok:
            return run
        runs.append(run)
        total += run.seconds
    return Measurement(statistics.median(r.seconds for r in runs), max(r.peak for r in runs))


# Formatting.

def format_seconds(seconds):
    if seconds < 1e-3:
        return f"{seconds * 1e6:.3g} µs"
    if seconds < 1:
        return f"{seconds * 1e3:.3g} ms"
    return f"{seconds:.3g} s"


def format_bytes(count):
    if count >= 1e9:
        return f"{count / 1e9:.3g} GB"
    if count >= 1e6:
        return f"{count / 1e6:.3g} MB"
    if count >= 1e3:
        return f"{count / 1e3:.3g} kB"
    return f"{count:.3g} B"


def format_ratio(ratio):
    if ratio >= 100:
        return f"{ratio:,.0f}x"
    if ratio >= 10:
        return f"{ratio:.1f}x"
    return f"{ratio:.2f}x"


def describe(run, memory=False):
    """A run as a table cell: its time (and peak memory), or why there is none."""
    if run.outcome == "time":
        return f"over {TIME_LIMIT:.0f} s"
    if run.outcome == "memory":
        return (f"stopped at the {MEMORY_LIMIT >> 30} GB limit after "
                f"{format_seconds(run.seconds)}")
    if run.outcome == "failed":
        return f"failed ({run.detail})"
    text = format_seconds(run.seconds)
    return f"{text}, {format_bytes(run.peak)} peak" if memory else text


def time_ratio(run, reference):
    if not run.ok or not reference.ok or reference.seconds <= 0:
        return "–"
    return format_ratio(run.seconds / reference.seconds)


# Inputs.

def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(data)
    return path


def write_repeated(path, chunk, count):
    """A file of `count` times `chunk`, written a piece at a time."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        piece = chunk * (1 << 20)
        whole, rest = divmod(count, 1 << 20)
        for _ in range(whole):
            file.write(piece)
        file.write(chunk * rest)
    return path


def steps_list(count, sub_heading_every=0):
    """`count` lines of one-line steps, CR LF, optionally every so many lines a sub-heading."""
    lines = []
    for i in range(count):
        if sub_heading_every and i % sub_heading_every == 0:
            lines.append(f"!Teil {i // sub_heading_every}\r\n")
        else:
            lines.append(f"Schritt {i};\r\n")
    return "".join(lines).encode("cp1252")


def windows1252_list():
    """50,000,000 bytes in 2,000,000 lines of 23 bytes and CR LF, with a byte above 127 in
    each, as the lists from the devices are written."""
    return b"".join(b"Schritt %07d Br\xfccke;\r\n" % i for i in range(2_000_000))


def two_hundred_line_list(number):
    lines = [f"$Liste {number}"]
    for block in range(20):
        lines += [f"!Abschnitt {block}", "Hauptschalter aus", "Bremse angelegt;",
                  "Druck in Ordnung?", f"nein{block}/ja{block}", f"%nein{block}",
                  "Druck prüfen;", f"%ja{block}", f"Weiter {block};", "# Notiz"]
    return ("\r\n".join(lines[:200]) + "\r\n").encode("cp1252")


def file_text_benchmark_list(words):
    """A list file like those BM_Read*ListFile read: about 50 MB of lines of two to four
    German words in the given encoding, ending in CR LF. `wc -l` cares only for the size and
    the line ends, so the words need not come in the benchmark's order."""
    random = __import__("random").Random(13)
    lines = []
    size = 0
    i = 0
    while size < 50_000_000:
        line = b" ".join(random.choice(words) for _ in range(2 + random.randrange(3)))
        line += b";\r\n" if i % 7 == 6 else b"\r\n"
        lines.append(line)
        size += len(line)
        i += 1
    return b"".join(lines)


def menu_names(count):
    """The names that BM_AddSortedMenu sorts."""
    prefixes = ["Bremse", "Übergabe", "Abfahrt", "ändern", "zug"]
    return "".join(f"{prefixes[i % 5]}{i * 7919 % count}.lst\n" for i in range(count))


# Figures measured here.

class Table:
    def __init__(self):
        self.rows = []

    def add(self, figure, tavrino, reference, ratio):
        self.rows.append((figure, tavrino, reference, ratio))
        print(f"  {figure}: {tavrino} | {reference} | {ratio}", file=sys.stderr, flush=True)

    def markdown(self):
        lines = ["| figure | Tavrino | reference | ratio |", "|---|---|---|---|"]
        for row in self.rows:
            lines.append("| " + " | ".join(cell.replace("|", "\\|") for cell in row) + " |")
        return "\n".join(lines) + "\n"


def load_figures(table, tavrino, place):
    program = os.path.join(place, "laden")

    def load(name, data_writer, label, modes):
        root = os.path.join(program, name)
        path = data_writer(os.path.join(root, "Thema", "liste.lst"))
        size = os.path.getsize(path)
        reference = median_run(["wc", "-l", path])
        for mode in modes:
            if mode == "text":
                run = median_run([tavrino, "--text", "--root", root], stdin=b"s11")
            else:
                run = median_run([tavrino, "play", "--root", root, "centre", "menu:0", "menu:0"])
            ratio = time_ratio(run, reference)
            if run.ok:
                ratio += f"; {run.peak / size:.2g}x the file in memory"
            shown = "`--text`" if mode == "text" else "`play`"
            table.add(f"{label}, in {shown}", describe(run, memory=True),
                      f"`wc -l` {describe(reference)}", ratio)
        shutil.rmtree(root)

    load("w1252", lambda path: write(path, windows1252_list()),
         "load a 50 MB Windows-1252 list with CR LF (2 million lines)", ["text", "play"])
    load("feeds50", lambda path: write_repeated(path, b"\n", 50_000_000),
         "load 50 MB of line feeds only", ["text"])
    load("feeds256", lambda path: write_repeated(path, b"\n", 256 << 20),
         "load 256 MiB of line feeds (the read limit)", ["text"])


def check_figures(table, tavrino, place):
    folder = os.path.join(place, "pruefen", "Thema")
    plain = write(os.path.join(folder, "ohne.lst"), steps_list(100_000))
    sub = write(os.path.join(folder, "mit.lst"), steps_list(100_000, sub_heading_every=10))
    for path, label in ((plain, "without sub-headings"),
                        (sub, "with a sub-heading every 10 lines")):
        run = median_run([tavrino, "check", path])
        reference = median_run(["cat", path])
        table.add(f"`check` of one 100,000-line list {label}", describe(run),
                  f"`cat` {describe(reference)}", time_ratio(run, reference))
        if path == plain:
            # The checker should cost no more than a small multiple of the runner's load.
            load = median_run([tavrino, "play", "--root", os.path.dirname(folder), "--store",
                               "changed", "centre", "menu:0", "menu:1"])
            table.add(f"`check` of one 100,000-line list {label}", describe(run),
                      f"its load by `play --store changed` {describe(load)}",
                      time_ratio(run, load))

    # 1,000 lists of 200 lines: 50 topics of 20.
    root = os.path.join(place, "tausend")
    paths = []
    for topic in range(50):
        for number in range(20):
            paths.append(write(os.path.join(root, f"Thema {topic}", f"Liste {number}.lst"),
                               two_hundred_line_list(topic * 20 + number)))
    size = sum(os.path.getsize(path) for path in paths)
    run = median_run([tavrino, "check", root])
    reference = median_run(["cat"] + paths)
    ratio = time_ratio(run, reference)
    if run.ok:
        ratio += f"; {run.peak / size:.3g}x the lists ({format_bytes(size)}) in memory"
    table.add("`check` of 1,000 lists of 200 lines", describe(run, memory=True),
              f"`cat` {describe(reference)}", ratio)


def read_lines(stream, count, deadline):
    """Reads until `count` more line ends have come; False at the deadline or the end."""
    seen = 0
    while seen < count:
        left = deadline - time.perf_counter()
        if left <= 0 or not select.select([stream], [], [], left)[0]:
            return False
        data = os.read(stream, 1 << 20)
        if not data:
            return False
        seen += data.count(b"\n")
    return True


def press_seconds(tavrino, root, options, pairs=10, batches=5):
    """The median time of one press of "Weiter" or "Zurück" through `play --events -`, each
    answered line read whole: batches of presses sent at once, so that the pipe's round trip
    is shared out."""
    child = subprocess.Popen([tavrino, "play", "--root", root, *options, "--events", "-"],
                             stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, preexec_fn=limit_child)
    out = child.stdout.fileno()
    deadline = time.perf_counter() + TIME_LIMIT
    result = Measurement(0, 0, "time")
    try:
        child.stdin.write(b"centre\nmenu:0\nmenu:0\n")
        child.stdin.flush()
        if read_lines(out, 4, deadline):
            times = []
            for _ in range(batches):
                start = time.perf_counter()
                child.stdin.write(b"right\ncentre\n" * pairs)
                child.stdin.flush()
                if not read_lines(out, 2 * pairs, deadline):
                    break
                times.append((time.perf_counter() - start) / (2 * pairs))
            else:
                result = Measurement(statistics.median(times), 0)
    finally:
        child.kill()
        child.wait()
    return result


def press_figures(table, tavrino, place):
    roots = {}
    for lines in (100_000, 10):
        roots[lines] = os.path.join(place, f"druecken{lines}")
        write(os.path.join(roots[lines], "Thema", "lang.lst"), steps_list(lines))
    for options, label in (([], "`play`"), (["--store", "changed"], "`play --store changed`")):
        run = press_seconds(tavrino, roots[100_000], options)
        reference = press_seconds(tavrino, roots[10], options)
        table.add(f"one press (\"Weiter\" or \"Zurück\") in a 100,000-line list through {label}",
                  describe(run), f"in a 10-line list {describe(reference)}",
                  time_ratio(run, reference))


def start_display():
    """An Xvfb server for the window figures, or None where there is none: then Qt draws
    offscreen."""
    if shutil.which("Xvfb") is None:
        return None, "Qt's offscreen platform (no Xvfb)"
    reader, writer = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=(writer,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(writer)
    number = b""
    if select.select([reader], [], [], 10)[0]:
        while not number.endswith(b"\n"):
            data = os.read(reader, 16)
            if not data:
                break
            number += data
    os.close(reader)
    if not number.strip().isdigit():
        server.kill()
        server.wait()
        return None, "Qt's offscreen platform (Xvfb did not start)"
    return (server, ":" + number.decode().strip()), "Xvfb"


def first_frame(argv, env):
    """Seconds from the start of the process to its line "frame", and its peak memory."""
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                             preexec_fn=limit_child)
    out = child.stdout.fileno()
    framed = select.select([out], [], [], TIME_LIMIT)[0] and os.read(out, 64).startswith(b"frame")
    seconds = time.perf_counter() - start
    if not framed:
        child.kill()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if not framed:
        return Measurement(seconds, 0, "time" if child.returncode == -signal.SIGKILL else "failed",
                           f"status {child.returncode}")
    return Measurement(seconds, usage.ru_maxrss * 1024)


def window_figures(table, build, display):
    env = dict(os.environ)
    if display is None:
        env["QT_QPA_PLATFORM"] = "offscreen"
    else:
        env.pop("QT_QPA_PLATFORM", None)
        env["DISPLAY"] = display[1]
    tavrino = [os.path.join(build, "bench", "tavrino-first-frame"), "--root",
               os.path.join(build, "bin")]
    bare = [os.path.join(build, "bench", "bare-qt-dialog")]
    runs = {"tavrino": [], "bare": []}
    # Taken in turns, so that a disturbance of the machine falls on both alike.
    for _ in range(9):
        for name, argv in (("tavrino", tavrino), ("bare", bare)):
            run = first_frame(argv, env)
            if not run.ok:
                runs[name] = run
                break
            runs[name].append(run)
        if any(isinstance(r, Measurement) for r in runs.values()):
            break
    results = {}
    for name, value in runs.items():
        if isinstance(value, Measurement):
            results[name] = value
        else:
            results[name] = Measurement(statistics.median(r.seconds for r in value),
                                        statistics.median(r.peak for r in value))
    run, reference = results["tavrino"], results["bare"]
    table.add("start to first frame of the window (the sample lists' start screen)",
              describe(run), f"bare Qt dialog with the same controls {describe(reference)}",
              time_ratio(run, reference))
    memory_ratio = (format_ratio(run.peak / reference.peak)
                    if run.ok and reference.ok and reference.peak else "–")
    table.add("peak memory of the window at its first frame",
              format_bytes(run.peak) if run.ok else describe(run),
              "bare Qt dialog " + (format_bytes(reference.peak) if reference.ok
                                   else describe(reference)), memory_ratio)


# Figures of the Google Benchmark program.

def run_google_benchmarks(build):
    """The benchmarks by name without their options ("BM_X/10" for "BM_X/10/manual_time"),
    as the medians of three repetitions; or None with the reason."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        run = run_once([os.path.join(build, "bench", "tavrino-bench"),
                        "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true",
                        f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
                       time_limit=BENCHMARK_TIME_LIMIT)
        if not run.ok:
            return None, describe(run)
        report = json.load(out)
    results = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name", "median") != "median":
            continue
        name = "/".join(part for part in entry["run_name"].split("/")
                        if ":" not in part and part != "manual_time")
        results[name] = entry
    return results, ""


UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def benchmark_seconds(entry):
    return entry["real_time"] * UNIT_SECONDS[entry["time_unit"]]


def benchmark_figures(table, build, place, results):
    def seconds(name):
        entry = results.get(name)
        return Measurement(benchmark_seconds(entry), 0) if entry else Measurement(0, 0, "failed",
                                                                                 "not run")

    def against(label, name, reference_label, reference):
        run = seconds(name)
        table.add(label, describe(run), f"{reference_label} {describe(reference)}",
                  time_ratio(run, reference))

    # Memory kept per line: the reference is one 32-bit offset.
    for name, label in (("BM_HeapPerStoredLineOf24Bytes", "24-byte lines"),
                        ("BM_HeapPerStoredEmptyLine", "empty lines")):
        entry = results.get(name)
        if entry is None:
            table.add(f"bytes of memory per stored line, {label}", "not run", "one offset: 4 B",
                      "–")
            continue
        per_line = entry["bytes_per_line"]
        note = "" if entry["lines"] >= 1_000_000 else f" (only {entry['lines']:.0f} lines stored)"
        table.add(f"bytes of memory per stored line, {label} (1,000,000 loaded){note}",
                  f"{per_line:.3g} B", "one offset: 4 B", format_ratio(per_line / 4))

    against("\"Zurück\" half way through a 100,000-line list without sub-headings",
            "BM_StepBackHalfWayThroughList/100000", "in a 10-line list",
            seconds("BM_StepBackHalfWayThroughList/10"))
    against("\"Zurück\" and \"Weiter\" half way through a 100,000-line list",
            "BM_StepBackAndOnHalfWayThroughList/100000", "in a 10-line list",
            seconds("BM_StepBackAndOnHalfWayThroughList/10"))
    against("one pass over 100,000 lines with 10,000 jumps",
            "BM_PassOverHundredThousandLinesWithTenThousandJumps",
            "the same lines without jumps, each read",
            seconds("BM_PassOverHundredThousandLinesWithoutJumps"))

    thousand = results.get("BM_CheckThousandLists")
    if thousand:
        # cat over as many files of the same size as the benchmark's lists.
        root = os.path.join(place, "liste40")
        each = int(thousand["list_bytes"] / thousand["lists"])
        paths = [write(os.path.join(root, f"T{n // 20}", f"L{n}.lst"), b"x" * each)
                 for n in range(int(thousand["lists"]))]
        findings = f" ({thousand['findings']:.0f} findings)" if thousand["findings"] else ""
        against(f"check of 1,000 lists of about 40 lines, in process{findings}",
                "BM_CheckThousandLists", "`cat`", median_run(["cat"] + paths))

    for name in sorted((n for n in results if n.startswith("BM_CheckStepsUnderOneSubHeading/")),
                       key=lambda n: int(n.split("/")[1])):
        lines = int(name.split("/")[1])
        path = write(os.path.join(place, "schritte", f"{lines}.lst"),
                     b"!Teil\r\n" + b"".join(b"Schritt %d;\r\n" % i for i in range(lines)))
        against(f"check of {lines:,} steps under one sub-heading, in process", name, "`cat`",
                median_run(["cat", path]))

    # Long lists whose every screen once made the checker read back to their start, or whose
    # every name once made it read the folder: the same lines as the benchmarks check.
    def answer_line(i):
        n = i // 5
        return [f"Frage {n}?", f"ja{n}/nein{n}", f"%ja{n}", "@", f"%nein{n}"][i % 5]

    long_lists = (
        ("BM_CheckStopwatchChecksAfterOneStart", "a stopwatch start and then only checks",
         lambda i: ":120 Bremse" if i == 0 else ":"),
        ("BM_CheckPicturesWithoutStepEnds", "one step and then only pictures",
         lambda i: "Anfang;" if i == 0 else "*bild.png"),
        ("BM_CheckAnswersThatEndTheList", "questions whose \"Ja\" ends the list", answer_line),
        ("BM_CheckPicturesNamedInOtherCase",
         "steps with a picture each, named in other case, beside 10,000 pictures",
         lambda i: f"*bild{i // 2}.png" if i % 2 == 0 else f"Schritt {i // 2};"),
    )
    for name, label, line in long_lists:
        lines = 20_000
        path = write(os.path.join(place, "lang", f"{name}.lst"),
                     "".join(line(i) + "\r\n" for i in range(lines)).encode("cp1252"))
        against(f"check of {lines:,} lines of {label}, in process", f"{name}/{lines}", "`cat`",
                median_run(["cat", path]))

    german = ["Bremse", "prüfen", "Türen", "schließen", "Fahrschalter", "Stellung", "Zug",
              "Übergabe", "Druckluft", "Hauptschalter", "Störung", "Lüfter", "öffnen",
              "Spannung", "Führerstand", "grün", "Signal", "Äußeres"]
    for name, encoding, label in (
            ("BM_ReadWindows1252ListFile", "cp1252", "Windows-1252"),
            ("BM_ReadUtf8ListFile", "utf-8", "UTF-8")):
        path = write(os.path.join(place, "lesen", f"{label}.lst"),
                     file_text_benchmark_list([w.encode(encoding) for w in german]))
        against(f"read a 50 MB {label} list file into the line store, in process", name,
                "`wc -l`", median_run(["wc", "-l", path]))
    path = write(os.path.join(place, "lesen", "zeilenenden.lst"), b"\n" * 50_000_000)
    against("read 50 MB of line feeds into the line store, in process", "BM_ReadLineFeedsOnly",
            "`wc -l`", median_run(["wc", "-l", path]))

    names = write(os.path.join(place, "namen", "namen.txt"), menu_names(10_000).encode())
    against("sort 10,000 entries into a menu", "BM_AddSortedMenu/10000", "`sort`",
            median_run(["sort", names], env=dict(os.environ, LC_ALL="C.UTF-8")))

    folders = os.path.join(place, "ordner")
    for number in range(10_000):
        os.makedirs(os.path.join(folders, f"Thema {number}"))
    against("a main menu page of 10,000 topic folders", "BM_MainMenuPageOfTenThousandFolders",
            "`ls -f | sort`", median_run(["sh", "-c", 'ls -f "$0" | sort', folders]))

    shapes = {0: "lines of eight words", 1: "one line"}
    for benchmark, label in (("BM_WindowOpensListOnLargeStep", "open a list on a step of"),
                             ("BM_WindowStepsAroundLargeStep",
                              "\"Weiter\" and \"Zurück\" around a step of")):
        for size in (1_000_000, 10_000_000):
            for shape, shape_label in shapes.items():
                against(f"window: {label} {size // 1_000_000} MB in {shape_label}",
                        f"{benchmark}/{size}/{shape}", "a step of 1 kB",
                        seconds(f"{benchmark}/1000/{shape}"))


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as meminfo:
        kilobytes = int(meminfo.readline().split()[1])
    return f"{model}, {os.cpu_count()} cores, {kilobytes / (1 << 20):.0f} GiB of memory"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="the build folder, with bin/tavrino and bench/")
    parser.add_argument("--record", metavar="FILE", help="also write the table into FILE")
    arguments = parser.parse_args()
    build = os.path.abspath(arguments.build)
    tavrino = os.path.join(build, "bin", "tavrino")

    began = time.perf_counter()
    table = Table()
    print("Google Benchmark program (three repetitions, medians) ...", file=sys.stderr,
          flush=True)
    results, failure = run_google_benchmarks(build)
    place = tempfile.mkdtemp(prefix="tavrino-bench-")
    display, display_name = start_display()
    try:
        print("Program and references ...", file=sys.stderr, flush=True)
        load_figures(table, tavrino, place)
        check_figures(table, tavrino, place)
        press_figures(table, tavrino, place)
        window_figures(table, build, display)
        if results is None:
            table.add("the Google Benchmark program", failure, "–", "–")
        else:
            benchmark_figures(table, build, place, results)
    finally:
        shutil.rmtree(place, ignore_errors=True)
        if display is not None:
            display[0].terminate()
            display[0].wait()
    took = time.perf_counter() - began

    notes = (f"A figure of the program is a whole run: start, load and end. "
             f"Medians of up to {RUNS} runs for the program and the references (fewer past "
             f"{RUN_BUDGET:.0f} s), of three repetitions for the in-process figures; each child "
             f"limited to {MEMORY_LIMIT >> 30} GB of address space and {TIME_LIMIT:.0f} s. "
             f"Window figures on {display_name}. This run took {took:.0f} s.\n")
    print()
    print(table.markdown())
    print(notes)
    if arguments.record:
        with open(arguments.record, "w", encoding="utf-8") as record:
            record.write(
                "# Benchmark results\n\n"
                "Written by `make bench RECORD=1` (scripts/run-benchmarks.py), which replaces "
                "this file whole. Each figure's reference was measured in the same run, on "
                "inputs the run made and removed; the ratio is Tavrino's figure over the "
                "reference's.\n\n"
                f"- date: {datetime.date.today().isoformat()}\n"
                f"- machine: {machine()}\n"
                f"- system: {platform.system()} {platform.release()}\n\n"
                + table.markdown() + "\n" + notes)
        print(f"Recorded in {arguments.record}.")


if __name__ == "__main__":
    main()
