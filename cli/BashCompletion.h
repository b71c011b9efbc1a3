#pragma once
// The bash completion of plinthwright-cli, made from the command, option and size-class tables
// so that it offers what the command line takes.

#include <QString>

#include <optional>

namespace pw {

// `script` with each placeholder (@COMMANDS@, @VALUE_OPTIONS@, ...) replaced by the words it
// stands for; nothing when it holds one that no table fills.
std::optional<QString> bashCompletion(const QString& script);

}  // namespace pw
