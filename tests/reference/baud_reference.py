#!/usr/bin/env python3
"""An exact, independent model of Tesmirol's baud-rate calculation.

The C++ engine must produce the same bits as this model for every input. The
model works on exact rationals where the 8051 figures are decimal texts, and
on IEEE doubles (Python floats) where the calculation works in double; every
rounding to float32 and every truncation to a 32-bit integer is done here by
hand, so that nothing depends on a C library.

Modes:
  --self-check             assert the known results (12MHz 9600 gives -18.63 ...)
  --write-tables DIR       write preset_pairs.tsv and typed_pairs.tsv into DIR
  --check-tables DIR OUT   regenerate the tables into OUT and compare with DIR
  --check-cli EXE          run EXE --json for every preset pair and every
                           known and typed case, its --table of the presets
                           and its --reload look-ups, and compare with the model
"""

from __future__ import annotations

import argparse
import dataclasses
import json
import math
import struct
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor
from decimal import Decimal, Context, ROUND_HALF_UP
from fractions import Fraction
from pathlib import Path
from typing import Optional

REPO_ROOT = Path(__file__).resolve().parents[2]
PRESETS_FILE = REPO_ROOT / "res" / "presets.txt"

INT32_MIN = -(2**31)
INT32_MAX = 2**31 - 1

# ---------------------------------------------------------------------------
# float32 and int32 helpers


def F32FromBits(bits: int) -> float:
    """The float32 with the given bit pattern, widened to a Python float."""
    return struct.unpack("<f", struct.pack("<I", bits))[0]


def F32Bits(value: float) -> int:
    """The bit pattern of a value that is already exactly a float32."""
    return struct.unpack("<I", struct.pack("<f", value))[0]


def F64Bits(value: float) -> int:
    """The bit pattern of a double."""
    return struct.unpack("<Q", struct.pack("<d", value))[0]


def RoundRationalToF32(value: Fraction, negative: bool = False) -> float:
    """The float32 nearest to an exact rational, ties to even.

    Subnormals are produced as such, and a magnitude at or beyond the halfway
    point between the largest float32 and 2^128 becomes infinity. `negative`
    gives the sign of a zero (the rational itself carries no -0).
    """
    if value == 0:
        return -0.0 if negative else 0.0
    sign = -1.0 if value < 0 else 1.0
    magnitude = abs(value)
    # exponent: 2^exponent <= magnitude < 2^(exponent+1)
    exponent = magnitude.numerator.bit_length() - magnitude.denominator.bit_length()
    if magnitude < Fraction(2) ** exponent:
        exponent -= 1
    elif magnitude >= Fraction(2) ** (exponent + 1):
        exponent += 1
    quantumExponent = max(exponent, -126) - 23  # 24-bit significand, subnormals below 2^-126
    scaled = magnitude / Fraction(2) ** quantumExponent
    whole = scaled.numerator // scaled.denominator
    rest = scaled - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and whole % 2 == 1):
        whole += 1
    rounded = Fraction(whole) * Fraction(2) ** quantumExponent
    if rounded >= Fraction(2) ** 128:
        return sign * math.inf
    return sign * float(rounded)  # exact: every float32 is a double


def RoundDoubleToF32(value: float) -> float:
    """A double rounded to float32 (nearest, ties to even), as C's (float)x does."""
    if math.isnan(value) or math.isinf(value):
        return value
    return RoundRationalToF32(Fraction(value), negative=math.copysign(1.0, value) < 0)


def IntToF32(value: int) -> float:
    """An integer rounded to float32 (nearest, ties to even)."""
    return RoundRationalToF32(Fraction(value))


def TruncToInt32(value: float) -> Optional[int]:
    """A double truncated toward zero, or None when the result has no int32."""
    if math.isnan(value) or math.isinf(value):
        return None
    truncated = math.trunc(value)
    if truncated < INT32_MIN or truncated > INT32_MAX:
        return None
    return truncated


def FitsInt32(value: int) -> bool:
    return INT32_MIN <= value <= INT32_MAX


# The three reciprocals the calculation uses, as float32 constants.
RECIPROCAL_192 = F32FromBits(0x3BAAAAAB)
RECIPROCAL_98304 = F32FromBits(0x372AAAAB)
RECIPROCAL_384 = F32FromBits(0x3B2AAAAB)

# ---------------------------------------------------------------------------
# Reading the user's texts (byte strings in GBK)

WHITE_SPACE = b" \t\n\v\f\r"


def IsLeadByte(byte: int) -> bool:
    """A GBK byte that begins a double-byte character."""
    return 0x81 <= byte <= 0xFE


def ReadLeadingInt(text: bytes) -> int:
    """atoi: white space, sign, digits; the digits wrap modulo 2^32."""
    position = 0
    while position < len(text) and text[position] in WHITE_SPACE:
        position += 1
    negative = False
    if position < len(text) and text[position] in b"+-":
        negative = text[position] == ord("-")
        position += 1
    value = 0
    while position < len(text) and ord("0") <= text[position] <= ord("9"):
        value = (value * 10 + (text[position] - ord("0"))) % 2**32
        position += 1
    if negative:
        value = (-value) % 2**32
    return value - 2**32 if value >= 2**31 else value


