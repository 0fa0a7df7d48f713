# Writes OUTPUT, a resource script holding the preset lists read from INPUT
# (res/presets.txt) as the dialog-init data of the main dialog: for each
# entry, in list order, the combo box's id, CB_ADDSTRING (0x0143; the
# resource compiler does not see the message names), the character count
# and the UTF-16 characters (see framework/dialog_init_data.h). RESOURCE_H is
# the absolute path of res/resource.h.
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/read_presets.cmake")

tesmirol_read_presets("${INPUT}" crystal baud)

# Appends one line per entry; entries are printable ASCII without quotes or
# backslashes, so each stands in its literal unchanged and counts one unit
# per character.
function(tesmirol_dialog_init_records controlId entries outVar)
  set(records "")
  foreach(entry IN LISTS entries)
    string(LENGTH "${entry}" length)
    string(APPEND records "    ${controlId}, 0x0143, ${length}, L\"${entry}\",\n")
  endforeach()
  set(${outVar} "${records}" PARENT_SCOPE)
endfunction()

tesmirol_dialog_init_records(IDC_CRYSTAL "${crystal}" crystalRecords)
tesmirol_dialog_init_records(IDC_BAUD "${baud}" baudRecords)

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
// The preset lists of the main dialog's combo boxes, added in this order
// when the dialog is created: control, CB_ADDSTRING, length, text.

#include <windows.h>

#include \"${RESOURCE_H}\"

LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED

IDD_MAIN RT_DIALOG_INIT
BEGIN
${crystalRecords}${baudRecords}    0
END
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
