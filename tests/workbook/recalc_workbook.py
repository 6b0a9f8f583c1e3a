"""Opens a workbook in LibreOffice (headless, a profile of its own that recalculates every
formula on load), saves each sheet as CSV, and compares the sums LibreOffice computed in the last
row of each sheet named (by default each part of a reconciliation workbook) with the values the
workbook carries for them. Prints every fault found and exits 1 when there was one."""
import csv
import glob
import os
import pathlib
import subprocess
import sys
import tempfile

import openpyxl

soffice, workbook_path = sys.argv[1:3]
# The sheets whose last row sums the rows above: those named after the workbook, else the parts.
sheets = sys.argv[3:] or ["Страховая часть", "Накопительная часть"]
faults = []
RECALCULATE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"
 xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load">
<prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
"""

with tempfile.TemporaryDirectory() as work:
    profile = pathlib.Path(work, "profile")
    (profile / "user").mkdir(parents=True)
    (profile / "user" / "registrymodifications.xcu").write_text(RECALCULATE, encoding="utf-8")
    # Comma-separated, UTF-8, numbers unformatted, every sheet to a file of its own.
    options = "44,34,76,1,,0,false,true,false,false,false,-1"
    subprocess.run([soffice, f"-env:UserInstallation={profile.as_uri()}", "--headless",
                    "--convert-to", f"csv:Text - txt - csv (StarCalc):{options}",
                    "--outdir", work, workbook_path],
                   check=True, capture_output=True, timeout=180)
    cached = openpyxl.load_workbook(workbook_path, data_only=True)
    for name in sheets:
        found = glob.glob(os.path.join(work, f"*-{name}.csv"))
        if len(found) != 1:
            faults.append(f"{name}: LibreOffice wrote {os.listdir(work)}")
            continue
        with open(found[0], encoding="utf-8") as f:
            rows = list(csv.reader(f))
        last = rows[-1]
        sheet = cached[name]
        if last[0] != "Итого":
            faults.append(f"{name}: last row {last[:2]}")
        for col in range(1, len(last)):
            ours = sheet.cell(len(rows), col + 1).value
            if ours is None and last[col] == "":
                continue
            computed = float(last[col])
            if ours is None or abs(computed - ours) > 1e-6:
                faults.append(f"{name}: column {col + 1}: LibreOffice {computed}, ours {ours}")

for text in faults:
    print(text)
sys.exit(1 if faults else 0)