def ReadLeadingFloat(text: bytes) -> Optional[float]:
    """sscanf("%f"): the float32 nearest to the decimal number at the start.

    White space, an optional sign, digits with at most one decimal point, and
    after at least one digit an optional exponent (E or e, optional sign,
    digits; an E without digits is not part of the number). None without a
    digit.
    """
    position = 0
    while position < len(text) and text[position] in WHITE_SPACE:
        position += 1
    negative = False
    if position < len(text) and text[position] in b"+-":
        negative = text[position] == ord("-")
        position += 1
    integerDigits = b""
    fractionDigits = b""
    while position < len(text) and text[position : position + 1].isdigit():
        integerDigits += text[position : position + 1]
        position += 1
    if position < len(text) and text[position] == ord("."):
        position += 1
        while position < len(text) and text[position : position + 1].isdigit():
            fractionDigits += text[position : position + 1]
            position += 1
    if not integerDigits and not fractionDigits:
        return None
    exponent = 0
    if position < len(text) and text[position] in b"Ee":
        look = position + 1
        exponentNegative = False
        if look < len(text) and text[look] in b"+-":
            exponentNegative = text[look] == ord("-")
            look += 1
        exponentDigits = b""
        while look < len(text) and text[look : look + 1].isdigit():
            exponentDigits += text[look : look + 1]
            look += 1
        if exponentDigits:
            stripped = exponentDigits.lstrip(b"0") or b"0"
            # Beyond 10^12 the result is infinity or zero whatever the digits.
            exponent = int(stripped) if len(stripped) <= 12 else 10**12
            if exponentNegative:
                exponent = -exponent
    mantissaDigits = (integerDigits + fractionDigits).lstrip(b"0")
    if not mantissaDigits:
        return -0.0 if negative else 0.0
    decimalExponent = exponent - len(fractionDigits)
    # Magnitude is below 10^(len + decimalExponent) and at least a tenth of it.
    magnitudeOrder = len(mantissaDigits) + decimalExponent
    if magnitudeOrder > 40:  # at least 10^39, beyond the largest float32
        return -math.inf if negative else math.inf
    if magnitudeOrder < -50:  # below 10^-50, under half the smallest subnormal
        return -0.0 if negative else 0.0
    value = Fraction(int(mantissaDigits)) * Fraction(10) ** decimalExponent
    return RoundRationalToF32(-value if negative else value, negative)


def UpperCase(text: bytes) -> bytes:
    """ASCII a-z to A-Z; a double-byte character is copied unchanged."""
    result = bytearray()
    position = 0
    while position < len(text):
        byte = text[position]
        if IsLeadByte(byte) and position + 1 < len(text):
            result += text[position : position + 2]
            position += 2
            continue
        result.append(byte - 32 if ord("a") <= byte <= ord("z") else byte)
        position += 1
    return bytes(result)


def ContainsCharacter(text: bytes, character: int) -> bool:
    """Whether a single-byte character occurs, never matching a trail byte."""
    position = 0
    while position < len(text):
        byte = text[position]
        if IsLeadByte(byte) and position + 1 < len(text):
            position += 2
            continue
        if byte == character:
            return True
        position += 1
    return False


# ---------------------------------------------------------------------------
# The calculation

TOO_LOW, TOO_HIGH, OK = "TooLow", "TooHigh", "Ok"


@dataclasses.dataclass
class Mode:
    reload: int
    divisor: int
    achieved: int
    deviation: float
    deviationAbs: float
    status: str


@dataclasses.dataclass
class Calculation:
    crystalText: bytes
    baudText: bytes
    baud: int
    frequency: float  # a float32 value
    crystalHz: int
    minBps: int
    maxBps: int
    baudF: float
    baud384: float
    modes: list[Mode]


def FinishMode(reload: int, achievedQuotient: float) -> Optional[tuple[int, int]]:
    """reload -> divisor, achieved; None where a value has no int32."""
    divisor = 256 - reload
    if divisor == 0 or not FitsInt32(divisor):
        return None
    achieved = TruncToInt32(achievedQuotient / float(divisor))
    if achieved is None:
        return None
    return divisor, achieved


def ReadFrequency(crystalText: bytes) -> Optional[float]:
    """The float32 frequency in hertz of an upper-cased crystal text, or None."""
    frequency = ReadLeadingFloat(crystalText)
    if frequency is None:
        return None
    if ContainsCharacter(crystalText, ord("M")):
        return RoundDoubleToF32(frequency * 1000000.0)
    if ContainsCharacter(crystalText, ord("K")):
        return RoundDoubleToF32(frequency * 1000.0)
    return frequency


def CalculateBaud(crystalText: bytes, baudText: bytes) -> Optional[Calculation]:
    """Both SMOD settings for the two texts, or None for no result."""
    if not crystalText or not baudText:
        return None
    baud = ReadLeadingInt(baudText)
    crystalText = UpperCase(crystalText)
    frequency = ReadFrequency(crystalText)
    if frequency is None:
        return None
    crystalHz = TruncToInt32(frequency)
    if crystalHz is None:
        return None
    maxBps = TruncToInt32(frequency * RECIPROCAL_192)
    minBps = TruncToInt32(frequency * RECIPROCAL_98304)
    if maxBps is None or minBps is None or baud == 0:
        return None
    baudF = IntToF32(baud)
    baud384 = IntToF32(baud * 384)  # the exact product, rounded once

    # SMOD = 0: everything from the float32 frequency.
    reload0 = TruncToInt32(256.0 - frequency / baud384)
    mode0 = None if reload0 is None else FinishMode(reload0, frequency * RECIPROCAL_384)
    # SMOD = 1: the reload from the integer crystalHz (doubled without
    # overflow), the rate from the float32 frequency.
    reload1 = TruncToInt32(256.0 - float(crystalHz * 2) / baud384)
    mode1 = None if reload1 is None else FinishMode(reload1, (frequency * 2.0) * RECIPROCAL_384)
    if mode0 is None or mode1 is None:
        return None

    modes = []
    for reload, (divisor, achieved) in ((reload0, mode0), (reload1, mode1)):
        if achieved < minBps:
            status = TOO_LOW
        elif achieved > maxBps:
            status = TOO_HIGH
        else:
            status = OK
        deviation = (float(achieved - baud) * 100.0) / baudF
        deviationAbs = abs(RoundDoubleToF32(deviation))
        modes.append(Mode(reload, divisor, achieved, deviation, deviationAbs, status))
    return Calculation(
        crystalText, baudText, baud, frequency, crystalHz, minBps, maxBps, baudF, baud384, modes
    )


