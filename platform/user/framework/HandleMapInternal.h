// Inside the class library only: the maps from handles to the objects that wrap them.
// A permanent object is attached by its owner; any other handle gets a temporary object
// of the calling thread, kept while its handle lives (as the framework's temporary maps).
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>

namespace zel_afx {

template <typename Handle, typename Object, Handle Object::*member>
class HandleMap {
 public:
  Object* FindPermanent(Handle h) {
    std::lock_guard lock(m_mutex);
    auto it = m_permanent.find(h.value);
    return it == m_permanent.end() ? nullptr : it->second;
  }
  void SetPermanent(Handle h, Object* object) {
    std::lock_guard lock(m_mutex);
    m_permanent[h.value] = object;
  }
  void ErasePermanent(Handle h, const Object* object) {
    std::lock_guard lock(m_mutex);
    auto it = m_permanent.find(h.value);
    if (it != m_permanent.end() && it->second == object) m_permanent.erase(it);
  }
  // The permanent object, else the thread's temporary one (made now when missing); null
  // for a null handle. Temporaries of handles that died are dropped on the way.
  Object* FromHandle(Handle h, bool (*alive)(Handle)) {
    if (!h) return nullptr;
    if (Object* o = FindPermanent(h)) return o;
    auto& temps = Temporaries();
    if (auto it = temps.find(h.value); it != temps.end()) return it->second.get();
    std::erase_if(temps, [&](const auto& entry) { return !alive(Handle(entry.first)); });
    std::unique_ptr<Object, Release> object(new Object);
    object.get()->*member = h;
    Object* raw = object.get();
    temps.emplace(h.value, std::move(object));
    return raw;
  }

 private:
  // A temporary lets go of its handle before it is deleted: it never owned it.
  struct Release {
    void operator()(Object* o) const {
      o->*member = Handle();
      delete o;
    }
  };
  static std::unordered_map<uintptr_t, std::unique_ptr<Object, Release>>& Temporaries() {
    thread_local std::unordered_map<uintptr_t, std::unique_ptr<Object, Release>> temps;
    return temps;
  }

  std::mutex m_mutex;
  std::unordered_map<uintptr_t, Object*> m_permanent;
};

}  // namespace zel_afx
