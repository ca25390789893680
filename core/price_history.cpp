// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/price_history.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/number_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ledgerly {
namespace {

constexpr std::size_t kFixedColumns = 4;  // time, post, town, source
constexpr std::size_t kColumnCount = kFixedColumns + kCommodityCount;
constexpr std::string_view kFixedHeader[kFixedColumns] = {"time_utc", "post", "town", "source"};
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Appended to a row that a crash cut short before the next row goes in: it gives the torn row
// one field too many or a price that is no number, so it can never pass for a whole row.
constexpr std::string_view kTornMark = ",torn\r\n";

// One field of a CSV line, still quoted as it stood; `text` is the content between the quotes.
struct Field {
    std::string_view text;
    bool escaped = false;  // holds doubled quotes, so `text` is not yet the content
};

// Reads the fields of one line (without its line end) one at a time, so that a row is parsed
// in a single pass and a hostile line costs no more than the fields asked for.
class FieldReader {
public:
    explicit FieldReader(std::string_view line) : line_(line) {}

    bool atEnd() const { return done_; }
    std::size_t count() const { return count_; }
    const char* error() const { return error_; }

    // The next field; false at the end of the line or for a malformed field (error() says so).
    bool next(Field& field) {
        if (done_)
            return false;
        field = Field{};
        if (at_ < line_.size() && line_[at_] == '"') {
            const std::size_t start = ++at_;
            while (true) {
                const std::size_t quote = line_.find('"', at_);
                if (quote == std::string_view::npos)
                    return fail("a quoted field is not closed");
                if (quote + 1 < line_.size() && line_[quote + 1] == '"') {
                    field.escaped = true;
                    at_ = quote + 2;
                    continue;
                }
                field.text = line_.substr(start, quote - start);
                at_ = quote + 1;
                break;
            }
            if (at_ < line_.size() && line_[at_] != ',')
                return fail("text follows a closing quote");
        } else {
            const std::size_t start = at_;
            while (at_ < line_.size() && line_[at_] != ',') {
                if (line_[at_++] == '"')
                    return fail("a quote inside an unquoted field");
            }
            field.text = line_.substr(start, at_ - start);
        }
        return passComma();
    }

    // The next field when it is whole gold of up to seven digits, by far the most common price
    // and exact as a float; otherwise nothing, and the field is still to be read.
    std::optional<float> nextWholePrice() {
        std::int32_t whole = 0;
        std::size_t i = at_;
        const std::size_t last = std::min(line_.size(), at_ + 7);
        for (; i < last && line_[i] >= '0' && line_[i] <= '9'; ++i)
            whole = whole * 10 + (line_[i] - '0');
        if (done_ || i == at_ || (i < line_.size() && line_[i] != ','))
            return std::nullopt;
        at_ = i;
        passComma();
        return static_cast<float>(whole);
    }

private:
    bool passComma() {
        ++count_;
        if (at_ == line_.size())
            done_ = true;
        else
            ++at_;
        return true;
    }
    bool fail(const char* why) {
        error_ = why;
        return false;
    }

    std::string_view line_;
    std::size_t at_ = 0;
    std::size_t count_ = 0;
    bool done_ = false;
    const char* error_ = nullptr;
};

std::string unquoted(const Field& field) {
    if (!field.escaped)
        return std::string(field.text);
    std::string text;
    text.reserve(field.text.size());
    for (std::size_t i = 0; i < field.text.size(); ++i) {
        text += field.text[i];
        if (field.text[i] == '"')
            ++i;  // the second of a doubled quote
    }
    return text;
}

bool isControl(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte < 0x20 || byte == 0x7F;
}

std::string quotedIfNeeded(std::string_view text) {
    const bool needed = text.find_first_of(",\"") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!needed)
        return std::string(text);
    std::string quoted = "\"";
    for (char ch : text) {
        quoted += ch;
        if (ch == '"')
            quoted += '"';
    }
    return quoted + '"';
}

// A field as the user may see it in a message: printable, and short.
std::string shown(std::string_view text) {
    constexpr std::size_t kShown = 24;
    std::string out;
    for (char ch : text.substr(0, kShown))
        out += isControl(ch) ? '?' : ch;
    if (text.size() > kShown)
        out += "...";
    return out;
}