def ReloadRates(crystalText: bytes, reload: int) -> Optional[tuple[int, list[int]]]:
    """crystalHz and the rates with SMOD = 0 and 1 that a reload of 0 to 255
    gives, by the formulas of CalculateBaud; None where it has no result."""
    if not crystalText or not 0 <= reload <= 255:
        return None
    frequency = ReadFrequency(UpperCase(crystalText))
    crystalHz = None if frequency is None else TruncToInt32(frequency)
    if crystalHz is None:
        return None
    rates = [
        TruncToInt32(quotient / float(256 - reload))
        for quotient in (frequency * RECIPROCAL_384, (frequency * 2.0) * RECIPROCAL_384)
    ]
    return crystalHz, rates


def IsOutOfTolerance(mode: Mode) -> bool:
    return mode.deviationAbs > 1.0


def FormatDeviation(value: float) -> str:
    """Two decimals on decimal digits: 17 significant, then 2 decimals, half up."""
    if value == 0.0:
        return "0.00"
    exact = Decimal(abs(value))  # the exact binary value, written out in decimal
    seventeen = Context(prec=17, rounding=ROUND_HALF_UP).plus(exact)
    twoDecimals = seventeen.quantize(
        Decimal("0.01"), rounding=ROUND_HALF_UP, context=Context(prec=100)
    )
    text = f"{twoDecimals:f}"
    return "-" + text if value < 0 else text


def ReloadText(reload: int) -> str:
    return f"0x{reload % 2**32:X}"


NOTHING, WARNING, CODE = "Nothing", "Warning", "Code"
PCON_CLEAR_SMOD = "PCON &= 0x7F"
PCON_SET_SMOD = "PCON |= 0x80"


def GenerationChoice(calc: Calculation) -> tuple[str, Optional[str], Optional[str]]:
    """(outcome, reload text, PCON statement) of the code generation."""
    mode0, mode1 = calc.modes
    if mode0.status != OK and mode1.status != OK:
        return NOTHING, None, None
    if IsOutOfTolerance(mode0) and IsOutOfTolerance(mode1):
        return WARNING, None, None
    if not IsOutOfTolerance(mode0):
        return CODE, ReloadText(mode0.reload), PCON_CLEAR_SMOD
    return CODE, ReloadText(mode1.reload), PCON_SET_SMOD


# ---------------------------------------------------------------------------
# Tables

TABLE_COLUMNS = [
    "crystal", "baud", "crystalText", "baudValue",
    "crystalHz", "minBps", "maxBps", "frequencyBits",
    *[
        f"mode{smod}.{field}"
        for smod in (0, 1)
        for field in (
            "reload", "divisor", "achieved", "deviationBits", "deviationAbsBits",
            "status", "deviationText",
        )
    ],
    "outcome", "reloadText", "pcon",
]  # fmt: skip
NO_RESULT = "none"


def EscapeText(text: bytes) -> str:
    """A text as one TSV field: backslash escapes for \\, controls and non-ASCII."""
    names = {0x5C: "\\\\", 0x09: "\\t", 0x0A: "\\n", 0x0B: "\\v", 0x0C: "\\f", 0x0D: "\\r"}
    out = []
    for byte in text:
        if byte in names:
            out.append(names[byte])
        elif 0x20 <= byte <= 0x7E:
            out.append(chr(byte))
        else:
            out.append(f"\\x{byte:02X}")
    return "".join(out)


def TableRow(crystal: bytes, baud: bytes) -> list[str]:
    """The fields of one table line for a pair of texts."""
    calc = CalculateBaud(crystal, baud)
    fields = [EscapeText(crystal), EscapeText(baud)]
    if calc is None:
        return fields + [NO_RESULT]
    fields += [
        EscapeText(calc.crystalText), str(calc.baud),
        str(calc.crystalHz), str(calc.minBps), str(calc.maxBps), f"{F32Bits(calc.frequency):08X}",
    ]  # fmt: skip
    for mode in calc.modes:
        fields += [
            str(mode.reload), str(mode.divisor), str(mode.achieved),
            f"{F64Bits(mode.deviation):016X}", f"{F64Bits(mode.deviationAbs):016X}",
            mode.status, FormatDeviation(mode.deviation),
        ]  # fmt: skip
    outcome, reloadText, pcon = GenerationChoice(calc)
    fields += [outcome, reloadText or "-", pcon or "-"]
    return fields


def ReadPresets(path: Path = PRESETS_FILE) -> tuple[list[bytes], list[bytes]]:
    """The crystal and baud preset lists, in order, duplicates kept."""
    lists: dict[str, list[bytes]] = {}
    current = None
    for line in path.read_bytes().split(b"\n"):
        line = line.rstrip(b"\r")
        if not line.strip() or line.startswith(b"#"):
            continue
        if line.startswith(b"[") and line.endswith(b"]"):
            current = line[1:-1].decode("ascii")
            lists[current] = []
        elif current is not None:
            lists[current].append(line)
    return lists["crystal"], lists["baud"]


