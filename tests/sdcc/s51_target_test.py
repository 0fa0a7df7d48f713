#!/usr/bin/env python3
"""Runs the generated init function of every catalogue target, and the init
code of each plan of several UARTs, in the s51 simulator (Debian's
sdcc-ucsim) and reads the registers back: the baud rate worked out from them
with the data sheet's formula must be the rate the solver reported, exactly,
the serial port must be in the mode asked with reception and its interrupt
on, and the bits of shared registers the baud rate does not need must be as
they were before the call.

Usage: s51_target_test.py --sdcc SDCC --s51 S51 --work DIR CASE_WRITER

One program calls each case's function (or each plan's functions, in the
order asked) after two different presets of the registers, and copies the
registers before and after to external RAM, which the simulator dumps at the
end. The simulator is an 8052: it keeps what is written to addresses it does
not model (AUXR, CKCON, BRT, T2H, the STC UART2 to UART4, Timers 3 and 4, the
Nuvoton and WCH registers), and runs Timer 1 and Timer 2 as an 8052 does.

Breakpoints catch what the registers left behind cannot show:
- Timer 1 mode 0 is the 8051's 13-bit counter in the simulator, which starts
  counting from the STC chips' 16-bit reload at once, so TH1 and TL1 are read
  where the function sets TR1;
- the Nuvoton functions (Timer 3, and Timer 1, which clears T3CON.BRCK) must
  write T3CON, RL3 and RH3 on SFR page 0
  (SFRS read at each of those instructions, after a preset on page 1) and
  write SFRS with interrupts off (EA read there); a third preset with EA set
  and page 1 shows both restored.
"""

import argparse
import re
import subprocess
import sys
import time
from fractions import Fraction
from pathlib import Path

from target_cases import crystal_hertz, write_cases, write_plans

# The registers read back, by address; names shared by two chips' registers
# at one address go by the address (AUXR / CKCON, BRT / EIE1).
REGISTERS = {
    "SCON": 0x98, "TMOD": 0x89, "PCON": 0x87, "TCON": 0x88, "IE": 0xA8, "TH1": 0x8D, "TL1": 0x8B,
    "X8E": 0x8E, "X9C": 0x9C, "T2CON": 0xC8, "RCAP2L": 0xCA, "RCAP2H": 0xCB, "T2H": 0xD6, "T2L": 0xD7,
    "S2CON": 0x9A, "S3CON": 0xAC, "S4CON": 0x84, "IE2": 0xAF,
    "T4T3M": 0xD1, "T4H": 0xD2, "T4L": 0xD3, "T3H": 0xD4, "T3L": 0xD5,
    "SFRS": 0x91, "T3CON": 0xC4, "RL3": 0xC5, "RH3": 0xC6, "TA": 0xC7, "SCON_1": 0xF8,
    "SCON1": 0xC0, "SBAUD1": 0xC2, "T2MOD": 0xC9, "IE_EX": 0xE8,
    "U0CSR": 0x86, "U1BAUD": 0xFA, "U1UCR": 0xFB, "U1GCR": 0xFC,
    "SMOD1": 0x93, "SBCON1": 0x94, "SBRLL1": 0x95, "SBRLH1": 0x96, "SFRPAGE": 0xA7, "EIE2": 0xF3,
    "UART1FCN0": 0x9D, "UART1FCN1": 0xD8,
    "S0RELL": 0xAA, "S0RELH": 0xBA, "BDRCON": 0x9B, "X9E": 0x9E,
}
# The CC253x USARTs' registers at addresses named above for other chips
# (SWRU191F Table 2-1).
# The AT89C51RC2's BRL sits at the STC's S2CON (0x9A).
BRL = "S2CON"
# The nRF24LE1's ADCON sits at the EFM8BB3's UART1FCN1 (0xD8).
ADCON = "UART1FCN1"
# The ADuC841's T3FD sits at the EFM8BB3's UART1FCN0 (0x9D); its T3CON is 0x9E.
T3FD = "UART1FCN0"
CC_ALIASES = {"U0UCR": "T3CON", "U0BAUD": "SBAUD1", "U0GCR": "RL3", "IEN2": "S2CON", "IRCON2": "IE_EX",
              "U1CSR": "SCON_1"}
NAMES = list(REGISTERS)

