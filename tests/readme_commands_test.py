#!/usr/bin/env python3
"""Runs the commands of the README as printed.

    readme_commands_test.py README SOURCE_DIR BIN_DIR

- In a block of `$ command` lines, each command runs (with BIN_DIR first
  on PATH) and must succeed and print exactly the lines below it.
- Every other line of a ```sh block is a command that must succeed; the
  ones that cannot run here are listed in SKIPPED with the reason.  Those
  that touch the source tree run in a scratch copy of it.
- Every `ad9851-word ...` example of the option table must succeed and
  print nothing on standard error (no warnings).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

# Commands that do not run here, each with the reason.
SKIPPED = [
    (r"^\./scripts/run\b", "opens the window, which needs a display (the window_under_x test covers it)"),
    (r"^\./scripts/test\b", "is the run these tests are part of"),
    (r"^\./scripts/package\b", "builds both downloads, which the deb_* and windows_packages_* tests build and check"),
    (r"^sudo ", "needs root"),
    (r"^cmake --build --preset (release|windows)$",
     "the whole build, which scripts/test runs with the same presets"),
    (r"--target windows_packages$", "the windows_packages_build test builds them"),
]


def blocks(text):
    """The fenced code blocks: (language, lines)."""
    found, lang, lines = [], None, None
    for line in text.splitlines():
        if line.startswith("```"):
            if lines is None:
                lang, lines = line[3:].strip(), []
            else:
                found.append((lang, lines))
                lines = None
        elif lines is not None:
            lines.append(line)
    return found


def without_comment(command):
    return re.sub(r"\s+#.*$", "", command).strip()


def run(command, cwd, env):
    return subprocess.run(["bash", "-o", "pipefail", "-c", command], cwd=cwd, env=env,
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=600)


def main():
    readme, source_dir, bin_dir = (os.path.abspath(arg) for arg in sys.argv[1:4])
    text = open(readme, encoding="utf-8").read()
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"], LC_ALL="C.UTF-8")
    failures, ran = [], 0
    work = tempfile.mkdtemp()
    tree = None
    try:
        for lang, lines in blocks(text):
            if any(line.startswith("$ ") for line in lines):
                # A session: commands and what they print.
                sessions = []
                for line in lines:
                    if line.startswith("$ "):
                        sessions.append((without_comment(line[2:]), []))
                    elif sessions:
                        sessions[-1][1].append(line)
                for command, expected in sessions:
                    result = run(command, work, env)
                    ran += 1
                    printed = (result.stdout + result.stderr).splitlines()
                    if result.returncode != 0 or printed != expected:
                        failures.append(f"$ {command}\n  status {result.returncode}, printed:\n"
                                        + "\n".join(printed) + "\n  expected:\n" + "\n".join(expected))
            elif lang == "sh":
                for line in lines:
                    command = without_comment(line)
                    if not command:
                        continue
                    if any(re.search(pattern, command) for pattern, _ in SKIPPED):
                        continue
                    if tree is None:
                        tree = os.path.join(work, "source")
                        shutil.copytree(source_dir, tree, symlinks=True,
                                        ignore=shutil.ignore_patterns("build*", ".git"))
                    result = run(command, tree, env)
                    ran += 1
                    if result.returncode != 0:
                        failures.append(f"{command}\n  status {result.returncode}:\n{result.stdout}{result.stderr}")

        # The option table's examples.
        for row in re.findall(r"^\|.*\| `((?:seq [^`]*\\\| )?ad9851-word [^`]*)` \|$", text, re.M):
            command = row.replace("\\|", "|")
            result = run(command, work, env)
            ran += 1
            if result.returncode != 0 or result.stderr:
                failures.append(f"{command}\n  status {result.returncode}, standard error:\n{result.stderr}")
    finally:
        shutil.rmtree(work, ignore_errors=True)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{ran} README commands run, {len(failures)} failed")
    return 1 if failures or ran == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
