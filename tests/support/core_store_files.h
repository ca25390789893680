// Store files for tests of loading and saving: the bytes a fresh store holds, and a store file
// in its own temporary folder.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/store_file.h"

namespace ledgerly::testing {

// What the first start writes: every value 1 and every stamp 10, CR LF line ends.
inline std::string defaultStoreBytes() {
    std::string bytes;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c)
            bytes += " 1 \r\n";
        bytes += " 10 \r\n";
    }
    return bytes;
}

// A store whose n-th number (0-based) is n + 1, written with the given separator.
inline std::string countingStore(const std::string& separator, int count = kStoreNumberCount) {
    std::string text;
    for (int n = 0; n < count; ++n)
        text += std::to_string(n + 1) + separator;
    return text;
}

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// The path of a store not yet written, in a temporary folder removed with this object.
struct TemporaryStore {
    QTemporaryDir folder;
    std::filesystem::path path =
        std::filesystem::path(folder.path().toStdString()) / "tradevalues.txt";
    std::filesystem::path temporaryFile() const { return std::filesystem::path(path) += ".tmp"; }
};

}  // namespace ledgerly::testing
