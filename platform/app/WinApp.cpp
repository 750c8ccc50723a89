// The application object and its process-wide registration.
#include "platform/app/WinApp.h"

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace {
CWinApp* g_current = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_strAppName(appName), m_previous(g_current) {
  g_current = this;
}

CWinApp::~CWinApp() {
  if (g_current == this) g_current = m_previous;
}

CWinApp* AfxGetApp() {
  if (g_current) return g_current;
  static CWinApp fallback("ZelUtil");
  return &fallback;
}

const char* AfxGetAppName() { return AfxGetApp()->m_strAppName; }
