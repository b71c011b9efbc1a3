#pragma once
// Where what the standard library throws is caught: memory that runs out, and a call of the
// system (the file system, a thread) that fails. Nothing else in Plinthwright catches an
// exception but the model reader, around assimp.

#include "Result.h"

#include <new>
#include <system_error>
#include <type_traits>

namespace pw {

enum class CaughtError {
    OutOfMemory,    // std::bad_alloc
    SystemFailure,  // std::system_error, std::filesystem's included; system: its code
};

const ErrorRoom& errorRoom(CaughtError code);

namespace caught {

template <class T>
struct Unwrapped {
    using type = T;
};
template <class T>
struct Unwrapped<Result<T>> {
    using type = T;
};

template <class Work>
using Given = std::invoke_result_t<Work&>;

}  // namespace caught

// What `work` gives, as a Result: its own Result where it gives one.
template <class Work>
using CaughtResult = Result<typename caught::Unwrapped<caught::Given<Work>>::type>;

namespace caught {

template <class Work>
CaughtResult<Work> run(Work& work)
{
    if constexpr (std::is_void_v<Given<Work>>) {
        work();
        return {};
    } else {
        return work();
    }
}

}  // namespace caught

// What `work` gives, or `outOfMemory` when memory ran out inside it; undoing what `work` had
// begun is the caller's.
template <class Work>
CaughtResult<Work> catchingAllocation(Work&& work,
                                      CoreError outOfMemory = CoreError(CaughtError::OutOfMemory))
{
    try {
        return caught::run(work);
    } catch (const std::bad_alloc&) {
        return outOfMemory;
    }
}

// What `work` gives, or SystemFailure with the system's reason when a call of the system inside
// it threw.
template <class Work>
CaughtResult<Work> catchingSystemFailure(Work&& work)
{
    try {
        return caught::run(work);
    } catch (const std::system_error& error) {
        return CoreError(CaughtError::SystemFailure, {}, error.code());
    }
}

}  // namespace pw
