// Resource numbers of the newsletter sign-up dialog (SignupDialog.rc).
#pragma once

#define IDD_SIGNUP 900
#define IDC_SIGNUP_PICTURE 901
#define IDC_SIGNUP_TEXT 902
#define IDC_SIGNUP_LABEL 903
#define IDC_SIGNUP_ADDRESS 904