# Typed inputs beyond the presets: white space, signs, wrap-around, exponents,
# units, GBK trail bytes, and every way of getting no result.
TYPED_CASES: list[tuple[str, bytes, bytes]] = [
    ("baud after white space", b"11.0592MHz", b" \t\n\v\f\r9600"),
    ("baud with plus sign", b"11.0592MHz", b"+9600"),
    ("baud with a plus and a minus", b"11.0592MHz", b"+-9600"),
    ("baud wraps to 1", b"11.0592MHz", b"4294967297"),
    ("baud wraps past 32 bits", b"11.0592MHz", b"99999999999"),
    ("baud times 384 above 32 bits", b"11.0592MHz", b"6000000"),
    ("baud largest int32", b"24MHz", b"2147483647"),
    ("negative baud", b"12MHz", b"-300"),
    ("negative baud of one", b"1MHz", b"-1"),
    ("baud wraps to int32 minimum", b"11.0592MHz", b"2147483648"),
    ("baud wraps to zero", b"11.0592MHz", b"4294967296"),
    ("baud zero", b"12MHz", b"0"),
    ("baud of letters", b"12MHz", b"abc"),
    ("baud of white space", b"12MHz", b" "),
    ("empty crystal", b"", b"9600"),
    ("empty baud", b"12MHz", b""),
    ("crystal of white space", b" ", b"9600"),
    ("crystal sign only", b"-MHz", b"9600"),
    ("crystal point only", b".MHz", b"9600"),
    ("crystal letter first", b"M12", b"9600"),
    ("crystal after white space", b" \t12MHz", b"9600"),
    ("crystal with plus sign", b"+12MHz", b"9600"),
    ("crystal point first", b".5MHz", b"9600"),
    ("crystal point last", b"12.MHz", b"9600"),
    ("crystal two points", b"1.2.3MHz", b"9600"),
    ("crystal exponent", b"1.2E1MHz", b"9600"),
    ("crystal lower-case exponent", b"1.2e1mhz", b"9600"),
    ("crystal negative exponent", b"12000E-3MHz", b"9600"),
    ("crystal exponent without digits", b"12E+MHz", b"9600"),
    ("crystal E only, in hertz", b"12E", b"9600"),
    ("crystal exponent after point", b"1.E7", b"9600"),
    ("unit K lower case", b"455khz", b"1200"),
    ("unit M found after K", b"12KM", b"9600"),
    ("unit M anywhere", b"12 xxM", b"9600"),
    ("unit K found after upper-casing", b"455 ok", b"1200"),
    ("unit K too large for hertz", b"11059200 Ok", b"9600"),
    ("hertz without unit", b"11059200", b"9600"),
    ("decimal on a float32 tie", b"16777217", b"9600"),
    ("decimal on a float32 tie, odd", b"16777219", b"9600"),
    ("decimal just above a float32 tie", b"16777217.000000001", b"9600"),
    ("many digits", b"11.059200000000000000000000000000000001MHz", b"9600"),
    ("negative crystal", b"-12MHz", b"9600"),
    ("negative crystal, negative baud", b"-12MHz", b"-9600"),
    ("negative crystal beyond -1 per reload", b"-1000000", b"1"),
    ("opposite signs near zero", b"-100", b"9600"),
    ("crystal zero", b"0MHz", b"9600"),
    ("crystal negative zero", b"-0MHz", b"9600"),
    ("crystal below one hertz", b"0.5", b"9600"),
    ("crystal below one hertz, negative", b"-0.5", b"9600"),
    ("crystal subnormal", b"1E-40MHz", b"9600"),
    ("crystal underflows to zero", b"1E-50", b"9600"),
    ("crystal largest below 2^31 Hz", b"2147483520", b"9600"),
    ("crystal rounds to 2^31 Hz", b"2147483647", b"9600"),
    ("crystal 2^31 Hz", b"2147.483648MHz", b"9600"),
    ("crystal far too large", b"1E30MHz", b"9600"),
    ("crystal infinite", b"1E39", b"9600"),
    ("crystal huge exponent", b"1E99999999999999999999", b"9600"),
    ("crystal most negative", b"-2147483648", b"9600"),
    ("GBK trail byte is not M", b"12\x81\x4D", b"9600"),
    ("GBK trail byte is not K", b"12\x81\x4B", b"9600"),
    ("GBK trail byte is not upper-cased", b"12\x81\x6D", b"9600"),
    ("GBK trail byte kept, m after it upper-cased", b"12\x81\x6Dm", b"9600"),
    ("GBK character before the unit", b"12\xB0\xA1mhz", b"9600"),
]  # fmt: skip


def TableText(rows: list[list[str]], columns: list[str], title: str) -> str:
    lines = [
        f"# {title}; written by tests/reference/baud_reference.py --write-tables, do not edit.",
        "# " + "\t".join(columns),
    ]
    lines += ["\t".join(row) for row in rows]
    return "\n".join(lines) + "\n"


def PresetTable() -> str:
    crystals, bauds = ReadPresets()
    rows = [TableRow(crystal, baud) for crystal in crystals for baud in bauds]
    return TableText(rows, TABLE_COLUMNS, "Every pair of the preset lists")