# Two presets, so that every bit the code must keep is seen as 0 and as 1
# somewhere, and every bit it must set or clear starts the other way in one
# of them. No preset sets EA, a running timer's run bit, IDLE or PD (the
# simulator models those); T3R, T4R and TR3 are plain memory to it.
ONES = {"SCON": 0xFF, "TMOD": 0xDD, "PCON": 0x8C, "TCON": 0x05, "IE": 0x0A, "TH1": 0x55, "TL1": 0x55,
        "X8E": 0xFF, "X9C": 0x55, "T2CON": 0xC9, "RCAP2L": 0x55, "RCAP2H": 0x55, "T2H": 0x55, "T2L": 0x55,
        "S2CON": 0xFF, "S3CON": 0xFF, "S4CON": 0xFF, "IE2": 0xFF,
        "T4T3M": 0xFF, "T4H": 0x55, "T4L": 0x55, "T3H": 0x55, "T3L": 0x55,
        "SFRS": 0xFF, "T3CON": 0xFF, "RL3": 0x55, "RH3": 0x55, "TA": 0x55, "SCON_1": 0xFF,
        "SCON1": 0xFF, "SBAUD1": 0x55, "T2MOD": 0xFF, "IE_EX": 0xFF,
        "U0CSR": 0x3F, "U1BAUD": 0x55, "U1UCR": 0xFF, "U1GCR": 0xFF,
        "SMOD1": 0xFF, "SBCON1": 0xFF, "SBRLL1": 0x55, "SBRLH1": 0x55, "SFRPAGE": 0x10, "EIE2": 0xFE,
        "UART1FCN0": 0xFF, "UART1FCN1": 0x6E,
        "S0RELL": 0x55, "S0RELH": 0x55, "BDRCON": 0xFF, "X9E": 0xFF}
ZEROS = {name: (0xAA if value == 0x55 else 0x02 if name == "TMOD" else 0x00) for name, value in ONES.items()}
# For the Nuvoton Timer 3: a caller on SFR page 1 with interrupts enabled.
PAGE1_EA = dict(ZEROS, IE=0x80, SFRS=0x01)
PRESETS = (ONES, ZEROS, PAGE1_EA)


def nuvoton_timer1(uart):
    """The N76E003/MS51 UART0 on Timer 1: its function clears T3CON.BRCK."""
    return uart["clock"] == "ckcon-t1m" and not uart["target"].startswith("ds-")


def paged(uart):
    """Whether the function writes T3CON (and RL3, RH3) on SFR page 0."""
    return uart["generator"] == "n76-timer3" or nuvoton_timer1(uart)

# Bits the hardware itself sets while the timers run: overflow flags.
HARDWARE_BITS = {"TCON": 0xA0, "T2CON": 0xC0}

# Each serial port: its control register, the mode-1 and mode-3 values it
# must hold with reception on (bits the timer choice owns masked off), and
# its interrupt enable bit.
PORTS = {
    "classic": ("SCON", 0xFF, 0x50, 0xD0, "IE", 0x10),
    "silabs": ("SCON", 0xFF, 0x10, 0x90, "IE", 0x10),
    "stc-uart2": ("S2CON", 0xFF, 0x10, 0x90, "IE2", 0x01),
    "stc12-uart2": ("S2CON", 0xFF, 0x50, 0xD0, "IE2", 0x01),
    "stc-uart3": ("S3CON", 0xBF, 0x10, 0x90, "IE2", 0x08),
    "stc-uart4": ("S4CON", 0xBF, 0x10, 0x90, "IE2", 0x10),
    "n76-uart1": ("SCON_1", 0xFF, 0x50, 0xD0, "X9C", 0x01),
    "ch55x-uart1": ("SCON1", 0xDF, 0x10, 0x90, "IE_EX", 0x10),
    # UxCSR: MODE (UART) and RE; URXxIE in IEN0 (IE). Mode 3 is 8N2 there.
    "cc-usart0": ("U0CSR", 0xC0, 0xC0, 0xC0, "IE", 0x04),
    "cc-usart1": ("SCON_1", 0xC0, 0xC0, 0xC0, "IE", 0x08),
    # The EFM8BB3 UART1: SCON1 (at T2CON's address; REN, TBX clear), EIE2.ES1.
    "efm8-uart1": ("T2CON", 0xFF, 0x10, 0x10, "EIE2", 0x01),
}


