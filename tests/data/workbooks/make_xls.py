#!/usr/bin/python3
"""Writes sample.xls, a small legacy binary workbook (BIFF8 in a compound document), with the
Python standard library only. Usage: make_xls.py PATH [--encrypted]
--encrypted marks the workbook as password-protected (RC4), as sample-encrypted.xls is."""
import struct
import sys


def record(kind, data=b""):
    return struct.pack("<HH", kind, len(data)) + data


def unicode_string(text, length_bytes=2):
    """XLUnicodeString: character count, a flag byte, then Latin-1 or UTF-16LE characters."""
    wide = any(ord(c) > 0xFF for c in text)
    count = struct.pack("<H" if length_bytes == 2 else "<B", len(text))
    return count + bytes([1 if wide else 0]) + text.encode("utf-16-le" if wide else "latin-1")


def xf(format_index, style=False):
    # font 0, number format, style or cell record (cell records inherit from style 0)
    flags = 0xFFF5 if style else 0x0000
    return record(0x00E0, struct.pack("<HHH", 0, format_index, flags) + bytes(14))


def workbook_stream(encrypted):
    strings = ["Serial", "Authorized number", "0987654321", "中文号码", "  spaced  ", "+4930"]
    # Cell formats: 15 = general, 16 = date (built-in 14), 17 = time (built-in 21),
    # 18 = own date format 164.
    globals_ = [
        record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0005, 0x0DBB, 0x07CC, 0, 6)),
    ]
    if encrypted:
        # FILEPASS: RC4 encryption, version 1.1, with salt and verifier
        globals_.append(record(0x002F, struct.pack("<HHH", 1, 1, 1) + bytes(48)))
    globals_ += [
        record(0x0042, struct.pack("<H", 1200)),
        record(0x0022, struct.pack("<H", 0)),
        record(0x0031, struct.pack("<HHHHHBBBB", 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) +
               unicode_string("Arial", 1)),
        record(0x041E, struct.pack("<H", 164) + unicode_string("yyyy-mm-dd")),
    ]
    globals_ += [xf(0, style=True) for _ in range(15)]
    globals_ += [xf(0), xf(14), xf(21), xf(164)]
    sst = struct.pack("<II", len(strings), len(strings)) + b"".join(
        unicode_string(s) for s in strings)
    globals_.append(record(0x00FC, sst))
    sheet_name = unicode_string("Numbers", 1)
    boundsheet_size = 4 + 4 + 2 + len(sheet_name)
    eof = record(0x000A)
    offset = sum(len(r) for r in globals_) + boundsheet_size + len(eof)
    globals_.append(record(0x0085, struct.pack("<IBB", offset, 0, 0) + sheet_name))
    globals_.append(eof)

    def label(row, col, index):
        return record(0x00FD, struct.pack("<HHHI", row, col, 15, index))

    def number(row, col, xf_index, value):
        return record(0x0203, struct.pack("<HHHd", row, col, xf_index, value))

    sheet = [
        record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0010, 0x0DBB, 0x07CC, 0, 6)),
        record(0x0200, struct.pack("<IIHHH", 0, 3, 0, 6, 0)),
        label(0, 0, 0), label(0, 1, 1),
        number(1, 0, 15, 1), label(1, 1, 2), number(1, 2, 16, 45429),
        number(1, 3, 17, 0.75), number(1, 4, 15, 3.5), label(1, 5, 3),
        label(2, 0, 4), label(2, 1, 5), number(2, 2, 18, 45657), number(2, 3, 15, 123456789012),
        record(0x000A),
    ]
    return b"".join(globals_) + b"".join(sheet)


def compound_document(stream):
    """A version 3 compound document whose only stream is small enough for the mini stream."""
    assert len(stream) < 4096
    free, end, fat_sector, no_stream = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFF
    mini = stream + bytes(-len(stream) % 64)
    mini_sectors = len(mini) // 64
    mini_stream = mini + bytes(-len(mini) % 512)
    data_sectors = len(mini_stream) // 512
    # sector 0: FAT, 1: directory, 2: mini FAT, 3...: the mini stream
    fat = [fat_sector, end, end] + [4 + i for i in range(data_sectors - 1)] + [end]
    fat += [free] * (128 - len(fat))
    minifat = [i + 1 for i in range(mini_sectors - 1)] + [end]
    minifat += [free] * (128 - len(minifat))

    def entry(name, kind, child, start, size):
        encoded = (name + "\0").encode("utf-16-le") if name else b""
        return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1) +
                struct.pack("<III", no_stream, no_stream, child) + bytes(16 + 4 + 16) +
                struct.pack("<III", start, size, 0))

    directory = (entry("Root Entry", 5, 1, 3, len(mini)) + entry("Workbook", 2, no_stream, 0, len(stream)) +
                 entry("", 0, no_stream, 0, 0) * 2)
    header = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(16) +
              struct.pack("<HHHHH", 0x003E, 3, 0xFFFE, 9, 6) + bytes(6) +
              struct.pack("<IIIIIIIII", 0, 1, 1, 0, 4096, 2, 1, end, 0) +
              struct.pack("<I", 0) + struct.pack("<I", free) * 108)
    return (header + struct.pack("<128I", *fat) + directory + struct.pack("<128I", *minifat) +
            mini_stream)


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(compound_document(workbook_stream("--encrypted" in sys.argv[2:])))
