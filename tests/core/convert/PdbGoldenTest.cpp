// Whole databases as the converter writes them, byte for byte against golden
// files (built independently from the format's tables), and every output
// (equal to its golden file) opened by Palm::PDB, an independent reader.

#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "platform/FileSystem.h"

namespace varn {
namespace {

using namespace test;

struct GoldenCase {
    std::string name;
    std::string input;     // below tests/data/convert
    std::string expected;  // below tests/data/convert
    std::string creator;
    bool nonBeamable;
    bool backup;
    std::string facts;  // what Palm::PDB must report
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

std::string facts(const std::string& name, const std::string& creator, const std::string& attributes, int records,
                  const std::string& sizes, int appinfo, const std::string& table) {
    return "name=" + name + "\ntype=USER\ncreator=" + creator + "\nattributes=" + attributes +
           "\nctime=1000000000\nrecords=" + std::to_string(records) + "\nsizes=" + sizes +
           "\nappinfo=" + std::to_string(appinfo) + "\ntable=" + table + "\n";
}

const std::vector<GoldenCase>& cases() {
    static const std::vector<GoldenCase> all = {
        {"two_fields_no_rows", "f2_r0/Empty.vdi", "f2_r0/expected.pdb", "VARN", false, false,
         facts("Empty", "VARN", "", 0, "", 318, "1,3,2,2")},
        {"string_padding", "strings/Strings.vdi", "strings/expected.pdb", "VARN", false, false,
         facts("Strings", "VARN", "", 4, "4,4,2,8", 312, "1,2,2,1")},
        {"byte_arrays", "bytes/Bytes.vdi", "bytes/expected.pdb", "VARN", false, false,
         facts("Bytes", "VARN", "", 2, "6,6", 318, "1,4,2,2")},
        {"number_arrays", "numbers/Numbers.vdi", "numbers/expected.pdb", "VARN", false, false,
         facts("Numbers", "VARN", "", 2, "40,40", 324, "1,1,2,3")},
        {"dsn_mode", "dsn/Remote.vdi", "dsn/expected.pdb", "VARN", false, false,
         facts("Remote", "VARN", "", 1, "32", 296, "3,0,2,3")},
        {"mixed_crlf_both_attributes", "mixed/Customers.vdi", "mixed/expected.pdb", "CUSTOMER", true, true,
         facts("Customers", "CUST", "Backup,CopyPrevention", 3, "38,34,40", 330, "1,3,2,4")},
        {"sync_undefined", "sync/Sync_UNDEFINED.vdi", "sync/expected_UNDEFINED.pdb", "Sync", true, false,
         facts("Sync_UNDEFINED", "Sync", "CopyPrevention", 1, "8", 312, "1,0,2,1")},
        {"sync_not_specified", "sync/Sync_UNSTATED.vdi", "sync/expected_UNSTATED.pdb", "Sync", false, true,
         facts("Sync_UNSTATED", "Sync", "Backup", 1, "8", 312, "1,0,2,1")},
        {"sync_pda_to_pc", "sync/Sync_PDA_TO_PC.vdi", "sync/expected_PDA_TO_PC.pdb", "Sync", true, true,
         facts("Sync_PDA_TO_PC", "Sync", "Backup,CopyPrevention", 1, "8", 312, "1,1,2,1")},
        {"sync_pc_to_pda", "sync/Sync_PC_TO_PDA.vdi", "sync/expected_PC_TO_PDA.pdb", "Sync", false, false,
         facts("Sync_PC_TO_PDA", "Sync", "", 1, "8", 312, "1,2,2,1")},
        {"sync_merge", "sync/Sync_MERGE.vdi", "sync/expected_MERGE.pdb", "Sync", true, false,
         facts("Sync_MERGE", "Sync", "CopyPrevention", 1, "8", 312, "1,3,2,1")},
        {"sync_no_sync", "sync/Sync_NO_SYNC.vdi", "sync/expected_NO_SYNC.pdb", "Sync", false, true,
         facts("Sync_NO_SYNC", "Sync", "Backup", 1, "8", 312, "1,4,2,1")},
    };
    return all;
}

class PdbGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(PdbGolden, ConvertsByteForByte) {
    const GoldenCase& c = GetParam();
    TempDir dir;
    const std::string input = copyDataFile(dir, "convert/" + c.input);
    RecordingUi ui;
    ASSERT_TRUE(convertForTest(input, ui, c.creator, c.nonBeamable, c.backup)) << ui.lastText();
    EXPECT_TRUE(ui.messages.empty()) << ui.lastText();
    const std::string out = readBytes(pdbPathFor(input));
    EXPECT_TRUE(matchesGolden(out, "convert/" + c.expected));

    if (!havePalmPdb()) GTEST_SKIP() << "Palm::PDB (libpalm-perl) is not installed";
    ProcessOutput fresh = palmPdbFacts(pdbPathFor(input));
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_EQ(fresh.out, c.facts);
}

INSTANTIATE_TEST_SUITE_P(Cases, PdbGolden, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& i) { return i.param.name; });

// The sizes and values the format fixes, checked on the bytes themselves.
TEST(PdbLayout, TwoFieldsNoRowsIs398Bytes) {
    const std::string pdb = readBytes(dataPath("convert/f2_r0/expected.pdb"));
    ASSERT_EQ(pdb.size(), 398u);
    EXPECT_EQ(pdb.substr(0, 6), std::string("Empty\0", 6));
    EXPECT_EQ(be32(pdb, 36), 1000000000u + 2082844800u);
    EXPECT_EQ(be32(pdb, 40), be32(pdb, 36));
    EXPECT_EQ(be32(pdb, 44), be32(pdb, 36));
    EXPECT_EQ(be32(pdb, 52), 80u);
    EXPECT_EQ(pdb.substr(60, 8), "USERVARN");
    EXPECT_EQ(be16(pdb, 76), 0);
    EXPECT_EQ(pdb.substr(78, 2), std::string("\0\1", 2));
    EXPECT_EQ(be16(pdb, 80 + 294), 2);                      // field count
    EXPECT_EQ(pdb.substr(80 + 296, 6), std::string("\0\0\0\0\0\x08", 6));  // N, size 8
    EXPECT_EQ(pdb.substr(80 + 302, 6), std::string("\0\0\0\x01\0\x14", 6));  // S, size 20
}

TEST(PdbLayout, StringAndByteArrayPadding) {
    const std::string s = readBytes(dataPath("convert/strings/expected.pdb"));
    const std::uint32_t first = be32(s, 78);
    EXPECT_EQ(first, 80u + 8 * 4 + 306 + 6);
    EXPECT_EQ(s.substr(first, 4), std::string("ab\0\0", 4));
    EXPECT_EQ(s.substr(be32(s, 86), 4), std::string("abc\0", 4));
    const std::string b = readBytes(dataPath("convert/bytes/expected.pdb"));
    EXPECT_EQ(b.substr(be32(b, 78), 4), std::string("\x0A\x0B\x0C\0", 4));
}

TEST(PdbLayout, DsnRecordPointsIntoTheApplicationInfo) {
    const std::string d = readBytes(dataPath("convert/dsn/expected.pdb"));
    ASSERT_EQ(d.size(), 80u + 8 + 296 + 32);
    EXPECT_EQ(be32(d, 78), 88u + 296);
    EXPECT_EQ(d.substr(88 + 296, 13), std::string("CustomersDSN\0", 13));
}

}  // namespace
}  // namespace varn
