#pragma once

// The numbers that tie the resource script to the code. Plain macros: the
// resource compiler reads this file too.

#define FW_IDI_APP 1

// The tool row's pictures, by the button's index.
#define FW_IDB_TOOL_BASE 100
#define FW_IDB_OPEN 100
#define FW_IDB_INSERT 102
#define FW_IDB_REMOVE 104
#define FW_IDB_HELP 107

// The message with details: the text, the icon, the details box and the
// button of a choice, shown only when there is one.
#define FW_IDD_DETAILS 200
#define FW_IDC_DETAILS_ICON 201
#define FW_IDC_DETAILS_TEXT 202
#define FW_IDC_DETAILS_BOX 203
#define FW_IDC_DETAILS_CHOICE 204

// The Handler Settings dialog (OK, Cancel and Help are IDOK, IDCANCEL, IDHELP).
#define FW_IDD_HANDLER_SETTINGS 300
#define FW_IDC_PROC_SUB 301      /* chk_proc_sub */
#define FW_IDC_PROC_FUNCTION 302 /* chk_proc_function */
#define FW_IDC_PROC_PROPERTY 303 /* chk_proc_property */
#define FW_IDC_FILE_FRM 304      /* chk_file_frm */
#define FW_IDC_FILE_BAS 305      /* chk_file_bas */
#define FW_IDC_FILE_CLS 306      /* chk_file_cls */
#define FW_IDC_FILE_CTL 307      /* chk_file_ctl */
#define FW_IDC_SKIP_HANDLED 308  /* chk_skip_handled */
#define FW_IDC_LINE_NUMBERS 309  /* chk_line_numbers */
#define FW_IDC_HANDLER_MODE 310  /* opt_handler_mode */
#define FW_IDC_HANDLER_FILE 311  /* opt_handler_template */
#define FW_IDC_TEMPLATE_PATH 312 /* txt_template */
#define FW_IDC_BROWSE 313        /* cmd_browse */
#define FW_IDC_PROCEDURES 314    /* fra_procedures */
#define FW_IDC_FILES 315         /* fra_files */
#define FW_IDC_HANDLER_CODE 316  /* fra_handler */
#define FW_IDC_KEEP_PROJECT 317  /* chk_keep_with_project */
#define FW_IDC_FILE_DOC 318      /* chk_file_doc */

// The report window of Preview Insertion and Check Project (Close is IDCANCEL,
// so Escape and the close box press it too).
#define FW_IDD_REPORT 400
#define FW_IDC_REPORT_TEXT 401    /* txt_report */
#define FW_IDC_REPORT_INSERT 402  /* cmd_insert */
#define FW_IDC_REPORT_SAVE_AS 403 /* cmd_save_as */
