#pragma once
// The text below the options in tesmirol-cli --help: the inputs, the code,
// the tables, examples and the exit statuses.

#include <string_view>

namespace tesmirol::cli {

inline constexpr std::string_view kFooter =
    "CRYSTAL is a number with M (MHz) or K (kHz) anywhere in the text, otherwise hertz\n"
    "(11.0592MHz, 32.768KHz; 11.0592 alone is 11 Hz). Left out, CRYSTAL is 11.0592MHz\n"
    "and BAUD 9600, as in the dialog. Arguments are UTF-8. A value that starts with a\n"
    "minus sign (-9600) is a value, not an option; after -- every argument is a value.\n"
    "\n"
    "The generated code is SIO_Init for the setting the dialog would choose: SMOD=0\n"
    "when its deviation is within 1 %, otherwise SMOD=1. When neither is within 1 %\n"
    "(a warning) or the rate is out of the crystal's range (nothing), --code and -o\n"
    "write nothing and end with status 1.\n"
    "\n"
    "--table takes CRYSTAL and BAUD too; a value left out or given as \"all\" runs down\n"
    "that preset list (--list-presets shows them). The text table colours deviations\n"
    "blue within 1 % and red beyond when standard output is a terminal and the\n"
    "NO_COLOR environment variable is unset or empty.\n"
    "\n"
    "Examples:\n"
    "  tesmirol-cli 11.0592MHz 9600                    the report, as the dialog shows it\n"
    "  tesmirol-cli -o uart_init.c 22.1184MHz 115200   write SIO_Init to uart_init.c\n"
    "  tesmirol-cli --code --encoding gbk --lf 12MHz 4800 > sio.c\n"
    "  tesmirol-cli --max-error 0.5 11.0592MHz 19200   status 0 when the code is within 0.5 %\n"
    "  tesmirol-cli --max-error 1 -o sio.c 12MHz 9600  check first, write only if it passes\n"
    "  tesmirol-cli --table all 115200                 every crystal preset at 115200 bps\n"
    "  tesmirol-cli --table 11.0592MHz --format csv    every rate preset for one crystal\n"
    "  tesmirol-cli --table --format markdown          every crystal against every rate\n"
    "  tesmirol-cli --reload 0xFD 11.0592MHz           the rates TH1 = 0xFD gives\n"
    "  tesmirol-cli --target stc15 11.0592MHz 115200   every STC15 generator and clock, the best\n"
    "  tesmirol-cli --rates 9600,115200 --target stc8  the preset crystals that give both within 1 %\n"
    "  tesmirol-cli --target stc8 --uart 1:115200 --uart 2:9600 22.1184MHz\n"
    "                                                  a generator for each UART, no timer asked for two rates\n"
    "  tesmirol-cli --target stc8 --uart 1:115200 --uart 2:9600 -o uart.c 22.1184MHz\n"
    "                                                  SIO_Init and SIO2_Init in one file\n"
    "  tesmirol-cli --table --target n76e003 --uart 0:110 --uart 1:9600\n"
    "                                                  the plan on every preset crystal\n"
    "\n"
    "With --target (--list-targets shows the names and chip families) the numbers\n"
    "are exact and the reload is the one with the least error; the code is written\n"
    "when that setting is within 1 %.\n"
    "\n"
    "--uart NAME:RATE (NAME 1 or UART1 ...; repeat it for each UART) plans the UARTs\n"
    "of the --target chip together: each gets one of its generators, no timer serves\n"
    "two settings (UARTs may share one at one setting), every UART within --max-error\n"
    "PCT (1 % by default), the least worst error wins. --uart NAME without a rate runs\n"
    "at BAUD; with --table or --rates it stands for that UART's generators.\n"
    "\n"
    "Exit status:\n"
    "  0  done (with --max-error: the chosen setting is within PCT)\n"
    "  1  no result: the inputs give no calculation (the JSON is null), or there is\n"
    "     no code to write (a warning or nothing)\n"
    "  2  usage error: an unknown option, a bad value, options that do not go together\n"
    "  3  --max-error: the chosen setting deviates by more than PCT %, or there is no\n"
    "     code (a warning, nothing, or no result); --uart: no plan (the UARTs that\n"
    "     would share a timer, or a UART no generator brings within the tolerance)\n"
    "  4  the output could not be written (the file, or standard output)\n";

}  // namespace tesmirol::cli