def cc_usart(uart):
    """The CC253x USART's registers by their own names: (CSR, UCR, BAUD, GCR),
    the send interrupt's enable and flag bits in IEN2 and IRCON2, and its
    receive flag in TCON."""
    if uart["uart"] == "UART1":
        return ("SCON_1", "U1UCR", "U1BAUD", "U1GCR"), 0x08, 0x04, 0x80
    return ("U0CSR", CC_ALIASES["U0UCR"], CC_ALIASES["U0BAUD"], CC_ALIASES["U0GCR"]), 0x04, 0x02, 0x08


def port(uart):
    """Which serial port the UART is, from the chip's own name for it."""
    generator, name = uart["generator"], uart["uart"]
    if generator == "silabs-timer1":
        return "silabs"
    if generator == "ch55x-sbaud1":
        return "ch55x-uart1"
    if generator == "n76-timer3" and name == "UART1":
        return "n76-uart1"
    if generator == "cc-usart":
        return "cc-usart1" if name == "UART1" else "cc-usart0"
    if generator == "efm8-uart1":
        return "efm8-uart1"
    if generator == "stc12-brt" and name == "UART2":
        return "stc12-uart2"
    return {"UART2": "stc-uart2", "UART3": "stc-uart3", "UART4": "stc-uart4"}.get(name, "classic")


def changes(uart):
    """The bits the UART's function may change; every other watched bit must
    keep its preset value."""
    serial = port(uart)
    control, _, _, _, enable, bit = PORTS[serial]
    allowed = {control: 0xFF, enable: bit}
    first = serial == "classic"
    if uart["generator"] == "cc-usart":
        # UxCSR's MODE and RE; UxUCR, UxBAUD whole; UxGCR's ORDER and BAUD_E
        # (CPOL, CPHA kept); the send interrupt's enable and flag, the
        # receive flag.
        (csr, ucr, baud, gcr), enable_bit, flag_bit, rx_flag = cc_usart(uart)
        for name, bits in {csr: 0xC0, ucr: 0xFF, baud: 0xFF, gcr: 0x3F, CC_ALIASES["IEN2"]: enable_bit,
                           CC_ALIASES["IRCON2"]: flag_bit, "TCON": rx_flag, "IE": bit}.items():
            allowed[name] = bits
        return allowed
    generator = {
        "timer1-mode2": {"TMOD": 0xF0, "TH1": 0xFF, "TL1": 0xFF, "TCON": 0x40, "PCON": 0x80},
        "silabs-timer1": {"TMOD": 0xF0, "TH1": 0xFF, "TL1": 0xFF, "TCON": 0x40},
        "timer2-rcap": {"T2CON": 0x36, "RCAP2L": 0xFF, "RCAP2H": 0xFF},
        "stc15-timer2": {"X8E": 0x1D if first else 0x1C, "T2H": 0xFF, "T2L": 0xFF},
        "stc15-timer1-mode0": {"TMOD": 0xF0, "TH1": 0xFF, "TL1": 0xFF, "TCON": 0x40},
        "stc12-brt": {"X8E": 0x15, "X9C": 0xFF, "PCON": 0x80} if first else {"X8E": 0x1C, "X9C": 0xFF},
        "stc-timer3": {"T4T3M": 0x0E, "T3H": 0xFF, "T3L": 0xFF},
        "stc-timer4": {"T4T3M": 0xE0, "T4H": 0xFF, "T4L": 0xFF},
        "n76-timer3": {"T3CON": 0x2F if first else 0x0F, "RL3": 0xFF, "RH3": 0xFF, "TA": 0xFF,
                       **({"PCON": 0x80} if first else {})},
        "ch55x-sbaud1": {"SBAUD1": 0xFF},
        # SBCON1, the reload, SMOD1 and UART1FCN0 written whole; RIE and TIE.
        # SFRPAGE must come back as the caller left it.
        "efm8-uart1": {"SBCON1": 0xFF, "SBRLL1": 0xFF, "SBRLH1": 0xFF, "SMOD1": 0xFF, "UART1FCN0": 0xFF,
                       "UART1FCN1": 0x11},
        "nrf-s0rel": {ADCON: 0x80, "S0RELL": 0xFF, "S0RELH": 0xFF, "PCON": 0x80},
        "atmel-brg": {"BDRCON": 0x1E, BRL: 0xFF, "PCON": 0x80},
        # T3CON (bits 6..3 unused) and T3FD written whole.
        "aduc-t3": {"X9E": 0xFF, T3FD: 0xFF},
    }[uart["generator"]]
    clock = {
        "auxr-t1x12": {"X8E": 0x41},
        "ckcon-t1m": {"X8E": 0x10, **({"T3CON": 0x20, "TA": 0xFF} if nuvoton_timer1(uart) else {})},
        # Fsys/12 clears bT1_CLK alone; SYSCLK sets T1M alone.
        "t2mod-t1clk": {"T2MOD": 0x20 if uart["select"] == 0 else 0xA0},
        "ckcon-sca": {"X8E": 0x08 if uart["select"] == 4 else 0x0B},
    }.get(uart["clock"], {})
    for part in (generator, clock):
        for name, bits in part.items():
            allowed[name] = allowed.get(name, 0) | bits
    return allowed


