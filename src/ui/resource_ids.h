// Identifiers of the dialog controls, shared by the resource script and the dialog code.
#pragma once

#define IDC_OK 1001
#define IDC_CANCEL 1003
#define IDC_TEXT 1005           /* licence and readme text */
#define IDC_PROGRESS_FRAME 1007 /* the progress bar is created in its place */
#define IDC_HEADING 1009
#define IDC_STATUS 1011
#define IDC_BROWSE 1013
#define IDC_DIRECTORY 1015
#define IDC_LANGUAGES 1017
