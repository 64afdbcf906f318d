"""Prints the cells of an .xlsx workbook's first sheet, one per line, for the export tests.

Output: a line "sheets<TAB>count", then for every cell that holds a value
"<coordinate><TAB><kind><TAB><hex of the value's UTF-8>", where kind is the cell's type as the
file stores it: s (shared string), inlineStr, str (formula result), n (number), b, e, d, or f when
the cell holds a formula.
"""
import sys
import zipfile
import xml.etree.ElementTree as ElementTree

import openpyxl

NS = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"


def stored_kinds(path, sheet_path):
    """Cell types as written in the sheet's XML, which openpyxl does not keep."""
    kinds = {}
    with zipfile.ZipFile(path) as archive:
        root = ElementTree.fromstring(archive.read(sheet_path))
    for cell in root.iter(NS + "c"):
        kinds[cell.get("r")] = "f" if cell.find(NS + "f") is not None else cell.get("t", "n")
    return kinds


def main():
    path = sys.argv[1]
    # A file object, so that any file name is accepted (a save keeps the name the user chose).
    with open(path, "rb") as stream:
        workbook = openpyxl.load_workbook(stream)
    sheet = workbook.worksheets[0]
    kinds = stored_kinds(path, "xl/worksheets/sheet1.xml")
    print("sheets\t%d" % len(workbook.worksheets))
    # Only the cells the file holds: walking rows and columns would visit the whole used range.
    for coordinate, kind in kinds.items():
        value = sheet[coordinate].value
        if value is None:
            continue
        print("%s\t%s\t%s" % (coordinate, kind, str(value).encode("utf-8").hex()))


if __name__ == "__main__":
    main()