def rate(uart, after, timer):
    """The baud rate the registers give, worked out with the data sheet's
    formula from the registers alone (and the clocks per cycle of a chip
    whose clock the function does not choose)."""
    f = crystal_hertz(uart["crystal"])
    generator, clock = uart["generator"], uart["clock"]
    smod = after["PCON"] >> 7
    if generator == "timer1-mode2":
        if clock == "fixed":
            clocks = uart["clocksPerCycle"]
        elif clock == "auxr-t1x12":
            clocks = 1 if after["X8E"] & 0x40 else 12
        elif clock == "ckcon-t1m":
            # T1M set: the Dallas timer counts f/4, the Nuvoton one Fsys.
            clocks = (4 if uart["target"].startswith("ds-") else 1) if after["X8E"] & 0x10 else 12
        else:  # t2mod-t1clk: bT1_CLK (bit 5), then bTMR_CLK (bit 7)
            clocks = 12 if not after["T2MOD"] & 0x20 else 1 if after["T2MOD"] & 0x80 else 4
        return Fraction(2 ** smod) * f / (32 * clocks * (256 - after["TH1"]))
    if generator == "silabs-timer1":
        clocks = 1 if after["X8E"] & 0x08 else {0: 12, 1: 4, 2: 48}[after["X8E"] & 0x03]
        return f / clocks / (2 * (256 - after["TH1"]))
    if generator == "timer2-rcap":
        # Timer 2 counts state times: f / 2 in 12-clock parts, f in 6-clock.
        state_clock = f * 6 / uart["clocksPerCycle"]
        return state_clock / (16 * (65536 - (after["RCAP2H"] << 8 | after["RCAP2L"])))
    if generator == "stc15-timer2":
        clocks = 1 if after["X8E"] & 0x04 else 12
        return f / clocks / (65536 - (after["T2H"] << 8 | after["T2L"])) / 4
    if generator == "stc-timer3":
        clocks = 1 if after["T4T3M"] & 0x02 else 12
        return f / clocks / (65536 - (after["T3H"] << 8 | after["T3L"])) / 4
    if generator == "stc-timer4":
        clocks = 1 if after["T4T3M"] & 0x20 else 12
        return f / clocks / (65536 - (after["T4H"] << 8 | after["T4L"])) / 4
    if generator == "stc15-timer1-mode0":
        low, high = timer
        clocks = 1 if after["X8E"] & 0x40 else 12
        return f / clocks / (65536 - (high << 8 | low)) / 4
    if generator == "n76-timer3":
        prescaler = 2 ** (after["T3CON"] & 0x07)
        count = 65536 - (after["RH3"] << 8 | after["RL3"])
        if uart["uart"] == "UART1":
            return f / (16 * prescaler * count)
        return Fraction(2 ** smod) * f / (32 * prescaler * count)
    if generator == "ch55x-sbaud1":
        return Fraction(2 ** (after["SCON1"] >> 5 & 1)) * f / (32 * (256 - after["SBAUD1"]))
    if generator == "efm8-uart1":
        # SYSCLK / (2 x prescaler x (65536 - SBRL1)), the prescaler by SBCON1.BPS.
        prescaler = (12, 4, 48, 1, 8, 16, 24, 32)[after["SBCON1"] & 0x07]
        return Fraction(f, 2 * prescaler * (65536 - (after["SBRLH1"] << 8 | after["SBRLL1"])))
    if generator == "atmel-brg":
        # 2^SMOD1 x FPER / (6^(1-SPD) x 32 x (256 - BRL)), FPER = f/2 in X1 mode.
        return Fraction(2 ** smod) * (f / 2) / ((1 if after["BDRCON"] & 0x02 else 6) * 32 * (256 - after[BRL]))
    if generator == "aduc-t3":
        # The ADuC841/842/843 data sheet: 2 x fcore / (2^(DIV-1) x (T3FD + 64)),
        # DIV in T3CON bits 2..0.
        div = after["X9E"] & 0x07
        return Fraction(2 * f) / (Fraction(2) ** (div - 1) * (after[T3FD] + 64))
    if generator == "nrf-s0rel":
        # 2^SMOD x f / (64 x (1024 - S0REL)), S0RELH holding bits 9..8.
        return Fraction(2 ** smod) * f / (64 * (1024 - ((after["S0RELH"] & 0x03) << 8 | after["S0RELL"])))
    if generator == "cc-usart":
        # SWRU191F 17.4: (256 + BAUD_M) x 2^BAUD_E x F / 2^28.
        (_, _, baud, gcr), _, _, _ = cc_usart(uart)
        return Fraction(f * (256 + after[baud]) * 2 ** (after[gcr] & 0x1F), 2 ** 28)
    # stc12-brt: UART1 doubles with PCON.SMOD, UART2 with AUXR.S2SMOD (bit 3).
    double = smod if uart["uart"] == "UART1" else after["X8E"] >> 3 & 1
    clocks = 1 if after["X8E"] & 0x04 else 12
    return Fraction(2 ** double) * f / (32 * clocks * (256 - after["X9C"]))


