// The PE resource updater against the bundled runtimes (written by pegen) and
// wrestool as the independent reader, and against broken executables.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "IconTestSupport.h"
#include "installer/PeResources.h"

namespace varn::install {
namespace {

using test::le16;
using test::le32;
using test::setLe16;
using test::setLe32;

PeResourceImage parsed(const std::string& bytes) {
    auto img = PeResourceImage::parse(bytes);
    EXPECT_TRUE(img.ok()) << (img.ok() ? "" : img.error().message);
    return img.ok() ? std::move(*img) : PeResourceImage::parse(test::runtimeBytes("ARM")).value();
}

std::string rebuilt(const PeResourceImage& img) {
    auto out = img.rebuild();
    EXPECT_TRUE(out.ok()) << (out.ok() ? "" : out.error().message);
    return out.ok() ? *out : std::string();
}

std::string describe(const std::vector<ResourceEntry>& entries) {
    std::string s;
    for (const ResourceEntry& e : entries) {
        auto id = [](const ResourceId& r) {
            return r.isName() ? std::string(r.name().begin(), r.name().end()) : std::to_string(r.id());
        };
        s += id(e.type) + "/" + id(e.name) + "/" + std::to_string(e.language) + ":" + std::to_string(e.data.size()) +
             ":" + std::to_string(std::hash<std::string>()(e.data)) + "\n";
    }
    return s;
}

// Each runtime for its machine, its icons as wrestool extracts them.
TEST(PeResources, ReadsTheBundledRuntimesAsWrestoolDoes) {
    VARN_NEED_TOOLS("wrestool");
    const std::pair<const char*, std::uint16_t> runtimes[] = {{"ARM", 0x1c0}, {"MIPS", 0x166}, {"SH3", 0x1a2}};
    for (const auto& [cpu, machine] : runtimes) {
        const std::string exe = test::runtimePath(cpu), b = test::readBytes(exe);
        EXPECT_EQ(le16(b, test::PeLayout(b).fileHeader), machine);
        PeResourceImage img = parsed(b);
        ASSERT_EQ(img.entries().size(), 3u) << cpu;
        const ResourceEntry* large = img.find(std::uint16_t{3}, std::uint16_t{1}, 0x409);
        const ResourceEntry* small = img.find(std::uint16_t{3}, std::uint16_t{2}, 0x409);
        const ResourceEntry* group = img.find(std::uint16_t{14}, std::uint16_t{101}, 0x409);
        ASSERT_TRUE(large && small && group);
        EXPECT_EQ(le32(large->data, 4), 32u);
        EXPECT_EQ(le32(small->data, 4), 16u);
        EXPECT_EQ(large->data, test::wrestoolRaw(exe, "3", "1"));
        EXPECT_EQ(small->data, test::wrestoolRaw(exe, "3", "2"));
        EXPECT_EQ(group->data, test::wrestoolRaw(exe, "14", "101"));
        EXPECT_FALSE(img.find(std::uint16_t{3}, std::uint16_t{1}, 0x407));
    }
}

TEST(PeResources, RebuildWithoutChangesKeepsEverything) {
    VARN_NEED_TOOLS("wrestool");
    const std::string original = test::runtimeBytes("MIPS");
    PeResourceImage img = parsed(original);
    std::string again = rebuilt(img);
    EXPECT_EQ(again.size(), original.size());
    EXPECT_EQ(describe(parsed(again).entries()), describe(img.entries()));
    test::TempDir dir;
    test::writeBytes(dir.file("a.exe"), original);
    test::writeBytes(dir.file("b.exe"), again);
    // The offsets may differ; the names, types, languages and sizes may not.
    auto listing = [&](const char* exe) {
        return test::runCommand("wrestool -l " + test::shellQuote(dir.file(exe)) + " | sed 's/ offset=[^ ]*//'").out;
    };
    EXPECT_EQ(listing("b.exe"), listing("a.exe"));
}

TEST(PeResources, ReplacesAddsAndDeletes) {
    PeResourceImage img = parsed(test::runtimeBytes("ARM"));
    const std::string data = "new icon bytes";
    ASSERT_TRUE(img.update(std::uint16_t{3}, std::uint16_t{1}, 0x409, data.data(), data.size()));
    EXPECT_EQ(img.entries().size(), 3u);
    ASSERT_TRUE(img.update(std::uint16_t{3}, std::uint16_t{1}, 0x407, data.data(), data.size()));
    EXPECT_EQ(img.entries().size(), 4u);
    ASSERT_TRUE(img.update(std::uint16_t{3}, std::uint16_t{2}, 0x409, nullptr, 0));
    EXPECT_EQ(img.entries().size(), 3u);
    ASSERT_TRUE(img.update(std::uint16_t{3}, std::uint16_t{77}, 0x409, nullptr, 0));  // nothing to delete
    EXPECT_EQ(img.entries().size(), 3u);
    // Empty data is data, not a deletion.
    ASSERT_TRUE(img.update(std::uint16_t{5}, std::uint16_t{9}, 0, "", 0));
    EXPECT_EQ(img.entries().size(), 4u);

    PeResourceImage back = parsed(rebuilt(img));
    EXPECT_EQ(describe(back.entries()), describe(parsed(rebuilt(back)).entries()));
    EXPECT_EQ(back.find(std::uint16_t{3}, std::uint16_t{1}, 0x409)->data, data);
    EXPECT_EQ(back.find(std::uint16_t{3}, std::uint16_t{1}, 0x407)->data, data);
    EXPECT_FALSE(back.find(std::uint16_t{3}, std::uint16_t{2}, 0x409));
    ASSERT_TRUE(back.find(std::uint16_t{5}, std::uint16_t{9}, 0));
    EXPECT_EQ(back.find(std::uint16_t{5}, std::uint16_t{9}, 0)->data, "");
}

TEST(PeResources, TextNamesMatchWithoutCase) {
    VARN_NEED_TOOLS("wrestool");
    PeResourceImage img = parsed(test::runtimeBytes("SH3"));
    ASSERT_TRUE(img.update(ResourceId::text("MyData"), ResourceId::text("First"), 0x409, "one", 3));
    ASSERT_TRUE(img.update(ResourceId::text("MYDATA"), ResourceId::text("first"), 0x409, "two!", 4));
    ASSERT_TRUE(img.update(ResourceId::text("mydata"), std::uint16_t{7}, 0x409, "three", 5));
    EXPECT_EQ(img.entries().size(), 5u);
    test::TempDir dir;
    test::writeBytes(dir.file("n.exe"), rebuilt(img));
    PeResourceImage back = parsed(test::readBytes(dir.file("n.exe")));
    const ResourceEntry* e = back.find(ResourceId::text("mYdAtA"), ResourceId::text("FIRST"), 0x409);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->data, "two!");
    EXPECT_EQ(e->type.name(), u"MyData");  // the first spelling stays
    std::string listing = test::wrestoolList(dir.file("n.exe"));
    // (wrestool prints a text type and a text name from one buffer, so the
    // listing shows only the type's text; the extraction below finds the name.)
    EXPECT_NE(listing.find("--type='MyData'"), std::string::npos) << listing;
    EXPECT_EQ(test::wrestoolRaw(dir.file("n.exe"), "MyData", "First"), "two!");
    EXPECT_EQ(test::wrestoolRaw(dir.file("n.exe"), "MyData", "7"), "three");
    EXPECT_EQ(test::wrestoolRaw(dir.file("n.exe"), "3", "1"), img.find(std::uint16_t{3}, std::uint16_t{1}, 0x409)->data);
    ASSERT_TRUE(back.update(ResourceId::text("MYDATA"), ResourceId::text("FiRsT"), 0x409, nullptr, 0));
    EXPECT_EQ(back.entries().size(), 4u);
}

TEST(PeResources, ResourceDirectoryIsOrdered) {
    PeResourceImage img = parsed(test::runtimeBytes("ARM"));
    ASSERT_TRUE(img.update(ResourceId::text("ZED"), std::uint16_t{1}, 0, "z", 1));
    ASSERT_TRUE(img.update(ResourceId::text("ALPHA"), std::uint16_t{1}, 0, "a", 1));
    ASSERT_TRUE(img.update(std::uint16_t{2}, std::uint16_t{1}, 0, "b", 1));
    std::string section = PeResourceImage::buildSection(img.entries(), 0x2000);
    // Root: two named entries first, then the IDs 2, 3, 14 ascending.
    EXPECT_EQ(le16(section, 12), 2u);
    EXPECT_EQ(le16(section, 14), 3u);
    auto nameAt = [&](std::size_t entry) {
        std::uint32_t off = le32(section, 16 + 8 * entry) & 0x7fffffff;
        std::string s;
        for (std::uint32_t i = 0; i < le16(section, off); ++i) s += static_cast<char>(le16(section, off + 2 + 2 * i));
        return s;
    };
    EXPECT_EQ(nameAt(0), "ALPHA");
    EXPECT_EQ(nameAt(1), "ZED");
    EXPECT_EQ(le32(section, 16 + 8 * 2), 2u);
    EXPECT_EQ(le32(section, 16 + 8 * 3), 3u);
    EXPECT_EQ(le32(section, 16 + 8 * 4), 14u);
    // Every data entry points at 8-byte aligned data inside the section.
    EXPECT_EQ(section.size() % 8, 0u);
}

TEST(PeResources, GrowsTheSectionAndTheImage) {
    VARN_NEED_TOOLS("wrestool");
    const std::string original = test::runtimeBytes("ARM");
    const test::PeLayout pe(original);
    const std::size_t rsrc = pe.section(original, ".rsrc");
    PeResourceImage img = parsed(original);
    std::string big(20000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + 3);
    ASSERT_TRUE(img.update(std::uint16_t{10}, std::uint16_t{300}, 0x409, big.data(), big.size()));
    std::string out = rebuilt(img);
    const std::uint32_t fileAlignment = le32(out, pe.optional + 36), sectionAlignment = le32(out, pe.optional + 32);
    const std::uint32_t rawSize = le32(out, rsrc + 16), virtualSize = le32(out, rsrc + 8);
    EXPECT_GT(rawSize, le32(original, rsrc + 16));
    EXPECT_EQ(rawSize % fileAlignment, 0u);
    EXPECT_GE(rawSize, virtualSize);
    EXPECT_GT(virtualSize, big.size());
    EXPECT_EQ(out.size(), le32(out, rsrc + 20) + rawSize);
    // The image size covers the section, aligned; the data sizes follow.
    const std::uint32_t va = le32(out, rsrc + 12);
    EXPECT_EQ(le32(out, pe.optional + 56), (va + virtualSize + sectionAlignment - 1) / sectionAlignment * sectionAlignment);
    EXPECT_EQ(le32(out, pe.optional + 8) - le32(original, pe.optional + 8), rawSize - le32(original, rsrc + 16));
    EXPECT_EQ(le32(out, pe.optional + 96 + 16), va);
    EXPECT_EQ(le32(out, pe.optional + 96 + 20), virtualSize);
    // Everything before the section is untouched apart from those fields.
    EXPECT_EQ(out.substr(le32(out, pe.sections + 20), 0x200), original.substr(le32(original, pe.sections + 20), 0x200));

    test::TempDir dir;
    test::writeBytes(dir.file("big.exe"), out);
    EXPECT_EQ(test::wrestoolRaw(dir.file("big.exe"), "10", "300"), big);
    EXPECT_EQ(test::wrestoolRaw(dir.file("big.exe"), "14", "101"), test::wrestoolRaw(test::runtimePath("ARM"), "14", "101"));

    // And it shrinks back into the grown section without moving anything.
    PeResourceImage again = parsed(out);
    ASSERT_TRUE(again.update(std::uint16_t{10}, std::uint16_t{300}, 0x409, nullptr, 0));
    std::string smaller = rebuilt(again);
    EXPECT_EQ(smaller.size(), out.size());
    EXPECT_EQ(describe(parsed(smaller).entries()), describe(parsed(original).entries()));
}

TEST(PeResources, TailAfterTheSectionMovesWithIt) {
    std::string original = test::runtimeBytes("ARM");
    const test::PeLayout pe(original);
    // Certificate-style trailing data, named by the security directory.
    const std::uint32_t tail = static_cast<std::uint32_t>(original.size());
    original += std::string("TRAILING-DATA-16");
    setLe32(original, pe.optional + 96 + 32, tail);
    setLe32(original, pe.optional + 96 + 36, 16);
    PeResourceImage img = parsed(original);
    std::string big(5000, 'x');
    ASSERT_TRUE(img.update(std::uint16_t{10}, std::uint16_t{1}, 0, big.data(), big.size()));
    std::string out = rebuilt(img);
    const std::uint32_t moved = le32(out, pe.optional + 96 + 32);
    EXPECT_GT(moved, tail);
    EXPECT_EQ(out.substr(moved, 16), "TRAILING-DATA-16");
}

TEST(PeResources, KeepsAValidChecksum) {
    std::string original = test::runtimeBytes("SH3");
    const test::PeLayout pe(original);
    setLe32(original, pe.optional + 64, 1);
    PeResourceImage img = parsed(original);
    ASSERT_TRUE(img.update(std::uint16_t{10}, std::uint16_t{1}, 0, "abc", 3));
    std::string out = rebuilt(img);
    // Recompute independently: 16-bit sum with folded carries, plus the length.
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
        if (i == pe.optional + 64 || i == pe.optional + 66) continue;
        sum += le16(out, i);
        sum = (sum & 0xffff) + (sum >> 16);
    }
    EXPECT_EQ(le32(out, pe.optional + 64), static_cast<std::uint32_t>(sum + out.size()));
    // A zero checksum stays zero.
    EXPECT_EQ(le32(rebuilt(parsed(test::runtimeBytes("SH3"))), pe.optional + 64), 0u);
}

