#pragma once

#include <string>
#include <string_view>

namespace zelkora {

inline constexpr std::u16string_view kAuthorName = u"Zelkora Project";
inline constexpr std::u16string_view kHomePageAddress = u"https://zelkora.example.org/";

// Passed as the directory of fShellExecute: derive the working directory from the file.
inline constexpr std::u16string_view kDeriveDirectory{u"\0", 1};

// The title, " Ver" and the version numbers joined by ".", CR LF, "作者 " and the author.
[[nodiscard]] std::u16string fVersionText(std::u16string_view title, int major, int minor,
                                          int revision, std::u16string_view author);

// The text before the last separator, or the empty text when there is none. Both "\" and "/"
// separate, since paths on Linux use "/" and paths written the Windows way use "\".
[[nodiscard]] std::u16string fParentFolder(std::u16string_view path);

// Whether the text starts with a URL scheme ("https:", "mailto:"). A scheme has at least two
// characters, so a drive letter such as "C:" reads as a path.
[[nodiscard]] bool IsAddress(std::u16string_view target);

// The working directory for opening target: the given one, or for the derive marker the
// target's parent folder. An address has no folder, even though it holds "/".
[[nodiscard]] std::u16string ShellDirectory(std::u16string_view target,
                                            std::u16string_view directory);

}  // namespace zelkora
