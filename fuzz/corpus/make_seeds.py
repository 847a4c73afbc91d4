#!/usr/bin/env python3
"""Writes the committed seed corpus of the three fuzz targets.

texte_en_nombre: first byte picks the separator ('0' -> '.', '1' -> ','),
the rest is a display text, taken from the reading rules' own examples.
aller_retour: ten bytes of an x87 extended value (little-endian significand,
then sign and exponent), then '1' for a comma separator.
touches: sessions in the byte language of fuzz/key_script.h.
The golden transcripts add more `touches` seeds at fuzz time (scripts/fuzz.sh).
The control names come from the program itself, so build it first:
  cmake --build --preset release --target tallix-keys
  python3 fuzz/corpus/make_seeds.py [PATH/TO/tallix-keys]
"""
import os
import struct
import subprocess
import sys
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

TEXTS = [
    " 12 ", "+5", "-0", ",", "-,", ",5", "5,", "1E5", "1e5", "1E+5", "1E0005", "5E", "5E-",
    "1E500", "1E-4999", "1E5000", "1E-5000", "1,2E4932", "1,1E4932", "", "-", "E5", "--5",
    "- 5", "1 000", "1.5", "1,5,", "INF", "NAN", "123456789012345678,9",
    "12345678901234567890123", "0,000000000000000001", "1,18973149535723177E4932",
    "3,64519953188247460E-4951", "9999999999999999999", "1E-27", "0,1",
]

TALLIX_KEYS = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build/release/tools/tallix-keys")
# The control names in the order of tallix::Control: click i is byte 0x80 + i.
CONTROLS = subprocess.run([TALLIX_KEYS, "--list-controls"], check=True, capture_output=True,
                          text=True).stdout.split()


def click(name):
    return bytes([0x80 + CONTROLS.index(name)])


SQRT, SQUARE, POWER, NEG = (click(n) for n in (
    "RacineCarreeButton", "PuissanceCarreeButton", "PuissanceCubeButton", "ButtonNeg"))
PI, PHI = click("NombrePiButton"), click("NombrePhiButton")
ALL, TWO, FOUR = (click(n) for n in (
    "ButtonToutesDecimales", "ButtonLimiterADeuxDecimales", "ButtonLimiterAQuatreDecimales"))


def paste(text):
    data = text.encode("utf-8") if isinstance(text, str) else text
    return b"P" + bytes([len(data)]) + data


SESSIONS = [
    b"2+3*4=", b"200+10%=", b"200-10%=", b"200*10%=", b"200+%=", b"50%", b"200+0%",
    b"9" + SQRT, b"16" + SQRT + SQRT, b"3" + SQUARE + SQUARE, b"5+9" + SQRT, b"4" + NEG + SQRT,
    b"2" + POWER + b"10=", b"7==", b"2+3==", b"1/0=", b"5+++", b"5+*2=", b"7=3%",
    b"2+3=" + NEG + b"*2=", TWO + b"10/3=*3=", TWO + b"10/3*3=", b"2+3=7" + FOUR + b"1",
    b"0" + POWER + b"2" + NEG + b"==", b" " + TWO, b"12,5+" + paste("abc") + b"=7",
    paste("0042") + b"+1\r", paste("") + b"C", b"B" + paste("1") + b"C" + b"B" + b"C",
    b"S\x01" + b"1.5+" + PI + b"=" + PHI + b"*", b"S\x04" + b"2,5" + ALL + b"*3=",
    b"9" * 30 + SQUARE * 12, b"1E" + paste("1E4000") + SQUARE, b"\b\b5\b-" + NEG,
    paste(b"\xff\xfe0\xc3") + b"+", b"X3xx=", b"12,5C V+1=" + b"V" + TWO + b"C" + b"V*",
]


def extended_bytes(value):
    """The ten bytes of the nearest x87 extended value to a Fraction."""
    if value == 0:
        return bytes(10)
    sign = 0x8000 if value < 0 else 0
    value = abs(value)
    exponent = value.numerator.bit_length() - value.denominator.bit_length()
    while Fraction(2) ** exponent > value:
        exponent -= 1
    while Fraction(2) ** (exponent + 1) <= value:
        exponent += 1
    biased = exponent + 16383
    if biased <= 0:  # subnormal: fixed scale 2^-16445
        significand = round(value * 2 ** 16445)
        return struct.pack("<QH", significand, sign)
    significand = round(value / Fraction(2) ** exponent * 2 ** 63)
    if significand >= 2 ** 64:
        significand //= 2
        biased += 1
    return struct.pack("<QH", significand, sign | biased)


VALUES = [
    Fraction(1), Fraction(-5), Fraction(1, 8), Fraction(-1, 8), Fraction(1, 10), Fraction(2675, 1000),
    Fraction(99995, 1000), Fraction(1, 3), Fraction(2, 3), Fraction(10, 3), Fraction(100, 7),
    Fraction(123456789012345678), Fraction(9999999999999999999, 10), Fraction(15 * 10 ** 18),
    Fraction(10 ** 20), Fraction(10 ** 100), Fraction(5, 10 ** 19), Fraction(1, 10 ** 19),
    Fraction(123, 10 ** 12), Fraction(1, 2 ** 16382), Fraction(1, 2 ** 16445),
]
RAW = [
    struct.pack("<QH", 2 ** 64 - 1, 0x7FFE),   # the largest finite value
    struct.pack("<QH", 2 ** 64 - 1, 0xFFFE),
    struct.pack("<QH", 2 ** 63 - 1, 0x0000),   # the largest subnormal
    struct.pack("<QH", 2 ** 63, 0x0001),       # the smallest normal
    bytes(8) + b"\x00\x80",                    # negative zero
]


def write(folder, name, data):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


def main():
    for i, text in enumerate(TEXTS):
        write("texte_en_nombre", f"comma-{i:02d}", b"1" + text.encode())
        write("texte_en_nombre", f"point-{i:02d}", b"0" + text.replace(",", ".").encode())
    for i, value in enumerate(VALUES):
        write("aller_retour", f"value-{i:02d}", extended_bytes(value) + b"1")
    for i, raw in enumerate(RAW):
        write("aller_retour", f"raw-{i:02d}", raw + b"0")
    for i, session in enumerate(SESSIONS):
        write("touches", f"session-{i:02d}", session)


if __name__ == "__main__":
    main()
