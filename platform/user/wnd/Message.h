/// \file
/// Messages between windows and threads: registered messages, sending and posting, the
/// pump a host runs, waits, timers.
///
/// Every window belongs to the thread that made it, and every thread that touches messages
/// has a queue of its own. SendMessage to a window of the calling thread calls its procedure
/// directly; to a window of another thread it queues the message there and blocks until
/// that thread has handled it, meanwhile handling the messages other threads send to the
/// caller, so that two threads sending to each other cannot deadlock. A thread that ends
/// answers 0 to the messages still waiting for it.
///
/// An exception thrown by a window procedure that the queue's machinery called (a
/// dispatched, served or timer message) is caught there and reported (zel_os::ReportFailure); the
/// message then answers 0. A procedure called directly (SendMessage on its own thread,
/// CallWindowProc) lets it through to its caller, as any C++ call does.
///
/// Usage (a host's pump):
/// ```
///   MSG msg;
///   while (GetMessage(&msg, HWND(), 0, 0) > 0) DispatchMessage(&msg);
/// ```
#pragma once

#include <functional>
#include <string>

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"

/// The number of the message of that name (compared without case), the same for every
/// call with the name in this process; 0 for a null or empty name.
ZEL_API UINT RegisterWindowMessage(LPCSTR name);

/// The answer of the window's procedure; 0 for a window that does not exist (any more).
ZEL_API LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
/// Queues the message for the window's thread (a null window: the calling thread's queue);
/// FALSE for a window that does not exist or whose thread has ended.
ZEL_API BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
/// Asks the calling thread's pump to end: GetMessage answers WM_QUIT (0) once the posted
/// messages are handled.
ZEL_API void PostQuitMessage(int exitCode);
/// Waits for a message of the window (null: any) in the range (0, 0: any) and takes it,
/// handling sent messages meanwhile; 0 for WM_QUIT, 1 otherwise.
ZEL_API BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last);
/// As GetMessage without waiting; PM_REMOVE takes the message. FALSE when there is none.
ZEL_API BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
/// Calls the procedure of the message's window (or a WM_TIMER's timer procedure).
ZEL_API LRESULT DispatchMessage(const MSG* msg);
/// Waits at most ms (INFINITE: without limit) for one of the handles (descriptors) to be
/// readable or, when wakeMask is not 0, for the thread's queue to have input: answers
/// WAIT_OBJECT_0 + index, WAIT_OBJECT_0 + count for the queue, WAIT_TIMEOUT, or
/// WAIT_FAILED. Only waitAll FALSE is supported.
ZEL_API DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms,
                                        DWORD wakeMask);

/// A timer of the window (made on the window's thread; FALSE from another), or a thread
/// timer for a null window, whose identifier is the answer. Due timers arrive as WM_TIMER,
/// after the posted messages; with a procedure, DispatchMessage calls it instead.
ZEL_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
/// Stops the window's timer of that identifier.
ZEL_API BOOL KillTimer(HWND hwnd, UINT_PTR id);

/// Calls a window procedure with the message.
ZEL_API LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace zel_wnd {

/// What a host's own event loop needs (the Qt backend serves the queue this way): the
/// calling thread's wake-up descriptor, readable while its queue may have something; the
/// serving of all that is there now, without waiting (false and the exit code when the
/// quit request was taken); and when the next timer is due (-1: none).
///@{
ZEL_API int QueueHandle();
ZEL_API bool ServeQueue(int* exitCode);
ZEL_API int MillisecondsToNextTimer();
///@}

/// SendMessage that gives up when stop becomes readable, answering 0 with *stopped set. A
/// message given up on before its window's thread took it is never handled.
ZEL_API LRESULT SendMessageUnless(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int stop,
                                  bool* stopped = nullptr);

/// The message the calling thread is handling now (WM_NULL when none), as the machinery
/// handed it over; frameworks' Default() handling replays it.
ZEL_API const MSG& CurrentMessage();

}  // namespace zel_wnd
