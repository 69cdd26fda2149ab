// Resource and control identifiers, shared by rimbeacon.rc and the code.
#pragma once

// Dialog templates
#define IDD_MAIN            101
#define IDD_ABOUT           106

// Pictures and symbols
#define IDC_HAND_CURSOR     105
#define IDB_BACKGROUND      110
#define IDI_RIMBEACON       115

// Main dialog: the five edits, in field order
#define IDC_IN_RIM          1002
#define IDC_IN_OFFSET       1003
#define IDC_IN_IN           1004
#define IDC_OUT_RIM         1005
#define IDC_OUT_OFFSET      1006

// Main dialog: always-on-top check box and the link label
#define IDC_TOPMOST         1007
#define IDC_OPTIMAL_LINK    1010

// Main dialog: headings
#define IDC_REF_HEADING     1011
#define IDC_OUT_HEADING     1012

// Main dialog: labels, units and diagram captions (1017 to 1029)
#define IDC_IN_RIM_LABEL    1017
#define IDC_IN_OFFSET_LABEL 1018
#define IDC_IN_IN_LABEL     1019
#define IDC_OUT_RIM_LABEL   1020
#define IDC_OUT_OFFSET_LABEL 1021
#define IDC_IN_RIM_UNIT     1022
#define IDC_IN_OFFSET_UNIT  1023
#define IDC_IN_IN_UNIT      1024
#define IDC_OUT_RIM_UNIT    1025
#define IDC_OUT_OFFSET_UNIT 1026
#define IDC_FENDER_CAPTION  1027
#define IDC_INSIDE_CAPTION  1028
#define IDC_OUTSIDE_CAPTION 1029
#define IDC_FIRST_PLAIN_LABEL IDC_IN_RIM_LABEL
#define IDC_LAST_PLAIN_LABEL  IDC_OUTSIDE_CAPTION

// Main dialog: up-down controls, each bound to the edit before it
#define IDC_IN_RIM_SPIN     1031
#define IDC_IN_OFFSET_SPIN  1032
#define IDC_IN_IN_SPIN      1033
#define IDC_OUT_RIM_SPIN    1034
#define IDC_OUT_OFFSET_SPIN 1035

// About box: the web link label
#define IDC_ABOUT_LINK      1008

// System menu command that opens the about box
#define ID_ABOUT            2014

// The maker's web address, shown and opened by the about box. The label is
// 50 dialog units wide (88 px with IPA P Gothic under Wine) and a static
// control wraps at "/", so the address must fit on one line: a host under
// the reserved .test domain does (http://i.example/ needed 97 px).
#define RIMBEACON_WEB_ADDRESS "http://rb.test/"
