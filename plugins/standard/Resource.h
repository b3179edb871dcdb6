// Resource and control numbers of the standard plug-in, shared with its resource script
// and with the tests that drive its settings sheet.
#pragma once

#define IDD_TEMP_PAGE 100
#define IDD_CACHE_PAGE 200
#define IDD_COOKIE_PAGE 300

#define IDI_TEMP 2000
#define IDI_COOKIES 2001
#define IDI_CACHE 2002
#define IDI_HISTORY 2003

#define IDC_DEL_READONLY 10
#define IDC_DEL_SUBFOLDERS 20
#define IDC_DEL_OFFLINE 30
#define IDC_COOKIE_FILTER 31
#define IDC_UNPROTECTED 32
#define IDC_DAYS 33
#define IDC_PROTECTED 34
#define IDC_PROTECT 37
#define IDC_UNPROTECT 39
