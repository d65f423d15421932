#pragma once

#include <functional>
#include <string>

namespace zelkora {

// Opens file (a path or an address) with the desktop's default application, in directory as
// the working directory; kDeriveDirectory (one NUL) takes the file's parent folder, and an
// empty directory leaves it to the desktop. The design's owner window and parameters are not
// taken: the desktop's opener shows nothing of its own and takes a single file or address.
// Nothing is shown when the launch fails: the result says whether it started, and standard
// error why.
bool fShellExecute(const std::u16string& file, const std::u16string& directory);

using ShellExecuteFunction =
    std::function<bool(const std::u16string& file, const std::u16string& directory)>;

}  // namespace zelkora