def generator_running(uart, after):
    """The bits that make the generator run and feed this UART."""
    generator, serial = uart["generator"], port(uart)
    if generator in ("timer1-mode2", "silabs-timer1"):
        ok = after["TMOD"] >> 4 == 0x2 and after["TCON"] & 0x40
        if nuvoton_timer1(uart) and after["T3CON"] & 0x20:
            return False  # BRCK=1 leaves UART0 on Timer 3
        return ok and (uart["clock"] != "auxr-t1x12" or not after["X8E"] & 0x01)
    if generator == "stc15-timer1-mode0":
        return after["TMOD"] >> 4 == 0x0 and after["TCON"] & 0x40 and not after["X8E"] & 0x01
    if generator == "timer2-rcap":
        return after["T2CON"] & 0x36 == 0x34
    if generator == "stc15-timer2":
        # UART1 through S1ST2; UART3 and UART4 with their timer bit clear.
        own = {"classic": ("X8E", 0x01, 0x01), "stc-uart3": ("S3CON", 0x40, 0), "stc-uart4": ("S4CON", 0x40, 0)}
        register, mask, value = own.get(serial, ("X8E", 0, 0))
        return after["X8E"] & 0x18 == 0x10 and after[register] & mask == value
    if generator == "stc-timer3":
        return after["T4T3M"] & 0x0C == 0x08 and after["S3CON"] & 0x40
    if generator == "stc-timer4":
        return after["T4T3M"] & 0xC0 == 0x80 and after["S4CON"] & 0x40
    if generator == "n76-timer3":
        return after["T3CON"] & 0x08 and (serial != "classic" or after["T3CON"] & 0x20)
    if generator == "ch55x-sbaud1":
        return True
    if generator == "efm8-uart1":
        # BREN on, 8 data bits (SDL = 11) with XBE in mode 3, no parity, one
        # stop bit; no FIFO request interrupts; RI and TI raise the interrupt.
        smod1 = 0x0E if uart["mode"] == 3 else 0x0C
        return (after["SBCON1"] & 0xF8 == 0x40 and after["SMOD1"] == smod1 and after["UART1FCN0"] == 0x00
                and after["UART1FCN1"] & 0x11 == 0x11)
    if generator == "nrf-s0rel":
        return after[ADCON] & 0x80  # BD: the UART on S0REL, not Timer 1
    if generator == "atmel-brg":
        return after["BDRCON"] & 0x1C == 0x1C  # BRR runs it, TBCK and RBCK take it
    if generator == "aduc-t3":
        # T3BAUDEN gives both directions Timer 3; the divider's step stays in
        # the 0 to 63 the data sheet's choice of DIV leaves it.
        return after["X9E"] & 0xF8 == 0x80 and after[T3FD] < 64
    if generator == "cc-usart":
        # 8 data bits, no parity, high stop bit, 2 stop bits (SPB) in mode 3's
        # 8N2; LSB first; both interrupt flags cleared, the send interrupt on.
        (_, ucr, _, gcr), enable_bit, flag_bit, rx_flag = cc_usart(uart)
        frame = 0x06 if uart["mode"] == 3 else 0x02
        return (after[ucr] & 0x7F == frame and not after[gcr] & 0x20 and after[CC_ALIASES["IEN2"]] & enable_bit
                and not after[CC_ALIASES["IRCON2"]] & flag_bit and not after["TCON"] & rx_flag)
    # stc12-brt: BRTR, and for UART1 S1BRS.
    return after["X8E"] & 0x10 and (serial != "classic" or after["X8E"] & 0x01)


