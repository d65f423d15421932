#pragma once

// The window's edge between the core's UTF-16 strings and raw file names and Qt's types.

#include <QFile>
#include <QString>
#include <filesystem>
#include <string_view>

namespace zelkora {

inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The file name's bytes as the system takes them, whatever they are.
inline std::filesystem::path ToPath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

// The other way: a path as Qt's file functions take it.
inline QString FromPath(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

}  // namespace zelkora