def TypedTable() -> str:
    rows = [[name] + TableRow(crystal, baud) for name, crystal, baud in TYPED_CASES]
    return TableText(rows, ["name"] + TABLE_COLUMNS, "Typed inputs beyond the presets")


TABLES = {"preset_pairs.tsv": PresetTable, "typed_pairs.tsv": TypedTable}


def WriteTables(directory: Path) -> None:
    directory.mkdir(parents=True, exist_ok=True)
    for name, make in TABLES.items():
        (directory / name).write_bytes(make().encode("ascii"))


def CheckTables(committed: Path, output: Path) -> int:
    WriteTables(output)
    failures = 0
    for name in TABLES:
        fresh = (output / name).read_bytes().split(b"\n")
        # A checkout may have turned the committed table's line ends into CR LF.
        stored = (committed / name).read_bytes().replace(b"\r\n", b"\n").split(b"\n")
        if fresh == stored:
            continue
        failures += 1
        print(f"{committed / name} differs from the model's {output / name}")
        for number, (old, new) in enumerate(zip(stored, fresh), start=1):
            if old != new:
                print(f"  first difference at line {number}:\n    stored: {old!r}\n    model:  {new!r}")
                break
        else:
            print(f"  line counts differ: stored {len(stored)}, model {len(fresh)}")
    return 1 if failures else 0


# ---------------------------------------------------------------------------
# Known results


def Expect(name: str, calc: Optional[Calculation], **expected) -> None:
    """Asserts fields of a calculation; modes given as mode0=/mode1= dicts."""
    assert calc is not None, f"{name}: no result"
    for key, want in expected.items():
        if key in ("mode0", "mode1"):
            mode = calc.modes[int(key[-1])]
            for field, value in want.items():
                if field == "text":
                    got = FormatDeviation(mode.deviation)
                elif field == "outOfTolerance":
                    got = IsOutOfTolerance(mode)
                else:
                    got = getattr(mode, field)
                assert got == value, f"{name}: {key}.{field} is {got!r}, expected {value!r}"
        elif key == "generation":
            got = GenerationChoice(calc)
            assert got == want, f"{name}: generation is {got!r}, expected {want!r}"
        else:
            got = getattr(calc, key)
            assert got == want, f"{name}: {key} is {got!r}, expected {want!r}"


def M(reload: int, achieved: int, text: str, status: str = OK, **more) -> dict:
    return dict(reload=reload, achieved=achieved, text=text, status=status, **more)


