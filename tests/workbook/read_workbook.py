"""Reads a reconciliation workbook with openpyxl, a reader that is none of ours, and checks it
against the grids it was made from (tab-separated, UTF-8, one file per grid, as lorvi-check
prints a grid's rows). Prints every fault found and exits 1 when there was one."""
import sys
import zipfile

import openpyxl

workbook_path, other_path, strah_path, nakop_path, separator = sys.argv[1:6]
faults = []


def fault(text):
    faults.append(text)


def figure(text):
    return round(float(text.strip().replace(".", separator).replace(separator, ".")), 4)


def comparison(text):
    """The accrued and paid figures of a grid's comparison text, or None for "???"."""
    for sign in (" > ", " < ", " = "):
        if sign in text:
            accrued, paid = text.split(sign, 1)
            if sign != " = ":
                paid = paid[: paid.rindex(" (")]
            return figure(accrued), figure(paid)
    return None


def grid(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f]


book = openpyxl.load_workbook(workbook_path)
cached = openpyxl.load_workbook(workbook_path, data_only=True)
if book.sheetnames != ["Сводка", "Страховая часть", "Накопительная часть"]:
    fault(f"sheets {book.sheetnames}")

for name, path in (("Страховая часть", strah_path), ("Накопительная часть", nakop_path)):
    rows = grid(path)
    sheet, values = book[name], cached[name]
    periods = len(rows[0]) - 2
    groups = [2 + p for p in range(periods)] + [1]  # grid columns: the periods, then the total
    keys = [sheet.cell(1, 2 + 3 * g).value for g in range(len(groups))]
    if keys != [rows[0][c].split(" (")[0] for c in groups[:-1]] + ["Итого"]:
        fault(f"{name}: period headers {keys}")
    for g in range(len(groups)):
        heads = [sheet.cell(2, 2 + 3 * g + i).value for i in range(3)]
        if heads != ["Начислено", "Уплачено", "Разница"]:
            fault(f"{name}: figure headers {heads}")
    sums = [0.0] * (3 * len(groups))
    for r, cells in enumerate(rows[1:]):
        xr = 3 + r
        if sheet.cell(xr, 1).value != cells[0]:
            fault(f"{name} row {xr}: title {sheet.cell(xr, 1).value!r} != {cells[0]!r}")
        for g, column in enumerate(groups):
            got = [sheet.cell(xr, 2 + 3 * g + i).value for i in range(3)]
            want = comparison(cells[column])
            if want is None:
                if got != ["???"] * 3:
                    fault(f"{name} row {xr} group {g}: {got} for ???")
                continue
            if not all(isinstance(v, (int, float)) for v in got):
                fault(f"{name} row {xr} group {g}: not numbers {got}")
                continue
            accrued, paid = want
            if abs(got[0] - accrued) > 1e-9 or abs(got[1] - paid) > 1e-9:
                fault(f"{name} row {xr} group {g}: {got[:2]} != {cells[column]!r}")
            if abs(got[2] - (got[0] - got[1])) > 1e-6:
                fault(f"{name} row {xr} group {g}: difference {got[2]} != {got[0]} - {got[1]}")
            for i in range(3):
                sums[3 * g + i] += got[i]
    last = 3 + len(rows) - 1
    if sheet.cell(last, 1).value != "Итого":
        fault(f"{name}: last row {sheet.cell(last, 1).value!r}")
    for i, total in enumerate(sums):
        formula = sheet.cell(last, 2 + i).value
        value = values.cell(last, 2 + i).value
        if not (isinstance(formula, str) and formula.startswith("=SUM(")):
            fault(f"{name}: column {2 + i} total is no sum: {formula!r}")
        if value is None or abs(value - total) > 1e-6:
            fault(f"{name}: column {2 + i} cached total {value} != {total}")
    setup = sheet.page_setup
    # One page wide (1 is the file format's default, so it may go unwritten), any number high.
    if (setup.orientation != "landscape" or setup.fitToWidth not in (None, 1, "1")
            or str(setup.fitToHeight) != "0"):
        fault(f"{name}: page setup {setup.orientation} {setup.fitToWidth} {setup.fitToHeight}")
    if not sheet.sheet_properties.pageSetUpPr.fitToPage:
        fault(f"{name}: not fitted to the page")
    if sheet.freeze_panes != "B3":
        fault(f"{name}: frozen at {sheet.freeze_panes}")
    if not sheet.auto_filter.ref or not sheet.auto_filter.ref.startswith("A2:"):
        fault(f"{name}: autofilter {sheet.auto_filter.ref}")

# The same figures under another locale give the same file, member by member.
with zipfile.ZipFile(workbook_path) as a, zipfile.ZipFile(other_path) as b:
    if a.namelist() != b.namelist():
        fault("the other file has other members")
    for member in a.namelist():
        if a.read(member) != b.read(member):
            fault(f"the other file differs in {member}")

for text in faults:
    print(text)
sys.exit(1 if faults else 0)
