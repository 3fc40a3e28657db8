#!/usr/bin/env python3
"""regwrite against the sqlite3 command-line tool, timed side by side.

Both write the same 10,000 settings (distinct keys over 100 key paths, strings
and DWORDs) into an empty hive: regwrite from a settings file, sqlite3 by
importing the same rows into a database of the same schema in one
transaction. Each is run several times; the medians and their ratio are
printed. Usage: bench/regwrite_vs_sqlite3.py [path/to/regwrite] [runs]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REGWRITE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build/release/tools/regwrite/regwrite")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 7
LINES = 10000
PATHS = 100


def settings():
    for i in range(LINES):
        path = f"Bench\\Path{i % PATHS}"
        name = f"Value{i}"
        data = f"0x{i:x}" if i % 2 else f"text of setting {i}"
        yield path, name, data


def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def import_sql(schema):
    """The rows regwrite writes, as one transaction for sqlite3."""
    out = [schema, "BEGIN;"]
    ids = {"": 1}
    next_id = 2

    def key_id(path):
        nonlocal next_id
        parent = ""
        for part in path.split("\\"):
            full = parent + "\\" + part if parent else part
            if full not in ids:
                ids[full] = next_id
                out.append(f"INSERT INTO keys (id, parent, name, fold) VALUES ({next_id}, {ids[parent]}, "
                           f"{sql_text(part)}, {sql_text(part.lower())});")
                next_id += 1
            parent = full
        return ids[parent]

    for path, name, data in settings():
        key = key_id("SOFTWARE\\Tamsil\\" + path)
        if data.startswith("0x"):
            value_type, blob = 4, int(data, 16).to_bytes(4, "little")
        else:
            value_type, blob = 1, (data + "\0").encode("utf-16-le")
        out.append(f"INSERT INTO key_values (key, name, fold, type, data) VALUES ({key}, {sql_text(name)}, "
                   f"{sql_text(name.lower())}, {value_type}, X'{blob.hex()}');")
    out.append("COMMIT;")
    return "\n".join(out) + "\n"


def timed(command, **kwargs):
    start = time.perf_counter()
    subprocess.run(command, check=True, **kwargs)
    return time.perf_counter() - start


def main():
    with tempfile.TemporaryDirectory() as work:
        settings_file = os.path.join(work, "settings.txt")
        with open(settings_file, "w", encoding="latin-1") as f:
            for path, name, data in settings():
                f.write(f"{path}\\{name}={data}\n")

        env = dict(os.environ)
        regwrite_times = []
        for run in range(RUNS):
            hive = os.path.join(work, f"regwrite-{run}.hive")
            env["COREKIT_MACHINE_HIVE"] = hive
            env["COREKIT_USER_HIVE"] = os.path.join(work, "user.hive")
            regwrite_times.append(timed([REGWRITE, settings_file], env=env))

        # The schema exactly as regwrite's hive holds it, minus the root row
        # that the import adds itself.
        schema = subprocess.run(["sqlite3", hive, ".schema"], check=True, capture_output=True,
                                text=True).stdout
        pragmas = subprocess.run(["sqlite3", hive, "PRAGMA application_id; PRAGMA user_version;"],
                                 check=True, capture_output=True, text=True).stdout.split()
        schema = (schema.replace("CREATE TABLE sqlite_sequence(name,seq);", "") +
                  f"PRAGMA application_id = {pragmas[0]}; PRAGMA user_version = {pragmas[1]};\n"
                  "INSERT INTO keys (id, parent, name, fold) VALUES (1, NULL, '', '');\n")
        sql_file = os.path.join(work, "import.sql")
        with open(sql_file, "w") as f:
            f.write(import_sql(schema))

        sqlite_times = []
        for run in range(RUNS):
            db = os.path.join(work, f"sqlite-{run}.hive")
            with open(sql_file) as sql:
                sqlite_times.append(timed(["sqlite3", db], stdin=sql))

        # Both hives hold the same values.
        query = "SELECT count(*) FROM key_values;"
        counts = [subprocess.run(["sqlite3", h, query], capture_output=True, text=True).stdout.strip()
                  for h in (hive, db)]
        r, s = statistics.median(regwrite_times), statistics.median(sqlite_times)
        print(f"values: regwrite {counts[0]}, sqlite3 {counts[1]}")
        print(f"regwrite median {r * 1000:.1f} ms, sqlite3 import median {s * 1000:.1f} ms "
              f"over {RUNS} runs")
        print(f"ratio regwrite / sqlite3 = {r / s:.2f} (target: at most 3)")


if __name__ == "__main__":
    main()