def uart_problems(uart, after, timer):
    problems = []
    control, mask, mode1, mode3, enable, bit = PORTS[port(uart)]
    wanted = mode3 if uart["mode"] == 3 else mode1
    if after[control] & mask != wanted or not after[enable] & bit:
        problems.append(f"{uart['function']}: {control} 0x{after[control]:02X} {enable} 0x{after[enable]:02X}")
    if not generator_running(uart, after):
        problems.append(f"{uart['function']}: the generator is not set to feed {uart['uart']}: "
                        + " ".join(f"{n}=0x{after[n]:02X}" for n in NAMES))
    found = rate(uart, after, timer)
    reported = Fraction(uart["numerator"], uart["denominator"])
    if found != reported:
        problems.append(f"{uart['function']}: rate read back {float(found):.4f} != reported {float(reported):.4f}")
    return problems


def kept_bits_problems(uarts, before, after):
    allowed = {}
    for uart in uarts:
        for name, bits in changes(uart).items():
            allowed[name] = allowed.get(name, 0) | bits
    problems = []
    for name in NAMES:
        keep = 0xFF & ~allowed.get(name, 0) & ~HARDWARE_BITS.get(name, 0)
        if (before[name] ^ after[name]) & keep:
            problems.append(f"{name} 0x{before[name]:02X} -> 0x{after[name]:02X} changes kept bits 0x{keep:02X}")
    return problems


class Unit:
    """One call of the test program: a case's function, or every function of
    a plan in the order asked, with the UARTs it sets up."""

    def __init__(self, stem, source, uarts):
        self.stem, self.source, self.uarts = stem, source, uarts
        self.presets = [0, 1, 2] if any(paged(uart) for uart in uarts) else [0, 1]

    def name(self, uart):
        return f"{uart['function']}_{self.stem}"

    def describe(self):
        first = self.uarts[0]
        if len(self.uarts) == 1:
            return f"{first['target']} {first['crystal']} {first['baud']} mode {first['mode']}"
        return f"{self.stem} ({' '.join(uart['target'] for uart in self.uarts)}) mode {first['mode']}"


def units_of(cases, plans):
    """Per target, up to three cases in mode 1 with different clock choices or
    doubling bits and one in mode 3; and every plan."""
    units, taken = [], {}
    for case in cases:
        key = (case["target"], case["mode"])
        seen = taken.setdefault(key, set())
        setting = (case["clockIndex"], case["smod"])
        if len(seen) < (3 if case["mode"] == 1 else 1) and setting not in seen:
            seen.add(setting)
            units.append(Unit(case["stem"], f"{case['stem']}_gbk.c", [case]))
    for plan in plans:
        uarts = [dict(uart, crystal=plan["crystal"], mode=plan["mode"]) for uart in plan["uarts"]]
        units.append(Unit(plan["stem"], f"{plan['stem']}_gbk.c", uarts))
    return units


BLOCK = 2 * len(NAMES)    # registers before and after one call
RESULTS = 0x1000          # where in external RAM the program keeps them, clear of the compiler's own


def rows_of(units):
    return [(unit, preset) for unit in units for preset in unit.presets]