TEST(PeResources, NotAPeFile) {
    for (std::string b : {std::string(), std::string("MZ"), std::string(63, 'M'), std::string(200, '\0')}) {
        auto r = PeResourceImage::parse(b);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.error().code, kErrorResourceDataNotFound);
    }
    std::string b = test::runtimeBytes("ARM");
    b[le32(b, 60) + 2] = 'X';
    EXPECT_EQ(PeResourceImage::parse(b).error().code, kErrorResourceDataNotFound);
    b = test::runtimeBytes("ARM");
    setLe32(b, 60, 0xfffffffe);
    EXPECT_EQ(PeResourceImage::parse(b).error().code, kErrorResourceDataNotFound);
}

TEST(PeResources, NoResourceSection) {
    std::string b = test::runtimeBytes("ARM");
    const test::PeLayout pe(b);
    b.replace(pe.section(b, ".rsrc"), 8, std::string(".data\0\0\0", 8));
    auto r = PeResourceImage::parse(b);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().code, kErrorResourceDataNotFound);
    // The name is compared without case.
    b = test::runtimeBytes("ARM");
    b.replace(pe.section(b, ".rsrc"), 5, ".RSRC");
    EXPECT_TRUE(PeResourceImage::parse(b).ok());
}


TEST(PeResources, LyingSizesAreRefused) {
    const std::string good = test::runtimeBytes("ARM");
    const test::PeLayout pe(good);
    const std::size_t rsrc = pe.section(good, ".rsrc");
    const std::uint32_t rsrcRaw = le32(good, rsrc + 20);
    std::vector<std::pair<std::string, std::string>> cases;
    auto with = [&](const char* what, auto change) {
        std::string b = good;
        change(b);
        cases.emplace_back(what, b);
    };
    with("section count", [&](std::string& b) { setLe16(b, pe.fileHeader + 2, 0xffff); });
    with("optional header size", [&](std::string& b) { setLe16(b, pe.fileHeader + 16, 0xfff0); });
    with("optional header too short", [&](std::string& b) { setLe16(b, pe.fileHeader + 16, 60); });
    with("optional header magic", [&](std::string& b) { setLe16(b, pe.optional, 0x107); });
    with("directory count", [&](std::string& b) { setLe32(b, pe.optional + 92, 2); });
    with("file alignment", [&](std::string& b) { setLe32(b, pe.optional + 36, 0x300); });
    with("section alignment", [&](std::string& b) { setLe32(b, pe.optional + 32, 0); });
    with("raw size", [&](std::string& b) { setLe32(b, rsrc + 16, 0x7ffffff0); });
    with("raw pointer", [&](std::string& b) { setLe32(b, rsrc + 20, 0xfffff000); });
    with("raw pointer in the headers", [&](std::string& b) { setLe32(b, rsrc + 20, 0); });
    with("directory entry count", [&](std::string& b) { setLe16(b, rsrcRaw + 14, 0x4000); });
    with("data beyond the section", [&](std::string& b) {
        // The first data entry's size.
        for (std::size_t at = rsrcRaw; at + 16 <= b.size(); at += 4)
            if (le32(b, at) >= 0x2000 && le32(b, at) < 0x3000 && le32(b, at + 4) == 744) {
                setLe32(b, at + 4, 0x100000);
                return;
            }
        ADD_FAILURE() << "no data entry of 744 bytes";
    });
    with("data before the section", [&](std::string& b) {
        for (std::size_t at = rsrcRaw; at + 16 <= b.size(); at += 4)
            if (le32(b, at + 4) == 296 && le32(b, at) >= 0x2000 && le32(b, at) < 0x3000) {
                setLe32(b, at, 0x1000);
                return;
            }
        ADD_FAILURE() << "no data entry of 296 bytes";
    });
    with("looped directory", [&](std::string& b) { setLe32(b, rsrcRaw + 16 + 4, 0x80000000u); });
    with("data entry at the type level", [&](std::string& b) { setLe32(b, rsrcRaw + 16 + 4, 0x40); });
    with("name text beyond the section", [&](std::string& b) { setLe32(b, rsrcRaw + 16, 0x8000fff0u); });
    for (const auto& [what, bytes] : cases) EXPECT_FALSE(PeResourceImage::parse(bytes).ok()) << what;
}

