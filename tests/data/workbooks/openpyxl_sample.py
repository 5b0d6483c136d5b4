# Writes a workbook as openpyxl does: strings shared, numbers and dates as numbers with their
# number formats, booleans, in either date system. Usage: openpyxl_sample.py PATH 1900|1904
import sys, datetime, openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904
wb = openpyxl.Workbook()
if sys.argv[2] == "1904":
    wb.epoch = CALENDAR_MAC_1904
ws = wb.active
ws.title = "Numbers"
ws.append(["Serial", 42, 3.5, 1234567.891, -0.25, 123456789012, True, "  padded  "])
ws.append([datetime.date(2024, 5, 17), datetime.time(8, 0, 0),
           datetime.datetime(2024, 5, 17, 8, 30, 15), datetime.date(2024, 12, 31),
           0.5, 45000, False, "0987654321"])
ws["D2"].number_format = 'yyyy"年"m"月"d"日"'
ws["E2"].number_format = "[h]:mm"
ws["F2"].number_format = "0.00"
ws["A3"] = datetime.datetime(2024, 5, 17)
ws["A3"].number_format = "dd/mm/yyyy hh:mm"
ws["B3"] = 0
ws["B3"].number_format = "yyyy/mm/dd"
ws["C5"] = "after a gap"
wb.create_sheet("Second")["A1"] = "second sheet"
wb.save(sys.argv[1])
