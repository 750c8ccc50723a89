/// \file
/// Message maps: a window class lists the messages and commands it handles, and its
/// WindowProc finds the handler by walking the maps from the class to its bases.
/// Usage:
/// ```
///   class CMainFrame : public CFrameWnd {
///     DECLARE_MESSAGE_MAP()
///     LRESULT OnMenuChange(WPARAM, LPARAM);
///     void OnFileOpen();
///     void OnUpdateTool(CCmdUI* ui);
///   };
///   BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
///     ON_REGISTERED_MESSAGE(WM_MENUCHANGE, OnMenuChange)
///     ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
///     ON_UPDATE_COMMAND_UI_RANGE(44445, 45220, OnUpdateTool)
///     ON_WM_DROPFILES()  // handled by OnDropFiles(HDROP)
///   END_MESSAGE_MAP()
/// ```
#pragma once

#include "platform/base/types/WinTypes.h"
#include "platform/base/types/WinUser.h"

class CWnd;
class CCmdUI;

/// The routing codes of OnCmdMsg: a command, or the update of its user-interface item.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

/// Filled by OnCmdMsg when it is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CWnd* pTarget = nullptr;
};

using AFX_PMSG_MESSAGE = LRESULT (CWnd::*)(WPARAM, LPARAM);
using AFX_PMSG_COMMAND = void (CWnd::*)();
using AFX_PMSG_RANGE = void (CWnd::*)(UINT);
using AFX_PMSG_UPDATE = void (CWnd::*)(CCmdUI*);
using AFX_PMSG_DROPFILES = void (CWnd::*)(HDROP);

/// One entry of a message map: the message, the command range and the handler.
struct AFX_MSGMAP_ENTRY {
  /// kDropFiles: WM_DROPFILES to a handler that takes the drop.
  enum Kind { kEnd, kMessage, kRegistered, kCommand, kCommandRange, kUpdate, kDropFiles };
  Kind kind;
  UINT message;            ///< kMessage, kDropFiles
  const UINT* registered;  ///< kRegistered: where the registered message's number is kept
  UINT firstId;            ///< commands and updates: the identifiers handled
  UINT lastId;
  AFX_PMSG_MESSAGE onMessage;
  AFX_PMSG_COMMAND onCommand;
  AFX_PMSG_RANGE onRange;
  AFX_PMSG_UPDATE onUpdate;
  AFX_PMSG_DROPFILES onDropFiles;
};

/// A class's message map: its entries and its base class's map.
struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass = theClass;                                                     \
    using TheBaseClass = baseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { AFX_MSGMAP_ENTRY::kEnd, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr }     \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

/// LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                   \
  {AFX_MSGMAP_ENTRY::kMessage,                           \
   message,                                              \
   nullptr,                                              \
   0,                                                    \
   0,                                                    \
   static_cast<AFX_PMSG_MESSAGE>(&ThisClass::memberFxn), \
   nullptr,                                              \
   nullptr,                                              \
   nullptr,                                              \
   nullptr},
/// LRESULT handler(WPARAM, LPARAM); variable holds the number RegisterWindowMessage gave.
#define ON_REGISTERED_MESSAGE(variable, memberFxn)       \
  {AFX_MSGMAP_ENTRY::kRegistered,                        \
   0,                                                    \
   &variable,                                            \
   0,                                                    \
   0,                                                    \
   static_cast<AFX_PMSG_MESSAGE>(&ThisClass::memberFxn), \
   nullptr,                                              \
   nullptr,                                              \
   nullptr,                                              \
   nullptr},
/// void handler()
#define ON_COMMAND(id, memberFxn)                        \
  {AFX_MSGMAP_ENTRY::kCommand,                           \
   0,                                                    \
   nullptr,                                              \
   id,                                                   \
   id,                                                   \
   nullptr,                                              \
   static_cast<AFX_PMSG_COMMAND>(&ThisClass::memberFxn), \
   nullptr,                                              \
   nullptr,                                              \
   nullptr},
/// void handler(UINT id)
#define ON_COMMAND_RANGE(firstId, lastId, memberFxn)   \
  {AFX_MSGMAP_ENTRY::kCommandRange,                    \
   0,                                                  \
   nullptr,                                            \
   firstId,                                            \
   lastId,                                             \
   nullptr,                                            \
   nullptr,                                            \
   static_cast<AFX_PMSG_RANGE>(&ThisClass::memberFxn), \
   nullptr,                                            \
   nullptr},
/// void handler(CCmdUI*)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)             \
  {AFX_MSGMAP_ENTRY::kUpdate,                           \
   0,                                                   \
   nullptr,                                             \
   id,                                                  \
   id,                                                  \
   nullptr,                                             \
   nullptr,                                             \
   nullptr,                                             \
   static_cast<AFX_PMSG_UPDATE>(&ThisClass::memberFxn), \
   nullptr},
#define ON_UPDATE_COMMAND_UI_RANGE(firstId, lastId, memberFxn) \
  {AFX_MSGMAP_ENTRY::kUpdate,                                  \
   0,                                                          \
   nullptr,                                                    \
   firstId,                                                    \
   lastId,                                                     \
   nullptr,                                                    \
   nullptr,                                                    \
   nullptr,                                                    \
   static_cast<AFX_PMSG_UPDATE>(&ThisClass::memberFxn),        \
   nullptr},
/// void OnDropFiles(HDROP)
#define ON_WM_DROPFILES()        \
  {AFX_MSGMAP_ENTRY::kDropFiles, \
   WM_DROPFILES,                 \
   nullptr,                      \
   0,                            \
   0,                            \
   nullptr,                      \
   nullptr,                      \
   nullptr,                      \
   nullptr,                      \
   static_cast<AFX_PMSG_DROPFILES>(&ThisClass::OnDropFiles)},
