/* Identifiers of the program's resources and of the main dialog's controls,
   shared by the resource scripts and the C++ code. */
#pragma once

/* The resource compiler reads only preprocessor definitions. */
/* NOLINTBEGIN(cppcoreguidelines-macro-usage,cppcoreguidelines-macro-to-enum,modernize-macro-to-enum) */

#define IDD_MAIN 102
#define IDR_MAINFRAME 128

#define IDC_CRYSTAL 1000
#define IDC_BAUD 1001
#define IDC_OUTPUT 1004
#define IDC_SELECTED_CRYSTAL 1005
#define IDC_RANGE 1007
#define IDC_TH_SMOD0 1008
#define IDC_DEV_SMOD0 1009
#define IDC_TH_SMOD1 1010
#define IDC_DEV_SMOD1 1011
#define IDC_MANUAL 1012
#define IDC_COPY 1014

/* Controls that the program never addresses. */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Resource type of a dialog's initial control contents (the preset lists). */
#define RT_DIALOG_INIT 240

/* NOLINTEND(cppcoreguidelines-macro-usage,cppcoreguidelines-macro-to-enum,modernize-macro-to-enum) */