def harness(units):
    lines = ["#include <8051.h>"]
    lines += [f"__sfr __at (0x{address:02X}) SIM_{name};" for name, address in REGISTERS.items()]
    for unit in units:
        # The EFM8BB3's SCON1 (0xC8) is another register than the CH55x's (0xC0).
        efm8 = any(uart["generator"] == "efm8-uart1" for uart in unit.uarts)
        lines += [f"#define {uart['function']} {unit.name(uart)}" for uart in unit.uarts]
        lines += ["#define SCON1 EFM8_SCON1"] if efm8 else []
        # The ADuC's T3CON (0x9E) is another register than the Nuvoton's (0xC4).
        aduc = any(uart["generator"] == "aduc-t3" for uart in unit.uarts)
        lines += ["#define T3CON ADUC_T3CON"] if aduc else []
        lines.append(f'#include "{unit.source}"')
        lines += [f"#undef {uart['function']}" for uart in unit.uarts]
        lines += ["#undef SCON1"] if efm8 else []
        lines += ["#undef T3CON"] if aduc else []
    rows = rows_of(units)
    lines.append(f"__xdata __at (0x{RESULTS:04X}) unsigned char results[{len(rows)}][{BLOCK}];")
    for number, preset in enumerate(PRESETS):
        body = " ".join(f"SIM_{name} = 0x{value:02X};" for name, value in preset.items())
        lines.append(f"static void Preset{number}(void) {{ {body} }}")
    reads = " ".join(f"out[{index}] = SIM_{name};" for index, name in enumerate(NAMES))
    lines.append(f"static void Record(unsigned char __xdata *out) {{ {reads} }}")
    lines.append("void Done(void) {}")
    lines.append("void main(void)\n{")
    for row, (unit, preset) in enumerate(rows):
        calls = " ".join(f"{unit.name(uart)}();" for uart in unit.uarts)
        lines.append(f"\tPreset{preset}(); Record(results[{row}]); {calls} Record(results[{row}] + {len(NAMES)});")
        lines.append("\tEA = 0; TR1 = 0; T2CON &= 0xFB;")  # stop the timers before the next preset
    lines.append("\tDone();\n\twhile (1) {\n\t}\n}")
    return "\n".join(lines) + "\n"


def build(sdcc, work, units):
    (work / "sim_main.c").write_text(harness(units), encoding="ascii")
    run = subprocess.run([sdcc, "-mmcs51", "--Werror", "sim_main.c"],
                         cwd=work, capture_output=True, text=True, errors="replace", check=False)
    if run.returncode != 0:
        raise RuntimeError(f"sim_main.c does not build:\n{(run.stdout + run.stderr)[:3000]}")


INSTRUCTION = re.compile(r"^\s+([0-9A-F]{6}) [0-9A-F ]+\[\s*\d+\]\s+\d+\s+(\w+)\t(\S+)", re.MULTILINE)


def function_stops(listing, label, uart):
    """The breakpoints in one function, in address order: (address, kind)."""
    start = listing.find(f"{label}:")
    end = listing.find("\tret", start)
    stops = []
    generator, on_page0 = uart["generator"], paged(uart)
    for match in INSTRUCTION.finditer(listing, start, end):
        address, operation, operands = int(match.group(1), 16), match.group(2), match.group(3)
        if generator == "stc15-timer1-mode0" and operation == "setb" and operands == "_TR1":
            stops.append((address, "timer1"))
        if on_page0 and re.search(r"_(T3CON|RL3|RH3)\b", operands):
            stops.append((address, "page0"))
        if on_page0 and operation == "anl" and operands.startswith("_SFRS,"):
            stops.append((address, "to-page0"))
        if on_page0 and operation == "orl" and operands.startswith("_SFRS,"):
            stops.append((address, "to-page1"))
    return stops


def expected_stops(units, listing):
    """Every stop the run makes before Done, in order: (row, UART index,
    address, kind)."""
    per_function = {}
    for unit in units:
        for uart in unit.uarts:
            per_function[unit.name(uart)] = function_stops(listing, f"_{unit.name(uart)}", uart)
    stops = []
    for row, (unit, preset) in enumerate(rows_of(units)):
        for index, uart in enumerate(unit.uarts):
            for address, kind in per_function[unit.name(uart)]:
                # The switch back to page 1 runs only for a caller on page 1.
                if kind != "to-page1" or PRESETS[preset]["SFRS"] & 0x01:
                    stops.append((row, index, address, kind))
    return stops


# What each stop reads: TL1, TH0, TH1; SFRS; IE.
DUMPED_RANGES = ((0x8B, 0x8D), (0x91, 0x91), (0xA8, 0xA8))
DUMPED = [address for first, last in DUMPED_RANGES for address in range(first, last + 1)]
SFR_DUMP = re.compile(r"^0x([0-9a-f]{2})(?: \w+:)?\s+(?:0b[01]{8} 0x([0-9a-f]{2})|([0-9a-f]{2}))", re.MULTILINE)


