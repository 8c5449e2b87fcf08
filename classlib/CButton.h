#pragma once
// Button control. No caller needs more than what CWnd offers yet; each
// method added here is one message.

#include "classlib/CWnd.h"

class CButton : public CWnd {};
