#pragma once
// The whole class library in one include.

#include "classlib/Types.h"
#include "classlib/Mbcs.h"
#include "classlib/CString.h"
#include "classlib/CObject.h"
#include "classlib/CStringArray.h"
#include "classlib/CStringList.h"
#include "classlib/CMapStringToOb.h"
#include "classlib/CMapStringToString.h"
#include "classlib/CFile.h"
#include "classlib/CStdioFile.h"
#include "classlib/CFileFind.h"
#include "classlib/Thread.h"
#include "classlib/Prompts.h"
