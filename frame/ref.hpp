#pragma once
// Ref<T>: an owning pointer to a reference-counted object (anything with AddRef and Release).

#include <cstddef>
#include <utility>

namespace zorbel {

template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    // Adopts a reference the caller already owns (for example one returned by QueryInterface).
    static Ref adopt(T* p) {
        Ref r;
        r.p_ = p;
        return r;
    }
    Ref(const Ref& other) : Ref(other.p_) {}
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get())) {}
    ~Ref() { reset(); }

    Ref& operator=(Ref other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Gives up ownership without releasing.
    T* detach() { return std::exchange(p_, nullptr); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const Ref& other) const { return p_ == other.p_; }

private:
    T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> makeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace zorbel
