// Vector<T>: the ordered sequence used for lists of SmartPtr values. It has
// the semantics of std::vector and adds no data; clearing and destruction
// release the elements from first to last.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

template <class T>
class Vector : public std::vector<T> {
public:
    using std::vector<T>::vector;

    Vector() = default;
    Vector(const Vector&) = default;
    Vector(Vector&&) noexcept = default;
    Vector& operator=(const Vector&) = default;
    Vector& operator=(Vector&&) noexcept = default;
    ~Vector() { Clear(); }

    void Append(T value) { this->push_back(std::move(value)); }
    std::size_t Count() const noexcept { return this->size(); }

    void Clear() {
        if constexpr (requires(T & t) { t.Reset(); }) {
            for (auto& element : *this)
                element.Reset();
        }
        this->clear();
    }
};