TEST(PeResources, NoRoomToGrowFailsWithoutTouchingTheFile) {
    // A section placed in memory right after the resources.
    std::string b = test::runtimeBytes("ARM");
    const test::PeLayout pe(b);
    ASSERT_GE(le32(b, pe.optional + 60), pe.sections + 3 * 40u);
    setLe16(b, pe.fileHeader + 2, 3);
    const std::size_t reloc = pe.sections + 2 * 40;
    b.replace(reloc, 8, std::string(".reloc\0\0", 8));
    setLe32(b, reloc + 8, 0x10);
    setLe32(b, reloc + 12, 0x3000);
    setLe32(b, reloc + 16, 0x200);
    setLe32(b, reloc + 20, static_cast<std::uint32_t>(b.size()));
    setLe32(b, pe.optional + 56, 0x4000);
    b += std::string(0x200, 'R');

    test::TempDir dir;
    const std::string exe = dir.file("P.exe");
    test::writeBytes(exe, b);
    // Small changes fit in place.
    auto small = ResourceUpdate::begin(exe);
    ASSERT_TRUE(small.ok());
    ASSERT_TRUE((*small)->update(std::uint16_t{3}, std::uint16_t{2}, 0x409, "tiny", 4));
    ASSERT_TRUE((*small)->end(false));
    const std::string afterSmall = test::readBytes(exe);
    EXPECT_EQ(afterSmall.size(), b.size());
    EXPECT_EQ(afterSmall.substr(afterSmall.size() - 0x200), std::string(0x200, 'R'));

    auto large = ResourceUpdate::begin(exe);
    ASSERT_TRUE(large.ok());
    std::string big(8000, 'b');
    ASSERT_TRUE((*large)->update(std::uint16_t{3}, std::uint16_t{1}, 0x409, big.data(), big.size()));
    EXPECT_FALSE((*large)->end(false));
    EXPECT_TRUE(test::readBytes(exe) == afterSmall);
    EXPECT_FALSE((*large)->end(false));  // the handle is spent
}

