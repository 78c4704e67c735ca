#include "convert/VdiReader.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

namespace varn {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    s = trimLeft(s);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// A count as the fixed lines hold it: decimal digits only, at most 65535.
bool parseCount(std::string_view s, std::uint16_t& out) {
    if (s.empty()) return false;
    std::uint32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint32_t>(c - '0');
        if (v > 0xFFFF) return false;
    }
    out = static_cast<std::uint16_t>(v);
    return true;
}

// Drops leading blanks and then `drop` characters; the rest, trimmed. False
// when the line is shorter than its prefix.
bool afterPrefix(std::string_view line, std::size_t drop, std::string_view& rest) {
    line = trimLeft(line);
    if (line.size() < drop) return false;
    rest = trim(line.substr(drop));
    return true;
}

Error fail(const char* message) { return makeError(message); }

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// One field line: "<label>:<name>: <TYPE> <5 characters><size>".
Result<VdiField> parseFieldLine(std::string_view line) {
    std::string_view s = trimLeft(line);
    for (int i = 0; i < 2; ++i) {
        std::size_t colon = s.find(':');
        if (colon == std::string_view::npos) return fail(vdimsg::kUnknownType);
        s.remove_prefix(colon + 1);
    }
    s = trimLeft(s);
    std::size_t blank = s.find_first_of(" \t");
    if (blank == std::string_view::npos) return fail(vdimsg::kUnknownType);
    VdiField field;
    if (!vdiFieldTypeOf(s.substr(0, blank), field.type)) return fail(vdimsg::kUnknownType);
    std::string_view rest;
    if (!afterPrefix(s.substr(blank + 1), 5, rest) || !parseCount(rest, field.size)) return fail(vdimsg::kBadFieldSize);
    return field;
}

// Values a row must hold: the two skipped ones and one per field, n per NA field.
std::uint64_t valuesNeeded(const std::vector<VdiField>& fields) {
    std::uint64_t n = 2;
    for (const VdiField& f : fields) n += f.type == VdiFieldType::NumberArray ? f.size : 1;
    return n;
}

}  // namespace

bool VdiLines::next(std::string_view& line) {
    if (fd_ < 0) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
    } else {
        std::size_t end;
        while ((end = buffer_.find('\n', pos_)) == std::string::npos && fill()) {
        }
        if (pos_ >= buffer_.size()) return false;
        if (end == std::string::npos) end = buffer_.size();
        line = std::string_view(buffer_).substr(pos_, end - pos_);
        pos_ = end + 1;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number_;
    return true;
}

bool VdiLines::fill() {
    if (eof_) return false;
    // Lines already handed out are dropped; the one being read stays.
    buffer_.erase(0, pos_);
    pos_ = 0;
    char chunk[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = n < 0;
            eof_ = true;
            return false;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }
}

std::size_t countVdiRows(VdiLines& lines, std::size_t limit) {
    std::size_t n = 0;
    std::string_view line;
    while (n < limit && lines.next(line))
        if (!trim(line).empty()) ++n;
    return n;
}

int vdiSyncPreferenceCode(std::string_view keyword) {
    static constexpr struct {
        const char* keyword;
        int code;
    } kTable[] = {{"UNDEFINED", 0}, {"NOT_SPECIFIED", 0}, {"PDA_TO_PC", 1},
                  {"PC_TO_PDA", 2}, {"MERGE", 3},         {"NO_SYNC", 4}};
    for (const auto& e : kTable)
        if (equalNoCase(keyword, e.keyword)) return e.code;
    return -1;
}

bool vdiFieldTypeOf(std::string_view keyword, VdiFieldType& type) {
    if (equalNoCase(keyword, "N")) type = VdiFieldType::Number;
    else if (equalNoCase(keyword, "S")) type = VdiFieldType::String;
    else if (equalNoCase(keyword, "NA")) type = VdiFieldType::NumberArray;
    else if (equalNoCase(keyword, "BA")) type = VdiFieldType::ByteArray;
    else return false;
    return true;
}

bool splitVdiValues(std::string_view line, std::vector<std::string>& values) {
    values.clear();
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (;;) {
        std::string value;
        if (line.substr(i, 2) == "\"\"" && (i + 2 == n || line[i + 2] == ',')) {
            i += 2;  // two quotes alone: an empty value
        } else {
            bool quoted = false;
            while (i < n) {
                const char c = line[i];
                if (c == '"') {
                    if (quoted && i + 1 < n && line[i + 1] == '"') {
                        value += '"';
                        i += 2;
                        continue;
                    }
                    quoted = !quoted;
                    ++i;
                } else if (c == ',' && !quoted) {
                    break;
                } else if (c == '\\' && i + 1 < n && line[i + 1] == 'n') {
                    value += '\n';
                    i += 2;
                } else {
                    value += c;
                    ++i;
                }
            }
            if (quoted) return false;
        }
        values.push_back(std::move(value));
        if (i >= n) return true;
        ++i;  // the comma
    }
}

bool parseVdiNumber(std::string_view value, std::string_view decimalSeparator, double& out) {
    std::string v(value);
    if (!v.empty() && v.front() == '"') v.front() = ' ';
    if (decimalSeparator.empty()) decimalSeparator = ".";
    if (v.find(decimalSeparator) == std::string::npos) {
        std::size_t at = v.find('.');
        if (at == std::string::npos) at = v.find(',');
        if (at != std::string::npos) v.replace(at, 1, decimalSeparator);
    }
    std::string_view s = trim(v);
    if (s.empty()) {
        out = 0.0;
        return true;
    }
    // The number in the form from_chars reads: [-]digits[.digits][e[-]digits].
    std::string plain;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') {
        if (s[i] == '-') plain += '-';
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        plain += s[i++];
        ++digits;
    }
    if (s.substr(i, decimalSeparator.size()) == decimalSeparator) {
        i += decimalSeparator.size();
        plain += '.';
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            plain += s[i++];
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        std::size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            plain += s[i++];
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    double d = 0.0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), d);
    if (ec != std::errc() || end != plain.data() + plain.size()) return false;
    out = d;
    return true;
}