// The largest price that seven significant digits can write and read back; above it a float
// would be written as a number too large to read.
constexpr float kLargestPrice = 3.402823E+38F;

// Decimal numbers as a spreadsheet or this program writes them; no "inf", "nan" or hex.
std::optional<float> parsePrice(std::string_view text) {
    const std::size_t mantissa = !text.empty() && text.front() == '-' ? 1 : 0;
    if (mantissa >= text.size())
        return std::nullopt;
    const char first = text[mantissa];
    if (!(first == '.' || (first >= '0' && first <= '9')))
        return std::nullopt;
    float value = 0.0F;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() ||
        !(std::fabs(value) <= kLargestPrice))
        return std::nullopt;
    return value;
}

std::optional<int> parsePost(std::string_view text) {
    int tp = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), tp);
    if (ec != std::errc() || end != text.data() + text.size() || !isTradingPost(tp))
        return std::nullopt;
    return tp;
}

std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

void appendPadded(std::string& out, int value, int width) {
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<int>(end - digits);
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), '0');
    out.append(digits, end);
}

std::string headerLine() {
    std::string line;
    for (std::string_view name : kFixedHeader) {
        line += name;
        line += ',';
    }
    for (int c = 1; c <= kCommodityCount; ++c) {
        line += quotedIfNeeded(commodityName(c));
        line += c < kCommodityCount ? "," : "";
    }
    return line;
}

std::string_view columnName(std::size_t column) {
    return column < kFixedColumns ? kFixedHeader[column]
                                  : commodityName(static_cast<int>(column - kFixedColumns + 1));
}

// Why a first line is not the header, or nothing when it is.
std::optional<std::string> headerProblem(std::string_view line) {
    FieldReader fields(line);
    Field field;
    while (fields.count() < kColumnCount && fields.next(field)) {
        const std::size_t column = fields.count() - 1;
        const std::string name = unquoted(field);
        if (name != columnName(column)) {
            return "column " + std::to_string(column + 1) + " of the first line is '" +
                   shown(name) + "', not '" + std::string(columnName(column)) + "'";
        }
    }
    if (fields.error() != nullptr)
        return "the first line is not the header (" + std::string(fields.error()) + ")";
    if (fields.count() < kColumnCount) {
        return "the first line has " + std::to_string(fields.count()) + " of the header's " +
               std::to_string(kColumnCount) + " columns";
    }
    if (!fields.atEnd())
        return "the first line has more columns than the header's " + std::to_string(kColumnCount);
    return std::nullopt;
}

std::string notOurs(const std::string& why) {
    return "not a Ledgerly price history: " + why;
}

// Why a row has run out of fields or holds a malformed one.
std::string fieldProblem(const FieldReader& fields) {
    if (fields.error() != nullptr)
        return fields.error();
    return std::to_string(fields.count()) + " fields where a snapshot has " +
           std::to_string(kColumnCount);
}

// Reads one data line into `snapshot`; returns why it is not a snapshot.
std::optional<std::string> parseRow(std::string_view line, PriceSnapshot& snapshot) {
    FieldReader fields(line);
    std::array<Field, kFixedColumns> fixed;
    for (Field& field : fixed) {
        if (!fields.next(field))
            return fieldProblem(fields);
    }
    const auto time = fixed[0].escaped ? std::nullopt : parseIsoUtc(fixed[0].text);
    if (!time)
        return "'" + shown(fixed[0].text) + "' is not a UTC time like 2026-12-07T02:30:15Z";
    const auto tp = fixed[1].escaped ? std::nullopt : parsePost(fixed[1].text);
    if (!tp)
        return "'" + shown(fixed[1].text) + "' is not a post number from 1 to 19";
    const std::string_view town = tradingPost(*tp).townName;
    if (fixed[2].escaped || fixed[2].text != town) {
        return "the town '" + shown(fixed[2].text) + "' is not post " + std::to_string(*tp) +
               "'s (" + std::string(town) + ")";
    }
    const Field& source = fixed[3];
    if (source.text.size() > 2 * kHistorySourceLimit)  // too long even with every quote doubled
        return "the source is longer than " + std::to_string(kHistorySourceLimit) + " bytes";

    for (int c = 1; c <= kCommodityCount; ++c) {
        auto price = fields.nextWholePrice();
        if (!price) {
            Field field;
            if (!fields.next(field))
                return fieldProblem(fields);
            price = field.escaped ? std::nullopt : parsePrice(field.text);
            if (!price) {
                return "'" + shown(field.text) + "' is not a price of " +
                       std::string(commodityName(c));
            }
        }
        snapshot.prices[static_cast<std::size_t>(c)] = *price;
    }
    if (!fields.atEnd())
        return "more than " + std::to_string(kColumnCount) + " fields";

    snapshot.source = unquoted(source);
    if (snapshot.source.size() > kHistorySourceLimit)
        return "the source is longer than " + std::to_string(kHistorySourceLimit) + " bytes";
    for (char ch : snapshot.source) {
        if (isControl(ch))
            return "the source holds a control character";
    }
    snapshot.time = *time;
    snapshot.tp = *tp;
    return std::nullopt;
}

