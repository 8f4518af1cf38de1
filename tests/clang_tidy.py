#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs clang-tidy with the project's .clang-tidy over every source file of src/, one process per core, and
fails on any finding.

A file whose check came out clean is remembered in a cache outside the source tree, keyed by a hash of
everything the result depends on: clang-tidy's version, .clang-tidy, the compile command, and the file with
every header it includes (the list ninja keeps from the build, or the preprocessed file when ninja has none
for it). An unchanged file is not
checked again, in this build folder or in a fresh clone at the same place. UMBRALUX_TIDY_CACHE names
another cache folder; an empty value turns the cache off.

usage: clang_tidy.py CLANG_TIDY BUILD_DIR SOURCE_DIR
"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys

# Options of a compile command that name its outputs, with the number of values each takes.
OUTPUT_OPTIONS = {"-o": 1, "-c": 0, "-MD": 0, "-MMD": 0, "-MT": 1, "-MF": 1, "-MQ": 1}


def cache_folder():
    folder = os.environ.get("UMBRALUX_TIDY_CACHE")
    if folder is None:
        base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
        folder = os.path.join(base, "umbralux", "clang-tidy")
    return folder or None


def ninja_deps(build_dir):
    """The files each object of the last build was compiled from, by object, as ninja recorded them."""
    result = subprocess.run(["ninja", "-C", build_dir, "-t", "deps"], capture_output=True, text=True)
    deps, current = {}, None
    for line in result.stdout.splitlines() if result.returncode == 0 else []:
        if not line.startswith(" ") and ": #deps" in line:
            current = line.split(": #deps")[0] if line.endswith("(VALID)") else None
            if current:
                deps[current] = []
        elif line.strip() and current:
            deps[current].append(os.path.join(build_dir, line.strip()))
    return deps


def object_of(entry):
    arguments = entry.get("arguments") or shlex.split(entry["command"])
    return arguments[arguments.index("-o") + 1] if "-o" in arguments[:-1] else None


def preprocessed(entry):
    """The translation unit as the compiler sees it, headers included."""
    arguments = entry.get("arguments") or shlex.split(entry["command"])
    command, skip = [], 0
    for argument in arguments:
        if skip:
            skip -= 1
        elif argument in OUTPUT_OPTIONS:
            skip = OUTPUT_OPTIONS[argument]
        else:
            command.append(argument)
    if command and os.path.basename(command[0]) == "ccache":
        command = command[1:]
    return subprocess.run(command + ["-E"], cwd=entry["directory"], capture_output=True, check=True).stdout


def main(clang_tidy, build_dir, source_dir):
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as file:
        entries = json.load(file)
    sources = os.path.join(os.path.realpath(source_dir), "src") + os.sep
    entries = sorted((e for e in entries if os.path.realpath(e["file"]).startswith(sources)), key=lambda e: e["file"])
    with open(os.path.join(source_dir, ".clang-tidy"), "rb") as file:
        config = file.read()
    version = subprocess.run([clang_tidy, "--version"], capture_output=True, check=True).stdout
    cache = cache_folder()
    if cache:
        os.makedirs(cache, exist_ok=True)
        deps = ninja_deps(build_dir)

    def sources_of(entry):
        """The bytes the file's check depends on, headers included."""
        files = deps.get(object_of(entry))
        if not files:
            return preprocessed(entry)
        digest = hashlib.sha256()
        for name in [entry["file"]] + files:
            with open(name, "rb") as file:
                digest.update(name.encode() + b"\0" + hashlib.sha256(file.read()).digest())
        return digest.digest()

    def check(entry):
        """Returns the findings of one file, empty when it is clean."""
        key = None
        if cache:
            digest = hashlib.sha256()
            for part in (version, config, json.dumps(entry, sort_keys=True).encode(), sources_of(entry)):
                digest.update(hashlib.sha256(part).digest())
            key = os.path.join(cache, digest.hexdigest())
            if os.path.exists(key):
                return "", True
        result = subprocess.run([clang_tidy, "-p", build_dir, "--quiet", entry["file"]], capture_output=True,
                                text=True)
        if result.returncode != 0:
            return result.stdout + result.stderr or f"{entry['file']}: clang-tidy failed\n", False
        if key:
            open(key, "wb").close()
        return "", False

    failed = cached = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        for findings, from_cache in pool.map(check, entries):
            cached += from_cache
            if findings:
                failed += 1
                sys.stdout.write(findings)
    print(f"clang-tidy: {len(entries)} files, {cached} unchanged since a clean check"
          f"{f' (cache {cache})' if cache else ''}, {failed} with findings")
    return 1 if failed or not entries else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
