#pragma once
// The one kind of failure the core reports: what failed, on which path, and the system's reason.
// What failed is a code of the room whose rule it is (tracklib's files, the models, the footers,
// the plans, the 3D view), each room's codes in an enum of its own and worded in one place, as
// std::error_code pairs a value with its category. The front ends show errorText, or name the
// subject themselves and show errorReason; nothing else words a failure.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <system_error>
#include <utility>

namespace pw {

struct CoreError;

// How a room words its failures.
struct ErrorRoom {
    // The whole sentence, e.g. Cannot save "/t/a.nltrack": Permission denied.
    std::string (*text)(const CoreError& error);
    // Why, where the system gave no reason: the room's words, with the error's detail.
    std::string (*reason)(const CoreError& error);
};

// A code of one room. Made from any room's enum for which errorRoom(code) names the room.
class ErrorCode {
public:
    template <class Code, class Room = decltype(errorRoom(std::declval<Code>()))>
    ErrorCode(Code code) : room_(&errorRoom(code)), value_(static_cast<int>(code))
    {
    }

    const ErrorRoom& room() const { return *room_; }
    // As the room's own enum, for that room's wording.
    template <class Code>
    Code as() const
    {
        return static_cast<Code>(value_);
    }

    friend bool operator==(const ErrorCode&, const ErrorCode&) = default;

private:
    const ErrorRoom* room_;
    int value_;
};

struct CoreError {
    explicit CoreError(ErrorCode code, std::filesystem::path path = {}, std::error_code system = {},
                       std::filesystem::path otherPath = {}, std::uint64_t size = 0,
                       std::string detail = {})
        : code(code),
          path(std::move(path)),
          system(system),
          otherPath(std::move(otherPath)),
          size(size),
          detail(std::move(detail))
    {
    }

    ErrorCode code;
    std::filesystem::path path;  // empty: standard input
    std::error_code system;      // the system's reason, where it gave one
    std::filesystem::path otherPath;
    std::uint64_t size = 0;
    std::string detail;  // our own reason, where the system gave none
};

// The system's reason for the errno of a failed C library call, none when errno is 0.
std::error_code errnoCode();

// A path in double quotes for a sentence; "standard input" for the empty path.
std::string quotedPath(const std::filesystem::path& path);

// One sentence naming the path and the reason, e.g. Cannot save "/t/a.nltrack": Permission denied.
std::string errorText(const CoreError& error);
std::ostream& operator<<(std::ostream& out, const CoreError& error);
// The reason alone, for a caller that names the path itself: the system's, else the room's.
std::string errorReason(const CoreError& error);
// The error's detail, else `ownWords`: the reason of a room whose detail says all.
std::string detailOr(const CoreError& error, std::string ownWords);

}  // namespace pw
