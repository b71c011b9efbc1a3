#pragma once
// An environment variable set for as long as the object lives, then as it was.

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace pw::test {

class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            before_ = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (before_)
            qputenv(name_, *before_);
        else
            qunsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> before_;
};

}  // namespace pw::test