def simulate(s51, work, stops, done, size):
    """Runs the program to Done, stopping at every breakpoint; returns the
    external RAM and, per stop, its address and the SFRs read there."""
    addresses = sorted({address for _, _, address, _ in stops})
    commands = ['load "sim_main.ihx"'] + [f"break 0x{address:04x}" for address in addresses]
    commands.append(f"break 0x{done:04x}")
    commands += (["run"] + [f"dump sfr 0x{first:02x} 0x{last:02x}" for first, last in DUMPED_RANGES]) * len(stops)
    commands += ["run", f"dump xram 0x{RESULTS:04x} 0x{RESULTS + size - 1:04x}", "quit"]
    # Commands read from a file run one after the other; typed on standard
    # input, their echo is mixed into the output.
    (work / "sim_commands.txt").write_text("\n".join(commands) + "\n", encoding="ascii")
    run = subprocess.run([s51, "-t", "8052", "-b", "-C", "sim_commands.txt"], cwd=work, stdin=subprocess.DEVNULL,
                         capture_output=True, text=True, errors="replace", timeout=120, check=False)
    output = run.stdout
    addresses = [int(address, 16) for address in re.findall(r"^Stop at 0x([0-9a-f]+):", output, re.MULTILINE)]
    dumps = [(int(a, 16), int(named or plain, 16)) for a, named, plain in SFR_DUMP.findall(output)]
    per_stop = len(DUMPED)
    seen = [(address, dict(dumps[i * per_stop:(i + 1) * per_stop])) for i, address in enumerate(addresses)]
    memory = {}
    for address, data in re.findall(r"^0x([0-9a-f]{4})\s+((?:[0-9a-f]{2} )+)", output, re.MULTILINE):
        for offset, byte in enumerate(data.split()):
            memory[int(address, 16) - RESULTS + offset] = int(byte, 16)
    if len(memory) < size:
        raise RuntimeError(f"the simulator gave {len(memory)} of {size} bytes:\n{output[-3000:]}")
    return memory, seen


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--s51", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("case_writer")
    options = parser.parse_args()

    started = time.monotonic()
    cases = write_cases(options.case_writer, options.work)
    units = units_of(cases, write_plans(options.work))
    build(options.sdcc, options.work, units)
    listing = (options.work / "sim_main.rst").read_text(errors="replace")
    symbols = (options.work / "sim_main.map").read_text(errors="replace")
    done = int(re.search(r"C:\s+([0-9A-F]{8})\s+_Done\b", symbols).group(1), 16)
    stops = expected_stops(units, listing)
    rows = rows_of(units)
    memory, seen = simulate(options.s51, options.work, stops, done, len(rows) * BLOCK)

    problems = []
    if len(seen) != len(stops) + 1 or [address for address, _ in seen[:-1]] != [s[2] for s in stops]:
        problems.append(f"{len(seen)} stops at other places than the {len(stops) + 1} expected")
    timers = {}
    for (row, index, _, kind), (_, sfrs) in zip(stops, seen):
        unit, preset = rows[row]
        where = f"{unit.describe()} preset {preset}: {unit.uarts[index]['function']}"
        if kind == "timer1":
            timers[(row, index)] = (sfrs.get(0x8B, 0), sfrs.get(0x8D, 0))
        elif kind == "page0" and sfrs.get(0x91, 1) & 0x01:
            problems.append(f"{where}: Timer 3 written with SFRS 0x{sfrs.get(0x91, 0):02X}, not on page 0")
        elif kind in ("to-page0", "to-page1") and sfrs.get(0xA8, 0x80) & 0x80:
            problems.append(f"{where}: SFRS written with interrupts on (IE 0x{sfrs.get(0xA8, 0):02X})")
    for row, (unit, preset) in enumerate(rows):
        values = [memory[row * BLOCK + i] for i in range(BLOCK)]
        before = dict(zip(NAMES, values[:len(NAMES)]))
        after = dict(zip(NAMES, values[len(NAMES):]))
        # Every watched address must hold what the preset wrote: memory to
        # the simulator, or a register it keeps as written.
        found = [f"{name} reads 0x{before[name]:02X} after the preset wrote 0x{value:02X}"
                 for name, value in PRESETS[preset].items()
                 if (before[name] ^ value) & ~HARDWARE_BITS.get(name, 0) & 0xFF]
        found += kept_bits_problems(unit.uarts, before, after)
        for index, uart in enumerate(unit.uarts):
            found += uart_problems(uart, after, timers.get((row, index), (0, 0)))
        problems += [f"{unit.describe()} preset {preset}: {problem}" for problem in found]
    targets = len({uart["target"] for unit in units for uart in unit.uarts})
    plans = sum(1 for unit in units if len(unit.uarts) > 1)
    print(f"{len(units) - plans} cases and {plans} plans of {targets} targets, {len(rows)} calls, "
          f"{len(stops)} breakpoint stops, {time.monotonic() - started:.1f} s")
    for problem in problems[:30]:
        print(problem)
    return 1 if problems or targets == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
