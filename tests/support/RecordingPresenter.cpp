// The recording presenter.
#include "tests/support/RecordingPresenter.h"

#include <algorithm>

namespace zel_test {

void RecordingPresenter::Note(Kind kind, HWND hwnd) {
  std::lock_guard lock(m_mutex);
  m_requests.push_back(Request{kind, hwnd});
}

void RecordingPresenter::Destroyed(HWND hwnd) {
  Note(kDestroyed, hwnd);
  HeadlessPresenter::Destroyed(hwnd);
}

void RecordingPresenter::Invalidated(HWND hwnd, const RECT* rect) {
  Note(kInvalidated, hwnd);
  HeadlessPresenter::Invalidated(hwnd, rect);
}

void RecordingPresenter::Update(HWND hwnd) {
  Note(kUpdated, hwnd);
  HeadlessPresenter::Update(hwnd);
}

UINT RecordingPresenter::TrackPopupMenu(HMENU menu, UINT, POINT, HWND owner) {
  Note(kPopupTracked, owner);
  UINT choice = 0;
  {
    std::lock_guard lock(m_mutex);
    if (!m_choices.empty()) {
      choice = m_choices.front();
      m_choices.pop_front();
    }
  }
  return Track(menu, owner, choice);
}

void RecordingPresenter::ScriptPopupChoice(UINT command) {
  std::lock_guard lock(m_mutex);
  m_choices.push_back(command);
}

int RecordingPresenter::Count(Kind kind, HWND hwnd) const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(
      std::count_if(m_requests.begin(), m_requests.end(),
                    [&](const Request& r) { return r.kind == kind && (!hwnd || r.hwnd == hwnd); }));
}

std::vector<RecordingPresenter::Request> RecordingPresenter::Requests() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

void RecordingPresenter::Clear() {
  std::lock_guard lock(m_mutex);
  m_requests.clear();
  m_choices.clear();
}

}  // namespace zel_test