std::string systemMessage(int error) {
    return std::generic_category().message(error);
}

}  // namespace

std::filesystem::path priceHistoryPath(const std::filesystem::path& storePath) {
    return storePath.parent_path() / "price-history.csv";
}

std::string isoUtcText(UtcSeconds time) {
    using namespace std::chrono;
    constexpr sys_days kFirst = year{0} / January / 1;
    constexpr sys_days kPastLast = year{10000} / January / 1;
    if (time < kFirst || time >= kPastLast)
        return {};
    const auto day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{time - day};
    std::string text;
    text.reserve(20);
    appendPadded(text, static_cast<int>(date.year()), 4);
    text += '-';
    appendPadded(text, static_cast<int>(static_cast<unsigned>(date.month())), 2);
    text += '-';
    appendPadded(text, static_cast<int>(static_cast<unsigned>(date.day())), 2);
    text += 'T';
    appendPadded(text, static_cast<int>(clock.hours().count()), 2);
    text += ':';
    appendPadded(text, static_cast<int>(clock.minutes().count()), 2);
    text += ':';
    appendPadded(text, static_cast<int>(clock.seconds().count()), 2);
    text += 'Z';
    return text;
}

std::optional<UtcSeconds> parseIsoUtc(std::string_view text) {
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    const auto year = digitsAt(text, 0, 4);
    const auto month = digitsAt(text, 5, 2);
    const auto day = digitsAt(text, 8, 2);
    const auto hour = digitsAt(text, 11, 2);
    const auto minute = digitsAt(text, 14, 2);
    const auto second = digitsAt(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *hour > 23 || *minute > 59 ||
        *second > 59) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{*year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok())
        return std::nullopt;
    return std::chrono::sys_days{date} + std::chrono::hours{*hour} + std::chrono::minutes{*minute} +
           std::chrono::seconds{*second};
}

std::string historySource(std::string_view text) {
    std::string source;
    for (char ch : text.substr(0, kHistorySourceLimit))
        source += isControl(ch) ? ' ' : ch;
    if (text.size() > kHistorySourceLimit) {
        // Never leave half a UTF-8 character: drop continuation bytes and their lead.
        while (!source.empty() && (static_cast<unsigned char>(source.back()) & 0xC0) == 0x80)
            source.pop_back();
        if (!source.empty() && (static_cast<unsigned char>(source.back()) & 0x80) != 0)
            source.pop_back();
    }
    return source;
}

std::string priceHistoryHeader() {
    return headerLine() + "\r\n";
}

std::string priceHistoryRow(const PriceSnapshot& snapshot) {
    std::string row = isoUtcText(snapshot.time);
    row += ',';
    row += std::to_string(snapshot.tp);
    row += ',';
    row += quotedIfNeeded(isTradingPost(snapshot.tp) ? tradingPost(snapshot.tp).townName : "");
    row += ',';
    row += quotedIfNeeded(historySource(snapshot.source));
    for (int c = 1; c <= kCommodityCount; ++c) {
        row += ',';
        row += singleText(snapshot.prices[static_cast<std::size_t>(c)]);
    }
    row += "\r\n";
    return row;
}

