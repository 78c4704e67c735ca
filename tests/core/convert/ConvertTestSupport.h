// Helpers of the conversion tests: running a conversion with a fixed clock,
// big-endian field reads, and the facts Palm::PDB (libpalm-perl), an
// independent PalmOS database reader, reports for a database file.
#pragma once

#include <cstdint>
#include <string>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "convert/VdiConverter.h"

namespace varn::test {

inline constexpr std::int64_t kTestClock = 1000000000;  // 2001-09-09 01:46:40 UTC

inline std::uint32_t be32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}
inline std::uint16_t be16(const std::string& s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) << 8 | static_cast<unsigned char>(s[at + 1]));
}

// Converts `input` to its ".PDB" beside it with the test clock.
inline bool convertForTest(const std::string& input, RecordingUi& ui, const std::string& creator = "VARN",
                           bool nonBeamable = false, bool backup = false, const std::string& separator = ".") {
    VdiConversion c;
    c.input = input;
    c.output = pdbPathFor(input);
    c.creator = creator;
    c.nonBeamable = nonBeamable;
    c.backup = backup;
    c.clock = [] { return kTestClock; };
    c.decimalSeparator = separator;
    return convertVdiToPdb(c, ui);
}

inline bool havePalmPdb() { return runCommand("perl -MPalm::PDB -MPalm::Raw -e 1").status == 0; }

// What Palm::PDB reads from the file, as "key=value" lines.
inline ProcessOutput palmPdbFacts(const std::string& pdbPath) {
    return runCommand("perl " + shellQuote(dataPath("convert/pdb_facts.pl")) + " " + shellQuote(pdbPath));
}

}  // namespace varn::test
