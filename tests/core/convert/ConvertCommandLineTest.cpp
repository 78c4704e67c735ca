// The conversion tools from the command line, as processes without a display.
#include <gtest/gtest.h>

#include "ImageFiles.h"
#include "TestSupport.h"
#include "platform/FileSystem.h"

using namespace varn;

namespace {

test::ProcessOutput varnide(const test::TempDir& tmp, const std::string& args) {
    return test::runCommand("cd " + test::shellQuote(tmp.path()) +
                            " && env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME=" +
                            test::shellQuote(tmp.file("config")) + " " VARN_BIN_DIR "/varnide " + args);
}

}  // namespace

TEST(ConvertCommandLine, ConvertVdi) {
    test::TempDir tmp;
    test::copyDataFile(tmp, "convert/mixed/Customers.vdi");
    auto r = varnide(tmp, "-convertvdi Customers.vdi -creator ABCD -backup");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Conversion completed.\n");
    std::string pdb = test::readBytes(tmp.file("Customers.PDB"));
    ASSERT_GE(pdb.size(), 78u) << "the database is written beside the data file";
    EXPECT_EQ(pdb.substr(60, 8), "USERABCD");
    // Without -creator: the dialog's start value.
    r = varnide(tmp, "-convertvdi Customers.vdi");
    EXPECT_EQ(r.err, "Conversion completed.\n");
    EXPECT_EQ(test::readBytes(tmp.file("Customers.PDB")).substr(60, 8), "USERVARN");

    auto missing = varnide(tmp, "-convertvdi nothing.vdi");
    EXPECT_EQ(missing.status, 255);
    EXPECT_FALSE(missing.err.empty());
    EXPECT_EQ(varnide(tmp, "-convertvdi").status, 255);
}

TEST(ConvertCommandLine, ImportBmp) {
    test::TempDir tmp;
    const std::string bmp = test::BmpBlock{}.bytes();  // 24 bits, 1 x 1
    test::writeBytes(tmp.file("dot.bmp"), bmp);
    auto r = varnide(tmp, "-importbmp dot.bmp dot.vbm");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readBytes(tmp.file("dot.vbm")), bmp);
    EXPECT_EQ(varnide(tmp, "-importbmp dot.bmp").status, 255);
}