PriceHistory readPriceHistoryText(std::string_view text) {
    PriceHistory history;
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    if (text.empty())
        return history;

    const auto skip = [&history](std::size_t line, const std::string& why) {
        if (history.skippedRows++ == 0)
            history.firstSkip = "line " + std::to_string(line) + ": " + why;
    };

    // Room for every line that could be a snapshot, so that the list is never copied on the way:
    // no more lines than there are, and none shorter than 88 prices with their commas.
    std::size_t lines = 0;
    for (auto at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        ++lines;
    const std::size_t shortestRow = std::size_t{2} * kCommodityCount;
    history.snapshots.reserve(std::min({lines, text.size() / shortestRow, kHistorySnapshotLimit}));

    std::size_t lineNumber = 1;
    std::size_t at = 0;
    PriceSnapshot snapshot;
    while (at < text.size()) {
        const std::size_t newline = text.find('\n', at);
        const bool terminated = newline != std::string_view::npos;
        std::string_view line = text.substr(at, (terminated ? newline : text.size()) - at);
        at = terminated ? newline + 1 : text.size();
        if (line.ends_with('\r'))
            line.remove_suffix(1);

        if (lineNumber == 1) {
            const std::string header = headerLine();
            if (!terminated && std::string_view(header).starts_with(line)) {
                // A crash while the very first row went in: nothing but part of the header.
                history.tornLastRow = line.size() < header.size();
                if (history.tornLastRow)
                    skip(lineNumber, "the file ends in the middle of the header");
                return history;
            }
            if (auto problem = headerProblem(line)) {
                history.problem = notOurs(*problem);
                return history;
            }
        } else if (!terminated) {
            history.tornLastRow = true;
            skip(lineNumber, "the file ends in the middle of this row");
        } else if (!line.empty()) {
            if (auto why = parseRow(line, snapshot)) {
                skip(lineNumber, *why);
            } else if (history.snapshots.size() == kHistorySnapshotLimit) {
                history.snapshots.clear();
                history.snapshots.shrink_to_fit();
                history.skippedRows = 0;
                history.firstSkip.clear();
                history.problem = notOurs("it holds more than " +
                                          std::to_string(kHistorySnapshotLimit) + " snapshots");
                return history;
            } else {
                history.snapshots.push_back(snapshot);
            }
        }
        ++lineNumber;
    }
    return history;
}

PriceHistory readPriceHistoryFile(const std::filesystem::path& path) {
    PriceHistory history;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return history;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        history.problem = "cannot read " + path.string() + ": " + ec.message();
        return history;
    }
    if (size > kHistorySizeLimit) {
        history.problem = notOurs("it is " + std::to_string(size) + " bytes long, far more than " +
                                  std::to_string(kHistorySnapshotLimit) + " snapshots take");
        return history;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    std::ifstream in(path, std::ios::binary);
    if (!in || !in.read(text.data(), static_cast<std::streamsize>(size))) {
        history.problem = "cannot read " + path.string();
        return history;
    }
    return readPriceHistoryText(text);
}

namespace {

// The little the append needs from the file system, over a descriptor opened for appending.
class AppendFile {
public:
    explicit AppendFile(const std::filesystem::path& path) {
#ifdef _WIN32
        fd_ =
            _wopen(path.c_str(), _O_RDWR | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
#endif
        error_ = errno;
    }
    ~AppendFile() {
        if (fd_ >= 0) {
#ifdef _WIN32
            _close(fd_);
#else
            ::close(fd_);
#endif
        }
    }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool isOpen() const {
        return fd_ >= 0;
    }
    int error() const {
        return error_;
    }

    std::optional<std::int64_t> size() {
#ifdef _WIN32
        struct _stat64 status {};
        if (_fstat64(fd_, &status) != 0)
            return remember(std::nullopt);
#else
        struct stat status {};
        if (::fstat(fd_, &status) != 0)
            return remember(std::nullopt);
#endif
        return static_cast<std::int64_t>(status.st_size);
    }

    // Up to `count` bytes from `offset`; fewer when the file ends first.
    std::optional<std::string> readAt(std::int64_t offset, std::size_t count) {
        std::string bytes(count, '\0');
#ifdef _WIN32
        if (_lseeki64(fd_, offset, SEEK_SET) < 0)
            return remember(std::nullopt);
        const int n = _read(fd_, bytes.data(), static_cast<unsigned>(count));
#else
        const ssize_t n = ::pread(fd_, bytes.data(), count, static_cast<off_t>(offset));
#endif
        if (n < 0)
            return remember(std::nullopt);
        bytes.resize(static_cast<std::size_t>(n));
        return bytes;
    }

    // Writes all of `bytes` at the end of the file. Short writes are continued; an error stops.
    bool append(std::string_view bytes) {
        while (!bytes.empty()) {
#ifdef _WIN32
            const int n = _write(fd_, bytes.data(), static_cast<unsigned>(bytes.size()));
#else
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
#endif
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return remember(false);
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool flushToDisk() {
#ifdef _WIN32
        return _commit(fd_) == 0 || remember(false);
#elif defined(__linux__)
        return ::fdatasync(fd_) == 0 || remember(false);
#else
        return ::fsync(fd_) == 0 || remember(false);
#endif
    }

    // Back to `length`, taking away a row that did not get in whole. Should this fail too, the
    // part that got in is a torn last row: the reader skips it and the next append closes it.
    void cutBackTo(std::int64_t length) {
#ifdef _WIN32
        _chsize_s(fd_, length);
#else
        [[maybe_unused]] const int ignored = ::ftruncate(fd_, static_cast<off_t>(length));
#endif
    }

private:
    template <typename T>
    T remember(T result) {
        error_ = errno == 0 ? EIO : errno;
        return result;
    }

    int fd_ = -1;
    int error_ = 0;
};

// What has to go in before the row so that the file stays a history: the header for a new
// file, the rest of a header a crash cut short, or a mark ending a torn last row. Nothing for a
// file that is not a Ledgerly history; then `problem` says why.
std::optional<std::string> leadFor(AppendFile& file, std::int64_t size, const std::string& where,
                                   std::string& problem) {
    const std::string header = priceHistoryHeader();
    if (size == 0)
        return header;
    // A header that a spreadsheet has re-quoted is longer than ours; a few kilobytes do.
    constexpr std::size_t kFirstLineLimit = std::size_t{16} * 1024;
    const auto start = file.readAt(0, kFirstLineLimit);
    if (!start) {
        problem = "cannot read " + where + ": " + systemMessage(file.error());
        return std::nullopt;
    }
    std::string_view first = *start;
    if (first.starts_with(kByteOrderMark))
        first.remove_prefix(kByteOrderMark.size());
    const std::size_t newline = first.find('\n');
    if (newline == std::string_view::npos) {
        if (static_cast<std::int64_t>(start->size()) == size &&
            std::string_view(header).starts_with(first)) {
            return header.substr(first.size());
        }
        problem = where + " is " + notOurs("its first line is not the header");
        return std::nullopt;
    }
    std::string_view line = first.substr(0, newline);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    if (auto why = headerProblem(line)) {
        problem = where + " is " + notOurs(*why);
        return std::nullopt;
    }
    const auto last = file.readAt(size - 1, 1);
    if (!last) {
        problem = "cannot read " + where + ": " + systemMessage(file.error());
        return std::nullopt;
    }
    return *last == "\n" ? std::string() : std::string(kTornMark);
}

}  // namespace

std::optional<std::string> appendPriceSnapshot(const std::filesystem::path& path,
                                               const PriceSnapshot& snapshot) {
    const std::string where = path.string();
    const std::string row = priceHistoryRow(snapshot);
    // Only a row that reads back goes in: no post out of range, no price that is not a
    // number, no time past year 9999.
    PriceSnapshot readBack;
    if (auto why = parseRow(std::string_view(row).substr(0, row.size() - 2), readBack))
        return "the snapshot cannot be written: " + *why;

    errno = 0;
    AppendFile file(path);
    if (!file.isOpen())
        return "cannot open " + where + ": " + systemMessage(file.error());
    const auto size = file.size();
    if (!size)
        return "cannot read " + where + ": " + systemMessage(file.error());
    std::string problem;
    const auto lead = leadFor(file, *size, where, problem);
    if (!lead)
        return problem;

    // One buffer, so that the row reaches the file in as few writes as the system allows.
    const std::string bytes = *lead + row;
    // A row that did not wholly reach the disk is taken back out, so that the file is as it was.
    if (!file.append(bytes) || !file.flushToDisk()) {
        const std::string why = systemMessage(file.error());
        file.cutBackTo(*size);
        return "cannot write to " + where + ": " + why;
    }
    return std::nullopt;
}

}  // namespace ledgerly
