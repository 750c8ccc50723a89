// The class-library subset in one include.
#pragma once

#include "platform/afx/Archive.h"
#include "platform/afx/Collections.h"
#include "platform/afx/Exceptions.h"
#include "platform/afx/File.h"
#include "platform/afx/Object.h"
#include "platform/afx/String.h"
#include "platform/afx/Time.h"
#include "platform/afx/WinTypes.h"
#include "platform/afx/Wnd.h"
