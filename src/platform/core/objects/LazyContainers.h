#pragma once
// A list and a string that cost one pointer while they are empty. Components carry a
// name, an owned-components list and a free-notification list, and a scene holds
// hundreds of thousands of components (one per tool-path polyline) that use none of
// them. Both keep the interface of the standard types that the component code uses.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A vector made on the first insertion and dropped when it becomes empty again.
// Iterators are pointers into it, valid until the next insertion or erasure.
template <class T>
class TLazyList {
public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    TLazyList() = default;
    TLazyList(const TLazyList& other) { *this = other; }
    TLazyList& operator=(const TLazyList& other)
    {
        if (this != &other) {
            items_ = other.empty() ? nullptr : std::make_unique<std::vector<T>>(*other.items_);
        }
        return *this;
    }

    bool empty() const { return !items_; }
    std::size_t size() const { return items_ ? items_->size() : 0; }
    T* begin() { return items_ ? items_->data() : nullptr; }
    T* end() { return begin() + size(); }
    const T* begin() const { return items_ ? items_->data() : nullptr; }
    const T* end() const { return begin() + size(); }
    T& operator[](std::size_t i) { return (*items_)[i]; }
    const T& operator[](std::size_t i) const { return (*items_)[i]; }
    T& front() { return items_->front(); }
    T& back() { return items_->back(); }

    void push_back(const T& value)
    {
        if (!items_) {
            items_ = std::make_unique<std::vector<T>>();
        }
        items_->push_back(value);
    }
    void pop_back()
    {
        items_->pop_back();
        DropWhenEmpty();
    }
    T* insert(T* pos, const T& value)
    {
        const std::ptrdiff_t at = pos - begin();
        if (!items_) {
            items_ = std::make_unique<std::vector<T>>();
        }
        items_->insert(items_->begin() + at, value);
        return begin() + at;
    }
    T* erase(T* pos) { return erase(pos, pos + 1); }
    T* erase(T* first, T* last)
    {
        if (first == last) {
            return first;
        }
        const std::ptrdiff_t at = first - begin();
        items_->erase(items_->begin() + at, items_->begin() + (last - begin()));
        DropWhenEmpty();
        return begin() + at;
    }
    void clear() { items_.reset(); }

    // A copy as a standard vector (a list walked while its owner may change it).
    operator std::vector<T>() const { return items_ ? *items_ : std::vector<T>(); }

private:
    void DropWhenEmpty()
    {
        if (items_ && items_->empty()) {
            items_.reset();
        }
    }

    std::unique_ptr<std::vector<T>> items_;
};

// A string kept on the heap only while it is not empty.
class TLazyString {
public:
    TLazyString() = default;
    TLazyString(const TLazyString& other) { *this = other; }
    TLazyString& operator=(const TLazyString& other)
    {
        if (this != &other) {
            *this = other.str();
        }
        return *this;
    }
    TLazyString& operator=(std::string_view value)
    {
        if (value.empty()) {
            text_.reset();
        } else if (text_) {
            text_->assign(value);
        } else {
            text_ = std::make_unique<std::string>(value);
        }
        return *this;
    }

    const std::string& str() const { return text_ ? *text_ : Empty(); }
    bool empty() const { return !text_; }
    operator const std::string&() const { return str(); }
    operator std::string_view() const { return str(); }

private:
    static const std::string& Empty()
    {
        static const std::string empty;
        return empty;
    }

    std::unique_ptr<std::string> text_;
};
