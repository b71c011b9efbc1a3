#pragma once
// What every core operation that can fail returns: its value, or the CoreError that says why
// not. Result<void> carries only the failure. C++20 has no std::expected; this is the part of it
// the project needs.

#include "CoreError.h"

#include <optional>
#include <utility>
#include <variant>

namespace pw {

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
    Result(CoreError error) : held_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T& value() { return std::get<0>(held_); }
    const T& value() const { return std::get<0>(held_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // Only when !ok().
    const CoreError& error() const { return std::get<1>(held_); }

private:
    std::variant<T, CoreError> held_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(CoreError error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when !ok().
    const CoreError& error() const { return *error_; }

private:
    std::optional<CoreError> error_;
};

}  // namespace pw
