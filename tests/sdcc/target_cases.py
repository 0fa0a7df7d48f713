"""The cases the target tests share: the generated files and what the solver
chose for each (written by the target_code_cases program), the plans of
several UARTs, and the crystal text read as an exact number of hertz."""

import json
import re
import shutil
import subprocess
from fractions import Fraction
from pathlib import Path


def write_cases(program, work):
    """Runs the case writer into a fresh WORK; returns the manifest's cases."""
    work = Path(work)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    subprocess.run([program, str(work)], check=True)
    lines = (work / "cases.jsonl").read_text(encoding="ascii").splitlines()
    return [json.loads(line) for line in lines]


def write_plans(work):
    """The plans the case writer wrote beside the cases: each with its stem,
    family, crystal, UART mode and its UARTs' settings in the order asked."""
    lines = (Path(work) / "plans.jsonl").read_text(encoding="ascii").splitlines()
    return [json.loads(line) for line in lines]


def crystal_hertz(text):
    """The crystal as the user wrote it, in hertz, exactly: the number, then
    any M for megahertz, otherwise any K for kilohertz."""
    number = re.match(r"[0-9.]+", text).group(0)
    upper = text.upper()
    scale = 1_000_000 if "M" in upper else 1_000 if "K" in upper else 1
    return Fraction(number) * scale
