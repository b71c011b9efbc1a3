#pragma once
// What a text or an array holds in memory beyond its own object, for figures of held memory.

#include <cstddef>
#include <string>
#include <vector>

namespace pw {

inline std::size_t textBytes(const std::string& text)
{
    // Short texts live inside the string object itself.
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

template <class Element>
std::size_t arrayBytes(const std::vector<Element>& array)
{
    return array.capacity() * sizeof(Element);
}

}  // namespace pw
