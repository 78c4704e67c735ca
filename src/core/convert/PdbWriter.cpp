#include "convert/PdbWriter.h"

namespace varn {

namespace {

// Big-endian output.
class BigEndianBuffer {
public:
    void u8(std::uint32_t v) { bytes_ += static_cast<char>(v & 0xFF); }
    void u16(std::uint32_t v) {
        u8(v >> 8);
        u8(v);
    }
    void u32(std::uint32_t v) {
        u16(v >> 16);
        u16(v);
    }
    void zeros(std::size_t n) { bytes_.append(n, '\0'); }
    // Exactly n bytes: text cut or zero-padded.
    void fixed(const std::string& text, std::size_t n) {
        bytes_ += text.substr(0, n);
        if (text.size() < n) zeros(n - text.size());
    }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace

std::uint32_t palmDate(std::int64_t unixSeconds) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixSeconds + kPalmEpochOffset) & 0xFFFFFFFFu);
}

Result<std::string> pdbFront(const VdiTable& table, const PdbHeaderInfo& info) {
    if (info.name.size() >= kPdbNameBytes) return makeError("Database name too long (31 characters at most).");
    const std::uint32_t count = table.recordCount;
    const std::uint32_t appInfo = pdbAppInfoOffset(count);

    BigEndianBuffer out;
    // Header.
    out.fixed(info.name, kPdbNameBytes);
    out.u16(info.attributes);
    out.u16(0);  // version
    out.u32(info.date);
    out.u32(info.date);
    out.u32(info.date);
    out.u32(0);  // modification number
    out.u32(appInfo);
    out.u32(0);  // sort info
    out.fixed("USER", 4);
    out.fixed(info.creator, 4);
    out.u32(0);  // unique ID seed
    out.u32(0);  // next record list
    out.u16(count);

    // Record list.
    const std::uint32_t first = table.dsnMode ? appInfo + static_cast<std::uint32_t>(kPdbAppInfoFixed) : 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        out.u32(first);
        out.u32(0);  // attributes and unique ID
    }
    out.u8(0x00);
    out.u8(0x01);

    // Application info.
    out.u16(0);  // renamed categories
    out.zeros(16 * 16);
    for (std::uint32_t i = 0; i < 16; ++i) out.u8(i);
    out.u8(0);  // last unique ID
    out.u8(0);
    out.u16(0);
    out.u16(table.dsnMode ? 3 : 1);
    out.u16(table.syncPreference);
    out.u32(2);
    out.u32(0);
    out.u32(0);
    out.u16(table.fieldCount);
    if (table.dsnMode) {
        out.fixed(table.dsnName, 32);
        return out.take();
    }
    for (const VdiField& f : table.fields) {
        out.u16(0);
        out.u16(static_cast<std::uint16_t>(f.type));
        out.u16(f.size);
    }
    out.zeros(10);
    return out.take();
}

std::string pdbRecordList(const std::vector<std::uint32_t>& offsets) {
    BigEndianBuffer out;
    for (std::uint32_t at : offsets) {
        out.u32(at);
        out.u32(0);  // attributes and unique ID
    }
    return out.take();
}

Result<std::string> buildPdb(const VdiTable& table, const PdbHeaderInfo& info) {
    Result<std::string> front = pdbFront(table, info);
    if (!front || table.dsnMode) return front;
    std::uint64_t total = front->size();
    for (const std::string& r : table.records) total += r.size();
    if (total > 0xFFFFFFFFu) return makeError(kPdbTooLarge);

    // Records, each entry of the list given its record's offset.
    std::string out = std::move(*front);
    std::vector<std::uint32_t> offsets;
    for (std::size_t i = 0; i < table.records.size() && i < table.recordCount; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out += table.records[i];
    }
    const std::string list = pdbRecordList(offsets);
    out.replace(kPdbHeaderBytes, list.size(), list);
    return out;
}

}  // namespace varn