TEST(PeResources, BeginUpdateNeedsAWritableFile) {
    test::TempDir dir;
    auto missing = ResourceUpdate::begin(dir.file("none.exe"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, 2);
    const std::string exe = dir.file("ro.exe");
    test::writeBytes(exe, test::runtimeBytes("ARM"));
    ::chmod(exe.c_str(), 0444);
    EXPECT_FALSE(ResourceUpdate::begin(exe).ok());
    ::chmod(exe.c_str(), 0644);
    auto ok = ResourceUpdate::begin(exe);
    ASSERT_TRUE(ok.ok());
    ASSERT_TRUE((*ok)->update(std::uint16_t{3}, std::uint16_t{1}, 0x409, "x", 1));
    ASSERT_TRUE((*ok)->end(true));  // discarded
    EXPECT_TRUE(test::readBytes(exe) == test::runtimeBytes("ARM"));
}

}  // namespace
}  // namespace varn::install

namespace varn::install {
namespace {

TEST(PeResources, FileOffsetsThatWouldWrapAreRefused) {
    // Found by fuzzing: a section named at a file offset near 4 GB, behind the
    // resources, would wrap to a small offset when the section grows.
    const std::string b = test::readBytes(test::dataPath("installer/pe_wrapping_offsets.exe"));
    auto img = PeResourceImage::parse(b);
    ASSERT_TRUE(img.ok());
    std::string big(4096, 'w');
    ASSERT_TRUE(img->update(std::uint16_t{3}, std::uint16_t{1}, 0x409, big.data(), big.size()));
    auto out = img->rebuild();
    if (out.ok()) {
        auto again = PeResourceImage::parse(*out);
        ASSERT_TRUE(again.ok());
        EXPECT_TRUE(again->rebuild().ok());
    }
    // The same by hand: a second section far beyond the file.
    std::string arm = test::runtimeBytes("ARM");
    const test::PeLayout pe(arm);
    setLe16(arm, pe.fileHeader + 2, 3);
    const std::size_t far = pe.sections + 2 * 40;
    arm.replace(far, 8, std::string(".far\0\0\0\0", 8));
    setLe32(arm, far + 12, 0x100000);
    setLe32(arm, far + 20, 0xfffffe00u);
    auto farImage = PeResourceImage::parse(arm);
    ASSERT_TRUE(farImage.ok());
    ASSERT_TRUE(farImage->update(std::uint16_t{3}, std::uint16_t{1}, 0x409, big.data(), big.size()));
    EXPECT_FALSE(farImage->rebuild().ok());
}

}  // namespace
}  // namespace varn::install
