#include "CoreError.h"

#include "PathText.h"

#include <cerrno>
#include <ostream>

namespace pw {

// Built by appending: GCC 12 warns falsely (-Wrestrict) about a literal added to a temporary.
std::string quotedPath(const std::filesystem::path& path)
{
    if (path.empty())
        return "standard input";
    std::string text = "\"";
    text += pathText(path);
    text += '"';
    return text;
}

std::string errorReason(const CoreError& error)
{
    return error.system ? error.system.message() : error.code.room().reason(error);
}

std::string detailOr(const CoreError& error, std::string ownWords)
{
    return error.detail.empty() ? std::move(ownWords) : error.detail;
}

std::error_code errnoCode()
{
    return errno != 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
}

std::string errorText(const CoreError& error) { return error.code.room().text(error); }

std::ostream& operator<<(std::ostream& out, const CoreError& error)
{
    return out << errorText(error);
}

}  // namespace pw
