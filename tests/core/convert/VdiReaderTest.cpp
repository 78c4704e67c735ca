// The data-file reader piece by piece (values, numbers, hexadecimal, field
// lines) and every malformed file: a message with the caption "Error!", no
// database written, and an existing database left as it was.

#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "convert/PdbWriter.h"
#include "convert/VdiReader.h"
#include "platform/FileSystem.h"

namespace varn {
namespace {

using namespace test;

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> v;
    EXPECT_TRUE(splitVdiValues(line, v)) << line;
    return v;
}

TEST(VdiValues, CommasQuotesAndEscapes) {
    EXPECT_EQ(split("a,b,c"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(split("\"a,b\",c"), (std::vector<std::string>{"a,b", "c"}));
    EXPECT_EQ(split("\"say \"\"hi\"\"\",x"), (std::vector<std::string>{"say \"hi\"", "x"}));
    EXPECT_EQ(split("line\\nnext"), (std::vector<std::string>{"line\nnext"}));
    EXPECT_EQ(split("\"in \\n quotes\""), (std::vector<std::string>{"in \n quotes"}));
    EXPECT_EQ(split("\"\",\"\""), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(split("a,"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(split(""), (std::vector<std::string>{""}));
    EXPECT_EQ(split(",,"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(split("ab\"c,d\"e"), (std::vector<std::string>{"abc,de"}));
    EXPECT_EQ(split("\"\"\"7\""), (std::vector<std::string>{"\"7"}));
    EXPECT_EQ(split("back\\slash"), (std::vector<std::string>{"back\\slash"}));
}

TEST(VdiValues, UnterminatedQuoteIsRefused) {
    std::vector<std::string> v;
    EXPECT_FALSE(splitVdiValues("1,2,\"open", v));
    EXPECT_FALSE(splitVdiValues("\"", v));
    EXPECT_FALSE(splitVdiValues("\"a\"\"", v));
}

double number(const std::string& text, const std::string& sep = ".") {
    double d = -999;
    EXPECT_TRUE(parseVdiNumber(text, sep, d)) << text;
    return d;
}

TEST(VdiNumbers, DecimalSeparatorRule) {
    EXPECT_EQ(number("1.5"), 1.5);
    EXPECT_EQ(number("1,5"), 1.5);  // no "." in the value: its "," is taken for it
    EXPECT_EQ(number("1.5", ","), 1.5);
    EXPECT_EQ(number("1,5", ","), 1.5);
    EXPECT_EQ(number("-0.25"), -0.25);
    EXPECT_EQ(number("+3"), 3.0);
    EXPECT_EQ(number("1e3"), 1000.0);
    EXPECT_EQ(number("2.5E-1"), 0.25);
    EXPECT_EQ(number(".5"), 0.5);
    EXPECT_EQ(number("5."), 5.0);
    EXPECT_EQ(number("\"7"), 7.0);  // a leading quote counts as a blank
    EXPECT_EQ(number("  12  "), 12.0);
    EXPECT_EQ(number(""), 0.0);
    EXPECT_EQ(number("   "), 0.0);
    EXPECT_EQ(number("0.1"), 0.1);
    EXPECT_EQ(number("-1234,0625", ","), -1234.0625);
    EXPECT_EQ(number("1.5", "\xD9\xAB"), 1.5);  // a separator of more than one byte
}

TEST(VdiNumbers, NonNumbersAreRefused) {
    double d = 0;
    for (const char* bad : {"abc", "1.5kg", "1,234.5", "1.2.3", "e5", "1e", "--1", ".", "0x10", "inf", "1 2"})
        EXPECT_FALSE(parseVdiNumber(bad, ".", d)) << bad;
    EXPECT_FALSE(parseVdiNumber("1e999", ".", d));
    EXPECT_FALSE(parseVdiNumber("1.234,5", ",", d));  // with "," present, "." is no decimal point
}

TEST(VdiBytes, HexPairsWithPadding) {
    std::string out;
    ASSERT_TRUE(parseVdiHexBytes("0A0B0C", 3, out));
    EXPECT_EQ(out, std::string("\x0A\x0B\x0C\0", 4));
    out.clear();
    ASSERT_TRUE(parseVdiHexBytes(" ffEE ", 2, out));
    EXPECT_EQ(out, "\xFF\xEE");
    out.clear();
    ASSERT_TRUE(parseVdiHexBytes("", 0, out));
    EXPECT_EQ(out, "");
    for (const char* bad : {"0A0B", "0A0B0C0D", "0A0B0", "0G0B0C", "", "0A 0B0C"}) {
        out.clear();
        EXPECT_FALSE(parseVdiHexBytes(bad, 3, out)) << bad;
    }
}

const char* kHead = "VARN Data File\nTable: T\n\n";

std::string file(const std::string& fixed, const std::string& rest = "") { return kHead + fixed + rest; }

Result<VdiTable> read(const std::string& text) { return readVdi(text, "."); }

std::string errorOf(const std::string& text) {
    Result<VdiTable> t = read(text);
    return t ? std::string("(read)") : t.error().message;
}

TEST(VdiReader, FieldLinesAndRows) {
    Result<VdiTable> t = read(file("Fields: 3\nRecords: 1\nSyncPref: MERGE\n",
                                   "A:x: S Size:10\n  B:y:   na   Size:  2\nC:z: BA size=1\n7,8,hi,1,2,AB\n"));
    ASSERT_TRUE(t) << t.error().message;
    ASSERT_EQ(t->fields.size(), 3u);
    EXPECT_EQ(t->fields[1].type, VdiFieldType::NumberArray);
    EXPECT_EQ(t->fields[1].size, 2);
    EXPECT_EQ(t->fields[2].size, 1);
    ASSERT_EQ(t->records.size(), 1u);
    EXPECT_EQ(t->records[0].size(), 4u + 16 + 2);
}

TEST(VdiReader, ExtraValuesAndRowsAreIgnored) {
    Result<VdiTable> t = read(file("Fields: 1\nRecords: 1\nSyncPref: MERGE\n", "A:x: N Size:8\n1,2,3,4,5\n1,2,9\n"));
    ASSERT_TRUE(t);
    ASSERT_EQ(t->records.size(), 1u);
    std::string three;
    appendVdiDouble(three, 3);
    EXPECT_EQ(t->records[0], three);
}

TEST(VdiReader, DsnNameOf31CharactersFits) {
    EXPECT_TRUE(read(file("Fields: 0\nRecords: 0\nSyncPref: MERGE\n", "#DSN:" + std::string(31, 'd'))));
    EXPECT_EQ(errorOf(file("Fields: 0\nRecords: 0\nSyncPref: MERGE\n", "#DSN:" + std::string(32, 'd'))),
              vdimsg::kDsnTooLong);
}

TEST(VdiReader, NoFieldsNoRowsNeedsNoSeventhLine) {
    Result<VdiTable> t = read(file("Fields: 0\nRecords: 0\nSyncPref: MERGE"));
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->fields.empty());
}

struct BadCase {
    const char* name;
    std::string text;
    std::string message;
};

std::vector<BadCase> badCases() {
    const std::string ok3 = "Fields: 1\nRecords: 1\nSyncPref: MERGE\n";
    return {
        {"empty_file", "", vdimsg::kMissingLines},
        {"three_lines", kHead, vdimsg::kMissingLines},
        {"no_record_line", file("Fields: 1\n"), vdimsg::kMissingLines},
        {"no_sync_line", file("Fields: 1\nRecords: 1\n"), vdimsg::kMissingLines},
        {"field_line_short", file("Fields:\nRecords: 1\nSyncPref: MERGE\n"), vdimsg::kBadFieldCount},
        {"field_count_text", file("Fields: two\nRecords: 1\nSyncPref: MERGE\n"), vdimsg::kBadFieldCount},
        {"field_count_negative", file("Fields: -1\nRecords: 1\nSyncPref: MERGE\n"), vdimsg::kBadFieldCount},
        {"field_count_over_16_bits", file("Fields: 65536\nRecords: 1\nSyncPref: MERGE\n"), vdimsg::kBadFieldCount},
        {"record_count_huge", file("Fields: 1\nRecords: 99999999999999999999\nSyncPref: MERGE\n"),
         vdimsg::kBadRecordCount},
        {"record_count_empty", file("Fields: 1\nRecords:\nSyncPref: MERGE\n"), vdimsg::kBadRecordCount},
        {"sync_unknown", file("Fields: 1\nRecords: 1\nSyncPref: SOMETIMES\n"), vdimsg::kUnknownSync},
        {"sync_short", file("Fields: 1\nRecords: 1\nSync\n"), vdimsg::kUnknownSync},
        {"field_lines_missing", file("Fields: 3\nRecords: 0\nSyncPref: MERGE\n", "A:x: N Size:8\n"),
         vdimsg::kMissingLines},
        {"field_count_far_larger", file("Fields: 65535\nRecords: 0\nSyncPref: MERGE\n", "A:x: N Size:8\n"),
         vdimsg::kMissingLines},
        {"field_one_colon", file(ok3, "x: N Size:8\n"), vdimsg::kUnknownType},
        {"field_no_blank", file(ok3, "A:x:N\n"), vdimsg::kUnknownType},
        {"field_unknown_type", file(ok3, "A:x: D Size:8\n"), vdimsg::kUnknownType},
        {"field_size_short", file(ok3, "A:x: N Siz\n"), vdimsg::kBadFieldSize},
        {"field_size_text", file(ok3, "A:x: N Size:big\n"), vdimsg::kBadFieldSize},
        {"field_size_over_16_bits", file(ok3, "A:x: NA Size:70000\n"), vdimsg::kBadFieldSize},
        {"fewer_rows", file("Fields: 1\nRecords: 3\nSyncPref: MERGE\n", "A:x: N Size:8\n1,1,1\n\n2,2,2\n"),
         vdimsg::kFewerRows},
        {"record_count_far_larger", file("Fields: 1\nRecords: 65535\nSyncPref: MERGE\n", "A:x: N Size:8\n1,1,1\n"),
         vdimsg::kFewerRows},
        {"unterminated_quote", file(ok3, "A:x: S Size:8\n1,1,\"open\n"), vdiLineMessage(vdimsg::kUnterminatedQuote, 8)},
        {"too_few_values", file(ok3, "A:x: N Size:8\n1,1\n"), vdiLineMessage(vdimsg::kTooFewValues, 8)},
        {"na_too_few_values", file(ok3, "A:x: NA Size:65535\n\n1,1,1,2,3\n"), vdiLineMessage(vdimsg::kTooFewValues, 9)},
        {"bad_number", file(ok3, "A:x: N Size:8\n1,1,one\n"), vdiLineMessage(vdimsg::kBadNumber, 8)},
        {"short_byte_array", file(ok3, "A:x: BA Size:3\n1,1,0A0B\n"), vdiLineMessage(vdimsg::kBadByteArray, 8)},
        {"odd_hex_digits", file(ok3, "A:x: BA Size:3\n1,1,0A0B0\n"), vdiLineMessage(vdimsg::kBadByteArray, 8)},
        {"non_hex_digits", file(ok3, "A:x: BA Size:1\n1,1,ZZ\n"), vdiLineMessage(vdimsg::kBadByteArray, 8)},
        {"empty_byte_array", file(ok3, "A:x: BA Size:2\n1,1,\n"), vdiLineMessage(vdimsg::kBadByteArray, 8)},
    };
}

class VdiBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(VdiBadInput, ReaderGivesItsMessage) { EXPECT_EQ(errorOf(GetParam().text), GetParam().message); }

INSTANTIATE_TEST_SUITE_P(Cases, VdiBadInput, ::testing::ValuesIn(badCases()),
                         [](const ::testing::TestParamInfo<BadCase>& i) { return i.param.name; });

// A refused file is reported as "Error!"; nothing is written, an existing database stays.
TEST(VdiConversion, RefusedInputWritesNothing) {
    TempDir dir;
    RecordingUi ui;
    EXPECT_FALSE(convertForTest(dir.file("none.vdi"), ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Cannot open VDB file"});
    EXPECT_EQ(ui.messages[0].caption, "Error!");
    const std::string input = dir.file("Table.vdi");
    for (bool existing : {false, true}) {
        writeBytes(input, file("Fields: 1\nRecords: 1\nSyncPref: MERGE\n", "A:x: N Size:8\n1,1,one\n"));
        if (existing) writeBytes(dir.file("Table.PDB"), "previous database");
        ui.clear();
        EXPECT_FALSE(convertForTest(input, ui));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, vdiLineMessage(vdimsg::kBadNumber, 8));
        EXPECT_EQ(ui.messages[0].caption, "Error!");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
        if (existing)
            EXPECT_EQ(readBytes(dir.file("Table.PDB")), "previous database");
        else
            EXPECT_FALSE(fsys::exists(dir.file("Table.PDB")));
    }
}

TEST(VdiConversion, OutputThatCannotBeCreated) {
    TempDir dir;
    const std::string input = copyDataFile(dir, "convert/f2_r0/Empty.vdi");
    VdiConversion c;
    c.input = input;
    c.output = dir.file("missing/folder/Empty.PDB");
    c.creator = "VARN";
    c.clock = [] { return kTestClock; };
    RecordingUi ui;
    EXPECT_FALSE(convertVdiToPdb(c, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Cannot open PDB file"});
}

TEST(VdiConversion, DatabaseNameLimits) {
    TempDir dir;
    const std::string body = readBytes(dataPath("convert/f2_r0/Empty.vdi"));
    const std::string name31(31, 'n');
    writeBytes(dir.file(name31 + ".vdi"), body);
    RecordingUi ui;
    EXPECT_TRUE(convertForTest(dir.file(name31 + ".vdi"), ui)) << ui.lastText();
    const std::string pdb = readBytes(dir.file(name31 + ".PDB"));
    EXPECT_EQ(pdb.substr(0, 32), name31 + std::string(1, '\0'));

    const std::string name32(32, 'n');
    writeBytes(dir.file(name32 + ".vdi"), body);
    ui.clear();
    EXPECT_FALSE(convertForTest(dir.file(name32 + ".vdi"), ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{convertmsg::kNameTooLong});
    EXPECT_FALSE(fsys::exists(dir.file(name32 + ".PDB")));

    writeBytes(dir.file(".vdi"), body);
    ui.clear();
    EXPECT_FALSE(convertForTest(dir.file(".vdi"), ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{convertmsg::kNameTooShort});
}

TEST(VdiConversion, NameDropsTheLastFourCharacters) {
    EXPECT_EQ(pdbNameFor("/a/b/Customers.vdb"), "Customers");
    EXPECT_EQ(pdbNameFor("Data.vdix"), "Data.");
    EXPECT_EQ(pdbNameFor("/x/abcd"), "");
    EXPECT_EQ(pdbPathFor("/a/b/Customers.vdb"), "/a/b/Customers.PDB");
    EXPECT_EQ(pdbPathFor("Customers.vdi"), "Customers.PDB");
    EXPECT_EQ(pdbPathFor("/Customers.vdi"), "/Customers.PDB");
}

TEST(VdiConversion, ExistingDatabaseIsReplacedAndAShortCreatorZeroPadded) {
    TempDir dir;
    const std::string input = copyDataFile(dir, "convert/f2_r0/Empty.vdi");
    writeBytes(dir.file("Empty.PDB"), std::string(5000, 'x'));
    RecordingUi ui;
    ASSERT_TRUE(convertForTest(input, ui, "AB"));
    std::string expected = readBytes(dataPath("convert/f2_r0/expected.pdb"));
    expected.replace(64, 4, std::string("AB\0\0", 4));
    EXPECT_EQ(readBytes(dir.file("Empty.PDB")), expected);
}

}  // namespace
}  // namespace varn