def SelfCheck() -> None:
    # The model relies on Python floats being IEEE doubles rounded once per
    # operation: an 80-bit intermediate would round 1e16 + 2.9999 to ...004.
    assert sys.float_info.mant_dig == 53
    assert 1e16 + 2.9999 == 10000000000000002.0

    # The three constants are the float32 nearest to the exact reciprocals.
    for bits, denominator in ((0x3BAAAAAB, 192), (0x372AAAAB, 98304), (0x3B2AAAAB, 384)):
        assert F32Bits(RoundRationalToF32(Fraction(1, denominator))) == bits
    # Rounding to float32: ties to even, subnormals, overflow.
    assert RoundRationalToF32(Fraction(16777217)) == 16777216.0
    assert RoundRationalToF32(Fraction(16777219)) == 16777220.0
    assert F32Bits(RoundRationalToF32(Fraction(1, 2**149))) == 1
    assert RoundRationalToF32(Fraction(1, 2**150)) == 0.0
    assert F32Bits(RoundRationalToF32(Fraction(3, 2**150))) == 2  # 1.5 ulp: tie to even
    assert F32Bits(RoundRationalToF32(Fraction(5, 2**150))) == 2  # 2.5 ulp: tie to even
    assert RoundRationalToF32(Fraction(2**128 - 2**103)) == math.inf
    assert F32Bits(RoundRationalToF32(Fraction(2**128 - 2**103 - 1))) == 0x7F7FFFFF
    assert RoundDoubleToF32(1e300) == math.inf and RoundDoubleToF32(-1e300) == -math.inf
    assert math.copysign(1.0, RoundDoubleToF32(-1e-300)) < 0

    # Reading numbers.
    assert ReadLeadingInt(b"9600abc") == 9600
    assert ReadLeadingInt(b"4294967296") == 0
    assert ReadLeadingInt(b"2147483648") == INT32_MIN
    assert ReadLeadingInt(b"-2147483648") == INT32_MIN
    assert ReadLeadingInt(b"\v\f-12x") == -12
    assert ReadLeadingInt(b"abc") == 0 and ReadLeadingInt(b"+-1") == 0
    assert ReadLeadingFloat(b"11.0592MHZ") == RoundRationalToF32(Fraction("11.0592"))
    assert ReadLeadingFloat(b"16777217.000000001") == 16777218.0  # not via a double
    assert ReadLeadingFloat(b"12E") == 12.0 and ReadLeadingFloat(b"12E-") == 12.0
    assert ReadLeadingFloat(b"1E-45") == F32FromBits(1)
    assert ReadLeadingFloat(b"MHZ") is None and ReadLeadingFloat(b"-.E5") is None
    assert ReadLeadingFloat(b"INF") is None and ReadLeadingFloat(b"NAN") is None
    assert ReadLeadingFloat(b"0X10") == 0.0

    # Two-decimal texts.
    for value, text in (
        (-18.625, "-18.63"), (-0.125, "-0.13"), (-10.715, "-10.72"), (-0.00347, "-0.00"),
        (0.0, "0.00"), (-0.0, "0.00"), (1.005, "1.00"), (0.995, "1.00"), (-100.0, "-100.00"),
        (0.125, "0.13"), (2.675, "2.67"),  # 2.675 is 2.67499999999999982... as a double
        (1e-300, "0.00"), (-1e-300, "-0.00"), (123456789012.345, "123456789012.35"),
    ):  # fmt: skip
        assert FormatDeviation(value) == text, (value, FormatDeviation(value), text)

    # The known results of the calculation and of the code generation.
    C = lambda crystal, baud: CalculateBaud(crystal.encode(), baud.encode())  # noqa: E731
    Expect("11.0592MHz 9600", C("11.0592MHz", "9600"),
           crystalText=b"11.0592MHZ", crystalHz=11059200, minBps=112, maxBps=57600,
           mode0=M(0xFD, 9600, "0.00"), mode1=M(0xFA, 9600, "0.00"),
           generation=(CODE, "0xFD", PCON_CLEAR_SMOD))
    Expect("11.0592MHz 19200", C("11.0592MHz", "19200"),
           mode0=M(0xFE, 14400, "-25.00"), mode1=M(0xFD, 19200, "0.00"),
           generation=(CODE, "0xFD", PCON_SET_SMOD))
    Expect("11.0592MHz 110", C("11.0592MHz", "110"),
           mode0=M(-5, 110, "0.00", TOO_LOW), mode1=M(-267, 110, "0.00", TOO_LOW),
           generation=(NOTHING, None, None))
    Expect("11.0592MHz 57600", C("11.0592MHz", "57600"),
           mode0=M(0xFF, 28800, "-50.00"), mode1=M(0xFF, 57600, "0.00"))
    Expect("12MHz 9600", C("12MHz", "9600"), minBps=122, maxBps=62500,
           mode0=M(0xFC, 7812, "-18.63", deviation=-18.625),
           mode1=M(0xF9, 8928, "-7.00"), generation=(WARNING, None, None))
    Expect("12MHz 300", C("12MHz", "300"),
           mode0=M(0x97, 297, "-1.00", deviationAbs=1.0, outOfTolerance=False),
           mode1=M(0x2F, 299, "-0.33"), generation=(CODE, "0x97", PCON_CLEAR_SMOD))
    Expect("1.840896MHz 4800", C("1.840896MHz", "4800"), minBps=18, maxBps=9588,
           mode0=M(0xFF, 4794, "-0.13", deviation=-0.125), mode1=M(0xFE, 4794, "-0.13"))
    Expect("6MHz 110", C("6MHz", "110"), minBps=61, maxBps=31250,
           mode0=M(0x71, 109, "-0.91"), mode1=M(-28, 110, "0.00", divisor=284),
           generation=(CODE, "0x71", PCON_CLEAR_SMOD))
    Expect("24MHz 20000", C("24MHz", "20000"), minBps=244, maxBps=125000,
           mode0=M(0xFC, 15625, "-21.88"), mode1=M(0xF9, 17857, "-10.72", deviation=-10.715))
    Expect("22.1184MHz 115200", C("22.1184MHz", "115200"), minBps=225, maxBps=115200,
           mode0=M(0xFF, 57600, "-50.00"), mode1=M(0xFF, 115200, "0.00"))
    Expect("32.768KHz 9600", C("32.768KHz", "9600"), minBps=0, maxBps=170,
           mode0=M(0xFF, 85, "-99.11"), mode1=M(0xFF, 170, "-98.23"))
    Expect("11.0592 9600", C("11.0592", "9600"), crystalHz=11, minBps=0, maxBps=0,
           mode0=M(0xFF, 0, "-100.00"), mode1=M(0xFF, 0, "-100.00"))
    lower = C("11.0592mhz", "9600")
    Expect("11.0592mhz 9600", lower, crystalText=b"11.0592MHZ")
    assert lower.modes == C("11.0592MHz", "9600").modes
    suffixed = C("11.0592MHz", "9600abc")
    Expect("11.0592MHz 9600abc", suffixed, baudText=b"9600abc", baud=9600)
    assert suffixed.modes == C("11.0592MHz", "9600").modes
    assert C("MHz", "9600") is None
    assert C("", "9600") is None and C("12MHz", "") is None
    Expect("1964MHz 921600", C("1964MHz", "921600"),
           crystalHz=1964000000, minBps=19978, maxBps=10229166,
           mode0=dict(achieved=852430, text="-7.51"), mode1=dict(achieved=852430, text="-7.51"))
    Expect("24MHz 1200", C("24MHz", "1200"),
           mode0=dict(text="-1.75"), mode1=dict(text="-0.83"),
           generation=(CODE, "0x97", PCON_SET_SMOD))
    Expect("1880MHz 57600", C("1880MHz", "57600"),
           mode0=dict(achieved=57598, text="-0.00", outOfTolerance=False),
           mode1=dict(achieved=57598, text="-0.00", outOfTolerance=False))
    negative = C("11.0592MHz", "-9600")
    Expect("11.0592MHz -9600", negative,
           mode0=dict(achieved=-9600, status=TOO_LOW, text="0.00"),
           mode1=dict(achieved=-9600, status=TOO_LOW, text="0.00"),
           generation=(NOTHING, None, None))
    assert F64Bits(negative.modes[0].deviation) == 0x8000000000000000  # a negative zero
    # The cases left open: a divisor of zero, a baud rate of 0, too large a crystal.
    for crystal, baud in (("0MHz", "9600"), ("0.5", "9600"), ("-100", "9600"),
                          ("12MHz", "abc"), ("12MHz", "0"), ("2147483648", "9600"),
                          ("1E39", "9600"), ("11.0592MHz", "4294967296")):  # fmt: skip
        assert C(crystal, baud) is None, (crystal, baud)
    assert C("2147483520", "9600").crystalHz == 2147483520
    print("self-check passed")


