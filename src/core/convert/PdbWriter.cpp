#include "convert/PdbWriter.h"

namespace varn {

namespace {

// Big-endian output with patching of earlier fields.
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
    void raw(const std::string& bytes) { bytes_ += bytes; }
    void patch32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    }
    std::size_t size() const { return bytes_.size(); }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace

std::uint32_t palmDate(std::int64_t unixSeconds) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixSeconds + kPalmEpochOffset) & 0xFFFFFFFFu);
}

Result<std::string> buildPdb(const VdiTable& table, const PdbHeaderInfo& info) {
    if (info.name.size() >= kPdbNameBytes) return makeError("Database name too long (31 characters at most).");
    const std::uint32_t count = table.recordCount;
    const std::uint32_t appInfo = pdbAppInfoOffset(count);
    const std::uint64_t appInfoSize =
        kPdbAppInfoFixed + (table.dsnMode ? 32 : 6 * std::uint64_t{table.fields.size()} + 10);
    std::uint64_t total = appInfo + appInfoSize;
    if (!table.dsnMode)
        for (const std::string& r : table.records) total += r.size();
    if (total > 0xFFFFFFFFu) return makeError("VDB file too large for a PDB file.");

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

    // Records, each entry of the list patched once its record is written.
    for (std::size_t i = 0; i < table.records.size() && i < count; ++i) {
        const std::uint32_t at = static_cast<std::uint32_t>(out.size());
        out.raw(table.records[i]);
        out.patch32(kPdbHeaderBytes + 8 * i, at);
    }
    return out.take();
}

}  // namespace varn
