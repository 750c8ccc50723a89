// Run-time class of CWnd.
#include "platform/afx/Wnd.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)