# ---------------------------------------------------------------------------
# The command line's JSON, held to the model


class Number(str):
    """A JSON number kept as its text, so doubles and -0 compare exactly."""


WARNING_TEXT = "生成的波特率存在偏差，不建议使用该方案！"


def CompareJson(calc: Optional[Calculation], exitCode: int, stdout: str) -> list[str]:
    """The differences between the CLI's JSON and the model, as readable lines."""
    try:
        data = json.loads(stdout, parse_int=Number, parse_float=Number)
    except json.JSONDecodeError as error:
        return [f"output is not JSON ({error}): {stdout[:200]!r}"]
    if calc is None:
        problems = [] if data is None else ["expected null (no result)"]
        if exitCode != 1:
            problems.append(f"exit code {exitCode}, expected 1")
        return problems
    if data is None:
        return ["null (no result), expected a result"]
    problems = []
    if exitCode != 0:
        problems.append(f"exit code {exitCode}, expected 0")

    def Check(path: str, got, want) -> None:
        if got != want:
            problems.append(f"{path}: {got!r}, expected {want!r}")

    def Int(value):
        return int(value) if isinstance(value, Number) and value.lstrip("-").isdigit() else value

    def DoubleBits(value):
        return f"{F64Bits(float(value)):016X}" if isinstance(value, Number) else value

    def Float32Bits(value):
        if not isinstance(value, Number):
            return value
        exact = Fraction(value)
        return f"{F32Bits(RoundRationalToF32(exact, value.startswith('-'))):08X}"

    Check("crystalText", data.get("crystalText"), calc.crystalText.decode("latin-1"))
    Check("baudText", data.get("baudText"), calc.baudText.decode("latin-1"))
    for field in ("baud", "crystalHz", "minBps", "maxBps"):
        Check(field, Int(data.get(field)), getattr(calc, field))
    Check("frequency", Float32Bits(data.get("frequency")), f"{F32Bits(calc.frequency):08X}")
    modes = data.get("modes")
    if not isinstance(modes, list) or len(modes) != 2:
        return problems + [f"modes: {modes!r}"]
    for smod, (got, want) in enumerate(zip(modes, calc.modes)):
        Check(f"modes[{smod}].smod", Int(got.get("smod")), smod)
        for field in ("reload", "divisor", "achieved"):
            Check(f"modes[{smod}].{field}", Int(got.get(field)), getattr(want, field))
        for field in ("deviation", "deviationAbs"):
            Check(f"modes[{smod}].{field}", DoubleBits(got.get(field)),
                  f"{F64Bits(getattr(want, field)):016X}")  # fmt: skip
        Check(f"modes[{smod}].deviationText", got.get("deviationText"), FormatDeviation(want.deviation))
        Check(f"modes[{smod}].status", got.get("status"), want.status)
        Check(f"modes[{smod}].outOfTolerance", got.get("outOfTolerance"), IsOutOfTolerance(want))
    outcome, reloadText, pcon = GenerationChoice(calc)
    Check("outcome", data.get("outcome"), outcome)
    output = data.get("output")
    if outcome == NOTHING:
        if output not in (None, ""):
            problems.append(f"output: {output[:80]!r}, expected nothing")
    elif outcome == WARNING:
        Check("output", output, WARNING_TEXT)
    else:
        lines = (output or "").split("\r\n")
        wanted = {
            "TH1": f"\tTH1 = {reloadText};",
            "TL1": f"\tTL1 = {reloadText};",
            "PCON": f"\t{pcon};",
        }
        for name, line in wanted.items():
            if line not in lines:
                problems.append(f"output: no line {line!r} ({name})")
        if len(lines) < 3 or calc.crystalText.decode("latin-1") not in lines[2]:
            problems.append("output: line 3 lacks the crystal text")
    return problems


def CompareTableRow(row: dict, calc: Optional[Calculation]) -> list[str]:
    """The differences between one row of the CLI's JSON table and the model."""
    if calc is None:
        return [] if row["outcome"] is None else ["a result where the model has none"]
    problems = []
    if row["crystalHz"] != calc.crystalHz:
        problems.append(f"crystalHz {row['crystalHz']}, expected {calc.crystalHz}")
    for smod, (got, want) in enumerate(zip(row["modes"], calc.modes)):
        wanted = {
            "reload": want.reload, "achieved": want.achieved, "status": want.status,
            "deviationText": FormatDeviation(want.deviation), "reloadText": ReloadText(want.reload),
            "outOfTolerance": IsOutOfTolerance(want),
        }  # fmt: skip
        for field, value in wanted.items():
            if got[field] != value:
                problems.append(f"SMOD={smod} {field} {got[field]!r}, expected {value!r}")
        if F64Bits(float(got["deviation"])) != F64Bits(want.deviation):
            problems.append(f"SMOD={smod} deviation {got['deviation']!r}, expected {want.deviation!r}")
    outcome, _, pcon = GenerationChoice(calc)
    chosen = None if outcome != CODE else (0 if pcon == PCON_CLEAR_SMOD else 1)
    if (row["outcome"], row["chosenSmod"]) != (outcome, chosen):
        problems.append(f"outcome {row['outcome']}/{row['chosenSmod']}, expected {outcome}/{chosen}")
    return problems