bool parseVdiHexBytes(std::string_view value, std::size_t size, std::string& out) {
    std::string_view s = trim(value);
    if (s.size() != 2 * size) return false;
    for (char c : s)
        if (!isHexDigit(c)) return false;
    for (std::size_t i = 0; i < s.size(); i += 2)
        out += static_cast<char>(hexValue(s[i]) * 16 + hexValue(s[i + 1]));
    if (size % 2 != 0) out += '\0';
    return true;
}

void appendVdiDouble(std::string& out, double v) {
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof bits);
    for (int shift = 56; shift >= 0; shift -= 8) out += static_cast<char>((bits >> shift) & 0xFF);
}

void appendVdiString(std::string& out, std::string_view text) {
    out += text;
    out += '\0';
    if ((text.size() + 1) % 2 != 0) out += '\0';
}

std::string vdiLineMessage(const char* what, std::size_t lineNumber) {
    return std::string(what) + " in line " + std::to_string(lineNumber) + " of VDB file.";
}

Result<VdiTable> readVdiDescription(VdiLines& lines) {
    VdiTable table;
    std::string_view line;
    for (int i = 0; i < 3; ++i)
        if (!lines.next(line)) return fail(vdimsg::kMissingLines);

    std::string_view rest;
    if (!lines.next(line)) return fail(vdimsg::kMissingLines);
    if (!afterPrefix(line, 8, rest) || !parseCount(rest, table.fieldCount)) return fail(vdimsg::kBadFieldCount);
    if (!lines.next(line)) return fail(vdimsg::kMissingLines);
    if (!afterPrefix(line, 8, rest) || !parseCount(rest, table.recordCount)) return fail(vdimsg::kBadRecordCount);
    if (!lines.next(line)) return fail(vdimsg::kMissingLines);
    int sync = afterPrefix(line, 10, rest) ? vdiSyncPreferenceCode(rest) : -1;
    if (sync < 0) return fail(vdimsg::kUnknownSync);
    table.syncPreference = static_cast<std::uint16_t>(sync);

    const bool haveLine7 = lines.next(line);
    if (haveLine7 && line.substr(0, 4) == "#DSN") {
        table.dsnMode = true;
        table.recordCount = 1;
        std::size_t colon = line.find(':');
        if (colon != std::string_view::npos) table.dsnName = std::string(line.substr(colon + 1));
        if (table.dsnName.size() >= 32) return fail(vdimsg::kDsnTooLong);
        return table;
    }

    // Field lines: line 7 is the first. Each takes a line, so a lying count
    // runs out of lines long before the table grows large.
    for (std::size_t i = 0; i < table.fieldCount; ++i) {
        const bool have = i == 0 ? haveLine7 : lines.next(line);
        if (!have) return fail(vdimsg::kMissingLines);
        Result<VdiField> field = parseFieldLine(line);
        if (!field) return field.error();
        table.fields.push_back(*field);
    }
    return table;
}

Status readVdiRows(VdiLines& lines, const VdiTable& table, std::string_view decimalSeparator,
                   const std::function<Status(const std::string& record)>& take) {
    const std::uint64_t needed = valuesNeeded(table.fields);
    std::vector<std::string> values;
    std::string_view line;
    std::string record;
    for (std::size_t rows = 0; rows < table.recordCount && lines.next(line);) {
        if (trim(line).empty()) continue;
        if (!splitVdiValues(line, values)) return makeError(vdiLineMessage(vdimsg::kUnterminatedQuote, lines.number()));
        if (values.size() < needed) return makeError(vdiLineMessage(vdimsg::kTooFewValues, lines.number()));
        record.clear();
        std::size_t v = 2;
        for (const VdiField& f : table.fields) {
            switch (f.type) {
            case VdiFieldType::Number:
            case VdiFieldType::NumberArray: {
                const std::size_t count = f.type == VdiFieldType::Number ? 1 : f.size;
                for (std::size_t k = 0; k < count; ++k) {
                    double d = 0.0;
                    if (!parseVdiNumber(values[v++], decimalSeparator, d))
                        return makeError(vdiLineMessage(vdimsg::kBadNumber, lines.number()));
                    appendVdiDouble(record, d);
                }
                break;
            }
            case VdiFieldType::String:
                appendVdiString(record, values[v++]);
                break;
            case VdiFieldType::ByteArray:
                if (!parseVdiHexBytes(values[v++], f.size, record))
                    return makeError(vdiLineMessage(vdimsg::kBadByteArray, lines.number()));
                break;
            }
        }
        if (Status taken = take(record); !taken) return taken;
        ++rows;
    }
    return {};
}

Result<VdiTable> readVdi(std::string_view text, std::string_view decimalSeparator) {
    VdiLines lines(text);
    Result<VdiTable> table = readVdiDescription(lines);
    if (!table || table->dsnMode) return table;
    VdiLines ahead = lines;
    if (countVdiRows(ahead, table->recordCount) < table->recordCount) return fail(vdimsg::kFewerRows);
    table->records.reserve(table->recordCount);
    Status rows = readVdiRows(lines, *table, decimalSeparator, [&](const std::string& record) {
        table->records.push_back(record);
        return Status{};
    });
    if (!rows) return rows.error();
    return table;
}

}  // namespace varn
