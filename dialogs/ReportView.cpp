#include "dialogs/ReportView.h"

void setUpReportView(CListCtrl& list)
{
    list.ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}
