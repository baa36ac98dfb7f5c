#!/usr/bin/env python3
"""Mutation check: applies simple faults to the program's sources one at a time and reports
which of them the unit and widget tests catch.  Run through scripts/mutate.sh."""
import argparse
import os
import re
import resource
import shutil
import subprocess
import sys
import time
from pathlib import Path

# (pattern, replacement, kind).  Operators need blanks around them, so that templates, stream
# operators, pointers and unary signs stay alone.
OPERATORS = [
    (r" == ", " != ", "comparison"), (r" != ", " == ", "comparison"),
    (r" <= ", " > ", "comparison"), (r" >= ", " < ", "comparison"),
    (r" < ", " >= ", "comparison"), (r" > ", " <= ", "comparison"),
    (r" \+ ", " - ", "arithmetic"), (r" - ", " + ", "arithmetic"),
    (r" \* ", " / ", "arithmetic"), (r" / ", " * ", "arithmetic"),
    (r" && ", " || ", "boolean"), (r" \|\| ", " && ", "boolean"),
    (r"\btrue\b", "false", "boolean"), (r"\bfalse\b", "true", "boolean"),
]
CONSTANT = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
STATEMENT = re.compile(r"^\s+[A-Za-z_][\w:.>-]*(\(.*\)|\s*(=|\+=|-=|\|=)\s*.+|\+\+|--);\s*$")
SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*|static_assert|case\b|namespace\b|using\b|template\b)")


def code_part(line):
    """The line without its comment and with string and character literals blanked."""
    line = re.sub(r'"(\\.|[^"\\])*"', lambda m: '"' + " " * (len(m.group(0)) - 2) + '"', line)
    line = re.sub(r"'(\\.|[^'\\])'", lambda m: "'" + " " * (len(m.group(0)) - 2) + "'", line)
    cut = line.find("//")
    return line if cut < 0 else line[:cut]


def mutants(path):
    lines = path.read_text().split("\n")
    found = []
    for number, line in enumerate(lines):
        if SKIP_LINE.match(line):
            continue
        code = code_part(line)
        for pattern, replacement, kind in OPERATORS:
            for match in re.finditer(pattern, code):
                mutated = line[:match.start()] + replacement + line[match.end():]
                found.append((number, kind, mutated))
        for match in CONSTANT.finditer(code):
            value = int(match.group(1))
            mutated = line[:match.start()] + str(value + 1) + line[match.end():]
            found.append((number, "constant", mutated))
        if STATEMENT.match(code) and not code.strip().startswith(("return", "auto ", "const ")):
            found.append((number, "statement", ""))
    return lines, found


def earlier_mutants(report):
    """The mutants of an earlier report: (file, kind, line, mutated line) -> the line numbers it
    had then, to run each again where its line is now."""
    earlier = {}
    for line in Path(report).read_text().splitlines():
        match = re.match(r"^\w+ (\S+):(\d+) (\w+): (.*?)  ->  (.*?)(  \| by .*)?$", line)
        if match:
            key = (match.group(1), match.group(3), match.group(4), match.group(5))
            earlier.setdefault(key, []).append(int(match.group(2)) - 1)
    return earlier


def like_earlier(name, lines, found, earlier):
    """For each earlier mutant, the same mutant of the same line nearest to where it was."""
    chosen = []
    for (file, kind, text, mutated), numbers in earlier.items():
        if file != name:
            continue
        same = [m for m in found
                if m[1] == kind and lines[m[0]].strip() == text and (m[2].strip() or "(dropped)") == mutated]
        for number in numbers:
            if same:
                nearest = min(same, key=lambda m: abs(m[0] - number))
                same.remove(nearest)
                chosen.append(nearest)
    return sorted(chosen)


def sample(found, most):
    if most <= 0 or len(found) <= most:
        return found
    step = len(found) / most
    return [found[int(i * step)] for i in range(most)]


def limit_memory():
    # A mutant that makes a loop allocate for ever fails at 4 GiB instead of filling the machine.
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))