def CheckCliTable(executable: str, crystals: list[bytes], bauds: list[bytes], limit: int) -> int:
    """Runs the CLI's full preset table once, as JSON, and holds every row to
    the model; returns the number of rows that differ."""
    run = subprocess.run(
        [executable, "--table", "--format", "json"],
        capture_output=True, text=True, encoding="utf-8", check=False,
    )  # fmt: skip
    rows = json.loads(run.stdout) if run.returncode == 0 else []
    pairs = [(crystal, baud) for crystal in crystals for baud in bauds]
    if len(rows) != len(pairs):
        print(f"--table: status {run.returncode}, {len(rows)} rows for {len(pairs)} pairs")
        return 1
    failures = 0
    for (crystal, baud), row in zip(pairs, rows):
        problems = [f"row names {row['crystal']}/{row['baud']}"] if (
            row["crystal"].encode(), row["baud"].encode()) != (crystal, baud) else []
        problems += CompareTableRow(row, CalculateBaud(crystal, baud))
        if problems:
            failures += 1
            if failures <= limit:
                print(f"--table {crystal.decode()!r} {baud.decode()!r}: {'; '.join(problems)}")
    print(f"{len(rows)} table rows checked, {failures} differ from the model")
    return failures


def CheckCliReload(executable: str, crystals: list[bytes], limit: int) -> int:
    """Runs --reload for every crystal preset (each with another reload, and
    the ends 0 and 255 for a few) and typed crystals; returns the number of
    runs that differ from the model."""
    cases = [(crystal, (index * 37 + 11) % 256) for index, crystal in enumerate(crystals)]
    cases += [(crystal, reload) for crystal in crystals[:8] for reload in (0, 255)]
    cases += [(b"-12MHz", 0xFD), (b"0MHz", 0xFF), (b"11.0592", 0xFF), (b"MHz", 0xFD), (b"3000MHz", 0xFD)]

    def Run(case: tuple[bytes, int]) -> subprocess.CompletedProcess:
        crystal, reload = case
        return subprocess.run(
            [executable, "--json", "--reload", str(reload), "--", crystal.decode("ascii")],
            capture_output=True, text=True, encoding="utf-8", check=False,
        )  # fmt: skip

    with ThreadPoolExecutor(max_workers=2) as pool:
        runs = list(pool.map(Run, cases))
    failures = 0
    for (crystal, reload), run in zip(cases, runs):
        expected = ReloadRates(crystal, reload)
        data = json.loads(run.stdout) if run.stdout else "no output"
        if expected is None:
            got, want = (run.returncode, data), (1, None)
        else:
            got = (run.returncode, data["crystalHz"], [mode["achieved"] for mode in data["modes"]])
            want = (0, expected[0], expected[1])
        if got != want:
            failures += 1
            if failures <= limit:
                print(f"--reload {reload} {crystal.decode()!r}: {got}, expected {want}")
    print(f"{len(cases)} reload look-ups checked, {failures} differ from the model")
    return failures


def CheckCli(executable: str, limit: int) -> int:
    """Runs the CLI for every preset pair and every listed case."""
    crystals, bauds = ReadPresets()
    pairs = [(crystal, baud) for crystal in crystals for baud in bauds]
    known = [
        ("11.0592mhz", "9600"), ("11.0592MHz", "9600abc"), ("11.0592", "9600"),
        ("1.840896MHz", "4800"), ("24MHz", "20000"), ("MHz", "9600"), ("11.0592MHz", "-9600"),
    ]  # fmt: skip
    pairs += [(crystal.encode(), baud.encode()) for crystal, baud in known]
    # Texts on a command line are UTF-8 without NUL: only the ASCII cases fit.
    pairs += [(c, b) for _, c, b in TYPED_CASES if (c + b).isascii()]

    def Run(pair: tuple[bytes, bytes]) -> subprocess.CompletedProcess:
        crystal, baud = pair
        return subprocess.run(
            # After "--" a text such as -MHz is a value, not an option.
            [executable, "--json", "--", crystal.decode("ascii"), baud.decode("ascii")],
            capture_output=True, text=True, encoding="utf-8", check=False,
        )  # fmt: skip

    failures = 0
    with ThreadPoolExecutor(max_workers=2) as pool:
        runs = list(pool.map(Run, pairs))
    for (crystal, baud), run in zip(pairs, runs):
        problems = CompareJson(CalculateBaud(crystal, baud), run.returncode, run.stdout)
        if problems:
            failures += 1
            if failures <= limit:
                print(f"{crystal.decode()!r} {baud.decode()!r}:")
                for problem in problems:
                    print(f"  {problem}")
                if run.stderr:
                    print(f"  stderr: {run.stderr.strip()[:300]}")
    print(f"{len(pairs)} pairs checked, {failures} differ from the model")
    failures += CheckCliTable(executable, crystals, bauds, limit)
    failures += CheckCliReload(executable, crystals, limit)
    return 1 if failures else 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--self-check", action="store_true")
    group.add_argument("--write-tables", metavar="DIR", type=Path)
    group.add_argument("--check-tables", nargs=2, metavar=("DIR", "OUT"), type=Path)
    group.add_argument("--check-cli", metavar="EXE")
    parser.add_argument("--limit", type=int, default=20, help="differences to print at most")
    args = parser.parse_args()
    if args.self_check:
        SelfCheck()
        return 0
    if args.write_tables:
        WriteTables(args.write_tables)
        return 0
    if args.check_tables:
        return CheckTables(*args.check_tables)
    return CheckCli(args.check_cli, args.limit)


if __name__ == "__main__":
    sys.exit(main())
