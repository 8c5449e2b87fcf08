#pragma once
// The windows half of the class library in one include (with the text half).

#include "classlib/Afx.h"
#include "classlib/Types.h"
#include "classlib/StandardIds.h"
#include "classlib/Geometry.h"
#include "classlib/TempObjects.h"
#include "classlib/RuntimeClass.h"
#include "classlib/MessageMap.h"
#include "classlib/CCmdTarget.h"
#include "classlib/Gdi.h"
#include "classlib/CDC.h"
#include "classlib/CMenu.h"
#include "classlib/CImageList.h"
#include "classlib/CWnd.h"
#include "classlib/CDialog.h"
#include "classlib/DataExchange.h"
#include "classlib/CWinApp.h"
#include "classlib/DocTemplate.h"
#include "classlib/CFrameWnd.h"
#include "classlib/CView.h"
#include "classlib/ControlBars.h"
#include "classlib/CButton.h"
#include "classlib/CEdit.h"
#include "classlib/CRichEditCtrl.h"
#include "classlib/CProgressCtrl.h"
#include "classlib/CListCtrl.h"
#include "classlib/CTreeCtrl.h"
#include "classlib/CComboBox.h"
#include "classlib/CTabCtrl.h"

#include <commctrl.h>
#include <shellapi.h>
