// Keeps COM initialised for one call, and leaves alone an apartment that the
// caller opened differently.
#pragma once

#include <objbase.h>

class TComScope {
 public:
  TComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  HRESULT result_;
};

// Releases a COM interface when it goes out of scope.
template <typename T>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() {
    if (pointer_) pointer_->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T* operator->() const { return pointer_; }
  T* Get() const { return pointer_; }
  // Where a creating call stores the new interface.
  T** Out() { return &pointer_; }
  void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }

 private:
  T* pointer_ = nullptr;
};