def run(command, cwd, timeout, env=None):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout, env=env,
                              preexec_fn=limit_memory if command[0] == "ctest" else None
                              ).returncode
    except subprocess.TimeoutExpired:
        return -1


def failed_cases(build, tests):
    """Runs every test to the end and names each failing case as binary:Suite.Case (or the
    CTest test alone where it is no GoogleTest binary or ended before writing its report)."""
    results = build / "mutant-results"
    shutil.rmtree(results, ignore_errors=True)
    results.mkdir()
    env = dict(os.environ, GTEST_OUTPUT=f"xml:{results}/")
    run(tests + ["--output-junit", str(results / "ctest.xml")], build, 900, env)
    failed = set()
    junit = results / "ctest.xml"
    text = junit.read_text(errors="replace") if junit.exists() else ""
    for name in re.findall(r'<testcase name="([^"]+)"[^>]*status="fail"', text):
        cases = results / f"{name}.xml"
        found = set()
        if cases.exists():
            body = cases.read_text(errors="replace")
            for match in re.finditer(r'<testcase name="([^"]+)"[^>]*classname="([^"]+)"[^>]*?'
                                     r'(/>|>(.*?)</testcase>)', body, re.S):
                if match.group(4) and "<failure" in match.group(4):
                    found.add(f"{name}:{match.group(2)}.{match.group(1)}")
        failed |= found or {name}
    return sorted(failed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tree", required=True, help="the scratch copy of the sources")
    parser.add_argument("--build", required=True, help="its build folder")
    parser.add_argument("--max", type=int, default=0, help="at most this many mutants a file")
    parser.add_argument("--report", required=True)
    parser.add_argument("--matrix", action="store_true",
                        help="run every test for each mutant and name the cases that fail")
    parser.add_argument("--like", help="the mutants of this earlier report, wherever they are now")
    parser.add_argument("files", nargs="+")
    arguments = parser.parse_args()
    tree, build = Path(arguments.tree), Path(arguments.build)
    tests = ["ctest", "-j2", "-LE", "desktop|package", "-E", "calendar_programs",
             "--timeout", "60"]
    every_test = list(tests)
    tests.append("--stop-on-failure")
    report = open(arguments.report, "w")
    totals = [0, 0, 0, 0]
    for name in arguments.files:
        path = tree / name
        original = path.read_text()
        lines, found = mutants(path)
        if arguments.like:
            chosen = like_earlier(name, lines, found, earlier_mutants(arguments.like))
        else:
            chosen = sample(found, arguments.max)
        killed = survived = unbuildable = 0
        began = time.time()
        for number, kind, mutated in chosen:
            killers = ""
            changed = lines[:number] + [mutated] + lines[number + 1:]
            path.write_text("\n".join(changed))
            if run(["ninja"], build, 600) != 0:
                unbuildable += 1
                fate = "unbuilt"
            elif arguments.matrix and (by := failed_cases(build, every_test)):
                killed += 1
                fate = "killed"
                killers = "  | by " + " ".join(by)
            elif not arguments.matrix and run(tests, build, 900) != 0:
                killed += 1
                fate = "killed"
            else:
                survived += 1
                fate = "survived"
            # Every fate, so that two runs over the same sources can be compared line by line.
            report.write(f"{fate} {name}:{number + 1} {kind}: {lines[number].strip()}"
                         f"  ->  {mutated.strip() or '(dropped)'}{killers}\n")
            report.flush()
            path.write_text(original)
        run(["ninja"], build, 600)
        line = (f"{name}: {len(chosen)} mutants of {len(found)}, {killed} killed, "
                f"{survived} survived, {unbuildable} did not build ({time.time() - began:.0f} s)")
        print(line, flush=True)
        report.write(line + "\n")
        report.flush()
        for index, value in enumerate((len(chosen), killed, survived, unbuildable)):
            totals[index] += value
    summary = (f"all: {totals[0]} mutants, {totals[1]} killed, {totals[2]} survived, "
               f"{totals[3]} did not build")
    print(summary)
    report.write(summary + "\n")


if __name__ == "__main__":
    sys.exit(main())
