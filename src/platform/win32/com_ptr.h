// Holds one reference to a COM object and lets it go at the end of its scope.
#pragma once

#include <unknwn.h>

#include <utility>

namespace platform::win32 {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For calls that hand back a new reference: whatever was held goes first.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    template <class U>
    ComPtr<U> query(REFIID iid) const {
        ComPtr<U> out;
        if (p_) p_->QueryInterface(iid, out.put_void());
        return out;
    }

private:
    T* p_ = nullptr;
};

}  // namespace platform::win32
