#pragma once

#include <functional>
#include <string>

class QWidget;

namespace zelkora {

// Opens file (a path or an address) with the desktop's default application, in directory as
// the working directory; kDeriveDirectory (one NUL) takes the file's parent folder, and an
// empty directory leaves it to the desktop. The desktop's opener takes a single file or
// address, so parameters are not passed on; every caller passes none. Nothing is shown when
// the launch fails: the result says whether it started, and standard error why.
bool fShellExecute(QWidget* window, const std::u16string& file, const std::u16string& parameters,
                   const std::u16string& directory);

using ShellExecuteFunction =
    std::function<bool(QWidget* window, const std::u16string& file,
                       const std::u16string& parameters, const std::u16string& directory)>;

}  // namespace zelkora
