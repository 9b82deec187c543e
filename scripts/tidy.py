#!/usr/bin/env python3
"""clang-tidy on the given source files, with a cache of the files found clean.

A file is looked at again only when what the compiler sees of it changes: the
key is a hash of its preprocessed text (its own headers included), its
compile flags, .clang-tidy and clang-tidy's version. The cache lives in
$XDG_CACHE_HOME/velmora/tidy (else ~/.cache/velmora/tidy), outside the tree,
so a fresh clone on the same machine reuses it.
  scripts/tidy.py BUILD_DIR FILE...      exit 1 when a file has findings
"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys


def main():
    build, files = sys.argv[1], [os.path.abspath(f) for f in sys.argv[2:]]
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(build, "compile_commands.json")) as f:
        commands = {e["file"]: e for e in json.load(f)}
    cache = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "velmora", "tidy")
    os.makedirs(cache, exist_ok=True)
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True).stdout
    with open(os.path.join(here, ".clang-tidy"), "rb") as f:
        config = f.read()

    def key(entry):
        args = shlex.split(entry["command"])
        # The same compiler call, preprocessing only, to standard output.
        out, cut = [], False
        for a in args:
            if cut:
                cut = False
                continue
            if a in ("-o", "-c"):
                cut = True
                continue
            out.append(a)
        pre = subprocess.run(out + ["-E", "-P", entry["file"]], cwd=entry["directory"], capture_output=True)
        if pre.returncode != 0:
            return None
        # The same file in another clone of the tree gives the same key.
        text, flags = pre.stdout, " ".join(out).encode()
        for path, mark in ((os.path.abspath(build), b"@BUILD@"), (here, b"@SOURCE@")):
            text = text.replace(path.encode(), mark)
            flags = flags.replace(path.encode(), mark)
        h = hashlib.sha256()
        for part in (text, flags, config, version.encode()):
            h.update(part)
            h.update(b"\0")
        return h.hexdigest()

    def check(path):
        entry = commands[path]
        k = key(entry)
        if k and os.path.exists(os.path.join(cache, k)):
            return path, True, ""
        r = subprocess.run(["clang-tidy", "--quiet", "-p", build, path], capture_output=True, text=True)
        found = [line for line in r.stdout.splitlines() if "warning:" in line or "error:" in line]
        clean = r.returncode == 0 and not found
        if clean and k:
            open(os.path.join(cache, k), "w").close()
        return path, clean, "\n".join(found)

    todo = [f for f in files if f in commands]
    bad = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for path, clean, found in pool.map(check, todo):
            if not clean:
                bad += 1
                print(found or f"{path}: clang-tidy failed", flush=True)
    print(f"tidy: {len(todo)} file(s), {bad} with findings")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
