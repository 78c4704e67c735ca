// The three tools one after another as the IDE runs them for a PalmOS
// release: compile, then (for an optimized build) the C build, then the
// PRC converter, on a copy of the Demo sample.

#include "../common/ToolTest.h"

namespace varn::tooltest {
namespace {

class Pipeline : public ::testing::Test {
protected:
    varn::test::TempDir dir;
    std::string project() const { return dir.file("Demo"); }
    std::string out() const { return project() + "/PalmOS Release"; }

    void SetUp() override {
        fs::copy(sharePath("samples/Demo"), project(), fs::copy_options::recursive);
        fs::create_directories(out());
    }

    void compile(bool optimized) {
        ProcessOutput p = compileIn(
            project(), sampleOptions("-pilot", out() + "/demo.vsm", project() + "/demo.vsl", false, optimized));
        ASSERT_EQ(p.status, 0) << readBytes(project() + "/varn_c.log");
        ASSERT_TRUE(errorLines(project() + "/varn_c.log").empty());
    }

    ProcessOutput convert(const std::string& input, bool gcc) {
        return runIn(out(), converter(),
                     shellQuote(out() + "/" + input) +
                         " 0x44656D6F -n \"Demo\" -v \"1.0\" -t \"Application\" -b yes -bak yes" +
                         (gcc ? " -gcc" : ""));
    }

    void checkWithPeer(const std::string& path, const std::string& programType) {
        if (!havePalmPdb()) GTEST_SKIP() << "Palm::PDB (libpalm-perl) is not installed";
        ProcessOutput dump = palmPdbDump(path);
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_EQ(dump.out.substr(0, dump.out.find('\n')), "Demo|appl|Demo|1|Backup,ResDB,backup,resource");
        EXPECT_NE(dump.out.find("\n" + programType + "|1|"), std::string::npos) << dump.out;
    }
};

TEST_F(Pipeline, RuntimeBuildWrapsTheCompiledProgram) {
    compile(false);
    ProcessOutput p = convert("Demo.VSM", false);
    ASSERT_EQ(p.status, 0) << readBytes(out() + "/VARNprc.log");
    Prc prc;
    ASSERT_TRUE(readPrc(readBytes(out() + "/Demo.PRC"), prc));
    const PrcResource* program = findResource(prc, "VARN", 1);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->data, readBytes(out() + "/demo.vsm"));
    EXPECT_TRUE(fs::exists(out() + "/demo.vsm")) << "the compiled program stays";
    checkWithPeer(out() + "/Demo.PRC", "VARN");
}

// The second round is a Make PRC without a new compile: the C build runs
// again on the same translation, and the earlier Demo.PRC is not taken as input.
TEST_F(Pipeline, OptimizedBuildGoesThroughTheCBuild) {
    compile(true);
    ASSERT_TRUE(fs::exists(out() + "/demo.c"));
    for (int round = 0; round < 2; ++round) {
        // The IDE hands over the C build folder lower-cased.
        ProcessOutput build = runIn(out(), cBuildScript(), shellQuote(sharePath("c_build/")) + " demo");
        ASSERT_EQ(build.status, 0) << build.out;
        ProcessOutput p = convert("Demo.PRC", true);
        ASSERT_EQ(p.status, 0) << readBytes(out() + "/VARNprc.log");
        Prc prc;
        ASSERT_TRUE(readPrc(readBytes(out() + "/Demo.PRC"), prc));
        const PrcResource* code = findResource(prc, "code", 1);
        ASSERT_NE(code, nullptr);
        EXPECT_EQ(code->data, readBytes(out() + "/demo.c")) << "round " << round;
        EXPECT_FALSE(fs::exists(out() + "/demo.prc"));
        std::vector<std::string> log = logLines(out() + "/VARNprc.log");
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "Compiling demo.c");
        EXPECT_EQ(log.back(), "PRC complete: 0 error(s)");
    }
    checkWithPeer(out() + "/Demo.PRC", "code");
}

}  // namespace
}  // namespace varn::tooltest
