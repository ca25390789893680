// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/store_file.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "core/number_scan.h"
#include "core/number_text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace ledgerly {
namespace {

bool isSeparator(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == ',' || ch == '\v' ||
           ch == '\f';
}

std::string printable(std::string_view token) {
    constexpr std::size_t kShown = 24;
    std::string shown;
    for (char ch : token.substr(0, kShown)) {
        shown += std::isprint(static_cast<unsigned char>(ch)) ? ch : '?';
    }
    if (token.size() > kShown)
        shown += "...";
    return shown;
}

// Numbers as the store file has always been read: "2D2" too, and commas only between numbers.
constexpr NumberForms kStoreForms{.thousandsGroups = false, .fortranExponent = true};

}  // namespace

std::string storeText(const TradeData& data) {
    std::string text;
    text.reserve(std::size_t{kStoreNumberCount} * 8);
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c) {
            text += storeNumberField(data.value(tp, c));
            text += "\r\n";
        }
        text += storeNumberField(data.stamp(tp));
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> readStoreText(std::string_view text, TradeData& data) {
    std::array<float, kStoreNumberCount> numbers{};
    int count = 0;
    std::size_t line = 1;
    std::size_t i = 0;
    // A text editor may have saved the file with a UTF-8 byte-order mark in front.
    if (text.starts_with("\xEF\xBB\xBF"))
        i = 3;
    while (count < kStoreNumberCount && i < text.size()) {
        if (isSeparator(text[i])) {
            if (text[i] == '\n')
                ++line;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        const std::string_view token = text.substr(i, end - i);
        const ScannedNumber number = scanNumber(token, kStoreForms);
        switch (number.result) {
            case ScannedNumber::Result::Number:
            case ScannedNumber::Result::TooSmall:  // reads as 0, which the start-up pass raises
                break;
            case ScannedNumber::Result::TooLarge:
                return "line " + std::to_string(line) + ": '" + printable(token) +
                       "' is out of range";
            case ScannedNumber::Result::NotANumber:
                return "line " + std::to_string(line) + ": '" + printable(token) +
                       "' is not a number";
        }
        numbers[static_cast<std::size_t>(count++)] = number.value;
        i = end;
    }
    if (count < kStoreNumberCount) {
        return "the file ends after " + std::to_string(count) + " numbers; it needs " +
               std::to_string(kStoreNumberCount);
    }
    std::size_t n = 0;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c)
            data.setValue(tp, c, numbers[n++]);
        data.setStamp(tp, numbers[n++]);
    }
    return std::nullopt;
}

std::optional<std::string> writeFileAtomically(const std::filesystem::path& target,
                                               std::string_view bytes) {
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    const auto fail = [&](const std::string& what) -> std::optional<std::string> {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return what;
    };

    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (file == nullptr) {
        return "cannot create " + temporary.string() + ": " +
               std::generic_category().message(errno);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    bool flushed = written && std::fflush(file) == 0;
#ifdef _WIN32
    flushed = flushed && _commit(_fileno(file)) == 0;
#else
    flushed = flushed && fsync(fileno(file)) == 0;
#endif
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written) {
        return fail("cannot write " + temporary.string() + ": " +
                    std::generic_category().message(writeError));
    }
    if (!flushed || !closed) {
        return fail("cannot finish writing " + temporary.string() + ": " +
                    std::generic_category().message(flushError));
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec)
        return fail("cannot replace " + target.string() + ": " + ec.message());
    return std::nullopt;
}

std::optional<std::string> saveStore(const std::filesystem::path& path, const TradeData& data) {
    return writeFileAtomically(path, storeText(data));
}

StartupLoad loadStoreAtStartup(const std::filesystem::path& path, TradeData& data) {
    StartupLoad result;
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (ec) {
        data.setDefaults();
        result.problem = "cannot look for the file: " + ec.message();
    } else if (!exists) {
        data.setDefaults();
        result.createdFile = true;
        if (path.has_parent_path())
            std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) {
            result.problem = "cannot create its folder: " + ec.message();
        } else {
            result.problem = saveStore(path, data);
        }
    } else {
        const auto size = std::filesystem::file_size(path, ec);
        std::string text;
        if (ec) {
            result.problem = "cannot read the file: " + ec.message();
        } else if (size > kStoreSizeLimit) {
            result.problem = "the file is " + std::to_string(size) +
                             " bytes long, far too large to be a trade values file";
        } else {
            std::ifstream in(path, std::ios::binary);
            text.resize(static_cast<std::size_t>(size));
            if (!in || !in.read(text.data(), static_cast<std::streamsize>(size))) {
                result.problem = "cannot read the file";
            }
        }
        if (!result.problem)
            result.problem = readStoreText(text, data);
        if (result.problem)
            data.setDefaults();
    }
    data.raiseLowValues();
    return result;
}

}  // namespace ledgerly
