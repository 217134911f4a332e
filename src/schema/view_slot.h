// A class caches its self-rooted views without holding them: such a view
// holds its class, so a counted cache would keep both alive forever. The
// view clears the class's slot when it dies; until then the class hands out
// the same view.
#pragma once

namespace nv {

class ViewSlot {
 public:
  ViewSlot() = default;
  ViewSlot(const ViewSlot&) = delete;
  ViewSlot& operator=(const ViewSlot&) = delete;
  ~ViewSlot() { Clear(); }

  // Called by the caching class right after it stored the view in `slot`.
  void ClearOnRelease(void** slot) noexcept { slot_ = slot; }

  // The view's destructor calls this first, while the class it holds (and
  // so the slot) is certainly alive.
  void Clear() noexcept {
    if (slot_) *slot_ = nullptr;
    slot_ = nullptr;
  }

 private:
  void** slot_ = nullptr;
};

}  // namespace nv
