#pragma once

#include "classlib/AfxWin.h"

// Every list of the program is a report: details view with full-row
// selection and grid lines, set when its dialog initialises.
void setUpReportView(CListCtrl& list);
