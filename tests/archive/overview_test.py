"""An archive of thirty organisations (leavers, a figure that cannot be read, a period missing, an
inventory that disagrees with its records, a file the tree does not take, an organisation whose
reading fails) goes through `lorvi-check --archive`; its overview, read back with openpyxl, must
hold for each organisation what `lorvi-check --load` of that organisation's files alone shows,
and LibreOffice must compute the totals row as the workbook carries it. Prints every fault found
and exits 1 when there was one."""
import collections
import glob
import os
import re
import subprocess
import sys
import tempfile

import openpyxl

generator, check, python3, recalc, soffice = sys.argv[1:6]
faults = []


def fault(text):
    faults.append(text)


def run(*args):
    return subprocess.run(args, check=False, capture_output=True, text=True, timeout=600)


def amount(text):
    return round(float(text.replace(",", ".")), 2)


def grid(dump, name):
    """The rows (each a list of cells) of a grid in a dump, title row first."""
    lines = dump.splitlines()
    start = next(i for i, line in enumerate(lines) if line.startswith(f"[{name}]"))
    rows = []
    for line in lines[start + 1:]:
        if line.startswith("["):
            break
        rows.append(line.split("\t"))
    return rows


def totals(rows):
    """Accrued and paid over the persons' totals, the verdicts, the "???" cells."""
    accrued = paid = 0.0
    verdicts = []
    unreadable = 0
    for row in rows[1:]:
        match = re.match(r"(-?[\d,]+) ([=<>]) (-?[\d,]+)", row[1])
        if match:
            accrued += amount(match.group(1))
            paid += amount(match.group(3))
            verdicts.append(match.group(2))
        else:
            verdicts.append("?")
        unreadable += sum(1 for cell in row[2:] if cell == "???")
    return round(accrued, 2), round(paid, 2), verdicts, unreadable


with tempfile.TemporaryDirectory() as work:
    archive = os.path.join(work, "archive")
    run(generator, "--out", archive, "--orgs", "30", "--persons", "12", "--periods",
        "2011-1,2011-2,2011-4,2012-1", "--inventories", "--discrepancies", "2", "--leavers", "2",
        "--unreadable", "--seed", "7")
    by_org = collections.defaultdict(list)
    for path in sorted(glob.glob(os.path.join(archive, "*.XML"))):
        match = re.search(r"ORG-(\d{3}-\d{3}-\d{6})", os.path.basename(path))
        by_org[match.group(1)].append(path)
    orgs = sorted(by_org)
    # A figure that cannot be read, a period gone, a reading that fails.
    first = sorted(p for p in by_org[orgs[1]] if "DCK-00001-" in p)[0]
    data = open(first, "rb").read()
    tag = "<Начислено>".encode("cp1251")
    at = data.find(tag) + len(tag)
    open(first, "wb").write(data[:at] + b"12x" + data[at:])
    for path in list(by_org[orgs[2]]):
        text = open(path, "rb").read().decode("cp1251")
        if re.search(r"<Год>2011</Год>", text) and re.search(r"<Квартал>2</Квартал>", text):
            os.remove(path)
            by_org[orgs[2]].remove(path)
    broken = sorted(p for p in by_org[orgs[3]] if "DCK-00001-" in p)[0]
    data = open(broken, "rb").read()
    patronymic = "<Отчество>".encode("cp1251")
    open(broken, "wb").write(data[:data.find(patronymic, data.find(patronymic) + 1) + 14])

    overview = os.path.join(work, "overview.xlsx")
    result = run(check, "--decimal-separator=,", "--archive", archive, "--overview", overview,
                 "--workbooks", os.path.join(work, "books"))
    if result.returncode != 0:
        fault(f"--archive: exit {result.returncode}: {result.stderr}")
        print("\n".join(faults))
        sys.exit(1)
    book = openpyxl.load_workbook(overview)
    sheet = book["Организации"]
    rows = {row[0]: row for row in sheet.iter_rows(min_row=2, values_only=True) if row[0] != "Итого"}
    if sorted(rows) != [o for o in orgs if by_org[o] and not all("SPV" in p for p in by_org[o])]:
        fault(f"organisations: {sorted(rows)}")
    workbooks = glob.glob(os.path.join(work, "books", "*.xlsx"))
    if len(workbooks) != len(rows) - 1:
        fault(f"{len(workbooks)} workbooks for {len(rows) - 1} organisations read")

    for reg, row in rows.items():
        files = by_org[reg]
        shown = run(check, "--decimal-separator=,", "--load", *files).stdout
        leavers = run(check, "--decimal-separator=,", "--load", *files, "--tab", "3").stdout
        tree = shown.split("[tab]")[0].split("НЕ СМОГ ПРОЧИТАТЬ")[0].splitlines()
        periods = [line.split("\t")[0].strip() for line in tree if line.startswith("  ") and
                   not line.startswith("    ")]
        if (row[2], row[3], row[4]) != (periods[0], periods[-1], len(periods)):
            fault(f"{reg}: periods {row[2:5]}, the tree {periods}")
        if reg == orgs[3]:
            if not row[19] or "List index" not in row[19]:
                fault(f"{reg}: a failed reading shows {row[19]!r}")
            continue
        strah = grid(shown, "sgZLStrah")
        nakop = grid(shown, "sgZLNakop")
        s_acc, s_paid, s_verdicts, s_bad = totals(strah)
        n_acc, n_paid, n_verdicts, n_bad = totals(nakop)
        expected = {
            7: len(strah) - 1,
            8: len(grid(leavers, "sgZLStrah")) - 1,
            9: s_bad + n_bad,
            10: s_acc, 11: s_paid, 12: round(s_acc - s_paid, 2),
            13: n_acc, 14: n_paid, 15: round(n_acc - n_paid, 2),
            16: sum(1 for a, b in zip(s_verdicts, n_verdicts) if ">" in (a, b)),
            17: sum(1 for a, b in zip(s_verdicts, n_verdicts) if "<" in (a, b)),
        }
        for col, value in expected.items():
            ours = row[col]
            if ours is None or abs(ours - value) > 0.005:
                fault(f"{reg}: {sheet.cell(1, col + 1).value}: {ours}, --load shows {value}")
    missing = rows[orgs[2]][5]
    if missing != "2011-2, 2011-3":
        fault(f"{orgs[2]}: missing periods {missing!r}")
    if rows[orgs[1]][9] < 1:
        fault(f"{orgs[1]}: the figure that cannot be read is not counted")

    inventory = list(book["Опись и сведения"].iter_rows(min_row=2, values_only=True))
    if not any(r[11] == "Опись не сходится со сведениями" for r in inventory if r[0]):
        fault("no inventory disagrees with its records")
    unread = [r for r in book["Не прочитаны"].iter_rows(min_row=2, values_only=True) if any(r)]
    if not any(r[0] and "Форма СПВ-1" in (r[2] or "") for r in unread):
        fault(f"the file not taken is not listed: {unread}")

    recalculated = run(python3, recalc, soffice, overview, "Организации")
    if recalculated.returncode != 0:
        fault("totals: " + recalculated.stdout + recalculated.stderr)

for text in faults:
    print(text)
sys.exit(1 if faults else 0)
